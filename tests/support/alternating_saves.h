#pragma once

#include "startup/settings_file.h"

#include <QString>

namespace quennix::test {

// The two settings a saver process writes in turn (0, 1, 0, ...), so a file
// cut short or mixed from both is told apart from either whole one. The second
// is much longer, so a kill lands inside its write now and then.
inline WindowSettings alternatingWindow(int which) {
    if (which == 0)
        return WindowSettings{1500, 3000, 1500, 4500, false, false, QStringLiteral("1")};
    return WindowSettings{-150, 60000, 2400, 9000, true, true, QStringLiteral("2")};
}

inline QString alternatingFace(int which) {
    if (which == 0)
        return QStringLiteral("DejaVu Sans");
    return QStringLiteral("Łódź Sans ").repeated(800).trimmed();
}

inline QString alternatingBaseTime(int which) {
    return which == 0 ? QStringLiteral("01/01/2000") : QStringLiteral("31/12/2030 11:59:59 PM");
}

inline QByteArray alternatingBytes(int which) {
    return settingsFileBytes(alternatingWindow(which), alternatingFace(which),
                             alternatingBaseTime(which));
}

} // namespace quennix::test
