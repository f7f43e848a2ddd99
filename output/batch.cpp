#include "output/batch.h"

#include "checks/dates.h"
#include "platform/textfile.h"

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

void appendFilled(QString& out, const QString& text, qsizetype width) {
    out += text;
    if (text.size() < width)
        out.resize(out.size() + width - text.size(), u' ');
}

// A field written as held, or `width` blanks when it is empty.
void appendOrBlanks(QString& out, const QString& text, qsizetype width) {
    if (text.isEmpty())
        out.resize(out.size() + width, u' ');
    else
        out += text;
}

// The table's dd/mm/yyyy as yyyy-mm-dd; a text that is no date is written as held.
void appendIsoDate(QString& out, const QString& date) {
    if (!parseDate(date)) {
        out += date;
        return;
    }
    const QStringView text = date;
    out += text.mid(6, 4);
    out += u'-';
    out += text.mid(3, 2);
    out += u'-';
    out += text.mid(0, 2);
}

void appendSubjectRecord(QString& out, const SubjectTable& table, int row) {
    const auto cell = [&](Column column) { return table.cell(row, column); };
    appendFilled(out, cell(SurnameColumn), 72);
    appendFilled(out, cell(NameColumn), 72);
    appendOrBlanks(out, cell(MunicipalityCodeColumn), 4);
    appendFilled(out, cell(ForeignPlaceColumn), 60);
    appendIsoDate(out, cell(BirthDateColumn));
    out += cell(StateCodeColumn);
    appendFilled(out, cell(FatherColumn), 72);
    out += cell(SexColumn);
    appendOrBlanks(out, cell(TaxCodeColumn), 16);
    out += cell(CuiColumn);
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

QString subjectListText(const SubjectTable& table) {
    QString text;
    text.reserve(qsizetype(table.progressivo()) * 330);
    for (int row = 1; row <= table.progressivo(); ++row) {
        appendSubjectRecord(text, table, row);
        text += kLineEnd;
    }
    return text;
}

FolderResult writeBatch(const QString& parent, const BatchStamp& stamp,
                        const RequestRecord& request, const SubjectTable& table, int& counter) {
    FolderResult folder = makeBatchFolder(parent, stamp, counter);
    if (!folder.ok())
        return folder;
    QString error =
        writeTextFile(requestSummaryPath(folder.path, stamp), requestSummaryText(request));
    if (error.isEmpty())
        error = writeTextFile(subjectListPath(folder.path, stamp), subjectListText(table));
    if (!error.isEmpty()) {
        QDir(folder.path).removeRecursively();
        folder.error = error;
    }
    return folder;
}

} // namespace velmora
