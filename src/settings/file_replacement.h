// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

namespace quennix {

// Replaces the file at path in one step: the bytes go to a file of their own
// beside it ("<name>.saving-<pid>"), are forced to the disk, and only then
// renamed over the old file, so at every moment the file holds either the old
// content or the whole new one, even if the program is killed or the machine
// loses power half-way. A symbolic link is followed and kept; the old file's
// permissions are kept.
//
// On failure the old file stays as it was, the file of our own is removed,
// and a RunError says why (61 Disk full, also for a limit on the file's size;
// 70 Permission denied, 75 Path/File access error, 57 Device I/O error).
//
// A save under a limit on the file's size fails as a full disk only once
// ignoreFileSizeSignal() has run.
//
// A save that was killed leaves its own file behind; the next save removes
// every such file whose process is gone. The settings reader never looks at
// them.
void replaceFile(const QString &path, const QByteArray &bytes);

// Ignores SIGXFSZ for the whole program, once at its start: past a limit on
// a file's size (`ulimit -f`) a write then fails with EFBIG, which a save
// reports as a full disk, instead of the signal ending the program before the
// save can say why or remove its own file (Qt's messages to a standard error
// sent to a file are cut short, too, rather than ending it).
void ignoreFileSizeSignal();

// Makes the folder that is to hold path, and any missing folder above it,
// each readable by its owner only (the user's settings are nobody else's).
// Throws RunError when one cannot be made (70 Permission denied, 75 Path/File
// access error when a file stands where a folder should be).
void makeFolderFor(const QString &path);

} // namespace quennix
