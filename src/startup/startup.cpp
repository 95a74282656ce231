#include "startup.h"

#include "platform/screen_placement.h"
#include "settings_file.h"
#include "windows/display_window.h"
#include "windows/window_switcher.h"

namespace quennix {

namespace {

void reportInMain(Services &services, const RunError &e) {
    services.dialogs.message(e.errText(), Dialogs::Buttons::Ok, Dialogs::Icon::None,
                             QStringLiteral("Main"));
}

} // namespace

DisplayWindow &Main(AppState &state, Services &services, WindowSwitcher &switcher) {
    state.baseTime = BaseTime();
    const SettingsReadResult read =
        readSettingsFile(state.startupSettingsPath, toDateValue(services.clock.now()));
    if (read.openError) {
        // Nothing read: the framed window at its built-in place and size.
        reportInMain(services, *read.openError);
        DisplayWindow &window = switcher.load(0);
        window.widget().show();
        return window;
    }
    for (const RunError &e : read.entryErrors)
        reportInMain(services, e);

    const StoredSettings &v = read.values;
    if (v.fontName)
        state.fontName = *v.fontName;
    if (v.baseTimeText)
        state.baseTime = BaseTime::fromText(*v.baseTimeText);

    DisplayWindow &window = switcher.load(v.mode);
    window.setTop(v.top);
    window.setLeft(v.left);
    window.setHeight(v.height);
    window.setWidth(v.width);
    window.setFontName(v.fontName.value_or(QString()));
    window.setFontBold(v.fontBold);
    window.setFontItalic(v.fontItalic);

    // A window saved on a screen that is gone comes back onto the nearest one.
    const QRect outer = window.outerGeometry();
    const QRect placed = bringOntoScreens(outer, services.screens.geometries());
    if (placed != outer)
        window.moveOuterTo(placed.topLeft());

    window.widget().show();
    return window;
}

} // namespace quennix
