// SPDX-License-Identifier: MIT
// The count as a window draws it, offscreen with the platform faked: each new
// second, only what changed repainted, faces without digits, and the boxes
// when it cannot be drawn.

#include "countdown/date_text.h"
#include "countdown/formats.h"
#include "platform/system_dialogs.h"
#include "platform/termination_requests.h"
#include "support/fake_session.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPainter>
#include <QtTest>
#include <csignal>

using namespace quennix;
using namespace quennix::test;

class TestDrawing : public QObject {
    Q_OBJECT
private slots:
    void tickDrawsEachNewSecond();
    void repaintsWhatChanged_data();
    void repaintsWhatChanged();
    void facesWithoutDigits_data();
    void facesWithoutDigits();
    void wholeFace();
    void countThatCannotBeDrawnEnds();
    void realBoxes();
};

void TestDrawing::tickDrawsEachNewSecond() {
    Session s;
    DisplayWindow &w = s.start("Height=1500,Width=4500,Mode=1");
    s.ticker.fire();
    s.setBaseTime(kEpoch2000 + 1); // within the second: not drawn yet
    s.ticker.fire();
    QCOMPARE(shown(w), QStringLiteral("3,600"));
    // Each new second, however the clock got there, draws: a day on too.
    for (const auto &[seconds, text] : {std::pair{1, "89,999"}, {86400, "3,599"}}) {
        s.tick(seconds);
        QCOMPARE(shown(w), QString::fromLatin1(text));
    }
    w.hide(); // hidden, the count is made but not fitted; a new shared face, fitted when shown
    const double serif = w.countWidget().fontSize();
    s.state.setFontName("DejaVu Sans Mono");
    s.tick();
    QVERIFY(shown(w) == "3,598" && w.countWidget().fontSize() == serif);
    w.show();
    QVERIFY(w.countWidget().fontSize() < serif); // its bold digits are wider
    // Across London's change to summer time, the real seconds; when the user
    // travels, at the next tick, to 03:00 four hours behind UTC.
    s.setBaseTime(*textToDate(QStringLiteral("28/03/2027 3:00")));
    s.clock.now_ = utc(2027, 3, 28, 0, 59, 50) * 1000;
    s.ticker.fire();
    QCOMPARE(shown(w), QStringLiteral("3,610"));
    s.zone.become(ZoneTable(-4 * 3600));
    s.tick();
    QCOMPARE(shown(w), QStringLiteral("21,609"));
    s.clock.now_ += 995; // the ticker's own timer: the next second is 10 ms away
    s.ticker.fire();
    QVERIFY(QSignalSpy(&s.ticker, &SecondTicker::fired).wait(900));
}

void TestDrawing::repaintsWhatChanged_data() {
    QTest::addColumn<QString>("face"); // the family, then "bold" or "italic"
    QTest::addColumn<int>("from");     // seconds to go on screen, then the next count drawn
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("most"); // how much of the width may be painted again, in %
    const std::tuple<const char *, int, int, int> counts[] = {
        {"one digit", 1235, 1234, 20},      {"two digits", 1240, 1239, 35},
        {"every digit", 9999, 8888, 100},   {"the sign comes", 1, -1, 100},
        {"a digit more", 9999, 10000, 100}, {"a new shape", 99999999, 100000000, 100}};
    for (const auto &[name, from, to, most] : counts)
        for (const char *face : {"DejaVu Sans", "DejaVu Serif bold", "DejaVu Serif italic"})
            QTest::addRow("%s, %s", name, face) << QString(face) << from << to << most;
}

void TestDrawing::repaintsWhatChanged() {
    QFETCH(QString, face);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, most);
    Session s;
    CountWidget &count = s.start("Height=3000,Width=6000,Mode=1").countWidget();
    s.state.setFontName(face.section(' ', 0, 1));
    count.setStyle(face.endsWith("bold"), face.endsWith("italic"));
    s.setBaseTime(dateValueFromSeconds(secondsSinceEpoch(kEpoch2000) - 3600 + from));
    count.drawCount();
    // What the repaints leave on the screen: the first count's pixels, then
    // each region painted at the next tick (the platform asks within 5 ms).
    QTest::qWait(20);
    QImage screen = count.grab().toImage().convertToFormat(QImage::Format_RGB32);
    Painted painted;
    count.installEventFilter(&painted);
    s.tick(from - to);
    QTest::qWait(20);
    count.removeEventFilter(&painted); // render() paints too
    for (const QRect &r : painted.region)
        count.render(&screen, r.topLeft(), r);
    // The pixels of the next count drawn whole; within a shape, less painted.
    QCOMPARE(screen, count.grab().toImage().convertToFormat(QImage::Format_RGB32));
    QCOMPARE(painted.region.boundingRect().width() < count.width(),
             countShape(formatCount(from)) == countShape(formatCount(to)));
    QVERIFY(painted.region.boundingRect().width() * 100 <= count.width() * most);
    QPalette colours = count.palette(); // a new theme: the count in its colours
    colours.setColor(QPalette::WindowText, Qt::red);
    count.setPalette(colours);
    QVERIFY(count.grab().toImage().convertToFormat(QImage::Format_RGB32) != screen);
}

