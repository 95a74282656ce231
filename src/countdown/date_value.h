// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QTime>
#include <QtGlobal>

namespace quennix {

// A date value counts days since 30 December 1899 (local wall-clock time); the
// fraction is the time of day. Before the epoch the whole part counts back and
// the fraction still counts forward from that day's midnight, so -1.25 is
// 29 December 1899 06:00.
using DateValue = double;

constexpr DateValue kEpoch2000 = 36526.0; // 1 January 2000 00:00:00
// Day 0, on which a time of day alone stands.
inline QDate epochDate() {
    return QDate(1899, 12, 30);
}
constexpr qint64 kSecondsPerDay = 86400;

// Whole seconds since the epoch's midnight for a date value (rounded to the
// nearest second) and back. These are the exact, integer view of a date value.
qint64 secondsSinceEpoch(DateValue value);
DateValue dateValueFromSeconds(qint64 seconds);

// Whether whole seconds since the epoch's midnight fall in years 100..9999.
bool inCalendar(qint64 seconds);
// The whole seconds of a date value in years 100..9999. Throws
// RunError::overflow() outside them.
qint64 calendarSeconds(DateValue value);

// A calendar date and time of day; sub-second parts are dropped.
DateValue toDateValue(const QDate &date, const QTime &time);

// Calendar parts of a date value. Throws RunError::overflow() outside years
// 100..9999.
struct DateParts {
    int year, month, day;     // month 1..12
    int hour, minute, second; // 0..23, 0..59, 0..59
    int dayOfWeek;            // 1 = Monday .. 7 = Sunday
};
DateParts dateParts(DateValue value);

} // namespace quennix
