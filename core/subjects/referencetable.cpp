#include "core/subjects/referencetable.h"

#include "core/text/textfile.h"
#include "core/text/windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <utility>

namespace velmora {

bool isPlaceCode(QStringView code) {
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    return code.size() == 4 && code[0] >= u'A' && code[0] <= u'Z' && digit(code[1]) &&
           digit(code[2]) && digit(code[3]);
}

ReferenceTable::ReferenceTable(QString path) : path_(std::move(path)) {}

ReferenceTable::FileStamp ReferenceTable::currentStamp() const {
    const QFileInfo info(path_);
    if (!info.exists())
        return {info.absoluteFilePath(), false, -1, {}, {}};
    return {info.absoluteFilePath(), true, info.size(), info.lastModified(),
            info.metadataChangeTime()};
}

Status ReferenceTable::refresh() {
    FileStamp stamp = currentStamp();
    if (loaded_ != stamp) {
        loaded_ = std::move(stamp);
        load();
    }
    if (!error_.isEmpty())
        return Failure{error_};
    return {};
}

namespace {

// The first fault of the table's bytes, as "line N: why", or "".
QString fault(const QByteArray& bytes, const QStringList& lines) {
    const qsizetype lf = bytes.indexOf('\n');
    for (qsizetype at = lf; at >= 0; at = bytes.indexOf('\n', at + 1)) {
        if (at == 0 || bytes[at - 1] != '\r')
            return QStringLiteral("riga %1: la riga finisce con LF e non con CR LF")
                .arg(bytes.first(at).count('\r') + 1); // every earlier line ends with a CR
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(u',');
        if (fields.size() < 2)
            return QStringLiteral("riga %1: manca la virgola tra nome e codice").arg(i + 1);
        if (!isPlaceCode(fields[1]))
            return QStringLiteral("riga %1: il codice \u00AB%2\u00BB non \u00E8 una lettera "
                                  "seguita da tre cifre")
                .arg(i + 1)
                .arg(fields[1]);
    }
    return {};
}

} // namespace

void ReferenceTable::load() {
    names_.clear();
    codeByName_.clear();
    nameByCode_.clear();
    const QString shown = QDir::toNativeSeparators(QFileInfo(path_).absoluteFilePath());
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        error_ =
            QStringLiteral("Impossibile leggere il file %1: %2").arg(shown, file.errorString());
        return;
    }
    if (file.size() > kMaxFileBytes) {
        error_ = QStringLiteral("La tabella dei luoghi %1 supera il limite di %2 MiB")
                     .arg(shown)
                     .arg(kMaxFileBytes / (1024 * 1024));
        return;
    }
    const QByteArray bytes = file.read(kMaxFileBytes);
    const QStringList lines = splitLines(decodeWindows1252(bytes));
    const QString why = fault(bytes, lines);
    error_ =
        why.isEmpty()
            ? QString()
            : QStringLiteral("La tabella dei luoghi %1 \u00E8 danneggiata, %2").arg(shown, why);
    if (!error_.isEmpty())
        return; // a damaged table answers nothing
    names_.reserve(lines.size());
    codeByName_.reserve(lines.size());
    nameByCode_.reserve(lines.size());
    // Every line holds a comma: the table was refused above otherwise.
    for (const QString& line : lines)
        names_.append(line.left(line.indexOf(u',')));
    // From the last line up, each insertion replacing the one before: the first line wins, as
    // for a scan from the top, and each line costs one probe of each hash.
    qsizetype entry = names_.size();
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const qsizetype nameEnd = line->indexOf(u',');
        qsizetype codeEnd = line->indexOf(u',', nameEnd + 1);
        if (codeEnd < 0)
            codeEnd = line->size();
        const QString& name = names_.at(--entry);
        const QString code = line->mid(nameEnd + 1, codeEnd - nameEnd - 1);
        codeByName_.insert(name, code);
        nameByCode_.insert(code, name);
    }
}

std::optional<QString> ReferenceTable::lookupName(const QString& name) const {
    const auto found = codeByName_.constFind(name);
    if (found == codeByName_.constEnd())
        return std::nullopt;
    return *found;
}

QString ReferenceTable::nameByCode(const QString& code) const {
    return nameByCode_.value(code);
}

} // namespace velmora
