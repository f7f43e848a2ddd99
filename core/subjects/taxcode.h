#pragma once

#include <QString>
#include <optional>

namespace velmora {

// The answer of checkTaxCode.
enum class TaxCodeCheck { Corretto, Warning, Errato };

// The answer as the operator reads it: "Corretto", "Warning" or "Errato".
QString taxCodeCheckText(TaxCodeCheck check);

// Judges a natural person's tax code (any case) against the code of the birth municipality:
// Corretto when the check character and the place of birth agree, Warning when only the place
// agrees, Errato otherwise. The place is compared with the letters L to V of characters 13 to
// 15 read as the digits they replace; the check character is computed on the code as written. A
// code whose first 15 characters are not all letters and digits is
// Errato.
TaxCodeCheck checkTaxCode(QStringView code, QStringView placeCode);

// The check character of a code's first 15 characters (any case; a digit counts as the letter
// of its place in the alphabet); none when one is not a letter or a digit.
std::optional<QChar> taxCodeCheckCharacter(QStringView first15);

// The letters that stand in for the digits 0 to 9 when two persons would share a code.
inline constexpr QStringView kOmocodeLetters = u"LMNPQRSTUV";

} // namespace velmora
