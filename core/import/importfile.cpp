#include "core/import/importfile.h"

#include "core/dates.h"
#include "core/files/filewriter.h"
#include "core/import/linereader.h"
#include "core/subjects/delimited.h"
#include "core/subjects/record.h"
#include "core/text/windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>

namespace velmora {
namespace {

constexpr qsizetype kDateLength = record::kBirthDate.width;
constexpr int kProgressEveryLines = 1024;
// No line that can pass is shorter: its separators and a date.
constexpr qint64 kShortestDelimitedLine = kFewestDelimitedFields - 1 + kDateLength;
// Nor is any longer than every field at its widest and the separators; the reader must take it
// even with every character in three UTF-8 bytes.
static_assert((record::kLongRecord + kMostDelimitedFields - 1) * 3 <= LineReader::kMaxLineLength);

// The place tables as one import uses them: refreshed once at its start. A table that could
// not be read fails every row that needs a name from it.
struct PlaceTables {
    const ReferenceTable& municipalities;
    const ReferenceTable& states;
    bool municipalitiesRead = true;
    bool statesRead = true;
};

// The fields of one line as the file holds them: views into the line, blanks still around them
// in a delimited file.
struct LineFields {
    QStringView surname;
    QStringView name;
    QStringView municipalityCode;
    QStringView foreignPlace;
    QStringView birthDate;
    QStringView stateCode;
    QStringView father;
    QStringView sex;
    QStringView taxCode;
    QStringView cui;
};

// Blanks only, as the fixed-width layout pads with them; other characters are data.
QStringView withoutBlanks(QStringView text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    // The padding at the end is most of a record: looked at four characters at a time.
    constexpr quint64 kFourBlanks = 0x0020'0020'0020'0020;
    for (quint64 four; end - start >= 4; end -= 4) {
        std::memcpy(&four, text.utf16() + end - 4, sizeof four);
        if (four != kFourBlanks)
            break;
    }
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.sliced(start, end - start);
}

// The table's dd/mm/yyyy from yyyy-mm-dd (as the subject list writes it) or dd/mm/yyyy, into
// `date`; false when the text names no real day.
using TableDate = std::array<QChar, kDateLength>;
bool tableDate(QStringView text, TableDate& date) {
    if (text.size() != kDateLength)
        return false;
    // Characters `from` to `from` + `count` of the text, from `to` on in the date.
    const auto put = [&](qsizetype from, qsizetype count, qsizetype to) {
        for (qsizetype i = 0; i < count; ++i)
            date[to + i] = text[from + i];
    };
    if (text[4] == u'-' && text[7] == u'-') {
        put(8, 2, 0);
        date[2] = u'/';
        put(5, 2, 3);
        date[5] = u'/';
        put(0, 4, 6);
    } else {
        put(0, kDateLength, 0);
    }
    return isDate(QStringView(date.data(), date.size()));
}

// The line of `code` in `table`, read in capitals; a delimited file from another system often
// leaves out the Z of a foreign code, which is put back. -1 when no line has the code.
qsizetype placeLine(QStringView code, ImportKind kind, const ReferenceTable& table) {
    std::array<QChar, 4> key;
    qsizetype size = 0;
    if (kind == ImportKind::Delimited && code.size() == 3)
        key[size++] = u'Z';
    if (size + code.size() != qsizetype(key.size()))
        return -1;
    for (const QChar c : code)
        key[size++] = upperWithin1252(c);
    return table.lineOfCode(QStringView(key.data(), size));
}

bool bornInItaly(ImportKind kind, bool hasMunicipality, QStringView stateCode) {
    if (!hasMunicipality)
        return false;
    if (stateCode.isEmpty() || stateCode.compare(record::kItalyCode, Qt::CaseInsensitive) == 0)
        return true;
    return kind == ImportKind::Delimited && (stateCode == u"000" || stateCode == u"0");
}

// One line as a subject row (columns 1 to 12); nullopt when the row cannot be built: a birth
// date that is not a real day, or a table it needs that could not be read. The values are
// capitalised into `scratch`, room kept from line to line, and the row made from views of
// them and of the tables' names and codes: one allocation a row.
std::optional<SubjectRow> buildRow(const LineFields& fields, ImportKind kind,
                                   const PlaceTables& places, QString& scratch) {
    TableDate date;
    if (!tableDate(fields.birthDate, date))
        return std::nullopt;
    SubjectRow::Views row;
    row[BirthDateColumn] = QStringView(date.data(), date.size());
    // The values the file gives, in capitals, one after another in the scratch room.
    if (const qsizetype room = fields.surname.size() + fields.name.size() + fields.sex.size() +
                               fields.taxCode.size() + fields.cui.size() + fields.father.size() +
                               fields.foreignPlace.size() + fields.municipalityCode.size() +
                               fields.stateCode.size();
        scratch.size() < room)
        scratch.resize(room);
    QChar* out = scratch.data();
    const auto capitals = [&out](QStringView text) {
        const QStringView written(out, text.size());
        for (const QChar c : text)
            *out++ = upperWithin1252(c);
        return written;
    };
    // A code no table holds stays in the row, without a name, for the check to name it.
    qsizetype municipality = -1;
    if (!fields.municipalityCode.isEmpty()) {
        if (!places.municipalitiesRead)
            return std::nullopt;
        municipality = placeLine(fields.municipalityCode, kind, places.municipalities);
        row[MunicipalityCodeColumn] = capitals(fields.municipalityCode);
    }
    if (municipality >= 0) {
        row[MunicipalityColumn] = places.municipalities.names().at(municipality);
        row[MunicipalityCodeColumn] = places.municipalities.codes().at(municipality);
    }
    if (bornInItaly(kind, !fields.municipalityCode.isEmpty(), fields.stateCode)) {
        row[StateColumn] = record::kItaly;
        row[StateCodeColumn] = record::kItalyCode;
    } else {
        if (!places.statesRead)
            return std::nullopt;
        const qsizetype state = placeLine(fields.stateCode, kind, places.states);
        row[StateCodeColumn] = capitals(fields.stateCode);
        if (state >= 0) {
            row[StateColumn] = places.states.names().at(state);
            row[StateCodeColumn] = places.states.codes().at(state);
        }
    }
    row[SurnameColumn] = capitals(fields.surname);
    row[NameColumn] = capitals(fields.name);
    row[SexColumn] = capitals(fields.sex);
    row[TaxCodeColumn] = capitals(fields.taxCode);
    row[CuiColumn] = capitals(fields.cui);
    row[FatherColumn] = capitals(fields.father);
    row[ForeignPlaceColumn] = capitals(fields.foreignPlace);
    return SubjectRow(row);
}

std::optional<SubjectRow> fixedWidthRow(QStringView line, const PlaceTables& places,
                                        QString& scratch) {
    const auto value = [line](record::Field field) {
        return withoutBlanks(line.sliced(field.start - 1, field.width));
    };
    LineFields fields;
    fields.surname = value(record::kSurname);
    fields.name = value(record::kName);
    fields.municipalityCode = value(record::kMunicipalityCode);
    fields.foreignPlace = value(record::kForeignPlace);
    fields.birthDate = value(record::kBirthDate);
    fields.stateCode = value(record::kStateCode);
    fields.father = value(record::kFather);
    fields.sex = value(record::kSex);
    fields.taxCode = value(record::kTaxCode);
    if (line.size() == record::kLongRecord)
        fields.cui = value(record::kCui);
    return buildRow(fields, ImportKind::FixedWidth, places, scratch);
}

// The field of `column` in a delimited line; empty when the line leaves it out.
template <Column column> QStringView delimitedField(const DelimitedFields& values) {
    constexpr qsizetype position = delimitedPosition(column);
    static_assert(position >= 0);
    return position < values.size() ? values[position] : QStringView();
}

std::optional<SubjectRow> delimitedRow(const DelimitedFields& values, const PlaceTables& places,
                                       QString& scratch) {
    const LineFields fields{
        delimitedField<SurnameColumn>(values),          delimitedField<NameColumn>(values),
        delimitedField<MunicipalityCodeColumn>(values), delimitedField<ForeignPlaceColumn>(values),
        delimitedField<BirthDateColumn>(values),        delimitedField<StateCodeColumn>(values),
        delimitedField<FatherColumn>(values),           delimitedField<SexColumn>(values),
        delimitedField<TaxCodeColumn>(values),          delimitedField<CuiColumn>(values)};
    return buildRow(fields, ImportKind::Delimited, places, scratch);
}

// Why a line cannot become a row whatever its fields: a control character, or one that
// Windows-1252 cannot hold (a UTF-8 file). nullopt when every character prints.
std::optional<QString> unreadableCharacter(QStringView line) {
    // Nearly every line is printable ASCII and Latin-1 throughout: one pass without branches
    // tells, and only a line that fails it is looked at character by character.
    const char16_t* const characters = line.utf16();
    unsigned odd = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char16_t u = characters[i];
        odd |= unsigned(u < 0x20) | unsigned(char16_t(u - 0x7F) < 0x21) | unsigned(u > 0xFF);
    }
    if (!odd)
        return std::nullopt;
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

QString fileTooLarge() {
    return QStringLiteral("supera il limite di %1 MiB")
        .arg(LineReader::kMaxFileBytes / (1024 * 1024));
}

// The message of a line that fails alone, and on a line of its own what is wrong with it.
Failure generalFailure(int line, const QString& reason) {
    return {importGeneralMessage(line) + QStringLiteral("\r\n") + reason};
}

// Why a line that has the right shape gave no row.
QString rowReason(const QString& tableTrouble, const QString& birthDate) {
    if (!tableTrouble.isEmpty())
        return tableTrouble;
    return QStringLiteral("La data di nascita \"%1\" non \u00E8 una data reale").arg(birthDate);
}

// Why a line gives no row: a fault of its birth date, or of anything else.
struct LineFault {
    bool date = false;
    QString reason;
};

// One line as a row; nullopt, with `fault` saying why, when it cannot be one.
std::optional<SubjectRow> lineRow(QStringView line, ImportKind kind, const PlaceTables& places,
                                  const QString& tableTrouble, QString& scratch, LineFault& fault) {
    const bool tabbed = kind == ImportKind::Recovery && line.contains(kTab);
    if (const std::optional<QString> why =
            unreadableCharacter(tabbed ? line.toString().replace(kTab, u' ') : line)) {
        fault = {false, *why};
        return std::nullopt;
    }
    if (kind == ImportKind::FixedWidth) {
        if (line.size() != record::kShortRecord && line.size() != record::kLongRecord) {
            fault = {false, QStringLiteral("La riga ha %1 caratteri invece di %2 o %3")
                                .arg(line.size())
                                .arg(record::kShortRecord)
                                .arg(record::kLongRecord)};
            return std::nullopt;
        }
        std::optional<SubjectRow> row = fixedWidthRow(line, places, scratch);
        if (!row)
            fault = {false, rowReason(tableTrouble, line.sliced(record::kBirthDate.start - 1,
                                                                record::kBirthDate.width)
                                                        .trimmed()
                                                        .toString())};
        return row;
    }
    const DelimitedFields fields = tabbed ? tabbedFields(line) : delimitedFields(line);
    if (fields.isEmpty()) {
        const qsizetype count = std::max(line.count(u','), line.count(u';')) + 1;
        fault = {false, QStringLiteral("La riga ha %1 %2 invece di %3 o %4")
                            .arg(count)
                            .arg(count == 1 ? QStringLiteral("campo") : QStringLiteral("campi"))
                            .arg(kFewestDelimitedFields)
                            .arg(kMostDelimitedFields)};
        return std::nullopt;
    }
    const QStringView birthDate = delimitedField<BirthDateColumn>(fields);
    if (birthDate.size() != kDateLength) {
        fault = {
            true,
            QStringLiteral("La data di nascita \"%1\" non ha la forma gg/mm/aaaa").arg(birthDate)};
        return std::nullopt;
    }
    std::optional<SubjectRow> row = delimitedRow(fields, places, scratch);
    if (!row)
        fault = {false, rowReason(tableTrouble, birthDate.toString())};
    return row;
}

// A first line that is a heading: its birth-date field (or, when it has none, the whole line)
// holds no digit.
bool looksLikeHeading(QStringView line, ImportKind kind) {
    QStringView field = line;
    if (kind == ImportKind::FixedWidth &&
        line.size() >= record::kBirthDate.start - 1 + record::kBirthDate.width)
        field = line.sliced(record::kBirthDate.start - 1, record::kBirthDate.width);
    else if (kind != ImportKind::FixedWidth) {
        const DelimitedFields fields = delimitedFields(line);
        if (!fields.isEmpty())
            field = delimitedField<BirthDateColumn>(fields);
    }
    return std::none_of(field.begin(), field.end(), [](QChar c) { return c.isDigit(); });
}

// The lines of a file that gave no row: the first one's message as the import has always
// given it, and each of them on a line of the detail, up to kListed.
struct BadLines {
    static constexpr int kListed = 1000;
    int count = 0;
    QString first;
    QStringList listed;

