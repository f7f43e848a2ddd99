#include "core/import/importfile.h"

#include "core/dates.h"
#include "core/import/linereader.h"
#include "core/subjects/record.h"
#include "core/text/windows1252.h"

#include <QFile>
#include <algorithm>

namespace velmora {
namespace {

constexpr qsizetype kDateLength = record::kBirthDate.width;
constexpr int kProgressEveryLines = 1024;
// No line that can pass is shorter: eight separators and a ten-character date.
constexpr qint64 kShortestDelimitedLine = 8 + kDateLength;
// Shared by every row born in Italy rather than made for each.
const QString kItalyName = record::kItaly.toString();
const QString kItalyCodeText = record::kItalyCode.toString();

// The values of one line as the file holds them, before the names are looked up.
struct LineValues {
    QString surname;
    QString name;
    QString municipalityCode;
    QString foreignPlace;
    QString birthDate;
    QString stateCode;
    QString father;
    QString sex;
    QString taxCode;
    QString cui;
};

QString upperText(QStringView text) {
    QString result = text.toString();
    for (QChar& c : result) {
        // Most letters are plain ASCII: no call for them.
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
        else if (c.unicode() >= 0x80)
            c = upperWithin1252(c);
    }
    return result;
}

// Blanks only, as the fixed-width layout pads with them; other characters are data.
QStringView withoutBlanks(QStringView text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.sliced(start, end - start);
}

// The table's dd/mm/yyyy from yyyy-mm-dd (as the subject list writes it) or dd/mm/yyyy.
std::optional<QString> tableDate(const QString& text) {
    if (text.size() == kDateLength && text[4] == u'-' && text[7] == u'-') {
        const QStringView digits(text);
        QString date;
        date.reserve(kDateLength);
        date.append(digits.sliced(8, 2)).append(u'/').append(digits.sliced(5, 2)).append(u'/');
        date.append(digits.sliced(0, 4));
        return parseDate(date) ? std::optional<QString>(date) : std::nullopt;
    }
    return parseDate(text) ? std::optional<QString>(text) : std::nullopt;
}

bool bornInItaly(ImportKind kind, const QString& municipalityCode, const QString& stateCode) {
    if (municipalityCode.isEmpty())
        return false;
    if (stateCode.isEmpty() || stateCode == record::kItalyCode)
        return true;
    return kind == ImportKind::Delimited && (stateCode == u"000" || stateCode == u"0");
}

std::optional<SubjectValues> buildRow(LineValues values, ImportKind kind,
                                      const PlaceTables& places) {
    const std::optional<QString> birthDate = tableDate(values.birthDate);
    if (!birthDate)
        return std::nullopt;
    // Delimited files from other systems often leave out the Z of foreign codes.
    const auto completeCode = [kind](QString& code) {
        if (kind == ImportKind::Delimited && code.size() == 3)
            code.prepend(u'Z');
    };

    QString& municipalityCode = values.municipalityCode;
    completeCode(municipalityCode);
    QString municipality;
    if (!municipalityCode.isEmpty()) {
        if (!places.municipalitiesRead)
            return std::nullopt;
        municipality = places.municipalities.nameByCode(municipalityCode);
    }
    if (municipality.isEmpty())
        municipalityCode.clear();

    QString& stateCode = values.stateCode;
    QString state;
    if (bornInItaly(kind, municipalityCode, stateCode)) {
        state = kItalyName;
        stateCode = kItalyCodeText;
    } else {
        completeCode(stateCode);
        if (!places.statesRead)
            return std::nullopt;
        state = places.states.nameByCode(stateCode);
    }
    if (state.isEmpty())
        stateCode.clear();

    SubjectValues row;
    row[SurnameColumn] = std::move(values.surname);
    row[NameColumn] = std::move(values.name);
    row[SexColumn] = std::move(values.sex);
    row[TaxCodeColumn] = std::move(values.taxCode);
    row[CuiColumn] = std::move(values.cui);
    row[FatherColumn] = std::move(values.father);
    row[BirthDateColumn] = *birthDate;
    row[MunicipalityColumn] = std::move(municipality);
    row[ForeignPlaceColumn] = std::move(values.foreignPlace);
    row[StateColumn] = std::move(state);
    row[MunicipalityCodeColumn] = std::move(municipalityCode);
    row[StateCodeColumn] = std::move(stateCode);
    return row;
}

// Why a line cannot become a row whatever its fields: a control character, or one that
// Windows-1252 cannot hold (a UTF-8 file). nullopt when every character prints.
std::optional<QString> unreadableCharacter(const QString& line) {
    for (const QChar c : line) {
        if (isPrintableWindows1252(c))
            continue;
        if (windows1252Code(c) >= 0)
            return QStringLiteral("La riga contiene un carattere di controllo");
        return QStringLiteral("Il carattere %1 non esiste nella codifica Windows-1252")
            .arg(shownCharacter(c));
    }
    return std::nullopt;
}

// The message of the line that failed, and on a line of its own what is wrong with it.
Failure dateFailure(int line, const QString& reason) {
    return {importDateMessage(line) + QStringLiteral("\r\n") + reason};
}
Failure generalFailure(int line, const QString& reason) {
    return {importGeneralMessage(line) + QStringLiteral("\r\n") + reason};
}

// Why a line that has the right shape gave no row.
QString rowReason(const QString& tableTrouble, const QString& birthDate) {
    if (!tableTrouble.isEmpty())
        return tableTrouble;
    return QStringLiteral("La data di nascita \"%1\" non \u00E8 una data reale").arg(birthDate);
}

} // namespace

std::optional<SubjectValues> fixedWidthRow(QStringView line, const PlaceTables& places) {
    const auto value = [line](record::Field field) {
        return upperText(withoutBlanks(line.sliced(field.start - 1, field.width)));
    };
    LineValues values;
    values.surname = value(record::kSurname);
    values.name = value(record::kName);
    values.municipalityCode = value(record::kMunicipalityCode);
    values.foreignPlace = value(record::kForeignPlace);
    values.birthDate = value(record::kBirthDate);
    values.stateCode = value(record::kStateCode);
    values.father = value(record::kFather);
    values.sex = value(record::kSex);
    values.taxCode = value(record::kTaxCode);
    if (line.size() == record::kLongRecord)
        values.cui = value(record::kCui);
    return buildRow(std::move(values), ImportKind::FixedWidth, places);
}

std::optional<SubjectValues> delimitedRow(const QList<QStringView>& fields,
                                          const PlaceTables& places) {
    LineValues values;
    values.surname = upperText(fields[0]);
    values.name = upperText(fields[1]);
    values.municipalityCode = upperText(fields[2]);
    values.foreignPlace = upperText(fields[3]);
    values.birthDate = upperText(fields[4]);
    values.stateCode = upperText(fields[5]);
    values.father = upperText(fields[6]);
    values.sex = upperText(fields[7]);
    values.taxCode = upperText(fields[8]);
    if (fields.size() == 10)
        values.cui = upperText(fields[9]);
    return buildRow(std::move(values), ImportKind::Delimited, places);
}

QList<QStringView> delimitedFields(QStringView line) {
    for (const QChar separator : {u',', u';'}) {
        const qsizetype separators = line.count(separator);
        if (separators == 8 || separators == 9)
            return line.split(separator);
    }
    return {};
}

QString importDateMessage(int line) {
    return QStringLiteral("Errore nella 'data di nascita' alla riga %1 del file\r\n"
                          "Controllare che il file o il campo 'data di nascita' siano validi")
        .arg(line);
}

QString importGeneralMessage(int line) {
    return QStringLiteral("Errore nel file importato alla riga %1\r\n"
                          "Verificare i separatori, la lunghezza\r\n"
                          "la quantit\u00E0 e il contenuto dei dati")
        .arg(line);
}

QString importFullMessage(int line) {
    return QStringLiteral("La tabella pu\u00F2 contenere al massimo %1 soggetti: la riga %2 del "
                          "file non vi trova posto.\r\nNessun soggetto \u00E8 stato importato.")
        .arg(SubjectTable::kMaxRows)
        .arg(line);
}

ImportResult importSubjects(QIODevice& device, ImportKind kind, int rowsBefore,
                            ReferenceTable& municipalities, ReferenceTable& states,
                            const ImportProgress& progress) {
    const Status municipalitiesRead = municipalities.refresh();
    const Status statesRead = states.refresh();
    const PlaceTables places{municipalities, states, municipalitiesRead.ok(), statesRead.ok()};
    // A row that cannot be built while a table is unusable: the operator learns why as well.
    QStringList troubles;
    for (const Status* read : {&municipalitiesRead, &statesRead}) {
        if (!read->ok())
            troubles.append(read->error());
    }
    const QString tableTrouble = troubles.join(QStringLiteral("\r\n"));
    const qint64 total = device.isSequential() ? 0 : device.size();
    LineReader reader(device);
    QList<SubjectValues> rows;
    const qint64 shortestLine =
        kind == ImportKind::FixedWidth ? record::kShortRecord : kShortestDelimitedLine;
    rows.reserve(qMin<qint64>(total / shortestLine + 1, SubjectTable::kMaxRows - rowsBefore));
    QString line;
    int number = 0;
    for (;;) {
        const LineReader::Status status = reader.next(line);
        if (status == LineReader::Status::End)
            return rows;
        ++number; // the line being read, also when it cannot be
        if (status == LineReader::Status::TooLarge)
            return generalFailure(number, QStringLiteral("La riga \u00E8 troppo lunga o il file "
                                                         "supera il limite di grandezza"));
        if (status != LineReader::Status::Line)
            return generalFailure(number, QStringLiteral("Il file non pu\u00F2 essere letto"));
        if (const std::optional<QString> why = unreadableCharacter(line))
            return generalFailure(number, *why);
        if (rowsBefore + number > SubjectTable::kMaxRows)
            return Failure{importFullMessage(number)};
        std::optional<SubjectValues> row;
        if (kind == ImportKind::FixedWidth) {
            if (line.size() != record::kShortRecord && line.size() != record::kLongRecord)
                return generalFailure(number,
                                      QStringLiteral("La riga ha %1 caratteri invece di %2 o %3")
                                          .arg(line.size())
                                          .arg(record::kShortRecord)
                                          .arg(record::kLongRecord));
            row = fixedWidthRow(line, places);
            if (!row)
                return generalFailure(
                    number, rowReason(tableTrouble, line.sliced(record::kBirthDate.start - 1,
                                                                record::kBirthDate.width)
                                                        .trimmed()));
        } else {
            const QList<QStringView> fields = delimitedFields(line);
            if (fields.isEmpty())
                return generalFailure(number,
                                      QStringLiteral("La riga ha %1 campi invece di 9 o 10")
                                          .arg(std::max(line.count(u','), line.count(u';')) + 1));
            if (fields[4].size() != kDateLength)
                return dateFailure(number, QStringLiteral("La data di nascita \"%1\" non ha la "
                                                          "forma gg/mm/aaaa")
                                               .arg(fields[4]));
            row = delimitedRow(fields, places);
            if (!row)
                return generalFailure(number, rowReason(tableTrouble, fields[4].toString()));
        }
        rows.append(std::move(*row));
        if (progress && number % kProgressEveryLines == 0)
            progress(reader.bytesRead(), total);
    }
}

ImportResult importSubjectFile(const QString& path, ImportKind kind, int rowsBefore,
                               ReferenceTable& municipalities, ReferenceTable& states,
                               const ImportProgress& progress) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return generalFailure(0, QStringLiteral("Il file non pu\u00F2 essere aperto"));
    return importSubjects(file, kind, rowsBefore, municipalities, states, progress);
}

} // namespace velmora
