// The count's layout: the shape fitted for, the largest font that fits (real
// faces on the offscreen platform, synthetic faces for the corners real ones
// rarely show), and where the text goes.

#include "countdown/count_layout.h"
#include "countdown/font_measurer.h"
#include "countdown/number_text.h"
#include "support/rows.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QtTest>

using namespace quennix;
using quennix::test::row;

namespace {

constexpr double kDpi = 96;

// A synthetic face: `pixelsPerPoint` pixels per point realised to whole
// pixels (or to the nearest of `sizes`, a bitmap face), stopping at `largest`
// pixels; every character 0.6 of the size wide, a line 1.2 high.
FitMeasure synthetic(double pixelsPerPoint, int largest = 0, QList<int> sizes = {}) {
    const auto px = [=](int size) {
        int p = qMax(1, qRound(size * pixelsPerPoint));
        if (!sizes.isEmpty()) { // the largest size not above, else the smallest
            int best = sizes.front();
            for (int s : sizes)
                best = s <= p ? s : best;
            p = best;
        }
        return largest ? qMin(p, largest) : p;
    };
    return {[=](int size) { return px(size) * 72.0 / kDpi; },
            [=](const QString &text, int size) {
                return TextExtent{pixelsToTwips(0.6 * px(size) * text.size(), kDpi),
                                  pixelsToTwips(1.2 * px(size), kDpi)};
            }};
}

// The rule tried one size at a time from 2 up, as the search must agree with.
int stepping(double w, double h, const QString &text, const FitMeasure &m) {
    const FitRule rule(w, h, text, m);
    int size = 2;
    while (!rule.fails(size))
        ++size;
    return rule.answer(size);
}

} // namespace

class TestCountLayout : public QObject {
    Q_OBJECT
private slots:
    void realFaces_data();
    void realFaces();
    void syntheticFaces_data();
    void syntheticFaces();
    void layout();
};

void TestCountLayout::realFaces_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("italic");
    row("sans", "DejaVu Sans", false);
    row("serif italic", "DejaVu Serif", true);
    row("mono", "DejaVu Sans Mono", false);
}

void TestCountLayout::realFaces() {
    QFETCH(QString, family);
    QFETCH(bool, italic);
    if (!QFontDatabase::families().contains(family))
        QSKIP("the face is not installed (fonts-dejavu-core)");
    QFont face(family);
    face.setBold(true);
    face.setItalic(italic);
    const FontMeasurer m(face, kDpi, kDpi);
    const FitMeasure fm = m.fitMeasure();
    // Both bounds keep 5 % free: the size chosen fits, the next one does not.
    const auto fits = [&](int size, double w, double h, const QString &text) {
        return double(float(0.95 * h)) >= m.measure(QStringLiteral("8"), size).height &&
               double(float(0.95 * w)) >= m.measure(text, size).width;
    };
    for (QSize px :
         {QSize(159, 50), QSize(400, 60), QSize(60, 400), QSize(1920, 1080), QSize(3840, 2160)}) {
        const double w = pixelsToTwips(px.width(), kDpi), h = pixelsToTwips(px.height(), kDpi);
        for (const QString &shape :
             {QStringLiteral("88,888,888"), QStringLiteral("-888,888,888")}) {
            const int size = fitFontSize(w, h, shape, fm);
            QVERIFY(fits(size, w, h, shape) && !fits(size + 1, w, h, shape));
            QCOMPARE(size, stepping(w, h, shape, fm));
        }
    }
    // Too small even for size 2: the whole number of the realised size 1.
    QCOMPARE(fitFontSize(30, 30, widestCountTemplate(), fm), qRound(m.realise(1)));
}

void TestCountLayout::syntheticFaces_data() {
    QTest::addColumn<double>("pixelsPerPoint");
    QTest::addColumn<int>("largest");      // pixels; 0: grows for ever
    QTest::addColumn<QList<int>>("sizes"); // a bitmap face's pixel sizes
    QTest::addColumn<int>("tall");         // the fit in an area 120 px high
    QTest::addColumn<int>("huge");         // the fit in an area nothing fills
    // 4/3 px per point: 95 % of 120 px holds a line of 114 px, a size of 95 px,
    // which size 71 realises and size 72 exceeds. Without end, the fit stops at
    // size 2000; a face that stops growing stops it where it stops.
    row("ordinary", 4.0 / 3, 0, QList<int>(), 71, 2000);
    row("flat steps of half a pixel", 0.5, 0, QList<int>(), 71, 750);
    row("stops at 40 px", 4.0 / 3, 40, QList<int>(), 30, 30);
    row("stops at 1 px", 4.0 / 3, 1, QList<int>(), 1, 1);
    row("bitmap sizes, a gap wider than a doubling", 4.0 / 3, 0, QList<int>{8, 10, 12, 60, 500}, 45,
        375);
}

void TestCountLayout::syntheticFaces() {
    QFETCH(double, pixelsPerPoint);
    QFETCH(int, largest);
    QFETCH(QList<int>, sizes);
    QFETCH(int, tall);
    QFETCH(int, huge);
    const FitMeasure m = synthetic(pixelsPerPoint, largest, sizes);
    const QString text = QStringLiteral("8");
    QCOMPARE(fitFontSize(1e9, pixelsToTwips(120, kDpi), text, m), tall);
    QCOMPARE(fitFontSize(1e9, 1e9, text, m), huge);
    // The search agrees with trying every size, over areas from tiny to huge.
    for (int w = 1; w < 5000; w += 1 + w / 3)
        for (int h = 1; h < 5000; h += 1 + h / 3)
            QCOMPARE(fitFontSize(pixelsToTwips(w, kDpi), pixelsToTwips(h, kDpi), text, m),
                     stepping(pixelsToTwips(w, kDpi), pixelsToTwips(h, kDpi), text, m));
}

void TestCountLayout::layout() {
    const FitMeasure m = synthetic(4.0 / 3);
    const QSizeF area(pixelsToTwips(400, kDpi), pixelsToTwips(120, kDpi));
    const CountLayout first = layoutCount(area, QStringLiteral("-1,234"), m);
    QCOMPARE(first.shape, QStringLiteral("88,888,888"));
    // Ten characters of 0.6 px per pixel size fill 95 % of 400 px at 63 px,
    // which size 47 realises. "-1,234" is then 226.8 x 75.6 px, centred
    // across on its own width and down on the line: (86.6, 22.2) px.
    QCOMPARE(first.fontSize, 47);
    QCOMPARE(first.topLeft, QPointF(86.6 * 15, 22.2 * 15));

    // The same shape in the same area keeps the size (here a planted one, to
    // see that no fit ran); a new area or a new shape is fitted again.
    CountLayout planted = first;
    planted.fontSize = 7;
    QCOMPARE(layoutCount(area, QStringLiteral("-999"), m, planted).fontSize, 7);
    QCOMPARE(layoutCount(area * 2, QStringLiteral("-999"), m, planted).fontSize,
             fitFontSize(area.width() * 2, area.height() * 2, first.shape, m));
    QCOMPARE(layoutCount(area, QStringLiteral("-12,345,678"), m, planted).shape,
             QStringLiteral("-88,888,888"));
    QVERIFY(layoutCount(area, QStringLiteral("-12,345,678"), m, planted).fontSize < first.fontSize);
}

QTEST_MAIN(TestCountLayout)
#include "tst_count_layout.moc"
