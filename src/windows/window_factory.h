// SPDX-License-Identifier: MIT
#pragma once

#include "platform/services.h"
#include "state/app_state.h"

namespace quennix {

class DisplayWindow;

// The kinds of display window, by the number the settings file's Mode gives
// them: 1 the title-less window, anything else the framed one. A new kind is
// added here, in its own class and in the build file.

// A window of the kind a mode names, not shown yet. It deletes itself when
// closed.
DisplayWindow *makeDisplayWindow(qint32 mode, AppState &state, Services &services);

// The mode a switch goes to from a window of mode `mode`.
qint32 switchedMode(qint32 mode);

} // namespace quennix
