#include "core/subjects/entryfields.h"

namespace velmora::entryfields {
namespace {

const QString kMax72 = QStringLiteral("Max 72 Caratteri");
constexpr int kNameLimit = 72;
constexpr int kForeignPlaceLimit = 60;
constexpr int kTaxCodeLimit = 16;
constexpr int kCuiLimit = 7;

bool isLetter(int c) {
    return keys::isAsciiLetter(c) || keys::isAccented(c);
}
bool isNameKey(int c) {
    return isLetter(c) || c == ' ' || c == '\'';
}
bool isFatherKey(int c) {
    return isLetter(c) || c == ' ';
}
bool isForeignPlaceKey(int c) {
    return isLetter(c) || c == ' ' || c == '\'' || c == '-' || c == '.';
}
bool isCodeKey(int c) {
    return keys::isAsciiLetter(c) || keys::isDigit(c);
}
// The list names are plain capitals: no accented letters here.
bool isPlaceListKey(int c) {
    return keys::isAsciiLetter(c) || c == ' ' || c == '\'' || c == '-' || c == '.';
}

KeyFilter upper(KeyFilter::Accepts accepts, int limit, QString message, KeyFilter::Order order) {
    return {accepts, limit, std::move(message), order, true};
}

} // namespace

KeyFilter surname() {
    return upper(isNameKey, kNameLimit, kMax72, KeyFilter::Order::CharacterFirst);
}

KeyFilter name() {
    return surname();
}

KeyFilter taxCode() {
    return upper(isCodeKey, kTaxCodeLimit, QStringLiteral("Max 16 Caratteri"),
                 KeyFilter::Order::LengthFirst);
}

KeyFilter cui() {
    return upper(isCodeKey, kCuiLimit, QStringLiteral("Max 7 Caratteri"),
                 KeyFilter::Order::LengthFirst);
}

KeyFilter father() {
    return upper(isFatherKey, kNameLimit, kMax72, KeyFilter::Order::CharacterFirst);
}

KeyFilter foreignPlace() {
    return upper(isForeignPlaceKey, kForeignPlaceLimit, QStringLiteral("Massimo 60 caratteri"),
                 KeyFilter::Order::CharacterFirst);
}

KeyFilter placeList() {
    return upper(isPlaceListKey, 0, QString(), KeyFilter::Order::CharacterFirst);
}

} // namespace velmora::entryfields
