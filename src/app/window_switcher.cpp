// SPDX-License-Identifier: MIT
#include "window_switcher.h"

#include "window_settings.h"
#include "windows/window_factory.h"

#include <QDebug>

namespace quennix {

WindowSwitcher::WindowSwitcher(AppState &state, Services &services, const QString &settingsPath)
    : state_(state), services_(services), settingsPath_(settingsPath) {}

DisplayWindow &WindowSwitcher::load(qint32 mode) {
    DisplayWindow *window = makeDisplayWindow(mode, state_, services_);
    QObject::connect(window, &DisplayWindow::exitRequested, window,
                     [this] { saveAndEnd(EndAskedBy::User); });
    QObject::connect(window, &DisplayWindow::closing, window, [this, window] {
        reportSave(saveSettings(*window, state_, settingsPath_), services_.dialogs);
    });
    QObject::connect(window, &DisplayWindow::switchRequested, window,
                     [this, window] { switchFrom(*window); });
    current_ = window;
    return *window;
}

DisplayWindow &WindowSwitcher::switchFrom(DisplayWindow &me) {
    DisplayWindow &other = load(switchedMode(me.mode()));
    applySettings(other, settingsOf(me, state_));
    other.show();
    other.activateWindow();
    other.setFocus();
    // Closing saves the settings with the window left, then deletes it.
    me.close();
    return other;
}

void WindowSwitcher::saveAndEnd(EndAskedBy askedBy) {
    // Once a box that ends the program is up, it ends without a save,
    // however the end comes.
    if (current_ && !services_.programEnd.isEnding()) {
        const std::optional<RunError> failure = saveSettings(*current_, state_, settingsPath_);
        if (askedBy == EndAskedBy::User)
            reportSave(failure, services_.dialogs);
        else if (failure)
            qWarning().noquote() << "quennix: the settings were not saved:" << failure->text();
    }
    services_.programEnd.endNow();
}

void WindowSwitcher::endOn(TerminationRequests &requests) {
    QObject::connect(&requests, &TerminationRequests::requested,
                     [this] { saveAndEnd(EndAskedBy::Session); });
}

} // namespace quennix
