#include "startup.h"

#include "platform/screen_placement.h"
#include "window_settings.h"
#include "window_switcher.h"

namespace quennix {

DisplayWindow &startFromSettings(const QString &path, AppState &state, Services &services,
                                 WindowSwitcher &switcher) {
    state.baseTime = BaseTime();
    const SettingsRead read = readSettingsFile(path, services.clock.nowSeconds());
    reportRead(read, services.dialogs);
    if (read.openError) {
        // Nothing read: the framed window at its built-in place and size.
        DisplayWindow &window = switcher.load(WindowKind::Framed);
        window.show();
        return window;
    }
    applySharedSettings(read.values, state);
    DisplayWindow &window = switcher.load(read.values.kind);
    applySettings(window, read.values);

    // A window saved on a screen that is gone comes back onto the nearest one.
    const QRect outer = window.outerGeometry();
    const QRect onScreen = bringOntoScreens(outer, services.screens.geometries());
    if (onScreen != outer)
        window.move(onScreen.topLeft());

    window.show();
    return window;
}

} // namespace quennix
