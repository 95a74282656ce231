// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <cmath>

namespace quennix {

// The clock, behind an interface so tests can set the time and make it jump.
class Clock {
public:
    virtual ~Clock() = default;
    // The current instant, in milliseconds since 1 January 1970 00:00:00 UTC:
    // counts are worked out between instants, never from a wall-clock reading.
    virtual qint64 nowMSecs() const = 0;
    // The whole second now falls in.
    qint64 nowSeconds() const;
};

// The whole second an instant in milliseconds falls in (rounded down, also
// before 1970; exact for any clock within 285,000 years of 1970).
inline qint64 secondOf(qint64 msecs) {
    return qint64(std::floor(double(msecs) / 1000));
}

inline qint64 Clock::nowSeconds() const {
    return secondOf(nowMSecs());
}

} // namespace quennix
