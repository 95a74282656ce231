// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QVector>

namespace quennix {

// Where a window asked for at `window` goes, given the areas of the screens
// it may take (logical pixels):
// - never larger than the area of the screen it lands on (the one it
//   overlaps most, else the nearest), so it never asks for pixels no screen
//   can show;
// - when it then lies entirely outside every screen (a screen was unplugged
//   since the settings were saved), on that screen, keeping its size.
// Any other rectangle comes back unchanged.
QRect placeOnScreens(const QRect &window, const QVector<QRect> &screens);

} // namespace quennix
