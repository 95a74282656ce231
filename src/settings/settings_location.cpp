// SPDX-License-Identifier: MIT
#include "settings/settings_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace quennix {

namespace {

const QString kFileName = QStringLiteral("quennix.ini");

// Only a path from the root names the same folder from every working folder.
// (QDir::isAbsolutePath would also take Qt's resource paths, ":/...".)
bool fromRoot(const QString &path) {
    return path.startsWith(QLatin1Char('/'));
}

// Empty when the user has no folder of their own to keep settings in.
QString perUserPath(const SettingsPlaces &places) {
    // A relative XDG_CONFIG_HOME is ignored, as other desktop programs do:
    // it would name a different folder from each working directory.
    QString base;
    if (fromRoot(places.configHome))
        base = places.configHome;
    else if (fromRoot(places.home))
        base = QDir(places.home).filePath(QStringLiteral(".config"));
    else
        return {};
    return QDir(QDir(base).filePath(QStringLiteral("quennix"))).filePath(kFileName);
}

// The first quennix/quennix.ini along the configuration folders, skipping
// relative entries as XDG_CONFIG_HOME's; none when no folder holds one.
QString defaultsPath(const SettingsPlaces &places) {
    for (const QString &dir : places.configDirs.split(QLatin1Char(':'))) {
        const QString path = QDir(dir).filePath(QStringLiteral("quennix/") + kFileName);
        if (fromRoot(dir) && QFileInfo::exists(path))
            return path;
    }
    return {};
}

// /usr is the system's read-only data (the FHS, Debian Policy 9.1.1): what a
// package or an administrator installed there is never written by the
// program, even when its user may write anything, as root may.
bool systemData(const QString &dir) {
    return dir == QLatin1String("/usr") || dir.startsWith(QLatin1String("/usr/"));
}

} // namespace

QString passwdHome(uid_t user) {
    // The entry's strings live in a buffer of ours; ERANGE asks for a larger one.
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? size_t(suggested) : 4096);
    passwd entry{};
    passwd *found = nullptr;
    while (::getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
           buffer.size() < (size_t(1) << 20))
        buffer.resize(buffer.size() * 2);
    if (!found || !found->pw_dir)
        return {};
    const QString home = QFile::decodeName(found->pw_dir);
    return fromRoot(home) ? home : QString();
}

SettingsPlaces SettingsPlaces::current() {
    SettingsPlaces places;
    places.programDir = QCoreApplication::applicationDirPath();
    // A save creates a file beside the old one and renames it over it: that
    // takes a folder this user may write, on a file system mounted writable.
    places.programDirWritable =
        ::access(QFile::encodeName(places.programDir).constData(), W_OK | X_OK) == 0;
    // An unset or empty XDG_CONFIG_DIRS means the one folder the XDG rules name.
    places.configDirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (places.configDirs.isEmpty())
        places.configDirs = QStringLiteral("/etc/xdg");
    places.configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    // $HOME when it names a folder, else the user's entry in the password
    // database. (QDir::homePath() falls back to "/", which would put the
    // settings in a folder at the root of the file system.)
    places.home = qEnvironmentVariable("HOME");
    if (!fromRoot(places.home))
        places.home = passwdHome(::getuid());
    return places;
}

SettingsLocation settingsLocation(const SettingsPlaces &places) {
    const QString beside = QDir(places.programDir).filePath(kFileName);
    if (places.programDirWritable && !systemData(places.programDir))
        return {beside, beside};
    const QString own = perUserPath(places);
    // With no per-user file there is nothing to look for: the defaults.
    const QString defaults =
        !own.isEmpty() && QFileInfo::exists(own) ? QString() : defaultsPath(places);
    return {defaults.isEmpty() ? own : defaults, own};
}

} // namespace quennix
