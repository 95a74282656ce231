// SPDX-License-Identifier: MIT
#include "startup.h"

#include "window_settings.h"
#include "window_switcher.h"

namespace quennix {

DisplayWindow &startFromSettings(const QString &path, AppState &state, Services &services,
                                 WindowSwitcher &switcher) {
    state.setBaseTime(BaseTime());
    const SettingsRead read =
        readSettingsFile(path, ReadingTime{services.clock.nowSeconds(), services.zone});
    reportRead(read, services.dialogs);
    if (read.openError) {
        // Nothing read: the framed window at its built-in place and size.
        DisplayWindow &window = switcher.load(Settings().mode);
        window.show();
        return window;
    }
    applySharedSettings(read.values, state);
    DisplayWindow &window = switcher.load(read.values.mode);
    applySettings(window, read.values);
    window.show();
    return window;
}

} // namespace quennix
