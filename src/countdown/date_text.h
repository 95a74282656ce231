// SPDX-License-Identifier: MIT
#pragma once

#include "date_value.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace quennix {

// Text of a date value: "dd/mm/yyyy", then, when the time of day is not
// midnight, a blank and "hh:mm:ss AM/PM". Independent of the machine's locale
// so the settings file reads back the same anywhere.
QString dateText(DateValue value);

// Text-to-date. Accepts (surrounding blanks ignored, case-insensitive):
//  - day-first numeric dates "d/m/yy", "d/m/yyyy", "d-m-yyyy", "d.m.yyyy" ...
//    with "/", "-" or "." (the one mark throughout);
//  - "yyyy-mm-dd";
//  - day-first dates with English month names ("1 January 2000", "1-Jan-2000",
//    "January 1, 2000");
//  - any of those followed by a time;
//  - a time alone, "h:mm" or "h:mm:ss" with optional "AM"/"PM", which is that
//    time on 30 December 1899.
// Two-digit years 00..29 mean 2000..2029, 30..99 mean 1930..1999.
// Impossible dates and times (31/02/2001, 25:00) are not dates.
std::optional<DateValue> textToDate(QStringView text);

} // namespace quennix
