#pragma once

#include "date_value.h"

#include <optional>
#include <string>

namespace quennix {

// An instant: whole seconds since 1 January 1970 00:00:00 UTC. Counts are
// real seconds between instants; the settings file, the caption and the
// boxes speak local wall time (date values).
using Instant = qint64;

// Local wall time is the system's time zone as the C library knows it (TZ
// when set, else /etc/localtime), asked afresh at every conversion, so a zone
// changed while the program runs is followed from then on.

// The instant a wall time names, under the zone's rules for that date,
// summer time included. A wall time the clocks skip when they go forward
// names the instant it would have had in the offset before the change
// (01:30 on the morning London's clocks go forward is 01:30 GMT, shown as
// 02:30 BST); one they show twice when they go back names the first.
// Throws RunError::overflow() outside years 100..9999.
Instant instantOf(DateValue wall);

// The wall time at an instant. Throws RunError::overflow() outside years
// 100..9999.
DateValue wallTimeOf(Instant instant);

// What tells one zone from another: the TZ text when set, else the zone
// file's identity. Conversions under equal stamps agree.
struct ZoneStamp {
    bool tzSet = false;
    std::string tz;
    quint64 device = 0, inode = 0;
    qint64 modified = 0, modifiedNs = 0;
};
// Whether the zone in force differs from `stamp`, which then becomes it.
// Costs a file status and no allocation while the zone stays, so it can be
// asked every second.
bool zoneChanged(ZoneStamp &stamp);

// Whole seconds from one instant to another, negative when `to` is earlier,
// when they fit the count's signed 32 bits.
std::optional<qint32> countBetween(Instant from, Instant to);

// The real seconds from one wall time to another. Throws RunError::overflow()
// outside the signed 32-bit range.
qint32 secondsBetween(DateValue first, DateValue second);

// The wall time `count` real seconds after `wall` (count is rounded to a
// whole second). Throws RunError::overflow() when the result leaves years
// 100..9999.
DateValue addSeconds(double count, DateValue wall);

} // namespace quennix
