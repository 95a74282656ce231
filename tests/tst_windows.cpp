// SPDX-License-Identifier: MIT
// The windows and start-up offscreen, the platform faked: settings read at
// start and saved at close or `kill`, switching, moving, commands.

#include "platform/termination_requests.h"
#include "settings/settings_file.h"
#include "support/fake_session.h"
#include "windows/about_dialog.h"

#include <QDialog>
#include <QtTest>
#include <csignal>

using namespace quennix;
using namespace quennix::test;

class TestWindows : public QObject {
    Q_OBJECT
private slots:
    void startsFromTheFile_data();
    void startsFromTheFile();
    void switching_data();
    void switching();
    void dragging();
    void failedSaveIsReported();
    void commands_data();
    void commands();
    void fontAboutAndExit();
    void aboutWindow();
};

void TestWindows::startsFromTheFile_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<QString>("caption"); // "": the title-less window
    QTest::addColumn<QRectF>("place");    // twips; negative: the smallest window
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("saved"); // the base time the close writes
    const QString framed = "Seconds to 01/01/2000, 12:00:00 AM", y2000 = "01/01/2000";
    const QRectF place(3000, 1500, 4500, 1500);
    const QByteArray at = "Top=1500,Left=3000,Height=1500,Width=4500,";
    // Built in: inside the frame at 1920, 3420 twips, the count 2388 x 756 (in pixels).
    row("no file", kNoFile, "Main|Err(53), File not found", framed, QRectF(1920, 3420, 2385, 750),
        "3,600", y2000);
    row("title-less", at + "Mode=1", "", "", place, "3,600", y2000);
    row("empty mode is framed, base time kept", at + "Mode=,BaseTime=2/1/2000 1:00 PM", "",
        "Seconds to 02/01/2000, 01:00:00 PM", place, "136,800", "2/1/2000 1:00 PM");
    // A base time not counted to: to 2000 instead; one out of reach is kept.
    row("base time not a date", at + "Mode=1,BaseTime=soon", "Main|Err(13), Type mismatch", "",
        place, "3,600", y2000);
    row("base time out of reach", at + "Mode=1,BaseTime=1/1/2100", "Main|Err(6), Overflow", "",
        place, "3,600", "1/1/2100");
    row("empty file", QByteArray(), "", framed, QRectF(0, 0, -1, -1), "3,600", y2000);
    // Never larger than the screen it lands on (overlapped most, else nearest), and on it.
    row("a screen that is gone", at + "Top=60000,Left=30000,Mode=1", "", "",
        QRectF(19200 - 4500, 31560 - 1500, 4500, 1500), "3,600", y2000);
    const QByteArray edge = "2147483647", bottom = "-2147483648";
    row("all at 2^31 - 1", "Top=" + edge + ",Left=" + edge + ",Height=" + edge + ",Width=" + edge,
        "", framed, QRectF(0, 16200, 19200, 15360), "3,600", y2000);
    row("a corner on a screen", QByteArray("Top=15900,Left=28200,Height=3000,Width=6000,Mode=1"),
        "", "", QRectF(22800, 13200, 6000, 3000), "3,600", y2000);
    row("places at -2^31", at + "Top=" + bottom + ",Left=" + bottom, "", framed,
        QRectF(0, 0, 4500, 1500), "3,600", y2000);
}

void TestWindows::startsFromTheFile() {
    QFETCH(QByteArray, file);
    QFETCH(QString, boxes);
    QFETCH(QString, caption);
    QFETCH(QRectF, place);
    QFETCH(QString, count);
    QFETCH(QString, saved);
    Session s;
    s.setBaseTime(12345); // start-up must reset it
    DisplayWindow &w = s.start(file);
    QCOMPARE(s.dialogs.boxes.join('\n'), boxes);
    QCOMPARE(w.windowTitle(), caption);
    QCOMPARE(w.mode(), caption.isEmpty() ? 1 : 2);
    QVERIFY(file != kNoFile || w.countWidget().bold()); // the built-in face is bold
    // Screen readers hear the caption as the count's name, the count as its description.
    QCOMPARE(w.countWidget().accessibleName(),
             caption.isEmpty() ? QStringLiteral("Seconds to 01/01/2000, 12:00:00 AM") : caption);
    QCOMPARE(shown(w), count);
    if (place.width() < 0) // at the corner, and never less than 1680 x 360 twips for the count
        QVERIFY(w.outerTwips().topLeft().isNull() && w.countWidget().size() == QSize(112, 24));
    else if (file == kNoFile)
        QCOMPARE(QRectF(w.geometry().topLeft() * 15, w.countWidget().size() * 15), place);
    else
        QCOMPARE(w.outerTwips(), place);
    const QRectF shownAt = w.outerTwips(); // what is saved reads back the same
    w.close();
    const Settings back = s.savedSettings();
    QCOMPARE(QRectF(back.left, back.top, back.width, back.height), shownAt);
    QVERIFY(back.baseTime.text() == saved && back.fontName.isEmpty()); // no face chosen
}

