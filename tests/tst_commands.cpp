// The menu commands with scripted answers to the input, message and font boxes.

#include "commands/about_window.h"
#include "commands/date_commands.h"
#include "commands/font_command.h"
#include "commands/menu_commands.h"
#include "countdown/formats.h"
#include "startup/settings_file.h"
#include "support/window_fixture.h"
#include "windows/form2.h"
#include "windows/window_switcher.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace quennix;
using namespace quennix::test;

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void baseTime_data();
    void baseTime();
    void calculatorsKeepCountingTo2000();
    void secondsAt_data();
    void secondsAt();
    void timeAt_data();
    void timeAt();
    void font_data();
    void font();
    void aboutHidesTheFramedWindow();
    void aboutWindowLayout();
    void exitSavesOnceAndEnds();

private:
    Form2 &framed();

    std::unique_ptr<WindowFixture> f_;
};

void TestCommands::init() {
    f_ = std::make_unique<WindowFixture>();
    f_->fakes.clock.set(QDateTime(QDate(2026, 12, 6), QTime(19, 0)));
}

void TestCommands::cleanup() {
    f_.reset();
}

Form2 &TestCommands::framed() {
    auto &form = static_cast<Form2 &>(f_->switcher.load(2));
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        qFatal("window not exposed");
    return form;
}

void TestCommands::baseTime_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("caption"); // empty: rejected
    QTest::newRow("future") << "31/12/2030 11:59:59 PM"
                            << "Seconds to 23:59:59, 31/12/2030";
    QTest::newRow("past, morning") << "1-7-1999 6:05"
                                   << "Seconds to 06:05:00, 01/07/1999";
    QTest::newRow("midnight") << "2027-01-01"
                              << "Seconds to 00:00:00, 01/01/2027";
    QTest::newRow("cancelled") << ""
                               << "";
    QTest::newRow("not a date") << "soon"
                                << "";
    QTest::newRow("impossible date") << "31/02/2027"
                                     << "";
    // A time alone is on 30 December 1899: beyond what the count can reach.
    QTest::newRow("time alone") << "10:00"
                                << "";
    QTest::newRow("too far ahead") << "01/01/2100"
                                   << "";
}

void TestCommands::baseTime() {
    QFETCH(QString, typed);
    QFETCH(QString, caption);
    QString shownCaption = QStringLiteral("unchanged");
    f_->fakes.dialogs.inputAnswers = {typed};

    MBase_Time_Click(f_->state, f_->fakes.services,
                     [&](const QString &text) { shownCaption = text; });

    const auto &asked = f_->fakes.dialogs.shown.front();
    QCOMPARE(asked.text, QStringLiteral("Date and time ?"));
    QCOMPARE(asked.title, QStringLiteral("Seconds remaining as a time"));
    if (caption.isEmpty()) {
        QCOMPARE(f_->fakes.dialogs.messages(), QStringList{"Quennix|Not a valid date"});
        QCOMPARE(shownCaption, QStringLiteral("unchanged"));
        QCOMPARE(f_->state.baseTime.value(), kEpoch2000);
    } else {
        QCOMPARE(f_->fakes.dialogs.messages(), QStringList());
        QCOMPARE(shownCaption, caption);
        // The count now runs to the date typed.
        QCOMPARE(QStringLiteral("Seconds to ") +
                     formatDate(f_->state.baseTime.value(), QStringLiteral("HH:MM:SS, dd/mm/yyyy")),
                 caption);
    }
}

void TestCommands::calculatorsKeepCountingTo2000() {
    f_->fakes.dialogs.inputAnswers = {"31/12/2030", "02/01/2000", "60"};
    MBase_Time_Click(f_->state, f_->fakes.services, [](const QString &) {});
    MSecondsat_Click(f_->fakes.services);
    MTimeAt_Click(f_->fakes.services);
    QCOMPARE(f_->fakes.dialogs.messages(),
             (QStringList{"Quennix|At 12:00:00 AM on Sunday, 02 January, 2000\n"
                          "Seconds remaining will be -86,400",
                          "Quennix|Time with 60 seconds remaining will be \n"
                          "11:59:00 PM on Friday, 31 December, 1999"}));
}

void TestCommands::secondsAt_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("box");
    QTest::newRow("before 2000")
        << "31/12/1999 11:59:00 PM"
        << "Quennix|At 11:59:00 PM on Friday, 31 December, 1999\nSeconds remaining will be 60";
    QTest::newRow("after 2000") << "06/12/2026 19:00"
                                << "Quennix|At 07:00:00 PM on Sunday, 06 December, 2026\n"
                                   "Seconds remaining will be -849,898,800";
    QTest::newRow("the target itself") << "1/1/2000"
                                       << "Quennix|At 12:00:00 AM on Saturday, 01 January, 2000\n"
                                          "Seconds remaining will be 0";
    QTest::newRow("cancelled") << ""
                               << "Quennix|The date entered is not valid.";
    QTest::newRow("not a date") << "tomorrow"
                                << "Quennix|The date entered is not valid.";
    QTest::newRow("too far ahead") << "01/01/2069"
                                   << "MSecondsat_Click|Err(6), Overflow";
    QTest::newRow("time alone, 1899") << "12:00"
                                      << "MSecondsat_Click|Err(6), Overflow";
}

void TestCommands::secondsAt() {
    QFETCH(QString, typed);
    QFETCH(QString, box);
    f_->fakes.dialogs.inputAnswers = {typed};
    MSecondsat_Click(f_->fakes.services);
    QCOMPARE(f_->fakes.dialogs.shown.front().text, QStringLiteral("Date and time ?"));
    QCOMPARE(f_->fakes.dialogs.messages(), QStringList{box});
}

