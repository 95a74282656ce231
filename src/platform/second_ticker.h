// SPDX-License-Identifier: MIT
#pragma once

#include "clock.h"

#include <QObject>
#include <QTimer>

namespace quennix {

// Fires just after each second of the clock. It wakes a few milliseconds
// past the second rather than every 100 ms, so whatever shows the second
// changes with it and an idle program costs one wake-up a second; the clock
// is read afresh at each firing, so a clock that jumps is followed within a
// second.
class SecondTicker : public QObject {
    Q_OBJECT
public:
    explicit SecondTicker(const Clock &clock, QObject *parent = nullptr);

    // Fires now, and schedules the next firing from the clock's time: what
    // the timer does, and what tests call after moving a clock of theirs.
    void fire();

signals:
    // The clock's time at the firing, in milliseconds since 1970.
    void fired(qint64 nowMSecs);

private:
    void scheduleFrom(qint64 nowMSecs);

    const Clock &clock_;
    QTimer timer_;
};

} // namespace quennix
