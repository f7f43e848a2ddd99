#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace velmora {

// The single-byte code page of every file the program reads or writes.

// The byte that holds `c`, or -1 when Windows-1252 has no place for it.
int windows1252Code(QChar c);

QString decodeWindows1252(QByteArrayView bytes);
// The same into `text`, whose room is used again: a reader of many lines allocates once.
void decodeWindows1252(QByteArrayView bytes, QString& text);

// A character that Windows-1252 holds and that prints: no control character (C0, DEL, or the
// five bytes the code page leaves undefined). Asked of every character of every row, so
// printable ASCII and Latin-1 are answered inline and only the rest asks the code page.
bool isPrintableBeyondLatin1(QChar c);
inline bool isPrintableWindows1252(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x20 && u < 0x7F) || (u >= 0xA0 && u <= 0xFF) || isPrintableBeyondLatin1(c);
}
// A character as a message shows it: «c» when it prints, else its number (U+000D).
QString shownCharacter(QChar c);

// nullopt when some character cannot be held; `badCharacter` then names the first one.
std::optional<QByteArray> encodeWindows1252(QStringView text, QChar* badCharacter = nullptr);
// The same, appended to `bytes`; false (and `bytes` as it was) when a character cannot be held.
bool appendWindows1252(QByteArray& bytes, QStringView text, QChar* badCharacter = nullptr);
// The same, one byte per character from `out` on, in room the caller has made: the end of what
// was written, or nullptr when a character cannot be held. Called for every field of every
// record: nearly every text is plain ASCII, each character its own byte, copied inline in one
// straight pass and redone by writeBeyondAscii() when it was not ASCII.
char* writeBeyondAscii(QStringView text, char* out, QChar* badCharacter);
inline char* writeWindows1252(QStringView text, char* out, QChar* badCharacter = nullptr) {
    const char16_t* const in = text.utf16();
    const qsizetype size = text.size();
    char16_t all = 0;
    for (qsizetype i = 0; i < size; ++i) {
        out[i] = static_cast<char>(in[i]);
        all |= in[i];
    }
    return all < 0x80 ? out + size : writeBeyondAscii(text, out, badCharacter);
}

// The capital of `c` when Windows-1252 holds it, else `c` itself: one character never
// becomes two (ß stays ß) and a capital outside the code page is not used (µ stays µ).
// Asked of every letter an import reads: plain ASCII is answered inline.
QChar upperBeyondAscii(QChar c);
inline QChar upperWithin1252(QChar c) {
    if (c.unicode() >= 0x80)
        return upperBeyondAscii(c);
    return c >= u'a' && c <= u'z' ? QChar(c.unicode() - (u'a' - u'A')) : c;
}

} // namespace velmora
