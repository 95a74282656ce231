// The settings file: its fields and keys, the bytes written, where it lives,
// saves that never leave a broken file. (A huge damaged file: the benchmark.)

#include "settings/field_reader.h"
#include "settings/settings_file.h"
#include "settings/settings_location.h"
#include "support/files.h"
#include "support/rows.h"

#include <QBuffer>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>
#include <csignal>
#include <sys/mount.h>
#include <thread>
#include <unistd.h>

using namespace quennix;
using namespace quennix::test;

namespace {

QStringList entries(const QString &dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

// What was read: the values that differ from the defaults, then the errors.
QString describe(const SettingsRead &r) {
    const Settings &v = r.values;
    QStringList parts;
    if (v.top || v.left || v.height || v.width)
        parts << QStringLiteral("%1,%2,%3,%4").arg(v.top).arg(v.left).arg(v.height).arg(v.width);
    if (!v.fontName.isEmpty())
        parts << QLatin1Char('[') + v.fontName + QLatin1Char(']');
    if (v.fontBold || v.fontItalic)
        parts << QStringLiteral("bold%1,italic%2").arg(v.fontBold).arg(v.fontItalic);
    if (!v.baseTime.isEmpty())
        parts << QLatin1Char('<') + v.baseTime + QLatin1Char('>');
    if (v.kind == WindowKind::Titleless)
        parts << QStringLiteral("titleless");
    for (const RunError &e : r.entryErrors)
        parts << QStringLiteral("err%1").arg(e.number());
    return parts.join(QLatin1Char(' '));
}

// A file that gives its bytes up to "<read error>", then fails to read.
class FailingFile : public QBuffer {
public:
    using QBuffer::QBuffer;
    qint64 readData(char *data, qint64 size) override {
        const qint64 end = buffer().indexOf("<read error>");
        if (end < 0)
            return QBuffer::readData(data, size);
        return end <= pos() ? -1 : QBuffer::readData(data, qMin(size, end - pos()));
    }
};

// Read as at 1 January 2000 00:00:00 in London.
SettingsRead readBytes(QByteArray bytes) {
    FailingFile file(&bytes);
    file.open(QIODevice::ReadOnly);
    return readSettings(file, 946684800);
}

// A whole settings file as the program writes it, with that face.
QByteArray fileWith(const QString &face) {
    Settings s;
    s.fontName = face;
    s.baseTime = QStringLiteral("01/01/2000");
    return settingsBytes(s);
}

// One of two whole settings files, told apart by the face.
QByteArray version(int which) {
    return fileWith(which ? QStringLiteral("Second") : QStringLiteral("First"));
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void reading_data();
    void reading();
    void location_data();
    void location();
    void failedSave_data();
    void failedSave();
    void killedSaves();
};

void TestSettings::reading_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("read");
    const QByteArray chunk(64 * 1024 - 3, 'x'); // the reader's chunk but three bytes
    row("every key",
        QByteArray("Top=1\r\nLeft=2\r\nHeight=3\r\nWidth=4\r\nFontName=A\r\n"
                   "FontBold=True\r\nFontItalic=-1\r\nBaseTime=01/02/2030\r\n"
                   "Mode=1\r\n"),
        "1,2,3,4 [A] bold1,italic1 <01/02/2030> titleless");
    row("commas and every line end, last value wins",
        QByteArray("Top=1,Left=2\rWidth=3\nTop=4\n\r\n"), "4,2,0,3");
    row("blanks: leading skipped, trailing kept", QByteArray(" \t FontName=A B ,Mode=1"),
        "[A B ] titleless");
    row("a quoted value ending in a comma", QByteArray("\"FontName=a,\",Top=1"), "1,0,0,0 [a,]");
    row("quotes: across a comma and lines, rest dropped",
        QByteArray("\"FontName=A,\r\nB\"xy,Top=1,\"FontName=C"), "1,0,0,0 [C]");
    row("fields across the read chunks", chunk + ",\"FontName=q,r\"\r\nTop=5", "5,0,0,0 [q,r]");
    row("blanks across the read chunks", chunk + "x, \t Top=6", "6,0,0,0");
    row("too long is cut", "FontName=" + QByteArray(70000, 'n') + ",Mode=1",
        "[" + QString(FieldReader::kMaxField - 9, 'n') + "] titleless");
    row("case-sensitive, at the start", QByteArray("top=1,xLeft=2,mode=1"), "");
    row("overflows skip the entry", QByteArray("Top=7,Top=1e10,FontBold=1e10"),
        "7,0,0,0 err6 err6");
    row("ninth character untested", QByteArray("BaseTime:01/01/2030,Mode_1"),
        "<01/01/2030> titleless");
    row("base time not a date", QByteArray("BaseTime=soon,Top=3"), "3,0,0,0 err13");
    row("errors in file order, once a key",
        QByteArray("Mode=1e10,BaseTime=x,Width=-1e10,Mode=1e11"), "err6 err13 err6");
    // From 1 January 2000 the count reaches 2^31 - 1 seconds ahead and 2^31
    // back; a base time beyond would overflow at the first drawing.
    row("last base time reached", QByteArray("BaseTime=19/01/2068 03:14:07 AM"),
        "<19/01/2068 03:14:07 AM>");
    row("a second later", QByteArray("BaseTime=19/01/2068 03:14:08 AM"), "err6");
    row("first base time reached", QByteArray("BaseTime=13/12/1931 08:45:52 PM"),
        "<13/12/1931 08:45:52 PM>");
    row("a second earlier", QByteArray("BaseTime=13/12/1931 08:45:51 PM"), "err6");
    row("a time alone is 30/12/1899", QByteArray("BaseTime=10:00:00 AM"), "err6");
    row("UTF-8, else Latin-1",
        QByteArray("FontName=Caf\xe9\nFontName=\xc5\x81\xc3\xb3"
                   "d\xc5\xba"),
        "[Łódź]");
    row("a read error part-way", QByteArray("Top=1,Mode=1\r\nLeft=2<read error>,Width=3"),
        "1,2,0,0 titleless err57");
    row("junk and NULs", QByteArray("\0\xff\"\0\",Top=9\0\r\nLeft=4", 20), "9,4,0,0");
    // Faces as the program writes them, read back whole: a comma is quoted,
    // quotes inside are dropped, and so are line breaks, so no entry can be
    // slipped in or swallowed. (UTF-8 stays whole: above.)
    row("written: a comma", fileWith("T, R"), "[T, R] <01/01/2000>");
    row("written: a comma and quotes", fileWith("A, \"B\""), "[A, B] <01/01/2000>");
    row("written: line breaks", fileWith("A\r\nMode=1"), "[AMode=1] <01/01/2000>");
}

void TestSettings::reading() {
    QFETCH(QByteArray, input);
    QFETCH(QString, read);
    QCOMPARE(describe(readBytes(input)), read);
}

void TestSettings::location_data() {
    // The program's folder is read-only here (a writable one holds the file:
    // the end-to-end tests run from one). An administrator's defaults there,
    // and XDG_CONFIG_HOME unset, are the install test's.
    QTest::addColumn<QString>("configHome");   // "<own>": an absolute folder of the test's
    QTest::addColumn<QStringList>("existing"); // files already there: "program", "user"
    QTest::addColumn<QString>("read");         // "program", "xdg" or "home"
    QTest::addColumn<QString>("save");
    row("first start", "<own>", QStringList(), "xdg", "xdg");
    row("per-user file", "<own>", QStringList{"program", "user"}, "xdg", "xdg");
    row("XDG_CONFIG_HOME relative", "a/b", QStringList{"program"}, "program", "home");
}

void TestSettings::location() {
    QFETCH(QString, configHome);
    QFETCH(QStringList, existing);
    QFETCH(QString, read);
    QFETCH(QString, save);
    QTemporaryDir dir;
    const QDir root(dir.path());
    const QMap<QString, QString> paths{{"program", root.filePath("program/quennix.ini")},
                                       {"xdg", root.filePath("xdg/quennix/quennix.ini")},
                                       {"home", root.filePath("home/.config/quennix/quennix.ini")}};
    const SettingsPlaces places{root.filePath("program"), false,
                                configHome == "<own>" ? root.filePath("xdg") : configHome,
                                root.filePath("home")};
    for (const QString &which : existing)
        put(paths[which == "user" ? "xdg" : which], "Mode=1");

    const SettingsLocation location = settingsLocation(places);
    QCOMPARE(location.readPath, paths[read]);
    QCOMPARE(location.savePath, paths[save]);
    // The first save makes the per-user folder, for its owner only.
    writeSettingsFile(location.savePath, "Mode=2");
    QCOMPARE(content(location.savePath), QByteArray("Mode=2"));
    if (!existing.contains("user"))
        QCOMPARE(QFileInfo(QFileInfo(location.savePath).path()).permissions() & 0x0077, 0);
    // This program's own folder, in the build tree, is one its user may write.
    QVERIFY(SettingsPlaces::current().programDirWritable);
}

void TestSettings::failedSave_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("error");
    row("a folder in the file's place", "folder", 75);
    row("a file in its folder's place", "file in the way", 75);
    row("disk full", "disk full", 61);
    row("folder not writable", "as nobody: folder", 70);
    row("file write-protected", "as nobody: file", 70);
    row("per-user folder cannot be made", "as nobody: per-user", 70);
}

