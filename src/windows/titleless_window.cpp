// SPDX-License-Identifier: MIT
#include "titleless_window.h"

namespace quennix {

TitlelessWindow::TitlelessWindow(AppState &state, Services &services)
    : DisplayWindow(kMode, state, services, Qt::FramelessWindowHint) {
    placeBuiltIn(QRectF(1920, 1608, 2412, 1068), 0);
    count().drawCount();
    // No caption here, but screen readers name the count as the framed
    // window would.
    count().setAccessibleName(openingCaption());
}

} // namespace quennix
