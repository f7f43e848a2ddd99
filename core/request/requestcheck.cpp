#include "core/request/requestcheck.h"

#include "core/dates.h"
#include "core/errorlist.h"
#include "core/subjects/entryfields.h"
#include "core/subjects/record.h"
#include "core/subjects/referencetable.h"
#include "core/subjects/taxcode.h"
#include "core/text/windows1252.h"

#include <algorithm>
#include <array>
#include <bitset>

namespace velmora {
namespace {

const QString kNoOfficeType = QStringLiteral("Inserire il Tipo Ufficio");
const QString kNoSubjects = QStringLiteral("Inserire almeno un soggetto");
const QString kIncompletePdf =
    QStringLiteral("Completare correttamente tutti i campi della richiesta");
const QString kRowErrorsHeading =
    QStringLiteral("Sono stati riscontrati errori sui seguenti soggetti: ");

// The columns the subject list writes.
constexpr std::array kWrittenColumns{SurnameColumn,      NameColumn,      MunicipalityCodeColumn,
                                     ForeignPlaceColumn, BirthDateColumn, StateCodeColumn,
                                     FatherColumn,       SexColumn,       TaxCodeColumn,
                                     CuiColumn};

// A value of blanks only is no value.
bool blank(QStringView text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == u' '; });
}

bool printable(QStringView text) {
    return std::all_of(text.cbegin(), text.cend(), isPrintableWindows1252);
}

// The entry window's field of each value an import may bring, and the fault of a character it
// refuses, in the order the check asks. The characters a field takes are looked up by their
// Windows-1252 code: the check asks of every character of every row.
struct FieldRule {
    Column column;
    RowFault fault;
    QStringView field; // as the operator reads it
    std::bitset<256> accepted;
};

FieldRule fieldRule(Column column, const KeyFilter& filter, RowFault fault, QStringView field) {
    FieldRule rule{column, fault, field, {}};
    for (int code = 0; code < 256; ++code)
        rule.accepted[code] = filter.accepts(code);
    return rule;
}

const std::array<FieldRule, 6>& fieldRules() {
    static const std::array<FieldRule, 6> rules{
        fieldRule(SurnameColumn, entryfields::surname(), RowFault::SurnameCharacter, u"Cognome"),
        fieldRule(NameColumn, entryfields::name(), RowFault::NameCharacter, u"Nome"),
        fieldRule(FatherColumn, entryfields::father(), RowFault::FatherCharacter,
                  u"Paternit\u00E0"),
        fieldRule(ForeignPlaceColumn, entryfields::foreignPlace(), RowFault::ForeignPlaceCharacter,
                  u"Comune straniero"),
        fieldRule(TaxCodeColumn, entryfields::taxCode(), RowFault::TaxCodeCharacter,
                  u"Codice fiscale"),
        fieldRule(CuiColumn, entryfields::cui(), RowFault::CuiCharacter, u"CUI"),
    };
    return rules;
}

// The first character of `text` the rule's field would not take; a null QChar when none.
QChar refusedCharacter(const FieldRule& rule, QStringView text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const int code = u < 0x80 ? int(u) : windows1252Code(c);
        if (code < 0 || !rule.accepted[code])
            return c;
    }
    return {};
}

} // namespace

Status checkOfficeType(const QString& officeType) {
    if (officeType.isEmpty())
        return Failure{kNoOfficeType};
    return {};
}

Status checkForBatch(const Request& request, int subjects, const QDateTime& now) {
    QStringList lines;
    if (request.certificateType < 0)
        lines << QStringLiteral("- Tipo certificato non immesso");
    if (request.purpose.isEmpty())
        lines << QStringLiteral("- Finalit\u00E0 non immessa");
    if (request.protocolNumber.isEmpty() || request.protocolNumber.size() > kProtocolNumberWidth)
        lines << QStringLiteral("- Numero protocollo non immesso o non valido");
    if (dateFails(request.protocolDate, now))
        lines << QStringLiteral("- Data protocollo non immessa o non valida");
    if (!lines.isEmpty())
        return Failure{errorListMessage(lines)};
    if (subjects == 0)
        return Failure{kNoSubjects};
    return {};
}

