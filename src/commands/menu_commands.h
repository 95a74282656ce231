#pragma once

#include "countdown/app_state.h"
#include "platform/services.h"

namespace quennix {

class WindowSwitcher;

// Attaches the menu commands to every framed window the switcher creates.
void attachMenuCommands(WindowSwitcher &switcher, AppState &state, Services &services);

} // namespace quennix
