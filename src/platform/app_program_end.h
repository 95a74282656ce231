#pragma once

#include "program_end.h"

namespace quennix {

// Leaves the event loop at once. Windows still open are destroyed without
// being closed, so none of them writes the settings file on the way out.
class AppProgramEnd : public ProgramEnd {
public:
    void endNow() override;
    bool hasEnded() const override { return ended_; }

private:
    bool ended_ = false;
};

} // namespace quennix
