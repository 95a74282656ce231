#include "countdown/date_value.h"
#include "countdown/formats.h"
#include "countdown/run_error.h"

#include <QTest>
#include <limits>

using namespace quennix;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

DateValue at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return toDateValue(QDate(y, mo, d), QTime(h, mi, s));
}

// Runs an action expected either to give a value or to raise Overflow.
template <typename Action> void expectOverflow(bool overflows, Action action) {
    try {
        action();
        QVERIFY2(!overflows, "no overflow raised");
    } catch (const RunError &e) {
        QVERIFY2(overflows, qPrintable(e.errText()));
        QCOMPARE(e.number(), 6);
    }
}

} // namespace

class TestDateRules : public QObject {
    Q_OBJECT

private slots:
    void dateParts_data();
    void dateParts();
    void outsideCalendar_data();
    void outsideCalendar();
    void seconds_data();
    void seconds();
    void dateTimeRoundTrip();
    void secondsBetween_data();
    void secondsBetween();
    void addSeconds_data();
    void addSeconds();
    void formatCount_data();
    void formatCount();
    void formatDate_data();
    void formatDate();
};

void TestDateRules::dateParts_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<int>("dayOfWeek");

    QTest::newRow("2000") << kEpoch2000 << QDate(2000, 1, 1) << QTime(0, 0) << 6;
    QTest::newRow("epoch") << 0.0 << QDate(1899, 12, 30) << QTime(0, 0) << 6;
    QTest::newRow("afternoon") << kEpoch2000 + (13 * 3600 + 5 * 60 + 9) / 86400.0
                               << QDate(2000, 1, 1) << QTime(13, 5, 9) << 6;
    // Before the epoch the fraction still counts forward from midnight.
    QTest::newRow("-1.25") << -1.25 << QDate(1899, 12, 29) << QTime(6, 0) << 5;
    QTest::newRow("-1.5") << -1.5 << QDate(1899, 12, 29) << QTime(12, 0) << 5;
    QTest::newRow("-0.5") << -0.5 << QDate(1899, 12, 30) << QTime(12, 0) << 6;
    // 1900 was not a leap year.
    QTest::newRow("day 60") << 60.0 << QDate(1900, 2, 28) << QTime(0, 0) << 3;
    QTest::newRow("day 61") << 61.0 << QDate(1900, 3, 1) << QTime(0, 0) << 4;
    QTest::newRow("rounds to next second")
        << 0.4 / 86400 << QDate(1899, 12, 30) << QTime(0, 0) << 6;
    QTest::newRow("rounds to next day") << 0.9999999999 << QDate(1899, 12, 31) << QTime(0, 0) << 7;
    QTest::newRow("first day") << -657434.0 << QDate(100, 1, 1) << QTime(0, 0) << 5;
    QTest::newRow("last second") << 2958465.0 + 86399 / 86400.0 << QDate(9999, 12, 31)
                                 << QTime(23, 59, 59) << 5;
}

void TestDateRules::dateParts() {
    QFETCH(double, value);
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    QFETCH(int, dayOfWeek);

    const DateParts p = quennix::dateParts(value);
    QCOMPARE(QDate(p.year, p.month, p.day), date);
    QCOMPARE(QTime(p.hour, p.minute, p.second), time);
    QCOMPARE(p.dayOfWeek, dayOfWeek);
    QCOMPARE(toDateTime(value), QDateTime(date, time));
}

void TestDateRules::outsideCalendar_data() {
    QTest::addColumn<double>("value");

    QTest::newRow("31 Dec 99") << -657435.0;
    QTest::newRow("late on 31 Dec 99") << -657435.9;
    QTest::newRow("1 Jan 10000") << 2958466.0;
    QTest::newRow("huge") << 1e300;
    QTest::newRow("infinity") << kInf;
    QTest::newRow("NaN") << kNaN;
}

void TestDateRules::outsideCalendar() {
    QFETCH(double, value);

    expectOverflow(true, [&] { quennix::dateParts(value); });
    expectOverflow(true, [&] { toDateTime(value); });
}

void TestDateRules::seconds_data() {
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<double>("value");

    QTest::newRow("epoch") << qint64(0) << 0.0;
    QTest::newRow("noon") << qint64(43200) << 0.5;
    QTest::newRow("next day") << qint64(86400) << 1.0;
    QTest::newRow("2000") << qint64(36526) * 86400 << kEpoch2000;
    QTest::newRow("noon the day before") << qint64(-43200) << -1.5;
    QTest::newRow("6:00 the day before") << qint64(-64800) << -1.25;
    QTest::newRow("midnight the day before") << qint64(-86400) << -1.0;
    QTest::newRow("last second before") << qint64(-1) << -1.0 - 86399 / 86400.0;
    QTest::newRow("first second of year 100") << qint64(-657434) * 86400 << -657434.0;
    QTest::newRow("last second of 9999")
        << qint64(2958466) * 86400 - 1 << 2958465.0 + 86399 / 86400.0;
}

