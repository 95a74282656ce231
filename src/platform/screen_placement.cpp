// SPDX-License-Identifier: MIT
#include "screen_placement.h"

#include <algorithm>

namespace quennix {

namespace {

// Squared distance between two rectangles (0 when they touch or overlap).
qint64 distance2(const QRect &a, const QRect &b) {
    const qint64 dx =
        qMax<qint64>(0, qMax<qint64>(qint64(b.left()) - a.right(), qint64(a.left()) - b.right()));
    const qint64 dy =
        qMax<qint64>(0, qMax<qint64>(qint64(b.top()) - a.bottom(), qint64(a.top()) - b.bottom()));
    return dx * dx + dy * dy;
}

qint64 overlap(const QRect &a, const QRect &b) {
    const QRect both = a & b;
    return both.isEmpty() ? 0 : qint64(both.width()) * both.height();
}

// The screen the window overlaps most; when it overlaps none, the nearest
// (the first of those as near, the primary when listed first).
const QRect &landing(const QRect &window, const QVector<QRect> &screens) {
    const QRect &most =
        *std::max_element(screens.begin(), screens.end(), [&](const QRect &a, const QRect &b) {
            return overlap(window, a) < overlap(window, b);
        });
    if (overlap(window, most) > 0)
        return most;
    return *std::min_element(screens.begin(), screens.end(), [&](const QRect &a, const QRect &b) {
        return distance2(window, a) < distance2(window, b);
    });
}

} // namespace

QRect placeOnScreens(const QRect &window, const QVector<QRect> &screens) {
    if (screens.isEmpty())
        return window;
    const QRect &screen = landing(window, screens);
    const QRect out(window.topLeft(), window.size().boundedTo(screen.size()));
    for (const QRect &s : screens)
        if (s.intersects(out))
            return out;
    // Pull its top-left corner in so the whole window is on that screen.
    return QRect(qBound(screen.left(), out.left(), screen.right() + 1 - out.width()),
                 qBound(screen.top(), out.top(), screen.bottom() + 1 - out.height()), out.width(),
                 out.height());
}

} // namespace quennix
