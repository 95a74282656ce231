// SPDX-License-Identifier: MIT
#pragma once

#include "time_zone.h"

#include <string>

namespace quennix {

// The system's time zone as the C library knows it: TZ when set, else
// /etc/localtime. A change of either is noticed the next time the zone is
// asked, so a zone changed while the program runs is followed from then on.
class SystemTimeZone : public TimeZone {
public:
    qint64 offsetAt(qint64 instant) const override;
    quint64 revision() const override;

private:
    // What tells one zone from another: the TZ text when set, else the zone
    // file's identity.
    struct Stamp {
        bool tzSet;
        std::string tz;
        quint64 device, inode;
        qint64 modified, modifiedNs;
    };
    // Reads the zone again when it is not the one last read (the C library
    // reads it at its first conversion anyway). Costs a file status and no
    // allocation while it stays.
    void follow() const;

    mutable Stamp stamp_{};
    mutable quint64 revision_{};
};

} // namespace quennix
