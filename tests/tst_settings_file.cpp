#include "startup/field_reader.h"
#include "startup/settings_file.h"
#include "startup/settings_location.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace quennix;

Q_DECLARE_METATYPE(quennix::WindowSettings)

namespace {

// A literal with embedded NULs, taken whole.
template <int N> QByteArray raw(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

// Only what differs from the defaults, in a fixed order, with text values
// bracketed so blanks and cut-off text show in a failure message.
QString describe(const SettingsReadResult &result) {
    const StoredSettings &v = result.values;
    QStringList parts;
    if (result.openError)
        parts << QStringLiteral("open%1").arg(result.openError->number());
    const std::pair<const char *, qint32> numbers[] = {
        {"top", v.top}, {"left", v.left}, {"height", v.height}, {"width", v.width}};
    for (const auto &[name, value] : numbers) {
        if (value != 0)
            parts << QStringLiteral("%1=%2").arg(QLatin1String(name)).arg(value);
    }
    if (v.fontName)
        parts << QStringLiteral("font=[%1]").arg(*v.fontName);
    if (v.fontBold)
        parts << QStringLiteral("bold");
    if (v.fontItalic)
        parts << QStringLiteral("italic");
    if (v.baseTimeText)
        parts << QStringLiteral("base=[%1]").arg(*v.baseTimeText);
    if (v.mode != 0)
        parts << QStringLiteral("mode=%1").arg(v.mode);
    for (const RunError &error : result.entryErrors)
        parts << QStringLiteral("err%1").arg(error.number());
    return parts.join(QLatin1Char(' '));
}

SettingsReadResult readBytes(QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return readSettings(buffer, kEpoch2000);
}

QByteArray fileContent(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private slots:
    void fields_data();
    void fields();
    void reading_data();
    void reading();
    void openErrors_data();
    void openErrors();
    void fileBytes_data();
    void fileBytes();
    void roundTrip_data();
    void roundTrip();
    void failedWrite_data();
    void failedWrite();
    void bigFileReadsFast();
    void location_data();
    void location();
};

void TestSettingsFile::fields_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArrayList>("expected");

    const int chunk = 64 * 1024;
    const QByteArray nearChunk(chunk - 1, 'x');
    const QByteArray tooLong(FieldReader::kMaxField + 10, 'y');

    QTest::newRow("empty") << QByteArray() << QByteArrayList();
    QTest::newRow("commas") << QByteArray("a,b,c") << QByteArrayList{"a", "b", "c"};
    QTest::newRow("CR LF is one line end") << QByteArray("a\r\nb\r\n") << QByteArrayList{"a", "b"};
    QTest::newRow("CR alone") << QByteArray("a\rb") << QByteArrayList{"a", "b"};
    QTest::newRow("LF alone") << QByteArray("a\nb") << QByteArrayList{"a", "b"};
    QTest::newRow("blank lines") << QByteArray("a\r\n\r\n\n\rb")
                                 << QByteArrayList{"a", "", "", "", "b"};
    QTest::newRow("leading blanks skipped, trailing kept")
        << QByteArray(" \t a b ,\tc") << QByteArrayList{"a b ", "c"};
    QTest::newRow("quoted") << QByteArray("\"a,b\",c") << QByteArrayList{"a,b", "c"};
    QTest::newRow("after closing quote dropped")
        << QByteArray(" \"a\" junk\r\nb") << QByteArrayList{"a", "b"};
    QTest::newRow("quote spans line ends")
        << QByteArray("\"a\r\nb\"\nc") << QByteArrayList{"a\r\nb", "c"};
    QTest::newRow("unclosed quote") << QByteArray("\"a,b\r\nc") << QByteArrayList{"a,b\r\nc"};
    QTest::newRow("quote inside unquoted field")
        << QByteArray("a\"b,c") << QByteArrayList{"a\"b", "c"};
    QTest::newRow("NULs and high bytes")
        << raw("\0\xff,\x80\0") << QByteArrayList{raw("\0\xff"), raw("\x80\0")};
    // Chunk boundaries: the CR ends the first chunk, its LF starts the next.
    QTest::newRow("CR LF split across chunks")
        << nearChunk + "\r\nb" << QByteArrayList{nearChunk, "b"};
    QTest::newRow("closing quote in one chunk, comma in the next")
        << "\"ab\"" + QByteArray(chunk - 4, 'j') + ",b" << QByteArrayList{"ab", "b"};
    QTest::newRow("quote split across chunks")
        << "\"" + QByteArray(chunk - 2, 'q') + ",\"z,b"
        << QByteArrayList{QByteArray(chunk - 2, 'q') + ",", "b"};
    QTest::newRow("too long is cut")
        << tooLong + ",b" << QByteArrayList{tooLong.left(FieldReader::kMaxField), "b"};
    QTest::newRow("too long quoted is cut")
        << "\"" + tooLong + "\",b" << QByteArrayList{tooLong.left(FieldReader::kMaxField), "b"};
}

void TestSettingsFile::fields() {
    QFETCH(QByteArray, input);
    QFETCH(QByteArrayList, expected);
    QBuffer buffer(&input);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    FieldReader reader(buffer);
    QByteArrayList fields;
    while (!reader.atEnd() && fields.size() <= expected.size())
        fields << reader.next();
    QCOMPARE(fields, expected);
}

void TestSettingsFile::reading_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");

