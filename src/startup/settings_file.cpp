#include "startup/settings_file.h"

#include "countdown/date_text.h"
#include "countdown/number_text.h"
#include "startup/field_reader.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <unistd.h>

namespace quennix {

namespace {

enum class Key { Top, Left, Height, Width, FontName, FontBold, FontItalic, BaseTime, Mode };

struct KeyRule {
    QByteArrayView prefix; // tested, case-sensitive, against the field's start
    int skip;              // characters before the value
    Key key;
};

// Tested in this order, first match wins. "BaseTime" and "Mode" carry no "=":
// their value starts one character after the word, whatever that character is.
constexpr KeyRule kKeys[] = {
    {"Top=", 4, Key::Top},
    {"Left=", 5, Key::Left},
    {"Height=", 7, Key::Height},
    {"Width=", 6, Key::Width},
    {"FontName=", 9, Key::FontName},
    {"FontBold=", 9, Key::FontBold},
    {"FontItalic=", 11, Key::FontItalic},
    {"BaseTime", 9, Key::BaseTime},
    {"Mode", 5, Key::Mode},
};

// The file may have been written by this program (UTF-8) or edited by hand in
// an older 8-bit editor; bytes that are not valid UTF-8 are taken as Latin-1
// so every byte still means some character.
QString decodeField(const QByteArray &bytes) {
    return bytes.isValidUtf8() ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

qint32 twips(QStringView text) {
    return wholeNumber(numericValue(text));
}

// Applies one field; a value that cannot be converted throws and leaves the
// settings as they were.
void applyField(const QByteArray &field, SettingsReadResult &result) {
    // The keys are ASCII and both decodings map ASCII bytes to the same
    // characters, so the raw bytes can be matched before anything is decoded.
    // That keeps a big file of unrelated lines cheap.
    // Most fields of a damaged file match no key; the first byte turns them
    // away before any comparison.
    const KeyRule *rule = nullptr;
    for (const KeyRule &candidate : kKeys) {
        if (!field.isEmpty() && field.front() == candidate.prefix.front() &&
            QByteArrayView(field).startsWith(candidate.prefix)) {
            rule = &candidate;
            break;
        }
    }
    if (!rule)
        return;

    const QString text = decodeField(field);
    const QStringView value =
        text.size() > rule->skip ? QStringView(text).sliced(rule->skip) : QStringView();
    StoredSettings &values = result.values;
    switch (rule->key) {
    case Key::Top:
        values.top = twips(value);
        break;
    case Key::Left:
        values.left = twips(value);
        break;
    case Key::Height:
        values.height = twips(value);
        break;
    case Key::Width:
        values.width = twips(value);
        break;
    case Key::FontName:
        values.fontName = value.toString();
        break;
    case Key::FontBold:
        values.fontBold = truthValue(value);
        break;
    case Key::FontItalic:
        values.fontItalic = truthValue(value);
        break;
    case Key::BaseTime:
        // Kept as text (so it is written back unchanged) but only when it is a date.
        if (!textToDate(value))
            throw RunError::typeMismatch();
        values.baseTimeText = value.toString();
        break;
    case Key::Mode:
        values.mode = wholeNumber(numericValue(value));
        break;
    }
}

RunError openFailure(const QString &path, int err) {
    const QFileInfo info(path);
    if (!info.exists() || err == ENOENT || err == ENOTDIR)
        return RunError::fileNotFound();
    if (info.isDir())
        return RunError::pathFileAccess();
    if (err == EACCES || err == EPERM || !info.isReadable())
        return RunError::permissionDenied();
    return RunError::deviceIoError();
}

// The entry as one line. Line breaks in a value are dropped: the reader ends
// an entry at any CR or LF, so keeping them would split the entry and could
// even inject another key. A value with a comma is quoted so the reader takes
// it whole; a value that also holds a double quote cannot be quoted (the
// reader ends a quoted field at the first quote) and is written as it is.
QString entryLine(const QString &key, QString value) {
    value.remove(QLatin1Char('\r'));
    value.remove(QLatin1Char('\n'));
    QString entry = key + value;
    if (value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char('"')))
        entry = QLatin1Char('"') + entry + QLatin1Char('"');
    return entry + QLatin1String("\r\n");
}

RunError writeFailure(const QString &path, int err) {
    switch (err) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG: // a size limit on the file: no room for it either way
        return RunError::diskFull();
    case EACCES:
    case EPERM:
    case EROFS:
        return RunError::permissionDenied();
    case ENOENT:
    case ENOTDIR:
    case EISDIR:
        return RunError::pathFileAccess();
    default:
        break;
    }
    // No telling errno (QSaveFile refuses some cases itself, without a system
    // call): look at the path.
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (target.isDir() || !folder.isDir())
        return RunError::pathFileAccess();
    if (!folder.isWritable() || (target.exists() && !target.isWritable()))
        return RunError::permissionDenied();
    return RunError::deviceIoError();
}

} // namespace

