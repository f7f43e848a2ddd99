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

// Where the request in progress was last written out, as it stands: a batch folder or a form,
// when, and the folder's or the form's name. None once the request or the table changed.
struct Output {
    enum class Kind { None, Batch, Form };
    Kind kind = Kind::None;
    QDateTime when;
    QString name;
    bool operator==(const Output&) const = default;
};

// The recovery file: a few header lines with the request fields, the time of the change, the
// output made of the request and the number of subjects, then the subjects as delimited lines.
// The first line tells the operator which lines to remove to import the subjects by hand.
Result<QByteArray> recoveryBytes(const Request& request, const SubjectTable& table,
                                 const QDateTime& saved, const Output& output = {});

// The most a recovery file can hold: its header and the longest lines of a full table. A larger
// file is damaged, and refused before it is read.
qint64 maxRecoveryBytes();

struct RecoveryRead {
    Request request;
    QDateTime saved;
    int subjects = 0;
    Output output;
    // The subject lines as they stand in the file, for the import to read, and the number of
    // the first of them in the file.
    QByteArray subjectLines;
    int firstSubjectLine = 0;
    // A request field whose value breaks the field's rules is left empty; each is told here,
    // with the file, the line and the rule.
    QStringList dropped;
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

// "È stata trovata una richiesta non completata (...). Riprenderla?", or for a request already
// written out "La richiesta in corso (...) è già stata salvata nel lotto ... Riprenderla?"
QString recoveryQuestion(const RecoveryRead& read);
// What the operator is told about a recovery file that is damaged and was put aside, about one
// put aside because it was not taken back, and about one that stays for the next start because
// the restore failed for a reason of its own (a place table).
QString damagedRecoveryMessage(const QString& asidePath, const QString& why);
QString keptAsideMessage(const QString& asidePath);
QString recoveryLaterMessage(const QString& path, const QString& why);

// The older copy's name: richiesta-in-corso-AAAAMMGG-hhmm.txt, then -2, -3, ... after it when a
// copy of the same minute exists.
QString recoveryAsideName(const QDateTime& when, int copy = 1);

// Moves the recovery file of `folder` aside under the first free older copy's name (its last
// change gives the date). No copy is ever removed: they are the operator's to delete. Returns
// the path of the copy.
Result<QString> moveRecoveryAside(const QString& folder);

} // namespace velmora
