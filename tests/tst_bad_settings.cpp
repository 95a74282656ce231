// A damaged settings file never stops the program: it starts with a window,
// says in a "Main" box what it could not read, and the next close writes a
// whole file again. What could be read is kept byte for byte.

#include "startup/startup.h"
#include "support/window_fixture.h"
#include "windows/display_window.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtTest>

using namespace quennix;
using namespace quennix::test;

namespace {

template <int N> QByteArray raw(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

const QByteArray kWhole = "Top=1500\r\nLeft=3000\r\nHeight=1500\r\nWidth=4500\r\n"
                          "FontName=DejaVu Sans\r\nFontBold=True\r\nFontItalic=False\r\n"
                          "BaseTime=31/12/2030 11:59:59 PM\r\nMode=1\r\n";

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "VmRSS" or "VmHWM" of this process, in KiB.
qint64 memoryKiB(const char *field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field) + 1).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

constexpr bool kSanitized =
#if defined(__SANITIZE_ADDRESS__)
    true;
#else
    false;
#endif

} // namespace

class TestBadSettings : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startsAndWritesAWholeFile_data();
    void startsAndWritesAWholeFile();
    void hugeFileStartsQuickly_data();
    void hugeFileStartsQuickly();

private:
    DisplayWindow &start(const QByteArray &file);
    QByteArray closeAndRead();
    QString iniPath() const { return f_->iniPath(); }

    std::unique_ptr<WindowFixture> f_;
};

void TestBadSettings::init() {
    f_ = std::make_unique<WindowFixture>();
}

void TestBadSettings::cleanup() {
    f_.reset();
}

DisplayWindow &TestBadSettings::start(const QByteArray &file) {
    QFile f(iniPath());
    if (!f.open(QIODevice::WriteOnly) || f.write(file) != file.size())
        qFatal("cannot write the settings file");
    f.close();
    return Main(f_->state, f_->fakes.services, f_->switcher);
}

QByteArray TestBadSettings::closeAndRead() {
    f_->switcher.current()->widget().close();
    WindowFixture::settle();
    return readAll(iniPath());
}

