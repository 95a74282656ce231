// SPDX-License-Identifier: MIT
// The settings reader over any bytes: no crash, hang or undefined behaviour;
// what it read, written back by the program, reads again the same, unhurt.

#include "platform/time_zone.h"
#include "settings/settings_file.h"

#include <QBuffer>
#include <cstdlib>

using namespace quennix;

struct Utc : TimeZone {
    qint64 offsetAt(qint64) const override { return 0; }
    quint64 revision() const override { return 1; }
};

static SettingsRead readAll(QByteArray bytes) {
    static const Utc utc;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return readSettings(buffer, {946684800, utc}); // 1 January 2000 in UTC
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray written = settingsBytes(
        readAll(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))).values);
    const SettingsRead again = readAll(written);
    if (!again.entryErrors.empty() || settingsBytes(again.values) != written)
        abort();
    return 0;
}
