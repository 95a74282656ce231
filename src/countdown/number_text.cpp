#include "number_text.h"

#include "run_error.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace quennix {

namespace {

bool isIgnoredBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n');
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isExponentLetter(QChar c) {
    const char16_t u = c.unicode();
    return u == 'E' || u == 'e' || u == 'D' || u == 'd';
}

// Reads the text left to right, skipping blanks, one character at a time: the
// next character that fits the number's shape is taken, anything else ends it.
class NumberReader {
public:
    explicit NumberReader(QStringView text) : text_(text) {}

    double read() {
        const QChar sign = peek();
        const bool negative = sign == QLatin1Char('-');
        if (negative || sign == QLatin1Char('+'))
            take();
        readDigits(false);
        if (peek() == QLatin1Char('.')) {
            take();
            readDigits(true);
        }
        if (!sawDigit_)
            return 0.0;
        if (isExponentLetter(peek()))
            readExponent();
        if (digits_.empty())
            return 0.0; // only zeros; "-0" is plain 0 too
        return convert(negative);
    }

private:
    // Enough significant digits to round any double correctly; a further
    // nonzero digit only needs to be known to exist.
    static constexpr qsizetype kMaxDigits = 800;
    // Exponents are capped here; anything this far out is already infinite
    // or zero, and the cap keeps the arithmetic from overflowing.
    static constexpr long kExponentCap = 100000000;

    QChar peek() {
        while (pos_ < text_.size() && isIgnoredBlank(text_[pos_]))
            ++pos_;
        return pos_ < text_.size() ? text_[pos_] : QChar();
    }
    void take() { ++pos_; }

    void readDigits(bool fraction) {
        for (QChar c = peek(); isDigit(c); c = peek()) {
            take();
            sawDigit_ = true;
            const char digit = char(c.unicode());
            if (digit == '0' && digits_.empty()) {
                // Leading zeros carry no digits, but in the fraction they move the point.
                if (fraction)
                    --exponent_;
                continue;
            }
            if (qsizetype(digits_.size()) < kMaxDigits) {
                digits_.push_back(digit);
                if (fraction)
                    --exponent_;
            } else {
                // Dropped digits: whole-part ones still scale the number.
                sticky_ = sticky_ || digit != '0';
                if (!fraction)
                    exponent_ = std::min(exponent_ + 1, kExponentCap);
            }
        }
    }

    // "E" followed by an optional sign and digits; without digits the "E" is
    // simply where the number ends.
    void readExponent() {
        take();
        const QChar sign = peek();
        const bool negative = sign == QLatin1Char('-');
        if (negative || sign == QLatin1Char('+'))
            take();
        if (!isDigit(peek()))
            return;
        long value = 0;
        for (QChar c = peek(); isDigit(c); c = peek()) {
            take();
            value = std::min(value * 10 + (c.unicode() - '0'), kExponentCap);
        }
        exponent_ =
            std::clamp(exponent_ + (negative ? -value : value), -kExponentCap, kExponentCap);
    }

    double convert(bool negative) {
        // Up to 15 digits make an exact double, and so does a power of ten up
        // to 1E22: one multiplication or division of the two is then rounded
        // correctly, with no need for the general conversion below. Settings
        // files are full of such numbers.
        static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        if (!sticky_ && digits_.size() <= 15 && exponent_ >= -22 && exponent_ <= 22) {
            double mantissa = 0;
            for (char digit : digits_)
                mantissa = mantissa * 10 + (digit - '0');
            const double value =
                exponent_ >= 0 ? mantissa * kPowers[exponent_] : mantissa / kPowers[-exponent_];
            return negative ? -value : value;
        }
        // Far out of range either way (the value is below 10^magnitude and at
        // least a tenth of that): no need to convert to know the answer.
        const long magnitude = long(digits_.size()) + exponent_;
        if (magnitude > 310)
            return negative ? -HUGE_VAL : HUGE_VAL;
        if (magnitude < -330)
            return negative ? -0.0 : 0.0;
        std::string text = negative ? "-" : "";
        text += digits_;
        if (sticky_)
            text += '1';
        const long exponent = sticky_ ? exponent_ - 1 : exponent_;
        text += 'e';
        text += std::to_string(exponent);
        // from_chars rounds correctly, ignores the locale and is several times
        // faster than strtod, which counts when a damaged settings file holds
        // millions of numbers. Out of range it leaves the value alone; the
        // magnitude tells which way.
        double value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc::result_out_of_range)
            value = magnitude > 0 ? (negative ? -HUGE_VAL : HUGE_VAL) : (negative ? -0.0 : 0.0);
        return value;
    }

    QStringView text_;
    qsizetype pos_ = 0;
    std::string digits_; // significant digits, without leading zeros
    long exponent_ = 0;  // power of ten applied to digits_ read as an integer
    bool sawDigit_ = false;
    bool sticky_ = false;
};

} // namespace

double numericValue(QStringView text) {
    return NumberReader(text).read();
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

QString numberText(double value) {
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::fabs(value) > double(std::numeric_limits<float>::max()))
        return value < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    const float single = float(value);
    if (single == 0.0f)
        return QStringLiteral("0"); // no "-0"
    // Seven significant digits, trailing zeros dropped, exponent form only for
    // very large or small values: "%.7g" with a capital E.
    QString text = QString::number(double(single), 'g', 7);
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    return text;
}

QString signedNumberText(double value) {
    const QString text = numberText(value);
    return text.startsWith(QLatin1Char('-')) ? text : QLatin1Char(' ') + text;
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

bool truthValue(QStringView text) {
    const std::optional<bool> truth = tryTruthValue(text);
    if (!truth)
        throw RunError::overflow();
    return *truth;
}

} // namespace quennix
