// SPDX-License-Identifier: MIT
#pragma once

#include "date_value.h"
#include "platform/time_zone.h"

#include <optional>

namespace quennix {

// An instant: whole seconds since 1 January 1970 00:00:00 UTC. Counts are
// real seconds between instants; the settings file, the caption and the
// boxes speak local wall time (date values) in the zone they are given.
using Instant = qint64;

// The instant a wall time names, under the zone's rules for that date,
// summer time included. A wall time the clocks skip when they go forward
// names the instant it would have had in the offset before the change
// (01:30 on the morning London's clocks go forward is 01:30 GMT, shown as
// 02:30 BST); one they show twice when they go back names the first.
// Throws RunError::overflow() outside years 100..9999.
Instant instantOf(DateValue wall, const TimeZone &zone);

// The wall time at an instant. Throws RunError::overflow() outside years
// 100..9999.
DateValue wallTimeOf(Instant instant, const TimeZone &zone);

// Whole seconds from one instant to another, negative when `to` is earlier,
// when they fit the count's signed 32 bits.
std::optional<qint32> countBetween(Instant from, Instant to);

// The real seconds from one wall time to another. Throws RunError::overflow()
// outside the signed 32-bit range.
qint32 secondsBetween(DateValue first, DateValue second, const TimeZone &zone);

// The wall time `count` real seconds after `wall` (count is rounded to a
// whole second). Throws RunError::overflow() when the result leaves years
// 100..9999.
DateValue addSeconds(double count, DateValue wall, const TimeZone &zone);

} // namespace quennix
