#include "window_switcher.h"

#include "form1.h"
#include "form2.h"

namespace quennix {

WindowSwitcher::WindowSwitcher(AppState &state, Services &services)
    : state_(state), services_(services) {}

DisplayWindow &WindowSwitcher::load(qint32 mode) {
    DisplayWindow *window = nullptr;
    if (mode == 1) {
        window = new Form1(state_, services_, *this);
    } else {
        auto *framed = new Form2(state_, services_, *this);
        if (onFramedLoaded)
            onFramedLoaded(*framed);
        window = framed;
    }
    current_ = &window->widget();
    currentWindow_ = window;
    return *window;
}

DisplayWindow *WindowSwitcher::current() const {
    return current_ ? currentWindow_ : nullptr;
}

DisplayWindow &WindowSwitcher::switchFrom(DisplayWindow &me) {
    DisplayWindow &other = load(me.tag() == QLatin1String("2") ? 1 : 2);
    other.setTop(me.top());
    other.setLeft(me.left());
    other.setHeight(me.height());
    other.setWidth(me.width());
    other.setFontName(state_.fontName);
    other.setFontBold(me.fontBold());
    other.setFontItalic(me.fontItalic());
    other.widget().show();
    other.widget().activateWindow();
    other.widget().setFocus();
    // Closing saves the settings with the window left, then deletes it.
    me.widget().close();
    return other;
}

} // namespace quennix
