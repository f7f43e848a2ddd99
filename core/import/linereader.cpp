#include "core/import/linereader.h"

#include "core/text/windows1252.h"

#include <QStringDecoder>
#include <cstring>

namespace velmora {
namespace {

constexpr qint64 kChunk = 64 * 1024;
constexpr QByteArrayView kByteOrderMark = "\xEF\xBB\xBF";

bool hasNonAscii(QByteArrayView bytes) {
    unsigned char all = 0; // no early exit: the loop stays a straight vector pass
    for (const char b : bytes)
        all |= static_cast<unsigned char>(b);
    return all >= 0x80;
}

bool isUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    return !QString(decoder(bytes)).isNull() && !decoder.hasError();
}

} // namespace

void LineReader::readByteOrderMark() {
    started_ = true;
    while (buffer_.size() < kByteOrderMark.size() && fill()) {
    }
    if (buffer_.startsWith(kByteOrderMark)) {
        utf8_ = decided_ = true;
        position_ = kByteOrderMark.size();
    }
}

void LineReader::decideEncoding() {
    decided_ = true;
    // Everything before this line was ASCII, which both readings agree on: the rest decides.
    QStringDecoder decoder(QStringDecoder::Utf8);
    // The decoder decodes only when its answer is taken.
    const auto scan = [&decoder](QByteArrayView bytes) { return QString(decoder(bytes)).size(); };
    scan(QByteArrayView(buffer_).sliced(position_));
    if (!device_.isSequential() && !decoder.hasError()) {
        // The rest of the file, read through and then given back to the line reading.
        const qint64 back = device_.pos();
        qint64 scanned = bytesRead_;
        while (!decoder.hasError() && scanned < kMaxFileBytes) {
            const QByteArray chunk = device_.read(kChunk);
            if (chunk.isEmpty())
                break;
            scanned += chunk.size();
            scan(chunk);
        }
        // A sequence cut by the end of the file is no UTF-8: one more byte makes it tell.
        if (scanned < kMaxFileBytes)
            scan("\n");
        if (!device_.seek(back))
            failed_ = atEnd_ = true;
    }
    // A sequence cut at the end of what a pipe has given so far still counts as UTF-8.
    utf8_ = !decoder.hasError();
}

void LineReader::decode(QByteArrayView bytes, QString& line) {
    if (!decided_ && hasNonAscii(bytes))
        decideEncoding();
    if (!utf8_) {
        lineInOtherEncoding_ = decided_ && hasNonAscii(bytes) && isUtf8(bytes);
        return decodeWindows1252(bytes, line);
    }
    // A byte order mark at the start of a later line is a character like any other.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom |
                                                     QStringDecoder::Flag::Stateless);
    line = decoder(bytes);
}

bool LineReader::fill() {
    if (atEnd_)
        return false;
    if (bytesRead_ >= kMaxFileBytes) {
        capped_ = atEnd_ = true;
        return false;
    }
    buffer_.remove(0, position_);
    crFreeUntil_ = std::max<qsizetype>(crFreeUntil_ - position_, 0);
    position_ = 0;
    // A file says how much is left: a small one gets a small buffer.
    const qint64 wanted =
        device_.isSequential() ? kChunk : qBound<qint64>(1, device_.size() - device_.pos(), kChunk);
    const qsizetype kept = buffer_.size();
    buffer_.resize(kept + wanted);
    const qint64 got = device_.read(buffer_.data() + kept, wanted);
    buffer_.resize(kept + qMax<qint64>(got, 0));
    if (got <= 0) {
        failed_ = got < 0;
        atEnd_ = true;
        return false;
    }
    bytesRead_ += got;
    return true;
}

qsizetype LineReader::lineEnd(qsizetype from) {
    // A file of LF lines holds no CR: the buffer is searched for one once, not at every line.
    qsizetype cr = -1;
    if (crFreeUntil_ < buffer_.size()) {
        cr = buffer_.indexOf('\r', std::max(from, crFreeUntil_));
        crFreeUntil_ = cr < 0 ? buffer_.size() : cr;
    }
    const qsizetype until = cr < 0 ? buffer_.size() : cr;
    const void* lf = std::memchr(buffer_.constData() + from, '\n', size_t(until - from));
    return lf ? static_cast<const char*>(lf) - buffer_.constData() : cr;
}

LineReader::Status LineReader::next(QString& line) {
    if (!started_)
        readByteOrderMark();
    qsizetype scanned = 0; // bytes after position_ known to hold no line end
    for (;;) {
        const qsizetype end = lineEnd(position_ + scanned);
        if (end >= 0) {
            const qsizetype length = end - position_;
            if (length > kMaxLineLength)
                return Status::LineTooLong;
            // A CR as the last byte read may be the first half of CR LF: read on first. Reading
            // moves the buffer, so the line is found again by its length.
            const bool cr = buffer_[end] == '\r';
            if (cr && end + 1 == buffer_.size() && fill()) {
                scanned = length;
                continue;
            }
            decode(QByteArrayView(buffer_).sliced(position_, length), line);
            position_ += length + 1;
            if (cr && position_ < buffer_.size() && buffer_[position_] == '\n')
                ++position_;
            return Status::Line;
        }
        scanned = buffer_.size() - position_;
        if (scanned > kMaxLineLength)
            return Status::LineTooLong;
        if (fill())
            continue;
        if (failed_)
            return Status::Failed;
        if (capped_)
            return Status::FileTooLarge;
        if (scanned == 0)
            return Status::End;
        // The last line, without a line end.
        decode(QByteArrayView(buffer_).sliced(position_, scanned), line);
        position_ += scanned;
        return Status::Line;
    }
}

} // namespace velmora
