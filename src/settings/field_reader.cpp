// SPDX-License-Identifier: MIT
#include "settings/field_reader.h"

#include <algorithm>

namespace quennix {

namespace {

// Big enough that a 100 MB file takes only ~1600 device reads, small enough to
// keep the reader's footprint negligible.
constexpr int kChunk = 64 * 1024;

bool isDelimiter(char c) {
    return c == ',' || c == '\r' || c == '\n';
}
bool isQuote(char c) {
    return c == '"';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
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

QByteArrayView FieldReader::unread() const {
    return QByteArrayView(buffer_.constData(), end_).sliced(pos_);
}

void FieldReader::skip() {
    if (fill())
        ++pos_;
}

bool FieldReader::atEnd() {
    return !fill();
}

void FieldReader::scan(QByteArray *out, bool (*closes)(char)) {
    while (fill()) {
        const QByteArrayView rest = unread();
        const char *stop = std::find_if(rest.begin(), rest.end(), closes);
        if (out) // never past kMaxField
            out->append(rest.begin(),
                        std::min<qsizetype>(stop - rest.begin(), kMaxField - out->size()));
        pos_ = int(stop - buffer_.constData());
        if (stop != rest.end())
            return; // found the closing byte, left unread
    }
}

QByteArrayView FieldReader::nextView() {
    // The same rules as readAcrossChunks(), applied in place when the field
    // and its delimiter lie in the buffer.
    const QByteArrayView rest = unread();
    const char *start = std::find_if_not(rest.begin(), rest.end(), isBlank);
    const bool quoted = start != rest.end() && isQuote(*start);
    const char *from = quoted ? start + 1 : start;
    const char *stop = std::find_if(from, rest.end(), quoted ? isQuote : isDelimiter);
    const char *delimiter =
        quoted && stop != rest.end() ? std::find_if(stop + 1, rest.end(), isDelimiter) : stop;
    if (delimiter == rest.end())
        return readAcrossChunks();
    pos_ = int(delimiter + 1 - buffer_.constData());
    return QByteArrayView(from, std::min<qsizetype>(stop - from, kMaxField));
}

QByteArrayView FieldReader::readAcrossChunks() {
    while (fill() && isBlank(unread().front()))
        ++pos_;
    spill_.clear();
    if (fill() && isQuote(unread().front())) {
        ++pos_;
        scan(&spill_, isQuote);
        skip(); // the closing quote, if the file did not end first
        // Anything between the closing quote and the delimiter is dropped.
        scan(nullptr, isDelimiter);
    } else {
        scan(&spill_, isDelimiter);
    }
    skip(); // the delimiter, if the file did not end first
    return spill_;
}

} // namespace quennix
