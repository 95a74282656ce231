#include "startup/settings_file.h"

#include "countdown/date_text.h"
#include "countdown/number_text.h"
#include "startup/field_reader.h"
#include "startup/file_replacement.h"

#include <QFile>
#include <QFileInfo>
#include <QVarLengthArray>
#include <cerrno>
#include <iterator>
#include <utility>

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

// The rule whose key starts the field, or nullptr. The keys are ASCII and
// both decodings below map ASCII bytes to the same characters, so the raw
// bytes are matched before anything is decoded; most fields of a damaged file
// match no key, and the first byte turns them away.
const KeyRule *ruleFor(QByteArrayView field) {
    if (field.isEmpty())
        return nullptr;
    for (const KeyRule &rule : kKeys) {
        if (field.front() == rule.prefix.front() && field.startsWith(rule.prefix))
            return &rule;
    }
    return nullptr;
}

using Scratch = QVarLengthArray<char16_t, 256>;

// The file may have been written by this program (UTF-8) or edited by hand in
// an older 8-bit editor; bytes that are not valid UTF-8 are taken as Latin-1
// so every byte still means some character. ASCII, nearly every field, is
// widened into scratch: a file of millions of entries costs no allocation
// per entry.
QStringView decodeField(QByteArrayView bytes, Scratch &scratch, QString &decoded) {
    bool ascii = true;
    for (char c : bytes)
        ascii = ascii && uchar(c) < 0x80;
    if (ascii) {
        scratch.resize(bytes.size());
        for (qsizetype i = 0; i < bytes.size(); ++i)
            scratch[i] = char16_t(bytes[i]);
        return QStringView(scratch.constData(), scratch.size());
    }
    decoded = bytes.isValidUtf8() ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
    return decoded;
}

// Why an entry could not be read.
enum class Failure { None, Overflow, NotADate };

// Applies one entry, or says why its value cannot be read, leaving the
// settings as they were. Nothing throws here and no error is built: a damaged
// file may hold millions of bad entries, and a throw for each would take many
// seconds.
Failure applyField(const KeyRule &rule, QStringView text, DateValue now, StoredSettings &values) {
    const QStringView value = text.size() > rule.skip ? text.sliced(rule.skip) : QStringView();
    const auto set = [](auto &target, const auto &read) {
        if (!read)
            return Failure::Overflow;
        target = *read;
        return Failure::None;
    };
    switch (rule.key) {
    case Key::Top:
        return set(values.top, tryWholeNumber(numericValue(value)));
    case Key::Left:
        return set(values.left, tryWholeNumber(numericValue(value)));
    case Key::Height:
        return set(values.height, tryWholeNumber(numericValue(value)));
    case Key::Width:
        return set(values.width, tryWholeNumber(numericValue(value)));
    case Key::FontName:
        values.fontName = value.toString();
        return Failure::None;
    case Key::FontBold:
        return set(values.fontBold, tryTruthValue(value));
    case Key::FontItalic:
        return set(values.fontItalic, tryTruthValue(value));
    case Key::BaseTime: {
        // Kept as text (so it is written back unchanged) but only when it is a
        // date the count can reach: any other would end the program at the
        // first drawing, at every start.
        const std::optional<DateValue> date = textToDate(value);
        if (!date)
            return Failure::NotADate;
        if (!trySecondsBetween(now, *date))
            return Failure::Overflow;
        values.baseTimeText = value.toString();
        return Failure::None;
    }
    case Key::Mode:
        return set(values.mode, tryWholeNumber(numericValue(value)));
    }
    return Failure::None;
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

} // namespace

SettingsReadResult readSettings(QIODevice &device, DateValue now) {
    SettingsReadResult result;
    // A file that repeats a bad entry a million times still shows one box.
    bool reported[std::size(kKeys)] = {};
    FieldReader reader(device);
    Scratch scratch;
    QString decoded;
    while (!reader.atEnd()) {
        const QByteArrayView field = reader.nextView();
        const KeyRule *rule = ruleFor(field);
        if (!rule)
            continue;
        const Failure failure =
            applyField(*rule, decodeField(field, scratch, decoded), now, result.values);
        if (failure != Failure::None && !std::exchange(reported[size_t(rule->key)], true))
            result.entryErrors.push_back(failure == Failure::Overflow ? RunError::overflow()
                                                                      : RunError::typeMismatch());
    }
    return result;
}

SettingsReadResult readSettingsFile(const QString &path, DateValue now) {
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
    return readSettings(file, now);
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
    // The per-user folder may not exist yet at the first save.
    makeFolderFor(path);
    replaceFile(path, bytes);
}

} // namespace quennix
