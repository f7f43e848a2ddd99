#include "core/subjects/entryfields.h"

#include "core/subjects/record.h"

namespace velmora::entryfields {
namespace {

const QString kMaxName = QStringLiteral("Max %1 Caratteri").arg(record::kNameLimit);

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
    return upper(isNameKey, record::kNameLimit, kMaxName, KeyFilter::Order::CharacterFirst);
}

KeyFilter name() {
    return surname();
}

KeyFilter taxCode() {
    return upper(isCodeKey, record::kTaxCodeLength,
                 QStringLiteral("Max %1 Caratteri").arg(record::kTaxCodeLength),
                 KeyFilter::Order::LengthFirst);
}

KeyFilter cui() {
    return upper(isCodeKey, record::kCuiLength,
                 QStringLiteral("Max %1 Caratteri").arg(record::kCuiLength),
                 KeyFilter::Order::LengthFirst);
}

KeyFilter father() {
    return upper(isFatherKey, record::kNameLimit, kMaxName, KeyFilter::Order::CharacterFirst);
}

KeyFilter foreignPlace() {
    return upper(isForeignPlaceKey, record::kForeignPlaceLimit,
                 QStringLiteral("Massimo %1 caratteri").arg(record::kForeignPlaceLimit),
                 KeyFilter::Order::CharacterFirst);
}

KeyFilter placeList() {
    return upper(isPlaceListKey, 0, QString(), KeyFilter::Order::CharacterFirst);
}

} // namespace velmora::entryfields
