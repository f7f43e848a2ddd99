#include "core/text/windows1252.h"

#include <array>

namespace velmora {
namespace {

// Bytes 0x80 to 0x9F; the five bytes the code page leaves undefined map to the C1 control
// of the same value, as Windows itself does, so that any byte survives a round trip.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

int windows1252Code(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < int(kHighControls.size()); ++i) {
        if (kHighControls[i] == u)
            return 0x80 + i;
    }
    return -1;
}

bool isPrintableBeyondLatin1(QChar c) {
    const int code = windows1252Code(c);
    if (code < 0x20 || code == 0x7F)
        return false;
    // Between 0x80 and 0x9F only the undefined bytes map to a character below 0xA0.
    return code < 0x80 || c.unicode() >= 0xA0;
}

QString shownCharacter(QChar c) {
    if (c.isPrint())
        return QStringLiteral("\u00AB%1\u00BB").arg(c);
    return QStringLiteral("U+%1").arg(
        QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0'));
}

void decodeWindows1252(QByteArrayView bytes, QString& text) {
    // New room of the exact size: resize() would add room to grow into.
    if (text.capacity() < bytes.size())
        text = QString(bytes.size(), Qt::Uninitialized);
    else
        text.resize(bytes.size());
    char16_t* const out = reinterpret_cast<char16_t*>(text.data());
    // Outside 0x80 to 0x9F the code page is Latin-1: every byte widened in one straight pass,
    // and the rare bytes of that range put right afterwards.
    unsigned char high = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        out[i] = byte;
        high |= byte;
    }
    if (high < 0x80)
        return;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (out[i] >= 0x80 && out[i] < 0xA0)
            out[i] = kHighControls[out[i] - 0x80];
    }
}

QString decodeWindows1252(QByteArrayView bytes) {
    QString text;
    decodeWindows1252(bytes, text);
    return text;
}

char* writeBeyondAscii(QStringView text, char* out, QChar* badCharacter) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        int code = u;
        if (u >= 0x80 && (u < 0xA0 || u > 0xFF))
            code = windows1252Code(c);
        if (code < 0) {
            if (badCharacter)
                *badCharacter = c;
            return nullptr;
        }
        *out++ = static_cast<char>(code);
    }
    return out;
}

bool appendWindows1252(QByteArray& bytes, QStringView text, QChar* badCharacter) {
    const qsizetype start = bytes.size();
    bytes.resize(start + text.size());
    if (writeWindows1252(text, bytes.data() + start, badCharacter))
        return true;
    bytes.truncate(start);
    return false;
}

std::optional<QByteArray> encodeWindows1252(QStringView text, QChar* badCharacter) {
    QByteArray bytes;
    if (!appendWindows1252(bytes, text, badCharacter))
        return std::nullopt;
    return bytes;
}

QChar upperBeyondAscii(QChar c) {
    const QString upper = QString(c).toUpper();
    if (upper.size() != 1 || windows1252Code(upper.front()) < 0)
        return c;
    return upper.front();
}

} // namespace velmora
