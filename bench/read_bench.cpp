// Times reading a 100 MB damaged settings file: short junk fields and
// key-like ones, a bad base time in every line, the last entry a good one.
// The program starts from such a file in well under two seconds and in
// constant memory, with one box for the bad key; the exit status is 1 when
// the read is slower, grows the memory by 50 MiB or more, or reads wrongly.
//
// Output:
//   read 105 MB damaged: 0.61 s, memory +0 MiB

#include "settings/settings_file.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

using namespace quennix;

int main() {
    QTemporaryDir dir;
    const QString path = dir.filePath("quennix.ini");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    const QByteArray block =
        QByteArray("a,b,,Top=x,FontName=Arial Narrow\r\nBaseTime=soon\r\n").repeated(21000);
    for (int i = 0; i < 100; ++i)
        file.write(block);
    file.write("Top=42");
    file.close();

    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    QElapsedTimer timer;
    timer.start();
    const SettingsRead read = readSettingsFile(path, 946684800); // 1 January 2000
    const double seconds = timer.nsecsElapsed() / 1e9;
    getrusage(RUSAGE_SELF, &after);
    const long grownMiB = (after.ru_maxrss - before.ru_maxrss) / 1024;
    std::printf("read %lld MB damaged: %.2f s, memory +%ld MiB\n", QFileInfo(path).size() / 1000000,
                seconds, grownMiB);

    const bool right = read.values.top == 42 &&
                       read.values.fontName == QLatin1String("Arial Narrow") &&
                       read.entryErrors.size() == 1 && read.entryErrors.front().number() == 13;
    return right && seconds < 2 && grownMiB < 50 ? 0 : 1;
}
