#pragma once

#include "platform/services.h"

#include <QDateTime>
#include <QStringList>
#include <deque>

namespace quennix::test {

// A clock that stands still until a test moves it.
class FakeClock : public Clock {
public:
    QDateTime now() const override { return now_; }
    void set(const QDateTime &t) { now_ = t; }
    void advance(qint64 seconds) { now_ = now_.addSecs(seconds); }

private:
    QDateTime now_{QDate(2026, 12, 6), QTime(19, 0, 0)};
};

// Boxes answered from a script; every box asked is recorded.
class FakeDialogs : public Dialogs {
public:
    struct Shown {
        QString kind; // "message", "input" or "font"
        QString text; // message text or input prompt
        QString title;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        FontChoice font; // initial font offered, for "font"
    };

    Answer message(const QString &text, Buttons buttons, Icon icon, const QString &title) override;
    QString input(const QString &prompt, const QString &title) override;
    std::optional<FontChoice> font(const FontChoice &initial) override;

    std::deque<QString> inputAnswers;                  // empty text when run out
    std::deque<std::optional<FontChoice>> fontAnswers; // cancel when run out
    Answer messageAnswer = Answer::Ok;
    std::vector<Shown> shown;

    // "title|text" of each message box, in order.
    QStringList messages() const;
};

class FakeScreens : public Screens {
public:
    QVector<QRect> geometries() const override { return screens; }
    QRect primary() const override { return screens.value(0); }
    double logicalDpiX() const override { return dpi; }
    double logicalDpiY() const override { return dpi; }

    QVector<QRect> screens{QRect(0, 0, 1920, 1080)};
    double dpi = 96;
};

class FakeProgramEnd : public ProgramEnd {
public:
    void endNow() override {
        ending_ = true;
        ++count;
    }
    int count = 0;
};

// All fakes bound together, as main() binds the real services.
struct FakeServices {
    FakeDialogs dialogs;
    FakeClock clock;
    FakeScreens screens;
    FakeProgramEnd programEnd;
    Services services{dialogs, clock, screens, programEnd};
};

} // namespace quennix::test
