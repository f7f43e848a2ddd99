#include "core/subjects/recoveryfile.h"

#include "core/import/importfile.h"
#include "core/import/linereader.h"
#include "core/request/request.h"
#include "core/subjects/delimited.h"
#include "core/text/textfile.h"
#include "core/text/windows1252.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmora {
namespace {

// The first line says what the file is and how to import its subjects by hand. A file of an
// earlier version has no output line, and says 8.
QString marker(int headerLines) {
    return QStringLiteral("VELMORA - RICHIESTA IN CORSO: per importare i soggetti con \"Importa "
                          "da file\" (File CSV) togliere le prime %1 righe")
        .arg(headerLines);
}
constexpr int kHeaderLines = 9;

const QString kCertTypeKey = QStringLiteral("TIPO CERTIFICATO=");
const QString kPurposeKey = QStringLiteral("FINALITA=");
const QString kProtocolNumberKey = QStringLiteral("NUMERO PROTOCOLLO=");
const QString kProtocolDateKey = QStringLiteral("DATA PROTOCOLLO=");
const QString kGermanKey = QStringLiteral("LINGUA TEDESCA=");
const QString kSavedKey = QStringLiteral("ULTIMA MODIFICA=");
const QString kSubjectsKey = QStringLiteral("SOGGETTI=");
const QString kOutputKey = QStringLiteral("SALVATA=");
const QString kBatch = QStringLiteral("LOTTO");
const QString kForm = QStringLiteral("MODULO");
const QString kYes = QStringLiteral("SI");
const QString kNo = QStringLiteral("NO");
const QString kSavedFormat = QStringLiteral("dd/MM/yyyy hh:mm");

const QString kNotRecovery =
    QStringLiteral("il file non \u00E8 una richiesta in corso scritta da VELMORA");
const QString kBadHeaderLine = QStringLiteral("la riga %1 del file non \u00E8 valida");
const QString kBadSubjects =
    QStringLiteral("i soggetti (dalla riga %1 del file) non possono essere "
                   "importati:\r\n%2");
const QString kWrongCount = QStringLiteral("il file contiene %1 soggetti invece di %2");
const QString kQuestion = QStringLiteral(
    "\u00C8 stata trovata una richiesta non completata (%1, ultima modifica il %2 alle %3). "
    "Riprenderla?");
const QString kSentQuestion =
    QStringLiteral("La richiesta in corso (%1) \u00E8 gi\u00E0 stata salvata nel %2 %3 il %4 alle "
                   "%5. Riprenderla?");

// LOTTO|dd/MM/yyyy hh:mm|name, MODULO|...|name, or nothing.
QString outputText(const Output& output) {
    if (output.kind == Output::Kind::None)
        return {};
    return (output.kind == Output::Kind::Batch ? kBatch : kForm) + u'|' +
           output.when.toString(kSavedFormat) + u'|' + output.name;
}

std::optional<Output> outputOf(const QString& text) {
    if (text.isEmpty())
        return Output();
    const QString kind = text.section(u'|', 0, 0);
    Output output;
    output.kind = kind == kBatch  ? Output::Kind::Batch
                  : kind == kForm ? Output::Kind::Form
                                  : Output::Kind::None;
    output.when = QDateTime::fromString(text.section(u'|', 1, 1), kSavedFormat);
    output.name = text.section(u'|', 2);
    if (output.kind == Output::Kind::None || !output.when.isValid() || output.name.isEmpty())
        return std::nullopt;
    return output;
}
const QString kDamaged =
    QStringLiteral("La richiesta non completata non pu\u00F2 essere ripresa: %1.\r\n"
                   "Il file \u00E8 stato conservato come %2");
const QString kCannotMoveAside = QStringLiteral("Impossibile spostare il file %1 in %2");
const QString kKeptAside =
    QStringLiteral("La richiesta non completata \u00E8 stata conservata come %1");
const QString kLater =
    QStringLiteral("La richiesta non completata non pu\u00F2 essere ripresa ora: %1.\r\n"
                   "Il file %2 resta com'\u00E8 e sar\u00E0 riproposto al prossimo avvio; fino "
                   "ad allora la richiesta in corso non \u00E8 protetta.");

// The protocol date as its field shows it: digits, or the field's blanks, in dd/mm/yyyy.
bool shownDate(QStringView text) {
    if (text.isEmpty())
        return true;
    if (text.size() != 10)
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (i == 2 || i == 5 ? c != u'/' : c != u'_' && (c < u'0' || c > u'9'))
            return false;
    }
    return true;
}