    void add(int line, const LineFault& fault, bool heading = false) {
        if (count++ == 0) {
            first = (fault.date ? importDateMessage(line) : importGeneralMessage(line)) +
                    QStringLiteral("\r\n") + fault.reason;
            if (heading)
                first += QStringLiteral("\r\nLa prima riga sembra un'intestazione: toglierla "
                                        "dal file");
        }
        if (listed.size() < kListed)
            listed.append(QStringLiteral("Riga %1: %2").arg(line).arg(fault.reason));
    }
    ImportResult result() const {
        QString detail = listed.join(QStringLiteral("\r\n"));
        if (count > kListed)
            detail += QStringLiteral("\r\n... e altre %1 righe").arg(count - kListed);
        return ImportResult(Failure{first}, detail);
    }
};

} // namespace

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
    // A file saved as UTF-16 would read as control characters; it is named for what it is.
    if (const QByteArray start = device.peek(2); start == "\xFF\xFE" || start == "\xFE\xFF")
        return generalFailure(1, QStringLiteral("Il file \u00E8 in UTF-16: salvarlo come UTF-8 o "
                                                "Windows-1252"));
    const qint64 total = device.isSequential() ? 0 : device.size();
    LineReader reader(device);
    QList<SubjectRow> rows;
    const qint64 shortestLine =
        kind == ImportKind::FixedWidth ? record::kShortRecord : kShortestDelimitedLine;
    rows.reserve(qMin<qint64>(total / shortestLine + 1, SubjectTable::kMaxRows - rowsBefore));
    BadLines bad;
    QString line;
    QString scratch;
    QStringList blanks; // blank lines not yet followed by another: at the end they are ignored
    int number = 0;
    // Line `at`, read as `text`: its row, or why it has none.
    const auto take = [&](int at, QStringView text) {
        if (rowsBefore + at > SubjectTable::kMaxRows)
            return false;
        LineFault fault;
        std::optional<SubjectRow> row = lineRow(text, kind, places, tableTrouble, scratch, fault);
        if (!row)
            bad.add(at, fault, at == 1 && looksLikeHeading(text, kind));
        else if (bad.count == 0) // once the file is refused, its rows are not kept
            rows.append(std::move(*row));
        return true;
    };
    for (;;) {
        const LineReader::Status status = reader.next(line);
        if (status == LineReader::Status::End)
            break;
        ++number; // the line being read, also when it cannot be
        // The reading cannot go on past these: what was found so far is told.
        if (status != LineReader::Status::Line) {
            bad.add(number,
                    {false, status == LineReader::Status::LineTooLong
                                ? QStringLiteral("La riga supera la lunghezza massima di %1 "
                                                 "caratteri")
                                      .arg(LineReader::kMaxLineLength)
                            : status == LineReader::Status::FileTooLarge
                                ? QStringLiteral("Il file ") + fileTooLarge()
                                : QStringLiteral("Il file non pu\u00F2 essere letto")});
            break;
        }
        if (reader.lineInOtherEncoding()) {
            bad.add(number, {false, QStringLiteral("Il file mescola le codifiche UTF-8 e "
                                                   "Windows-1252: riga %1")
                                        .arg(number)});
            continue;
        }
        if (QStringView(line).trimmed().isEmpty()) {
            blanks.append(line);
            continue;
        }
        // Blank lines with a line after them are lines of the file like any other.
        const int firstBlank = number - int(blanks.size());
        for (qsizetype i = 0; i < blanks.size(); ++i) {
            if (!take(firstBlank + int(i), blanks[i]))
                return Failure{importFullMessage(firstBlank + int(i))};
        }
        blanks.clear();
        if (!take(number, line))
            return Failure{importFullMessage(number)};
        if (progress && number % kProgressEveryLines == 0)
            progress(reader.bytesRead(), total);
    }
    if (bad.count > 0)
        return bad.result();
    return rows;
}