Status checkForPdf(const Request& request, int subjects) {
    if (request.purpose.isEmpty() || request.certificateType < 0 ||
        request.protocolNumber.isEmpty() || !isDate(request.protocolDate))
        return Failure{kIncompletePdf};
    if (subjects == 0)
        return Failure{kNoSubjects};
    return {};
}

RowFault checkPersonRow(const SubjectTable& table, int row, QDate today) {
    const auto cell = [&](Column column) { return table.text(row, column); };
    const auto within = [](QStringView text, qsizetype most) {
        return !blank(text) && text.size() <= most;
    };
    const QStringView sex = cell(SexColumn);
    const QStringView municipalityCode = cell(MunicipalityCodeColumn);
    const QStringView stateCode = cell(StateCodeColumn);
    const QStringView taxCode = cell(TaxCodeColumn);
    const QStringView cui = cell(CuiColumn);
    const bool italy = stateCode == record::kItalyCode;
    const bool hasMunicipality = !municipalityCode.isEmpty();
    const bool hasTaxCode = taxCode.size() == record::kTaxCodeLength;

    if (!within(cell(SurnameColumn), record::kNameLimit))
        return RowFault::Surname;
    if (!within(cell(NameColumn), record::kNameLimit))
        return RowFault::Name;
    if (sex != u"M" && sex != u"F")
        return RowFault::Sex;
    const std::optional<QDate> born = parseDate(cell(BirthDateColumn));
    if (!born)
        return RowFault::BirthDate;
    // An import keeps a code that no table holds, without a name.
    if (hasMunicipality && cell(MunicipalityColumn).isEmpty())
        return RowFault::UnknownMunicipalityCode;
    if (!stateCode.isEmpty() && cell(StateColumn).isEmpty())
        return RowFault::UnknownStateCode;
    if (stateCode.isEmpty())
        return RowFault::NoStateCode;
    if ((italy || hasMunicipality) && !hasTaxCode)
        return RowFault::NoTaxCode;
    if ((italy || hasMunicipality) &&
        checkTaxCode(taxCode, municipalityCode) == TaxCodeCheck::Errato)
        return RowFault::WrongTaxCode;
    if (within(cui, record::kCuiLength) && hasMunicipality)
        return RowFault::CuiForItalian;
    if (cui.size() > record::kCuiLength)
        return RowFault::CuiTooLong;
    if (cell(FatherColumn).size() > record::kNameLimit)
        return RowFault::FatherTooLong;
    if (cell(ForeignPlaceColumn).size() > record::kForeignPlaceLimit)
        return RowFault::ForeignPlaceTooLong;
    if (hasMunicipality && (!italy || !blank(cell(ForeignPlaceColumn))))
        return RowFault::PlaceNotCoherent;
    if (italy && !hasMunicipality)
        return RowFault::NoMunicipality;
    if (!taxCode.isEmpty() && !hasTaxCode)
        return RowFault::TaxCodeLength;
    if (!cui.isEmpty() && cui.size() != record::kCuiLength)
        return RowFault::CuiLength;
    if (*born > today)
        return RowFault::BirthDateInFuture;
    if (!std::all_of(kWrittenColumns.cbegin(), kWrittenColumns.cend(),
                     [&](Column column) { return printable(cell(column)); }))
        return RowFault::Unprintable;
    for (const FieldRule& rule : fieldRules()) {
        if (!refusedCharacter(rule, cell(rule.column)).isNull())
            return rule.fault;
    }
    if ((hasMunicipality && !isPlaceCode(municipalityCode)) || !isPlaceCode(stateCode))
        return RowFault::PlaceCodeForm;
    return RowFault::None;
}

QList<RowCheck> failingRowChecks(const SubjectTable& table, const QDateTime& now) {
    QList<RowCheck> failing;
    const QDate today = now.date();
    for (int row = 1; row <= table.subjectCount(); ++row) {
        if (const RowFault fault = checkPersonRow(table, row, today); fault != RowFault::None)
            failing.append({row, fault});
    }
    return failing;
}

QList<RowCheck> markFailingRows(SubjectTable& table, const QDateTime& now) {
    const QList<RowCheck> failing = failingRowChecks(table, now);
    for (const RowCheck& check : failing)
        table.setFault(check.row, check.fault);
    return failing;
}

