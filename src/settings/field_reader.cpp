// SPDX-License-Identifier: MIT
#include "settings/field_reader.h"

#include <cstring>

namespace quennix {

namespace {

// Big enough that a 100 MB file takes only ~1600 device reads, small enough to
// keep the reader's footprint negligible.
constexpr int kChunk = 64 * 1024;

inline bool isDelimiter(char c) {
    return c == ',' || c == '\r' || c == '\n';
}

// The first comma or line end in [from, end), or end.
inline const char *findDelimiter(const char *from, const char *end) {
    while (from != end && !isDelimiter(*from))
        ++from;
    return from;
}

} // namespace

FieldReader::FieldReader(QIODevice &device, qint64 limit) : device_(device), left_(limit) {}

bool FieldReader::fill() {
    if (pos_ < end_)
        return true;
    if (left_ == 0) {
        // One byte more tells a file that ends right at the limit from one
        // that goes on.
        char more;
        overLimit_ = overLimit_ || device_.read(&more, 1) == 1;
        return false;
    }
    buffer_.resize(kChunk);
    const qint64 got = device_.read(buffer_.data(), qMin<qint64>(kChunk, left_));
    // A read error ends the reading as the real end does, but is remembered:
    // the file was not read whole.
    failed_ = failed_ || got < 0;
    pos_ = 0;
    end_ = int(qMax<qint64>(got, 0));
    left_ -= end_;
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
        if (out && out->size() < kMaxField)
            out->append(from, qMin<qsizetype>(stop - from, kMaxField - out->size()));
        pos_ = int(stop - data);
        if (pos_ < end_)
            return; // found the closing character, left unread
    }
}

QByteArrayView FieldReader::nextView() {
    while (pos_ < end_ && (buffer_.at(pos_) == ' ' || buffer_.at(pos_) == '\t'))
        ++pos_;
    if (pos_ < end_) {
        // The same rules as readAcrossChunks(), applied in place when the
        // field and its delimiter lie in the buffer.
        const char *data = buffer_.constData();
        const char *end = data + end_;
        const bool quoted = data[pos_] == '"';
        const char *from = data + pos_ + (quoted ? 1 : 0);
        const char *stop =
            quoted ? static_cast<const char *>(std::memchr(from, '"', size_t(end - from)))
                   : findDelimiter(from, end);
        const char *delimiter = quoted && stop ? findDelimiter(stop + 1, end) : stop;
        if (delimiter && delimiter != end) {
            pos_ = int(delimiter - data) + 1;
            return QByteArrayView(from, qMin<qsizetype>(stop - from, kMaxField));
        }
    }
    return readAcrossChunks();
}

QByteArrayView FieldReader::readAcrossChunks() {
    int c = peek();
    while (c == ' ' || c == '\t') {
        ++pos_;
        c = peek();
    }
    spill_.clear();
    if (c == '"') {
        ++pos_;
        scan(&spill_, true);
        get(); // the closing quote, if the file did not end first
        // Anything between the closing quote and the delimiter is dropped.
        scan(nullptr, false);
    } else {
        scan(&spill_, false);
    }
    get(); // the delimiter, if the file did not end first
    return spill_;
}

} // namespace quennix
