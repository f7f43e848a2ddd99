#pragma once

#include "core/result.h"
#include "core/subjects/referencetable.h"
#include "core/subjects/subjecttable.h"

#include <QFile>
#include <QIODevice>
#include <QList>
#include <QString>
#include <functional>

namespace velmora {

// The two kinds of import file, in the order of the import window's type list, and the subject
// lines of the recovery file: delimited lines, or tabbed ones where no separator could serve.
enum class ImportKind { FixedWidth = 0, Delimited = 1, Recovery = 2 };

// What the operator is told, with the 1-based number of the line that failed (0 when no line
// was read): a birth date of the wrong length, or anything else.
QString importDateMessage(int line);
QString importGeneralMessage(int line);
// A file without a single line: nothing to check, write or add.
inline const QString kNoSubjectsInFile = QStringLiteral("Il file non contiene soggetti");
// The table is full: line `line` of the file would be its row past SubjectTable::kMaxRows.
QString importFullMessage(int line);

// The rows of a whole file, or the message naming the first line that failed and, as its
// detail, every line that failed with why, one a line ("Riga N: ..."), the first 1,000 of them.
class ImportResult : public Result<QList<SubjectRow>> {
public:
    using Result::Result;
    ImportResult(Failure failure, QString detail)
        : Result(std::move(failure)), detail_(std::move(detail)) {}
    const QString& detail() const { return detail_; }

private:
    QString detail_;
};

// Told now and then how far a long import has come, in bytes of the file.
using ImportProgress = std::function<void(qint64 done, qint64 total)>;

// Every line of the file as a row, or the first line that fails: all or nothing, so the table
// is only touched by the caller, on success. `rowsBefore` rows are already in the table; a line
// that would take it past SubjectTable::kMaxRows fails.
ImportResult importSubjects(QIODevice& device, ImportKind kind, int rowsBefore,
                            ReferenceTable& municipalities, ReferenceTable& states,
                            const ImportProgress& progress = {});
// Opens the subject file `file` names for reading, once: a pipe or a FIFO gives its lines to
// one open only. Fails naming the file and why: it does not exist, it is a folder, a link that
// loops, it cannot be read, or (a file on the disk) it is past LineReader::kMaxFileBytes.
Status openSubjectFile(QFile& file);
// The same from a file; a file that cannot be opened fails before line 1.
ImportResult importSubjectFile(const QString& path, ImportKind kind, int rowsBefore,
                               ReferenceTable& municipalities, ReferenceTable& states,
                               const ImportProgress& progress = {});

} // namespace velmora
