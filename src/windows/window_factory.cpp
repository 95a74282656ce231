// SPDX-License-Identifier: MIT
#include "window_factory.h"

#include "framed_window.h"
#include "titleless_window.h"

namespace quennix {

DisplayWindow *makeDisplayWindow(qint32 mode, AppState &state, Services &services) {
    if (mode == TitlelessWindow::kMode)
        return new TitlelessWindow(state, services);
    return new FramedWindow(state, services);
}

qint32 switchedMode(qint32 mode) {
    return mode == TitlelessWindow::kMode ? FramedWindow::kMode : TitlelessWindow::kMode;
}

} // namespace quennix
