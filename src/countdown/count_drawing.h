#pragma once

#include "app_state.h"
#include "count_canvas.h"
#include "platform/services.h"

namespace quennix {

// The count's text: seconds from now until the base time, as "#,##0".
// Throws RunError (overflow, or a base time that is not a date).
QString countText(const AppState &state, const Clock &clock);

// Draws the seconds left until the base time, centred on the canvas. When the
// count has taken a new shape (a new digit, the sign, a new base time) the font
// is fitted again first. Any run-time error is reported in a "Display_Time" box
// with Yes and No, and the program then ends at once whatever the answer.
void Display_Time(CountCanvas &canvas, const AppState &state, Services &services);

// Fits the font to the canvas (nothing happens while the canvas is hidden)
// and draws the count. The face is the shared one; the width is fitted to the
// count's shape.
void Fit_Font(CountCanvas &canvas, const AppState &state, Services &services);

} // namespace quennix
