// SPDX-License-Identifier: MIT
#pragma once

#include "font_fit.h"
#include "local_time.h"

#include <QPointF>
#include <QSizeF>

namespace quennix {

// The count at an instant: the real seconds from then until the target, as
// "#,##0", negative once it has passed. Throws RunError::overflow() for a
// count beyond 32 bits.
QString countText(Instant target, Instant now);

// How a count is drawn in an area: the font size and where the text goes.
struct CountLayout {
    QSizeF area;      // twips: the area laid out
    QString shape;    // the count shape the font size was fitted for
    int fontSize = 0; // points: the whole number of the realised size
    QString text;     // the count drawn
    QPointF topLeft;  // twips: the text's top-left corner
};

// Lays a count out in an area of twips, in the face `m` measures. The font
// size is the largest at which the count's shape fits; it is fitted again only
// when the area or the shape differs from `previous` (pass an empty previous
// after a change of face). The text is centred across on its own width and
// down on one line's height, rounded to a whole twip, so it stays put however
// its digits change.
CountLayout layoutCount(const QSizeF &area, const QString &count, const FitMeasure &m,
                        const CountLayout &previous = {});

} // namespace quennix
