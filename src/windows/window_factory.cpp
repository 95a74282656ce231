// SPDX-License-Identifier: MIT
#include "window_factory.h"

#include "framed_window.h"
#include "titleless_window.h"

namespace quennix {

DisplayWindow *makeDisplayWindow(qint32 mode, AppState &state, Services &services) {
    DisplayWindow *window = mode == TitlelessWindow::kMode
                                ? static_cast<DisplayWindow *>(new TitlelessWindow(state, services))
                                : new FramedWindow(state, services);
    window->finishLoading();
    return window;
}

qint32 switchedMode(qint32 mode) {
    return mode == TitlelessWindow::kMode ? FramedWindow::kMode : TitlelessWindow::kMode;
}

} // namespace quennix
