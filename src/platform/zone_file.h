// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace quennix {

// The file the C library (glibc) reads the time zone from, for a value of TZ
// (nullptr when TZ is not set) and of TZDIR (likewise); empty when it reads
// none. A leading ':' is dropped; an empty TZ is the zone "Universal" and a
// TZ of ":" alone is UTC without a file; a path from the root is taken as it
// is, any other name under TZDIR, or /usr/share/zoneinfo when that is unset or
// empty; no TZ at all is /etc/localtime. Every TZ is tried as a file first,
// rules such as "<+03>-3" or "EST5EDT" included: only when there is no such
// file does the library read the value as a rule.
std::string zoneFileFor(const char *tz, const char *tzdir);

// Whether the C library can read the zone file without waiting on it: it
// opens the file and reads it to its end, which for a FIFO waits for a writer
// (in tzset(), where no termination request reaches the program), for some
// devices never ends, and for a folder fails. So a file that is there but is
// no regular file (links followed) is a zone that cannot be read, and one that
// is not there is one the library will not find either. The file is only
// looked at, never opened.
bool zoneFileReadable(const std::string &file);

} // namespace quennix
