// SPDX-License-Identifier: MIT
#pragma once

namespace quennix {

// Stands by while QApplication opens the display. Qt ends a program that can
// open none with a paragraph about reinstalling it and a core dump; here its
// messages are held meanwhile, and should it give up the program prints the
// one line noDisplayLine() gives for this process's environment (see
// session_platform.h) and exits with status 1. Once the display is open,
// release() passes the held messages on to the message handler installed
// before, in their order, and puts that handler back. One at a time.
class DisplayOpening {
public:
    DisplayOpening();
    ~DisplayOpening(); // releases, if not done yet
    DisplayOpening(const DisplayOpening &) = delete;
    DisplayOpening &operator=(const DisplayOpening &) = delete;

    void release();

private:
    bool holding_ = true;
};

} // namespace quennix
