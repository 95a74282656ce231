// SPDX-License-Identifier: MIT
#include "window_settings.h"

#include "countdown/number_text.h"
#include "windows/display_window.h"

namespace quennix {

namespace {

const QString kReadBox = QStringLiteral("Main");
const QString kSaveBox = QStringLiteral("Shutdown");

} // namespace

void reportRead(const SettingsRead &read, Dialogs &dialogs) {
    if (read.openError)
        dialogs.tell(read.openError->text(), kReadBox);
    for (const RunError &e : read.entryErrors)
        dialogs.tell(e.text(), kReadBox);
}

void applySharedSettings(const Settings &s, AppState &state) {
    state.setFontName(s.fontName);
    state.setBaseTime(s.baseTime);
}

void applySettings(DisplayWindow &window, const Settings &s) {
    window.setOuterTwips(QRectF(s.left, s.top, s.width, s.height));
    window.countWidget().setStyle(s.fontBold, s.fontItalic);
}

Settings settingsOf(const DisplayWindow &window, const AppState &state) {
    Settings s;
    // Whole twips: the file reads them back exactly.
    const QRectF outer = window.outerTwips();
    s.top = wholeNumber(outer.top());
    s.left = wholeNumber(outer.left());
    s.height = wholeNumber(outer.height());
    s.width = wholeNumber(outer.width());
    s.fontName = state.fontName();
    s.fontBold = window.countWidget().bold();
    s.fontItalic = window.countWidget().italic();
    s.baseTime = state.baseTime();
    s.mode = window.mode();
    return s;
}

std::optional<RunError> saveSettings(const DisplayWindow &window, const AppState &state,
                                     const QString &path) {
    try {
        writeSettingsFile(path, settingsBytes(settingsOf(window, state)));
    } catch (const RunError &e) {
        return e;
    }
    return std::nullopt;
}

void reportSave(const std::optional<RunError> &failure, Dialogs &dialogs) {
    if (failure)
        dialogs.tell(failure->text(), kSaveBox);
}

} // namespace quennix
