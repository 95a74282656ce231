// The bisecting font fit against the literal rule, trying every size from 2
// up: both must give the same size for every drawing area, with real faces on
// the offscreen platform and with synthetic faces whose sizes snap, stop
// growing or never fail.

#include "countdown/font_fit.h"
#include "countdown/font_measurer.h"
#include "support/fit_reference.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QSet>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <vector>

using namespace quennix;

namespace {

constexpr double kDpi = 96;

// Whole pixel sizes from `from` to `to`: every one while they are small, then
// steps of about 1/`density` of the size. Each pixel changes the fit at small
// sizes; at large ones a step still crosses a few changes, and the stepping
// reference stays affordable. Both ends are always included.
QList<int> ladder(int from, int to, int density) {
    QList<int> v;
    for (int x = from; x < to; x += 1 + x / density)
        v << x;
    v << to;
    return v;
}

QList<int> withScreens(QList<int> v, std::initializer_list<int> screens) {
    v << QList<int>(screens);
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    return v;
}

QList<QSize> grid(const QList<int> &widths, const QList<int> &heights) {
    QList<QSize> areas;
    for (int w : widths)
        for (int h : heights)
            areas << QSize(w, h);
    return areas;
}

// Real metrics measured once per size and text. Both searches read the same
// values, so the comparison is between the searches alone; measuring each
// size only once is what lets the grids be dense (a live measurement at a few
// hundred points costs tens of microseconds).
class MemoMeasure {
public:
    explicit MemoMeasure(const FontMeasurer &m) : m_(m), realised_(kMaxFitSize + 2, NAN) {}

    FitMeasure fitMeasure() {
        return {[this](int size) { return realise(size); },
                [this](const QString &text, int size) { return measure(text, size); }};
    }

private:
    double realise(int size) {
        if (size < 0 || size >= int(realised_.size()))
            return m_.realise(size);
        double &r = realised_[size];
        if (std::isnan(r))
            r = m_.realise(size);
        return r;
    }

    TextExtent measure(const QString &text, int size) {
        if (size < 0 || size >= int(realised_.size()))
            return m_.measure(text, size);
        auto it = std::find_if(extents_.begin(), extents_.end(),
                               [&](const auto &e) { return e.first == text; });
        if (it == extents_.end()) {
            extents_.emplace_back(text, std::vector<TextExtent>(realised_.size(), {-1, -1}));
            it = extents_.end() - 1;
        }
        TextExtent &e = it->second[size];
        if (e.width < 0)
            e = m_.measure(text, size);
        return e;
    }

