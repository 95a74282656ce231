// SPDX-License-Identifier: MIT
#pragma once

#include "platform/services.h"
#include "state/app_state.h"

#include <QString>

namespace quennix {

class DisplayWindow;
class WindowSwitcher;

// The program's start: the base time is 1 January 2000 unless the settings
// file at `path` says otherwise; the file names the window kind, its place
// and size and the font. A file that cannot be opened, and each entry that
// cannot be read, is reported in a "Main" box; the readable entries still
// apply. The window is shown and returned.
DisplayWindow &startFromSettings(const QString &path, AppState &state, Services &services,
                                 WindowSwitcher &switcher);

} // namespace quennix
