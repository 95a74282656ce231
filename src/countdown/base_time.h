#pragma once

#include "local_time.h"

#include <QString>
#include <optional>

namespace quennix {

// The instant the display counts to: a date value, or the text read from the
// settings file, kept as written until it is used (and written back unchanged
// if the user never sets another).
class BaseTime {
public:
    BaseTime() = default; // 1 January 2000 00:00:00
    explicit BaseTime(DateValue value) : value_(value) {}
    static BaseTime fromText(const QString &text);

    // The date value (wall time); text that is not a date throws
    // RunError::typeMismatch().
    DateValue value() const;
    // The instant it names in the time zone now in force (see instantOf).
    // Worked out once, and again only after the zone changes, so asking each
    // second costs next to nothing.
    Instant instant() const;
    // The settings file's text: the text read, or the text of the date value.
    QString text() const;
    bool operator==(const BaseTime &o) const { return value_ == o.value_ && text_ == o.text_; }

private:
    DateValue value_ = kEpoch2000;
    std::optional<QString> text_;
    mutable std::optional<Instant> instant_;
    mutable ZoneStamp zone_; // the zone instant_ was worked out in
};

} // namespace quennix
