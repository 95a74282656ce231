// SPDX-License-Identifier: MIT
#pragma once

#include "base_time.h"

#include <QString>

namespace quennix {

// The program-wide state both display windows share. main() owns one; tests
// make their own.
struct AppState {
    BaseTime baseTime;
    // The face chosen by the user; empty until the settings file or the Font
    // command sets it (an empty face keeps the window's built-in face).
    QString fontName;
};

} // namespace quennix
