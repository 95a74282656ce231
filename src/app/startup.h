#pragma once

#include "countdown/app_state.h"
#include "platform/services.h"
#include "settings/settings_file.h"

namespace quennix {

class DisplayWindow;
class WindowSwitcher;

// Box titles: start-up's and saving's.
inline const QString kStartupBox = QStringLiteral("Main");
inline const QString kSaveBox = QStringLiteral("Shutdown");

// The program's start: the base time is 1 January 2000 unless the settings
// file at `path` says otherwise; the file names the window kind, its place
// and size and the font. A file that cannot be opened, and each entry that
// cannot be read, is reported in a "Main" box; the readable entries still
// apply. The window is shown and returned.
DisplayWindow &startFromSettings(const QString &path, AppState &state, Services &services,
                                 WindowSwitcher &switcher);

// Gives a window the outer place and size, face, bold and italic of a
// settings record; the kind is the window's own.
void applySettings(DisplayWindow &window, const Settings &s);

// What the settings file records for a window: its place, size, bold,
// italic and kind, with the shared face and base time.
Settings settingsOf(const DisplayWindow &window, const AppState &state);

// Writes the settings for a window that is closing. A failure is reported in
// a "Shutdown" box, and the old file stays as it was.
void saveSettings(const DisplayWindow &window, const AppState &state, const QString &path,
                  Dialogs &dialogs);

} // namespace quennix
