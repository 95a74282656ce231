// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <sys/types.h>

namespace quennix {

// What decides where the settings file lives.
struct SettingsPlaces {
    QString programDir;        // the real executable's folder
    bool programDirWritable{}; // whether a save could replace a file there
    QString configDirs;        // the folders of the administrator's defaults, ':' between them;
                               // may name relative folders (skipped) or none
    QString configHome;        // $XDG_CONFIG_HOME as set: may be empty or relative
    QString home;              // the user's home folder; empty when there is none

    // This process's places.
    static SettingsPlaces current();
};

// An empty path means nowhere: reading and saving it fail with 76 Path not found.
struct SettingsLocation {
    QString readPath; // what start-up reads
    QString savePath; // what every close writes
};

// The file lives beside the executable whenever that folder can take it, so
// a copied or per-user install keeps its settings with the program. A program
// in a folder its user cannot write, or anywhere under /usr (a system-wide
// install, whoever runs it, root included), keeps each user's
// settings in $XDG_CONFIG_HOME/quennix/quennix.ini (~/.config when the
// variable is unset or not absolute). Start-up reads the file the next save
// writes; while that per-user file does not exist yet, the administrator's
// defaults are read instead: the first quennix/quennix.ini along
// the configuration folders ($XDG_CONFIG_DIRS, else /etc/xdg: current()).
// A user with neither an absolute XDG_CONFIG_HOME nor a home folder has no
// per-user file: the settings are then read from the defaults if there are
// any, and saved nowhere.
SettingsLocation settingsLocation(const SettingsPlaces &places);

// The home folder the password database gives user, as programs take it
// when $HOME names none; empty when it has no entry or no absolute folder.
QString passwdHome(uid_t user);

} // namespace quennix
