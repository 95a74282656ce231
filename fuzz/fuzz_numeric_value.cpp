// The numeric value of any text, and its whole number: no crash, no undefined
// behaviour; every error is a RunError the caller can report. The value is
// the correctly rounded double (checked against the C library wherever it
// reads the text the same way), a whole number is never more than a half away
// from it, and the text the program writes for a number reads back as that
// number to single precision.

#include "countdown/number_text.h"
#include "countdown/run_error.h"
#include "fuzz_check.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace quennix;

namespace {

// Text the C library reads the same way: digits, point, exponent and signs
// only (no blanks, no "D" exponent, no "inf" or hex).
bool plainNumberText(const uint8_t *data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        const char c = char(data[i]);
        if (!((c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-'))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const double value = numericValue(text);
    if (plainNumberText(data, size)) {
        // The C library rounds correctly too: both must give the same double,
        // whichever way the program converted ("-0" is plain 0 here).
        const std::string copy(reinterpret_cast<const char *>(data), size);
        const double expected = std::strtod(copy.c_str(), nullptr);
        fuzz::check(value == expected || (value == 0 && expected == 0),
                    "the correctly rounded double");
    }
    fuzz::check(!std::isnan(value), "text never reads as NaN");
    try {
        const qint32 whole = wholeNumber(value);
        fuzz::check(std::fabs(double(whole) - value) <= 0.5, "whole number within a half");
    } catch (const RunError &e) {
        fuzz::check(e.number() == 6, "only Overflow");
    }
    try {
        truthValue(text);
    } catch (const RunError &e) {
        fuzz::check(e.number() == 6, "only Overflow");
    }

    if (std::fabs(value) <= double(FLT_MAX)) {
        const double single = float(value);
        if (std::fabs(single) >= double(FLT_MIN)) {
            const double back = numericValue(numberText(value));
            fuzz::check(std::fabs(back - single) <= 1e-6 * std::fabs(single),
                        "a number's text reads back to seven digits");
        }
    }
    return 0;
}
