// The settings reader over any bytes: no crash, hang or undefined behaviour;
// what it read, written back by the program, reads again the same, unhurt.

#include "settings/settings_file.h"

#include <QBuffer>
#include <cstdlib>

using namespace quennix;

static SettingsRead readAll(QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return readSettings(buffer, 946684800); // 1 January 2000 in UTC
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Settings read =
        readAll(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))).values;
    if (read.baseTime.isEmpty()) // the program writes the default then
        read.baseTime = QStringLiteral("01/01/2000");
    const QByteArray written = settingsBytes(read);
    const SettingsRead again = readAll(written);
    if (!again.entryErrors.empty() || settingsBytes(again.values) != written)
        abort();
    return 0;
}
