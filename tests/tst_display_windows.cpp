// The display windows on the offscreen platform: the tick, painting, dragging
// and the settings written at close.

#include "startup/settings_file.h"
#include "support/window_fixture.h"
#include "windows/form1.h"
#include "windows/form2.h"
#include "windows/window_switcher.h"

#include <QImage>
#include <QtTest>

using namespace quennix;
using namespace quennix::test;

class TestDisplayWindows : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void tickDrawsOncePerClockSecond();
    void paintShowsTheCount();
    void builtInDesign_data();
    void builtInDesign();
    void drag_data();
    void drag();
    void closingWritesTheSettings_data();
    void closingWritesTheSettings();

private:
    std::unique_ptr<WindowFixture> f_;
};

void TestDisplayWindows::init() {
    f_ = std::make_unique<WindowFixture>();
}

void TestDisplayWindows::cleanup() {
    f_.reset();
}

void TestDisplayWindows::tickDrawsOncePerClockSecond() {
    CountSurface &surface = f_->shown(1).surface();
    surface.Timer1_Timer();
    auto value = [](QString text) { return text.remove(QLatin1Char(',')).toLongLong(); };
    const QString first = surface.shownText();
    QVERIFY(!first.isEmpty());

    // A new base time within the same second: the tick leaves the count alone.
    f_->state.baseTime = BaseTime(kEpoch2000 + 1);
    surface.Timer1_Timer();
    QCOMPARE(surface.shownText(), first);

    // The next second draws, with the new base time.
    f_->fakes.clock.advance(1);
    surface.Timer1_Timer();
    QCOMPARE(value(surface.shownText()), value(first) - 1 + 86400);
}

void TestDisplayWindows::paintShowsTheCount() {
    DisplayWindow &w = f_->shown(2);
    const QImage image = w.surface().grab().toImage();
    const QColor background = w.surface().palette().color(QPalette::Window);
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            inked += image.pixelColor(x, y) != background;
    QVERIFY2(inked > 50, "the count is drawn");
    // Centred: as much room left of the text as right of it, within a pixel.
    QVERIFY(w.surface().currentX() > 0);
}

void TestDisplayWindows::builtInDesign_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QSize>("area"); // twips
    QTest::addColumn<QString>("caption");
    QTest::newRow("title-less") << 1 << QSize(2412, 1068) << QString();
    QTest::newRow("framed") << 2 << QSize(2388, 756)
                            << QStringLiteral("Seconds to 01/01/2000, 12:00:00 AM");
}

void TestDisplayWindows::builtInDesign() {
    QFETCH(int, mode);
    QFETCH(QSize, area);
    QFETCH(QString, caption);
    DisplayWindow &w = f_->shown(mode);
    QCOMPARE(w.tag(), QString::number(mode));
    QCOMPARE(w.widget().windowTitle(), caption);
    QVERIFY(w.widget().windowFlags() & Qt::WindowStaysOnTopHint);
    // Twips to whole pixels at the screen's dpi.
    QVERIFY(qAbs(w.surface().scaleWidth() - area.width()) < 15 * 96 / w.surface().logicalDpiX());
    QVERIFY(qAbs(w.surface().scaleHeight() - area.height()) < 15 * 96 / w.surface().logicalDpiY());
    QCOMPARE(w.fontBold(), true);
    QCOMPARE(w.fontItalic(), false);
}

void TestDisplayWindows::drag_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("travel");
    QTest::addColumn<QPoint>("moved");
    QTest::newRow("left drag, title-less")
        << 1 << Qt::LeftButton << QPoint(40, 25) << QPoint(40, 25);
    QTest::newRow("left drag, framed") << 2 << Qt::LeftButton << QPoint(-30, 12) << QPoint(-30, 12);
    QTest::newRow("click without moving") << 1 << Qt::LeftButton << QPoint(0, 0) << QPoint(0, 0);
    QTest::newRow("right drag") << 1 << Qt::RightButton << QPoint(40, 25) << QPoint(0, 0);
}

void TestDisplayWindows::drag() {
    QFETCH(int, mode);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, travel);
    QFETCH(QPoint, moved);
    DisplayWindow &w = f_->shown(mode);
    QWidget &surface = w.surface();
    const QPoint before = w.widget().pos();
    const QPoint start(20, 20);

    QTest::mousePress(&surface, button, {}, start);
    QTest::mouseMove(&surface, start + travel / 2);
    QTest::mouseMove(&surface, start + travel);
    QCOMPARE(w.widget().pos(), before); // nothing moves until release
    QTest::mouseRelease(&surface, button, {}, start + travel);
    QCOMPARE(w.widget().pos(), before + moved);
    QVERIFY(!w.dragActive());

    // A right-button click afterwards moves nothing either.
    QTest::mouseClick(&surface, Qt::RightButton, {}, start);
    QCOMPARE(w.widget().pos(), before + moved);
}

void TestDisplayWindows::closingWritesTheSettings_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("title-less") << 1;
    QTest::newRow("framed") << 2;
}

void TestDisplayWindows::closingWritesTheSettings() {
    QFETCH(int, mode);
    f_->state.fontName = QStringLiteral("DejaVu Sans");
    DisplayWindow &w = f_->shown(mode);
    w.setFontItalic(true);
    const WindowSettings expected = w.settings();
    w.widget().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!f_->switcher.current());

    const SettingsReadResult read = readSettingsFile(f_->state.settingsPath, kEpoch2000);
    QVERIFY(!read.openError);
    QCOMPARE(read.values.mode, mode);
    QCOMPARE(read.values.top, qint32(expected.top));
    QCOMPARE(read.values.left, qint32(expected.left));
    QCOMPARE(read.values.height, qint32(expected.height));
    QCOMPARE(read.values.width, qint32(expected.width));
    QCOMPARE(read.values.fontName.value_or(QString()), QStringLiteral("DejaVu Sans"));
    QCOMPARE(read.values.fontItalic, true);
    QCOMPARE(read.values.baseTimeText.value_or(QString()), QStringLiteral("01/01/2000"));
    QVERIFY(f_->fakes.dialogs.shown.empty());
}

QTEST_MAIN(TestDisplayWindows)
#include "tst_display_windows.moc"
