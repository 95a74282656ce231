#include "menu_commands.h"

#include "windows/form2.h"
#include "windows/window_switcher.h"

namespace quennix {

void attachMenuCommands(WindowSwitcher &switcher, AppState &state, Services &services) {
    Q_UNUSED(state);
    Q_UNUSED(services);
    switcher.onFramedLoaded = [](Form2 &) {};
}

} // namespace quennix
