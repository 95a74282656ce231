// SPDX-License-Identifier: MIT
#pragma once

#include "date_value.h"

#include <QString>

namespace quennix {

// "#,##0": grouped digits with "," and a leading "-" for negative counts.
QString formatCount(qint64 count);

// The date patterns the program uses: "HH:MM:SS AM/PM", "hh:mm:ss AM/PM",
// "h:mm:ss AM/PM", "HH:MM:SS, dd/mm/yyyy", "dd/mm/yyyy, HH:MM:SS AM/PM",
// "dddd, dd mmmm, yyyy" (and any mix of their fields). Letters are
// case-insensitive; "m"/"M" right after an hour field and ":" means minutes,
// elsewhere month; doubled letters pad with zeros; "AM/PM" anywhere selects the
// 12-hour clock (midnight and noon are 12). Day and month names are English.
QString formatDate(DateValue value, const QString &pattern);

// The English name of a month, 1..12.
QLatin1String monthName(int month);

// The framed window's caption for a base time: "Seconds to " and the base
// time in `pattern` (the window opens with one pattern; Base Time sets the
// caption in another).
QString secondsToCaption(DateValue baseTime, const QString &pattern);

} // namespace quennix
