#include "date_value.h"

#include "number_text.h"
#include "run_error.h"

#include <cmath>

namespace quennix {

namespace {

constexpr qint64 kSecondsPerDay = 86400;

// Day numbers of 1 January 100 and 31 December 9999, the calendar's limits.
constexpr qint64 kFirstDay = -657434;
constexpr qint64 kLastDay = 2958465;

// Far beyond the calendar, yet small enough that seconds (and differences of
// seconds) stay inside 64 bits.
constexpr double kDayLimit = 1e12;

QDate epochDate() {
    return QDate(1899, 12, 30);
}

qint64 floorDiv(qint64 a, qint64 b) {
    const qint64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Splits whole seconds into a day number and the seconds into that day (0..86399).
void splitSeconds(qint64 seconds, qint64 &day, qint64 &secondOfDay) {
    day = floorDiv(seconds, kSecondsPerDay);
    secondOfDay = seconds - day * kSecondsPerDay;
}

bool dayInCalendar(qint64 day) {
    return day >= kFirstDay && day <= kLastDay;
}

} // namespace

qint64 secondsSinceEpoch(DateValue value) {
    if (!std::isfinite(value) || std::fabs(value) >= kDayLimit)
        throw RunError::overflow();
    // The whole part counts days (back, when negative); the fraction's size is
    // always the time since that day's midnight.
    const double whole = std::trunc(value);
    const double fraction = std::fabs(value - whole);
    return qint64(whole) * kSecondsPerDay + qint64(std::round(fraction * kSecondsPerDay));
}

DateValue dateValueFromSeconds(qint64 seconds) {
    qint64 day = 0;
    qint64 secondOfDay = 0;
    splitSeconds(seconds, day, secondOfDay);
    const double fraction = double(secondOfDay) / kSecondsPerDay;
    // Before the epoch the fraction still counts forward, so it carries the
    // day's sign: 29 December 1899 12:00 is -1.5.
    return day < 0 ? double(day) - fraction : double(day) + fraction;
}

DateValue toDateValue(const QDate &date, const QTime &time) {
    const qint64 day = epochDate().daysTo(date);
    const qint64 second = time.isValid() ? time.msecsSinceStartOfDay() / 1000 : 0;
    return dateValueFromSeconds(day * kSecondsPerDay + second);
}

DateValue toDateValue(const QDateTime &local) {
    return toDateValue(local.date(), local.time());
}

DateParts dateParts(DateValue value) {
    qint64 day = 0;
    qint64 secondOfDay = 0;
    splitSeconds(secondsSinceEpoch(value), day, secondOfDay);
    if (!dayInCalendar(day))
        throw RunError::overflow();
    const QDate date = epochDate().addDays(day);
    const int second = int(secondOfDay);
    return DateParts{date.year(),      date.month(), date.day(),      second / 3600,
                     second / 60 % 60, second % 60,  date.dayOfWeek()};
}

QDateTime toDateTime(DateValue value) {
    const DateParts p = dateParts(value);
    return QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second));
}

std::optional<qint32> trySecondsBetween(DateValue first, DateValue second) {
    const auto inRange = [](DateValue v) { return std::isfinite(v) && std::fabs(v) < kDayLimit; };
    if (!inRange(first) || !inRange(second))
        return std::nullopt;
    const qint64 diff = secondsSinceEpoch(second) - secondsSinceEpoch(first);
    if (diff < -2147483648LL || diff > 2147483647LL)
        return std::nullopt;
    return qint32(diff);
}

qint32 secondsBetween(DateValue first, DateValue second) {
    if (const auto seconds = trySecondsBetween(first, second))
        return *seconds;
    throw RunError::overflow();
}

DateValue addSeconds(double count, DateValue instant) {
    const double rounded = roundHalfEven(count);
    // Anything beyond the calendar's span of seconds can only overflow; the
    // bound also keeps the cast to 64 bits defined.
    constexpr double kMaxCount = double(kDayLimit) * kSecondsPerDay;
    if (!std::isfinite(rounded) || std::fabs(rounded) > kMaxCount)
        throw RunError::overflow();
    const qint64 total = secondsSinceEpoch(instant) + qint64(rounded);
    if (!dayInCalendar(floorDiv(total, kSecondsPerDay)))
        throw RunError::overflow();
    return dateValueFromSeconds(total);
}

} // namespace quennix
