// SPDX-License-Identifier: MIT
#include "titleless_window.h"

namespace quennix {

TitlelessWindow::TitlelessWindow(AppState &state, Services &services)
    // Its place and size always come from the file or the window it takes
    // over from.
    : DisplayWindow(kMode, state, services, Qt::FramelessWindowHint) {}

} // namespace quennix
