// SPDX-License-Identifier: MIT
#pragma once

#include "countdown/local_time.h"
#include "countdown/run_error.h"
#include "state/base_time.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <optional>
#include <vector>

namespace quennix {

// Why the settings are neither kept with QSettings nor saved with QSaveFile,
// which would look simpler:
// - The file has a format of its own, which QSettings would not keep: comma-
//   or line-separated "Key=value" fields with no [General] section, keys
//   matched by exact case, BaseTime and Mode also read loosely, True and -1
//   for a set flag, a value with a comma in quotes, CR LF line ends, the keys
//   always written in the key table's order, Latin-1 read where a name is no
//   UTF-8, and at most kMaxSettingsBytes read. QSettings would rewrite the
//   file in its own syntax (a section, its own escapes, sorted keys) and read
//   the program's own files differently.
// - A failed save must say why with its own error number (61 Disk full for
//   ENOSPC and EFBIG, 70 Permission denied, 75 Path/File access error, 57
//   Device I/O error), from the errno of the call that failed. QSaveFile
//   reports only a QFileDevice::FileError, which tells none of these apart,
//   and does not force the folder's entry to the disk after the rename.
// readSettings and writeSettingsFile (file_replacement.h) do both jobs.

// The settings quennix.ini holds, one key each (the key table in
// settings_file.cpp gives their keys and order). Absent keys leave the
// values below.
struct Settings {
    qint32 top{}, left{}, height{}, width{}; // twips, the outer frame; 0 when absent
    QString fontName;                        // empty: the built-in face
    bool fontBold{}, fontItalic{};
    BaseTime baseTime;
    qint32 mode{}; // the window kind, as the display windows number it
};

// When the file is read: the instant a base time must be reachable from,
// and the zone it is read in.
struct ReadingTime {
    Instant now;
    const TimeZone &zone;
};

// A settings file is a few hundred bytes; no more than this is ever read, so
// a huge file, or one with no end (some under /proc), costs a moment at most.
constexpr qint64 kMaxSettingsBytes = 1024 * 1024;

struct SettingsRead {
    // Set when the file could not be opened: 53 File not found only when
    // nothing is there, 70 Permission denied, 75 Path/File access error for
    // anything that is no regular file (a folder, a FIFO, a socket, a device,
    // a link that loops), 76 Path not found for an empty path (there is no
    // folder to keep the file in). Nothing was read then.
    std::optional<RunError> openError;
    // One per key whose entry could not be read, in file order: 13 Type
    // mismatch for a BaseTime that is not a date, 6 Overflow for a number out
    // of range or a BaseTime the count cannot reach from now. Such an entry is
    // skipped (an unreachable BaseTime keeps its text to be written back);
    // the others still apply. A key's first failure only, so a
    // damaged file repeating a bad entry does not bury the user in boxes.
    // Last, 57 Device I/O error when reading failed part-way, or 75 Path/File
    // access error when the file goes on past kMaxSettingsBytes: the entries
    // read before still apply.
    std::vector<RunError> entryErrors;
    Settings values;
};

// Reads the file field by field (see FieldReader), testing each field's
// leading characters against the keys in the key table's order; a repeated
// key takes its last value; fields matching no key are ignored. Numbers are
// read as whole numbers. A BaseTime is counted to only when it is a date the
// count can reach from the instant `at.now` (within the 32-bit range of
// seconds), so the first drawing cannot overflow. Text is UTF-8 when it is
// valid UTF-8, else Latin-1. At most `limit` bytes are read. The file is
// never waited on, and is closed again whatever happens.
SettingsRead readSettingsFile(const QString &path, const ReadingTime &at);
SettingsRead readSettings(QIODevice &device, const ReadingTime &at,
                          qint64 limit = kMaxSettingsBytes);

// A line per key, each ended by CR LF: numbers as whole numbers, truth
// values as "True"/"False". An entry whose value
// holds a comma is written inside double quotes (without the value's own)
// so the reader takes it whole; line breaks in a value are dropped. Written
// as UTF-8.
QByteArray settingsBytes(const Settings &settings);

// Makes the file's folder when it is missing, then replaces the file in one
// step (see replaceFile): on failure the old file stays as it was and a
// RunError says why (61 Disk full, 70 Permission denied, 75 Path/File access
// error, 57 Device I/O error; 76 Path not found for an empty path, which
// nothing is written for).
void writeSettingsFile(const QString &path, const QByteArray &bytes);

} // namespace quennix
