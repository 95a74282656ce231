#include "local_time.h"

#include "number_text.h"
#include "run_error.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <sys/stat.h>

namespace quennix {

namespace {

// 1 January 1970, in days since 30 December 1899.
constexpr qint64 kUnixEpochDay = 25569;

// The zone's offset from UTC at an instant, in seconds (east positive).
qint64 offsetAt(Instant instant) {
    const time_t t = time_t(instant);
    tm parts{};
    return localtime_r(&t, &parts) ? qint64(parts.tm_gmtoff) : 0;
}

} // namespace

Instant instantOf(DateValue wall) {
    // Read the zone again: TZ or /etc/localtime may have changed.
    ::tzset();
    // The wall time read as if it were UTC. The instant it names lies within
    // a day of that, at the offset the zone has there; near a change of
    // offset the offsets a day either side are the ones before and after it.
    const Instant asUtc = calendarSeconds(wall) - kUnixEpochDay * kSecondsPerDay;
    const Instant inBefore = asUtc - offsetAt(asUtc - kSecondsPerDay);
    const Instant inAfter = asUtc - offsetAt(asUtc + kSecondsPerDay);
    const auto shows = [asUtc](Instant t) { return t + offsetAt(t) == asUtc; };
    // Shown once: that instant. Shown twice: the first. Never shown (the
    // clocks skip it): in the offset before the change.
    if (shows(inAfter) && (!shows(inBefore) || inAfter < inBefore))
        return inAfter;
    return inBefore;
}

DateValue wallTimeOf(Instant instant) {
    ::tzset();
    const time_t t = time_t(instant);
    tm parts{};
    if (Instant(t) != instant || !localtime_r(&t, &parts))
        throw RunError::overflow();
    const qint64 wall = instant + parts.tm_gmtoff + kUnixEpochDay * kSecondsPerDay;
    if (!inCalendar(wall))
        throw RunError::overflow();
    return dateValueFromSeconds(wall);
}

bool zoneChanged(ZoneStamp &stamp) {
    // The C library takes TZ as it reads (an empty one is UTC); without it,
    // /etc/localtime, read again when its file changes.
    const char *tz = std::getenv("TZ");
    struct stat st {};
    if (!tz && ::stat("/etc/localtime", &st) != 0)
        st = {};
    const bool same = (tz != nullptr) == stamp.tzSet && (!tz || stamp.tz == tz) &&
                      quint64(st.st_dev) == stamp.device && quint64(st.st_ino) == stamp.inode &&
                      st.st_mtim.tv_sec == stamp.modified && st.st_mtim.tv_nsec == stamp.modifiedNs;
    if (!same)
        stamp = ZoneStamp{tz != nullptr,      tz ? tz : "",      quint64(st.st_dev),
                          quint64(st.st_ino), st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
    return !same;
}

std::optional<qint32> countBetween(Instant from, Instant to) {
    const qint64 diff = to - from;
    if (diff < -2147483648LL || diff > 2147483647LL)
        return std::nullopt;
    return qint32(diff);
}

qint32 secondsBetween(DateValue first, DateValue second) {
    if (const auto seconds = countBetween(instantOf(first), instantOf(second)))
        return *seconds;
    throw RunError::overflow();
}

DateValue addSeconds(double count, DateValue wall) {
    const double rounded = roundHalfEven(count);
    // Anything beyond the calendar's span of seconds (some 3e11) can only
    // overflow; the bound also keeps the cast to 64 bits defined.
    if (!std::isfinite(rounded) || std::fabs(rounded) > 1e12)
        throw RunError::overflow();
    return wallTimeOf(instantOf(wall) + qint64(rounded));
}

} // namespace quennix