    const QByteArray longLine = "FontName=" + QByteArray(3 * FieldReader::kMaxField, 'n');

    QTest::newRow("empty file") << QByteArray() << "";
    QTest::newRow("all keys")
        << QByteArray(
               "Top=1\r\nLeft=2\r\nHeight=3\r\nWidth=4\r\nFontName=Arial\r\nFontBold=True\r\n"
               "FontItalic=True\r\nBaseTime=01/02/2030\r\nMode=1\r\n")
        << "top=1 left=2 height=3 width=4 font=[Arial] bold italic base=[01/02/2030] mode=1";
    QTest::newRow("comma splits a line") << QByteArray("Top=100,Left=200") << "top=100 left=200";
    QTest::newRow("unquoted face cut at comma")
        << QByteArray("FontName=Times, Roman") << "font=[Times]";
    QTest::newRow("quoted face kept whole")
        << QByteArray("\"FontName=Times, Roman\"\r\nTop=5") << "top=5 font=[Times, Roman]";
    QTest::newRow("repeated key") << QByteArray("Top=1\r\nMode=2\r\nTop=2") << "top=2 mode=2";
    QTest::newRow("keys are case-sensitive") << QByteArray("top=1\r\nTOP=2\r\nmode=1") << "";
    QTest::newRow("key must start the field") << QByteArray("xTop=1\r\n \tLeft=2") << "left=2";
    QTest::newRow("halves to even")
        << QByteArray("Top=2.5,Left=3.5,Height=-2.5") << "top=2 left=4 height=-2";
    QTest::newRow("not a number") << QByteArray("Top=abc,Width=") << "";
    QTest::newRow("overflow skips entry")
        << QByteArray("Top=7\r\nTop=1e10\r\nLeft=5") << "top=7 left=5 err6";
    QTest::newRow("truth values") << QByteArray("FontBold=-1\r\nFontItalic=0") << "bold";
    QTest::newRow("truth overflow") << QByteArray("FontItalic=1e10,FontBold=True") << "bold err6";
    QTest::newRow("bad BaseTime") << QByteArray("BaseTime=01/01/2030\r\nBaseTime=soon\r\nTop=3")
                                  << "top=3 base=[01/01/2030] err13";
    QTest::newRow("BaseTime with time")
        << QByteArray("BaseTime=31/12/2029 11:59:59 PM") << "base=[31/12/2029 11:59:59 PM]";
    QTest::newRow("BaseTime ninth char untested")
        << QByteArray("BaseTime:01/01/2030") << "base=[01/01/2030]";
    QTest::newRow("BaseTime bare") << QByteArray("BaseTime") << "err13";
    // Read at 1 January 2000 00:00:00: the count reaches 2^31 - 1 seconds
    // ahead and 2^31 seconds back; a base time beyond would overflow at the
    // first drawing, so it is skipped like any unreadable entry.
    QTest::newRow("BaseTime last reachable")
        << QByteArray("BaseTime=19/01/2068 03:14:07 AM") << "base=[19/01/2068 03:14:07 AM]";
    QTest::newRow("BaseTime a second too late")
        << QByteArray("BaseTime=19/01/2068 03:14:08 AM,Top=3") << "top=3 err6";
    QTest::newRow("BaseTime far ahead") << QByteArray("BaseTime=01/01/2100") << "err6";
    QTest::newRow("BaseTime first reachable")
        << QByteArray("BaseTime=13/12/1931 08:45:52 PM") << "base=[13/12/1931 08:45:52 PM]";
    QTest::newRow("BaseTime a second too early")
        << QByteArray("BaseTime=13/12/1931 08:45:51 PM") << "err6";
    QTest::newRow("BaseTime a time alone is 30/12/1899")
        << QByteArray("BaseTime=10:00:00 AM\r\nBaseTime=01/01/2030") << "base=[01/01/2030] err6";
    QTest::newRow("errors in file order")
        << QByteArray("Mode=1e10\r\nBaseTime=x\r\nWidth=-1e10") << "err6 err13 err6";
    QTest::newRow("a key's error once")
        << QByteArray("Top=1e10\r\nBaseTime=x\r\nTop=1e11\r\nTop=5\r\nBaseTime=y\r\nTop=1e12")
        << "top=5 err6 err13";
    QTest::newRow("Mode=1") << QByteArray("Mode=1") << "mode=1";
    QTest::newRow("Mode empty") << QByteArray("Mode=1\r\nMode=") << "";
    QTest::newRow("empty face is still a face") << QByteArray("FontName=") << "font=[]";
    QTest::newRow("UTF-8 face") << QByteArray("FontName=Caf\xc3\xa9") << "font=[Café]";
    QTest::newRow("Latin-1 face") << QByteArray("FontName=Caf\xe9") << "font=[Café]";
    QTest::newRow("junk and NULs")
        << raw("\0\xff\xfe\x80Top=9\0\r\n\"\0\",\x01\x02\r\nLeft=4") << "left=4";
    QTest::newRow("very long line then entry")
        << longLine + "\r\nTop=5"
        << "top=5 font=[" + QString(FieldReader::kMaxField - 9, QLatin1Char('n')) + "]";
}

