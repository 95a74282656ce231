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
    const auto time = date ? BaseTime::reachable(*date, services.clock.nowSeconds(), services.zone)
                           : std::nullopt;
    if (!time) {
        services.dialogs.tell(QStringLiteral("Not a valid date"), applicationTitle());
        return std::nullopt;
    }
    state.setBaseTime(*time);
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
    // A cancel changes nothing: an empty face name stays empty.
    const auto answer = dialogs.font(shown);
    if (!answer)
        return shown;
    state.setFontName(answer->face);
    return *answer;
}

} // namespace quennix
