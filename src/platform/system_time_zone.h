// SPDX-License-Identifier: MIT
#pragma once

#include "time_zone.h"

#include <string>

namespace quennix {

// The system's time zone as the C library knows it: TZ when set, else
// /etc/localtime. A change of either is noticed the next time the zone is
// asked, so a zone changed while the program runs is followed from then on.
// A zone whose file is there but is no regular file (a FIFO, a device, a
// folder: see zoneFileReadable) is UTC, as an unreadable zone is to the C
// library, and is never opened: TZ is then set to ":" (UTC from no file) for
// the whole program while the zone stays so, and left so when the object goes.
// Made before anything else converts local times (Qt's widgets do), the
// program never waits on such a file.
class SystemTimeZone : public TimeZone {
public:
    SystemTimeZone(); // reads the zone
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
    // TZ is our ":" in place of the user's setting (stamp_), whose file
    // cannot be read.
    mutable bool standIn_{};
};

} // namespace quennix
