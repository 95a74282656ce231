// The settings reader over any bytes: no crash, no hang, no undefined
// behaviour, and
//  - the result does not depend on how the device hands the bytes over (one
//    read for the whole file, or a few bytes at a time, split anywhere);
//  - a file the program writes from what was read reads back without an
//    error, with the same face name and base time (line breaks inside them
//    are dropped when written; a value with both a comma and a double quote
//    cannot be written whole, and is left out of the comparison).

#include "fuzz_check.h"
#include "startup/field_reader.h"
#include "startup/settings_file.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>

using namespace quennix;

namespace {

// Hands the bytes over at most `piece` at a time, as a pipe or a slow network
// file system may.
class PieceDevice : public QIODevice {
public:
    PieceDevice(const QByteArray &bytes, qint64 piece) : bytes_(bytes), piece_(piece) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override {
        const qint64 n = qMin(qMin(maxSize, piece_), qint64(bytes_.size()) - pos_);
        memcpy(data, bytes_.constData() + pos_, size_t(n));
        pos_ += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    const QByteArray &bytes_;
    qint64 piece_;
    qint64 pos_ = 0;
};

SettingsReadResult readWhole(QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return readSettings(buffer, kEpoch2000);
}

bool sameValues(const StoredSettings &a, const StoredSettings &b) {
    return a.top == b.top && a.left == b.left && a.height == b.height && a.width == b.width &&
           a.fontName == b.fontName && a.fontBold == b.fontBold && a.fontItalic == b.fontItalic &&
           a.baseTimeText == b.baseTimeText && a.mode == b.mode;
}

bool sameResult(const SettingsReadResult &a, const SettingsReadResult &b) {
    if (a.entryErrors.size() != b.entryErrors.size() || !sameValues(a.values, b.values))
        return false;
    for (size_t i = 0; i < a.entryErrors.size(); ++i)
        if (a.entryErrors[i].number() != b.entryErrors[i].number())
            return false;
    return true;
}

// What a written value reads back as, or nothing when it cannot be written whole.
std::optional<QString> afterWriting(QString value) {
    value.remove(QLatin1Char('\r'));
    value.remove(QLatin1Char('\n'));
    if (value.contains(QLatin1Char(',')) && value.contains(QLatin1Char('"')))
        return std::nullopt;
    if (value.toUtf8().size() + 16 > FieldReader::kMaxField)
        return std::nullopt; // cut at the reader's field limit
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const SettingsReadResult whole = readWhole(bytes);

    PieceDevice pieces(bytes, 1 + qint64(size % 7));
    fuzz::check(sameResult(readSettings(pieces, kEpoch2000), whole),
                "same result read piece by piece");

    const StoredSettings &v = whole.values;
    const QString face = v.fontName.value_or(QString());
    const QString base = v.baseTimeText.value_or(QStringLiteral("01/01/2000"));
    const WindowSettings window{1, 2, 3, 4, v.fontBold, v.fontItalic, QStringLiteral("1")};
    const SettingsReadResult again = readWhole(settingsFileBytes(window, face, base));
    fuzz::check(again.entryErrors.empty(), "a written file reads back without an error");
    fuzz::check(again.values.fontBold == v.fontBold && again.values.fontItalic == v.fontItalic &&
                    again.values.mode == 1 && again.values.top == 1,
                "written settings read back");
    if (const std::optional<QString> expected = afterWriting(face))
        fuzz::check(again.values.fontName == expected, "face name reads back");
    if (const std::optional<QString> expected = afterWriting(base))
        fuzz::check(again.values.baseTimeText == expected, "base time reads back");
    return 0;
}
