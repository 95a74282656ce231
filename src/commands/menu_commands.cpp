#include "menu_commands.h"

#include "about_window.h"
#include "date_commands.h"
#include "font_command.h"
#include "startup/shutdown.h"
#include "windows/form2.h"
#include "windows/window_switcher.h"

#include <QAction>

namespace quennix {

void MAbout_Click(DisplayWindow &window, const std::function<void()> &showAboutModally) {
    window.widget().setVisible(false);
    showAboutModally();
    window.widget().setVisible(true);
}

void MExit_Click(DisplayWindow &window, AppState &state, Services &services) {
    Shutdown(window.settings(), state, services.dialogs);
    services.programEnd.endNow();
}

void attachMenuCommands(WindowSwitcher &switcher, AppState &state, Services &services) {
    switcher.onFramedLoaded = [&state, &services](Form2 &form) {
        QObject::connect(form.MBase_Time, &QAction::triggered, &form, [&] {
            MBase_Time_Click(state, services,
                             [&form](const QString &caption) { form.setWindowTitle(caption); });
        });
        QObject::connect(form.MSecondsat, &QAction::triggered, &form,
                         [&] { MSecondsat_Click(services); });
        QObject::connect(form.MTimeAt, &QAction::triggered, &form,
                         [&] { MTimeAt_Click(services); });
        QObject::connect(form.MFont, &QAction::triggered, &form,
                         [&] { MFont_Click(form, state, services); });
        QObject::connect(form.MAbout, &QAction::triggered, &form, [&] {
            MAbout_Click(form, [&] {
                Form3 about(services.screens, &form);
                about.exec();
            });
        });
        QObject::connect(form.MExit, &QAction::triggered, &form,
                         [&] { MExit_Click(form, state, services); });
    };
}

} // namespace quennix
