#include "countdown/base_time.h"
#include "countdown/date_text.h"
#include "countdown/run_error.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QTest>

using namespace quennix;

namespace {

DateValue at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return toDateValue(QDate(y, mo, d), QTime(h, mi, s));
}

// A time alone is that time on the epoch's day.
DateValue timeOnly(int h, int mi, int s = 0) {
    return (h * 3600 + mi * 60 + s) / 86400.0;
}

} // namespace

class TestDateText : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void dateText_data();
    void dateText();
    void accepted_data();
    void accepted();
    void rejected_data();
    void rejected();
    void longTextIsReadQuickly_data();
    void longTextIsReadQuickly();
    void roundTrip_data();
    void roundTrip();
    void baseTime_data();
    void baseTime();
};

void TestDateText::initTestCase() {
    // Settings files must read the same everywhere: run under a locale whose
    // own date and number habits differ.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestDateText::dateText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("midnight has no time") << kEpoch2000 << "01/01/2000";
    QTest::newRow("last second of a year")
        << at(2030, 12, 31, 23, 59, 59) << "31/12/2030 11:59:59 PM";
    QTest::newRow("noon") << at(2000, 1, 1, 12) << "01/01/2000 12:00:00 PM";
    QTest::newRow("one second past midnight")
        << at(2000, 1, 1, 0, 0, 1) << "01/01/2000 12:00:01 AM";
    QTest::newRow("before the epoch") << -1.25 << "29/12/1899 06:00:00 AM";
    QTest::newRow("year 100") << -657434.0 << "01/01/0100";
}

void TestDateText::dateText() {
    QFETCH(double, value);
    QFETCH(QString, text);

    QCOMPARE(quennix::dateText(value), text);
}

void TestDateText::accepted_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    // Day first, numeric.
    QTest::newRow("dd/mm/yyyy") << "01/01/2000" << kEpoch2000;
    QTest::newRow("d/m/yyyy") << "1/2/2000" << at(2000, 2, 1);
    QTest::newRow("dashes") << "1-2-2000" << at(2000, 2, 1);
    QTest::newRow("leap day") << "29/02/2000" << at(2000, 2, 29);
    QTest::newRow("year 00") << "1/1/00" << at(2000, 1, 1);
    QTest::newRow("year 29") << "1/1/29" << at(2029, 1, 1);
    QTest::newRow("year 30") << "1/1/30" << at(1930, 1, 1);
    QTest::newRow("year 99") << "31/12/99" << at(1999, 12, 31);
    QTest::newRow("year 0100") << "01/01/0100" << at(100, 1, 1);
    QTest::newRow("with 12-hour time") << "31/12/2030 11:59:59 PM" << at(2030, 12, 31, 23, 59, 59);
    QTest::newRow("with 24-hour time") << "1/1/2000 13:05" << at(2000, 1, 1, 13, 5);
    QTest::newRow("tab before time") << "1/1/2000\t13:05" << at(2000, 1, 1, 13, 5);
    QTest::newRow("12 AM is midnight") << "1/1/2000 12:00:00 AM" << kEpoch2000;
    QTest::newRow("surrounding blanks") << "  01/01/2000  " << kEpoch2000;
    QTest::newRow("last second") << "31/12/9999 11:59:59 PM" << at(9999, 12, 31, 23, 59, 59);

    // Year first.
    QTest::newRow("yyyy-mm-dd") << "2000-01-31" << at(2000, 1, 31);
    QTest::newRow("yyyy/mm/dd") << "2000/01/31" << at(2000, 1, 31);
    QTest::newRow("yyyy-m-d") << "2000-1-5" << at(2000, 1, 5);
    QTest::newRow("year first with time") << "2000-01-31 13:05" << at(2000, 1, 31, 13, 5);
    QTest::newRow("year first, T") << "2000-01-31T13:05:09" << at(2000, 1, 31, 13, 5, 9);
    QTest::newRow("year first, t") << "2000-01-31t13:05" << at(2000, 1, 31, 13, 5);

    // Month names.
    QTest::newRow("1 January 2000") << "1 January 2000" << kEpoch2000;
    QTest::newRow("1-Jan-2000") << "1-Jan-2000" << kEpoch2000;
    QTest::newRow("January 1, 2000") << "January 1, 2000" << kEpoch2000;
    QTest::newRow("lower-case name, time") << "1 jan 2000 13:05" << at(2000, 1, 1, 13, 5);
    QTest::newRow("upper-case name") << "1 JANUARY 2000" << kEpoch2000;
    QTest::newRow("short name first") << "Sep 9, 2021" << at(2021, 9, 9);
    QTest::newRow("name, two-digit year") << "9 Sep 21" << at(2021, 9, 9);
    QTest::newRow("name, comma before year") << "1 May, 2000" << at(2000, 5, 1);

    // A time alone.
    QTest::newRow("h:mm") << "6:00" << 0.25;
    QTest::newRow("h:mm PM") << "6:00 PM" << 0.75;
    QTest::newRow("PM without blank") << "6:00PM" << 0.75;
    QTest::newRow("lower-case pm") << "12:00 pm" << 0.5;
    QTest::newRow("12 AM") << "12:00 AM" << 0.0;
    QTest::newRow("h:mm:ss am") << "12:30:15 am" << timeOnly(0, 30, 15);
    QTest::newRow("0:00") << "0:00" << 0.0;
    QTest::newRow("23:59:59") << "23:59:59" << timeOnly(23, 59, 59);
}

