// SPDX-License-Identifier: MIT
#pragma once
// The platform services as the window tests answer them (a clock that stands
// still, boxes answered from a script and recorded, one screen, an end only
// noted), a session that starts the windows on them, and what tests read off them.

#include "app/startup.h"
#include "app/window_switcher.h"
#include "platform/services.h"
#include "settings/settings_file.h"
#include "support/helpers.h"

#include <QAccessible>
#include <QApplication>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

namespace quennix::test {

struct FakeClock : Clock {
    qint64 nowMSecs() const override { return now_; }
    void step(int seconds) { now_ += seconds * qint64(1000); }
    qint64 now_ = utc(1999, 12, 31, 23) * 1000; // 3,600 seconds to 2000 in London
};

struct FakeDialogs : Dialogs {
    void message(const QString &text, Buttons, Icon, const QString &title) override {
        boxes << title + QLatin1Char('|') + text;
        if (const auto meanwhile = std::exchange(whileUp, nullptr)) // the box's own event loop
            meanwhile();
    }
    QString input(const QString &prompt, const QString &title) override {
        boxes << title + QLatin1Char('|') + prompt;
        return inputs.isEmpty() ? QString() : inputs.takeFirst();
    }
    std::optional<FontChoice> font(const FontChoice &initial) override {
        offered = initial;
        return chosenFont;
    }

    QStringList boxes;                    // "title|text" of each box asked, in order
    QStringList inputs;                   // answers to the input boxes; cancelled once used up
    std::optional<FontChoice> chosenFont; // nothing: cancelled
    FontChoice offered;
    std::function<void()> whileUp; // runs once, while the next box is up
};

struct FakeScreens : Screens {
    QVector<QRect> areas{QRect(0, 0, 1920, 1080), QRect(0, 1080, 1280, 1024)};
    QVector<QRect> geometries() const override { return areas; }
    QRect primary() const override { return areas.first(); }
};

struct FakeProgramEnd : ProgramEnd {
    void endNow() override { beginEnding(); }
};

// What each test starts from: the fake services, the shared state, and a
// settings file of its own.
struct Session {
    ~Session() {
        qDeleteAll(windows()); // (deleting one deletes its menus)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static QList<DisplayWindow *> windows() {
        QList<DisplayWindow *> out;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *window = qobject_cast<DisplayWindow *>(w))
                out << window;
        return out;
    }
    DisplayWindow &start(const QByteArray &bytes) {
        if (bytes != kNoFile)
            put(ini, bytes);
        DisplayWindow &w = startFromSettings(ini, state, services, switcher);
        if (!QTest::qWaitForWindowExposed(&w))
            qFatal("window not exposed");
        return w;
    }
    QByteArray saved() const { return content(ini); }
    // The settings file as read back, key by key.
    Settings savedSettings() const {
        return readSettingsFile(ini, {clock.nowSeconds(), zone}).values;
    }
    void tick(int seconds = 1) { clock.step(seconds), ticker.fire(); } // a new second drawn
    void setBaseTime(DateValue date) {
        state.setBaseTime(*BaseTime::reachable(date, clock.nowSeconds(), zone));
    }
    DisplayWindow &window() const { // the display window on the screen now
        for (DisplayWindow *w : windows())
            if (w->isVisible())
                return *w;
        qFatal("no display window is shown");
    }

    FakeDialogs dialogs;
    FakeClock clock;
    ZoneTable zone = london();
    SecondTicker ticker{clock}; // the tests fire it after moving the clock
    FakeScreens screens;
    FakeProgramEnd programEnd;
    Services services{dialogs, clock, zone, ticker, screens, programEnd};
    AppState state;
    QTemporaryDir dir;
    QString ini = dir.filePath("quennix.ini");
    WindowSwitcher switcher{state, services, ini};
};

// The count as screen readers hear it: the count area's description.
inline QString shown(DisplayWindow &w) {
    return QAccessible::queryAccessibleInterface(&w.countWidget())->text(QAccessible::Description);
}

inline void trigger(DisplayWindow &w, const QString &menu, const QString &item) {
    for (QAction *m : w.menuBar()->actions())
        for (QAction *a : m->text() == menu ? m->menu()->actions() : QList<QAction *>())
            if (a->text() == item)
                return a->trigger();
    QFAIL(qPrintable(menu + " > " + item + " is not in the menu bar"));
}

// The pixels of an image that differ from a colour.
inline QRect inkOf(const QImage &image, const QColor &background) {
    QRect ink;
    for (int i = 0; i < image.width() * image.height(); ++i)
        if (image.pixelColor(i % image.width(), i / image.width()) != background)
            ink |= QRect(i % image.width(), i / image.width(), 1, 1);
    return ink;
}

// Where a widget paints, as the platform asks it to.
struct Painted : QObject {
    QRegion region;
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            region += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

} // namespace quennix::test
