// SPDX-License-Identifier: MIT
#include "gui_screens.h"

#include <QGuiApplication>
#include <QScreen>

namespace quennix {

QVector<QRect> GuiScreens::geometries() const {
    QVector<QRect> out;
    for (const QScreen *s : QGuiApplication::screens())
        out << s->availableGeometry();
    return out;
}

QRect GuiScreens::primary() const {
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect();
}

} // namespace quennix
