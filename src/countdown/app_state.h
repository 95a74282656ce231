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
    // Where every close saves the settings, and where start-up reads them:
    // the same file, but for a first start in a folder the user cannot write,
    // which starts from the defaults beside the program.
    QString settingsPath;
    QString startupSettingsPath;
};

} // namespace quennix
