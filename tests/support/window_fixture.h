#pragma once

#include "fake_services.h"

#include "countdown/app_state.h"
#include "windows/window_switcher.h"

#include <QTemporaryDir>

namespace quennix {
class DisplayWindow;
}

namespace quennix::test {

// What a widget test of the display windows starts from: fake services, the
// shared state with a settings file in a private folder (absent at first), and
// the switcher that makes the windows. Made afresh for each test function;
// whatever window is still open is deleted at the end.
class WindowFixture {
public:
    WindowFixture();
    ~WindowFixture();

    // Loads a window of that kind (1 title-less, else framed) and shows it.
    DisplayWindow &shown(qint32 mode);
    QString iniPath() const { return state.settingsPath; }
    // Deletes the windows closed meanwhile, as the event loop would.
    static void settle();

    FakeServices fakes;
    AppState state;
    WindowSwitcher switcher;

private:
    QTemporaryDir dir_;
};

} // namespace quennix::test
