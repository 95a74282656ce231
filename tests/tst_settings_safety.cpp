// The settings file survives a save that is killed half-way, and a save that
// fails (disk full, no permission, a folder in the file's place) leaves the old
// file as it was, shows the "Shutdown" box and leaves nothing behind.

#include "startup/file_replacement.h"
#include "startup/shutdown.h"
#include "support/alternating_saves.h"
#include "support/fake_services.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <set>
#include <sys/mount.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <utime.h>

using namespace quennix;
using namespace quennix::test;

namespace {

constexpr int kKills = 300;

QStringList entries(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

QByteArray fileContent(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Saves through the path a closing window takes; returns the boxes shown.
QStringList save(const QString &path, int which) {
    AppState state;
    state.settingsPath = path;
    state.fontName = alternatingFace(which);
    state.baseTime = BaseTime::fromText(alternatingBaseTime(which));
    FakeDialogs dialogs;
    Shutdown(alternatingWindow(which), state, dialogs);
    return dialogs.messages();
}

// The id of a process that has ended (and been waited for).
qint64 deadProcessId() {
    QProcess done;
    done.start(QStringLiteral("/bin/true"));
    done.waitForFinished();
    return done.processId() ? done.processId() : 999999;
}

// Caps the size of any file this process writes, for as long as it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        // Exceeding the limit raises SIGXFSZ, which would end the test;
        // ignored, the write fails with EFBIG instead.
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit capped = saved_;
        capped.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &capped);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = SIG_DFL;
};

// A mount that is taken away again however the test ends.
class Unmount {
public:
    ~Unmount() {
        if (!path.isEmpty())
            umount2(QFile::encodeName(path).constData(), MNT_DETACH);
    }
    QString path;
};

} // namespace

class TestSettingsSafety : public QObject {
    Q_OBJECT
private slots:
    void killedSaves();
    void staleSaves_data();
    void staleSaves();
    void failedSave_data();
    void failedSave();

private:
    void checkAsOrdinaryUser(const char *function);
};

void TestSettingsSafety::killedSaves() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quennix.ini"));
    const QByteArray contents[2] = {alternatingBytes(0), alternatingBytes(1)};
    QVERIFY(writeFile(path, contents[0]));

    const quint32 seed = qEnvironmentVariableIsSet("QUENNIX_KILL_SEED")
                             ? quint32(qEnvironmentVariableIntValue("QUENNIX_KILL_SEED"))
                             : QRandomGenerator::system()->generate();
    qInfo("QUENNIX_KILL_SEED=%u", seed);
    QRandomGenerator random(seed);

    std::set<QString> leftBehindNames; // what each killed saver may leave
    int found[2] = {0, 0};
    int leftovers = 0;
    for (int round = 0; round < kKills; ++round) {
        QProcess saver;
        saver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        saver.start(QStringLiteral(QUENNIX_SETTINGS_SAVER), {path});
        QVERIFY(saver.waitForStarted());
        leftBehindNames.insert(QFileInfo(savingPath(path, saver.processId())).fileName());
        QVERIFY(saver.waitForReadyRead(20000));
        // Anywhere within the first few saves: before the first one ends,
        // inside a write, a flush or a rename.
        std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(20000)));
        QCOMPARE(::kill(pid_t(saver.processId()), SIGKILL), 0);
        QVERIFY(saver.waitForFinished(20000));
        QVERIFY2(saver.exitStatus() == QProcess::CrashExit,
                 "the saver failed before it was killed");

        const QByteArray now = fileContent(path);
        const int which = now == contents[0] ? 0 : now == contents[1] ? 1 : -1;
        QVERIFY2(which >= 0, qPrintable(QStringLiteral("round %1: %2 bytes, neither whole content")
                                            .arg(round)
                                            .arg(now.size())));
        ++found[which];
        const SettingsReadResult read = readSettingsFile(path, kEpoch2000);
        QVERIFY(!read.openError);
        QVERIFY(read.entryErrors.empty());
        QCOMPARE(read.values.fontName.value_or(QString()), alternatingFace(which));

        QStringList others = entries(dir.path());
        others.removeOne(QStringLiteral("quennix.ini"));
        for (const QString &other : others)
            QVERIFY2(leftBehindNames.count(other), qPrintable(other));
        leftovers += !others.isEmpty();
    }
    qInfo("%d kills: %d found the first content, %d the second; %d left a save's file behind",
          kKills, found[0], found[1], leftovers);
    // Kills landed both before and after whole saves, not always at one point.
    QVERIFY(found[0] > 0 && found[1] > 0);

    // The next save takes away whatever the killed ones left.
    QCOMPARE(save(path, 1), QStringList());
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("quennix.ini")});
    QCOMPARE(fileContent(path), contents[1]);
}

