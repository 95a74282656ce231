#include "base_time.h"

#include "date_text.h"
#include "run_error.h"

namespace quennix {

BaseTime BaseTime::fromText(const QString &text) {
    BaseTime time;
    time.text_ = text;
    return time;
}

DateValue BaseTime::value() const {
    if (!text_)
        return value_;
    // The text is read each time it is used, so a bad date reaches the user
    // at the moment it matters rather than when the settings are loaded.
    const std::optional<DateValue> value = textToDate(*text_);
    if (!value)
        throw RunError::typeMismatch();
    return *value;
}

Instant BaseTime::instant() const {
    if (zoneChanged(zone_) || !instant_)
        instant_ = instantOf(value());
    return *instant_;
}

QString BaseTime::text() const {
    return text_ ? *text_ : dateText(value_);
}

} // namespace quennix
