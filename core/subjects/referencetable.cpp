#include "core/subjects/referencetable.h"

#include "core/files/filewriter.h"
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

// Every place code has its own slot: the letter and the three digits, read as a number.
constexpr qsizetype kCodeSlots = 26 * 1000;
qsizetype codeSlot(QStringView code) {
    return (code[0].unicode() - u'A') * 1000 + (code[1].unicode() - u'0') * 100 +
           (code[2].unicode() - u'0') * 10 + (code[3].unicode() - u'0');
}

// The first line that ends with a lone LF, as "line N: why", or "".
QString lineFeedFault(const QByteArray& bytes) {
    for (qsizetype at = bytes.indexOf('\n'); at >= 0; at = bytes.indexOf('\n', at + 1)) {
        if (at == 0 || bytes[at - 1] != '\r')
            return QStringLiteral("riga %1: la riga finisce con LF e non con CR LF")
                .arg(bytes.first(at).count('\r') + 1); // every earlier line ends with a CR
    }
    return {};
}

} // namespace

void ReferenceTable::load() {
    names_.clear();
    codes_.clear();
    lineByName_.clear();
    lineByCode_.clear();
    const QString shown = QDir::toNativeSeparators(QFileInfo(path_).absoluteFilePath());
    const auto damaged = [this, &shown](const QString& why) {
        names_.clear(); // a damaged table answers nothing
        codes_.clear();
        lineByCode_.clear();
        error_ = QStringLiteral("La tabella dei luoghi %1 \u00E8 danneggiata, %2").arg(shown, why);
    };
    QFile file(path_);
    if (QString why; !openForReading(file, why)) {
        error_ = QStringLiteral("Impossibile leggere il file %1: %2").arg(shown, why);
        return;
    }
    if (file.size() > kMaxFileBytes) {
        error_ = QStringLiteral("La tabella dei luoghi %1 supera il limite di %2 MiB")
                     .arg(shown)
                     .arg(kMaxFileBytes / (1024 * 1024));
        return;
    }
    const QByteArray bytes = file.read(kMaxFileBytes);
    if (const QString why = lineFeedFault(bytes); !why.isEmpty())
        return damaged(why);
    error_.clear();
    const QString text = decodeWindows1252(bytes);
    const QStringView all(text);
    const qsizetype lines = bytes.count('\r') + 1;
    names_.reserve(lines);
    codes_.reserve(lines);
    lineByCode_.assign(kCodeSlots, -1);
    // Every LF follows a CR (checked above), so a line ends at its CR and a final line end
    // makes no empty line.
    for (qsizetype start = 0; start < all.size();) {
        qsizetype end = all.indexOf(u'\r', start);
        if (end < 0)
            end = all.size();
        const QStringView line = all.sliced(start, end - start);
        start = end + 1 + (end + 1 < all.size() && all[end + 1] == u'\n');
        const qsizetype number = names_.size() + 1;
        const qsizetype nameEnd = line.indexOf(u',');
        if (nameEnd < 0)
            return damaged(
                QStringLiteral("riga %1: manca la virgola tra nome e codice").arg(number));
        // Fields after the second are ignored.
        const QStringView rest = line.sliced(nameEnd + 1);
        const qsizetype codeEnd = rest.indexOf(u',');
        const QStringView code = codeEnd < 0 ? rest : rest.first(codeEnd);
        if (!isPlaceCode(code))
            return damaged(QStringLiteral("riga %1: il codice \u00AB%2\u00BB non \u00E8 una "
                                          "lettera seguita da tre cifre")
                               .arg(number)
                               .arg(code));
        qsizetype& first = lineByCode_[codeSlot(code)];
        if (first < 0)
            first = names_.size();
        names_.append(line.first(nameEnd).toString());
        codes_.append(code.toString());
    }
}

std::optional<QString> ReferenceTable::lookupName(const QString& name) const {
    // The index by name is made at the first lookup by name after a load: hashing every name
    // costs more than the rest of the load, and the import and the checks never ask by name.
    if (lineByName_.isEmpty() && !names_.isEmpty()) {
        // From the last line up, each insertion replacing the one before: the first line wins,
        // as for a scan from the top, and each line costs one probe.
        lineByName_.reserve(names_.size());
        for (qsizetype line = names_.size() - 1; line >= 0; --line)
            lineByName_.insert(names_.at(line), line);
    }
    const auto found = lineByName_.constFind(name);
    if (found == lineByName_.constEnd())
        return std::nullopt;
    return codes_.at(*found);
}

qsizetype ReferenceTable::lineOfCode(QStringView code) const {
    return lineByCode_.empty() || !isPlaceCode(code) ? -1 : lineByCode_[codeSlot(code)];
}

} // namespace velmora
