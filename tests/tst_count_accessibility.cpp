// What a screen reader learns about the count: its name (what is counted, as
// the framed window's caption says it) and its description (the count drawn),
// and how often the description changes.

#include "commands/menu_commands.h"
#include "countdown/count_drawing.h"
#include "support/window_fixture.h"
#include "windows/form2.h"
#include "windows/window_switcher.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QtTest>

using namespace quennix;
using namespace quennix::test;

namespace {

QString accessibleText(QObject *object, QAccessible::Text which) {
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(which) : QStringLiteral("<no interface>");
}

} // namespace

class TestCountAccessibility : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void nameSaysWhatIsCounted_data();
    void nameSaysWhatIsCounted();
    void nameFollowsTheBaseTimeCommand();
    void descriptionIsTheCountDrawn_data();
    void descriptionIsTheCountDrawn();
    void descriptionChangesOnlyWithTheCount();

private:
    std::unique_ptr<WindowFixture> f_;
};

void TestCountAccessibility::init() {
    f_ = std::make_unique<WindowFixture>();
    attachMenuCommands(f_->switcher, f_->state, f_->fakes.services);
}

void TestCountAccessibility::cleanup() {
    f_.reset();
}

void TestCountAccessibility::nameSaysWhatIsCounted_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("baseTime"); // as the settings file holds it
    QTest::addColumn<QString>("name");
    QTest::newRow("title-less, built-in base time")
        << 1 << QString() << QStringLiteral("Seconds to 01/01/2000, 12:00:00 AM");
    QTest::newRow("framed, built-in base time")
        << 2 << QString() << QStringLiteral("Seconds to 01/01/2000, 12:00:00 AM");
    QTest::newRow("title-less, evening") << 1 << QStringLiteral("25/12/2030 6:30:15 PM")
                                         << QStringLiteral("Seconds to 25/12/2030, 06:30:15 PM");
    QTest::newRow("framed, evening") << 2 << QStringLiteral("25/12/2030 6:30:15 PM")
                                     << QStringLiteral("Seconds to 25/12/2030, 06:30:15 PM");
    // The drawing reports such a base time; the name must still be something.
    QTest::newRow("title-less, not a date")
        << 1 << QStringLiteral("soon") << QStringLiteral("Quennix");
}

void TestCountAccessibility::nameSaysWhatIsCounted() {
    QFETCH(int, mode);
    QFETCH(QString, baseTime);
    QFETCH(QString, name);
    if (!baseTime.isEmpty())
        f_->state.baseTime = BaseTime::fromText(baseTime);
    DisplayWindow &w = f_->shown(mode);
    QCOMPARE(accessibleText(&w.surface(), QAccessible::Name), name);
    if (mode == 2)
        QCOMPARE(w.widget().windowTitle(), name);
}

void TestCountAccessibility::nameFollowsTheBaseTimeCommand() {
    auto &form = dynamic_cast<Form2 &>(f_->shown(2));
    f_->fakes.dialogs.inputAnswers = {QStringLiteral("31/12/2030 11:59:59 PM")};
    form.MBase_Time->trigger();
    const QString caption = QStringLiteral("Seconds to 23:59:59, 31/12/2030");
    QCOMPARE(form.windowTitle(), caption);
    QCOMPARE(accessibleText(&form.surface(), QAccessible::Name), caption);
}

void TestCountAccessibility::descriptionIsTheCountDrawn_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("title-less") << 1;
    QTest::newRow("framed") << 2;
}

void TestCountAccessibility::descriptionIsTheCountDrawn() {
    QFETCH(int, mode);
    CountSurface &surface = f_->shown(mode).surface();
    const QString first = countText(f_->state, f_->fakes.clock);
    QCOMPARE(surface.shownText(), first);
    QCOMPARE(accessibleText(&surface, QAccessible::Description), first);

    f_->fakes.clock.advance(1);
    surface.Timer1_Timer();
    const QString next = countText(f_->state, f_->fakes.clock);
    QVERIFY(next != first);
    QCOMPARE(accessibleText(&surface, QAccessible::Description), next);
}

void TestCountAccessibility::descriptionChangesOnlyWithTheCount() {
    DisplayWindow &w = f_->shown(1);
    CountSurface &surface = w.surface();
    // Every change of the description is announced to a running screen
    // reader, so the changes are counted where they are made.
    QSignalSpy changes(&surface, &CountSurface::countChanged);

    // Ticks within the same clock second, and redrawing the same count at a
    // new size, change nothing.
    for (int i = 0; i < 10; ++i)
        surface.Timer1_Timer();
    const QSize bigger = surface.size() + QSize(60, 30);
    w.widget().resize(w.widget().size() + QSize(60, 30));
    QTRY_COMPARE(surface.size(), bigger);
    Fit_Font(surface, f_->state, f_->fakes.services);
    QCOMPARE(changes.count(), 0);

    // Each new second changes it once, to the count drawn.
    for (int second = 1; second <= 3; ++second) {
        f_->fakes.clock.advance(1);
        for (int i = 0; i < 10; ++i)
            surface.Timer1_Timer();
        QCOMPARE(changes.count(), second);
        QCOMPARE(changes.last().at(0).toString(), surface.shownText());
        QCOMPARE(accessibleText(&surface, QAccessible::Description), surface.shownText());
    }
}

QTEST_MAIN(TestCountAccessibility)
#include "tst_count_accessibility.moc"
