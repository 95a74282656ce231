#pragma once

#include "countdown/app_state.h"
#include "platform/services.h"

#include <QPointer>
#include <functional>

class QWidget;

namespace quennix {

class DisplayWindow;
class Form2;

// Creates the display windows and swaps one kind for the other. Outside a
// swap exactly one display window exists.
class WindowSwitcher {
public:
    WindowSwitcher(AppState &state, Services &services);

    // Creates a window of the kind a settings file's mode names: the
    // title-less window for 1, the framed one otherwise. Not shown yet.
    DisplayWindow &load(qint32 mode);

    // Replaces `me` by the other kind at the same outer place and size, with
    // the shared face and me's bold and italic; the new window is shown before
    // me closes (and saves the settings), so the program never has no window.
    DisplayWindow &switchFrom(DisplayWindow &me);

    // The window shown now, if any.
    DisplayWindow *current() const;

    // Called for every framed window created, so the commands can attach to
    // its menu.
    std::function<void(Form2 &)> onFramedLoaded;

private:
    AppState &state_;
    Services &services_;
    QPointer<QWidget> current_;
    DisplayWindow *currentWindow_ = nullptr;
};

} // namespace quennix
