#include "startup/field_reader.h"

#include <cstring>

namespace quennix {

namespace {

// Big enough that a 100 MB file takes only ~1600 device reads, small enough to
// keep the reader's footprint negligible.
constexpr int kChunk = 64 * 1024;

inline bool isDelimiter(char c) {
    return c == ',' || c == '\r' || c == '\n';
}

} // namespace

FieldReader::FieldReader(QIODevice &device) : device_(device) {}

bool FieldReader::fill() {
    if (pos_ < end_)
        return true;
    if (exhausted_)
        return false;
    buffer_.resize(kChunk);
    const qint64 got = device_.read(buffer_.data(), kChunk);
    pos_ = 0;
    end_ = got > 0 ? int(got) : 0;
    // A read error ends the file just like its real end: whatever was read so
    // far still counts, and the caller never loops on a broken device.
    if (got <= 0)
        exhausted_ = true;
    return end_ > 0;
}

int FieldReader::peek() {
    return fill() ? static_cast<unsigned char>(buffer_.at(pos_)) : -1;
}

int FieldReader::get() {
    const int c = peek();
    if (c >= 0)
        ++pos_;
    return c;
}

bool FieldReader::atEnd() {
    return !fill();
}

void FieldReader::scan(QByteArray *out, bool quoted) {
    while (fill()) {
        const char *data = buffer_.constData();
        const char *from = data + pos_;
        const char *stop;
        if (quoted) {
            stop = static_cast<const char *>(std::memchr(from, '"', size_t(end_ - pos_)));
            if (!stop)
                stop = data + end_;
        } else {
            stop = from;
            while (stop != data + end_ && !isDelimiter(*stop))
                ++stop;
        }
        if (out && out->size() < kMaxField) {
            const qsizetype take = qMin<qsizetype>(stop - from, kMaxField - out->size());
            // Nearly every field lies within one chunk: one exact allocation.
            if (out->isEmpty())
                *out = QByteArray(from, take);
            else
                out->append(from, take);
        }
        pos_ = int(stop - data);
        if (pos_ < end_)
            return; // found the closing character, left unread
    }
}

void FieldReader::skipDelimiter() {
    if (get() == '\r' && peek() == '\n')
        ++pos_;
}

QByteArray FieldReader::next() {
    int c = peek();
    while (c == ' ' || c == '\t') {
        ++pos_;
        c = peek();
    }
    QByteArray field;
    if (c == '"') {
        ++pos_;
        scan(&field, true);
        get(); // the closing quote, if the file did not end first
        // Anything between the closing quote and the delimiter is dropped.
        scan(nullptr, false);
    } else {
        scan(&field, false);
    }
    skipDelimiter();
    return field;
}

} // namespace quennix