SettingsReadResult readSettings(QIODevice &device) {
    SettingsReadResult result;
    FieldReader reader(device);
    while (!reader.atEnd()) {
        const QByteArray field = reader.next();
        try {
            applyField(field, result);
        } catch (const RunError &error) {
            result.entryErrors.push_back(error);
        }
    }
    return result;
}

SettingsReadResult readSettingsFile(const QString &path) {
    // Linux opens a directory for reading without complaint; it is still no
    // settings file.
    if (QFileInfo(path).isDir()) {
        SettingsReadResult result;
        result.openError = RunError::pathFileAccess();
        return result;
    }
    QFile file(path); // closed by its destructor on every way out
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        const int err = errno;
        SettingsReadResult result;
        result.openError = openFailure(path, err);
        return result;
    }
    return readSettings(file);
}

QByteArray settingsFileBytes(const WindowSettings &window, const QString &fontName,
                             const QString &baseTimeText) {
    QString text;
    text += entryLine(QStringLiteral("Top="), numberText(window.top));
    text += entryLine(QStringLiteral("Left="), numberText(window.left));
    text += entryLine(QStringLiteral("Height="), numberText(window.height));
    text += entryLine(QStringLiteral("Width="), numberText(window.width));
    text += entryLine(QStringLiteral("FontName="), fontName);
    text += entryLine(QStringLiteral("FontBold="), truthText(window.fontBold));
    text += entryLine(QStringLiteral("FontItalic="), truthText(window.fontItalic));
    text += entryLine(QStringLiteral("BaseTime="), baseTimeText);
    text += entryLine(QStringLiteral("Mode="), window.tag);
    return text.toUtf8();
}

void writeSettingsFile(const QString &path, const QByteArray &bytes) {
    // QSaveFile would refuse a directory without setting errno; say so directly.
    if (QFileInfo(path).isDir())
        throw RunError::pathFileAccess();

    QSaveFile file(path);
    // Unbuffered: every write reaches the system at once, so its failure (and
    // errno) shows at the write that caused it instead of being lost in a
    // later buffered flush.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int err = errno;
        throw writeFailure(path, err);
    }

    // Each step records errno the moment it fails; the destructor of QSaveFile
    // removes the temporary file after cancelWriting().
    const auto fail = [&](int err) {
        file.cancelWriting();
        return writeFailure(path, err);
    };
    qsizetype done = 0;
    while (done < bytes.size()) {
        errno = 0;
        const qint64 wrote = file.write(bytes.constData() + done, bytes.size() - done);
        if (wrote <= 0) {
            const int err = errno;
            throw fail(err);
        }
        done += wrote;
    }
    errno = 0;
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        const int err = errno;
        throw fail(err);
    }
    // Some file systems only report a full disk when the data is forced out,
    // and a rename over the old file must not publish data still in flight.
    errno = 0;
    if (::fsync(file.handle()) != 0) {
        const int err = errno;
        throw fail(err);
    }
    errno = 0;
    if (!file.commit()) {
        const int err = errno;
        throw writeFailure(path, err);
    }
}

} // namespace quennix
