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

} // namespace

SettingsPlaces SettingsPlaces::current() {
    SettingsPlaces places;
    places.programDir = QCoreApplication::applicationDirPath();
    // A save creates a file beside the old one and renames it over it: that
    // takes a folder this user may write, on a file system mounted writable.
    places.programDirWritable =
        ::access(QFile::encodeName(places.programDir).constData(), W_OK | X_OK) == 0;
    places.configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    places.home = QDir::homePath();
    return places;
}

SettingsLocation settingsLocation(const SettingsPlaces &places) {
    const QString beside = QDir(places.programDir).filePath(kFileName);
    if (places.programDirWritable)
        return {beside, beside};
    const QString own = perUserPath(places);
    const bool startFromDefaults = !QFileInfo::exists(own) && QFileInfo::exists(beside);
    return {startFromDefaults ? beside : own, own};
}

} // namespace quennix
