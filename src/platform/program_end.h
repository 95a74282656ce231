#pragma once

namespace quennix {

// Ends the program at once, without running any window's closing handler.
// Behind an interface so tests can see that it happened and go on.
class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    virtual void endNow() = 0;
    // Once ended, closing windows write nothing.
    virtual bool hasEnded() const = 0;
};

} // namespace quennix
