// SPDX-License-Identifier: MIT
#include "system_clock.h"

#include <QDateTime>

namespace quennix {

qint64 SystemClock::nowMSecs() const {
    return QDateTime::currentMSecsSinceEpoch();
}

} // namespace quennix
