#pragma once

#include "countdown/app_state.h"
#include "platform/services.h"

#include <functional>

namespace quennix {

class DisplayWindow;
class WindowSwitcher;

// Attaches the menu commands to every framed window the switcher creates.
void attachMenuCommands(WindowSwitcher &switcher, AppState &state, Services &services);

// Help > About: the framed window steps aside while the About window is shown
// modally, and comes back when it closes.
void MAbout_Click(DisplayWindow &window, const std::function<void()> &showAboutModally);

// File > Exit: saves the settings for this window, then ends the program at
// once; no other window writes anything after it.
void MExit_Click(DisplayWindow &window, AppState &state, Services &services);

} // namespace quennix
