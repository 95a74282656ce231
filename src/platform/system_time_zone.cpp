// SPDX-License-Identifier: MIT
#include "system_time_zone.h"

#include <cstdlib>
#include <ctime>
#include <string_view>
#include <sys/stat.h>
#include <tuple>

namespace quennix {

void SystemTimeZone::follow() const {
    // The C library takes TZ as it reads (an empty one is UTC); without it,
    // /etc/localtime, read again when its file changes. With TZ set the file
    // is not looked at: a tick then costs no system call.
    const char *tz = std::getenv("TZ");
    struct stat st {}; // left so when the file is not there (or not asked)
    if (!tz)
        ::stat("/etc/localtime", &st);
    const auto now =
        std::make_tuple(tz != nullptr, std::string_view(tz ? tz : ""), quint64(st.st_dev),
                        quint64(st.st_ino), qint64(st.st_mtim.tv_sec), qint64(st.st_mtim.tv_nsec));
    if (std::tie(stamp_.tzSet, stamp_.tz, stamp_.device, stamp_.inode, stamp_.modified,
                 stamp_.modifiedNs) == now)
        return;
    stamp_ = Stamp{tz != nullptr,      tz ? tz : "",      quint64(st.st_dev),
                   quint64(st.st_ino), st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
    ::tzset();
    ++revision_;
}

qint64 SystemTimeZone::offsetAt(qint64 instant) const {
    follow();
    const time_t t = time_t(instant);
    // It fails only for years past 2^31, far beyond any date; the offset
    // then stays 0.
    tm parts{};
    localtime_r(&t, &parts);
    return parts.tm_gmtoff;
}

quint64 SystemTimeZone::revision() const {
    follow();
    return revision_;
}

} // namespace quennix
