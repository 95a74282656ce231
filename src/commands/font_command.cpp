#include "font_command.h"

#include "countdown/count_drawing.h"
#include "countdown/run_error.h"
#include "windows/display_window.h"

namespace quennix {

namespace {

// Runs one step; a step that fails is skipped and the command goes on.
template <typename Step> void skipOnError(Step &&step) {
    try {
        step();
    } catch (const RunError &) {
    }
}

} // namespace

void MFont_Click(DisplayWindow &window, AppState &state, Services &services) {
    // The dialog opens on the shared face (or, when none was chosen yet, the
    // face the window shows), the window's flags and its fitted size.
    Dialogs::FontChoice offered;
    offered.face = state.fontName.isEmpty() ? window.fontName() : state.fontName;
    offered.bold = window.fontBold();
    offered.italic = window.fontItalic();
    offered.size = window.fontSize();

    // A cancelled dialog hands back what it was given: the shared face as it
    // stands (even when empty) and the window's flags.
    Dialogs::FontChoice chosen = offered;
    chosen.face = state.fontName;
    skipOnError([&] {
        if (const auto answer = services.dialogs.font(offered))
            chosen = *answer;
    });

    skipOnError([&] { state.fontName = chosen.face; });
    skipOnError([&] { window.setFontName(state.fontName); });
    skipOnError([&] { window.setFontBold(chosen.bold); });
    skipOnError([&] { window.setFontItalic(chosen.italic); });
    skipOnError([&] { Fit_Font(window.surface(), state, services); });
}

} // namespace quennix
