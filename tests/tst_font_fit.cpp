// The font fitting: real font metrics on the offscreen platform, and synthetic
// measures for the corners real faces rarely show.

#include "countdown/font_fit.h"
#include "countdown/font_measurer.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QtTest>

using namespace quennix;

namespace {

constexpr double kDpi = 96;

bool fits(const FontMeasurer &m, int size, double sw, double sh, const QString &widthText) {
    return double(float(kFitMargin * sh)) >= m.measure(QStringLiteral("8"), size).height &&
           double(float(kFitMargin * sw)) >= m.measure(widthText, size).width;
}

// A synthetic face: `pixelsPerPoint` pixels per point, realised to whole pixels,
// optionally stopping at a largest pixel size; text extents grow with it.
FitMeasure syntheticMeasure(double pixelsPerPoint, int largestPixels = 0) {
    auto px = [=](int size) {
        int p = qMax(1, qRound(size * pixelsPerPoint));
        return largestPixels ? qMin(p, largestPixels) : p;
    };
    return {[=](int size) { return px(size) * 72.0 / kDpi; },
            [=](const QString &text, int size) {
                return TextExtent{pixelsToTwips(0.6 * px(size) * text.size(), kDpi),
                                  pixelsToTwips(1.2 * px(size), kDpi)};
            }};
}

} // namespace

class TestFontFit : public QObject {
    Q_OBJECT
private slots:
    void countShape_data();
    void countShape();
    void largestFittingSize_data();
    void largestFittingSize();
    void tinyAreaGetsTheSmallestSize();
    void syntheticCorners_data();
    void syntheticCorners();
};

void TestFontFit::countShape_data() {
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("shape");
    QTest::newRow("short positive") << "5"
                                    << "88,888,888";
    QTest::newRow("seven digits with sign") << "-1,234,567"
                                            << "88,888,888";
    QTest::newRow("eight digits") << "12,345,678"
                                  << "88,888,888";
    QTest::newRow("eight digits with sign") << "-12,345,678"
                                            << "-88,888,888";
    QTest::newRow("nine digits with sign") << "-851,234,567"
                                           << "-888,888,888";
    QTest::newRow("ten digits") << "2,147,483,647"
                                << "8,888,888,888";
}

void TestFontFit::countShape() {
    QFETCH(QString, count);
    QFETCH(QString, shape);
    QCOMPARE(quennix::countShape(count), shape);
}

void TestFontFit::largestFittingSize_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QSize>("area"); // logical pixels
    QTest::addColumn<QString>("shape");

    const QList<QSize> areas{{159, 50}, {161, 71}, {400, 60}, {60, 400}, {1920, 1080}};
    const QStringList shapes{QStringLiteral("88,888,888"), QStringLiteral("-888,888,888")};
    struct Face {
        const char *family;
        bool bold, italic;
    };
    for (const Face &f : {Face{"DejaVu Sans", false, false}, Face{"DejaVu Serif", true, false},
                          Face{"DejaVu Sans Mono", false, true}})
        for (const QSize &a : areas)
            for (const QString &s : shapes)
                QTest::addRow("%s%s%s %dx%d %s", f.family, f.bold ? " bold" : "",
                              f.italic ? " italic" : "", a.width(), a.height(), qPrintable(s))
                    << QString::fromLatin1(f.family) << f.bold << f.italic << a << s;
}

void TestFontFit::largestFittingSize() {
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(QSize, area);
    QFETCH(QString, shape);
    if (!QFontDatabase::families().contains(family))
        QSKIP("the face is not installed");

    QFont face(family);
    face.setBold(bold);
    face.setItalic(italic);
    const FontMeasurer m(face, kDpi, kDpi);
    const double sw = pixelsToTwips(area.width(), kDpi);
    const double sh = pixelsToTwips(area.height(), kDpi);

    const int size = fitFontSize(sw, sh, shape, m.fitMeasure());
    QVERIFY2(fits(m, size, sw, sh, shape), "the chosen size must fit");
    QVERIFY2(!fits(m, size + 1, sw, sh, shape), "the next size must not fit");
}

void TestFontFit::tinyAreaGetsTheSmallestSize() {
    const FontMeasurer m(QFont(QStringLiteral("DejaVu Sans")), kDpi, kDpi);
    // Too small even for size 2: the whole number of the realised size 1.
    QCOMPARE(fitFontSize(30, 30, widestCountTemplate(), m.fitMeasure()), qRound(m.realise(1)));
}

void TestFontFit::syntheticCorners_data() {
    QTest::addColumn<double>("pixelsPerPoint");
    QTest::addColumn<int>("largestPixels");
    QTest::addColumn<double>("areaPixels");
    QTest::addColumn<int>("expected");

    // 4/3 px per point (96 dpi): height 1.2 px per px of size, 95 % of 120 px
    // holds 114 px of text = 95 px of size, the last size realising at most 95 px.
    QTest::newRow("ordinary") << 4.0 / 3 << 0 << 120.0 << 71;
    // Half a pixel per point: consecutive sizes realise alike; those flat steps
    // must not stop the fit.
    QTest::newRow("flat steps") << 0.5 << 0 << 120.0 << 71;
    // A face that stops at 40 px: the fit stops there instead of running on.
    QTest::newRow("stops growing") << 4.0 / 3 << 40 << 100000.0 << 30;
    // A face that keeps fitting: the fit stops at the largest size tried.
    QTest::newRow("largest size") << 4.0 / 3 << 0 << 1e9 << 2000;
}

void TestFontFit::syntheticCorners() {
    QFETCH(double, pixelsPerPoint);
    QFETCH(int, largestPixels);
    QFETCH(double, areaPixels);
    QFETCH(int, expected);
    const FitMeasure m = syntheticMeasure(pixelsPerPoint, largestPixels);
    const double twips = pixelsToTwips(areaPixels, kDpi);
    QCOMPARE(fitFontSize(twips * 100, twips, QStringLiteral("8"), m), expected);
}

QTEST_MAIN(TestFontFit)
#include "tst_font_fit.moc"
