#include "core/output/batch.h"

#include "core/dates.h"
#include "core/subjects/record.h"
#include "core/text/textfile.h"
#include "core/text/windows1252.h"

#include <QDir>
#include <QFileInfo>
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
// largest table makes ten megabytes of it.
class RecordWriter {
public:
    explicit RecordWriter(QByteArray& out) : out_(out) {}

    // The text, then blanks up to `width`; a longer text is written whole.
    void filled(const QString& text, qsizetype width) {
        held(text);
        if (text.size() < width)
            out_.append(width - text.size(), ' ');
    }
    // The text as held, or `width` blanks when it is empty.
    void orBlanks(const QString& text, qsizetype width) {
        if (text.isEmpty())
            out_.append(width, ' ');
        else
            held(text);
    }
    // The table's dd/mm/yyyy as yyyy-mm-dd; a text that is no date is written as held.
    void isoDate(const QString& date) {
        if (!parseDate(date)) {
            held(date);
            return;
        }
        const QStringView text = date;
        held(text.mid(6, 4));
        out_.append('-');
        held(text.mid(3, 2));
        out_.append('-');
        held(text.mid(0, 2));
    }
    void held(QStringView text) {
        if (ok_)
            ok_ = appendWindows1252(out_, text, &bad_);
    }
    void lineEnd() { out_.append("\r\n", 2); }

    bool ok() const { return ok_; }
    QChar bad() const { return bad_; }

private:
    QByteArray& out_;
    bool ok_ = true;
    QChar bad_;
};

void writeRecord(RecordWriter& out, const SubjectTable& table, int row) {
    const auto cell = [&](Column column) { return table.cell(row, column); };
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

QString cannotMakeFolder(const QString& path) {
    return QStringLiteral("Impossibile creare la cartella %1").arg(QDir::toNativeSeparators(path));
}

} // namespace

BatchStamp batchStamp(const QDateTime& now) {
    return {now.toString(QStringLiteral("yyyy-MM-dd")), now.toString(QStringLiteral("HHmm"))};
}

FolderResult makeBatchFolder(const QString& parent, const BatchStamp& stamp, int& counter) {
    const QDir parentDir(parent);
    const QString plain = parentDir.filePath(QStringLiteral("Velmora_") + stampSuffix(stamp));
    if (!QFileInfo::exists(plain)) {
        if (!parentDir.mkdir(QFileInfo(plain).fileName()))
            return {plain, cannotMakeFolder(plain)};
        counter = 1;
        return {plain, {}};
    }
    // The name is taken (a batch in the same minute): number it, past any number taken too.
    while (counter < kMaxCounter) {
        ++counter;
        const QString numbered = plain + QStringLiteral("(%1)").arg(counter);
        if (QFileInfo::exists(numbered))
            continue;
        if (!parentDir.mkdir(QFileInfo(numbered).fileName()))
            return {numbered, cannotMakeFolder(numbered)};
        return {numbered, {}};
    }
    return {plain, cannotMakeFolder(plain)};
}

QString requestSummaryPath(const QString& batchFolder, const BatchStamp& stamp) {
    return QDir(batchFolder)
        .filePath(QStringLiteral("Richiesta_Velmora_") + stampSuffix(stamp) +
                  QStringLiteral(".txt"));
}

QString requestSummaryText(const RequestRecord& request) {
    return joinLines({kSummaryFirstLine, QString(),
                      QStringLiteral("Tipo Certificato: ") + request.certTypeDescription,
                      QStringLiteral("Finalit\u00E0: ") + request.purpose,
                      QStringLiteral("Num. Protocollo: ") + request.protocolNumber,
                      QStringLiteral("Data: ") + request.protocolDate,
                      QStringLiteral("Lingua tedesca: ") + request.german, QString()});
}

QString subjectListPath(const QString& batchFolder, const BatchStamp& stamp) {
    return QDir(batchFolder)
        .filePath(QStringLiteral("Nominativi_Velmora_") + stampSuffix(stamp) +
                  QStringLiteral(".txt"));
}

Result<QByteArray> subjectListBytes(const SubjectTable& table) {
    QByteArray bytes;
    bytes.reserve(qsizetype(table.progressivo()) * 330);
    RecordWriter record(bytes);
    for (int row = 1; row <= table.progressivo() && record.ok(); ++row)
        writeRecord(record, table, row);
    if (!record.ok())
        return Failure{unencodable(record.bad())};
    return bytes;
}

QString writeSubjectList(const QString& path, const SubjectTable& table) {
    const Result<QByteArray> bytes = subjectListBytes(table);
    return bytes ? writeBytesFile(path, *bytes) : cannotWrite(path, bytes.error());
}

FolderResult writeBatch(const QString& parent, const BatchStamp& stamp,
                        const RequestRecord& request, const SubjectTable& table, int& counter) {
    FolderResult folder = makeBatchFolder(parent, stamp, counter);
    if (!folder.ok())
        return folder;
    QString error =
        writeTextFile(requestSummaryPath(folder.path, stamp), requestSummaryText(request));
    if (error.isEmpty())
        error = writeSubjectList(subjectListPath(folder.path, stamp), table);
    if (!error.isEmpty()) {
        QDir(folder.path).removeRecursively();
        folder.error = error;
    }
    return folder;
}

} // namespace velmora
