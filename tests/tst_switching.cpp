// Swapping the framed and the title-less window in place.

#include "startup/settings_file.h"
#include "support/fake_services.h"
#include "windows/form2.h"
#include "windows/window_switcher.h"

#include <QAction>
#include <QTemporaryDir>
#include <QtTest>

using namespace quennix;
using namespace quennix::test;

class TestSwitching : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void switchesInPlace_data();
    void switchesInPlace();
    void doubleClickNeitherMovesNorDrags();

private:
    DisplayWindow &shown(qint32 mode);
    qint32 savedMode() const;
    void settle();

    QTemporaryDir dir_;
    std::unique_ptr<FakeServices> fakes_;
    std::unique_ptr<AppState> state_;
    std::unique_ptr<WindowSwitcher> switcher_;
};

void TestSwitching::init() {
    fakes_ = std::make_unique<FakeServices>();
    state_ = std::make_unique<AppState>();
    state_->settingsPath = dir_.filePath(QStringLiteral("quennix.ini"));
    QFile::remove(state_->settingsPath);
    switcher_ = std::make_unique<WindowSwitcher>(*state_, fakes_->services);
}

void TestSwitching::cleanup() {
    if (DisplayWindow *w = switcher_->current())
        delete &w->widget();
    switcher_.reset();
}

DisplayWindow &TestSwitching::shown(qint32 mode) {
    DisplayWindow &w = switcher_->load(mode);
    w.widget().show();
    if (!QTest::qWaitForWindowExposed(&w.widget()))
        qFatal("window not exposed");
    return w;
}

qint32 TestSwitching::savedMode() const {
    return readSettingsFile(state_->settingsPath).values.mode;
}

void TestSwitching::settle() {
    // The window left is deleted once control returns to the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestSwitching::switchesInPlace_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("how");
    QTest::newRow("framed, double-click") << 2 << "double-click";
    QTest::newRow("framed, No Title") << 2 << "No Title";
    QTest::newRow("title-less, double-click") << 1 << "double-click";
}

void TestSwitching::switchesInPlace() {
    QFETCH(int, from);
    QFETCH(QString, how);
    state_->fontName = QStringLiteral("DejaVu Sans");
    DisplayWindow &me = shown(from);
    me.setFontName(state_->fontName);
    me.setTop(1500);
    me.setLeft(2250);
    me.setHeight(1800);
    me.setWidth(4800);
    me.setFontBold(false);
    me.setFontItalic(true);
    const WindowSettings before = me.settings();

    if (how == QLatin1String("No Title"))
        static_cast<Form2 &>(me).MNoTitle->trigger();
    else
        QTest::mouseDClick(&me.surface(), Qt::LeftButton, {}, QPoint(10, 10));
    settle();

    DisplayWindow *other = switcher_->current();
    QVERIFY(other);
    QCOMPARE(other->tag(), QString::number(3 - from));
    QVERIFY(other->widget().isVisible());
    // The settings file names the window left.
    QCOMPARE(savedMode(), from);
    QCOMPARE(other->top(), before.top);
    QCOMPARE(other->left(), before.left);
    QCOMPARE(other->height(), before.height);
    QCOMPARE(other->width(), before.width);
    QCOMPARE(other->fontName(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(other->fontBold(), false);
    QCOMPARE(other->fontItalic(), true);

    // Back again: everything carried the other way too.
    QTest::mouseDClick(&other->surface(), Qt::LeftButton, {}, QPoint(10, 10));
    settle();
    DisplayWindow *back = switcher_->current();
    QCOMPARE(back->tag(), QString::number(from));
    QCOMPARE(savedMode(), 3 - from);
    QCOMPARE(back->settings().top, before.top);
    QCOMPARE(back->settings().width, before.width);
    QCOMPARE(back->fontItalic(), true);

    // After the new window closes the file names it.
    back->widget().close();
    QCOMPARE(savedMode(), from);
}

void TestSwitching::doubleClickNeitherMovesNorDrags() {
    DisplayWindow &me = shown(1);
    const QPoint place = me.widget().pos();
    // A real double-click: press, release, double-click, release.
    QTest::mouseDClick(&me.surface(), Qt::LeftButton, {}, QPoint(15, 15));
    settle();
    DisplayWindow *other = switcher_->current();
    QVERIFY(other && other->tag() == QLatin1String("2"));
    QCOMPARE(other->widget().pos(), place);
    QVERIFY(!other->dragActive());
    // A release arriving at the new window moves nothing.
    QTest::mouseRelease(&other->surface(), Qt::LeftButton, {}, QPoint(60, 30));
    QCOMPARE(other->widget().pos(), place);
}

QTEST_MAIN(TestSwitching)
#include "tst_switching.moc"
