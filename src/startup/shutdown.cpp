#include "shutdown.h"

namespace quennix {

void Shutdown(const WindowSettings &window, const AppState &state, Dialogs &dialogs) {
    try {
        writeSettingsFile(state.settingsPath,
                          settingsFileBytes(window, state.fontName, state.baseTime.text()));
    } catch (const RunError &e) {
        dialogs.message(e.errText(), Dialogs::Buttons::Ok, Dialogs::Icon::None,
                        QStringLiteral("Shutdown"));
    }
}

} // namespace quennix
