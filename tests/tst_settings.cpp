// SPDX-License-Identifier: MIT
// The settings file: its fields and keys, the bytes written, what stands at
// its name, saves that never leave a broken file.

#include "settings/field_reader.h"
#include "settings/file_replacement.h"
#include "settings/settings_file.h"
#include "settings/settings_location.h"
#include "support/helpers.h"

#include <QBuffer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quennix;
using namespace quennix::test;

namespace {

QStringList entries(const QString &dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

// What was read: the file's entries that differ from the defaults', as the
// program writes them, then the errors; or the error that kept it unopened.
QString describe(const SettingsRead &r) {
    if (r.openError)
        return QStringLiteral("open%1").arg(r.openError->number());
    const QStringList defaults = QString::fromUtf8(settingsBytes({})).split("\r\n");
    QStringList parts;
    for (const QString &entry : QString::fromUtf8(settingsBytes(r.values)).split("\r\n"))
        if (!defaults.contains(entry))
            parts << entry;
    for (const RunError &e : r.entryErrors)
        parts << QStringLiteral("err%1").arg(e.number());
    return parts.join(QLatin1Char(' '));
}

const ZoneTable kLondon = london();
const ReadingTime kY2000{946684800, kLondon}; // read at 2000 in London

SettingsRead readBytes(QByteArray bytes) {
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    return readSettings(file, kY2000);
}

// A settings file as the program writes it; version(0) and (1) differ in the face.
QByteArray fileWith(const QString &face) {
    Settings s;
    s.fontName = face;
    return settingsBytes(s);
}
QByteArray version(int which) {
    return fileWith(which ? "Second" : "First");
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void reading_data();
    void reading();
    void atTheName_data();
    void atTheName();
    void killedSaves();
    void location_data();
    void location();
};

void TestSettings::reading_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("read");
    const QByteArray chunk(64 * 1024 - 3, 'x'); // the reader's chunk but three bytes
    row("every key",
        QByteArray("Top=1\r\nLeft=2\r\nHeight=3\r\nWidth=4\r\nFontName=A\r\n"
                   "FontBold=True\r\nFontItalic=-1\r\nBaseTime=01/02/2030\r\n"
                   "Mode=1\r\n"),
        "Top=1 Left=2 Height=3 Width=4 FontName=A FontBold=True FontItalic=True "
        "BaseTime=01/02/2030 Mode=1");
    row("commas and every line end, last value wins",
        QByteArray("Top=1,Left=2\rWidth=3\nTop=4\n\r\n"), "Top=4 Left=2 Width=3");
    row("blanks: leading skipped, trailing kept", QByteArray(" \t FontName=A B ,Mode=1"),
        "FontName=A B  Mode=1");
    row("a quoted value ending in a comma", QByteArray("\"FontName=a,\",Top=1"),
        "Top=1 \"FontName=a,\"");
    row("quotes: across a comma and lines, rest dropped",
        QByteArray("\"FontName=A,\r\nB\"xy,Top=1,\"FontName=C"), "Top=1 FontName=C");
    row("fields across the read chunks", chunk + ",\"FontName=q,r\"\r\nTop=5",
        "Top=5 \"FontName=q,r\"");
    row("too long is cut", "Top=1,FontName=" + QByteArray(70000, 'n') + ",Mode=1",
        "Top=1 FontName=" + QString(FieldReader::kMaxField - 9, 'n') + " Mode=1");
    row("exactly as long as is read", QByteArray(kMaxSettingsBytes - 5, ',') + "Top=9", "Top=9");
    row("case-sensitive, at the start, with its = but for two",
        QByteArray("top=1,xLeft=2,Top53=1,mode=1,BaseTime:01/01/2030,Mode_1"),
        "BaseTime=01/01/2030 Mode=1");
    row("True by its case", QByteArray("FontBold=true,FontItalic=True"), "FontItalic=True");
    row("overflows skip the entry", QByteArray("Top=7,Top=1e10,FontBold=1e10"), "Top=7 err6 err6");
    row("errors in file order, once a key",
        QByteArray("Mode=1e10,BaseTime=x,Width=-1e10,Mode=1e11"), "err6 err13 err6");
    // From 2000 the count reaches 2^31 - 1 seconds ahead and 2^31 back.
    row("last base time reached", QByteArray("BaseTime=19/01/2068 03:14:07 AM"),
        "BaseTime=19/01/2068 03:14:07 AM");
    row("a second later: kept to be written back", QByteArray("BaseTime=19/01/2068 03:14:08 AM"),
        "BaseTime=19/01/2068 03:14:08 AM err6");
    row("first base time reached", QByteArray("BaseTime=13/12/1931 08:45:52 PM"),
        "BaseTime=13/12/1931 08:45:52 PM");
    row("UTF-8, else Latin-1",
        QByteArray("FontName=Caf\xe9\nFontName=\xc5\x81\xc3\xb3"
                   "d\xc5\xba"),
        "FontName=Łódź");
    row("junk and NULs", QByteArray("\0\xff\"\0\",Top=9\0\r\nLeft=4", 20), "Top=9 Left=4");
    // Faces written are read back whole: a comma is quoted, quotes inside and
    // line breaks are dropped, so no entry is slipped in or swallowed.
    row("written: a comma and quotes", fileWith("A, \"B\""), "\"FontName=A, B\"");
    row("written: line breaks", fileWith("A\r\nMode=1"), "FontName=AMode=1");
}

void TestSettings::reading() {
    QFETCH(QByteArray, input);
    QFETCH(QString, read);
    QCOMPARE(describe(readBytes(input)), read);
}

void TestSettings::atTheName_data() {
    // Whatever stands at the name: what start-up reads ("open" and the error
    // when nothing could be), and the error a save gives (0: saved; -1: not
    // tried). A failed save leaves what was there as it was.
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("read");
    QTest::addColumn<int>("saved");
    const QString whole = QStringLiteral("FontName=First");
    row("a link to a whole file", "link", whole, 0);
    row("nothing", "nothing", "open53", 0);
    row("a file in its folder's place", "file in the way", "open53", 75);
    row("nowhere (no home folder)", "nowhere", "open76", 76);
    row("folders to make", "no folder yet", "open53", 0);
    row("a folder", "folder", "open75", 75);
    row("a FIFO", "fifo", "open75", 75);
    row("a link to /dev/zero", "zero", "open75", -1);
    row("a link that loops", "loop", "open75", 75);
    row("a file that cannot be read through (EIO)", "mem", "err57", -1);
    row("more than a settings file holds", "long", "Top=1 err75", 0);
    row("a file size limit", "size limit", whole, 61);
    row("no access", "as nobody: file", "open70", 70);
    row("folder not writable", "as nobody: folder", whole, 70);
    row("folders not to be made", "as nobody: no folder yet", "open53", 70);
}

void TestSettings::atTheName() {
    QFETCH(QString, setup);
    QFETCH(QString, read);
    QFETCH(int, saved);
    if (setup.startsWith("as nobody") && geteuid() == 0) {
        // Root reads and writes anywhere: this row runs again as user nobody.
        QProcess child;
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", "--",
                                QCoreApplication::applicationFilePath(),
                                "atTheName:" + QString::fromUtf8(QTest::currentDataTag())});
        if (!child.waitForFinished(60000) && child.error() == QProcess::FailedToStart)
            QSKIP("setpriv is needed to become an ordinary user");
        QVERIFY2(child.readAll().contains("PASS   : TestSettings::atTheName"), "as nobody");
        return;
    }
    QTemporaryDir dir;
    const QString folder = dir.filePath("f");
    QDir().mkdir(folder);
    const bool deeper = setup == "file in the way" || setup.endsWith("no folder yet");
    QString path = folder + (deeper ? "/config/quennix/quennix.ini" : "/quennix.ini");
    if (setup == "nowhere") // no folder to keep the file in
        path.clear();
    const QByteArray name = QFile::encodeName(path);
    if (setup == "link") // to a file beside it, written through the link below
        QCOMPARE(::symlink("real.ini", name), 0);
    if (setup == "folder")
        put(path + "/keep", version(0));
    else if (setup == "file in the way")
        put(folder + "/config", version(0));
    else if (setup == "fifo")
        QCOMPARE(::mkfifo(name, 0600), 0);
    else if (setup == "zero" || setup == "loop" || setup == "mem")
        QCOMPARE(::symlink(setup == "zero"  ? "/dev/zero"
                           : setup == "mem" ? "/proc/self/mem"
                                            : name.constData(),
                           name),
                 0);
    else if (setup == "long")
        put(path, "Top=1\r\n" + QByteArray(kMaxSettingsBytes - 5, ' ')); // two bytes more
    else if (!deeper && setup != "nothing" && !path.isEmpty())
        put(path, version(0));
    if (setup.startsWith("as nobody"))
        QFile::setPermissions(setup.endsWith("file") ? path : folder,
                              setup.endsWith("file") ? QFile::Permissions()
                                                     : QFile::ReadOwner | QFile::ExeOwner);

    const auto descriptors = [] { return QDir("/proc/self/fd").count(); };
    const uint open = descriptors();
    QCOMPARE(describe(readSettingsFile(path, kY2000)), read);
    const auto noneLeftOpen = qScopeGuard([&] { QCOMPARE(descriptors(), open); });
    if (saved < 0)
        return;
    const QStringList before = entries(folder);
    struct stat old {};
    ::lstat(name, &old);
    rlimit size{}; // a limit on a file's size fails writes as a full disk would
    ::getrlimit(RLIMIT_FSIZE, &size);
    const rlimit small{setup == "size limit" ? 16 : size.rlim_cur, size.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    int thrown = 0;
    try {
        writeSettingsFile(path, version(1));
    } catch (const RunError &e) {
        thrown = e.number();
    }
    ::setrlimit(RLIMIT_FSIZE, &size);
    const QStringList after = entries(folder);
    struct stat now {};
    ::lstat(name, &now);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(thrown, saved);
    if (saved == 0) {
        QCOMPARE(content(path), version(1));
        QCOMPARE(QFileInfo(path).isSymLink(), setup == "link"); // a link stays one
        return;
    }
    QCOMPARE(after, before); // no file of the save is left
    QVERIFY(now.st_mode == old.st_mode && now.st_ino == old.st_ino);
}