void TestDrawing::facesWithoutDigits_data() {
    QTest::addColumn<QString>("face");
    row("no digits: drawn from the face Qt falls back to", QString("Droid Sans Fallback"));
    row("symbols of many widths where digits stand", QString("D050000L"));
}

void TestDrawing::facesWithoutDigits() {
    QFETCH(QString, face);
    if (QFontInfo(QFont(face)).family() != face)
        QSKIP("the face is not installed (tools/setup-debian.sh --test)");
    Session s;
    CountWidget &count =
        s.start("Height=3000,Width=6000,Mode=1,FontName=" + face.toUtf8()).countWidget();
    // Counts of nine equal digits, each in turn, lie inside the count area.
    for (int digit = 1; digit <= 9; ++digit) {
        s.clock.now_ = (946684800 + digit * 111111111LL) * 1000; // 2000 in London, on
        s.ticker.fire();
        QCOMPARE(shown(s.window()), formatCount(-digit * 111111111LL));
        const QImage image = count.grab().toImage();
        const QRect ink = inkOf(image, count.palette().color(QPalette::Window));
        QVERIFY(image.rect().adjusted(1, 1, -1, -1).contains(ink));
    }
    // No glyph is the face's notdef box.
    const FontMeasurer m(QFont(face), 96, 96);
    CountGlyphs glyphs;
    glyphs.setAppearance(m.font(40), 1, Qt::black);
    for (const CountGlyphs::Glyph &g : glyphs.place("-0123456789,", QPointF(), m, 40))
        QVERIFY(g.index != 0);
    const QRectF small = glyphs.place("8", QPointF(), m, 40).at(0).reach;
    glyphs.setAppearance(m.font(80), 1, Qt::black); // nothing kept from the last size
    QVERIFY(glyphs.place("8", QPointF(), m, 80).at(0).reach.width() > small.width() * 1.5);
}

void TestDrawing::wholeFace() {
    // Each of the face's lines runs from the first glyph's start to the last one's end.
    for (int line = 0; line < 3; ++line) {
        QFont face("DejaVu Sans");
        face.setUnderline(line == 0), face.setOverline(line == 1), face.setStrikeOut(line == 2);
        const FontMeasurer m(face, 96, 96);
        CountGlyphs glyphs;
        glyphs.setAppearance(m.font(40), 1, Qt::black);
        const std::vector<CountGlyphs::Glyph> placed = glyphs.place("1,11", QPointF(0, 60), m, 40);
        QImage image(200, 90, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        glyphs.draw(painter, placed, image.rect());
        const QRect ink = inkOf(image, Qt::white); // (a line cut off at the reach fails too)
        QVERIFY(ink.left() == 0 && ink.right() >= placed.back().at.x() + m.advance('1', 40) - 2);
    }
}

void TestDrawing::countThatCannotBeDrawnEnds() {
    Session s;
    DisplayWindow &w = s.start("Height=1500,Width=4500");
    s.clock.now_ = utc(2070, 1, 1) * 1000;
    // While the box is up its event loop lets a drawing and a `kill` through.
    TerminationRequests requests;
    s.switcher.endOn(requests);
    s.dialogs.whileUp = [&] {
        w.countWidget().drawCount();
        QSignalSpy killed(&requests, &TerminationRequests::requested);
        ::raise(SIGTERM);
        QVERIFY(killed.wait(5000));
    };
    s.ticker.fire();
    QCOMPARE(s.dialogs.boxes, QStringList{"Display_Time|Error(6), Overflow\nKIll ME ?"});
    QVERIFY(s.programEnd.isEnding());
    // Whatever still comes (a tick, a resize, the close) asks and saves nothing.
    s.ticker.fire();
    w.resize(w.size() + QSize(10, 10));
    w.close();
    QVERIFY(s.dialogs.boxes.size() == 1 && s.saved() == "Height=1500,Width=4500");
}

void TestDrawing::realBoxes() {
    // The real boxes: the one that ends the program asks Yes or No; a question
    // cancelled gives nothing, whatever was typed.
    SystemDialogs dialogs;
    QMessageBox::StandardButtons shown;
    QTimer::singleShot(0, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            shown = box->standardButtons(), box->done(0);
    });
    dialogs.message("?", Dialogs::Buttons::YesNo, Dialogs::Icon::Question, "Display_Time");
    QCOMPARE(shown, QMessageBox::Yes | QMessageBox::No);
    QTimer::singleShot(0, [] {
        if (auto *box = qobject_cast<QInputDialog *>(QApplication::activeModalWidget()))
            box->setTextValue("1"), box->reject();
    });
    QCOMPARE(dialogs.input("?", "Time at"), QString());
    bool modal = false; // the font box keeps the window's own input until it closes
    QTimer::singleShot(0, [&] {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *box = qobject_cast<QDialog *>(top); box && box->inherits("QFontDialog"))
                modal = box == QApplication::activeModalWidget(), box->reject();
    });
    QVERIFY(!dialogs.font({"DejaVu Sans", false, false, 12}) && modal);
}

QTEST_MAIN(TestDrawing)
#include "tst_drawing.moc"
