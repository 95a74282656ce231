// SPDX-License-Identifier: MIT
#pragma once

#include "platform/services.h"
#include "state/app_state.h"

#include <optional>

namespace quennix {

// The framed window's menu commands that ask and answer through the boxes.

// Stuff > Base Time: asks for a date and time and counts to it from the next
// second on. Returns the framed window's new caption. A text that is not a
// date, or a date too far from now for the count to reach, changes nothing
// and says "Not a valid date".
std::optional<QString> askBaseTime(AppState &state, Services &services);

// Stuff > Seconds at: how many seconds will remain before 1 January 2000 at a
// typed date and time.
void askSecondsAt(Dialogs &dialogs, const TimeZone &zone);

// Stuff > Time at: at what date and time a typed number of seconds will
// remain before 1 January 2000.
void askTimeAt(Dialogs &dialogs, const TimeZone &zone);

// File > Font: the face, bold and italic to draw in from now on, from the
// font dialog, which opens on what the window shows (`shown`: the shared face
// or the built-in one, the window's flags and its size). A cancelled dialog
// gives `shown` back and changes nothing; a choice sets the shared face. The
// size is never taken from the dialog.
Dialogs::FontChoice askFont(AppState &state, const Dialogs::FontChoice &shown, Dialogs &dialogs);

} // namespace quennix