void TestWindows::switching_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("by"); // a double-click, File > No Title, Enter or Return
    const QByteArray at = "Top=1500,Left=3000,Height=1500,Width=4500,";
    row("framed to title-less", at + "Mode=2", "double-click");
    row("by File > No Title", at + "Mode=2", "menu");
    row("title-less to framed", at + "Mode=1", "double-click");
    row("by Enter", at + "Mode=1", "Enter");
    row("the smallest title-less to framed: room for the menu bar", QByteArray("Mode=1"),
        "double-click");
}

void TestWindows::switching() {
    QFETCH(QByteArray, file);
    QFETCH(QString, by);
    Session s;
    DisplayWindow &from = s.start(file + ",FontName=DejaVu Serif,FontBold=False,FontItalic=True");
    const qint32 before = from.mode();
    const QRectF place = from.outerTwips();
    if (by == "menu")
        trigger(from, "File", "No Title");
    else if (by == "double-click")
        QTest::mouseDClick(&from.countWidget(), Qt::LeftButton);
    else // to whatever has the keyboard in the window
        QTest::keyClick(from.windowHandle(), by == "Enter" ? Qt::Key_Enter : Qt::Key_Return);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    DisplayWindow &to = s.window();
    QVERIFY(to.mode() != before && to.isVisible());
    QTRY_VERIFY(to.countWidget().hasFocus());
    QVERIFY(to.outerTwips() == place || file == "Mode=1");
    QVERIFY(to.countWidget().width() >= 112 && to.countWidget().height() >= 24);
    QVERIFY(to.countWidget().faceName() == "DejaVu Serif" && !to.countWidget().bold() &&
            to.countWidget().italic());
    // The file names the window left, until a `kill` saves the new one and ends.
    QCOMPARE(s.savedSettings().mode, before);
    TerminationRequests requests;
    s.switcher.endOn(requests);
    ::raise(SIGTERM);
    QTRY_VERIFY(s.programEnd.isEnding());
    QCOMPARE(s.savedSettings().mode, to.mode());
}

void TestWindows::dragging() {
    // A left drag moves the window at the release by the pointer's travel; a
    // right drag and a still click do not. (Presses apart: no double-click.)
    Session s;
    DisplayWindow &w = s.start("Top=3000,Left=4500,Height=3600,Width=5250,Mode=1");
    // (`also`: a button held too, from the start.)
    const auto drag = [&](Qt::MouseButton button, QPoint at, QPoint by, Qt::MouseButton also = {}) {
        const QRectF before = w.outerTwips();
        for (Qt::MouseButton b : {button, also})
            if (b != Qt::NoButton)
                QTest::mousePress(&w.countWidget(), b, {}, at);
        QTest::mouseMove(&w.countWidget(), at + by / 2);
        QTest::mouseMove(&w.countWidget(), at + by);
        QCOMPARE(w.outerTwips(), before);
        for (Qt::MouseButton b : {button, also})
            if (b != Qt::NoButton)
                QTest::mouseRelease(&w.countWidget(), b, {}, at + by);
    };
    drag(Qt::LeftButton, {50, 40}, {100, 60});
    QCOMPARE(w.outerTwips(), QRectF(6000, 3900, 5250, 3600));
    drag(Qt::RightButton, {70, 50}, {80, 50});
    drag(Qt::LeftButton, {70, 50}, {80, 50}, Qt::RightButton);
    QTest::mouseClick(&w.countWidget(), Qt::LeftButton, {}, {90, 60});
    QCOMPARE(w.outerTwips(), QRectF(6000, 3900, 5250, 3600));
    // Never resized, even onto a smaller screen; when the screens change, back
    // onto one, and no larger.
    w.setOuterTwips(QRectF(1500, 0, 27000, 15000));
    drag(Qt::LeftButton, {110, 70}, {-40, 1100});
    QCOMPARE(w.outerTwips(), QRectF(900, 16500, 27000, 15000));
    s.screens.areas = {QRect(0, 0, 1280, 800)};
    emit s.screens.changed();
    QCOMPARE(w.outerTwips(), QRectF(0, 0, 19200, 12000));
    w.hide(); // (About is up) screens changed meanwhile are met when it is shown
    s.screens.areas = {QRect(0, 0, 800, 600)};
    emit s.screens.changed();
    w.show();
    QCOMPARE(w.outerTwips(), QRectF(0, 0, 12000, 9000));
}

