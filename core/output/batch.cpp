#include "core/output/batch.h"

#include "core/dates.h"
#include "core/subjects/record.h"
#include "core/text/textfile.h"
#include "core/text/windows1252.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace velmora {
namespace {

const QString kSummaryFirstLine =
    QStringLiteral(" -- Il seguente file \u00E8 univocamente ad uso dell'ufficio, non allegare o "
                   "inviare al sistema KEB -- ");
constexpr int kMaxCounter = std::numeric_limits<qint16>::max();

QString stampSuffix(const BatchStamp& stamp) {
    return stamp.date + QLatin1Char(',') + stamp.time;
}

// The subject list is built straight into Windows-1252 bytes: it is mostly fill, and the
// largest table makes ten megabytes of it. The records are measured first, so the bytes go
// into a buffer sized once; both passes follow the one layout, writeRecord().
class RecordWriter {
public:
    explicit RecordWriter(char* out) : out_(out) {}

    // The text, then blanks up to `width`; a longer text is written whole.
    void filled(QStringView text, qsizetype width) {
        held(text);
        blanks(width - text.size());
    }
    // The text as held, or `width` blanks when it is empty.
    void orBlanks(QStringView text, qsizetype width) {
        if (text.isEmpty())
            blanks(width);
        else
            held(text);
    }
    // The table's dd/mm/yyyy as yyyy-mm-dd, as long as the text; a text that is no date is
    // written as held.
    void isoDate(QStringView date) {
        if (!isDate(date)) {
            held(date);
            return;
        }
        held(date.mid(6, 4));
        dash();
        held(date.mid(3, 2));
        dash();
        held(date.mid(0, 2));
    }
    void held(QStringView text) {
        if (out_)
            out_ = writeWindows1252(text, out_, &bad_);
    }
    void lineEnd() {
        if (out_) {
            *out_++ = '\r';
            *out_++ = '\n';
        }
    }

    bool ok() const { return out_ != nullptr; }
    QChar bad() const { return bad_; }

private:
    void blanks(qsizetype count) {
        if (out_ && count > 0) {
            std::memset(out_, ' ', size_t(count));
            out_ += count;
        }
    }
    void dash() {
        if (out_)
            *out_++ = '-';
    }

    char* out_;
    QChar bad_;
};

// The same calls, counting the bytes they would write: one per character.
class RecordMeasure {
public:
    void filled(QStringView text, qsizetype width) { size_ += std::max(text.size(), width); }
    void orBlanks(QStringView text, qsizetype width) {
        size_ += text.isEmpty() ? width : text.size();
    }
    void isoDate(QStringView date) { size_ += date.size(); }
    void held(QStringView text) { size_ += text.size(); }
    void lineEnd() { size_ += 2; }

