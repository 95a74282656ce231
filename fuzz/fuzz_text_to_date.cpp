// Text-to-date over any text: no crash, no hang, no undefined behaviour, and
// every date it accepts reads back unchanged from the text the program writes
// for it (the settings file keeps base times as such text).

#include "countdown/date_text.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>

using namespace quennix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<DateValue> value = textToDate(text);
    if (!value)
        return 0;
    const std::optional<DateValue> again = textToDate(dateText(*value));
    fuzz::check(again && *again == *value, "a date's own text reads back as that date");
    return 0;
}