void TestSettingsFile::reading() {
    QFETCH(QByteArray, input);
    QFETCH(QString, expected);
    QCOMPARE(describe(readBytes(input)), expected);
}

void TestSettingsFile::openErrors_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("number");
    QTest::newRow("missing") << "missing" << 53;
    QTest::newRow("directory") << "directory" << 75;
    QTest::newRow("unreadable") << "unreadable" << 70;
}

void TestSettingsFile::openErrors() {
    QFETCH(QString, setup);
    QFETCH(int, number);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quennix.ini"));
    if (setup == QLatin1String("directory")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("quennix.ini")));
    } else if (setup == QLatin1String("unreadable")) {
        if (geteuid() == 0)
            QSKIP("root reads any file, so an unreadable file cannot be made");
        writeFile(path, "Top=1\r\n");
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
    }
    const SettingsReadResult result = readSettingsFile(path, kEpoch2000);
    QVERIFY(result.openError);
    QCOMPARE(result.openError->number(), number);
    QCOMPARE(describe(result), QStringLiteral("open%1").arg(number));
}

void TestSettingsFile::fileBytes_data() {
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QByteArray>("middle"); // the FontName= to BaseTime= lines

    QTest::newRow("plain") << "Arial"
                           << "01/01/2000"
                           << QByteArray("FontName=Arial\r\nFontBold=True\r\nFontItalic=False\r\n"
                                         "BaseTime=01/01/2000\r\n");
    QTest::newRow("comma quoted") << "Times, Roman"
                                  << "January 1, 2000"
                                  << QByteArray(
                                         "\"FontName=Times, Roman\"\r\nFontBold=True\r\n"
                                         "FontItalic=False\r\n\"BaseTime=January 1, 2000\"\r\n");
    QTest::newRow("comma and quote not quoted")
        << "A \"B\", C"
        << "x"
        << QByteArray("FontName=A \"B\", C\r\nFontBold=True\r\nFontItalic=False\r\nBaseTime=x\r\n");
    QTest::newRow("line breaks dropped")
        << "Bad\r\nTop=5\n"
        << "\r"
        << QByteArray("FontName=BadTop=5\r\nFontBold=True\r\nFontItalic=False\r\nBaseTime=\r\n");
}

