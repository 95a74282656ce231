#include "startup.h"

#include "platform/screen_placement.h"
#include "window_switcher.h"

namespace quennix {

namespace {

void report(Dialogs &dialogs, const RunError &e, const QString &title) {
    dialogs.message(e.errText(), Dialogs::Buttons::Ok, Dialogs::Icon::None, title);
}

} // namespace

DisplayWindow &startFromSettings(const QString &path, AppState &state, Services &services,
                                 WindowSwitcher &switcher) {
    state.baseTime = BaseTime();
    const SettingsRead read = readSettingsFile(path, secondOf(services.clock.nowMSecs()));
    if (read.openError) {
        // Nothing read: the framed window at its built-in place and size.
        report(services.dialogs, *read.openError, kStartupBox);
        DisplayWindow &window = switcher.load(WindowKind::Framed);
        window.show();
        return window;
    }
    for (const RunError &e : read.entryErrors)
        report(services.dialogs, e, kStartupBox);

    const Settings &s = read.values;
    state.fontName = s.fontName;
    if (!s.baseTime.isEmpty())
        state.baseTime = BaseTime::fromText(s.baseTime);

    DisplayWindow &window = switcher.load(s.kind);
    applySettings(window, s);

    // A window saved on a screen that is gone comes back onto the nearest one.
    const QRect outer = window.outerGeometry();
    const QRect placed = bringOntoScreens(outer, services.screens.geometries());
    if (placed != outer)
        window.move(placed.topLeft());

    window.show();
    return window;
}

void applySettings(DisplayWindow &window, const Settings &s) {
    window.setTop(s.top);
    window.setLeft(s.left);
    window.setHeight(s.height);
    window.setWidth(s.width);
    window.count().setFace(s.fontName, s.fontBold, s.fontItalic);
}

Settings settingsOf(const DisplayWindow &window, const AppState &state) {
    Settings s;
    s.top = window.top();
    s.left = window.left();
    s.height = window.height();
    s.width = window.width();
    s.fontName = state.fontName;
    s.fontBold = window.count().bold();
    s.fontItalic = window.count().italic();
    s.baseTime = state.baseTime.text();
    s.kind = window.kind();
    return s;
}

void saveSettings(const DisplayWindow &window, const AppState &state, const QString &path,
                  Dialogs &dialogs) {
    try {
        writeSettingsFile(path, settingsBytes(settingsOf(window, state)));
    } catch (const RunError &e) {
        report(dialogs, e, kSaveBox);
    }
}

} // namespace quennix
