// Quennix: the seconds left until a base time, in the largest font that fits
// an always-on-top window.

#include "commands/menu_commands.h"
#include "platform/app_program_end.h"
#include "platform/gui_screens.h"
#include "platform/qt_dialogs.h"
#include "platform/system_clock.h"
#include "platform/termination_requests.h"
#include "startup/startup.h"
#include "windows/display_window.h"
#include "windows/window_switcher.h"

#include <QApplication>

using namespace quennix;

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quennix"));
    QApplication::setDesktopFileName(QStringLiteral("quennix"));

    SystemClock clock;
    QtDialogs dialogs;
    GuiScreens screens;
    AppProgramEnd programEnd;
    Services services{dialogs, clock, screens, programEnd};

    AppState state;
    state.settingsPath = settingsPathBeside(QCoreApplication::applicationDirPath());

    WindowSwitcher switcher(state, services);
    attachMenuCommands(switcher, state, services);

    // A logout or `kill` saves the settings as closing the window would.
    TerminationRequests termination;
    QObject::connect(&termination, &TerminationRequests::requested, [&] {
        if (DisplayWindow *window = switcher.current())
            window->Form_QueryUnload();
        programEnd.endNow();
    });

    Main(state, services, switcher);
    if (programEnd.hasEnded())
        return 0;
    return QApplication::exec();
}
