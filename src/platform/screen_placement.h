// SPDX-License-Identifier: MIT
#pragma once

#include <QMargins>
#include <QRect>
#include <QVector>

namespace quennix {

// Where a window asked for at `window` goes, given the areas of the screens
// it may take (logical pixels) and `inset`, how far the part of it that must
// stay in reach (its count area, say) lies inside its outer edges:
// - never larger than the area of the screen it lands on (the one it
//   overlaps most, else the nearest), so it never asks for pixels no screen
//   can show;
// - moved the least distance that puts the whole count area on that screen,
//   so a window saved on a screen since unplugged or shrunk, or hanging off
//   an edge with only a corner showing, shows its count.
// A window whose count area is already on the screen it lands on comes back
// unchanged.
QRect placeOnScreens(const QRect &window, const QMargins &inset, const QVector<QRect> &screens);

} // namespace quennix
