#pragma once

#include "core/output/batch.h"
#include "core/subjects/subjecttable.h"
#include "core/text/windows1252.h"
#include "support/recorders.h"

#include <QFile>

namespace velmora::test {

// Small place tables in ref/ below a scratch working folder, as the program finds them.
inline const QByteArray kMunicipalities = "ROMA,H501\r\nMILANO,F205\r\nBOLZANO,A952\r\n";
inline const QByteArray kStates = "ITALIA,Z000\r\nFRANCIA,Z110\r\nGERMANIA,Z112\r\n";

inline void writePlaceTables(const ScratchFolder& folder) {
    QDir(folder.path()).mkpath(QStringLiteral("ref"));
    writeBytes(folder.path(QStringLiteral("ref/FileCodComuni.txt")), kMunicipalities);
    writeBytes(folder.path(QStringLiteral("ref/FileCodStati.txt")), kStates);
}

// Rows as the table holds them.
inline QList<SubjectRow> rowsOf(const QList<SubjectValues>& subjects) {
    QList<SubjectRow> rows;
    rows.reserve(subjects.size());
    for (const SubjectValues& values : subjects)
        rows.append(SubjectRow(values));
    return rows;
}

inline SubjectValues subject(std::initializer_list<std::pair<Column, const char16_t*>> cells) {
    SubjectValues values;
    for (const auto& [column, text] : cells)
        values[column] = QString::fromUtf16(text);
    return values;
}

// Appends `count` rows whose surnames are "S1", "S2", ...
inline void fillNumbered(SubjectTable& table, int count) {
    QList<SubjectRow> rows;
    for (int i = 1; i <= count; ++i) {
        SubjectValues values;
        values[SurnameColumn] = QStringLiteral("S%1").arg(i);
        rows.append(SubjectRow(values));
    }
    table.appendRows(std::move(rows));
}

// A subject from its cells in column order from the surname, separated by '|'.
inline SubjectValues subjectCells(const QString& cells) {
    SubjectValues values;
    const QStringList list = cells.split(u'|');
    for (int column = SurnameColumn; column < ColumnCount; ++column)
        values[column] = list.value(column - SurnameColumn);
    return values;
}

// Born in Rome, with a tax code whose check character is right: checkTaxCode says Corretto.
inline SubjectValues romanSubject() {
    return subjectCells(
        QStringLiteral("ROSSI|MARIO|M|RSSMRA70A05H501F|||05/01/1970|ROMA||ITALIA|H501|Z000"));
}

// Born in Paris, with a unique identifier and no tax code.
inline SubjectValues parisianSubject() {
    return subjectCells(
        QStringLiteral("DUPONT|JOS\u00C8|F||1234567|PIERRE|31/12/1999||PARIGI|FRANCIA||Z110"));
}

// The Parisian with a surname and a name that hold both separators of a delimited line, as a
// fixed-width import can bring in.
inline SubjectValues parisianWithSeparators() {
    return subjectCells(
        QStringLiteral("DUPONT,A|JOS\u00C8;B|F||1234567|PIERRE|31/12/1999||PARIGI|FRANCIA||Z110"));
}

// Subjects as the subject list file holds them: fixed-width lines, CR LF after each.
inline QByteArray subjectListBytes(const QList<SubjectValues>& subjects) {
    SubjectTable table;
    table.appendRows(rowsOf(subjects));
    return *subjectListBytes(table);
}

} // namespace velmora::test
