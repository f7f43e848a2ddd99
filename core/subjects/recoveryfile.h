#pragma once

#include "core/request/request.h"
#include "core/result.h"
#include "core/subjects/referencetable.h"
#include "core/subjects/subjecttable.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace velmora {

// The request in progress, kept beside config.ini after every change so that a crash or a
// close loses nothing, and offered back at the next start.
inline constexpr QStringView kRecoveryFile = u"richiesta-in-corso.txt";


// The recovery file: a few header lines with the request fields, the time of the change and
// the number of subjects, then the subjects as delimited lines. The first line tells the
// operator which lines to remove to import the subjects by hand.
Result<QByteArray> recoveryBytes(const Request& request, const SubjectTable& table,
                                 const QDateTime& saved);

struct RecoveryRead {
    Request request;
    QDateTime saved;
    int subjects = 0;
    // The subject lines as they stand in the file, for the import to read.
    QByteArray subjectLines;
};

// The header read and checked; the subject lines are left to the import. Fails on a file
// that the program did not write or that was damaged since.
Result<RecoveryRead> readRecovery(const QByteArray& bytes);

// The subject lines read by the import, every rule of it applying, into rows in the file's
// order. Fails when a line fails or when their number is not the header's.
Result<QList<SubjectRow>> recoveredSubjects(const RecoveryRead& read,
                                            ReferenceTable& municipalities, ReferenceTable& states);

// Something worth offering back: subjects, or request fields other than those a new
// request starts with.
bool holdsWork(const Request& request, int subjects, const Request& fresh);

// "È stata trovata una richiesta non completata (...). Riprenderla?"
QString recoveryQuestion(const RecoveryRead& read);
// What the operator is told about a recovery file that cannot be read back.
QString damagedRecoveryMessage(const QString& asidePath, const QString& why);

// The older copy's name: richiesta-in-corso-AAAAMMGG-hhmm.txt.
QString recoveryAsideName(const QDateTime& when);

// Moves the recovery file of `folder` aside under its older copy's name (its last change
// gives the date) and removes any copy older still, so that one older copy exists at a time.
// Returns the path of the copy.
Result<QString> moveRecoveryAside(const QString& folder);

} // namespace velmora
