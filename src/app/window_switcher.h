// SPDX-License-Identifier: MIT
#pragma once

#include "platform/services.h"
#include "platform/termination_requests.h"
#include "state/app_state.h"
#include "windows/display_window.h"

#include <QPointer>

namespace quennix {

// Makes the display windows and swaps one kind for another; outside a swap
// exactly one display window exists. It hears what the windows ask for: a
// window that closes while the program goes on saves the settings, one that
// asks to be swapped is, and File > Exit saves and ends the program at once.
class WindowSwitcher {
public:
    WindowSwitcher(AppState &state, Services &services, const QString &settingsPath);

    // A window of the kind a settings file's mode names, not shown yet.
    DisplayWindow &load(qint32 mode);

    // Replaces `me` by the next kind at the same outer place and size, with
    // the shared face and me's bold and italic; the new window is shown before
    // me closes (and saves the settings), so the program never has no window.
    DisplayWindow &switchFrom(DisplayWindow &me);

    // Who asked the program to end: the user (File > Exit), who is told of a
    // failed save in a box, or the session (a logout, a `kill`, the display
    // gone), which waits for no click: a failure is one line on standard
    // error.
    enum class EndAskedBy { User, Session };
    // Saves the settings for the window shown now, if any, and ends the
    // program at once. Once a box that ends the program is up, it only ends it.
    void saveAndEnd(EndAskedBy askedBy);
    // Saves and ends so when the session asks the program to terminate.
    void endOn(TerminationRequests &requests);

private:
    AppState &state_;
    Services &services_;
    QString settingsPath_;
    QPointer<DisplayWindow> current_;
};

} // namespace quennix