// A header value on one line: the purpose field takes no line breaks, so none is lost.
QString oneLine(QString text) {
    text.replace(u'\r', u' ').replace(u'\n', u' ');
    return text;
}

bool appendLine(QByteArray& bytes, QStringView line, QChar* bad) {
    if (!appendWindows1252(bytes, line, bad))
        return false;
    bytes.append("\r\n", 2);
    return true;
}

// The header lines one by one, cut as every text file is (CR LF, or a lone CR).
class HeaderReader {
public:
    explicit HeaderReader(const QByteArray& bytes) : bytes_(bytes) {}
    std::optional<QString> next() {
        if (position_ >= bytes_.size())
            return std::nullopt;
        qsizetype end = bytes_.indexOf('\r', position_);
        if (end < 0)
            end = bytes_.size();
        const QString line =
            decodeWindows1252(QByteArrayView(bytes_).sliced(position_, end - position_));
        position_ = end + 1;
        if (position_ < bytes_.size() && bytes_[position_] == '\n')
            ++position_;
        return line;
    }
    QByteArray rest() const {
        return position_ < bytes_.size() ? bytes_.mid(position_) : QByteArray();
    }

private:
    const QByteArray& bytes_;
    qsizetype position_ = 0;
};

} // namespace

Result<QByteArray> recoveryBytes(const Request& request, const SubjectTable& table,
                                 const QDateTime& saved, const Output& output) {
    const QString header[kHeaderLines] = {
        marker(kHeaderLines),
        kCertTypeKey +
            (request.certificateType >= 0 ? QString::number(request.certificateType) : QString()),
        kPurposeKey + oneLine(request.purpose),
        kProtocolNumberKey + oneLine(request.protocolNumber),
        kProtocolDateKey + oneLine(request.protocolDate),
        kGermanKey + (request.german ? kYes : kNo),
        kSavedKey + saved.toString(kSavedFormat),
        kOutputKey + outputText(output),
        kSubjectsKey + QString::number(table.subjectCount()),
    };
    QByteArray bytes;
    bytes.reserve(1024 + qsizetype(table.subjectCount()) * 128);
    for (const QString& line : header) {
        QChar bad;
        if (!appendLine(bytes, line, &bad))
            return Failure{unencodable(bad)};
    }
    if (const Status written = appendDelimitedLines(bytes, table, Unsplittable::Tabbed); !written)
        return Failure{written.error()};
    return bytes;
}

Result<RecoveryRead> readRecovery(const QByteArray& bytes) {
    HeaderReader lines(bytes);
    const std::optional<QString> first = lines.next();
    const bool withOutput = first == marker(kHeaderLines);
    if (!withOutput && first != marker(kHeaderLines - 1))
        return Failure{kNotRecovery};
    // Each header line in its place, with its key; lines are numbered from the marker's 1.
    QList<const QString*> keys = {&kCertTypeKey,     &kPurposeKey, &kProtocolNumberKey,
                                  &kProtocolDateKey, &kGermanKey,  &kSavedKey};
    if (withOutput)
        keys.append(&kOutputKey);
    keys.append(&kSubjectsKey);
    QStringList values;
    for (const QString* key : keys) {
        const std::optional<QString> line = lines.next();
        if (!line || !line->startsWith(*key))
            return Failure{kBadHeaderLine.arg(values.size() + 2)};
        values.append(line->mid(key->size()));
    }
    const auto badLine = [](int line) { return Failure{kBadHeaderLine.arg(line)}; };

    RecoveryRead read;
    Request& request = read.request;
    const QString& position = values[0]; // empty, or one digit 0 to 4
    const int types = int(kCertificateTypes.size());
    if (position.size() > 1 ||
        (position.size() == 1 && (position[0] < u'0' || position[0] >= QChar(u'0' + types))))
        return badLine(2);
    request.certificateType = position.isEmpty() ? -1 : position.toInt();
    // Each value as the field would have taken it, typed key by key.
    const auto typed = [&read, &values](int index, const KeyFilter& filter, const QString& field) {
        Result<QString> value = typeText(filter, values[index]);
        if (value)
            return std::move(*value);
        read.dropped.append(
            droppedValueMessage(kRecoveryFile.toString(), index + 2, field, value.error()));
        return QString();
    };
    request.purpose = typed(1, requestfields::purpose(), QStringLiteral("Finalit\u00E0"));
    request.protocolNumber =
        typed(2, requestfields::protocolNumber(), QStringLiteral("Numero protocollo"));
    request.protocolDate = values[3];
    if (!shownDate(request.protocolDate)) {
        read.dropped.append(droppedValueMessage(kRecoveryFile.toString(), 5,
                                                QStringLiteral("Data protocollo"),
                                                QStringLiteral("non ha la forma gg/mm/aaaa")));
        request.protocolDate.clear();
    }
    if (values[4] != kYes && values[4] != kNo)
        return badLine(6);
    request.german = values[4] == kYes;
    read.saved = QDateTime::fromString(values[5], kSavedFormat);
    if (!read.saved.isValid())
        return badLine(7);
    if (withOutput) {
        const std::optional<Output> output = outputOf(values[6]);
        if (!output)
            return badLine(8);
        read.output = *output;
    }
    bool number = false;
    read.subjects = values.last().toInt(&number);
    if (!number || read.subjects < 0 || read.subjects > SubjectTable::kMaxRows)
        return badLine(int(values.size()) + 1);
    read.subjectLines = lines.rest();
    read.firstSubjectLine = int(values.size()) + 2;
    return read;
}

