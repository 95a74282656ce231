// Saves the settings file over and over through Shutdown, the path a closing
// window takes, alternating the two contents of alternating_saves.h, until it
// is killed. tst_settings_safety kills it at random moments.
//
//   settings_saver <settings file> [first]
//
// Prints "ready" once it is about to save for the first time. The first
// content saved is `first` (0 or 1, default 1). A failed save prints the box's
// text and ends with status 3.

#include "startup/shutdown.h"
#include "support/alternating_saves.h"

#include <cstdio>
#include <cstdlib>

using namespace quennix;

namespace {

class PrintingDialogs : public Dialogs {
public:
    Answer message(const QString &text, Buttons, Icon, const QString &title) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
        std::exit(3);
    }
    QString input(const QString &, const QString &) override { return {}; }
    std::optional<FontChoice> font(const FontChoice &) override { return std::nullopt; }
};

} // namespace

int main(int argc, char **argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: settings_saver <settings file> [first]\n");
        return 2;
    }
    int which = argc == 3 ? std::atoi(argv[2]) : 1;

    // Both settings are made before the first save so every moment after
    // "ready" is spent saving.
    AppState states[2];
    WindowSettings windows[2];
    for (int k = 0; k < 2; ++k) {
        states[k].settingsPath = QString::fromLocal8Bit(argv[1]);
        states[k].fontName = test::alternatingFace(k);
        states[k].baseTime = BaseTime::fromText(test::alternatingBaseTime(k));
        windows[k] = test::alternatingWindow(k);
    }
    PrintingDialogs dialogs;

    std::printf("ready\n");
    std::fflush(stdout);
    for (;; which = 1 - which)
        Shutdown(windows[which], states[which], dialogs);
}
