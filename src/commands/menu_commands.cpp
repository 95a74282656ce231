// SPDX-License-Identifier: MIT
#include "menu_commands.h"

#include "countdown/date_text.h"
#include "countdown/formats.h"
#include "countdown/local_time.h"
#include "countdown/number_text.h"
#include "countdown/run_error.h"

#include <limits>

namespace quennix {

namespace {

const QString kDateTimePrompt = QStringLiteral("Date and time ?");
const QString kDateTimeTitle = QStringLiteral("Seconds remaining as a time");
// The titles of the boxes that report a calculator's overflow.
const QString kSecondsAtBox = QStringLiteral("MSecondsat_Click");
const QString kTimeAtBox = QStringLiteral("MTimeAt_Click");

QString whenText(DateValue t) {
    return formatDate(t, QStringLiteral("hh:mm:ss AM/PM")) + QStringLiteral(" on ") +
           formatDate(t, QStringLiteral("dddd, dd mmmm, yyyy"));
}

} // namespace

std::optional<QString> askBaseTime(AppState &state, Services &services) {
    const auto date = textToDate(services.dialogs.input(kDateTimePrompt, kDateTimeTitle));
    // A target the count cannot reach from now (beyond the 32-bit range) would
    // end the program at the next tick.
    if (!date || !countBetween(services.clock.nowSeconds(), instantOf(*date, services.zone))) {
        services.dialogs.tell(QStringLiteral("Not a valid date"), applicationTitle());
        return std::nullopt;
    }
    state.baseTime = BaseTime(*date);
    return secondsToCaption(*date, QStringLiteral("HH:MM:SS, dd/mm/yyyy"));
}

void askSecondsAt(Dialogs &dialogs, const TimeZone &zone) {
    const auto date = textToDate(dialogs.input(kDateTimePrompt, kDateTimeTitle));
    if (!date) {
        dialogs.tell(QStringLiteral("The date entered is not valid."), applicationTitle());
        return;
    }
    try {
        const qint32 remaining = secondsBetween(*date, kEpoch2000, zone);
        dialogs.tell(QStringLiteral("At ") + whenText(*date) + QLatin1Char('\n') +
                         QStringLiteral("Seconds remaining will be ") + formatCount(remaining),
                     applicationTitle());
    } catch (const RunError &e) {
        dialogs.tell(e.text(), kSecondsAtBox);
    }
}

void askTimeAt(Dialogs &dialogs, const TimeZone &zone) {
    const QString typed = dialogs.input(QStringLiteral("Number of seconds remaining ?"),
                                        QStringLiteral("Time at seconds remaining"));
    try {
        const qint32 remaining = wholeNumber(numericValue(typed));
        // The instant is found by counting back; the most negative count has
        // no 32-bit negation.
        if (remaining == std::numeric_limits<qint32>::min())
            throw RunError::overflow();
        const DateValue t = addSeconds(-double(remaining), kEpoch2000, zone);
        dialogs.tell(QStringLiteral("Time with ") + formatCount(remaining) +
                         QStringLiteral(" seconds remaining will be ") + QLatin1Char('\n') +
                         whenText(t),
                     applicationTitle());
    } catch (const RunError &e) {
        dialogs.tell(e.text(), kTimeAtBox);
    }
}

Dialogs::FontChoice askFont(AppState &state, const Dialogs::FontChoice &shown, Dialogs &dialogs) {
    Dialogs::FontChoice offered = shown;
    if (!state.fontName.isEmpty())
        offered.face = state.fontName;
    Dialogs::FontChoice chosen = shown;
    chosen.face = state.fontName;
    if (const auto answer = dialogs.font(offered))
        chosen = *answer;
    state.fontName = chosen.face;
    return chosen;
}

} // namespace quennix
