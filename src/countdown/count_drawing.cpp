#include "count_drawing.h"

#include "date_value.h"
#include "formats.h"
#include "number_text.h"
#include "run_error.h"

namespace quennix {

namespace {

DateValue nowValue(const Clock &clock) {
    return toDateValue(clock.now());
}

} // namespace

QString countText(const AppState &state, const Clock &clock) {
    return formatCount(secondsBetween(nowValue(clock), state.baseTime.value()));
}

void Display_Time(CountCanvas &canvas, const AppState &state, Services &services) {
    if (services.programEnd.isEnding())
        return;
    try {
        const DateValue now = nowValue(services.clock);
        const QString count = formatCount(secondsBetween(now, state.baseTime.value()));
        if (canvas.isVisible() && countShape(count) != canvas.fittedShape()) {
            // The fit draws the count itself once the font is right.
            Fit_Font(canvas, state, services);
            return;
        }
        // One line's height, so the count stays put however its digits change.
        const QString clock = formatDate(now, QStringLiteral("HH:MM:SS AM/PM"));
        canvas.clear();
        canvas.setCurrentY(wholeNumber((canvas.scaleHeight() - canvas.textHeight(clock)) / 2));
        canvas.setCurrentX((canvas.scaleWidth() - canvas.textWidth(count)) / 2);
        canvas.print(count);
    } catch (const RunError &e) {
        // One box: the ticks and resizes its event loop lets through draw
        // nothing, and whatever the answer the program ends right after.
        services.programEnd.beginEnding();
        services.dialogs.message(e.errorText() + QLatin1Char('\n') + QStringLiteral("KIll ME ?"),
                                 Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
                                 QStringLiteral("Display_Time"));
        services.programEnd.endNow();
    }
}

void Fit_Font(CountCanvas &canvas, const AppState &state, Services &services) {
    if (!canvas.isVisible())
        return;
    QString shape = widestCountTemplate();
    try {
        shape = countShape(countText(state, services.clock));
    } catch (const RunError &) {
        // The drawing below reports it; the template still gives a sound size.
    }
    canvas.setFontName(state.fontName);
    canvas.setFontSize(
        fitFontSize(canvas.scaleWidth(), canvas.scaleHeight(), shape, canvas.fitMeasure()));
    canvas.setFittedShape(shape);
    Display_Time(canvas, state, services);
}

} // namespace quennix
