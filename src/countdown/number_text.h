// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace quennix {

// An ASCII digit: other scripts' digits are no part of a number or a date
// here.
inline bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Numeric value of a text: blanks, tabs and line breaks are ignored wherever
// they stand; then an optional sign, digits, an optional "." fraction and an
// optional exponent ("E" or "D", optional sign, digits). Reading stops at the
// first character that does not fit; no number at all gives 0.
double numericValue(QStringView text);

// Nearest whole value, halves to even (2.5 -> 2, 3.5 -> 4); NaN and
// infinities come back unchanged. The one rounding rule every whole-number
// conversion in the program shares.
double roundHalfEven(double value);

// Nearest integer, halves to even. Throws RunError::overflow() outside the
// signed 32-bit range (and for NaN).
qint32 wholeNumber(double value);
// The same, with nothing for an overflow: for callers that meet bad values by
// the million (a damaged settings file), where a throw each would cost seconds.
std::optional<qint32> tryWholeNumber(double value);

// "True" or "False".
QString truthText(bool value);

// The settings file's truth rule: true for "True", or when the whole number of
// the numeric value is not 0; nothing when that number overflows.
std::optional<bool> tryTruthValue(QStringView text);

} // namespace quennix