void TestSettings::killedSaves() {
    // A saver killed at any moment, 200 times: the file is always one whole
    // version or the other (both seen).
    QTemporaryDir dir;
    const QString path = dir.filePath("quennix.ini");
    put(path, version(0));
    int seen[2] = {};
    for (int round = 0; round < 200; ++round) {
        QProcess saver;
        saver.start(QCoreApplication::applicationFilePath(), {"--keep-saving", path});
        QVERIFY(saver.waitForReadyRead(20000));
        QThread::usleep(QRandomGenerator::global()->bounded(20000));
        ::kill(pid_t(saver.processId()), SIGKILL);
        QVERIFY(saver.waitForFinished(20000));
        const QByteArray now = content(path);
        QVERIFY(now == version(0) || now == version(1));
        ++seen[now == version(1)];
    }
    QVERIFY(seen[0] > 0 && seen[1] > 0);
    // The next save clears what dead or old saves left, not a save going on
    // in another program, nor a file whose name only looks like a save's.
    QProcess alive;
    alive.start("sleep", {"30"});
    QVERIFY(alive.waitForStarted());
    const QString going = "quennix.ini.saving-" + QString::number(alive.processId());
    put(dir.filePath(going), "saving");
    put(dir.filePath("quennix.ini.saving-1000000000"), "dead");
    for (const char *name :
         {"quennix.ini.saving-notes", "notes", "quennix.ini.saving-1", "quennix.ini.saving-+1"}) {
        QFile old(dir.filePath(name));
        QVERIFY(old.open(QIODevice::WriteOnly) &&
                old.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                QFileDevice::FileModificationTime));
    }
    writeSettingsFile(path, version(1));
    QCOMPARE(entries(dir.path()), (QStringList{"notes", "quennix.ini", "quennix.ini.saving-+1",
                                               going, "quennix.ini.saving-notes"}));
    QVERIFY(!alive.waitForFinished(100));
}

