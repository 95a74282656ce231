// SPDX-License-Identifier: MIT
// The countdown library and the platform's rules: dates, numbers and texts,
// real seconds in a time zone, the count's layout and fit (on synthetic faces;
// the fit benchmark holds the search to stepping on real ones). Values are
// worked out by hand or elsewhere; "overflow" is a RunError with number 6.

#include "countdown/count_layout.h"
#include "countdown/date_text.h"
#include "countdown/formats.h"
#include "countdown/number_text.h"
#include "countdown/run_error.h"
#include "countdown/twips.h"
#include "platform/session_platform.h"
#include "platform/system_time_zone.h"
#include "platform/zone_file.h"
#include "support/helpers.h"

#include <QtTest>
#include <cmath>
#include <sys/stat.h>

using namespace quennix;
using namespace quennix::test;

namespace {

constexpr double kDpi = 96;

// A synthetic face: `pixelsPerPoint` pixels per point in whole pixels, up to
// `largest`; a character 0.6 of the pixel size wide, a line 1.2 high.
FitMeasure synthetic(double pixelsPerPoint, int largest = 0) {
    const auto px = [=](int size) {
        const int p = qMax(1, qRound(size * pixelsPerPoint));
        return largest ? qMin(p, largest) : p;
    };
    return {[=](int size) { return px(size) * 72.0 / kDpi; },
            [=](const QString &text, int size) {
                return TextExtent{pixelsToTwips(0.6 * px(size) * text.size(), kDpi),
                                  pixelsToTwips(1.2 * px(size), kDpi)};
            }};
}

// What a rule gives, as text, or "overflow".
template <typename F> QString outcome(F &&rule) {
    try {
        return rule();
    } catch (const RunError &e) {
        return e.number() == 6 ? QStringLiteral("overflow") : e.text();
    }
}

} // namespace

class TestRules : public QObject {
    Q_OBJECT
private slots:
    void realSeconds_data();
    void realSeconds();
    void systemZone_data();
    void systemZone();
    void waylandChoice_data();
    void waylandChoice();
    void formats_data();
    void formats();
    void numbers_data();
    void numbers();
    void textToDate_data();
    void textToDate();
    void syntheticFaces_data();
    void syntheticFaces();
    void layout();
};

void TestRules::realSeconds_data() {
    QTest::addColumn<QString>("from");   // a wall time
    QTest::addColumn<QString>("to");     // a wall time, or a number of seconds to move by
    QTest::addColumn<QString>("answer"); // the real seconds between, or the wall time then
    const QString y2000 = "01/01/2000";
    row("London, spring", "28/03/2027 00:59:50", "28/03/2027 03:00", "3610");
    row("London, autumn", "31/10/2027 00:59:40", "31/10/2027 03:00", "10820");
    row("London, skipped hour in GMT", "28/03/2027 00:59:50", "28/03/2027 01:30", "1810");
    row("London, repeated hour: first", "31/10/2027 00:59:40", "31/10/2027 01:30", "1820");
    row("London, time at, after", y2000, "7347600", "26/03/2000 02:00:00 AM");
    row("London, year 100", "01/01/0100", "01/07/0100", "15638400");
    row("London, seconds at year 100", "01/01/0100", y2000, "overflow");
    row("London, time at past 9999", "31/12/9999 23:59:59", "1", "overflow");
}

void TestRules::realSeconds() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, answer);
    const ZoneTable table = london();
    const DateValue start = *quennix::textToDate(from);
    const std::optional<DateValue> end = quennix::textToDate(to);
    QCOMPARE(outcome([&] {
                 return end ? QString::number(secondsBetween(start, *end, table))
                            : dateText(addSeconds(to.toDouble(), start, table));
             }),
             answer);
}

