#include "window_fixture.h"

#include "windows/display_window.h"

#include <QCoreApplication>
#include <QtTest>

namespace quennix::test {

WindowFixture::WindowFixture() : switcher(state, fakes.services) {
    state.settingsPath = dir_.filePath(QStringLiteral("quennix.ini"));
    state.startupSettingsPath = state.settingsPath;
}

WindowFixture::~WindowFixture() {
    if (DisplayWindow *w = switcher.current())
        delete &w->widget();
    settle();
}

DisplayWindow &WindowFixture::shown(qint32 mode) {
    DisplayWindow &w = switcher.load(mode);
    w.widget().show();
    if (!QTest::qWaitForWindowExposed(&w.widget()))
        qFatal("window not exposed");
    return w;
}

void WindowFixture::settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace quennix::test