    qsizetype size() const { return size_; }

private:
    qsizetype size_ = 0;
};

template <typename Out> void writeRecord(Out& out, const SubjectTable& table, int row) {
    const auto cell = [&](Column column) { return QStringView(table.text(row, column)); };
    out.filled(cell(SurnameColumn), record::kSurname.width);
    out.filled(cell(NameColumn), record::kName.width);
    out.orBlanks(cell(MunicipalityCodeColumn), record::kMunicipalityCode.width);
    out.filled(cell(ForeignPlaceColumn), record::kForeignPlace.width);
    out.isoDate(cell(BirthDateColumn));
    out.held(cell(StateCodeColumn));
    out.filled(cell(FatherColumn), record::kFather.width);
    out.held(cell(SexColumn));
    out.orBlanks(cell(TaxCodeColumn), record::kTaxCode.width);
    out.held(cell(CuiColumn));
    out.lineEnd();
}

// Removes the hidden folders of batches whose program stopped before finishing them, and the
// empty batch folders by which a program claims a name where the file system cannot rename
// without replacing (see claimName()) and that it stopped before filling: a batch folder is
// never empty. One that changed recently may be another program's batch in the making and is
// left alone.
void clearStaleBatches(const QDir& parent, const QDateTime& now) {
    const QString pattern = kBatchScratchPrefix + QLatin1Char('*') + kBatchScratchMark + u'*';
    const QString claimed = kBatchScratchPrefix.sliced(1) + u'*';
    for (const QFileInfo& leftover : parent.entryInfoList(
             {pattern, claimed}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (leftover.isSymLink() || leftover.lastModified().secsTo(now) <= kStaleBatchSeconds)
            continue;
        if (leftover.fileName().startsWith(u'.'))
            QDir(leftover.absoluteFilePath()).removeRecursively();
        else
            parent.rmdir(leftover.fileName()); // only an empty one goes
    }
}

} // namespace

BatchStamp batchStamp(const QDateTime& now) {
    return {now.toString(QStringLiteral("yyyy-MM-dd")), now.toString(QStringLiteral("HHmm"))};
}

QString requestSummaryPath(const QString& batchFolder, const BatchStamp& stamp) {
    return QDir(batchFolder)
        .filePath(QStringLiteral("Richiesta_Velmora_") + stampSuffix(stamp) +
                  QStringLiteral(".txt"));
}

QString requestSummaryText(const Request& request) {
    return joinLines(
        {kSummaryFirstLine, QString(),
         QStringLiteral("Tipo Certificato: ") + certificateDescription(request.certificateType),
         QStringLiteral("Finalit\u00E0: ") + request.purpose,
         QStringLiteral("Num. Protocollo: ") +
             request.protocolNumber.leftJustified(kProtocolNumberWidth),
         QStringLiteral("Data: ") + request.protocolDate,
         QStringLiteral("Lingua tedesca: ") +
             (request.german ? QStringLiteral("Si") : QStringLiteral("No")),
         QString()});
}

QString subjectListPath(const QString& batchFolder, const BatchStamp& stamp) {
    return QDir(batchFolder)
        .filePath(QStringLiteral("Nominativi_Velmora_") + stampSuffix(stamp) +
                  QStringLiteral(".txt"));
}

Result<QByteArray> subjectListBytes(const SubjectTable& table) {
    RecordMeasure measure;
    for (int row = 1; row <= table.subjectCount(); ++row)
        writeRecord(measure, table, row);
    QByteArray bytes(measure.size(), Qt::Uninitialized);
    RecordWriter record(bytes.data());
    for (int row = 1; row <= table.subjectCount() && record.ok(); ++row)
        writeRecord(record, table, row);
    if (!record.ok())
        return Failure{unencodable(record.bad())};
    return bytes;
}

Result<QString> writeBatch(const QString& parent, const BatchStamp& stamp, const Request& request,
                           const SubjectTable& table, int& counter) {
    const QDir parentDir(parent);
    const QString plain = parentDir.filePath(QStringLiteral("Velmora_") + stampSuffix(stamp));
    // The texts first: a character the code page cannot hold stops the batch before any disk
    // work.
    const QString summaryPath = requestSummaryPath(plain, stamp);
    const Result<QByteArray> summary = encodeForFile(summaryPath, requestSummaryText(request));
    if (!summary)
        return Failure{summary.error()};
    const QString listPath = subjectListPath(plain, stamp);
    const Result<QByteArray> list = subjectListBytes(table);
    if (!list)
        return Failure{cannotWrite(listPath, list.error())};

    clearStaleBatches(parentDir, QDateTime::currentDateTime());
    const Result<QString> scratch =
        makeScratchFolder(parent, kBatchScratchPrefix + stampSuffix(stamp) + kBatchScratchMark);
    if (!scratch)
        return Failure{cannotMakeFolder(plain, scratch.error())};
    const QDir built(*scratch);
    Status written =
        writeFiles({{built.filePath(QFileInfo(summaryPath).fileName()), *summary, summaryPath},
                    {built.filePath(QFileInfo(listPath).fileName()), *list, listPath}});
    if (written) {
        if (const Status synced = syncFolder(*scratch); !synced)
            written = Failure{cannotMakeFolder(plain, synced.error())};
    }
    if (!written) {
        QDir(*scratch).removeRecursively();
        return Failure{written.error()};
    }

    // The finished folder takes the first free name; another program may take a name between
    // two attempts, and then the next number is tried.
    QString name = plain;
    int next = counter;
    for (;;) {
        const Result<Claim> claim = claimName(*scratch, name);
        if (claim && *claim == Claim::Done) {
            counter = name == plain ? 1 : next;
            (void)syncFolder(parent); // the batch is complete either way
            return name;
        }
        if (!claim || next >= kMaxCounter) {
            QDir(*scratch).removeRecursively();
            return Failure{cannotMakeFolder(name, claim ? systemReason(EEXIST) : claim.error())};
        }
        name = plain + QStringLiteral("(%1)").arg(++next);
    }
}

} // namespace velmora