void TestSettings::location_data() {
    // Where start-up reads and the close writes ("": nowhere), from the program's folder (the
    // user's, not, or /usr's), XDG_CONFIG_HOME and HOME (or none; or a user the password database
    // does not know), the config folders and the files there. Capitals are folders; "~": that home.
    for (const char *column :
         {"program", "configHome", "home", "configDirs", "files", "read", "saved"})
        QTest::addColumn<QString>(column);
    const QString ini = "/.config/quennix/quennix.ini", own = "H" + ini;
    const QString a = "A/quennix/quennix.ini", b = "B/quennix/quennix.ini";
    row("the program's folder is the user's", "mine", "", "H", "A", a, "P/quennix.ini",
        "P/quennix.ini");
    row("XDG_CONFIG_HOME", "", "X", "H", "", "", "X/quennix/quennix.ini", "X/quennix/quennix.ini");
    row("a relative XDG_CONFIG_HOME", "", "x", "H", "", "", own, own);
    row("defaults: the first folder with them", "", "", "H", "A:B", b, b, own);
    row("defaults until the user's own", "", "", "H", "A", a + " " + own, own, own);
    row("root's program in /usr: the user's own", "/usr/bin", "", "H", "", "", own, own);
    row("a file beside a read-only program is none", "", "", "H", "A", "P/quennix.ini", own, own);
    row("no HOME: the password database's", "", "", "<unset>", "", "", "~" + ini, "~" + ini);
    row("no home: nowhere", "", "", "<unknown user>", "", "", "", "");
    row("no home, defaults", "", "", "<unknown user>", "A", a, a, "");
}