void TestSettingsFile::fileBytes() {
    QFETCH(QString, face);
    QFETCH(QString, base);
    QFETCH(QByteArray, middle);
    const WindowSettings window{-120, 1440.5, 0, 12345678, true, false, QStringLiteral("1")};
    const QByteArray expected =
        "Top=-120\r\nLeft=1440.5\r\nHeight=0\r\nWidth=1.234568E+07\r\n" + middle + "Mode=1\r\n";
    QCOMPARE(settingsFileBytes(window, face, base), expected);
}

void TestSettingsFile::roundTrip_data() {
    QTest::addColumn<WindowSettings>("window");
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << WindowSettings{1440, 2880, 3000, 6000, false, false, "2"} << "Arial"
                           << "01/01/2000"
                           << "top=1440 left=2880 height=3000 width=6000 font=[Arial] "
                              "base=[01/01/2000] mode=2";
    QTest::newRow("negative and fractional")
        << WindowSettings{-120.5, 7.5, 2.5, -0.25, true, true, "1"} << "Arial"
        << "01/01/2000"
        << "top=-120 left=8 height=2 font=[Arial] bold italic base=[01/01/2000] mode=1";
    QTest::newRow("unicode face, bold")
        << WindowSettings{0, 0, 100, 100, true, false, "2"} << "Ŧèšť 字体"
        << "31/12/2029 11:59:59 PM"
        << "height=100 width=100 font=[Ŧèšť 字体] bold base=[31/12/2029 11:59:59 PM] mode=2";
    QTest::newRow("face with comma, italic")
        << WindowSettings{1, 2, 3, 4, false, true, "1"} << "Times, Roman"
        << "January 1, 2000"
        << "top=1 left=2 height=3 width=4 font=[Times, Roman] italic base=[January 1, 2000] "
           "mode=1";
    QTest::newRow("blanks in face") << WindowSettings{0, 0, 0, 0, false, false, "1"} << " Arial  "
                                    << ""
                                    << "font=[ Arial  ] mode=1 err13";
}

void TestSettingsFile::roundTrip() {
    QFETCH(WindowSettings, window);
    QFETCH(QString, face);
    QFETCH(QString, base);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quennix.ini"));
    writeFile(path, QByteArray(1000, 'z')); // longer than the new content
    writeSettingsFile(path, settingsFileBytes(window, face, base));
    QCOMPARE(describe(readSettingsFile(path, kEpoch2000)), expected);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("quennix.ini")});
}

void TestSettingsFile::failedWrite_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("number");
    QTest::newRow("target is a directory") << "directory" << 75;
    QTest::newRow("a file where its folder should be") << "file in the way" << 75;
    QTest::newRow("folder not writable") << "readonly folder" << 70;
    QTest::newRow("file not writable") << "readonly file" << 70;
}

void TestSettingsFile::failedWrite() {
    QFETCH(QString, setup);
    QFETCH(int, number);
    QTemporaryDir dir;
    QDir folder(dir.path());
    QString path = dir.filePath(QStringLiteral("quennix.ini"));
    const QByteArray old = "Top=1\r\n";
    if (setup == QLatin1String("directory")) {
        QVERIFY(folder.mkdir(QStringLiteral("quennix.ini")));
    } else if (setup == QLatin1String("file in the way")) {
        writeFile(dir.filePath(QStringLiteral("config")), old);
        path = dir.filePath(QStringLiteral("config/quennix/quennix.ini"));
    } else {
        if (geteuid() == 0)
            QSKIP("root may write anywhere, so write protection cannot be tested");
        writeFile(path, old);
        const bool folderOnly = setup == QLatin1String("readonly folder");
        const QString target = folderOnly ? dir.path() : path;
        QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }
    const QStringList before =
        folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    int thrown = 0;
    try {
        writeSettingsFile(path, "Top=2\r\n");
    } catch (const RunError &error) {
        thrown = error.number();
    }
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(thrown, number);
    QCOMPARE(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
    if (setup.startsWith(QLatin1String("readonly")))
        QCOMPARE(fileContent(path), old);
    else if (setup == QLatin1String("directory"))
        QVERIFY(QFileInfo(path).isDir());
}

void TestSettingsFile::bigFileReadsFast() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quennix.ini"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        // Short fields (many of them) and key-like fields that must be decoded.
        QByteArray block;
        while (block.size() < 1024 * 1024)
            block += "Junk=1,2,3\r\nFontName=Arial Narrow\r\nTop=12\r\n";
        for (int i = 0; i < 20; ++i)
            QCOMPARE(file.write(block), block.size());
        QVERIFY(file.write("Top=42\r\n") > 0);
    }
    QElapsedTimer timer;
    timer.start();
    const SettingsReadResult result = readSettingsFile(path, kEpoch2000);
    const qint64 elapsed = timer.elapsed();
    QCOMPARE(describe(result), QStringLiteral("top=42 font=[Arial Narrow]"));
    QVERIFY2(elapsed < 2000, qPrintable(QStringLiteral("took %1 ms").arg(elapsed)));
}

