// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace quennix {

// The few environment variables that tell which display system the program
// runs under. An unset variable and an empty one read the same.
struct SessionEnvironment {
    QString qtPlatform;     // QT_QPA_PLATFORM: the user's own choice, if any
    QString sessionType;    // XDG_SESSION_TYPE
    QString waylandDisplay; // WAYLAND_DISPLAY
    QString x11Display;     // DISPLAY

    // The variables of this process.
    static SessionEnvironment current();
};

// The Qt platform the program should ask for, or an empty text to leave the
// choice to Qt.
//
// Wayland lets no client keep its window above the others or place it, and
// the display windows need both. So in a Wayland session that also offers an
// X server (XWayland) the program runs as an X11 client, falling back to
// Wayland should that server not answer. A user who named a platform keeps
// it, and a Wayland session without an X server runs natively, where the
// count works but the window can be neither kept on top nor dragged.
QString qtPlatformFor(const SessionEnvironment &env);

// The one line that says no display could be opened, and which: the display
// of each platform QT_QPA_PLATFORM lists (after the program's own choice
// above), or of the one Qt picks itself when it lists none.
QString noDisplayLine(const SessionEnvironment &env);

} // namespace quennix
