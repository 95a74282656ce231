// SPDX-License-Identifier: MIT
#pragma once

#include "program_end.h"

namespace quennix {

// Ends the process on the spot, with exit status 0. Nothing after the call
// runs: no further box, no window shown or drawn, no closing handler, so no
// window writes the settings file on the way out.
class SystemProgramEnd : public ProgramEnd {
public:
    [[noreturn]] void endNow() override;
};

} // namespace quennix