void TestDateRules::seconds() {
    QFETCH(qint64, seconds);
    QFETCH(double, value);

    QCOMPARE(dateValueFromSeconds(seconds), value);
    QCOMPARE(secondsSinceEpoch(value), seconds);
}

void TestDateRules::dateTimeRoundTrip() {
    // Milliseconds are dropped, never rounded up into the next second.
    const QDateTime local(QDate(2000, 1, 1), QTime(13, 5, 9, 999));
    const DateValue value = toDateValue(local);
    QCOMPARE(secondsSinceEpoch(value), qint64(36526) * 86400 + 13 * 3600 + 5 * 60 + 9);
    QCOMPARE(toDateTime(value), QDateTime(QDate(2000, 1, 1), QTime(13, 5, 9)));
}

void TestDateRules::secondsBetween_data() {
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("second");
    QTest::addColumn<bool>("overflows");
    QTest::addColumn<int>("expected");

    QTest::newRow("a day") << kEpoch2000 << kEpoch2000 + 1 << false << 86400;
    QTest::newRow("same instant, two spellings") << -0.5 << 0.5 << false << 0;
    QTest::newRow("across the epoch") << -1.25 << 0.0 << false << 64800;
    QTest::newRow("across the epoch, negative") << 0.25 << -1.75 << false << -43200;
    // Wall-clock arithmetic: the night the clocks go forward still has 3 hours
    // between midnight and 3:00.
    QTest::newRow("clocks go forward") << at(2021, 3, 28) << at(2021, 3, 28, 3) << false << 10800;
    QTest::newRow("clocks go back") << at(2021, 10, 31) << at(2021, 10, 31, 3) << false << 10800;
    QTest::newRow("largest") << 0.0 << dateValueFromSeconds(2147483647) << false << 2147483647;
    QTest::newRow("past largest") << 0.0 << dateValueFromSeconds(2147483648LL) << true << 0;
    QTest::newRow("smallest") << dateValueFromSeconds(2147483648LL) << 0.0 << false
                              << int(-2147483648LL);
    QTest::newRow("past smallest") << dateValueFromSeconds(2147483649LL) << 0.0 << true << 0;
    QTest::newRow("whole calendar") << -657434.0 << 2958465.0 << true << 0;
    QTest::newRow("NaN") << kNaN << 0.0 << true << 0;
    QTest::newRow("infinity") << 0.0 << kInf << true << 0;
}

void TestDateRules::secondsBetween() {
    QFETCH(double, first);
    QFETCH(double, second);
    QFETCH(bool, overflows);
    QFETCH(int, expected);

    expectOverflow(overflows, [&] { QCOMPARE(quennix::secondsBetween(first, second), expected); });
}

void TestDateRules::addSeconds_data() {
    QTest::addColumn<double>("count");
    QTest::addColumn<double>("instant");
    QTest::addColumn<bool>("overflows");
    QTest::addColumn<double>("expected");

    QTest::newRow("one second") << 1.0 << kEpoch2000 << false << at(2000, 1, 1, 0, 0, 1);
    QTest::newRow("a day") << 86400.0 << kEpoch2000 << false << kEpoch2000 + 1;
    QTest::newRow("half to even, down") << 2.5 << kEpoch2000 << false << at(2000, 1, 1, 0, 0, 2);
    QTest::newRow("half to even, up") << 3.5 << kEpoch2000 << false << at(2000, 1, 1, 0, 0, 4);
    QTest::newRow("half to zero") << 0.5 << kEpoch2000 << false << kEpoch2000;
    QTest::newRow("back, half to even")
        << -1.5 << kEpoch2000 << false << at(1999, 12, 31, 23, 59, 58);
    // Moving back past the epoch gives the negative-day form.
    QTest::newRow("back past the epoch") << -21600.0 << 0.0 << false << -1.75;
    QTest::newRow("forward onto the epoch") << 64800.0 << -1.25 << false << 0.0;
    QTest::newRow("beyond 32 bits")
        << 4294967296.0 << kEpoch2000 << false << kEpoch2000 + 4294967296.0 / 86400;
    QTest::newRow("to the last second")
        << 86399.0 << 2958465.0 << false << 2958465.0 + 86399 / 86400.0;
    QTest::newRow("past the last second") << 86400.0 << 2958465.0 << true << 0.0;
    // 1 January 100 00:00:01: the fraction takes the day's sign.
    QTest::newRow("to the first second") << -1.0 << -657434.0 - 1 / 86400.0 << false << -657434.0;
    QTest::newRow("before the first second") << -1.0 << -657434.0 << true << 0.0;
    QTest::newRow("huge count") << 1e300 << kEpoch2000 << true << 0.0;
    QTest::newRow("NaN count") << kNaN << kEpoch2000 << true << 0.0;
    QTest::newRow("infinite count") << kInf << kEpoch2000 << true << 0.0;
    QTest::newRow("NaN instant") << 1.0 << kNaN << true << 0.0;
}

