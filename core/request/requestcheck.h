#pragma once

#include "core/request/request.h"
#include "core/subjects/subjecttable.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace velmora {

// The main window's request fields as the two output buttons read them.
struct RequestFields {
    QString officeType;     // Text2
    int certPosition = -1;  // Combo1, -1 while nothing is chosen
    QString purpose;        // Text3
    QString protocolNumber; // Text1
    QString protocolDate;   // MaskEdBox1 as shown
    bool german = false;    // Check1
    int subjects = 0;       // progressivo
};

// What a request check answers: refused with a message, or accepted with the values to store.
struct RequestVerdict {
    enum class Focus { None, OfficeType };
    QString refusal;           // empty when the request passes
    Focus focus = Focus::None; // the field to put the caret in after the message
    RequestRecord record;      // what the check stores, refused or not
    bool accepted() const { return refusal.isEmpty(); }
};

// "Crea File": office type, then the four request fields in one message, then the subjects.
RequestVerdict checkForBatch(const RequestFields& fields, const QDateTime& now);

// "Apri Modulo PDF": one message for any incomplete field, then the subjects.
RequestVerdict checkForPdf(const RequestFields& fields, const QString& certTypeDescription);

// Why a subject row fails the batch check; the first condition that holds decides.
enum class RowFault {
    None,
    Surname,
    Name,
    Sex,
    BirthDate,
    NoStateCode,
    NoTaxCode,
    WrongTaxCode,
    CuiForItalian,
    CuiTooLong,
    FatherTooLong,
    ForeignPlaceTooLong,
    PlaceNotCoherent,
    NoMunicipality,
    // What would make the written record malformed.
    TaxCodeLength,
    CuiLength,
    BirthDateInFuture,
    Unprintable,
    PlaceCodeForm,
};

// The batch check of one row, as it runs on imported rows before any output; a birth date after
// `today` fails. (A day, not a time: turning a time into a local day costs more than the rest of
// the check, and the check runs on every row.)
RowFault checkPersonRow(const SubjectTable& table, int row, QDate today);
// The fault in words, for the operator of the command-line program.
QString rowFaultText(RowFault fault);

// A row that fails the batch check, and why.
struct RowCheck {
    int row;
    RowFault fault;
};
QList<RowCheck> failingRowChecks(const SubjectTable& table, const QDateTime& now);
// One line for each failing row, "Riga 5: " and the fault in words, joined by CR LF.
QString rowFaultLines(const QList<RowCheck>& failing);

// The message that lists the failing rows of the batch check.
QString rowErrorsMessage(const QList<int>& failingRows);

} // namespace velmora
