// SPDX-License-Identifier: MIT
// The settings reader over any bytes: no crash, hang or undefined behaviour;
// what it read, written back by the program, reads again the same, with no
// error but the one a base time out of reach gives at every start.

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
    const QByteArray written =
        settingsBytes(readAll(QByteArray(reinterpret_cast<const char *>(data), int(size))).values);
    const SettingsRead again = readAll(written);
    // A base time out of reach is kept: an overflow, counting to 2000, at every start.
    const auto &e = again.entryErrors;
    if (e.size() > 1 || settingsBytes(again.values) != written ||
        (e.size() == 1 && (e[0].number() != 6 || again.values.baseTime.value() != kEpoch2000)))
        abort();
    return 0;
}
