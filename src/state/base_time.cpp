// SPDX-License-Identifier: MIT
#include "base_time.h"

#include "countdown/date_text.h"

namespace quennix {

std::optional<BaseTime> BaseTime::reachable(DateValue date, Instant now, const TimeZone &zone,
                                            std::optional<QString> text) {
    const BaseTime time(date, std::move(text));
    if (!countBetween(now, time.instant(zone)))
        return std::nullopt;
    return time;
}

BaseTime BaseTime::outOfReach(QString text) {
    return BaseTime(kEpoch2000, std::move(text));
}

QString BaseTime::text() const {
    return text_ ? *text_ : dateText(value_);
}

} // namespace quennix
