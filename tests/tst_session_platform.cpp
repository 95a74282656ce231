// Which Qt platform the program asks for under X11, Wayland and neither.

#include "platform/session_platform.h"

#include <QtTest>

using namespace quennix;

class TestSessionPlatform : public QObject {
    Q_OBJECT
private slots:
    void choice_data();
    void choice();
    void readsTheProcessEnvironment();
};

void TestSessionPlatform::choice_data() {
    QTest::addColumn<QString>("qtPlatform");
    QTest::addColumn<QString>("sessionType");
    QTest::addColumn<QString>("waylandDisplay");
    QTest::addColumn<QString>("x11Display");
    QTest::addColumn<QString>("chosen"); // empty: Qt decides

    const QString x11 = QStringLiteral("xcb;wayland");
    QTest::newRow("X11 session") << ""
                                 << "x11"
                                 << ""
                                 << ":0"
                                 << "";
    QTest::newRow("Wayland with XWayland") << ""
                                           << "wayland"
                                           << "wayland-0"
                                           << ":0" << x11;
    QTest::newRow("Wayland display only, with X") << ""
                                                  << ""
                                                  << "wayland-0"
                                                  << ":1" << x11;
    QTest::newRow("Wayland session type only, with X") << ""
                                                       << "wayland"
                                                       << ""
                                                       << ":0" << x11;
    QTest::newRow("session type in capitals") << ""
                                              << "Wayland"
                                              << ""
                                              << ":0" << x11;
    QTest::newRow("nested compositor in an X11 session") << ""
                                                         << "x11"
                                                         << "wayland-1"
                                                         << ":0" << x11;
    QTest::newRow("Wayland without X: native") << ""
                                               << "wayland"
                                               << "wayland-0"
                                               << ""
                                               << "";
    QTest::newRow("user chose wayland") << "wayland"
                                        << "wayland"
                                        << "wayland-0"
                                        << ":0"
                                        << "";
    QTest::newRow("user chose xcb") << "xcb"
                                    << "wayland"
                                    << "wayland-0"
                                    << ":0"
                                    << "";
    QTest::newRow("user chose another platform") << "offscreen"
                                                 << "wayland"
                                                 << "wayland-0"
                                                 << ":0"
                                                 << "";
    QTest::newRow("empty choice is no choice") << ""
                                               << "wayland"
                                               << "wayland-0"
                                               << ":0" << x11;
    QTest::newRow("console, X display only") << ""
                                             << "tty"
                                             << ""
                                             << ":0"
                                             << "";
    QTest::newRow("nothing set") << ""
                                 << ""
                                 << ""
                                 << ""
                                 << "";
}

void TestSessionPlatform::choice() {
    QFETCH(QString, qtPlatform);
    QFETCH(QString, sessionType);
    QFETCH(QString, waylandDisplay);
    QFETCH(QString, x11Display);
    QFETCH(QString, chosen);
    QCOMPARE(qtPlatformFor({qtPlatform, sessionType, waylandDisplay, x11Display}), chosen);
}

void TestSessionPlatform::readsTheProcessEnvironment() {
    qputenv("QT_QPA_PLATFORM", "minimal");
    qputenv("XDG_SESSION_TYPE", "wayland");
    qputenv("WAYLAND_DISPLAY", "wayland-7");
    qputenv("DISPLAY", ":7");
    const SessionEnvironment env = SessionEnvironment::current();
    QCOMPARE(env.qtPlatform, QStringLiteral("minimal"));
    QCOMPARE(env.sessionType, QStringLiteral("wayland"));
    QCOMPARE(env.waylandDisplay, QStringLiteral("wayland-7"));
    QCOMPARE(env.x11Display, QStringLiteral(":7"));

    qunsetenv("QT_QPA_PLATFORM");
    qunsetenv("DISPLAY");
    QCOMPARE(SessionEnvironment::current().qtPlatform, QString());
    QCOMPARE(SessionEnvironment::current().x11Display, QString());
}

QTEST_GUILESS_MAIN(TestSessionPlatform)
#include "tst_session_platform.moc"
