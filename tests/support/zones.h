// SPDX-License-Identifier: MIT
#pragma once
// Time zones as fixed tables of changes (worked out with Python's zoneinfo),
// so no test depends on the machine's zone or sets its own process's.

#include "platform/time_zone.h"

#include <QDateTime>
#include <QTimeZone>
#include <utility>
#include <vector>

namespace quennix::test {

// An instant in seconds, from its time in UTC.
inline qint64 utc(int y, int mo, int d, int h = 0, int mi = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi), QTimeZone::utc()).toSecsSinceEpoch();
}

class ZoneTable : public TimeZone {
public:
    // The offset before the first change, then each change: its instant and
    // the offset from then on.
    explicit ZoneTable(qint64 first, std::vector<std::pair<qint64, qint64>> changes = {})
        : first_(first), changes_(std::move(changes)) {}
    qint64 offsetAt(qint64 instant) const override {
        qint64 offset = first_;
        for (const auto &[at, then] : changes_)
            offset = instant >= at ? then : offset;
        return offset;
    }
    quint64 revision() const override { return revision_; }
    // The user travels: from now on the zone is another.
    void become(const ZoneTable &other) {
        first_ = other.first_;
        changes_ = other.changes_;
        ++revision_;
    }

private:
    qint64 first_;
    std::vector<std::pair<qint64, qint64>> changes_;
    quint64 revision_ = 1;
};

// GMT, and BST from 01:00 GMT on the last Sunday of March to 01:00 GMT on
// the last Sunday of October, in 2000 and 2027.
inline ZoneTable london() {
    return ZoneTable(0, {{utc(2000, 3, 26, 1), 3600},
                         {utc(2000, 10, 29, 1), 0},
                         {utc(2027, 3, 28, 1), 3600},
                         {utc(2027, 10, 31, 1), 0}});
}

// Half an hour of summer time: 11:00 ahead until 02:00 on 4 April 2027,
// 10:30 until 02:00 on 3 October 2027, then 11:00.
inline ZoneTable lordHowe() {
    return ZoneTable(39600, {{utc(2027, 4, 3, 15), 37800}, {utc(2027, 10, 2, 15, 30), 39600}});
}

} // namespace quennix::test