void TestRules::systemZone_data() {
    // TZ ("-": unset) and TZDIR, with a folder D holding London's zone and a
    // FIFO: the file the C library reads, and the offsets in July and December.
    // A file that is there but no regular one is UTC, and never waited on.
    for (const char *column : {"tz", "tzdir", "file", "offsets"})
        QTest::addColumn<QString>(column);
    row("a name", "Europe/London", "", "/usr/share/zoneinfo/Europe/London", "3600 0");
    row("a colon, a name under TZDIR", ":London", "D", "D/London", "3600 0");
    row("empty: Universal", "", "D", "D/Universal", "0 0");
    row("a colon alone: no file", ":", "", "", "0 0");
    row("a rule", "<+0530>-5:30", "", "/usr/share/zoneinfo/<+0530>-5:30", "19800 19800");
    row("a FIFO", ":D/fifo", "", "D/fifo", "0 0");
    row("unset: the system's", "-", "D", "/etc/localtime", "-");
}

void TestRules::systemZone() {
    QFETCH(QString, tz);
    QFETCH(QString, tzdir);
    QFETCH(QString, file);
    QFETCH(QString, offsets);
    QTemporaryDir dir;
    QFile::link("/usr/share/zoneinfo/Europe/London", dir.filePath("London"));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("fifo")), 0600), 0);
    const auto at = [&](QString s) {
        return s.replace(QRegularExpression("^(:?)D"), "\\1" + dir.path()).toLocal8Bit();
    };
    const QByteArray value = at(tz), folder = at(tzdir);
    const auto restore = qScopeGuard([] { qputenv("TZ", "Europe/London"), qunsetenv("TZDIR"); });
    tz == "-" ? qunsetenv("TZ") : qputenv("TZ", value);
    qputenv("TZDIR", folder);
    const char *named = tz == "-" ? nullptr : value.constData();
    QCOMPARE(zoneFileFor(named, folder.constData()), at(file).toStdString());
    const SystemTimeZone zone; // a FIFO would keep it waiting
    const auto offset = [&](int m) { return QString::number(zone.offsetAt(utc(2027, m, 1))); };
    QCOMPARE(offsets == "-" ? offsets : offset(7) + ' ' + offset(12), offsets);
    QCOMPARE(zone.revision(), quint64(1)); // read once, when made: no tick reads it again
    ::tzset(); // as Qt does before its own conversions: no waiting either
}

void TestRules::waylandChoice_data() {
    // QT_QPA_PLATFORM|XDG_SESSION_TYPE|WAYLAND_DISPLAY|DISPLAY: the platforms asked for (X11
    // first where XWayland is, unless the user named one), and the line when none opens.
    for (const char *column : {"env", "asked", "noDisplay"})
        QTest::addColumn<QString>(column);
    const QString both = "the display \":0\", nor the Wayland display \"wayland-0\"";
    row("a Wayland session", "|Wayland||:0", "xcb;wayland", both);
    row("the user's", "wayland|wayland||:0", "", "the Wayland display \"wayland-0\"");
    row("no X server", "|wayland|wayland-1|", "", "the Wayland display \"wayland-1\"");
    row("an X11 session", "|x11||:0", "", "the display \":0\"");
    row("no DISPLAY", "|||", "", "an X display (DISPLAY is not set)");
    row("options", "vnc:size=8x6|||:0", "", "a display through Qt's \"vnc\" platform");
}

void TestRules::waylandChoice() {
    QFETCH(QString, env);
    QFETCH(QString, asked);
    QFETCH(QString, noDisplay);
    const QStringList v = env.split('|');
    SessionEnvironment session{v[0], v[1], v[2], v[3]};
    QCOMPARE(qtPlatformFor(session), asked);
    if (!asked.isEmpty())
        session.qtPlatform = asked;
    QCOMPARE(noDisplayLine(session), "quennix: cannot open " + noDisplay);
}

void TestRules::formats_data() {
    QTest::addColumn<QString>("pattern"); // "#,##0": the count
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    // (The captions and the calculators' answers: the window tests.)
    row("most negative count", "#,##0", -9223372036854775807.0 - 1, "-9,223,372,036,854,775,808");
    row("one letter, no padding", "h:m:s d/m/y", kEpoch2000 + 0.5, "12:0:0 1/1/0");
    row("midnight, 24-hour", "HH:MM:SS, dd/mm/yyyy", kEpoch2000, "00:00:00, 01/01/2000");
    row("m is month but after an hour", "mm hh:mm dd:mm yy",
        toDateValue(QDate(2021, 3, 7), QTime(9, 4, 3)), "03 09:04 07:03 21");
}

