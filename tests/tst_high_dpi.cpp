// The count at the device pixel ratio this run was started with (ctest runs
// it at 1 and at 2). Sizes in twips and the fitted font are logical, so every
// expectation here is the same at either ratio; only the drawing gains pixels.

#include "countdown/count_drawing.h"
#include "countdown/font_measurer.h"
#include "support/fake_services.h"
#include "support/fit_reference.h"
#include "windows/display_window.h"
#include "windows/window_switcher.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

using namespace quennix;
using namespace quennix::test;

namespace {

// The screens the offscreen platform reports, at any ratio.
constexpr double kLogicalDpi = 96;

// Ink in an image of dark text on a light background: pixels fully covered,
// pixels partly covered (the anti-aliased edge), and the box around them in
// device pixels.
struct Ink {
    int full = 0;
    int partial = 0;
    QRect box;
    double edgeShare() const { return double(partial) / qMax(1, full + partial); }
};

Ink inkOf(const QImage &image, const QColor &background, const QColor &text) {
    const double bg = background.lightnessF(), fg = text.lightnessF();
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double cover = (bg - image.pixelColor(x, y).lightnessF()) / (bg - fg);
            if (cover <= 0.1)
                continue;
            (cover > 0.9 ? ink.full : ink.partial)++;
            ink.box |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

} // namespace

class TestHighDpi : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void twipsAreLogical_data();
    void twipsAreLogical();
    void fittedSizeIsLogical_data();
    void fittedSizeIsLogical();
    void countIsDrawnAtDeviceResolution();

private:
    DisplayWindow &shownAt(double widthTwips, double heightTwips);

    double ratio_ = 1;
    QTemporaryDir dir_;
    std::unique_ptr<FakeServices> fakes_;
    std::unique_ptr<AppState> state_;
    std::unique_ptr<WindowSwitcher> switcher_;
};

void TestHighDpi::initTestCase() {
    ratio_ = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    // The run really is at the ratio it was asked for.
    QCOMPARE(qApp->devicePixelRatio(), ratio_);
}

void TestHighDpi::init() {
    fakes_ = std::make_unique<FakeServices>();
    state_ = std::make_unique<AppState>();
    state_->settingsPath = dir_.filePath(QStringLiteral("quennix.ini"));
    switcher_ = std::make_unique<WindowSwitcher>(*state_, fakes_->services);
}

void TestHighDpi::cleanup() {
    if (DisplayWindow *w = switcher_->current())
        delete &w->widget();
    switcher_.reset();
}

DisplayWindow &TestHighDpi::shownAt(double widthTwips, double heightTwips) {
    // The title-less window: no menu bar, so its surface is the whole window.
    DisplayWindow &w = switcher_->load(1);
    w.setWidth(widthTwips);
    w.setHeight(heightTwips);
    w.widget().show();
    if (!QTest::qWaitForWindowExposed(&w.widget()))
        qFatal("window not exposed");
    return w;
}

void TestHighDpi::twipsAreLogical_data() {
    QTest::addColumn<QSize>("twips");
    QTest::addColumn<QSize>("pixels"); // logical, at 96 dpi
    QTest::newRow("whole pixels") << QSize(4800, 1440) << QSize(320, 96);
    QTest::newRow("built-in title-less size") << QSize(2412, 1068) << QSize(161, 71);
    QTest::newRow("large") << QSize(14400, 4320) << QSize(960, 288);
}

void TestHighDpi::twipsAreLogical() {
    QFETCH(QSize, twips);
    QFETCH(QSize, pixels);
    DisplayWindow &w = shownAt(twips.width(), twips.height());
    QCOMPARE(w.widget().logicalDpiX(), int(kLogicalDpi));
    QCOMPARE(w.widget().logicalDpiY(), int(kLogicalDpi));
    QTRY_COMPARE(w.widget().size(), pixels);
    // Read back: the whole logical pixels in twips.
    QCOMPARE(w.width(), pixels.width() * 1440 / kLogicalDpi);
    QCOMPARE(w.height(), pixels.height() * 1440 / kLogicalDpi);
    QCOMPARE(w.surface().scaleWidth(), w.width());
}

