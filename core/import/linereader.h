#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace velmora {

// Reads a text file one line at a time (CR LF, a lone CR or a lone LF ends a line, as the
// office's own tools and those of Linux and Mac write them), without holding the whole file. The
// file is Windows-1252, unless it begins with the UTF-8 byte order mark or is valid UTF-8 holding
// some non-ASCII character: a file saved as UTF-8 by mistake is then read as what it means, and the
// caller refuses the characters Windows-1252 cannot hold. A line longer than kMaxLineLength bytes,
// or a file longer than kMaxFileBytes, stops the reading there: such a file is not a list of
// subjects, and it must be refused before it fills the memory (a device that never ends a line,
// /dev/zero, included).
class LineReader {
public:
    // The longest valid subject line is a delimited one with every field at its widest, 327
    // characters; even with each of them in three UTF-8 bytes it stays below this.
    static constexpr qsizetype kMaxLineLength = 1024;
    // Far above the largest honest file: 32,767 lines of some 320 bytes, about 10 MB.
    static constexpr qint64 kMaxFileBytes = 128LL * 1024 * 1024;

    enum class Status {
        Line,         // `line` holds the next line
        End,          // no more lines
        LineTooLong,  // the next line is past kMaxLineLength
        FileTooLarge, // the file is past kMaxFileBytes
        Failed        // the device could not be read
    };

    explicit LineReader(QIODevice& device) : device_(device) {}

    Status next(QString& line);
    // Bytes taken from the device so far.
    qint64 bytesRead() const { return bytesRead_; }
    bool utf8() const { return utf8_; }
    // The last line was read as Windows-1252, yet it is UTF-8 holding a character beyond ASCII:
    // a file whose lines were saved in both encodings, which no one reading can get right.
    bool lineInOtherEncoding() const { return lineInOtherEncoding_; }

private:
    // A UTF-8 byte order mark at the start decides the encoding at once.
    void readByteOrderMark();
    // At the first line that is not plain ASCII: the rest of the file, read through once (a pipe:
    // what it has given so far), tells whether it is UTF-8.
    void decideEncoding();
    // Into `line`, whose room is used again.
    void decode(QByteArrayView bytes, QString& line);

    // Appends the next chunk of the device to the buffer; false at its end or on a failure.
    bool fill();
    // Where the first line end at or after `from` stands in the buffer; -1 when none is there.
    qsizetype lineEnd(qsizetype from);

    QIODevice& device_;
    QByteArray buffer_;
    qsizetype position_ = 0;    // first byte of the buffer not yet returned
    qsizetype crFreeUntil_ = 0; // no CR stands from position_ up to here
    qint64 bytesRead_ = 0;
    bool atEnd_ = false;
    bool failed_ = false;
    bool capped_ = false;
    bool started_ = false;
    bool decided_ = false;
    bool utf8_ = false;
    bool lineInOtherEncoding_ = false;
};

} // namespace velmora
