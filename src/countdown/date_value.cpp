// SPDX-License-Identifier: MIT
#include "date_value.h"

#include "run_error.h"

#include <cmath>
#include <utility>

namespace quennix {

namespace {

// Day numbers of 1 January 100 and 31 December 9999, the calendar's limits.
constexpr qint64 kFirstDay = -657434;
constexpr qint64 kLastDay = 2958465;

// Far beyond the calendar, yet small enough that seconds (and differences of
// seconds) stay inside 64 bits.
constexpr double kDayLimit = 1e12;

// a / b rounded down, for b > 0.
qint64 floorDiv(qint64 a, qint64 b) {
    return a / b - (a % b < 0 ? 1 : 0);
}

// Whole seconds as a day number and the seconds into that day (0..86399).
std::pair<qint64, qint64> splitSeconds(qint64 seconds) {
    const qint64 day = floorDiv(seconds, kSecondsPerDay);
    return {day, seconds - day * kSecondsPerDay};
}

} // namespace

qint64 secondsSinceEpoch(DateValue value) {
    if (!(std::fabs(value) < kDayLimit)) // also NaN and the infinities
        throw RunError::overflow();
    // The whole part counts days (back, when negative); the fraction's size is
    // always the time since that day's midnight.
    const double whole = std::trunc(value);
    const double fraction = std::fabs(value - whole);
    return qint64(whole) * kSecondsPerDay + qint64(std::round(fraction * kSecondsPerDay));
}

DateValue dateValueFromSeconds(qint64 seconds) {
    const auto [day, secondOfDay] = splitSeconds(seconds);
    const double fraction = double(secondOfDay) / kSecondsPerDay;
    // Before the epoch the fraction still counts forward, so it carries the
    // day's sign: 29 December 1899 12:00 is -1.5.
    return day < 0 ? double(day) - fraction : double(day) + fraction;
}

DateValue toDateValue(const QDate &date, const QTime &time) {
    const qint64 day = epochDate().daysTo(date);
    return dateValueFromSeconds(day * kSecondsPerDay + time.msecsSinceStartOfDay() / 1000);
}

bool inCalendar(qint64 seconds) {
    const qint64 day = floorDiv(seconds, kSecondsPerDay);
    return day >= kFirstDay && day <= kLastDay;
}

qint64 calendarSeconds(DateValue value) {
    const qint64 seconds = secondsSinceEpoch(value);
    if (!inCalendar(seconds))
        throw RunError::overflow();
    return seconds;
}

DateParts dateParts(DateValue value) {
    const auto [day, secondOfDay] = splitSeconds(calendarSeconds(value));
    const QDate date = epochDate().addDays(day);
    const int second = int(secondOfDay);
    return DateParts{date.year(),      date.month(), date.day(),      second / 3600,
                     second / 60 % 60, second % 60,  date.dayOfWeek()};
}

} // namespace quennix
