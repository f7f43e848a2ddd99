#pragma once

#include "core/request/request.h"
#include "core/result.h"
#include "core/subjects/rowfault.h"
#include "core/subjects/subjecttable.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace velmora {

// "Crea File" asks for the office type first, with a message of its own.
Status checkOfficeType(const QString& officeType);

// "Crea File": the four request fields in one message, then the subjects.
Status checkForBatch(const Request& request, int subjects, const QDateTime& now);

// "Apri Modulo PDF": one message for any incomplete field, then the subjects.
Status checkForPdf(const Request& request, int subjects);

// The batch check of one row, as it runs on imported rows before any output; a birth date after
// `today` fails. (A day, not a time: turning a time into a local day costs more than the rest of
// the check, and the check runs on every row.)
RowFault checkPersonRow(const SubjectTable& table, int row, QDate today);
// The fault of `row` in words; the values name the character or the code at fault.
QString rowFaultText(RowFault fault, const SubjectRow& row);

// A row that fails the batch check, and why.
struct RowCheck {
    int row;
    RowFault fault;
};
QList<RowCheck> failingRowChecks(const SubjectTable& table, const QDateTime& now);
// The same, each failing row marked in the table with its fault; a passing row keeps its mark.
QList<RowCheck> markFailingRows(SubjectTable& table, const QDateTime& now);
// One line for each failing row, "Riga 5: " and the fault in words, joined by CR LF.
QString rowFaultLines(const SubjectTable& table, const QList<RowCheck>& failing);

// The message that lists the failing rows of the batch check.
QString rowErrorsMessage(const QList<int>& failingRows);

} // namespace velmora