QString rowFaultLines(const SubjectTable& table, const QList<RowCheck>& failing) {
    QStringList lines;
    lines.reserve(failing.size());
    for (const RowCheck& check : failing)
        lines << QStringLiteral("Riga %1: %2")
                     .arg(check.row)
                     .arg(rowFaultText(check.fault, table.subject(check.row)));
    return lines.join(QStringLiteral("\r\n"));
}

QString rowFaultText(RowFault fault, const SubjectRow& row) {
    for (const FieldRule& rule : fieldRules()) {
        if (rule.fault == fault)
            return QStringLiteral("%1: carattere non ammesso '%2'")
                .arg(rule.field)
                .arg(refusedCharacter(rule, row[rule.column]));
    }
    switch (fault) {
    case RowFault::None:
        return {};
    case RowFault::Surname:
        return QStringLiteral("Cognome mancante o pi\u00F9 lungo di %1 caratteri")
            .arg(record::kNameLimit);
    case RowFault::Name:
        return QStringLiteral("Nome mancante o pi\u00F9 lungo di %1 caratteri")
            .arg(record::kNameLimit);
    case RowFault::Sex:
        return QStringLiteral("Sesso diverso da M o F");
    case RowFault::BirthDate:
        return QStringLiteral("Data di nascita mancante o non valida");
    case RowFault::UnknownMunicipalityCode:
        return QStringLiteral("Codice del comune %1 sconosciuto").arg(row[MunicipalityCodeColumn]);
    case RowFault::UnknownStateCode:
        return QStringLiteral("Codice dello Stato %1 sconosciuto").arg(row[StateCodeColumn]);
    case RowFault::NoStateCode:
        return QStringLiteral("Codice dello Stato di nascita mancante o non trovato");
    case RowFault::NoTaxCode:
        return QStringLiteral("Codice fiscale mancante o non di %1 caratteri per un nato in Italia")
            .arg(record::kTaxCodeLength);
    case RowFault::WrongTaxCode:
        return QStringLiteral("Codice fiscale non valido per il comune di nascita");
    case RowFault::CuiForItalian:
        return QStringLiteral("CUI non previsto per un nato in Italia");
    case RowFault::CuiTooLong:
        return QStringLiteral("CUI pi\u00F9 lungo di %1 caratteri").arg(record::kCuiLength);
    case RowFault::FatherTooLong:
        return QStringLiteral("Paternit\u00E0 pi\u00F9 lunga di %1 caratteri")
            .arg(record::kNameLimit);
    case RowFault::ForeignPlaceTooLong:
        return QStringLiteral("Comune straniero pi\u00F9 lungo di %1 caratteri")
            .arg(record::kForeignPlaceLimit);
    case RowFault::PlaceNotCoherent:
        return QStringLiteral("Comune di nascita non coerente con lo Stato di nascita");
    case RowFault::NoMunicipality:
        return QStringLiteral("Comune di nascita mancante o non trovato per un nato in Italia");
    case RowFault::TaxCodeLength:
        return QStringLiteral("Codice fiscale non di %1 caratteri").arg(record::kTaxCodeLength);
    case RowFault::CuiLength:
        return QStringLiteral("CUI non di %1 caratteri").arg(record::kCuiLength);
    case RowFault::BirthDateInFuture:
        return QStringLiteral("Data di nascita successiva a oggi");
    case RowFault::Unprintable:
        return QStringLiteral("Carattere di controllo o non stampabile in un campo");
    case RowFault::SurnameCharacter:
    case RowFault::NameCharacter:
    case RowFault::FatherCharacter:
    case RowFault::ForeignPlaceCharacter:
    case RowFault::TaxCodeCharacter:
    case RowFault::CuiCharacter:
        break; // named above, with the character
    case RowFault::PlaceCodeForm:
        return QStringLiteral("Codice del Comune o dello Stato non formato da una lettera e tre "
                              "cifre");
    }
    return {};
}

QString rowErrorsMessage(const QList<int>& failingRows) {
    QStringList numbers;
    numbers.reserve(failingRows.size());
    for (const int row : failingRows)
        numbers << QString::number(row);
    return kRowErrorsHeading + numbers.join(QStringLiteral(" , "));
}

} // namespace velmora
