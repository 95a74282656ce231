#pragma once

#include "countdown/app_state.h"
#include "platform/services.h"

namespace quennix {

class DisplayWindow;

// File > Font: the face, bold and italic come from the font dialog; the size
// always comes from fitting the count to the window again. Cancelling applies
// the current face and flags again, so it only re-fits. Nothing here reports a
// failure: a step that fails is skipped and the rest goes on.
void MFont_Click(DisplayWindow &window, AppState &state, Services &services);

} // namespace quennix