void TestRules::formats() {
    QFETCH(QString, pattern);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(pattern == "#,##0" ? formatCount(qint64(value)) : formatDate(value, pattern), text);
}

void TestRules::numbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value"); // its numeric value
    QTest::addColumn<QString>("whole");
    row("blanks anywhere", " - 1 2\t.\r\n5 ", -12.5, "-12");
    row("exponent D, blanks", "1 d - 2", 0.01, "0");
    row("E without digits", "4E+x", 4.0, "4");
    row("stops at a second point", "1.2.3", 1.2, "1");
    row("no digits", "-.", 0.0, "0");
    row("plus signs", "+7e+2", 700.0, "700");
    row("minus zero is zero", "-0", 0.0, "0");
    row("overflow", "-1E400", -HUGE_VAL, "overflow");
    row("long digits", QString(70000, QLatin1Char('9')), HUGE_VAL, "overflow");
    row("3.5 to even", "3.5", 3.5, "4");
    row("-0.5 to even", "-0.5", -0.5, "0");
    row("above half", "2.5000001", 2.5000001, "3");
    row("top", "2147483647.4", 2147483647.4, "2147483647");
    row("top half rounds out", "2147483647.5", 2147483647.5, "overflow");
    row("bottom half to even", "-2147483648.5", -2147483648.5, "-2147483648");
}

void TestRules::numbers() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(QString, whole);
    const double got = quennix::numericValue(text);
    QCOMPARE(got, value);
    QVERIFY(!std::signbit(got) || value < 0);
    QCOMPARE(outcome([&] { return QString::number(quennix::wholeNumber(got)); }), whole);
}

void TestRules::textToDate_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("date"); // as the settings file writes it; empty: not a date
    row("dashes, blanks", " 1-2-2000 ", "01/02/2000");
    row("points", "31.12.2030 6:00", "31/12/2030 06:00:00 AM");
    row("two-digit years", "31/12/29", "31/12/2029");
    row("year 30 is 1930", "1/1/30", "01/01/1930");
    row("year first", "2000-01-31T13:05:09", "31/01/2000 01:05:09 PM");
    row("month names", "January 1, 2000 13:05", "01/01/2000 01:05:00 PM");
    row("short month name", "9-sep-21", "09/09/2021");
    row("a word that is no month", "9-foo-21", "");
    row("one-digit minutes and seconds", "1/1/2000 1:2:3 PM", "01/01/2000 01:02:03 PM");
    row("before the epoch", "29/12/1899 6:00", "29/12/1899 06:00:00 AM");
    row("year 100", "1/1/100", "");
    row("year 0100", "1/1/0100", "01/01/0100");
    row("the last second", "31/12/9999 23:59:59", "31/12/9999 11:59:59 PM");
    row("leap day", "29/02/2000", "29/02/2000");
    row("29 February, common year", "29/02/2001", "");
    row("month 13", "1/13/2000", "");
    row("year 10000", "1/1/10000", "");
    row("hour 25", "1/1/2000 25:00", "");
    row("12 AM is the hour from midnight", "1/1/2000 12:02 AM", "01/01/2000 12:02:00 AM");
    row("12 PM is noon, a time alone on 30/12/1899", "12:00 pm", "30/12/1899 12:00:00 PM");
    row("13 PM", "13:00 PM", "");
    row("day and month only", "1/2", "");
    row("mixed marks", "1-1/2000", "");
    row("month name glued to numbers", "1Jan2000", "");
    row("a month name and more letters", "1 Septembers 2000", "");
    row("the longest form", "31 - December - 2030 11:59:59 PM", "31/12/2030 11:59:59 PM");
    row("a time, then a number", "1/1/2000 10:00 PM 5", "");
    row("wide digits", QString::fromUtf8("１/１/2000"), "");
}