    const FontMeasurer &m_;
    std::vector<double> realised_;
    std::vector<std::pair<QString, std::vector<TextExtent>>> extents_;
};

struct Face {
    const char *family;
    bool bold, italic;
};

const Face kFaces[] = {
    {"DejaVu Sans", false, false},      {"DejaVu Sans", true, false},
    {"DejaVu Sans", false, true},       {"DejaVu Sans", true, true},
    {"DejaVu Serif", false, false},     {"DejaVu Serif", true, false},
    {"DejaVu Serif", false, true},      {"DejaVu Serif", true, true},
    {"DejaVu Sans Mono", false, false}, {"DejaVu Sans Mono", true, false},
    {"DejaVu Sans Mono", false, true},  {"DejaVu Sans Mono", true, true},
};

const char *const kShapes[] = {"88,888,888", "-888,888,888"};

QString faceName(const QString &family, bool bold, bool italic) {
    return family + (bold ? QStringLiteral(" bold") : QString()) +
           (italic ? QStringLiteral(" italic") : QString());
}

// Compares the two fits over `areas` and returns one line per disagreement.
QStringList disagreements(const QString &what, const QString &shape, const QList<QSize> &areas,
                          const FitMeasure &m, QSet<int> *answers = nullptr) {
    QStringList lines;
    for (const QSize &a : areas) {
        const double sw = pixelsToTwips(a.width(), kDpi);
        const double sh = pixelsToTwips(a.height(), kDpi);
        const int search = fitFontSize(sw, sh, shape, m);
        const int stepping = test::fitFontSizeStepping(sw, sh, shape, m);
        if (answers)
            answers->insert(stepping);
        if (search != stepping)
            lines << QStringLiteral("%1, \"%2\", %3x%4 px: search %5, stepping %6")
                         .arg(what, shape)
                         .arg(a.width())
                         .arg(a.height())
                         .arg(search)
                         .arg(stepping);
    }
    return lines;
}

QFont faceOf(const QString &family, bool bold, bool italic) {
    QFont face(family);
    face.setBold(bold);
    face.setItalic(italic);
    return face;
}

// Another family standing in would compare the searches on the wrong face.
bool installed(const QFont &face) {
    return QFontDatabase::families().contains(face.family()) &&
           QFontInfo(face).family() == face.family();
}

// A synthetic face at 96 dpi: a point size asks for `pixelsPerPoint` pixels
// per point, rounded; the face offers `pixelSizes` (empty: every whole size)
// and draws the largest offered size not above the request, or its smallest.
// Text is 0.6 of the pixel size wide per character and 1.2 of it high.
FitMeasure syntheticMeasure(double pixelsPerPoint, const QList<int> &pixelSizes) {
    // The drawn size for every point size the fit can ask for, worked out once:
    // the sweeps below ask millions of times.
    std::vector<int> drawn(kMaxFitSize + 2);
    for (int size = 0; size < int(drawn.size()); ++size) {
        const int asked = qMax(1, qRound(size * pixelsPerPoint));
        int px = pixelSizes.isEmpty() ? asked : pixelSizes.first();
        for (int p : pixelSizes)
            if (p <= asked)
                px = p;
        drawn[size] = px;
    }
    return {[=](int size) { return drawn.at(size) * 72.0 / kDpi; },
            [=](const QString &text, int size) {
                return TextExtent{pixelsToTwips(0.6 * drawn.at(size) * text.size(), kDpi),
                                  pixelsToTwips(1.2 * drawn.at(size), kDpi)};
            }};
}

QList<int> range(int from, int to) {
    QList<int> v;
    for (int p = from; p <= to; ++p)
        v << p;
    return v;
}

} // namespace

class TestFitEquality : public QObject {
    Q_OBJECT
private slots:
    void realFaces_data();
    void realFaces();
    void syntheticFaces_data();
    void syntheticFaces();
};

void TestFitEquality::realFaces_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QList<QSize>>("areas"); // logical pixels
    // Live rows ask Qt every time, nothing kept between calls; the sweeps
    // keep each size's metrics so dense grids stay affordable.
    QTest::addColumn<bool>("live");
    // Every combination of width and height: the fit moves between the two
    // bounds all over this grid.
    const QList<QSize> areas =
        grid(withScreens(ladder(4, 3840, 24), {1920}), withScreens(ladder(4, 2160, 24), {1080}));
    // Heights at the widest width: the height binds up to 600-800 px,
    // the width above that.
    QList<QSize> tall;
    for (int h : ladder(4, 2160, 400))
        tall << QSize(3840, h);
    // Widths at the tallest height: the width binds everywhere.
    QList<QSize> wide;
    for (int w : ladder(4, 3840, 400))
        wide << QSize(w, 2160);

    // The screen sizes the program meets most, and areas at the small end.
    const QList<QSize> common{{3840, 2160}, {1920, 1080}, {160, 50}, {33, 17}, {4, 4}};

    for (const Face &f : kFaces)
        for (const char *shape : kShapes) {
            const QString face = faceName(QString::fromLatin1(f.family), f.bold, f.italic);
            auto row = [&](const char *sweep, const QList<QSize> &list, bool live) {
                QTest::addRow("%s, %s, %s", qPrintable(face), shape, sweep)
                    << QString::fromLatin1(f.family) << f.bold << f.italic
                    << QString::fromLatin1(shape) << list << live;
            };
            row("grid", areas, false);
            row("heights at 3840 wide", tall, false);
            row("widths at 2160 high", wide, false);
            row("live", common, true);
        }
}

