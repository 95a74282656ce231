// SPDX-License-Identifier: MIT
#include "settings/settings_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <unistd.h>

namespace quennix {

namespace {

const QString kFileName = QStringLiteral("quennix.ini");

QString perUserPath(const SettingsPlaces &places) {
    // A relative XDG_CONFIG_HOME is ignored, as other desktop programs do:
    // it would name a different folder from each working directory.
    const QString base = QDir::isAbsolutePath(places.configHome)
                             ? places.configHome
                             : QDir(places.home).filePath(QStringLiteral(".config"));
    return QDir(QDir(base).filePath(QStringLiteral("quennix"))).filePath(kFileName);
}

// The first quennix/quennix.ini along $XDG_CONFIG_DIRS, skipping relative
// entries as XDG_CONFIG_HOME's; none when no folder holds one.
QString defaultsPath(const SettingsPlaces &places) {
    const QStringList dirs = places.configDirs.isEmpty()
                                 ? QStringList{QStringLiteral("/etc/xdg")}
                                 : places.configDirs.split(QLatin1Char(':'));
    for (const QString &dir : dirs) {
        const QString path = QDir(dir).filePath(QStringLiteral("quennix/") + kFileName);
        if (QDir::isAbsolutePath(dir) && QFileInfo::exists(path))
            return path;
    }
    return {};
}

} // namespace

SettingsPlaces SettingsPlaces::current() {
    SettingsPlaces places;
    places.programDir = QCoreApplication::applicationDirPath();
    // A save creates a file beside the old one and renames it over it: that
    // takes a folder this user may write, on a file system mounted writable.
    places.programDirWritable =
        ::access(QFile::encodeName(places.programDir).constData(), W_OK | X_OK) == 0;
    places.configDirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    places.configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    places.home = QDir::homePath();
    return places;
}

SettingsLocation settingsLocation(const SettingsPlaces &places) {
    const QString beside = QDir(places.programDir).filePath(kFileName);
    if (places.programDirWritable)
        return {beside, beside};
    const QString own = perUserPath(places);
    const QString defaults = QFileInfo::exists(own) ? QString() : defaultsPath(places);
    return {defaults.isEmpty() ? own : defaults, own};
}

} // namespace quennix
