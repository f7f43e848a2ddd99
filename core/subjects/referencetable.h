#pragma once

#include "core/result.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace velmora {

// A place code as the tables hold it: a capital letter and three digits (H501, Z000).
bool isPlaceCode(QStringView code);

// A table of place names and their codes (NAME,CODE per line, Windows-1252), held in memory
// so that a lookup by name costs a hash probe and a lookup by code an index. Each use of the table
// (filling a list, turning one typed name into its code, an import) begins with refresh(), which
// reads the file again when it has changed on disk; the answers are then the ones a scan of the
// file from its first line gives: the code of the first line with the name, the name of the first
// line with the code, every name in file order. Checking the file costs a system call, which is why
// the lookups themselves never touch the disk.
//
// Every line holds a name and a code (a capital letter and three digits) separated by a comma,
// and ends with CR LF; a table that breaks this anywhere, or a file larger than kMaxFileBytes,
// is damaged and answers nothing until its file is mended. Fields after the second are ignored.
// Nothing is trimmed and case counts.
class ReferenceTable {
public:
    // Many times the largest honest table.
    static constexpr qint64 kMaxFileBytes = 4LL * 1024 * 1024;

    // A relative path is taken below the current folder at each refresh.
    explicit ReferenceTable(QString path);

    // Brings the table up to date with its file; fails, saying why to the operator and naming
    // the file and the line, when the file cannot be read or is damaged. Such a table answers
    // as an empty one, and so does a table never refreshed.
    Status refresh();

    std::optional<QString> lookupName(const QString& name) const;
    // The first line with `code`, as an index into names() and codes(); -1 when none has it.
    qsizetype lineOfCode(QStringView code) const;
    const QStringList& names() const { return names_; }
    const QStringList& codes() const { return codes_; }

private:
    struct FileStamp {
        QString absolutePath;
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        QDateTime changed;
        bool operator==(const FileStamp&) const = default;
    };
    FileStamp currentStamp() const;
    void load();

    QString path_;
    std::optional<FileStamp> loaded_;
    QString error_;
    // Line i's name and code at index i.
    QStringList names_;
    QStringList codes_;
    mutable QHash<QString, qsizetype> lineByName_; // the first line of each name, made when asked
    std::vector<qsizetype> lineByCode_; // the first line of each code, at codeSlot(code); -1
};

} // namespace velmora
