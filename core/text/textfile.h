#pragma once

#include "core/files/filewriter.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

namespace velmora {

// Every text file of the program is Windows-1252 with CR LF line ends.

inline constexpr QStringView kLineEnd = u"\r\n";

// Lines end at CR LF or at a lone CR; a lone LF is part of its line. A last line without
// a line end counts; a final line end does not make an empty line.
QStringList splitLines(QStringView text);

QStringList readTextLines(QIODevice& device);
// The lines, or why the file cannot be read.
using TextRead = Result<QStringList>;
TextRead readTextFile(const QString& path);

// Writes `text` as it stands (the caller puts the line ends) in Windows-1252, all or nothing.
Status writeTextFile(const QString& path, const QString& text);
// The bytes, or the failure naming `path` and the character Windows-1252 cannot hold.
Result<QByteArray> encodeForFile(const QString& path, const QString& text);

// The operator's words for a character that Windows-1252 cannot hold.
QString unencodable(QChar bad);

// Each line followed by CR LF.
QString joinLines(const QStringList& lines);

} // namespace velmora