void TestCommands::timeAt_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("box");
    const QString lead = QStringLiteral("Quennix|Time with ");
    QTest::newRow("empty")
        << "" << lead + "0 seconds remaining will be \n12:00:00 AM on Saturday, 01 January, 2000";
    QTest::newRow("negative is after 2000")
        << "-86400"
        << lead + "-86,400 seconds remaining will be \n12:00:00 AM on Sunday, 02 January, 2000";
    QTest::newRow("largest") << "2147483647"
                             << lead + "2,147,483,647 seconds remaining will be \n"
                                       "08:45:53 PM on Sunday, 13 December, 1931";
    QTest::newRow("most negative with a negation")
        << "-2147483647"
        << lead + "-2,147,483,647 seconds remaining will be \n"
                  "03:14:07 AM on Thursday, 19 January, 2068";
    QTest::newRow("most negative") << "-2147483648"
                                   << "MTimeAt_Click|Err(6), Overflow";
    QTest::newRow("beyond 32 bits") << "1e10"
                                    << "MTimeAt_Click|Err(6), Overflow";
    QTest::newRow("junk after digits")
        << "1 2x"
        << lead + "12 seconds remaining will be \n11:59:48 PM on Friday, 31 December, 1999";
}

void TestCommands::timeAt() {
    QFETCH(QString, typed);
    QFETCH(QString, box);
    f_->fakes.dialogs.inputAnswers = {typed};
    MTimeAt_Click(f_->fakes.services);
    QCOMPARE(f_->fakes.dialogs.shown.front().text, QStringLiteral("Number of seconds remaining ?"));
    QCOMPARE(f_->fakes.dialogs.shown.front().title, QStringLiteral("Time at seconds remaining"));
    QCOMPARE(f_->fakes.dialogs.messages(), QStringList{box});
}

void TestCommands::font_data() {
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("globalFace"); // before the command
    QTest::addColumn<QString>("expectedGlobal");
    QTest::addColumn<bool>("italic");
    QTest::newRow("chosen") << false << ""
                            << "DejaVu Sans Mono" << true;
    QTest::newRow("cancelled, no face yet") << true << ""
                                            << "" << false;
    QTest::newRow("cancelled, face kept") << true << "DejaVu Serif"
                                          << "DejaVu Serif" << false;
}

void TestCommands::font() {
    QFETCH(bool, cancel);
    QFETCH(QString, globalFace);
    QFETCH(QString, expectedGlobal);
    QFETCH(bool, italic);
    f_->state.fontName = globalFace;
    Form2 &form = framed();
    form.setFontName(globalFace);
    const QString faceBefore = form.fontName();
    if (!cancel) {
        Dialogs::FontChoice answer{QStringLiteral("DejaVu Sans Mono"), false, true, 300};
        f_->fakes.dialogs.fontAnswers = {answer};
    }
    form.surface().setFontSize(3); // any size: the command fits it again

    MFont_Click(form, f_->state, f_->fakes.services);

    const auto &offered = f_->fakes.dialogs.shown.front().font;
    QCOMPARE(offered.face, globalFace.isEmpty() ? faceBefore : globalFace);
    QCOMPARE(offered.bold, true);
    QCOMPARE(f_->state.fontName, expectedGlobal);
    QCOMPARE(form.fontName(), expectedGlobal.isEmpty() ? faceBefore : expectedGlobal);
    QCOMPARE(form.fontBold(), cancel);
    QCOMPARE(form.fontItalic(), italic);
    QVERIFY2(form.fontSize() > 10, "the size comes from fitting, not from the dialog");
    QVERIFY(form.fontSize() < 300);
}

void TestCommands::aboutHidesTheFramedWindow() {
    Form2 &form = framed();
    bool hiddenMeanwhile = false;
    MAbout_Click(form, [&] { hiddenMeanwhile = !form.isVisible(); });
    QVERIFY(hiddenMeanwhile);
    QVERIFY(form.isVisible());
}

void TestCommands::aboutWindowLayout() {
    Form3 about(f_->fakes.screens);
    QCOMPARE(about.windowTitle(), QStringLiteral("QUENNIX"));
    QStringList texts;
    for (const QLabel *label : about.findChildren<QLabel *>()) {
        QVERIFY(label->alignment() & Qt::AlignHCenter);
        texts << label->text();
    }
    QCOMPARE(texts, (QStringList{"QUENNIX", "Version 1.0   32bit", "13/06/1998"}));
    QVERIFY(!(about.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
    // Client area centred on the screen.
    QCOMPARE(about.pos() + QPoint(about.width(), about.height()) / 2, QPoint(960, 540));

    auto *ok = about.findChild<QPushButton *>(QStringLiteral("BOK"));
    QVERIFY(ok && ok->isDefault());
    QCOMPARE(ok->text(), QStringLiteral("Ok"));
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::keyClick(&about, Qt::Key_Return);
    QCOMPARE(about.result(), int(QDialog::Accepted));
    QVERIFY(!about.isVisible());
}

void TestCommands::exitSavesOnceAndEnds() {
    attachMenuCommands(f_->switcher, f_->state, f_->fakes.services);
    Form2 &form = framed();
    form.MExit->trigger();
    QCOMPARE(f_->fakes.programEnd.count, 1);
    const SettingsReadResult read = readSettingsFile(f_->state.settingsPath, kEpoch2000);
    QVERIFY(!read.openError);
    QCOMPARE(read.values.mode, 2);

    // Whatever closes afterwards writes nothing more.
    QFile::remove(f_->state.settingsPath);
    form.close();
    QVERIFY(!QFile::exists(f_->state.settingsPath));
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
