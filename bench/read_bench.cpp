// SPDX-License-Identifier: MIT
// Times reading the worst settings files: a damaged one of the largest size
// ever read (short junk fields and key-like ones, a bad base time in every
// line, the last entry a good one), and a 2 GB one, of which only that much
// is read. The program starts from either at once and in constant memory;
// the exit status is 1 when a read is slower than a tenth of a second, grows
// the memory by 50 MiB or more, or reads wrongly.
//
// Output:
//   read 1 MiB damaged: 4.1 ms; 2 GB: 3.9 ms; memory +0 MiB

#include "platform/system_time_zone.h"
#include "settings/settings_file.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

using namespace quennix;

namespace {

long maxRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Reads the file as at 1 January 2000; the time taken in milliseconds.
SettingsRead timedRead(const QString &path, double &ms) {
    QElapsedTimer timer;
    timer.start();
    const SystemTimeZone zone;
    SettingsRead read = readSettingsFile(path, {946684800, zone});
    ms = timer.nsecsElapsed() / 1e6;
    return read;
}

} // namespace

int main() {
    QTemporaryDir dir;
    const QString damaged = dir.filePath("damaged.ini"), huge = dir.filePath("huge.ini");
    QFile file(damaged);
    const QByteArray line("a,b,,Top=x,FontName=Arial Narrow\r\nBaseTime=soon\r\n");
    const QByteArray last("Top=42");
    if (!file.open(QIODevice::WriteOnly) ||
        !file.write(line.repeated((kMaxSettingsBytes - last.size()) / line.size())) ||
        !file.write(last) || !file.resize(kMaxSettingsBytes))
        return 1;
    file.close();
    QFile sparse(huge);
    if (!sparse.open(QIODevice::WriteOnly) || !sparse.write("Top=42\r\n") ||
        !sparse.resize(qint64(2) << 30))
        return 1;
    sparse.close();

    const long before = maxRssKiB();
    double damagedMs = 0, hugeMs = 0;
    const SettingsRead one = timedRead(damaged, damagedMs);
    const SettingsRead two = timedRead(huge, hugeMs);
    const long grownMiB = (maxRssKiB() - before) / 1024;
    std::printf("read 1 MiB damaged: %.1f ms; 2 GB: %.1f ms; memory +%ld MiB\n", damagedMs, hugeMs,
                grownMiB);

    const bool right = one.values.top == 42 &&
                       one.values.fontName == QLatin1String("Arial Narrow") &&
                       one.entryErrors.size() == 1 && one.entryErrors.front().number() == 13 &&
                       two.values.top == 42 && two.entryErrors.size() == 1 &&
                       two.entryErrors.front().number() == 75;
    return right && damagedMs < 100 && hugeMs < 100 && grownMiB < 50 ? 0 : 1;
}
