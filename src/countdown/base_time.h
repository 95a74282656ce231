// SPDX-License-Identifier: MIT
#pragma once

#include "date_value.h"

#include <QString>
#include <optional>

namespace quennix {

// The wall time the display counts to, and the text the settings file keeps
// for it: the text read from the file, written back unchanged while the user
// sets no other (also when the count could not reach it and runs to the
// default meanwhile), else the text of the date value.
class BaseTime {
public:
    BaseTime() = default; // 1 January 2000 00:00:00
    explicit BaseTime(DateValue value) : value_(value) {}
    BaseTime(DateValue value, QString text) : value_(value), text_(std::move(text)) {}

    DateValue value() const { return value_; }
    QString text() const;

private:
    DateValue value_ = kEpoch2000;
    std::optional<QString> text_;
};

} // namespace quennix
