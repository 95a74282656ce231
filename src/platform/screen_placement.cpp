// SPDX-License-Identifier: MIT
#include "screen_placement.h"

#include <algorithm>

namespace quennix {

namespace {

// How far a window's centre is from a screen (0 when the screen holds it).
int distance(const QRect &window, const QRect &screen) {
    const QPoint centre = window.center();
    return (centre - QPoint(qBound(screen.left(), centre.x(), screen.right()),
                            qBound(screen.top(), centre.y(), screen.bottom())))
        .manhattanLength();
}

qint64 overlap(const QRect &a, const QRect &b) {
    const QRect both = a & b;
    return both.isEmpty() ? 0 : qint64(both.width()) * both.height();
}

// The screen the window overlaps most; when it overlaps none, the one nearest
// its centre (the first of those as near, the primary when listed first).
const QRect &landing(const QRect &window, const QVector<QRect> &screens) {
    const QRect &most =
        *std::max_element(screens.begin(), screens.end(), [&](const QRect &a, const QRect &b) {
            return overlap(window, a) < overlap(window, b);
        });
    if (overlap(window, most)) // by a pixel or more
        return most;
    return *std::min_element(screens.begin(), screens.end(), [&](const QRect &a, const QRect &b) {
        return distance(window, a) < distance(window, b);
    });
}

// How far an area from areaLow to areaHigh must move, along one axis, to lie
// within low to high, when it is no longer than that.
int nudge(int areaLow, int areaHigh, int low, int high) {
    return areaLow < low ? low - areaLow : std::min(0, high - areaHigh);
}

} // namespace

QRect placeOnScreens(const QRect &window, const QMargins &inset, const QVector<QRect> &screens) {
    if (screens.isEmpty())
        return window;
    const QRect &screen = landing(window, screens);
    const QRect out(window.topLeft(), window.size().boundedTo(screen.size()));
    // A window too small for its insets (a screen smaller than a menu bar)
    // is kept on the screen whole.
    QRect area = out.marginsRemoved(inset);
    if (!area.isValid())
        area = out;
    return out.translated(nudge(area.left(), area.right(), screen.left(), screen.right()),
                          nudge(area.top(), area.bottom(), screen.top(), screen.bottom()));
}

} // namespace quennix
