#pragma once

#include "core/request/request.h"
#include "core/result.h"
#include "core/subjects/subjecttable.h"

#include <QDateTime>
#include <QString>

namespace velmora {

// Date and time that name every file of one batch, taken once when the operator confirms.
struct BatchStamp {
    QString date; // "yyyy-mm-dd"
    QString time; // "hhmm"
};
BatchStamp batchStamp(const QDateTime& now);

struct FolderResult {
    QString path;
    QString error; // for the operator; empty when the folder was made
    bool ok() const { return error.isEmpty(); }
};

// Makes "Velmora_<date>,<time>" below `parent`. A taken name gets "(n)" with the next value of
// `counter`; a free one sets `counter` to 1.
FolderResult makeBatchFolder(const QString& parent, const BatchStamp& stamp, int& counter);

// The request summary kept by the office.
QString requestSummaryPath(const QString& batchFolder, const BatchStamp& stamp);
QString requestSummaryText(const RequestRecord& request);

// The fixed-width subject list uploaded to the certificate system.
QString subjectListPath(const QString& batchFolder, const BatchStamp& stamp);
// Fails, naming the character, when a cell holds one that Windows-1252 cannot hold.
Result<QByteArray> subjectListBytes(const SubjectTable& table);
QString writeSubjectList(const QString& path, const SubjectTable& table);

// The whole batch: folder, summary, subject list. On any failure nothing is left behind (a
// folder made for this batch is removed again) and the error says what failed and where.
FolderResult writeBatch(const QString& parent, const BatchStamp& stamp,
                        const RequestRecord& request, const SubjectTable& table, int& counter);

} // namespace velmora
