// SPDX-License-Identifier: MIT
#include "titleless_window.h"

#include <QLayout>

namespace quennix {

TitlelessWindow::TitlelessWindow(AppState &state, Services &services)
    : DisplayWindow(kMode, state, services, Qt::FramelessWindowHint) {
    // Its place and size always come from the file or the window it takes
    // over from; its minimum size holds from now on.
    layout()->activate();
    count().drawCount();
    // No caption here, but screen readers name the count as the framed
    // window would.
    count().setAccessibleName(openingCaption());
}

} // namespace quennix
