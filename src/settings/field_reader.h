// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QIODevice>

namespace quennix {

// Reads the settings file one field at a time, the way its entries were always
// read: leading blanks are skipped; a field that starts with a double quote runs
// to the next double quote (then on to the next comma or line end, which are
// dropped); any other field runs to the next comma or line end. A CR and an LF
// each end a line (the LF of a CR LF ends an empty field, which holds no
// entry). Reads in bounded chunks and keeps at most
// kMaxField bytes of a field (the rest is skipped), so a huge or damaged file
// costs neither much time nor much memory.
class FieldReader {
public:
    static constexpr int kMaxField = 64 * 1024;

    // Reads no more than `limit` bytes of the device.
    FieldReader(QIODevice &device, qint64 limit);

    bool atEnd();
    // Whether reading stopped on an error of the device rather than at the
    // end of the file.
    bool failed() const { return failed_; }
    // Whether reading stopped at the limit with more bytes to come.
    bool overLimit() const { return overLimit_; }
    // The next field's raw bytes. Call only when !atEnd(). The view stays
    // valid until the next call: nearly every field is handed out where it
    // lies in the read buffer, without a copy, which keeps a file of millions
    // of tiny fields fast.
    QByteArrayView nextView();

private:
    // A field that does not lie whole in the read buffer (it runs past the
    // end of a chunk, or the file ends first), read piece by piece into spill_.
    QByteArrayView readAcrossChunks();
    // A read buffer of one chunk over the device: bytes [pos_, end_) are
    // unread. False at the end.
    bool fill();
    QByteArrayView unread() const;
    // Passes the next byte, if there is one.
    void skip();
    // Moves on to the first byte that `closes` (a double quote, or a comma or
    // line end), leaving it unread; the bytes passed are appended to out (when
    // given) up to kMaxField.
    void scan(QByteArray *out, bool (*closes)(char));

    QIODevice &device_;
    qint64 left_; // bytes the limit still allows
    QByteArray buffer_;
    QByteArray spill_;
    int pos_ = 0;
    int end_ = 0;
    bool failed_ = false;
    bool overLimit_ = false;
};

} // namespace quennix