void TestRules::textToDate() {
    QFETCH(QString, text);
    QFETCH(QString, date);
    const std::optional<DateValue> value = quennix::textToDate(text);
    QCOMPARE(value ? dateText(*value) : QString(), date);
    // The text of a date value reads back as the same date value.
    QVERIFY(!value || quennix::textToDate(date) == value);
}

void TestRules::syntheticFaces_data() {
    QTest::addColumn<double>("pixelsPerPoint");
    QTest::addColumn<int>("largest"); // pixels; 0: grows for ever
    QTest::addColumn<int>("tall");    // the fit in an area 120 px high
    QTest::addColumn<int>("huge");    // the fit in an area nothing fills
    // 4/3 px per point: 95 % of 120 px holds a line of 114 px, a size of 95 px,
    // which size 71 realises and size 72 exceeds. Without end, the fit stops at 2000.
    row("ordinary", 4.0 / 3, 0, 71, 2000);
    row("flat steps of half a pixel", 0.5, 0, 71, 750);
    row("stops at 40 px", 4.0 / 3, 40, 30, 30);
    row("stops at 1 px", 4.0 / 3, 1, 1, 1);
}

void TestRules::syntheticFaces() {
    QFETCH(double, pixelsPerPoint);
    QFETCH(int, largest);
    QFETCH(int, tall);
    QFETCH(int, huge);
    const FitMeasure m = synthetic(pixelsPerPoint, largest);
    const QString text = QStringLiteral("8");
    QCOMPARE(fitFontSize(1e9, pixelsToTwips(120, kDpi), text, m), tall);
    QCOMPARE(fitFontSize(1e9, 1e9, text, m), huge);
    // The search agrees with trying every size, in areas from tiny to huge.
    for (int w = 1; w < 5000; w += 1 + w / 3)
        for (int h = 1; h < 5000; h += 1 + h / 3)
            QCOMPARE(
                fitFontSize(pixelsToTwips(w, kDpi), pixelsToTwips(h, kDpi), text, m),
                fitFontSizeByStepping(pixelsToTwips(w, kDpi), pixelsToTwips(h, kDpi), text, m));
}

void TestRules::layout() {
    const FitMeasure m = synthetic(4.0 / 3);
    // A line or a width exactly at 95 % still fits: 100 px is size 75's.
    QCOMPARE(fitFontSize(1e9, 1800 / kFitMargin, QStringLiteral("8"), m), 75);
    QCOMPARE(fitFontSize(900 / kFitMargin, 1e9, QStringLiteral("8"), m), 75);
    // Ten characters of 0.6 px per pixel size fill 95 % of 400 px at 63 px,
    // which size 47 realises. "-1,234,567" is then 378 x 75.6 px, centred
    // across on its own width and down on the line: (11, 22.2) px.
    const QSizeF area(pixelsToTwips(400, kDpi), pixelsToTwips(120, kDpi));
    const CountLayout first = layoutCount(area, QStringLiteral("-1,234,567"), m);
    QCOMPARE(first.shape, QStringLiteral("88,888,888"));
    QCOMPARE(first.fontSize, 47);
    QCOMPARE(first.topLeft, QPointF(11 * 15, 22.2 * 15));
    // The same shape in the same area keeps the size (a planted one: no fit
    // ran); a new area (twice: 126 px, size 94's 125) or shape is fitted again.
    CountLayout planted = first;
    planted.fontSize = 7;
    QCOMPARE(layoutCount(area, QStringLiteral("-999"), m, planted).fontSize, 7);
    QCOMPARE(layoutCount(area * 2, QStringLiteral("-999"), m, planted).fontSize, 94);
    const CountLayout longer = layoutCount(area, QStringLiteral("-12,345,678"), m, planted);
    QCOMPARE(longer.shape, QStringLiteral("-88,888,888"));
    QVERIFY(longer.fontSize < first.fontSize);
}

QTEST_GUILESS_MAIN(TestRules)
#include "tst_rules.moc"