void TestFitEquality::realFaces() {
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(QString, shape);
    QFETCH(QList<QSize>, areas);
    const QFont face = faceOf(family, bold, italic);
    if (!installed(face))
        QSKIP("the face is not installed");

    QFETCH(bool, live);
    const FontMeasurer metrics(face, kDpi, kDpi);
    MemoMeasure memo(metrics);
    QSet<int> answers;
    const QStringList lines =
        disagreements(faceName(family, bold, italic), shape, areas,
                      live ? metrics.fitMeasure() : memo.fitMeasure(), &answers);
    QVERIFY2(
        lines.isEmpty(),
        qPrintable(QStringLiteral("%1 of %2 areas differ:\n").arg(lines.size()).arg(areas.size()) +
                   lines.mid(0, 20).join(QLatin1Char('\n'))));
    // A sweep that never changes the fit would prove nothing.
    if (!live)
        QVERIFY2(answers.size() >= 50,
                 qPrintable(QStringLiteral("only %1 different sizes").arg(answers.size())));
}

void TestFitEquality::syntheticFaces_data() {
    QTest::addColumn<double>("pixelsPerPoint");
    QTest::addColumn<QList<int>>("pixelSizes");

    const QList<int> scalable;
    QTest::newRow("scalable, 4/3 px per point") << 4.0 / 3 << scalable;
    // Below one pixel per point, neighbouring sizes realise alike: flat steps
    // where the realised size stands still for a size or two.
    QTest::newRow("flat steps, 0.75 px per point") << 0.75 << scalable;
    QTest::newRow("flat steps, 0.5 px per point") << 0.5 << scalable;
    QTest::newRow("flat steps, 0.4 px per point") << 0.4 << scalable;
    QTest::newRow("flat steps, 0.3 px per point") << 0.3 << scalable;
    QTest::newRow("flat steps, 0.1 px per point") << 0.1 << scalable;
    // Faces that stop growing: the fit must stop at the face's largest size,
    // however large the area.
    QTest::newRow("stops at 40 px") << 4.0 / 3 << range(1, 40);
    QTest::newRow("stops at 7 px, flat steps") << 0.5 << range(1, 7);
    QTest::newRow("stops at 1 px") << 4.0 / 3 << range(1, 1);
    QTest::newRow("stops at 1500 px") << 4.0 / 3 << range(1, 1500);
    // Bitmap faces: a few sizes, each less than double the one before.
    QTest::newRow("bitmap sizes from 1 px")
        << 4.0 / 3 << QList<int>{1, 2, 3, 4, 6, 8, 10, 12, 14, 18, 24, 32};
    QTest::newRow("bitmap sizes from 8 px") << 4.0 / 3 << QList<int>{8, 10, 11, 13, 16, 19, 24};
    // A gap wider than a doubling: sizes 9 to 29 draw at 12 px, 30 and up at
    // 40 px. The search must neither stop inside the gap nor step over it.
    QList<int> gap = range(1, 12);
    gap << 40;
    QTest::newRow("bitmap sizes with a gap wider than doubling") << 4.0 / 3 << gap;
}

void TestFitEquality::syntheticFaces() {
    QFETCH(double, pixelsPerPoint);
    QFETCH(QList<int>, pixelSizes);
    const FitMeasure m = syntheticMeasure(pixelsPerPoint, pixelSizes);

    // Heights with the width out of the way, widths with the height out of
    // the way, a grid between, and an area no size fails (the fit then stops
    // at the largest size tried). Text width is proportional to its length
    // here, so one shape covers them all.
    constexpr int kHuge = 10'000'000;
    QList<QSize> areas = grid(ladder(0, 8000, 24), ladder(0, 3000, 24));
    for (int h = 0; h <= 3000; ++h)
        areas << QSize(kHuge, h);
    for (int w = 0; w <= 8000; ++w)
        areas << QSize(w, kHuge);
    areas << QSize(kHuge, kHuge);

    const QStringList lines = disagreements(QString::fromLatin1(QTest::currentDataTag()),
                                            QStringLiteral("-888,888,888"), areas, m);
    QVERIFY2(
        lines.isEmpty(),
        qPrintable(QStringLiteral("%1 of %2 areas differ:\n").arg(lines.size()).arg(areas.size()) +
                   lines.mid(0, 10).join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestFitEquality)
#include "tst_fit_equality.moc"
