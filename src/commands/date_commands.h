#pragma once

#include "countdown/app_state.h"
#include "platform/services.h"

#include <functional>

namespace quennix {

// Stuff > Base Time: asks for a date and time and counts to it from the next
// second on; the caption follows at once. A text that is not a date, or a date
// too far from now for the count to reach, changes nothing and says "Not a
// valid date".
void MBase_Time_Click(AppState &state, Services &services,
                      const std::function<void(const QString &)> &setCaption);

// Stuff > Seconds at: how many seconds will remain before 1 January 2000 at a
// typed date and time.
void MSecondsat_Click(Services &services);

// Stuff > Time at: at what date and time a typed number of seconds will
// remain before 1 January 2000.
void MTimeAt_Click(Services &services);

} // namespace quennix
