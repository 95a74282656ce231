// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QRectF>

namespace quennix {

// Twips are 1440 to the inch at the screen's logical dpi. They stay floating
// point until a whole pixel is needed.
inline double pixelsToTwips(double px, double dpi) {
    return px * 1440.0 / dpi;
}
inline double twipsToPixels(double twips, double dpi) {
    return twips * dpi / 1440.0;
}

// A rectangle of twips in whole logical pixels: its left, top, width and
// height each rounded to the nearest pixel.
inline QRect twipsToPixels(const QRectF &twips, double dpiX, double dpiY) {
    return QRect(
        qRound(twipsToPixels(twips.left(), dpiX)), qRound(twipsToPixels(twips.top(), dpiY)),
        qRound(twipsToPixels(twips.width(), dpiX)), qRound(twipsToPixels(twips.height(), dpiY)));
}

} // namespace quennix
