#pragma once

#include "countdown/base_time.h"
#include "countdown/run_error.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace quennix {

// The values read from the settings file (quennix.ini). All start at 0, false
// or empty, as if the key were absent.
struct StoredSettings {
    qint32 top = 0, left = 0, height = 0, width = 0; // twips, outer frame
    std::optional<QString> fontName;                 // set when a FontName= entry was read
    bool fontBold = false, fontItalic = false;
    std::optional<QString> baseTimeText; // set when a countable BaseTime entry was read
    qint32 mode = 0;                     // 1: title-less window, else framed
};

struct SettingsReadResult {
    // Set when the file could not be opened (53 File not found, 70 Permission
    // denied, 75 Path/File access error...). Nothing was read then.
    std::optional<RunError> openError;
    // One per entry that could not be read (13 Type mismatch for a BaseTime
    // that is not a date, 6 Overflow for a number out of range or a BaseTime
    // the count cannot reach from now), in file order.
    // Such an entry is skipped; the others still apply. Each key's first
    // failure only: a damaged file repeating a bad entry does not bury the
    // user in boxes (nor the program in memory).
    std::vector<RunError> entryErrors;
    StoredSettings values;
};

// Reads the file field by field, testing each field's leading characters
// against the keys in a fixed order ("Top=", "Left=", "Height=", "Width=",
// "FontName=", "FontBold=", "FontItalic=", "BaseTime", "Mode"); a repeated key
// takes its last value; fields matching no key are ignored. The file is closed
// again whatever happens. Text is UTF-8 when it is valid UTF-8, else Latin-1.
// A BaseTime is taken only when it is a date the count can reach from `now`
// (within the 32-bit range of seconds), so the first drawing cannot overflow.
SettingsReadResult readSettingsFile(const QString &path, DateValue now);
SettingsReadResult readSettings(QIODevice &device, DateValue now);

// What a display window hands over when it closes.
struct WindowSettings {
    double top = 0, left = 0, height = 0, width = 0; // twips, outer frame
    bool fontBold = false, fontItalic = false;
    QString tag; // "1" title-less, "2" framed
};

// The nine lines, each ended by CR LF: Top=, Left=, Height=, Width= (text of a
// number), FontName=, FontBold=, FontItalic= ("True"/"False"), BaseTime=, Mode=.
// An entry whose value holds a comma is written inside double quotes so the
// reader takes it whole. Face names are written as UTF-8.
QByteArray settingsFileBytes(const WindowSettings &window, const QString &fontName,
                             const QString &baseTimeText);

// Makes the file's folder when it is missing, then replaces the file in one
// step (see replaceFile): the new content is written
// beside it and renamed over it only when every write and the flush to disk
// succeeded. On failure the old file stays as it was, no file of the save is
// left, and a RunError says why (61 Disk full, 70 Permission denied, 75
// Path/File access error, 57 Device I/O error).
void writeSettingsFile(const QString &path, const QByteArray &bytes);

} // namespace quennix
