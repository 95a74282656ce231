// SPDX-License-Identifier: MIT
#pragma once

#include "display_window.h"

namespace quennix {

// The framed display window: a caption naming the base time, and the menu bar
// with the program's commands. The count fills the area below the menu bar.
class FramedWindow : public DisplayWindow {
    Q_OBJECT
public:
    static constexpr qint32 kMode = 2;
    FramedWindow(AppState &state, Services &services);

private:
    void setupMenu();
    void chooseFont();
    void showAbout();
};

} // namespace quennix
