#include "core/subjects/delimited.h"

#include "core/text/textfile.h"
#include "core/text/windows1252.h"

namespace velmora {
namespace {

// A line with this many separators of one kind splits at them.
constexpr bool makesFields(qsizetype separators) {
    return separators + 1 >= kFewestDelimitedFields && separators + 1 <= kMostDelimitedFields;
}

const QString kBothSeparators =
    QStringLiteral("la riga %1 contiene sia virgole sia punti e virgola e non pu\u00F2 essere "
                   "scritta come riga di un file CSV");

} // namespace

DelimitedFields delimitedFields(QStringView line) {
    // One pass notes where each kind of separator stands, up to one more than a line may hold.
    constexpr qsizetype kMost = kMostDelimitedFields - 1;
    std::array<qsizetype, kMost + 1> commas;
    std::array<qsizetype, kMost + 1> semicolons;
    qsizetype commaCount = 0;
    qsizetype semicolonCount = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u',' && commaCount <= kMost)
            commas[commaCount++] = i;
        else if (line[i] == u';' && semicolonCount <= kMost)
            semicolons[semicolonCount++] = i;
    }
    const bool byCommas = makesFields(commaCount);
    if (!byCommas && !makesFields(semicolonCount))
        return {};
    const auto& at = byCommas ? commas : semicolons;
    const qsizetype count = byCommas ? commaCount : semicolonCount;
    DelimitedFields fields;
    qsizetype start = 0;
    for (qsizetype i = 0; i < count; ++i) {
        fields.append(line.sliced(start, at[i] - start));
        start = at[i] + 1;
    }
    fields.append(line.sliced(start));
    return fields;
}

Result<QString> delimitedLine(const SubjectRow& subject, int row) {
    qsizetype commas = 0;
    bool semicolons = false;
    for (const Column column : kDelimitedColumns) {
        commas += subject[column].count(u',');
        semicolons = semicolons || subject[column].contains(u';');
    }
    // Semicolons, as an Italian spreadsheet expects them, unless a value holds one or the
    // commas in the values are as many as would make the split take them; then commas, which
    // the values must not hold.
    QChar separator;
    if (!semicolons && !makesFields(commas))
        separator = u';';
    else if (commas == 0)
        separator = u',';
    else
        return Failure{kBothSeparators.arg(row)};
    QString line;
    line.reserve(160);
    for (const Column column : kDelimitedColumns) {
        if (column != kDelimitedColumns.front())
            line.append(separator);
        line.append(subject[column]);
    }
    return line;
}

DelimitedFields tabbedFields(QStringView line) {
    DelimitedFields fields;
    for (const QStringView field : line.tokenize(kTab)) {
        if (fields.size() == kMostDelimitedFields)
            return {};
        fields.append(field);
    }
    return fields.size() == kMostDelimitedFields ? fields : DelimitedFields();
}

Status appendDelimitedLines(QByteArray& bytes, const SubjectTable& table,
                            Unsplittable unsplittable) {
    for (int row = 1; row <= table.subjectCount(); ++row) {
        const SubjectRow& subject = table.subject(row);
        Result<QString> line = delimitedLine(subject, row);
        if (!line && unsplittable == Unsplittable::Tabbed) {
            QStringList values;
            for (const Column column : kDelimitedColumns)
                values.append(subject[column].toString());
            line = values.join(kTab);
        }
        if (!line)
            return Failure{line.error()};
        QChar bad;
        if (!appendWindows1252(bytes, *line, &bad))
            return Failure{unencodable(bad)};
        bytes.append("\r\n", 2);
    }
    return {};
}

Result<QByteArray> delimitedSubjectBytes(const SubjectTable& table) {
    QByteArray bytes;
    bytes.reserve(qsizetype(table.subjectCount()) * 128);
    if (const Status written = appendDelimitedLines(bytes, table); !written)
        return Failure{written.error()};
    return bytes;
}

} // namespace velmora