void TestWindows::failedSaveIsReported() { // a folder in its place: the switch still completes
    Session s;
    DisplayWindow &w = s.start("Height=1500,Width=4500");
    QVERIFY(QFile::remove(s.ini) && QDir().mkdir(s.ini));
    QTest::mouseDClick(&w.countWidget(), Qt::LeftButton);
    QCOMPARE(s.dialogs.boxes, QStringList{"Shutdown|Err(75), Path/File access error"});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(s.window().mode(), 1);
    // A logout waits for no click: one line, and the end.
    QTest::ignoreMessage(QtWarningMsg,
                         "quennix: the settings were not saved: Err(75), Path/File access error");
    TerminationRequests requests;
    s.switcher.endOn(requests);
    emit requests.requested(SIGTERM);
    QVERIFY(s.programEnd.isEnding());
    QCOMPARE(s.dialogs.boxes.size(), 1);
}

void TestWindows::commands_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("answer"); // the box after the question, "title|text"
    const QString timeAt = "Quennix|Time with ";
    row("base time", "Base Time", "31/12/2030 11:59:59 PM", "");
    row("base time out of reach", "Base Time", "10:00", "Quennix|Not a valid date");
    row("seconds at, after 2000", "Seconds at", "06/12/2026 19:00",
        "Quennix|At 07:00:00 PM on Sunday, 06 December, 2026\nSeconds remaining will be "
        "-849,898,800");
    row("seconds at, not a date", "Seconds at", "", "Quennix|The date entered is not valid.");
    row("seconds at, overflow", "Seconds at", "01/01/2069", "MSecondsat_Click|Err(6), Overflow");
    row("time at, empty", "Time at", "",
        timeAt + "0 seconds remaining will be \n12:00:00 AM on Saturday, 01 January, 2000");
    row("time at, after 2000", "Time at", "-60",
        timeAt + "-60 seconds remaining will be \n12:01:00 AM on Saturday, 01 January, 2000");
    row("time at, most negative", "Time at", "-2147483648", "MTimeAt_Click|Err(6), Overflow");
}

void TestWindows::commands() {
    QFETCH(QString, item);
    QFETCH(QString, typed);
    QFETCH(QString, answer);
    Session s;
    DisplayWindow &w = s.start("Height=1500,Width=4500");
    s.dialogs.inputs = {typed};
    const bool calculator = item != "Base Time"; // counts to 2000 whatever the base time
    s.setBaseTime(calculator ? kEpoch2000 + 1 : kEpoch2000);
    trigger(w, "Stuff", item);
    QCOMPARE(shown(w), QStringLiteral("3,600")); // nothing drawn at once
    if (calculator)
        s.setBaseTime(kEpoch2000);
    const QString asked = item == "Time at"
                              ? "Time at seconds remaining|Number of seconds remaining ?"
                              : "Seconds remaining as a time|Date and time ?";
    QCOMPARE(s.dialogs.boxes, QStringList({asked, answer}).mid(0, answer.isEmpty() ? 1 : 2));
    // An accepted base time changes the caption at once, the count next second.
    const bool accepted = item == "Base Time" && answer.isEmpty();
    QCOMPARE(w.windowTitle(), accepted ? QStringLiteral("Seconds to 23:59:59, 31/12/2030")
                                       : QStringLiteral("Seconds to 01/01/2000, 12:00:00 AM"));
    QCOMPARE(w.countWidget().accessibleName(), w.windowTitle());
    s.tick();
    QCOMPARE(shown(w), accepted ? QStringLiteral("978,310,798") : QStringLiteral("3,599"));
    w.close();
    QVERIFY(s.saved().contains(accepted ? "BaseTime=31/12/2030 11:59:59 PM\r\n"
                                        : "BaseTime=01/01/2000\r\n"));
}

