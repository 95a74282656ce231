// Termination signals arrive as a Qt signal on the event loop, and a second
// one while the first is handled is not lost.

#include "platform/termination_requests.h"

#include <QSignalSpy>
#include <QtTest>

#include <csignal>

using namespace quennix;

class TestTermination : public QObject {
    Q_OBJECT
private slots:
    void signalBecomesARequest_data();
    void signalBecomesARequest();
};

void TestTermination::signalBecomesARequest_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void TestTermination::signalBecomesARequest() {
    QFETCH(int, signalNumber);
    TerminationRequests requests;
    QSignalSpy spy(&requests, &TerminationRequests::requested);
    // Without the handler this would end the test program.
    ::raise(signalNumber);
    ::raise(signalNumber);
    QTRY_COMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).toInt(), signalNumber);
}

QTEST_GUILESS_MAIN(TestTermination)
#include "tst_termination.moc"
