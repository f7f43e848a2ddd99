#include "core/subjects/recoveryfile.h"

#include "core/import/importfile.h"
#include "core/subjects/delimited.h"
#include "core/text/textfile.h"
#include "core/text/windows1252.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace velmora {
namespace {

// The first line says what the file is and how to import its subjects by hand.
const QString kMarker =
    QStringLiteral("VELMORA - RICHIESTA IN CORSO: per importare i soggetti con \"Importa da file\" "
                   "(File CSV) togliere le prime 8 righe");
constexpr int kHeaderLines = 8;

const QString kCertTypeKey = QStringLiteral("TIPO CERTIFICATO=");
const QString kPurposeKey = QStringLiteral("FINALITA=");
const QString kProtocolNumberKey = QStringLiteral("NUMERO PROTOCOLLO=");
const QString kProtocolDateKey = QStringLiteral("DATA PROTOCOLLO=");
const QString kGermanKey = QStringLiteral("LINGUA TEDESCA=");
const QString kSavedKey = QStringLiteral("ULTIMA MODIFICA=");
const QString kSubjectsKey = QStringLiteral("SOGGETTI=");
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
const QString kDamaged =
    QStringLiteral("La richiesta non completata non pu\u00F2 essere ripresa: %1.\r\n"
                   "Il file \u00E8 stato conservato come %2");
const QString kCannotMoveAside = QStringLiteral("Impossibile spostare il file %1 in %2");

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
                                 const QDateTime& saved) {
    const QString header[kHeaderLines] = {
        kMarker,
        kCertTypeKey +
            (request.certificateType >= 0 ? QString::number(request.certificateType) : QString()),
        kPurposeKey + oneLine(request.purpose),
        kProtocolNumberKey + oneLine(request.protocolNumber),
        kProtocolDateKey + oneLine(request.protocolDate),
        kGermanKey + (request.german ? kYes : kNo),
        kSavedKey + saved.toString(kSavedFormat),
        kSubjectsKey + QString::number(table.subjectCount()),
    };
    QByteArray bytes;
    bytes.reserve(1024 + qsizetype(table.subjectCount()) * 128);
    for (const QString& line : header) {
        QChar bad;
        if (!appendLine(bytes, line, &bad))
            return Failure{unencodable(bad)};
    }
    if (const Status written = appendDelimitedLines(bytes, table); !written)
        return Failure{written.error()};
    return bytes;
}

Result<RecoveryRead> readRecovery(const QByteArray& bytes) {
    HeaderReader lines(bytes);
    if (lines.next() != kMarker)
        return Failure{kNotRecovery};
    // Each header line in its place, with its key; lines are numbered from the marker's 1.
    const QString* keys[] = {&kCertTypeKey, &kPurposeKey, &kProtocolNumberKey, &kProtocolDateKey,
                             &kGermanKey,   &kSavedKey,   &kSubjectsKey};
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
    request.purpose = values[1];
    request.protocolNumber = values[2];
    request.protocolDate = values[3];
    if (values[4] != kYes && values[4] != kNo)
        return badLine(6);
    request.german = values[4] == kYes;
    read.saved = QDateTime::fromString(values[5], kSavedFormat);
    if (!read.saved.isValid())
        return badLine(7);
    bool number = false;
    read.subjects = values[6].toInt(&number);
    if (!number || read.subjects < 0 || read.subjects > SubjectTable::kMaxRows)
        return badLine(8);
    read.subjectLines = lines.rest();
    return read;
}

Result<QList<SubjectRow>> recoveredSubjects(const RecoveryRead& read,
                                            ReferenceTable& municipalities,
                                            ReferenceTable& states) {
    QByteArray lines = read.subjectLines;
    QBuffer device(&lines);
    device.open(QIODevice::ReadOnly);
    ImportResult imported =
        importSubjects(device, ImportKind::Delimited, 0, municipalities, states);
    if (!imported)
        return Failure{kBadSubjects.arg(kHeaderLines + 1).arg(imported.error())};
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
    return kQuestion.arg(count, read.saved.toString(QStringLiteral("dd/MM/yyyy")),
                         read.saved.toString(QStringLiteral("hh:mm")));
}

QString damagedRecoveryMessage(const QString& asidePath, const QString& why) {
    return kDamaged.arg(why, QDir::toNativeSeparators(asidePath));
}

QString recoveryAsideName(const QDateTime& when) {
    return QStringLiteral("richiesta-in-corso-%1.txt")
        .arg(when.toString(QStringLiteral("yyyyMMdd-hhmm")));
}

Result<QString> moveRecoveryAside(const QString& folder) {
    const QDir dir(folder);
    const QString current = dir.filePath(kRecoveryFile.toString());
    const QString aside = dir.filePath(recoveryAsideName(QFileInfo(current).lastModified()));
    QFile::remove(aside); // a copy of the same minute is older still
    if (!QFile::rename(current, aside))
        return Failure{kCannotMoveAside.arg(QDir::toNativeSeparators(current),
                                            QDir::toNativeSeparators(aside))};
    const QRegularExpression olderCopy(QStringLiteral("^richiesta-in-corso-\\d{8}-\\d{4}\\.txt$"));
    for (const QString& name : dir.entryList(QDir::Files)) {
        if (olderCopy.match(name).hasMatch() && dir.filePath(name) != aside)
            QFile::remove(dir.filePath(name));
    }
    return aside;
}

} // namespace velmora
