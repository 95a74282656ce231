#pragma once

#include <QRect>
#include <QVector>

namespace quennix {

// A window rectangle that lies entirely outside every screen (a screen was
// unplugged since the settings were saved) is moved onto the nearest screen,
// keeping its size; any other rectangle is returned unchanged.
QRect bringOntoScreens(const QRect &window, const QVector<QRect> &screens);

} // namespace quennix
