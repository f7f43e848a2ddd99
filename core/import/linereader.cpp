#include "core/import/linereader.h"

#include "core/text/windows1252.h"

namespace velmora {
namespace {

constexpr qint64 kChunk = 64 * 1024;

} // namespace

bool LineReader::fill() {
    if (atEnd_)
        return false;
    if (bytesRead_ >= kMaxFileBytes) {
        capped_ = atEnd_ = true;
        return false;
    }
    buffer_.remove(0, position_);
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

LineReader::Status LineReader::next(QString& line) {
    qsizetype scanned = 0; // bytes after position_ known to hold no CR
    for (;;) {
        const qsizetype cr = buffer_.indexOf('\r', position_ + scanned);
        if (cr >= 0) {
            const qsizetype length = cr - position_;
            if (length > kMaxLineLength)
                return Status::TooLarge;
            // A CR as the last byte read may be the first half of CR LF: read on first. Reading
            // moves the buffer, so the line is found again by its length.
            if (cr + 1 == buffer_.size() && fill()) {
                scanned = length;
                continue;
            }
            line = decodeWindows1252(QByteArrayView(buffer_).sliced(position_, length));
            position_ += length + 1;
            if (position_ < buffer_.size() && buffer_[position_] == '\n')
                ++position_;
            return Status::Line;
        }
        scanned = buffer_.size() - position_;
        if (scanned > kMaxLineLength)
            return Status::TooLarge;
        if (fill())
            continue;
        if (failed_)
            return Status::Failed;
        if (capped_)
            return Status::TooLarge;
        if (scanned == 0)
            return Status::End;
        // The last line, without a line end.
        line = decodeWindows1252(QByteArrayView(buffer_).sliced(position_, scanned));
        position_ += scanned;
        return Status::Line;
    }
}

} // namespace velmora
