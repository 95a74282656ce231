// SPDX-License-Identifier: MIT
#include "session_platform.h"

namespace quennix {

SessionEnvironment SessionEnvironment::current() {
    return {qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("XDG_SESSION_TYPE"),
            qEnvironmentVariable("WAYLAND_DISPLAY"), qEnvironmentVariable("DISPLAY")};
}

QString qtPlatformFor(const SessionEnvironment &env) {
    // Qt itself treats an empty QT_QPA_PLATFORM as unset, so it is no choice.
    if (!env.qtPlatform.isEmpty())
        return {};
    const bool wayland =
        env.sessionType.compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0 ||
        !env.waylandDisplay.isEmpty();
    if (!wayland || env.x11Display.isEmpty())
        return {};
    // Qt tries the listed platforms in order.
    return QStringLiteral("xcb;wayland");
}

} // namespace quennix
