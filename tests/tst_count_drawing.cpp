// Drawing the count on a recording canvas: centring, the error box, when the
// font is fitted again.

#include "countdown/count_drawing.h"
#include "countdown/date_value.h"
#include "support/fake_services.h"

#include <QtTest>

using namespace quennix;
using namespace quennix::test;

namespace {

// A canvas with made-up metrics: each character is 100 twips wide per point
// of size, text is 20 twips high per point.
class RecordingCanvas : public CountCanvas {
public:
    bool visible = true;
    double sw = 3000, sh = 1000;
    double size = 1;
    double x = 0, y = 0;
    QStringList printed;
    QString shape;
    int fits = 0;
    QString face;

    bool isVisible() const override { return visible; }
    double scaleWidth() const override { return sw; }
    double scaleHeight() const override { return sh; }
    void clear() override { x = y = 0; }
    void setCurrentX(double v) override { x = v; }
    void setCurrentY(double v) override { y = v; }
    void print(const QString &text) override { printed << text; }
    double textWidth(const QString &text) const override { return 10.0 * size * text.size(); }
    double textHeight(const QString &) const override { return 20.0 * size; }
    double fontSize() const override { return size; }
    void setFontSize(double points) override { size = points; }
    void setFontName(const QString &name) override { face = name; }
    FitMeasure fitMeasure() const override {
        return {[](int s) { return double(s); },
                [](const QString &text, int s) {
                    return TextExtent{10.0 * s * text.size(), 20.0 * s};
                }};
    }
    QString fittedShape() const override { return shape; }
    void setFittedShape(const QString &s) override {
        shape = s;
        ++fits;
    }
};

QDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

} // namespace

class TestCountDrawing : public QObject {
    Q_OBJECT
private slots:
    void drawsTheCountCentred_data();
    void drawsTheCountCentred();
    void errorsAskToEnd_data();
    void errorsAskToEnd();
    void hiddenCanvasIsNotFitted();
    void refitsOnlyWhenTheShapeChanges();
};

void TestCountDrawing::drawsTheCountCentred_data() {
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<double>("base");
    QTest::addColumn<QString>("text");

    QTest::newRow("one second before 2000") << at(1999, 12, 31, 23, 59, 59) << kEpoch2000 << "1";
    QTest::newRow("past base is negative") << at(2000, 1, 2) << kEpoch2000 << "-86,400";
    QTest::newRow("today") << at(2026, 12, 6, 19, 0, 0) << kEpoch2000 << "-849,898,800";
    QTest::newRow("future base") << at(2026, 12, 6) << toDateValue(at(2027, 1, 1)) << "2,246,400";
}

void TestCountDrawing::drawsTheCountCentred() {
    QFETCH(QDateTime, now);
    QFETCH(double, base);
    QFETCH(QString, text);
    FakeServices f;
    f.clock.set(now);
    AppState state;
    state.baseTime = BaseTime(base);
    RecordingCanvas canvas;
    canvas.shape = countShape(text); // already fitted for this shape
    canvas.size = 7;

    Display_Time(canvas, state, f.services);

    QCOMPARE(canvas.printed, QStringList{text});
    QCOMPARE(canvas.x, (canvas.sw - 70.0 * text.size()) / 2);
    // Centred on one line's height, rounded to a whole twip.
    QCOMPARE(canvas.y, double(qRound((1000 - 140) / 2.0)));
    QVERIFY(f.dialogs.shown.empty());
    QCOMPARE(f.programEnd.count, 0);
}

void TestCountDrawing::errorsAskToEnd_data() {
    QTest::addColumn<QString>("baseText");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("box");

    QTest::newRow("base time not a date")
        << "next tuesday" << at(2026, 12, 6) << "Error(13), Type mismatch\nKIll ME ?";
    QTest::newRow("count beyond 32 bits")
        << "01/01/2000" << at(2070, 1, 1) << "Error(6), Overflow\nKIll ME ?";
}

void TestCountDrawing::errorsAskToEnd() {
    QFETCH(QString, baseText);
    QFETCH(QDateTime, now);
    QFETCH(QString, box);
    FakeServices f;
    f.clock.set(now);
    AppState state;
    state.baseTime = BaseTime::fromText(baseText);
    RecordingCanvas canvas;

    Display_Time(canvas, state, f.services);

    QCOMPARE(f.dialogs.messages(), QStringList{"Display_Time|" + box});
    QCOMPARE(f.dialogs.shown.front().buttons, Dialogs::Buttons::YesNo);
    QCOMPARE(f.dialogs.shown.front().icon, Dialogs::Icon::Question);
    QCOMPARE(f.programEnd.count, 1);
    QVERIFY(canvas.printed.isEmpty());

    // A tick or resize that still comes through draws nothing, asks nothing.
    Display_Time(canvas, state, f.services);
    Fit_Font(canvas, state, f.services);
    QCOMPARE(f.dialogs.shown.size(), size_t(1));
    QVERIFY(canvas.printed.isEmpty());
}

void TestCountDrawing::hiddenCanvasIsNotFitted() {
    FakeServices f;
    AppState state;
    state.fontName = QStringLiteral("Some Face");
    RecordingCanvas canvas;
    canvas.visible = false;
    canvas.size = 7;

    Fit_Font(canvas, state, f.services);

    QCOMPARE(canvas.size, 7.0);
    QVERIFY(canvas.face.isEmpty());
    QVERIFY(canvas.printed.isEmpty());
}

void TestCountDrawing::refitsOnlyWhenTheShapeChanges() {
    FakeServices f;
    AppState state;
    // Base 99,999,999 seconds ahead: eight digits, then nine a second earlier.
    f.clock.set(at(2026, 12, 6));
    state.baseTime = BaseTime(toDateValue(f.clock.now().addSecs(99'999'999)));
    RecordingCanvas canvas;
    canvas.sw = 100000; // width never binds: the fit follows the height

    Fit_Font(canvas, state, f.services);
    QCOMPARE(canvas.fits, 1);
    QCOMPARE(canvas.shape, QStringLiteral("88,888,888"));
    QCOMPARE(canvas.size, 47.0); // 20 twips a point within 95 % of 1000

    f.clock.advance(1);
    Display_Time(canvas, state, f.services);
    QCOMPARE(canvas.fits, 1);

    f.clock.advance(-2); // 100,000,000: a ninth digit
    Display_Time(canvas, state, f.services);
    QCOMPARE(canvas.fits, 2);
    QCOMPARE(canvas.shape, QStringLiteral("888,888,888"));
    QCOMPARE(canvas.printed.last(), QStringLiteral("100,000,000"));
}

QTEST_GUILESS_MAIN(TestCountDrawing)
#include "tst_count_drawing.moc"
