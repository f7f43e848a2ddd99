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

bool badName(const QString& text) {
    return text.isEmpty() || text.size() > kNameLimit;
}

} // namespace

QList<FailedRule> checkPersonFields(const PersonFields& p, const QDateTime& now) {
    const bool italy = bornInItaly(p);
    const bool hasStateCode = !p.stateCode.isEmpty();
    const Column placeField = p.foreignPlace.isEmpty() ? MunicipalityColumn : ForeignPlaceColumn;
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
        {(italy && p.municipalityCode.isEmpty() && p.foreignPlace.isEmpty()) ||
             p.foreignPlace.size() > kForeignPlaceLimit,
         u"- Comune di nascita non inserito o non valido", placeField},
        {!hasStateCode, u"- Nazione di nascita non inserita o non valida", StateColumn},
        {hasStateCode &&
             ((!italy && !p.municipality.isEmpty()) || (italy && !p.foreignPlace.isEmpty())),
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

bool asksTaxCodeConfirmation(const PersonFields& person) {
    return bornInItaly(person) &&
           checkTaxCode(person.taxCode, person.municipalityCode) == TaxCodeCheck::Warning;
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
