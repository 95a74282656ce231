// SPDX-License-Identifier: MIT
#include "second_ticker.h"

namespace quennix {

SecondTicker::SecondTicker(const Clock &clock, QObject *parent) : QObject(parent), clock_(clock) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &SecondTicker::fire);
    scheduleFrom(clock_.nowMSecs());
}

void SecondTicker::fire() {
    const qint64 now = clock_.nowMSecs();
    emit fired(now);
    scheduleFrom(now);
}

void SecondTicker::scheduleFrom(qint64 nowMSecs) {
    // A little past the second, so the clock surely reads the new one.
    constexpr int kPastTheSecond = 5;
    timer_.start(int(1000 - (nowMSecs - secondOf(nowMSecs) * 1000) + kPastTheSecond));
}

} // namespace quennix
