#include "core/text/textfile.h"

#include "core/files/filewriter.h"
#include "core/text/windows1252.h"

#include <QDir>
#include <QFile>

namespace velmora {

QStringList splitLines(QStringView text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (text[i] != u'\r')
            continue;
        lines.append(text.mid(start, i - start).toString());
        if (i + 1 < size && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start).toString());
    return lines;
}

QStringList readTextLines(QIODevice& device) {
    return splitLines(decodeWindows1252(device.readAll()));
}

TextRead readTextFile(const QString& path) {
    QFile file(path);
    if (QString why; !openForReading(file, why))
        return Failure{QStringLiteral("Impossibile leggere il file %1: %2")
                           .arg(QDir::toNativeSeparators(path), why)};
    return readTextLines(file);
}

QString unencodable(QChar bad) {
    return QStringLiteral("Il carattere \u00AB%1\u00BB non pu\u00F2 essere scritto nel file "
                          "(codifica Windows-1252)")
        .arg(bad);
}

Result<QByteArray> encodeForFile(const QString& path, const QString& text) {
    QChar bad;
    std::optional<QByteArray> bytes = encodeWindows1252(text, &bad);
    if (!bytes)
        return Failure{cannotWrite(path, unencodable(bad))};
    return std::move(*bytes);
}

Status writeTextFile(const QString& path, const QString& text) {
    const Result<QByteArray> bytes = encodeForFile(path, text);
    if (!bytes)
        return Failure{bytes.error()};
    return writeFile(path, *bytes);
}

QString joinLines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += kLineEnd;
    }
    return text;
}

} // namespace velmora
