#include "core/subjects/personcheck.h"

#include "core/dates.h"
#include "core/errorlist.h"
#include "core/subjects/record.h"
#include "core/subjects/taxcode.h"

namespace velmora {
namespace {

using record::kCuiLength;
using record::kForeignPlaceLimit;
using record::kNameLimit;

bool bornInItaly(const PersonFields& person) {
    return person.state == record::kItaly;
}

// Blanks only are no name.
bool badName(const QString& text) {
    return text.trimmed().isEmpty() || text.size() > kNameLimit;
}

} // namespace

QList<FailedRule> checkPersonFields(const PersonFields& p, const QDateTime& now) {
    const bool italy = bornInItaly(p);
    const bool hasStateCode = !p.stateCode.isEmpty();
    const bool foreignPlace = !p.foreignPlace.trimmed().isEmpty();
    const Column placeField = foreignPlace ? ForeignPlaceColumn : MunicipalityColumn;
    const struct {
        bool fails;
        const char16_t* line;
        Column field;
    } rules[] = {
        {badName(p.surname), u"- Cognome non inserito correttamente", SurnameColumn},
        {badName(p.name), u"- Nome non inserito correttamente", NameColumn},
        {p.sex.isEmpty(), u"- Sesso non specificato", SexColumn},
        {italy && checkTaxCode(p.taxCode, p.municipalityCode) == TaxCodeCheck::Errato,
         u"- Codice Fiscale non valido", TaxCodeColumn},
        {!italy && !p.taxCode.isEmpty(), u"- Codice Fiscale non previsto per gli stranieri",
         TaxCodeColumn},
        {!p.cui.isEmpty() && p.cui.size() != kCuiLength, u"- CUI non valido", CuiColumn},
        {italy && !p.cui.isEmpty(), u"- CUI non previsto per gli italiani", CuiColumn},
        {p.father.size() > kNameLimit, u"- Nome del padre non inserito correttamente",
         FatherColumn},
        {dateFails(p.birthDate, now), u"- Data di nascita nulla o non valida", BirthDateColumn},
        {(italy && p.municipalityCode.isEmpty() && !foreignPlace) ||
             p.foreignPlace.size() > kForeignPlaceLimit,
         u"- Comune di nascita non inserito o non valido", placeField},
        {!hasStateCode, u"- Nazione di nascita non inserita o non valida", StateColumn},
        {hasStateCode && ((!italy && !p.municipality.isEmpty()) || (italy && foreignPlace)),
         u"- Comune di nascita non coerente con la Nazione",
         italy ? ForeignPlaceColumn : MunicipalityColumn},
    };
    QList<FailedRule> failed;
    int number = 0;
    for (const auto& rule : rules) {
        ++number;
        if (rule.fails)
            failed.append({number, QString::fromUtf16(rule.line), rule.field});
    }
    return failed;
}

QString personErrorsMessage(const QList<FailedRule>& failed) {
    QStringList lines;
    for (const FailedRule& rule : failed)
        lines.append(rule.line);
    return errorListMessage(lines);
}

CodePerson codePerson(const PersonFields& p) {
    // Italy's own code is no birth place: an Italian is born in a municipality.
    const bool abroad = p.municipalityCode.isEmpty() && p.stateCode != record::kItalyCode;
    return {p.surname, p.name, p.sex, parseDate(p.birthDate).value_or(QDate()),
            abroad ? p.stateCode : p.municipalityCode};
}

QString insertQuestion(const PersonFields& person, const SubjectTable& table, int changedRow) {
    if (person.taxCode.isEmpty())
        return {};
    const CodePerson composed = codePerson(person);
    const QStringList parts = taxCodeDifferences(person.taxCode, composed);
    if (parts == QStringList{QStringLiteral("carattere di controllo")}) {
        const QString first15 = person.taxCode.left(record::kTaxCodeLength - 1).toUpper();
        return kTaxCodeQuestion + QStringLiteral("\r\nCodice atteso: ") + first15 +
               taxCodeCheckCharacter(first15).value_or(QChar());
    }
    // Parts differ only where the person can be composed.
    if (!parts.isEmpty())
        return QStringLiteral("Il codice fiscale non corrisponde ai dati anagrafici (%1). Codice "
                              "atteso: %2. Inserire comunque?")
            .arg(parts.join(QStringLiteral(", ")), *computeTaxCode(composed));
    for (int row = 1; row <= table.subjectCount(); ++row) {
        if (row != changedRow &&
            table.text(row, TaxCodeColumn).compare(person.taxCode, Qt::CaseInsensitive) == 0)
            return QStringLiteral("Il codice fiscale \u00E8 gi\u00E0 presente alla riga %1 (%2 "
                                  "%3). Inserire comunque?")
                .arg(QString::number(row), table.text(row, SurnameColumn).toString(),
                     table.text(row, NameColumn).toString());
    }
    return {};
}

SubjectValues subjectRow(const PersonFields& p) {
    SubjectValues row;
    row[SurnameColumn] = p.surname;
    row[NameColumn] = p.name;
    row[SexColumn] = p.sex;
    row[TaxCodeColumn] = p.taxCode;
    row[CuiColumn] = p.cui;
    row[FatherColumn] = p.father;
    row[BirthDateColumn] = p.birthDate;
    row[MunicipalityColumn] = p.municipality;
    row[ForeignPlaceColumn] = p.foreignPlace;
    row[StateColumn] = p.state;
    row[MunicipalityCodeColumn] = p.municipalityCode;
    row[StateCodeColumn] = p.stateCode;
    return row;
}

int rowToWrite(bool adding, int currentRow, int rowCount) {
    if (adding || currentRow < 1 || currentRow > rowCount)
        return 0;
    return currentRow;
}

QString tableFullMessage() {
    return QStringLiteral("La tabella contiene gi\u00E0 %1 soggetti, il massimo: non se ne "
                          "possono aggiungere altri.")
        .arg(SubjectTable::kMaxRows);
}

} // namespace velmora
