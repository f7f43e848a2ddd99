#pragma once

#include "core/result.h"
#include "core/subjects/subjecttable.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>
#include <array>

namespace velmora {

// The delimited line that the import reads and the export and the recovery file write: the
// values of one subject in this order, joined by commas or by semicolons. The unique
// identifier, last, may be left out.
inline constexpr std::array<Column, 10> kDelimitedColumns = {
    SurnameColumn,   NameColumn,      MunicipalityCodeColumn, ForeignPlaceColumn,
    BirthDateColumn, StateCodeColumn, FatherColumn,           SexColumn,
    TaxCodeColumn,   CuiColumn};
inline constexpr qsizetype kMostDelimitedFields = qsizetype(kDelimitedColumns.size());
inline constexpr qsizetype kFewestDelimitedFields = kMostDelimitedFields - 1;

// Where `column` stands in the line; -1 for a column the line does not hold.
constexpr qsizetype delimitedPosition(Column column) {
    for (qsizetype i = 0; i < kMostDelimitedFields; ++i) {
        if (kDelimitedColumns[i] == column)
            return i;
    }
    return -1;
}

// The fields of a line: split at commas when they make 9 or 10 fields, else at semicolons;
// empty when neither does.
using DelimitedFields = QVarLengthArray<QStringView, kMostDelimitedFields>;
DelimitedFields delimitedFields(QStringView line);

// A subject as a line, joined by the separator that delimitedFields() splits it back at.
// Fails, naming the row, when the values hold both separators in a way no split can undo.
Result<QString> delimitedLine(const SubjectRow& subject, int row);

// The recovery file's own rule for a subject that no separator can write: its values joined by
// tabs, which no value of the table holds (typing and the import both refuse control
// characters). Subject files still refuse tabs; only the recovery file is read with this rule.
inline constexpr QChar kTab = u'\t';
// The fields of such a line: exactly kMostDelimitedFields, else none.
DelimitedFields tabbedFields(QStringView line);

// What becomes of a row that delimitedLine() cannot write: the writing fails, naming it, or the
// row is written as a tabbed line.
enum class Unsplittable { Fail, Tabbed };

// Every row of the table as such lines, Windows-1252, CR LF after each, appended to `bytes`.
Status appendDelimitedLines(QByteArray& bytes, const SubjectTable& table,
                            Unsplittable unsplittable = Unsplittable::Fail);
// The same lines alone: a file that "Importa da file" (type CSV) reads back into the same rows.
Result<QByteArray> delimitedSubjectBytes(const SubjectTable& table);

} // namespace velmora
