// SPDX-License-Identifier: MIT
#include "local_time.h"

#include "number_text.h"
#include "run_error.h"

#include <algorithm>
#include <cmath>

namespace quennix {

namespace {

// 1 January 1970, in days since 30 December 1899.
constexpr qint64 kUnixEpochDay = 25569;

} // namespace

Instant instantOf(DateValue wall, const TimeZone &zone) {
    // The wall time read as if it were UTC. The instant it names lies within
    // a day of that, at the offset the zone has there; near a change of
    // offset the offsets a day either side are the ones before and after it.
    const Instant asUtc = calendarSeconds(wall) - kUnixEpochDay * kSecondsPerDay;
    const Instant inBefore = asUtc - zone.offsetAt(asUtc - kSecondsPerDay);
    const Instant inAfter = asUtc - zone.offsetAt(asUtc + kSecondsPerDay);
    const auto shows = [&](Instant t) { return t + zone.offsetAt(t) == asUtc; };
    // Shown twice: the first. Shown once: that instant. Never shown (the
    // clocks skip it): in the offset before the change.
    if (shows(inBefore) && shows(inAfter))
        return std::min(inBefore, inAfter);
    return shows(inAfter) ? inAfter : inBefore;
}

DateValue wallTimeOf(Instant instant, const TimeZone &zone) {
    const qint64 wall = instant + zone.offsetAt(instant) + kUnixEpochDay * kSecondsPerDay;
    if (!inCalendar(wall))
        throw RunError::overflow();
    return dateValueFromSeconds(wall);
}

std::optional<qint32> countBetween(Instant from, Instant to) {
    const qint64 diff = to - from;
    if (diff < -2147483648LL || diff > 2147483647LL)
        return std::nullopt;
    return qint32(diff);
}

qint32 secondsBetween(DateValue first, DateValue second, const TimeZone &zone) {
    if (const auto seconds = countBetween(instantOf(first, zone), instantOf(second, zone)))
        return *seconds;
    throw RunError::overflow();
}

DateValue addSeconds(double count, DateValue wall, const TimeZone &zone) {
    const double rounded = roundHalfEven(count);
    // Anything beyond the calendar's span of seconds (some 3e11) can only
    // overflow; the bound also keeps the cast to 64 bits defined.
    if (!std::isfinite(rounded) || std::fabs(rounded) > 1e12)
        throw RunError::overflow();
    return wallTimeOf(instantOf(wall, zone) + qint64(rounded), zone);
}

} // namespace quennix