void TestDateText::accepted() {
    QFETCH(QString, text);
    QFETCH(double, value);

    const std::optional<DateValue> read = textToDate(text);
    QVERIFY(read.has_value());
    QCOMPARE(secondsSinceEpoch(*read), secondsSinceEpoch(value));
}

void TestDateText::rejected_data() {
    QTest::addColumn<QString>("text");

    QTest::newRow("31 February") << "31/02/2001";
    QTest::newRow("29 February, common year") << "29/02/2001";
    QTest::newRow("day 0") << "00/01/2000";
    QTest::newRow("month 13") << "1/13/2000";
    QTest::newRow("year 99, four digits") << "1/1/0099";
    QTest::newRow("year 10000") << "1/1/10000";
    QTest::newRow("one-digit year") << "1/2/3";
    QTest::newRow("three-digit year") << "1/1/200";
    QTest::newRow("mixed separators") << "1-1/2000";
    QTest::newRow("hour 25") << "25:00";
    QTest::newRow("minute 60") << "12:60";
    QTest::newRow("second 60") << "6:00:60";
    QTest::newRow("13 PM") << "13:00 PM";
    QTest::newRow("0 AM") << "0:30 AM";
    QTest::newRow("bad time after date") << "01/01/2000 25:00";
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "   ";
    QTest::newRow("word") << "abc";
    QTest::newRow("day and month only") << "1/2";
    QTest::newRow("four parts") << "1/2/3/4";
    QTest::newRow("four parts, valid start") << "1/2/2000/4";
    QTest::newRow("year alone") << "2000";
    QTest::newRow("hour alone") << "6";
    QTest::newRow("hour and colon") << "6:";
    QTest::newRow("dangling colon") << "6:00:";
    QTest::newRow("date then word") << "1/1/2000 x";
    QTest::newRow("time then word") << "1/1/2000 13:05 x";
    QTest::newRow("date glued to letter") << "1/1/2000x";
    QTest::newRow("time glued to AM/PM word") << "6:00 AMX";
    QTest::newRow("T after day-first date") << "1/1/2000T13:05";
    QTest::newRow("comma before time") << "1/1/2000, 13:05";
    QTest::newRow("unknown month") << "1 Janu 2000";
    QTest::newRow("not a month") << "Foo 1, 2000";
    QTest::newRow("name without year") << "1 January";
    QTest::newRow("name glued to numbers") << "1Jan2000";
    QTest::newRow("wide digits") << QString::fromUtf8("１/１/2000");
    QTest::newRow("many digits") << "1/1/00002000";
}

