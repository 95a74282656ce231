#pragma once

#include <QDateTime>

namespace quennix {

// The wall clock, behind an interface so tests can set the time and make it jump.
class Clock {
public:
    virtual ~Clock() = default;
    // The current local date and time.
    virtual QDateTime now() const = 0;
};

} // namespace quennix