Result<QList<SubjectRow>> recoveredSubjects(const RecoveryRead& read,
                                            ReferenceTable& municipalities,
                                            ReferenceTable& states) {
    QByteArray lines = read.subjectLines;
    QBuffer device(&lines);
    device.open(QIODevice::ReadOnly);
    ImportResult imported = importSubjects(device, ImportKind::Recovery, 0, municipalities, states);
    if (!imported)
        return Failure{kBadSubjects.arg(read.firstSubjectLine).arg(imported.error())};
    if (imported->size() != read.subjects)
        return Failure{kWrongCount.arg(imported->size()).arg(read.subjects)};
    return std::move(imported).value();
}

bool holdsWork(const Request& request, int subjects, const Request& fresh) {
    return subjects > 0 || request != fresh;
}

QString recoveryQuestion(const RecoveryRead& read) {
    const QString count = read.subjects == 1 ? QStringLiteral("1 soggetto")
                                             : QStringLiteral("%1 soggetti").arg(read.subjects);
    const Output& output = read.output;
    if (output.kind != Output::Kind::None)
        return kSentQuestion.arg(count,
                                 output.kind == Output::Kind::Batch ? QStringLiteral("lotto")
                                                                    : QStringLiteral("modulo"),
                                 output.name, output.when.toString(QStringLiteral("dd/MM/yyyy")),
                                 output.when.toString(QStringLiteral("hh:mm")));
    return kQuestion.arg(count, read.saved.toString(QStringLiteral("dd/MM/yyyy")),
                         read.saved.toString(QStringLiteral("hh:mm")));
}

QString damagedRecoveryMessage(const QString& asidePath, const QString& why) {
    return kDamaged.arg(why, QDir::toNativeSeparators(asidePath));
}

QString keptAsideMessage(const QString& asidePath) {
    return kKeptAside.arg(QDir::toNativeSeparators(asidePath));
}

QString recoveryLaterMessage(const QString& path, const QString& why) {
    return kLater.arg(why, QDir::toNativeSeparators(path));
}

QString recoveryAsideName(const QDateTime& when, int copy) {
    const QString stamp = when.toString(QStringLiteral("yyyyMMdd-hhmm"));
    return copy == 1 ? QStringLiteral("richiesta-in-corso-%1.txt").arg(stamp)
                     : QStringLiteral("richiesta-in-corso-%1-%2.txt").arg(stamp).arg(copy);
}

Result<QString> moveRecoveryAside(const QString& folder) {
    const QDir dir(folder);
    const QString current = dir.filePath(kRecoveryFile.toString());
    const QDateTime changed = QFileInfo(current).lastModified();
    QString aside;
    for (int copy = 1; aside.isEmpty() || QFileInfo::exists(aside); ++copy)
        aside = dir.filePath(recoveryAsideName(changed, copy));
    if (!QFile::rename(current, aside))
        return Failure{kCannotMoveAside.arg(QDir::toNativeSeparators(current),
                                            QDir::toNativeSeparators(aside))};
    return aside;
}

qint64 maxRecoveryBytes() {
    constexpr qint64 kHeaderBytes = 4096; // nine lines, the longest a purpose of 250 characters
    return kHeaderBytes + qint64(SubjectTable::kMaxRows) * (LineReader::kMaxLineLength + 2);
}

} // namespace velmora
