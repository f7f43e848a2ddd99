#pragma once

#include <QString>

namespace velmora {

// The three answers of CheckTaxCode; callers compare with them.
inline constexpr QStringView kTaxCodeCorrect = u"Corretto";
inline constexpr QStringView kTaxCodeWarning = u"Warning";
inline constexpr QStringView kTaxCodeWrong = u"Errato";

// Judges a natural person's tax code (any case) against the code of the birth municipality:
// "Corretto" when the check character and the place of birth agree, "Warning" when only the
// place agrees, "Errato" otherwise. A code whose first 15 characters are not all letters and
// digits is "Errato".
QString CheckTaxCode(const QString& code, const QString& placeCode);

} // namespace velmora