void TestBadSettings::startsAndWritesAWholeFile_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QByteArrayList>("kept"); // lines written back unchanged

    QRandomGenerator random(20261206);
    QByteArray junk(256 * 1024, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32 *>(junk.data()), junk.size() / 4);
    QByteArray cr = kWhole, lf = kWhole;
    cr.replace("\r\n", "\r");
    lf.replace("\r\n", "\n");
    QByteArrayList whole;
    for (const QByteArray &line : kWhole.split('\n'))
        if (!line.isEmpty())
            whole << line.chopped(1);

    QTest::newRow("junk bytes") << junk << QStringList() << QByteArrayList();
    QTest::newRow("junk around entries")
        << junk.left(5000) + "\r\n" + kWhole + junk.mid(5000, 5000) << QStringList()
        << QByteArrayList{"FontName=DejaVu Sans", "BaseTime=31/12/2030 11:59:59 PM", "Mode=1"};
    QTest::newRow("NULs") << QByteArray(4096, '\0') << QStringList() << QByteArrayList();
    QTest::newRow("NULs inside values")
        << raw("Top=15\0"
               "00\r\nFontName=Dej\0Vu\r\nBaseTime=1/1/2030\0\r\nMode=1\0\r\n")
        << QStringList{"Main|Err(13), Type mismatch"} << QByteArrayList{raw("FontName=Dej\0Vu")};
    QTest::newRow("very long lines") << "FontName=" + QByteArray(3'000'000, 'x') + "\r\n" +
                                            QByteArray(5'000'000, ';') + "\r\nMode=1\r\n"
                                     << QStringList() << QByteArrayList{"Mode=1"};
    QTest::newRow("CR-only lines") << cr << QStringList() << whole;
    QTest::newRow("LF-only lines") << lf << QStringList() << whole;
    QTest::newRow("all line ends mixed")
        << QByteArray("Top=1500\rLeft=3000\nHeight=1500\r\n\r\n\n\rWidth=4500\n\rMode=1")
        << QStringList() << QByteArrayList{"Top=1500", "Left=3000", "Mode=1"};
    QTest::newRow("commas and quotes")
        << QByteArray("\"FontName=Times, Roman\"\r\n\"BaseTime=January 1, 2030\"\r\n"
                      "Top=\"1,500\"\r\nMode=1,2\r\n")
        << QStringList()
        << QByteArrayList{"\"FontName=Times, Roman\"", "\"BaseTime=January 1, 2030\"", "Mode=1"};
    QTest::newRow("quote never closed")
        << QByteArray("Mode=1\r\n\"FontName=Arial\r\nTop=99\r\nLeft=99") << QStringList()
        << QByteArrayList{"FontName=ArialTop=99Left=99", "Mode=1"};
    QTest::newRow("quote inside a face")
        << QByteArray("FontName=The \"Best\" Face\r\nMode=1\r\n") << QStringList()
        << QByteArrayList{"FontName=The \"Best\" Face", "Mode=1"};
    QTest::newRow("Polish face") << QByteArray("FontName=Łódź Sans\r\nMode=1\r\n") << QStringList()
                                 << QByteArrayList{"FontName=Łódź Sans"};
    QTest::newRow("Japanese face") << QByteArray("FontName=明朝\r\nMode=2\r\n") << QStringList()
                                   << QByteArrayList{"FontName=明朝", "Mode=2"};
    QTest::newRow("Latin-1 face becomes UTF-8") << QByteArray("FontName=Caf\xe9\r\nMode=1\r\n")
                                                << QStringList() << QByteArrayList{"FontName=Café"};
    QTest::newRow("unreadable entries")
        << QByteArray("Top=1e99\r\nBaseTime=soon\r\nMode=9e99\r\nFontBold=-1\r\n")
        << QStringList{"Main|Err(6), Overflow", "Main|Err(13), Type mismatch",
                       "Main|Err(6), Overflow"}
        << QByteArrayList{"FontBold=True", "Mode=2"};
}

void TestBadSettings::startsAndWritesAWholeFile() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, boxes);
    QFETCH(QByteArrayList, kept);

    DisplayWindow &w = start(file);
    QVERIFY(QTest::qWaitForWindowExposed(&w.widget()));
    QCOMPARE(f_->fakes.dialogs.messages(), boxes);

    const QByteArray written = closeAndRead();
    QCOMPARE(f_->fakes.dialogs.messages(), boxes); // no "Shutdown" box
    const QByteArrayList lines = written.split('\n');
    QCOMPARE(lines.size(), 10); // nine lines, each ended by CR LF
    QVERIFY(lines.last().isEmpty());
    const char *keys[] = {"Top=",      "Left=",       "Height=",   "Width=", "FontName=",
                          "FontBold=", "FontItalic=", "BaseTime=", "Mode="};
    for (int i = 0; i < 9; ++i) {
        QVERIFY2(lines[i].endsWith('\r'), lines[i].constData());
        const QByteArray line = lines[i].chopped(1);
        QVERIFY2(line.startsWith(keys[i]) || line.startsWith('"' + QByteArray(keys[i])),
                 line.left(80).constData());
        QVERIFY(!line.contains('\r'));
    }
    for (const QByteArray &line : kept)
        QVERIFY2(lines.contains(line + '\r'), line.left(80).constData());

    // What the program wrote, it reads back without a box, and writes again
    // byte for byte.
    f_->fakes.dialogs.shown.clear();
    QVERIFY(QTest::qWaitForWindowExposed(&start(written).widget()));
    QCOMPARE(closeAndRead(), written);
    QVERIFY(f_->fakes.dialogs.shown.empty());
}

