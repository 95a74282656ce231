// SPDX-License-Identifier: MIT
#include "zone_file.h"

#include <sys/stat.h>

namespace quennix {

std::string zoneFileFor(const char *tz, const char *tzdir) {
    if (!tz)
        return "/etc/localtime";
    // The order matters: the empty text is a zone's name, a ':' alone none.
    std::string name = *tz == '\0' ? "Universal" : tz;
    if (name.front() == ':')
        name.erase(0, 1);
    if (name.empty() || name.front() == '/')
        return name;
    const std::string folder = tzdir && *tzdir ? tzdir : "/usr/share/zoneinfo";
    return folder + '/' + name;
}

bool zoneFileReadable(const std::string &file) {
    struct stat st {};
    return file.empty() || ::stat(file.c_str(), &st) != 0 || S_ISREG(st.st_mode);
}

} // namespace quennix