void TestSettingsSafety::staleSaves_data() {
    QTest::addColumn<QString>("name"); // %dead, %alive, %self: a process id
    QTest::addColumn<bool>("folder");
    QTest::addColumn<bool>("hoursOld");
    QTest::addColumn<bool>("removed");

    QTest::newRow("dead saver's") << "quennix.ini.saving-%dead" << false << false << true;
    QTest::newRow("running saver's") << "quennix.ini.saving-%alive" << false << false << false;
    QTest::newRow("running id, hours old") << "quennix.ini.saving-%alive" << false << true << true;
    QTest::newRow("this process's own") << "quennix.ini.saving-%self" << false << false << true;
    QTest::newRow("a folder of that name") << "quennix.ini.saving-%dead" << true << true << false;
    QTest::newRow("the user's backup") << "quennix.ini.backup" << false << true << false;
    QTest::newRow("no id") << "quennix.ini.saving-" << false << true << false;
    QTest::newRow("not all digits") << "quennix.ini.saving-12a" << false << true << false;
    QTest::newRow("signed id") << "quennix.ini.saving--5" << false << true << false;
    QTest::newRow("id too big for a process")
        << "quennix.ini.saving-9999999999" << false << true << false;
    QTest::newRow("more after the id") << "quennix.ini.saving-%dead.txt" << false << true << false;
    QTest::newRow("another file's") << "other.ini.saving-%dead" << false << true << false;
}

void TestSettingsSafety::staleSaves() {
    QFETCH(QString, name);
    QFETCH(bool, folder);
    QFETCH(bool, hoursOld);
    QFETCH(bool, removed);
    name.replace(QLatin1String("%dead"), QString::number(deadProcessId()));
    name.replace(QLatin1String("%alive"), QString::number(getppid()));
    name.replace(QLatin1String("%self"), QString::number(getpid()));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quennix.ini"));
    const QString stale = dir.filePath(name);
    QVERIFY(writeFile(path, alternatingBytes(0)));
    if (folder)
        QVERIFY(QDir().mkdir(stale));
    else
        QVERIFY(writeFile(stale, alternatingBytes(1).left(100))); // a save cut short
    if (hoursOld) {
        const utimbuf times{::time(nullptr) - 2 * 3600, ::time(nullptr) - 2 * 3600};
        QCOMPARE(utime(QFile::encodeName(stale).constData(), &times), 0);
    }

    // Start-up reads the settings file only, whatever lies beside it.
    const SettingsReadResult read = readSettingsFile(path, kEpoch2000);
    QVERIFY(read.entryErrors.empty());
    QCOMPARE(read.values.fontName.value_or(QString()), alternatingFace(0));

    QCOMPARE(save(path, 1), QStringList());
    QCOMPARE(fileContent(path), alternatingBytes(1));
    QCOMPARE(QFileInfo::exists(stale), !removed);
    QCOMPARE(entries(dir.path()).size(), removed ? 1 : 2);
}

void TestSettingsSafety::failedSave_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("box");
    const QString full = QStringLiteral("Shutdown|Err(61), Disk full");
    const QString denied = QStringLiteral("Shutdown|Err(70), Permission denied");
    const QString access = QStringLiteral("Shutdown|Err(75), Path/File access error");
    QTest::newRow("disk full") << "disk full" << full;
    QTest::newRow("file size limit") << "file size limit" << full;
    QTest::newRow("folder not writable") << "folder not writable" << denied;
    QTest::newRow("per-user folder cannot be made") << "per-user folder not writable" << denied;
    QTest::newRow("file not writable") << "file not writable" << denied;
    QTest::newRow("file replaced by a folder") << "folder in its place" << access;
}

