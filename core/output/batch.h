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

// The request summary kept by the office.
QString requestSummaryPath(const QString& batchFolder, const BatchStamp& stamp);
QString requestSummaryText(const Request& request);

// The fixed-width subject list uploaded to the certificate system.
QString subjectListPath(const QString& batchFolder, const BatchStamp& stamp);
// Fails, naming the character, when a cell holds one that Windows-1252 cannot hold.
Result<QByteArray> subjectListBytes(const SubjectTable& table);

// The whole batch, "Velmora_<date>,<time>" below `parent` with the summary and the subject
// list, or nothing: the folder is built under a hidden name and takes its own name only when
// both files are on the disk. A taken name (anything of that name, a link leading nowhere
// included) gets "(n)" with the next value of `counter`; a free one sets `counter` to 1.
// Hidden folders that a stopped program left behind are cleared on the way. The path of the
// batch folder, or why nothing was made.
Result<QString> writeBatch(const QString& parent, const BatchStamp& stamp, const Request& request,
                           const SubjectTable& table, int& counter);

// The hidden name a batch is built under, recognisable as such ("."-prefixed), and how old
// one must be before another batch takes it for the remains of a stopped program.
inline constexpr QLatin1String kBatchScratchPrefix(".Velmora_");
inline constexpr QLatin1String kBatchScratchMark(".tmp-");
inline constexpr qint64 kStaleBatchSeconds = 10 * 60;

} // namespace velmora
