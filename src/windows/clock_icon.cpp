// SPDX-License-Identifier: MIT
#include "clock_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace quennix {

QIcon clockIcon() {
    static const QIcon icon = [] {
        QIcon out;
        QSvgRenderer svg(QStringLiteral(":/quennix/quennix.svg"));
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            QPixmap pm(size, size);
            pm.fill(Qt::transparent);
            QPainter p(&pm);
            svg.render(&p);
            p.end();
            out.addPixmap(pm);
        }
        return out;
    }();
    return icon;
}

} // namespace quennix
