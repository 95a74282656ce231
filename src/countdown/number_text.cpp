// SPDX-License-Identifier: MIT
#include "number_text.h"

#include "run_error.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>

namespace quennix {

namespace {

bool isIgnoredBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n');
}

bool isExponentLetter(QChar c) {
    const char16_t u = c.unicode();
    return u == 'E' || u == 'e' || u == 'D' || u == 'd';
}

} // namespace

double numericValue(QStringView text) {
    // The characters that make up the number, blanks left out, for strtod:
    // a sign, digits, a fraction, and an exponent ("D" read as "E") only when
    // digits follow it. Reading stops at the first character that does not fit.
    std::string number;
    QStringView rest = text; // what is left to read, so no index can pass its end
    const auto peek = [&] {
        while (!rest.isEmpty() && isIgnoredBlank(rest.front()))
            rest = rest.sliced(1);
        return rest.isEmpty() ? QChar() : rest.front();
    };
    const auto take = [&](char c) {
        number += c;
        rest = rest.sliced(1);
    };
    const auto takeDigits = [&] {
        const std::size_t before = number.size();
        while (isDigit(peek()))
            take(char(peek().unicode()));
        return number.size() > before;
    };
    if (peek() == QLatin1Char('-') || peek() == QLatin1Char('+'))
        take(char(peek().unicode()));
    bool digits = takeDigits();
    if (peek() == QLatin1Char('.')) {
        take('.');
        digits = takeDigits() || digits;
    }
    if (!digits)
        return 0.0;
    if (isExponentLetter(peek())) {
        const std::string mantissa = number;
        take('e');
        if (peek() == QLatin1Char('-') || peek() == QLatin1Char('+'))
            take(char(peek().unicode()));
        if (!takeDigits())
            number = mantissa;
    }
    // Always "." as the decimal point, whatever the user's locale says.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const double value = strtod_l(number.c_str(), nullptr, cLocale);
    return value == 0 ? 0.0 : value; // "-0" is plain 0
}

double roundHalfEven(double value) {
    if (!std::isfinite(value))
        return value;
    const double nearest = std::round(value); // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5)
        return 2.0 * std::round(value / 2.0);
    return nearest;
}

std::optional<qint32> tryWholeNumber(double value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) // also catches NaN
        return std::nullopt;
    return qint32(rounded);
}

qint32 wholeNumber(double value) {
    const std::optional<qint32> whole = tryWholeNumber(value);
    if (!whole)
        throw RunError::overflow();
    return *whole;
}

QString truthText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<bool> tryTruthValue(QStringView text) {
    if (text == QLatin1String("True"))
        return true;
    const std::optional<qint32> whole = tryWholeNumber(numericValue(text));
    if (!whole)
        return std::nullopt;
    return *whole != 0;
}

} // namespace quennix
