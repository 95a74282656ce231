#pragma once

#include "countdown/app_state.h"
#include "platform/dialogs.h"
#include "settings_file.h"

namespace quennix {

// Writes the settings file for a display window that is closing: its place,
// size, bold, italic and kind, with the shared face and base time. A failure is
// reported in a "Shutdown" box and the old file stays as it was.
void Shutdown(const WindowSettings &window, const AppState &state, Dialogs &dialogs);

} // namespace quennix
