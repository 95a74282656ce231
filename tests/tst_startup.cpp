// Start-up from the settings file, and the round trip through closing.

#include "startup/settings_file.h"
#include "startup/startup.h"
#include "support/window_fixture.h"
#include "windows/display_window.h"
#include "windows/window_switcher.h"

#include <QtTest>

using namespace quennix;
using namespace quennix::test;

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startsFromTheFile_data();
    void startsFromTheFile();
    void roundTripKeepsEverything_data();
    void roundTripKeepsEverything();
    void lostScreenBringsTheWindowBack();
    void smallestWindow_data();
    void smallestWindow();

private:
    DisplayWindow &start(const QByteArray *file);
    QString iniPath() const { return f_->iniPath(); }

    std::unique_ptr<WindowFixture> f_;
};

void TestStartup::init() {
    f_ = std::make_unique<WindowFixture>();
    f_->state.baseTime = BaseTime(12345); // Main must reset it
}

void TestStartup::cleanup() {
    f_.reset();
}

DisplayWindow &TestStartup::start(const QByteArray *file) {
    QFile::remove(iniPath());
    if (file) {
        QFile f(iniPath());
        if (!f.open(QIODevice::WriteOnly) || f.write(*file) != file->size())
            qFatal("cannot write the settings file");
    }
    DisplayWindow &w = Main(f_->state, f_->fakes.services, f_->switcher);
    if (!QTest::qWaitForWindowExposed(&w.widget()))
        qFatal("window not exposed");
    return w;
}

void TestStartup::startsFromTheFile_data() {
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QRect>("outer"); // twips; empty: the built-in place
    QTest::addColumn<QString>("baseTime");

    const QRect builtIn;
    QTest::newRow("no file") << false << QByteArray() << QStringList{"Main|Err(53), File not found"}
                             << "2" << builtIn << "01/01/2000";
    QTest::newRow("title-less")
        << true << QByteArray("Top=1500\r\nLeft=3000\r\nHeight=1500\r\nWidth=4500\r\nMode=1\r\n")
        << QStringList() << "1" << QRect(3000, 1500, 4500, 1500) << "01/01/2000";
    QTest::newRow("empty mode is framed")
        << true << QByteArray("Top=1500,Left=3000,Height=1500,Width=4500,Mode=\r\n")
        << QStringList() << "2" << QRect(3000, 1500, 4500, 1500) << "01/01/2000";
    QTest::newRow("bad base time is skipped")
        << true
        << QByteArray("Top=1500\r\nLeft=3000\r\nHeight=1500\r\nWidth=4500\r\n"
                      "BaseTime=next week\r\nMode=1\r\n")
        << QStringList{"Main|Err(13), Type mismatch"} << "1" << QRect(3000, 1500, 4500, 1500)
        << "01/01/2000";
    QTest::newRow("base time the count cannot reach is skipped")
        << true
        << QByteArray("Top=1500,Left=3000,Height=1500,Width=4500,BaseTime=01/01/2100,Mode=1\r\n")
        << QStringList{"Main|Err(6), Overflow"} << "1" << QRect(3000, 1500, 4500, 1500)
        << "01/01/2000";
    QTest::newRow("overflowing number is skipped")
        << true
        << QByteArray("Top=1e12\r\nLeft=3000\r\nHeight=1500\r\nWidth=4500\r\n"
                      "BaseTime=31/12/2030 11:59:59 PM\r\nMode=1\r\n")
        << QStringList{"Main|Err(6), Overflow"} << "1" << QRect(3000, 0, 4500, 1500)
        << "31/12/2030 11:59:59 PM";
}

void TestStartup::startsFromTheFile() {
    QFETCH(bool, exists);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, boxes);
    QFETCH(QString, tag);
    QFETCH(QRect, outer);
    QFETCH(QString, baseTime);

    DisplayWindow &w = start(exists ? &file : nullptr);

    QCOMPARE(f_->fakes.dialogs.messages(), boxes);
    QCOMPARE(w.tag(), tag);
    QVERIFY(w.widget().isVisible());
    QCOMPARE(f_->state.baseTime.text(), baseTime);
    if (!outer.isNull()) {
        QCOMPARE(w.top(), double(outer.top()));
        QCOMPARE(w.left(), double(outer.left()));
        QCOMPARE(w.height(), double(outer.height()));
        QCOMPARE(w.width(), double(outer.width()));
    }
}