void TestSettingsSafety::failedSave() {
    QFETCH(QString, setup);
    QFETCH(QString, box);
    if (setup.endsWith(QLatin1String("not writable")) && geteuid() == 0) {
        // Root writes anywhere: the permission check needs an ordinary user.
        checkAsOrdinaryUser("failedSave");
        return;
    }

    QTemporaryDir dir;
    QString folder = dir.path();
    Unmount unmount;
    if (setup == QLatin1String("disk full")) {
        folder = dir.filePath(QStringLiteral("small"));
        QVERIFY(QDir().mkdir(folder));
        if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                    "size=64k") != 0)
            QSKIP(qPrintable(QStringLiteral("a 64 KiB tmpfs cannot be mounted here (%1), so the "
                                            "disk cannot be filled safely")
                                 .arg(QString::fromLocal8Bit(std::strerror(errno)))));
        unmount.path = folder;
    }
    // The per-user file's folders are made at the first save.
    const bool perUser = setup == QLatin1String("per-user folder not writable");
    const QString path = QDir(folder).filePath(
        perUser ? QStringLiteral("config/quennix/quennix.ini") : QStringLiteral("quennix.ini"));
    const QByteArray old = alternatingBytes(0);
    if (setup == QLatin1String("folder in its place")) {
        QVERIFY(QDir().mkdir(path));
        QVERIFY(writeFile(QDir(path).filePath(QStringLiteral("keep")), old));
    } else if (!perUser) {
        QVERIFY(writeFile(path, old));
    }
    if (setup == QLatin1String("disk full")) {
        // Fill every block that is left.
        QFile filler(QDir(folder).filePath(QStringLiteral("filler")));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
    }
    const QFile::Permissions writable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    if (setup == QLatin1String("folder not writable") || perUser)
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    if (setup == QLatin1String("file not writable"))
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    const QStringList before = entries(folder);

    QStringList boxes;
    {
        FileSizeLimit limit(setup == QLatin1String("file size limit") ? 64 : RLIM_INFINITY);
        boxes = save(path, 1);
    }
    QFile::setPermissions(folder, writable);

    QCOMPARE(boxes, QStringList{box});
    QCOMPARE(entries(folder), before);
    if (setup == QLatin1String("folder in its place")) {
        QVERIFY(QFileInfo(path).isDir());
        QCOMPARE(fileContent(QDir(path).filePath(QStringLiteral("keep"))), old);
    } else if (!perUser) {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(fileContent(path), old);
    }
}

// Runs this test executable again for the current data row, as user nobody.
void TestSettingsSafety::checkAsOrdinaryUser(const char *function) {
    const QString row = QString::fromLatin1(function) + QLatin1Char(':') +
                        QString::fromUtf8(QTest::currentDataTag());
    const QString self = QCoreApplication::applicationFilePath();
    QString tool = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    QStringList args{QStringLiteral("--reuid=65534"),
                     QStringLiteral("--regid=65534"),
                     QStringLiteral("--clear-groups"),
                     QStringLiteral("--"),
                     self,
                     row};
    if (tool.isEmpty()) {
        tool = QStandardPaths::findExecutable(QStringLiteral("runuser"));
        args = QStringList{QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"),
                           self, row};
    }
    if (tool.isEmpty())
        QSKIP("running as root, and neither setpriv nor runuser is here to become an ordinary "
              "user, who alone can be refused a write");

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), QStringLiteral("/tmp"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(tool, args);
    QVERIFY(child.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    if (child.exitCode() == 126 || child.exitCode() == 127)
        QSKIP(qPrintable(QStringLiteral("user nobody cannot run this test here: ") + output));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             qPrintable(output));
    // It must have run the check, not skipped it.
    QVERIFY2(output.contains(
                 QStringLiteral("PASS   : TestSettingsSafety::%1(%2)")
                     .arg(QLatin1String(function), QString::fromUtf8(QTest::currentDataTag()))),
             qPrintable(output));
}

QTEST_GUILESS_MAIN(TestSettingsSafety)
#include "tst_settings_safety.moc"
