// SPDX-License-Identifier: MIT
#pragma once

#include "countdown/date_value.h"
#include "countdown/local_time.h"

#include <QString>
#include <optional>

namespace quennix {

// The wall time the display counts to, and the text the settings file keeps
// for it: the text read from the file, written back unchanged while the user
// sets no other (also when the count could not reach it and runs to the
// default meanwhile), else the text of the date value.
//
// Any base time but the default comes through reachable(), the one place
// that says what a base time may be, for the settings file and the Base Time
// command alike.
class BaseTime {
public:
    BaseTime() = default; // 1 January 2000 00:00:00

    // `date` (written as `text`, when given), if the count can reach it from
    // `now`: the seconds between fit the count. One it cannot reach would
    // end the program at the first drawing.
    static std::optional<BaseTime> reachable(DateValue date, Instant now, const TimeZone &zone,
                                             std::optional<QString> text = std::nullopt);
    // A date read as `text` that the count cannot reach yet: the count runs to
    // the default, and the text is kept, since the date comes within reach as
    // the years pass.
    static BaseTime outOfReach(QString text);

    DateValue value() const { return value_; }
    QString text() const;
    // The instant it names in the zone.
    Instant instant(const TimeZone &zone) const { return instantOf(value_, zone); }

private:
    BaseTime(DateValue value, std::optional<QString> text)
        : value_(value), text_(std::move(text)) {}

    DateValue value_ = kEpoch2000;
    std::optional<QString> text_;
};

} // namespace quennix