void TestDateRules::addSeconds() {
    QFETCH(double, count);
    QFETCH(double, instant);
    QFETCH(bool, overflows);
    QFETCH(double, expected);

    expectOverflow(overflows, [&] { QCOMPARE(quennix::addSeconds(count, instant), expected); });
}

void TestDateRules::formatCount_data() {
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << qint64(0) << "0";
    QTest::newRow("small negative") << qint64(-5) << "-5";
    QTest::newRow("four digits") << qint64(1000) << "1,000";
    QTest::newRow("negative four digits") << qint64(-1000) << "-1,000";
    QTest::newRow("eight digits") << qint64(88888888) << "88,888,888";
    QTest::newRow("negative nine digits") << qint64(-851234567) << "-851,234,567";
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "9,223,372,036,854,775,807";
    QTest::newRow("smallest") << std::numeric_limits<qint64>::min() << "-9,223,372,036,854,775,808";
}

void TestDateRules::formatCount() {
    QFETCH(qint64, count);
    QFETCH(QString, text);

    QCOMPARE(quennix::formatCount(count), text);
}

void TestDateRules::formatDate_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    const DateValue afternoon = at(2000, 1, 1, 13, 5, 9);
    const DateValue morning = at(2021, 3, 7, 9, 4, 3);

    QTest::newRow("HH:MM:SS AM/PM") << "HH:MM:SS AM/PM" << afternoon << "01:05:09 PM";
    QTest::newRow("hh:mm:ss AM/PM") << "hh:mm:ss AM/PM" << afternoon << "01:05:09 PM";
    QTest::newRow("h:mm:ss AM/PM") << "h:mm:ss AM/PM" << afternoon << "1:05:09 PM";
    QTest::newRow("HH:MM:SS, dd/mm/yyyy")
        << "HH:MM:SS, dd/mm/yyyy" << afternoon << "13:05:09, 01/01/2000";
    QTest::newRow("dd/mm/yyyy, HH:MM:SS AM/PM")
        << "dd/mm/yyyy, HH:MM:SS AM/PM" << afternoon << "01/01/2000, 01:05:09 PM";
    QTest::newRow("dddd, dd mmmm, yyyy")
        << "dddd, dd mmmm, yyyy" << afternoon << "Saturday, 01 January, 2000";

    QTest::newRow("midnight, 12-hour") << "HH:MM:SS AM/PM" << kEpoch2000 << "12:00:00 AM";
    QTest::newRow("noon, 12-hour") << "HH:MM:SS AM/PM" << kEpoch2000 + 0.5 << "12:00:00 PM";
    QTest::newRow("midnight, 24-hour")
        << "HH:MM:SS, dd/mm/yyyy" << kEpoch2000 << "00:00:00, 01/01/2000";
    QTest::newRow("last second, 12-hour")
        << "h:mm:ss AM/PM" << at(2000, 1, 1, 23, 59, 59) << "11:59:59 PM";

    // Single letters do not pad; three and four letters name days and months.
    QTest::newRow("single letters") << "d/m/yy h:m:s" << morning << "7/3/21 9:4:3";
    QTest::newRow("short names") << "ddd d mmm yyyy" << morning << "Sun 7 Mar 2021";
    QTest::newRow("full names") << "dddd mmmm" << morning << "Sunday March";
    QTest::newRow("mixed case letters") << "Dd/mM/YyYy hH:Mm" << morning << "07/03/2021 09:04";
    QTest::newRow("small year pads to four") << "dd/mm/yyyy" << at(100, 1, 1) << "01/01/0100";
    QTest::newRow("two-digit year") << "yy" << at(2009, 1, 1) << "09";

    // "m" is minutes only right after an hour and ":"; elsewhere it is the month.
    QTest::newRow("month before hour") << "mm hh:mm" << morning << "03 09:04";
    QTest::newRow("month after day and colon") << "dd:mm" << morning << "07:03";
    QTest::newRow("month after hour and blank") << "hh mm" << morning << "09 03";
    QTest::newRow("hour without AM/PM") << "h:mm" << afternoon << "13:05";
    QTest::newRow("lower-case am/pm marker") << "h am/pm" << afternoon << "1 PM";
    QTest::newRow("marker first") << "AM/PM h" << morning << "AM 9";
    QTest::newRow("literals kept") << "[x] at h:mm!" << morning << "[x] at 9:04!";
}

void TestDateRules::formatDate() {
    QFETCH(QString, pattern);
    QFETCH(double, value);
    QFETCH(QString, text);

    QCOMPARE(quennix::formatDate(value, pattern), text);
}

QTEST_GUILESS_MAIN(TestDateRules)
#include "tst_date_rules.moc"
