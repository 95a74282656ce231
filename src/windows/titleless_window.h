// SPDX-License-Identifier: MIT
#pragma once

#include "display_window.h"

namespace quennix {

// The title-less display window: no frame, no caption, only the count. It is
// moved by dragging the count itself.
class TitlelessWindow : public DisplayWindow {
    Q_OBJECT
public:
    static constexpr qint32 kMode = 1;
    TitlelessWindow(AppState &state, Services &services);
};

} // namespace quennix
