#include "screen_placement.h"

#include <limits>

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

} // namespace

QRect bringOntoScreens(const QRect &window, const QVector<QRect> &screens) {
    if (screens.isEmpty())
        return window;
    for (const QRect &s : screens)
        if (s.intersects(window))
            return window;
    const QRect *nearest = &screens.front();
    qint64 best = std::numeric_limits<qint64>::max();
    for (const QRect &s : screens) {
        const qint64 d = distance2(window, s);
        if (d < best) {
            best = d;
            nearest = &s;
        }
    }
    // Keep the window's size; pull its top-left corner in so as much of it as
    // fits is on that screen, the corner itself always on it.
    QRect out = window;
    const int x = qBound(nearest->left(), window.left(),
                         qMax(nearest->left(), nearest->right() + 1 - window.width()));
    const int y = qBound(nearest->top(), window.top(),
                         qMax(nearest->top(), nearest->bottom() + 1 - window.height()));
    out.moveTo(x, y);
    return out;
}

} // namespace quennix
