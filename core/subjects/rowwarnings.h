#pragma once

#include "core/request/requestcheck.h"
#include "core/subjects/subjecttable.h"

#include <QDate>
#include <QList>
#include <QStringList>

namespace velmora {

// What the batch check says of a row that passes it without refusing it: codes issued with
// errors exist and stay valid, and the same person may be asked for twice on purpose.
struct RowWarning {
    enum class Kind {
        CodeMismatch, // the tax code and the person disagree in `parts`
        SameTaxCode,  // the tax code of `earlierRow`, whatever its case
        SamePerson,   // no tax code, and the surname, name, sex, birth date and place of
                      // `earlierRow`, which has none either
    };
    int row = 0;
    Kind kind = Kind::CodeMismatch;
    QStringList parts;
    int earlierRow = 0;
    bool operator==(const RowWarning&) const = default;
};

// The warnings of the rows that pass the batch check, in row order, given the rows that fail it
// (in row order, as failingRowChecks() gives them); a row may have more than one. Repeats are
// found through hashes, so the whole table costs one pass.
QList<RowWarning> rowWarnings(const SubjectTable& table, const QList<RowCheck>& failing);

// "avviso: " and the warning in the operator's words.
QString rowWarningText(const RowWarning& warning);

// The same warnings, each row's marked on it one a line; a row without any loses its mark.
QList<RowWarning> markWarnedRows(SubjectTable& table, const QDateTime& now);
// One line for each warning, "Riga 5: " and the warning in words, joined by CR LF.
QString rowWarningLines(const QList<RowWarning>& warnings);
// The question before files are written for rows with warnings; `rows` counts the rows.
QString warnedRowsQuestion(int rows);

} // namespace velmora