void TestStartup::roundTripKeepsEverything_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("framed") << QByteArray("Top=3000\r\nLeft=4500\r\nHeight=2400\r\nWidth=5250\r\n"
                                          "FontName=DejaVu Sans\r\nFontBold=False\r\n"
                                          "FontItalic=True\r\nBaseTime=01/01/2000\r\nMode=2\r\n");
    QTest::newRow("title-less") << QByteArray(
        "Top=150\r\nLeft=-300\r\nHeight=1200\r\nWidth=3000\r\n"
        "FontName=DejaVu Serif, Condensed\r\nFontBold=True\r\n"
        "FontItalic=False\r\nBaseTime=31/12/2030 11:59:59 PM\r\nMode=1\r\n");
}

void TestStartup::roundTripKeepsEverything() {
    QFETCH(QByteArray, file);
    // A face with a comma is cut there when read; from then on it round-trips.
    DisplayWindow &first = start(&file);
    first.widget().close();
    QFile written(iniPath());
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray once = written.readAll();
    written.close();

    DisplayWindow &second = start(&once);
    second.widget().close();
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), once);
    QVERIFY(f_->fakes.dialogs.shown.empty());
    // Only the face name may differ from what we wrote by hand.
    const QList<QByteArray> before = file.split('\n'), after = once.split('\n');
    for (int i : {0, 1, 2, 3, 5, 6, 7, 8})
        QCOMPARE(after.value(i), before.value(i));
}

void TestStartup::lostScreenBringsTheWindowBack() {
    const QByteArray file("Top=30000\r\nLeft=60000\r\nHeight=1500\r\nWidth=4500\r\nMode=1\r\n");
    f_->fakes.screens.screens = {QRect(0, 0, 1920, 1080)};
    DisplayWindow &w = start(&file);
    const QRect outer = w.outerGeometry();
    QVERIFY(QRect(0, 0, 1920, 1080).contains(outer));
    QCOMPARE(outer.size(), QSize(300, 100));
}

void TestStartup::smallestWindow_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("then"); // "switch": to the other kind; "shrink": resized to 10x10
    QTest::addColumn<QString>("tag");  // of the window measured
    QTest::newRow("empty file") << QByteArray() << ""
                                << "2";
    QTest::newRow("no Height or Width") << QByteArray("Top=0,Left=0,Mode=1") << ""
                                        << "1";
    QTest::newRow("damaged Height and Width") << QByteArray("Height=abc,Width=1e99,Mode=1") << ""
                                              << "1";
    QTest::newRow("a pixel wide") << QByteArray("Height=15,Width=15,Mode=2") << ""
                                  << "2";
    QTest::newRow("switch from the smallest title-less")
        << QByteArray("Height=0,Width=0,Mode=1") << "switch"
        << "2";
    QTest::newRow("switch from the smallest framed") << QByteArray("Mode=2") << "switch"
                                                     << "1";
    QTest::newRow("shrunk below the minimum")
        << QByteArray("Height=3000,Width=6000,Mode=2") << "shrink"
        << "2";
}

void TestStartup::smallestWindow() {
    QFETCH(QByteArray, file);
    QFETCH(QString, then);
    QFETCH(QString, tag);
    DisplayWindow *w = &start(&file);
    if (then == QLatin1String("switch")) {
        w = &f_->switcher.switchFrom(*w);
        WindowFixture::settle();
    } else if (then == QLatin1String("shrink")) {
        // As a drag on the frame would, once the window has settled (for a
        // second after showing it keeps the size it was given).
        QTest::qWait(1100);
        w->widget().resize(10, 10);
    }
    QCOMPARE(w->tag(), tag);

    // 1680 x 360 twips for the count, below the menu bar in the framed window.
    const QSize least(qCeil(1680 * w->surface().logicalDpiX() / 1440.0),
                      qCeil(360 * w->surface().logicalDpiY() / 1440.0));
    QVERIFY2(w->surface().width() >= least.width() && w->surface().height() >= least.height(),
             qPrintable(QStringLiteral("count area %1x%2")
                            .arg(w->surface().width())
                            .arg(w->surface().height())));
    // Top and Left of 0 put the outer frame, caption and all, at the corner.
    QCOMPARE(w->outerGeometry().topLeft(), QPoint(0, 0));

    // The next close writes the size the window really has.
    const QRect real = w->widget().frameGeometry();
    w->widget().close();
    const StoredSettings saved = readSettingsFile(iniPath(), kEpoch2000).values;
    QCOMPARE(saved.width, qRound(real.width() * 1440.0 / w->surface().logicalDpiX()));
    QCOMPARE(saved.height, qRound(real.height() * 1440.0 / w->surface().logicalDpiY()));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