void TestSettings::failedSave() {
    QFETCH(QString, setup);
    QFETCH(int, error);
    if (setup.startsWith("as nobody") && geteuid() == 0) {
        // Root writes anywhere: this row runs again as user nobody.
        QProcess child;
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", "--",
                                QCoreApplication::applicationFilePath(),
                                "failedSave:" + QString::fromUtf8(QTest::currentDataTag())});
        if (!child.waitForFinished(60000) && child.error() == QProcess::FailedToStart)
            QSKIP("setpriv is needed to become an ordinary user");
        QVERIFY2(child.readAll().contains("PASS   : TestSettings::failedSave"), "as nobody");
        return;
    }
    QTemporaryDir dir;
    const QString folder = dir.filePath("f");
    QDir().mkdir(folder);
    if (setup == "disk full" && ::mount("tmpfs", QFile::encodeName(folder), "tmpfs", 0, "size=64k"))
        QSKIP("a 64 KiB tmpfs cannot be mounted here, so the disk cannot be filled safely");
    const auto unmount = qScopeGuard([&] { ::umount(QFile::encodeName(folder)); }); // if mounted
    const bool deeper = setup == "file in the way" || setup.endsWith("per-user");
    const QString path = folder + (deeper ? "/config/quennix/quennix.ini" : "/quennix.ini");
    if (setup == "folder")
        put(path + "/keep", version(0));
    else if (setup == "file in the way")
        put(folder + "/config", version(0));
    else if (!deeper)
        put(path, version(0));
    if (setup == "disk full") {
        QFile filler(folder + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'f')) == 4096) {
        }
    }
    if (setup.startsWith("as nobody"))
        QFile::setPermissions(setup.endsWith("file") ? path : folder,
                              QFile::ReadOwner | QFile::ExeOwner);
    const QStringList before = entries(folder);

    int thrown = 0;
    try {
        writeSettingsFile(path, version(1));
    } catch (const RunError &e) {
        thrown = e.number();
    }
    const QStringList after = entries(folder);
    const QByteArray kept = content(QFileInfo(path).isDir() ? path + "/keep" : path);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(thrown, error);
    QCOMPARE(after, before); // no file of the save is left
    if (!deeper)
        QCOMPARE(kept, version(0));
}