void TestBadSettings::hugeFileStartsQuickly_data() {
    QTest::addColumn<QByteArray>("block"); // repeated to 100 MB, the real entries last
    QTest::addColumn<QStringList>("boxes");

    // Half short entries that must all be read and converted, half long lines,
    // NULs and quoted junk.
    QByteArray mixed;
    while (mixed.size() < 512 * 1024)
        mixed +=
            "Junk=1,2,3\r\nFontName=Arial Narrow\r\nTop=12\r\nBaseTime=1/1/2000\r\nMode=2,,,\r\n";
    while (mixed.size() < 1024 * 1024) {
        mixed += QByteArray(2000, '\0') + "\r\n" + QByteArray(30000, 'L') + "\r\n";
        mixed += "\"quoted, long " + QByteArray(10000, 'q') + "\"\r\n";
    }
    QTest::newRow("mixed damage") << mixed << QStringList();
    // The worst cases per byte: the most fields, the most conversions, and a
    // failing entry at every turn (one box each, not millions).
    QTest::newRow("commas only") << QByteArray(1024, ',') << QStringList();
    QTest::newRow("line ends only") << QByteArray("\r\n").repeated(512) << QStringList();
    QTest::newRow("short entries") << QByteArray("Top=1,Mode=2,").repeated(64) << QStringList();
    QTest::newRow("numbers out of range")
        << QByteArray("Top=1e99,Left=-7e50,").repeated(64)
        << QStringList{"Main|Err(6), Overflow", "Main|Err(6), Overflow"};
    QTest::newRow("dates that are not")
        << QByteArray("BaseTime=x,BaseTime=31/02/2001,").repeated(64)
        << QStringList{"Main|Err(13), Type mismatch"};
}

void TestBadSettings::hugeFileStartsQuickly() {
    QFETCH(QByteArray, block);
    QFETCH(QStringList, boxes);

    // Qt's own first-time costs (fonts, the platform) are paid before measuring.
    start(kWhole);
    delete &f_->switcher.current()->widget();
    f_->fakes.dialogs.shown.clear();

    constexpr qint64 kSize = 100 * 1000 * 1000;
    {
        const QByteArray chunk = block.repeated(qMax<qsizetype>(1, 1024 * 1024 / block.size()));
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        while (file.size() < kSize)
            QCOMPARE(file.write(chunk), chunk.size());
        QCOMPARE(file.write("\r\n" + kWhole), kWhole.size() + 2);
    }

    // Peak memory from here on: the kernel restarts VmHWM at the current size.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    const bool peakReset = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
    clear.close();
    const qint64 before = memoryKiB("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    DisplayWindow &w = Main(f_->state, f_->fakes.services, f_->switcher);
    const qint64 elapsed = timer.elapsed();
    const qint64 peak = memoryKiB(peakReset ? "VmHWM:" : "VmRSS:");
    qInfo("100 MB settings file: start-up %lld ms, memory grew %lld KiB (%s)", elapsed,
          peak - before, peakReset ? "peak" : "peak not measurable, now");

    QVERIFY(QTest::qWaitForWindowExposed(&w.widget()));
    QCOMPARE(f_->fakes.dialogs.messages(), boxes);
    // The last entries were read.
    QCOMPARE(w.tag(), QStringLiteral("1"));
    QCOMPARE(f_->state.fontName, QStringLiteral("DejaVu Sans"));
    QCOMPARE(f_->state.baseTime.text(), QStringLiteral("31/12/2030 11:59:59 PM"));
    QCOMPARE(closeAndRead(), kWhole);

    if (kSanitized)
        QSKIP("time and memory are not measured under AddressSanitizer: its checks slow every "
              "read, and it keeps freed memory in quarantine on purpose");
    QVERIFY2(elapsed < 2000, qPrintable(QStringLiteral("start-up took %1 ms").arg(elapsed)));
    QVERIFY2(peak - before < 50 * 1024,
             qPrintable(QStringLiteral("memory grew %1 KiB").arg(peak - before)));
}

QTEST_MAIN(TestBadSettings)
#include "tst_bad_settings.moc"
