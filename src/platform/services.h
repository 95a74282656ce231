// SPDX-License-Identifier: MIT
#pragma once

#include "clock.h"
#include "dialogs.h"
#include "program_end.h"
#include "screens.h"
#include "second_ticker.h"
#include "time_zone.h"

namespace quennix {

// The platform services the program's logic talks to. main() binds the real
// ones; tests bind fakes.
struct Services {
    Dialogs &dialogs;
    Clock &clock;
    TimeZone &zone;
    SecondTicker &ticker; // fires just after each second of the clock
    Screens &screens;
    ProgramEnd &programEnd;
};

} // namespace quennix