void TestWindows::fontAboutAndExit() {
    Session s;
    DisplayWindow &w = s.start("Height=1500,Width=4500,FontBold=True");
    const QString builtIn = w.countWidget().faceName();
    const double fitted = w.countWidget().fontSize();
    // Cancelled: the face shown is offered at its fitted size, and nothing changes.
    trigger(w, "File", "Font");
    const Dialogs::FontChoice &o = s.dialogs.offered;
    QVERIFY(o.face == builtIn && o.bold && !o.italic && o.size == fitted);
    QVERIFY(s.state.fontName().isEmpty() && w.countWidget().faceName() == builtIn);
    s.dialogs.chosenFont = Dialogs::FontChoice{"DejaVu Sans Mono", false, true, 500};
    trigger(w, "File", "Font");
    QVERIFY(s.state.fontName() == "DejaVu Sans Mono" && !w.countWidget().bold() &&
            w.countWidget().italic());
    QVERIFY(w.countWidget().fontSize() > 10 && w.countWidget().fontSize() < 100);
    QStringList menus; // the menus' items in their order
    for (QAction *menu : w.menuBar()->actions())
        for (QAction *item : menu->menu()->actions())
            menus << menu->text() + '>' + item->text();
    QCOMPARE(menus.join(", "), "File>No Title, File>Font, File>Exit, Stuff>Time at, Stuff>Seconds "
                               "at, Stuff>Base Time, Help>About");
    // About: the count steps aside until it closes. The menus stay in the
    // window, global menu bar or not.
    QVERIFY(!w.menuBar()->isNativeMenuBar());
    bool hidden = false;
    QTimer::singleShot(
        0, [&] { hidden = !w.isVisible(), QApplication::activeModalWidget()->close(); });
    trigger(w, "Help", "About");
    QVERIFY(hidden && w.isVisible());
    // Exit saves once, with the framed window's kind, and ends.
    trigger(w, "File", "Exit");
    QVERIFY(s.programEnd.isEnding());
    const Settings saved = s.savedSettings();
    QVERIFY(saved.fontName == "DejaVu Sans Mono" && !saved.fontBold && saved.fontItalic);
    QVERIFY(saved.baseTime.text() == "01/01/2000" && saved.mode == 2);
}

void TestWindows::aboutWindow() {
    // As built at 96 dpi: title, font, client size (fixed), texts in their places; the
    // frame's corner where the client area would be centred; Enter closes it, Escape not.
    FakeScreens screens;
    AboutDialog about(screens);
    QString built;
    QDebug(&built) << about.windowTitle() << about.font().family() << about.font().pointSizeF()
                   << about.font().bold() << (about.minimumSize() == about.maximumSize())
                   << about.size();
    for (QWidget *part : about.findChildren<QWidget *>()) // centred (132), the default
        QDebug(&built)
            << part->property("text").toString() << part->geometry()
            << part->property(part->inherits("QLabel") ? "alignment" : "default").toInt();
    QCOMPARE(built, "\"QUENNIX\" \"MS Sans Serif\" 7.8 true true QSize(166, 141) \"QUENNIX\" "
                    "QRect(0,8 169x17) 132 \"Version " QUENNIX_VERSION "   32bit\" QRect(0,72 "
                    "169x17) 132 \"13/06/1998\" QRect(0,88 169x17) 132 \"Ok\" QRect(56,112 "
                    "57x25) 1 ");
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.frameGeometry().topLeft(), QPoint(877, 470));
    QTest::keyClick(&about, Qt::Key_Escape);
    QVERIFY(about.isVisible());
    QTest::keyClick(&about, Qt::Key_Enter);
    QVERIFY(!about.isVisible());
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
