#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>

namespace velmora {

// Every text file of the program is Windows-1252 with CR LF line ends.

inline constexpr QStringView kLineEnd = u"\r\n";

// Lines end at CR LF or at a lone CR; a lone LF is part of its line. A last line without
// a line end counts; a final line end does not make an empty line.
QStringList splitLines(QStringView text);

struct TextRead {
    QStringList lines;
    QString error; // empty when the file was read
    bool ok() const { return error.isEmpty(); }
};

TextRead readTextLines(QIODevice& device);
TextRead readTextFile(const QString& path);

// Writes `text` as it stands (the caller puts the line ends), all or nothing.
// Returns an error text for the operator, empty on success.
QString writeTextFile(const QString& path, const QString& text);
QString writeBytesFile(const QString& path, const QByteArray& bytes);

// The operator's words for a file that cannot be written, and for a character that
// Windows-1252 cannot hold.
QString cannotWrite(const QString& path, const QString& why);
QString unencodable(QChar bad);

// Each line followed by CR LF.
QString joinLines(const QStringList& lines);

} // namespace velmora
