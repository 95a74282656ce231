// SPDX-License-Identifier: MIT
#include "base_time.h"

#include "date_text.h"

namespace quennix {

QString BaseTime::text() const {
    return text_ ? *text_ : dateText(value_);
}

} // namespace quennix