void TestHighDpi::fittedSizeIsLogical_data() {
    QTest::addColumn<QSize>("twips");
    QTest::newRow("small") << QSize(2412, 1068);
    QTest::newRow("wide") << QSize(9600, 1440);
    QTest::newRow("tall") << QSize(4800, 4800);
}

void TestHighDpi::fittedSizeIsLogical() {
    QFETCH(QSize, twips);
    DisplayWindow &w = shownAt(twips.width(), twips.height());
    CountSurface &surface = w.surface();
    const QSize area = surface.size();

    // The fit a ratio-1 screen of the same logical dpi gives, by the plain
    // one-size-at-a-time rule: nothing here depends on device pixels.
    const FontMeasurer ratioOne(surface.drawFont(), kLogicalDpi, kLogicalDpi);
    const int expected = fitFontSizeStepping(
        pixelsToTwips(area.width(), kLogicalDpi), pixelsToTwips(area.height(), kLogicalDpi),
        countShape(surface.shownText()), ratioOne.fitMeasure());
    QCOMPARE(surface.fontSize(), ratioOne.realise(expected));
    QCOMPARE(surface.drawFont().pixelSize(), ratioOne.pixelSize(expected));
}

void TestHighDpi::countIsDrawnAtDeviceResolution() {
    DisplayWindow &w = shownAt(7200, 1440); // 480 x 96 logical pixels
    CountSurface &surface = w.surface();
    const QColor background = surface.palette().color(QPalette::Window);
    const QColor text = surface.palette().color(QPalette::WindowText);

    const QImage grabbed = surface.grab().toImage();
    QCOMPARE(grabbed.devicePixelRatio(), ratio_);
    QCOMPARE(grabbed.size(), QSize(480, 96) * ratio_);

    // The same text in the same font, drawn at ratio 1.
    QImage plain(surface.size(), QImage::Format_RGB32);
    plain.fill(background);
    {
        QPainter p(&plain);
        p.setFont(surface.drawFont());
        p.setPen(text);
        p.drawText(QPointF(4, QFontMetricsF(surface.drawFont()).ascent()), surface.shownText());
    }
    const Ink atRatio = inkOf(grabbed, background, text);
    const Ink atOne = inkOf(plain, background, text);
    QVERIFY2(atOne.full > 500, "the reference text is drawn");

    // As big as at ratio 1, in logical terms: ratio² the ink, ratio times the
    // box.
    const double area = atRatio.full + atRatio.partial;
    const double areaAtOne = (atOne.full + atOne.partial) * ratio_ * ratio_;
    QVERIFY2(qAbs(area / areaAtOne - 1) < 0.1,
             qPrintable(QStringLiteral("ink %1, expected about %2").arg(area).arg(areaAtOne)));
    QVERIFY(qAbs(atRatio.box.width() - atOne.box.width() * ratio_) <= 2 * ratio_);
    QVERIFY(qAbs(atRatio.box.height() - atOne.box.height() * ratio_) <= 2 * ratio_);

    // Sharp: the anti-aliased edge stays about one device pixel wide, so its
    // share of the ink shrinks as the ratio grows. Text drawn at ratio 1 and
    // scaled up keeps (or, smoothed, grows) the ratio-1 share.
    const double share = atRatio.edgeShare(), shareAtOne = atOne.edgeShare();
    qInfo("edge share %.3f at ratio %g, %.3f at ratio 1", share, ratio_, shareAtOne);
    if (ratio_ >= 2)
        QVERIFY(share < 0.75 * shareAtOne);
    else
        QVERIFY(qAbs(share - shareAtOne) < 0.05);
}

QTEST_MAIN(TestHighDpi)
#include "tst_high_dpi.moc"
