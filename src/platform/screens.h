#pragma once

#include <QRect>
#include <QVector>

namespace quennix {

// The screens of the desktop, in logical pixels.
class Screens {
public:
    virtual ~Screens() = default;
    virtual QVector<QRect> geometries() const = 0;
    // The geometry of the primary screen.
    virtual QRect primary() const = 0;
};

} // namespace quennix
