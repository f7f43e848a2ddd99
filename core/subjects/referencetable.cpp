#include "core/subjects/referencetable.h"

#include "core/text/textfile.h"

#include <QFileInfo>
#include <utility>

namespace velmora {

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

void ReferenceTable::load() {
    names_.clear();
    codeByName_.clear();
    nameByCode_.clear();
    TextRead read = readTextFile(path_);
    error_ = read.error;
    names_.reserve(read.lines.size());
    codeByName_.reserve(read.lines.size());
    nameByCode_.reserve(read.lines.size());
    for (const QString& line : read.lines) {
        const qsizetype nameEnd = line.indexOf(u',');
        if (nameEnd >= 0)
            names_.append(line.left(nameEnd));
    }
    // From the last line up, each insertion replacing the one before: the first line wins, as
    // for a scan from the top, and each line costs one probe of each hash.
    qsizetype entry = names_.size();
    for (auto line = read.lines.crbegin(); line != read.lines.crend(); ++line) {
        const qsizetype nameEnd = line->indexOf(u',');
        if (nameEnd < 0)
            continue;
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
