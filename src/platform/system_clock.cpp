#include "system_clock.h"

namespace quennix {

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime();
}

} // namespace quennix