Status openSubjectFile(QFile& file) {
    const QString shown = QDir::toNativeSeparators(QFileInfo(file.fileName()).absoluteFilePath());
    const auto unreadable = [&shown](const QString& why) {
        return Failure{QStringLiteral("Il file %1 non pu\u00F2 essere letto: %2").arg(shown, why)};
    };
    // Asked without opening: a pipe gives its lines to the one open that reads them.
    const int error = pathError(file.fileName());
    if (error == ENOENT)
        return Failure{QStringLiteral("Il file %1 non esiste").arg(shown)};
    if (error != 0)
        return unreadable(systemReason(error));
    if (QFileInfo(file.fileName()).isDir())
        return Failure{QStringLiteral("%1 \u00E8 una cartella, non un file").arg(shown)};
    if (QString why; !openForReading(file, why))
        return unreadable(why);
    // Only a file on the disk knows its size; anything else is held by the reading limits.
    if (!file.isSequential() && file.size() > LineReader::kMaxFileBytes) {
        file.close();
        return Failure{QStringLiteral("Il file %1 %2").arg(shown, fileTooLarge())};
    }
    return {};
}

ImportResult importSubjectFile(const QString& path, ImportKind kind, int rowsBefore,
                               ReferenceTable& municipalities, ReferenceTable& states,
                               const ImportProgress& progress) {
    QFile file(path);
    if (const Status opened = openSubjectFile(file); !opened)
        return generalFailure(0, opened.error());
    return importSubjects(file, kind, rowsBefore, municipalities, states, progress);
}

} // namespace velmora
