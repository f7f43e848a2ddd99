#pragma once

#include "core/result.h"

#include <QString>

namespace velmora {

// What a text field does with one typed character. Fields judge the character by its
// Windows-1252 code; a character the code page cannot hold is never accepted.
struct KeyFilter {
    enum class Order {
        CharacterFirst, // a refused character is dropped silently, even at the limit
        LengthFirst,    // at the limit every key is refused with the message
    };
    using Accepts = bool (*)(int code);

    Accepts accepts = nullptr;
    int limit = 0; // 0: no limit
    QString limitMessage;
    Order order = Order::CharacterFirst;
    bool upperCase = false; // letters typed turn into capitals
};

struct KeyDecision {
    enum class Kind { Insert, Drop, Refuse };
    Kind kind = Kind::Drop;
    QChar character; // what to insert, with Insert
    QString message; // what to tell the operator, with Refuse

    bool operator==(const KeyDecision&) const = default;
};

// Backspace is not judged here: it always edits. `length` is the field's whole text length.
KeyDecision judgeKey(const KeyFilter& filter, QChar key, qsizetype length);

// The text as the field holds it once typed key by key into an empty field (letters turned into
// capitals where the field does so). Fails, saying why, at the first character the field would
// not take, or with the field's own message when the text passes its limit.
Result<QString> typeText(const KeyFilter& filter, QStringView text);

// A value read from a file that its field would not take: it is left out, and the operator is
// told the file, the line, the field and why.
QString droppedValueMessage(const QString& file, int line, const QString& field,
                            const QString& why);

namespace keys {
inline bool isAsciiLetter(int c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
inline bool isDigit(int c) {
    return c >= '0' && c <= '9';
}
inline bool isAccented(int c) {
    return c >= 192 && c <= 255;
}
// Office type: letters, digits, blank, apostrophe, hyphen, full stop, accented letters.
inline bool isOfficeTypeKey(int c) {
    return c == ' ' || c == '\'' || c == '-' || c == '.' || isDigit(c) || isAsciiLetter(c) ||
           isAccented(c);
}
// Purpose: printable codes 32 to 165 and accented letters; no control character.
inline bool isPurposeKey(int c) {
    return (c >= 32 && c <= 165) || isAccented(c);
}
} // namespace keys

} // namespace velmora
