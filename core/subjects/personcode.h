#pragma once

#include "core/result.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace velmora {

// What a natural person's tax code is composed from.
struct CodePerson {
    QString surname;
    QString name;
    QString sex; // "M" or "F"
    QDate birthDate;
    QString placeCode; // the municipality's code, or the state's for a person born abroad
};

// The tax code of the person by the standard composition: of surname and name only the
// letters count (a letter with an accent or another mark as its base letter); the surname's
// consonants, then its vowels, then X; a name with four consonants or more gives its first,
// third and fourth; the year in two digits; the month's letter; the day, plus 40 for a woman;
// the place code; the check character. Fails saying what is missing or wrong.
Result<QString> computeTaxCode(const CodePerson& person);

// What a code says of its person. The letters that stand in for digits when two persons would
// share a code are read as their digits; the century is the one that puts the birth date
// latest but not after `today`.
struct DecodedTaxCode {
    QString sex;
    QDate birthDate;
    QString placeCode;
    bool operator==(const DecodedTaxCode&) const = default;
};
Result<DecodedTaxCode> decodeTaxCode(QStringView code, QDate today);

// The parts in which `code` and the person disagree, in this order and these words: "cognome",
// "nome", "anno di nascita", "mese di nascita", "giorno di nascita o sesso", "luogo di
// nascita", "carattere di controllo" (the check character of the code as written). A code that
// stands in digits with letters, for the right person, differs in nothing. Empty when the
// person cannot be composed.
QStringList taxCodeDifferences(QStringView code, const CodePerson& person);
// The same on the person's values as views, for the check of every row of a table.
QStringList taxCodeDifferences(QStringView code, QStringView surname, QStringView name,
                               QStringView sex, QDate born, QStringView place);

} // namespace velmora
