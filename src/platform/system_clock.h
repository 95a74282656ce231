// SPDX-License-Identifier: MIT
#pragma once

#include "clock.h"

namespace quennix {

// The machine's own clock, read fresh on every call so jumps and suspends
// show at the next tick.
class SystemClock : public Clock {
public:
    qint64 nowMSecs() const override;
};

} // namespace quennix
