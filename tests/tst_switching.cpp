// Swapping the framed and the title-less window in place.

#include "startup/settings_file.h"
#include "support/window_fixture.h"
#include "windows/form2.h"
#include "windows/window_switcher.h"

#include <QAction>
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
    qint32 savedMode() const;

    std::unique_ptr<WindowFixture> f_;
};

void TestSwitching::init() {
    f_ = std::make_unique<WindowFixture>();
}

void TestSwitching::cleanup() {
    f_.reset();
}

qint32 TestSwitching::savedMode() const {
    return readSettingsFile(f_->state.settingsPath, kEpoch2000).values.mode;
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
    f_->state.fontName = QStringLiteral("DejaVu Sans");
    DisplayWindow &me = f_->shown(from);
    me.setFontName(f_->state.fontName);
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
    WindowFixture::settle();

    DisplayWindow *other = f_->switcher.current();
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
    WindowFixture::settle();
    DisplayWindow *back = f_->switcher.current();
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
    DisplayWindow &me = f_->shown(1);
    const QPoint place = me.widget().pos();
    // A real double-click: press, release, double-click, release.
    QTest::mouseDClick(&me.surface(), Qt::LeftButton, {}, QPoint(15, 15));
    WindowFixture::settle();
    DisplayWindow *other = f_->switcher.current();
    QVERIFY(other && other->tag() == QLatin1String("2"));
    QCOMPARE(other->widget().pos(), place);
    QVERIFY(!other->dragActive());
    // A release arriving at the new window moves nothing.
    QTest::mouseRelease(&other->surface(), Qt::LeftButton, {}, QPoint(60, 30));
    QCOMPARE(other->widget().pos(), place);
}

QTEST_MAIN(TestSwitching)
#include "tst_switching.moc"
