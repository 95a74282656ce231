// SPDX-License-Identifier: MIT
#include "system_time_zone.h"

#include <cstdlib>
#include <ctime>
#include <sys/stat.h>

namespace quennix {

void SystemTimeZone::follow() const {
    // The C library takes TZ as it reads (an empty one is UTC); without it,
    // /etc/localtime, read again when its file changes.
    const char *tz = std::getenv("TZ");
    struct stat st {}; // left so when the file is not there
    if (!tz)
        ::stat("/etc/localtime", &st);
    const bool same = (tz != nullptr) == stamp_.tzSet && (!tz || stamp_.tz == tz) &&
                      quint64(st.st_dev) == stamp_.device && quint64(st.st_ino) == stamp_.inode &&
                      st.st_mtim.tv_sec == stamp_.modified &&
                      st.st_mtim.tv_nsec == stamp_.modifiedNs;
    if (same)
        return;
    stamp_ = Stamp{tz != nullptr,      tz ? tz : "",      quint64(st.st_dev),
                   quint64(st.st_ino), st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
    ::tzset();
    ++revision_;
}

qint64 SystemTimeZone::offsetAt(qint64 instant) const {
    follow();
    const time_t t = time_t(instant);
    tm parts{};
    return localtime_r(&t, &parts) ? qint64(parts.tm_gmtoff) : 0;
}

quint64 SystemTimeZone::revision() const {
    follow();
    return revision_;
}

} // namespace quennix
