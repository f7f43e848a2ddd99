#include "core/subjects/taxcode.h"

#include "core/subjects/record.h"

#include <array>
#include <optional>

namespace velmora {

namespace {

using record::kTaxCodeLength;
constexpr qsizetype kPlaceStart = 11; // characters 12 to 15
constexpr qsizetype kPlaceLength = 4;

// Value of A..Z (a digit d counts as the d-th letter) in an odd position 1, 3, ..., 15.
// In an even position the value is the letter's index itself.
constexpr std::array<int, 26> kOddPositionValues = {
    1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

QChar foldAscii(QChar c) {
    return (c >= u'a' && c <= u'z') ? QChar(c.unicode() - 32) : c;
}

// Index 0..25 of a letter, or of the letter a digit stands for; nullopt for anything else.
std::optional<int> letterIndex(QChar c) {
    if (c >= u'A' && c <= u'Z')
        return c.unicode() - u'A';
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    return std::nullopt;
}

} // namespace

QString taxCodeCheckText(TaxCodeCheck check) {
    switch (check) {
    case TaxCodeCheck::Corretto:
        return QStringLiteral("Corretto");
    case TaxCodeCheck::Warning:
        return QStringLiteral("Warning");
    case TaxCodeCheck::Errato:
        return QStringLiteral("Errato");
    }
    return {};
}

std::optional<QChar> taxCodeCheckCharacter(QStringView first15) {
    if (first15.size() < kTaxCodeLength - 1)
        return std::nullopt;
    // Folded one character at a time as it is read: the check runs on every row of a batch.
    int sum = 0;
    for (qsizetype i = 0; i < kTaxCodeLength - 1; ++i) {
        const std::optional<int> index = letterIndex(foldAscii(first15[i]));
        if (!index)
            return std::nullopt;
        // Position i + 1 counts from 1, so an even i is an odd position.
        sum += (i % 2 == 0) ? kOddPositionValues[*index] : *index;
    }
    return QChar(u'A' + sum % 26);
}

TaxCodeCheck checkTaxCode(QStringView code, QStringView placeCode) {
    if (code.size() != kTaxCodeLength)
        return TaxCodeCheck::Errato;
    const std::optional<QChar> checkCharacter = taxCodeCheckCharacter(code);
    if (!checkCharacter)
        return TaxCodeCheck::Errato;

    if (placeCode.size() != kPlaceLength)
        return TaxCodeCheck::Errato;
    // Characters 13 to 15 may carry the letters that stand in for digits when two persons would
    // share a code; character 12 is always the letter of the place.
    for (qsizetype i = 0; i < kPlaceLength; ++i) {
        QChar c = foldAscii(code[kPlaceStart + i]);
        if (const qsizetype digit = i > 0 ? kOmocodeLetters.indexOf(c) : -1; digit >= 0)
            c = QChar(char16_t(u'0' + digit));
        if (c != placeCode[i])
            return TaxCodeCheck::Errato;
    }
    return foldAscii(code.back()) == *checkCharacter ? TaxCodeCheck::Corretto
                                                     : TaxCodeCheck::Warning;
}

} // namespace velmora
