// The count follows the wall clock whatever it does between two ticks: set
// forward or back, a suspend of hours, summer time starting or ending. Each
// tick reads the clock afresh; nothing is carried over from earlier ticks.

#include "countdown/base_time.h"
#include "countdown/date_text.h"
#include "support/window_fixture.h"
#include "windows/count_surface.h"
#include "windows/display_window.h"

#include <QtTest>

using namespace quennix;
using namespace quennix::test;

namespace {

QDateTime local(int y, int mo, int d, int h, int mi, int s) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

// The expected count worked out with Qt's calendar rather than the program's
// own date arithmetic: the wall-clock seconds from now to the base time
// (time zones play no part, so both are taken as UTC).
QString expectedCount(const QDateTime &now, const QDateTime &base) {
    const QDateTime wallNow(now.date(), now.time(), Qt::UTC);
    const QDateTime wallBase(base.date(), base.time(), Qt::UTC);
    return QLocale(QLocale::English).toString(wallNow.secsTo(wallBase));
}

} // namespace

class TestClockChanges : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void nextTickShowsTheNewTime_data();
    void nextTickShowsTheNewTime();

private:
    std::unique_ptr<WindowFixture> f_;
};

void TestClockChanges::init() {
    f_ = std::make_unique<WindowFixture>();
}

void TestClockChanges::cleanup() {
    f_.reset();
}

void TestClockChanges::nextTickShowsTheNewTime_data() {
    QTest::addColumn<QDateTime>("base");
    QTest::addColumn<QList<QDateTime>>("clock"); // what the clock says at each tick

    const QDateTime y2000 = local(2000, 1, 1, 0, 0, 0);
    const QDateTime future = local(2030, 12, 31, 23, 59, 59);
    const QDateTime t0 = local(2026, 12, 6, 19, 0, 0);

    QTest::newRow("set forward an hour") << y2000 << QList<QDateTime>{t0, t0.addSecs(3600)};
    QTest::newRow("set back an hour") << future << QList<QDateTime>{t0, t0.addSecs(-3600)};
    // The same time of day on another day: only the date tells the ticks apart.
    QTest::newRow("set forward a whole day") << y2000 << QList<QDateTime>{t0, t0.addDays(1)};
    QTest::newRow("set back a whole day") << future << QList<QDateTime>{t0, t0.addDays(-1)};
    QTest::newRow("set back a whole year") << y2000 << QList<QDateTime>{t0, t0.addYears(-1)};
    QTest::newRow("suspended overnight")
        << future << QList<QDateTime>{t0, t0.addSecs(1), t0.addSecs(9 * 3600 + 17)};
    QTest::newRow("suspended a week") << y2000 << QList<QDateTime>{t0, t0.addDays(7)};
    QTest::newRow("there and back again")
        << future << QList<QDateTime>{t0, t0.addSecs(1), t0.addSecs(-86400 * 3 + 5), t0.addSecs(2)};
    QTest::newRow("twelve hours: AM becomes PM")
        << y2000 << QList<QDateTime>{local(2026, 6, 1, 1, 2, 3), local(2026, 6, 1, 13, 2, 3)};
    // Europe/London: the clock skips 01:00-02:00 on 29 March 2026 and repeats
    // it on 25 October 2026; the count follows the wall clock.
    QTest::newRow("summer time starts")
        << future << QList<QDateTime>{local(2026, 3, 29, 0, 59, 59), local(2026, 3, 29, 2, 0, 0)};
    QTest::newRow("summer time ends")
        << y2000
        << QList<QDateTime>{local(2026, 10, 25, 1, 59, 59),
                            local(2026, 10, 25, 1, 59, 59).addSecs(1)};
    QTest::newRow("from before the base time to after it")
        << future
        << QList<QDateTime>{future.addSecs(-5), future, future.addSecs(1), future.addDays(2)};
}

void TestClockChanges::nextTickShowsTheNewTime() {
    QFETCH(QDateTime, base);
    QFETCH(QList<QDateTime>, clock);
    f_->state.baseTime = BaseTime::fromText(dateText(toDateValue(base)));
    f_->fakes.clock.set(clock.first());
    CountSurface &surface = f_->shown(1).surface();

    for (const QDateTime &now : clock) {
        f_->fakes.clock.set(now);
        surface.Timer1_Timer();
        QCOMPARE(surface.shownText(), expectedCount(now, base));
        // A second tick within the same second changes nothing.
        surface.Timer1_Timer();
        QCOMPARE(surface.shownText(), expectedCount(now, base));
    }
    QVERIFY(f_->fakes.dialogs.shown.empty());
}

QTEST_MAIN(TestClockChanges)
#include "tst_clock_changes.moc"
