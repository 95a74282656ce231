#pragma once

#include "display_window.h"

namespace quennix {

// The framed display window: a caption naming the base time, and the menu bar
// with the program's commands. The count fills the area below the menu bar.
class FramedWindow : public DisplayWindow {
    Q_OBJECT
public:
    FramedWindow(AppState &state, Services &services);

signals:
    // File > Exit: save the settings for this window and end at once.
    void exitRequested();

protected:
    void changeEvent(QEvent *event) override;

private:
    void setupMenu();
    void chooseFont();
    void showAbout();

    AppState &state_;
    Services &services_;
};

} // namespace quennix
