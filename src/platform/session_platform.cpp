// SPDX-License-Identifier: MIT
#include "session_platform.h"

#include <QStringList>

namespace quennix {

namespace {

bool waylandSession(const SessionEnvironment &env) {
    return env.sessionType.compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0 ||
           !env.waylandDisplay.isEmpty();
}

// What one platform was to open, for the line that says it could not.
QString displayOf(const QString &platform, const SessionEnvironment &env) {
    if (platform == QLatin1String("xcb"))
        return env.x11Display.isEmpty() ? QStringLiteral("an X display (DISPLAY is not set)")
                                        : QStringLiteral("the display \"%1\"").arg(env.x11Display);
    if (platform.startsWith(QLatin1String("wayland"))) // also wayland-egl and the like
        return QStringLiteral("the Wayland display \"%1\"")
            .arg(env.waylandDisplay.isEmpty() ? QStringLiteral("wayland-0") : env.waylandDisplay);
    return QStringLiteral("a display through Qt's \"%1\" platform").arg(platform);
}

} // namespace

SessionEnvironment SessionEnvironment::current() {
    return {qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("XDG_SESSION_TYPE"),
            qEnvironmentVariable("WAYLAND_DISPLAY"), qEnvironmentVariable("DISPLAY")};
}

QString qtPlatformFor(const SessionEnvironment &env) {
    // Qt itself treats an empty QT_QPA_PLATFORM as unset, so it is no choice.
    if (!env.qtPlatform.isEmpty())
        return {};
    if (!waylandSession(env) || env.x11Display.isEmpty())
        return {};
    // Qt tries the listed platforms in order.
    return QStringLiteral("xcb;wayland");
}

QString noDisplayLine(const SessionEnvironment &env) {
    // Qt's own choice when none is named: Wayland in a Wayland session, else X11.
    QStringList platforms = env.qtPlatform.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (platforms.isEmpty())
        platforms << QLatin1String(waylandSession(env) ? "wayland" : "xcb");
    QStringList displays;
    for (const QString &platform : platforms) // "name:options"
        displays << displayOf(platform.section(QLatin1Char(':'), 0, 0), env);
    return QStringLiteral("quennix: cannot open ") + displays.join(QLatin1String(", nor "));
}

} // namespace quennix
