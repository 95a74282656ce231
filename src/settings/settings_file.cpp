// SPDX-License-Identifier: MIT
#include "settings/settings_file.h"

#include "countdown/date_text.h"
#include "countdown/number_text.h"
#include "settings/field_reader.h"
#include "settings/file_errors.h"
#include "settings/file_replacement.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace quennix {

namespace {

// Why an entry could not be read. Nothing throws while reading: a damaged
// file may hold millions of bad entries, and a throw for each takes seconds.
enum class Failure { None, Overflow, NotADate };

Failure setWhole(qint32 &target, QStringView value) {
    const std::optional<qint32> whole = tryWholeNumber(numericValue(value));
    if (!whole)
        return Failure::Overflow;
    target = *whole;
    return Failure::None;
}

Failure setTruth(bool &target, QStringView value) {
    const std::optional<bool> truth = tryTruthValue(value);
    if (!truth)
        return Failure::Overflow;
    target = *truth;
    return Failure::None;
}

// A date the count cannot reach (more than 68 years from now) is reported at
// every start, but kept for the file.
Failure setBaseTime(BaseTime &target, QStringView value, const ReadingTime &at) {
    const std::optional<DateValue> date = textToDate(value);
    if (!date)
        return Failure::NotADate;
    const auto reached = BaseTime::reachable(*date, at.now, at.zone, value.toString());
    target = reached ? *reached : BaseTime::outOfReach(value.toString());
    return reached ? Failure::None : Failure::Overflow;
}

// One row per setting, for reading and writing alike, in the order the file
// is written. A field is the entry of the key it starts with, "=" and all; its
// value starts right after. Two keys are also taken loosely, as files have
// always been read: "BaseTime" and "Mode" followed by any character in place
// of the "=" (a field no key matches whole is tried against these last, so a
// new key, "Modern=" say, is never taken for one of them).
struct Key {
    QLatin1String written;
    bool loose;
    Failure (*read)(Settings &s, QStringView value, const ReadingTime &at);
    QString (*write)(const Settings &s);
};

const Key kKeys[] = {
    {QLatin1String("Top="), false,
     [](Settings &s, QStringView v, const ReadingTime &) { return setWhole(s.top, v); },
     [](const Settings &s) { return QString::number(s.top); }},
    {QLatin1String("Left="), false,
     [](Settings &s, QStringView v, const ReadingTime &) { return setWhole(s.left, v); },
     [](const Settings &s) { return QString::number(s.left); }},
    {QLatin1String("Height="), false,
     [](Settings &s, QStringView v, const ReadingTime &) { return setWhole(s.height, v); },
     [](const Settings &s) { return QString::number(s.height); }},
    {QLatin1String("Width="), false,
     [](Settings &s, QStringView v, const ReadingTime &) { return setWhole(s.width, v); },
     [](const Settings &s) { return QString::number(s.width); }},
    {QLatin1String("FontName="), false,
     [](Settings &s, QStringView v, const ReadingTime &) {
         s.fontName = v.toString();
         return Failure::None;
     },
     [](const Settings &s) { return s.fontName; }},
    {QLatin1String("FontBold="), false,
     [](Settings &s, QStringView v, const ReadingTime &) { return setTruth(s.fontBold, v); },
     [](const Settings &s) { return truthText(s.fontBold); }},
    {QLatin1String("FontItalic="), false,
     [](Settings &s, QStringView v, const ReadingTime &) { return setTruth(s.fontItalic, v); },
     [](const Settings &s) { return truthText(s.fontItalic); }},
    {QLatin1String("BaseTime="), true,
     [](Settings &s, QStringView v, const ReadingTime &at) {
         return setBaseTime(s.baseTime, v, at);
     },
     [](const Settings &s) { return s.baseTime.text(); }},
    {QLatin1String("Mode="), true,
     [](Settings &s, QStringView v, const ReadingTime &) { return setWhole(s.mode, v); },
     [](const Settings &s) { return QString::number(s.mode); }},
};

// The key a field starts with, or nullptr. Keys are ASCII, so the raw bytes
// are matched before anything is decoded: most fields of a damaged file match
// no key, and the first byte turns them away.
const Key *keyOf(QByteArrayView field) {
    if (field.isEmpty())
        return nullptr;
    for (bool whole : {true, false}) {
        for (const Key &key : kKeys) {
            const qsizetype tested = key.written.size() - (whole ? 0 : 1);
            if (field.front() == key.written.front() && (whole || key.loose) &&
                field.startsWith(QByteArrayView(key.written.data(), tested)))
                return &key;
        }
    }
    return nullptr;
}

// Written by this program as UTF-8, or edited by hand in an older 8-bit
// editor: bytes that are not valid UTF-8 are taken as Latin-1.
QString decoded(QByteArrayView bytes) {
    return bytes.isValidUtf8() ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

// Line breaks in a value are dropped: the reader ends an entry at any CR or LF,
// so keeping them would split the entry and could even inject another key. A
// value with a comma is quoted so the reader takes it whole; double quotes in
// it are dropped then, as the reader ends a quoted field at the first one and
// would take the rest of the file into it.
QString entryLine(const Key &key, QString value) {
    value.remove(QLatin1Char('\r'));
    value.remove(QLatin1Char('\n'));
    if (!value.contains(QLatin1Char(',')))
        return key.written + value + QLatin1String("\r\n");
    value.remove(QLatin1Char('"'));
    return QLatin1Char('"') + key.written + value + QLatin1String("\"\r\n");
}

} // namespace

SettingsRead readSettings(QIODevice &device, const ReadingTime &at, qint64 limit) {
    SettingsRead result;
    bool reported[std::size(kKeys)] = {};
    FieldReader reader(device, limit);
    while (!reader.atEnd()) {
        const QByteArrayView field = reader.nextView();
        const Key *key = keyOf(field);
        if (!key)
            continue;
        const QString text = decoded(field);
        const QStringView value = QStringView(text).mid(key->written.size());
        const Failure failure = key->read(result.values, value, at);
        if (failure != Failure::None && !std::exchange(reported[key - kKeys], true))
            result.entryErrors.push_back(failure == Failure::Overflow ? RunError::overflow()
                                                                      : RunError::typeMismatch());
    }
    // The entries read before the error still apply.
    if (reader.failed())
        result.entryErrors.push_back(RunError::deviceIoError());
    else if (reader.overLimit())
        result.entryErrors.push_back(RunError::pathFileAccess());
    return result;
}

SettingsRead readSettingsFile(const QString &path, const ReadingTime &at) {
    SettingsRead result;
    if (path.isEmpty()) { // no folder of the user's own to keep it in
        result.openError = RunError::pathNotFound();
        return result;
    }
    // Only a regular file (links followed) is read, and it is looked at
    // before it is opened: opening a FIFO waits for a writer, a device may
    // act on being opened, and /dev/zero never ends. A folder, a socket, a
    // device or a link that loops is no settings file.
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) {
        result.openError = fileError(errno, FileStep::Read);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.openError = RunError::pathFileAccess();
        return result;
    }
    // Never waits: something swapped in since the look is caught by fstat.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd == -1) {
        result.openError = fileError(errno, FileStep::Read);
        return result;
    }
    QFile file;
    st = {}; // a failed fstat leaves no regular file
    ::fstat(fd, &st);
    if (!S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFile::AutoCloseHandle)) {
        ::close(fd);
        result.openError = RunError::pathFileAccess();
        return result;
    }
    return readSettings(file, at);
}

QByteArray settingsBytes(const Settings &settings) {
    QString text;
    for (const Key &key : kKeys)
        text += entryLine(key, key.write(settings));
    return text.toUtf8();
}

void writeSettingsFile(const QString &path, const QByteArray &bytes) {
    if (path.isEmpty())
        throw RunError::pathNotFound();
    // The per-user folder may not exist yet at the first save.
    makeFolderFor(path);
    replaceFile(path, bytes);
}

} // namespace quennix
