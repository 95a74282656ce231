#include "count_layout.h"

#include "date_value.h"
#include "formats.h"
#include "number_text.h"

namespace quennix {

QString countText(const BaseTime &baseTime, const QDateTime &now) {
    return formatCount(secondsBetween(toDateValue(now), baseTime.value()));
}

CountLayout layoutCount(const QSizeF &area, const QString &count, const FitMeasure &m,
                        const CountLayout &previous) {
    CountLayout layout = previous;
    const QString shape = countShape(count);
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