void TestSettingsFile::location_data() {
    QTest::addColumn<bool>("writable");        // the program's folder
    QTest::addColumn<QString>("configHome");   // "<own>": an absolute folder of the test's
    QTest::addColumn<QStringList>("existing"); // files already there: "program", "user"
    QTest::addColumn<QString>("read");         // "program", "xdg" or "home"
    QTest::addColumn<QString>("save");
    const QString own = QStringLiteral("<own>");
    const QStringList none, defaults{"program"}, both{"program", "user"}, user{"user"};
    QTest::newRow("writable program folder") << true << own << none << "program"
                                             << "program";
    QTest::newRow("writable, a per-user file too") << true << own << user << "program"
                                                   << "program";
    QTest::newRow("read-only, first start") << false << own << none << "xdg"
                                            << "xdg";
    QTest::newRow("read-only, defaults beside") << false << own << defaults << "program"
                                                << "xdg";
    QTest::newRow("read-only, per-user file") << false << own << both << "xdg"
                                              << "xdg";
    QTest::newRow("XDG_CONFIG_HOME unset") << false << QString() << both << "home"
                                           << "home";
    QTest::newRow("XDG_CONFIG_HOME relative")
        << false << QStringLiteral("rel/config") << defaults << "program"
        << "home";
}

void TestSettingsFile::location() {
    QFETCH(bool, writable);
    QFETCH(QString, configHome);
    QFETCH(QStringList, existing);
    QFETCH(QString, read);
    QFETCH(QString, save);
    QTemporaryDir dir;
    const QDir root(dir.path());
    const QMap<QString, QString> paths{
        {"program", root.filePath(QStringLiteral("program/quennix.ini"))},
        {"xdg", root.filePath(QStringLiteral("xdg/quennix/quennix.ini"))},
        {"home", root.filePath(QStringLiteral("home/.config/quennix/quennix.ini"))}};
    SettingsPlaces places;
    places.programDir = root.filePath(QStringLiteral("program"));
    places.programDirWritable = writable;
    places.configHome =
        configHome == QLatin1String("<own>") ? root.filePath(QStringLiteral("xdg")) : configHome;
    places.home = root.filePath(QStringLiteral("home"));
    const QString userPath = paths[QDir::isAbsolutePath(places.configHome) ? "xdg" : "home"];
    for (const QString &which : existing) {
        const QString path = which == QLatin1String("program") ? paths["program"] : userPath;
        QVERIFY(root.mkpath(QFileInfo(path).path()));
        writeFile(path, "Mode=1\r\n");
    }

    const SettingsLocation location = settingsLocation(places);
    QCOMPARE(location.readPath, paths[read]);
    QCOMPARE(location.savePath, paths[save]);

    // The first save makes the per-user folder, for its owner only.
    writeSettingsFile(location.savePath, "Mode=2\r\n");
    QCOMPARE(fileContent(location.savePath), QByteArray("Mode=2\r\n"));
    if (!writable && !existing.contains(QLatin1String("user")))
        QCOMPARE(QFileInfo(QFileInfo(location.savePath).path()).permissions() & 0x0077, 0);
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
