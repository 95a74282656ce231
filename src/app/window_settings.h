// SPDX-License-Identifier: MIT
#pragma once

#include "platform/dialogs.h"
#include "settings/settings_file.h"
#include "state/app_state.h"

namespace quennix {

class DisplayWindow;

// Where a setting meets a window: what a settings record gives the shared
// state and a window, what they give back to be saved, and the boxes that
// report reading and saving. A new setting is added to the record and its
// key table, here, and to the widget that shows it.

// Each thing that could not be read, in a "Main" box: the file that could not
// be opened, or each entry that could not be read.
void reportRead(const SettingsRead &read, Dialogs &dialogs);

// What both windows share: the face and the base time (1 January 2000 when
// the record names none).
void applySharedSettings(const Settings &s, AppState &state);

// What is a window's own: the outer place and size, face, bold and italic.
// Its kind, the mode, it has from its making.
void applySettings(DisplayWindow &window, const Settings &s);

// The record for a window: its place, size, bold, italic and mode, with the
// shared face and base time.
Settings settingsOf(const DisplayWindow &window, const AppState &state);

// Writes the record for a window that is closing. A failure is reported in
// a "Shutdown" box, and the old file stays as it was.
void saveSettings(const DisplayWindow &window, const AppState &state, const QString &path,
                  Dialogs &dialogs);

} // namespace quennix
