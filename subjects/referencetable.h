#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace velmora {

// A table of place names and their codes (NAME,CODE per line, Windows-1252), held in memory
// and read again whenever the file on disk changes, so that every answer is the one a scan of
// the file from its first line would give: the code of the first line with the name, the name
// of the first line with the code, every name in file order.
//
// A line without a comma (an empty line among them) holds no code: it is not an entry and
// takes no part in the list or the lookups. Fields after the second are ignored. Nothing is
// trimmed and case counts.
class ReferenceTable {
public:
    // A relative path is taken below the current folder at each use.
    explicit ReferenceTable(QString path);

    // Brings the table up to date with its file. Returns "" when the table is at hand, else
    // the reason, for the operator; a table that cannot be read answers as an empty one.
    QString refresh();

    std::optional<QString> lookupName(const QString& name);
    QString nameByCode(const QString& code); // "" when no line has the code
    const QStringList& names();

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
    QStringList names_;
    QHash<QString, QString> codeByName_;
    QHash<QString, QString> nameByCode_;
};

} // namespace velmora