void TestSettings::killedSaves() {
    // A saver killed at any moment, 200 times: the file is always one whole
    // version or the other, and the next save clears what the dead ones left.
    QTemporaryDir dir;
    const QString path = dir.filePath("quennix.ini");
    put(path, version(0));
    int seen[2] = {};
    for (int round = 0; round < 200; ++round) {
        QProcess saver;
        saver.start(QCoreApplication::applicationFilePath(), {"--keep-saving", path});
        QVERIFY(saver.waitForReadyRead(20000));
        std::this_thread::sleep_for(
            std::chrono::microseconds(QRandomGenerator::global()->bounded(20000)));
        ::kill(pid_t(saver.processId()), SIGKILL);
        QVERIFY(saver.waitForFinished(20000));
        const QByteArray now = content(path);
        QVERIFY2(now == version(0) || now == version(1), qPrintable(QString::number(round)));
        ++seen[now == version(1)];
    }
    QVERIFY(seen[0] > 0 && seen[1] > 0); // kills landed at different points
    // A save going on in another running program is left alone, and so is
    // that program; a save whose program is gone (listed first) is not.
    QProcess alive;
    alive.start("sleep", {"30"});
    QVERIFY(alive.waitForStarted());
    const QString going = "quennix.ini.saving-" + QString::number(alive.processId());
    put(dir.filePath(going), "saving");
    put(dir.filePath("quennix.ini.saving-1000000000"), "dead");
    // Nor is an old file whose name only looks like a save's, or any other.
    for (const char *name : {"quennix.ini.saving-notes", "notes"}) {
        QFile old(dir.filePath(name));
        QVERIFY(old.open(QIODevice::WriteOnly) &&
                old.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                QFileDevice::FileModificationTime));
    }
    writeSettingsFile(path, version(1));
    QCOMPARE(entries(dir.path()),
             (QStringList{"notes", "quennix.ini", going, "quennix.ini.saving-notes"}));
    QVERIFY(!alive.waitForFinished(100));
}

int main(int argc, char **argv) {
    // As a child of killedSaves: save the two versions in turn until killed.
    if (argc == 3 && qstrcmp(argv[1], "--keep-saving") == 0) {
        for (int i = 0;; i = 1 - i) {
            writeSettingsFile(QString::fromLocal8Bit(argv[2]), version(i));
            if (i == 0) {
                puts("saved");
                fflush(stdout);
            }
        }
    }
    QCoreApplication app(argc, argv);
    TestSettings test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings.moc"
