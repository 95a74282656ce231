#pragma once

#include <QDateTime>
#include <QtGlobal>
#include <optional>

namespace quennix {

// A date value counts days since 30 December 1899 (local wall-clock time); the
// fraction is the time of day. Before the epoch the whole part counts back and
// the fraction still counts forward from that day's midnight, so -1.25 is
// 29 December 1899 06:00.
using DateValue = double;

constexpr DateValue kEpoch2000 = 36526.0; // 1 January 2000 00:00:00

// Whole seconds since the epoch's midnight for a date value (rounded to the
// nearest second) and back. These are the exact, integer view of a date value.
qint64 secondsSinceEpoch(DateValue value);
DateValue dateValueFromSeconds(qint64 seconds);

// Local wall-clock conversions; sub-second parts are dropped.
DateValue toDateValue(const QDateTime &local);
QDateTime toDateTime(DateValue value);
DateValue toDateValue(const QDate &date, const QTime &time);

// Whole seconds from first to second, negative when second is earlier.
// Throws RunError::overflow() outside the signed 32-bit range.
qint32 secondsBetween(DateValue first, DateValue second);
// The same, with nothing where it would overflow: whether a count from first
// can reach second at all.
std::optional<qint32> trySecondsBetween(DateValue first, DateValue second);

// The instant moved by count seconds (count is rounded to a whole second).
// Throws RunError::overflow() when the result leaves years 100..9999.
DateValue addSeconds(double count, DateValue instant);

// Calendar parts of a date value. Throws RunError::overflow() outside 100..9999.
struct DateParts {
    int year, month, day;     // month 1..12
    int hour, minute, second; // 0..23, 0..59, 0..59
    int dayOfWeek;            // 1 = Monday .. 7 = Sunday
};
DateParts dateParts(DateValue value);

} // namespace quennix