void TestSettings::location() {
    QFETCH(QString, program);
    QFETCH(QString, configHome);
    QFETCH(QString, home);
    QFETCH(QString, configDirs);
    QFETCH(QString, files);
    QFETCH(QString, read);
    QFETCH(QString, saved);
    QTemporaryDir dir;
    const auto at = [&](QString p) {
        p.replace('~', passwdHome(getuid()));
        return p.isEmpty() || !p[0].isUpper() ? p : dir.filePath(p);
    };
    const auto restore = qScopeGuard([old = qgetenv("HOME")] { qputenv("HOME", old); });
    for (const QString &file : files.split(' ', Qt::SkipEmptyParts))
        put(at(file), "");
    home.startsWith('<') ? qunsetenv("HOME") : qputenv("HOME", at(home).toLocal8Bit());
    SettingsPlaces places = SettingsPlaces::current();
    if (home == "<unknown user>")
        places.home = passwdHome(0x7ffffff0);
    QStringList dirs = configDirs.split(':');
    std::transform(dirs.begin(), dirs.end(), dirs.begin(), at);
    std::tie(places.programDir, places.programDirWritable, places.configHome, places.configDirs) =
        std::make_tuple(program.startsWith('/') ? program : at("P"), !program.isEmpty(),
                        at(configHome), dirs.join(':'));
    const SettingsLocation where = settingsLocation(places);
    QCOMPARE(where.readPath, at(read));
    QCOMPARE(where.savePath, at(saved));
}

int main(int argc, char **argv) {
    // As a child of killedSaves: save the two versions in turn until killed.
    if (argc == 3 && qstrcmp(argv[1], "--keep-saving") == 0) {
        for (int i = 0;; i = 1 - i) {
            writeSettingsFile(QString::fromLocal8Bit(argv[2]), version(i));
            if (i == 0)
                std::fputs("saved\n", stdout), std::fflush(stdout);
        }
    }
    ignoreFileSizeSignal(); // as the program does at its start
    QCoreApplication app(argc, argv);
    TestSettings test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings.moc"
