// SPDX-License-Identifier: MIT
// Quennix: the seconds left until a base time, in the largest font that fits
// an always-on-top window.

#include "app/startup.h"
#include "app/window_switcher.h"
#include "platform/display_opening.h"
#include "platform/session_platform.h"
#include "platform/system_clock.h"
#include "platform/system_dialogs.h"
#include "platform/system_program_end.h"
#include "platform/system_screens.h"
#include "platform/system_time_zone.h"
#include "platform/termination_requests.h"
#include "settings/file_replacement.h"
#include "settings/settings_location.h"

#include <QApplication>

using namespace quennix;

namespace {

// What the process needs before Qt starts: every step here must come before
// QApplication, which picks the platform and reads the environment.
void prepareProcess() {
    ignoreFileSizeSignal();
    // Decided before Qt picks its platform, which happens in QApplication.
    const QString platform = qtPlatformFor(SessionEnvironment::current());
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform.toLocal8Bit());
    // Each second only a digit or two is sent to the X server: cheaper put
    // through the socket than through a shared-memory image, which costs a
    // round trip before each reuse and a new segment at each resize.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
}

// The real services wired to the shared state and the windows, from the
// settings file on; runs until the program ends.
int runWindows(SystemTimeZone &zone) {
    SystemClock clock;
    SecondTicker ticker(clock);
    SystemDialogs dialogs;
    SystemScreens screens;
    SystemProgramEnd programEnd;
    Services services{dialogs, clock, zone, ticker, screens, programEnd};
    AppState state;

    const SettingsLocation settings = settingsLocation(SettingsPlaces::current());
    WindowSwitcher switcher(state, services, settings.savePath);

    // A logout or `kill` saves the settings as closing the window would.
    TerminationRequests termination;
    switcher.endOn(termination);

    startFromSettings(settings.readPath, state, services, switcher);
    return QApplication::exec();
}

} // namespace

int main(int, char **argv) {
    prepareProcess();
    // The zone first: Qt's widgets convert local times too, and a zone file
    // the C library would wait on must be set aside before anything reads it.
    SystemTimeZone zone;

    // The program takes no command line: Qt is handed only the program's
    // name, so none of its own options (-platform, -stylesheet,
    // -qwindowgeometry...) can change the start or override the saved place.
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    // Without a display Qt would abort with a paragraph and a core dump; the
    // user gets one line saying which display could not be opened instead.
    DisplayOpening opening;
    QApplication app(qtArgc, qtArgv);
    opening.release();
    // Qt also names the windows' X11 class after it, which the desktop
    // entry's StartupWMClass must match.
    QApplication::setApplicationName(QStringLiteral("Quennix"));
    // The id desktop/CMakeLists.txt gives the menu entry, icon and catalogue
    // entry; Wayland compositors find the entry by it.
    QApplication::setDesktopFileName(QStringLiteral(QUENNIX_APP_ID));

    return runWindows(zone);
}
