// SPDX-License-Identifier: MIT
#include "system_time_zone.h"

#include "zone_file.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>
#include <sys/stat.h>
#include <tuple>

namespace quennix {

namespace {

// UTC, read from no file: the TZ that stands in for one the library cannot read.
constexpr char kUtc[] = ":";

} // namespace

SystemTimeZone::SystemTimeZone() {
    follow();
}

void SystemTimeZone::follow() const {
    // The C library takes TZ as it reads (an empty one is UTC); without it,
    // /etc/localtime, read again when its file changes. With TZ set the file
    // is not looked at: a tick then costs no system call.
    const char *tz = std::getenv("TZ");
    if (standIn_ && tz && std::strcmp(tz, kUtc) == 0) {
        // Still the user's zone that cannot be read. Only the program itself
        // could set TZ again; /etc/localtime may be replaced any time.
        if (stamp_.tzSet)
            return;
        tz = nullptr;
    } else {
        standIn_ = false; // TZ was set anew
    }
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
    // The zone's file is looked at only now that the zone has changed (and
    // /etc/localtime the same way as any other).
    const bool readable = zoneFileReadable(zoneFileFor(tz, std::getenv("TZDIR")));
    // Every tzset() reads TZ afresh, Qt's own before its local-time
    // conversions too, so the stand-in goes into the environment itself:
    // putting TZ back once the library is set would leave the next tzset()
    // anywhere in the program to wait on the file.
    if (!readable)
        ::setenv("TZ", kUtc, 1);
    else if (standIn_)
        ::unsetenv("TZ"); // /etc/localtime can be read again
    standIn_ = !readable;
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
