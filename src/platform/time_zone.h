// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

namespace quennix {

// The time zone wall times are read in, behind an interface as the clock is,
// so the rules work on offsets they are given and tests can hand in a fixed
// table of changes.
class TimeZone {
public:
    virtual ~TimeZone() = default;
    // The offset from UTC in force at an instant (seconds since 1 January
    // 1970 UTC), in seconds, east positive.
    virtual qint64 offsetAt(qint64 instant) const = 0;
    // A number that goes up whenever the zone in force changes (the user
    // travels, the system's zone is set anew). Cheap enough to ask every
    // second.
    virtual quint64 revision() const = 0;
};

} // namespace quennix
