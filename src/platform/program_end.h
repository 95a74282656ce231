// SPDX-License-Identifier: MIT
#pragma once

namespace quennix {

// Ending the program at once, without running any window's closing handler.
// Behind an interface so tests can see that it happened and go on.
class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;

    // The program has begun to end (a box that ends it is up): from now on
    // nothing more is drawn and no closing window saves the settings, even
    // when the box's own event loop lets a tick, a resize or a close through.
    void beginEnding() { ending_ = true; }
    bool isEnding() const { return ending_; }

    // Ends the program now. The real one never returns.
    virtual void endNow() = 0;

private:
    bool ending_ = false;
};

} // namespace quennix