void TestDateText::rejected() {
    QFETCH(QString, text);

    const std::optional<DateValue> read = textToDate(text);
    QVERIFY2(!read.has_value(), qPrintable(QString::number(read.value_or(0), 'f', 6)));
}

void TestDateText::longTextIsReadQuickly_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");

    constexpr int kSize = 2'000'000;
    QTest::newRow("digits") << QString(kSize, QLatin1Char('1')) << false;
    QTest::newRow("letters") << QString(kSize, QLatin1Char('a')) << false;
    QTest::newRow("slashes") << QString("1/").repeated(kSize / 2) << false;
    QTest::newRow("blanks around a date")
        << QString(kSize, QLatin1Char(' ')) + "1/1/2000" + QString(kSize, QLatin1Char(' ')) << true;
    QTest::newRow("date then blanks and junk")
        << "1/1/2000" + QString(kSize, QLatin1Char(' ')) + "x" << false;
}

void TestDateText::longTextIsReadQuickly() {
    QFETCH(QString, text);
    QFETCH(bool, accepted);

    QElapsedTimer timer;
    timer.start();
    QCOMPARE(textToDate(text).has_value(), accepted);
    QVERIFY2(timer.elapsed() < 5000, "reading took too long");
}

void TestDateText::roundTrip_data() {
    QTest::addColumn<qint64>("firstSecond");
    QTest::addColumn<qint64>("step");
    QTest::addColumn<int>("count");

    const qint64 day = 86400;
    const qint64 first = -657434 * day;    // 1 January 100
    const qint64 last = 2958466 * day - 1; // 31 December 9999 23:59:59
    // An odd step that is no multiple of a minute visits all kinds of dates and times.
    QTest::newRow("whole calendar")
        << first << qint64(7919) * 193 << int((last - first) / (7919 * 193));
    QTest::newRow("first days") << first << qint64(997) << 500;
    QTest::newRow("last days") << last - 500 * 997 << qint64(997) << 501;
    QTest::newRow("around the epoch") << -3 * day << qint64(1733) << 400;
    QTest::newRow("every second of a noon") << 36526 * day + 43200 - 120 << qint64(1) << 240;
}

void TestDateText::roundTrip() {
    QFETCH(qint64, firstSecond);
    QFETCH(qint64, step);
    QFETCH(int, count);

    for (int i = 0; i < count; ++i) {
        const qint64 seconds = firstSecond + i * step;
        const QString text = quennix::dateText(dateValueFromSeconds(seconds));
        const std::optional<DateValue> read = textToDate(text);
        QVERIFY2(read.has_value(), qPrintable(text));
        QCOMPARE(secondsSinceEpoch(*read), seconds);
    }
}

void TestDateText::baseTime_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isDate");
    QTest::addColumn<double>("value");

    QTest::newRow("date") << "31/12/2030 11:59:59 PM" << true << at(2030, 12, 31, 23, 59, 59);
    QTest::newRow("other spelling kept") << "1 Jan 2000" << true << kEpoch2000;
    QTest::newRow("not a date") << "next Tuesday" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
}

void TestDateText::baseTime() {
    QFETCH(QString, text);
    QFETCH(bool, isDate);
    QFETCH(double, value);

    // Text read from the settings file is written back as it was.
    const BaseTime fromText = BaseTime::fromText(text);
    QVERIFY(fromText.holdsText());
    QCOMPARE(fromText.text(), text);
    try {
        QCOMPARE(secondsSinceEpoch(fromText.value()), secondsSinceEpoch(value));
        QVERIFY2(isDate, "no error raised");
    } catch (const RunError &e) {
        QVERIFY2(!isDate, qPrintable(e.errText()));
        QCOMPARE(e.number(), 13);
    }

    // A value set directly is written as its date text.
    const BaseTime fromValue(value);
    QVERIFY(!fromValue.holdsText());
    QCOMPARE(fromValue.text(), quennix::dateText(value));
    QCOMPARE(BaseTime().value(), kEpoch2000);
}

QTEST_GUILESS_MAIN(TestDateText)
#include "tst_date_text.moc"
