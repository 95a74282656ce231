// SPDX-License-Identifier: MIT
#pragma once
// What every test table shares: rows, files, and time zones as fixed tables
// of changes (worked out with Python's zoneinfo), so no test depends on the
// machine's zone or sets its own process's.

#include "platform/time_zone.h"

#include <QDateTime>
#include <QDir>
#include <QTest>
#include <QTimeZone>
#include <limits>
#include <map>

namespace quennix::test {

// One row of a data table, its values in the order of the columns.
template <typename... Values> void row(const char *name, const Values &...values) {
    (QTest::newRow(name) << ... << values);
}

inline const QByteArray kNoFile = "<none>"; // what a file that is not there reads as
inline QByteArray content(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : kNoFile;
}
// Writes a whole file, making its folder first.
inline void put(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !f.open(QIODevice::WriteOnly) ||
        f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// An instant in seconds, from its time in UTC.
inline qint64 utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), QTimeZone::utc()).toSecsSinceEpoch();
}

// A zone as its offset (east positive, seconds) from the start and from each
// change on. A traveller's zone becomes another.
struct ZoneTable : TimeZone {
    explicit ZoneTable(qint64 first, std::map<qint64, qint64> changes = {}) : changes(changes) {
        this->changes[std::numeric_limits<qint64>::min()] = first;
    }
    qint64 offsetAt(qint64 t) const override { return std::prev(changes.upper_bound(t))->second; }
    quint64 revision() const override { return revision_; }
    void become(const ZoneTable &other) {
        changes = other.changes;
        ++revision_;
    }
    std::map<qint64, qint64> changes;
    quint64 revision_ = 1;
};

// London: BST from 01:00 GMT on the last Sunday of March to 01:00 GMT on the
// last Sunday of October, in 2000 and 2027.
inline ZoneTable london() {
    return ZoneTable(0, {{utc(2000, 3, 26, 1), 3600},
                         {utc(2000, 10, 29, 1), 0},
                         {utc(2027, 3, 28, 1), 3600},
                         {utc(2027, 10, 31, 1), 0}});
}

} // namespace quennix::test
