// SPDX-License-Identifier: MIT
#include "count_layout.h"

#include "formats.h"
#include "number_text.h"
#include "run_error.h"

namespace quennix {

QString countText(Instant target, Instant now) {
    const std::optional<qint32> count = countBetween(now, target);
    if (!count)
        throw RunError::overflow();
    return formatCount(*count);
}

CountLayout layoutCount(const QSizeF &area, const QString &count, const FitMeasure &m,
                        const CountLayout &previous) {
    CountLayout layout = previous;
    const QString shape = countShape(count, m.widestDigit);
    if (shape != previous.shape || area != previous.area) {
        layout.area = area;
        layout.shape = shape;
        layout.fontSize = fitFontSize(area.width(), area.height(), shape, m);
    }
    layout.text = count;
    const TextExtent extent = m.measure(count, layout.fontSize);
    layout.topLeft = QPointF((area.width() - extent.width) / 2,
                             roundHalfEven((area.height() - extent.height) / 2));
    return layout;
}

} // namespace quennix
