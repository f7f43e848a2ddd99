#include "core/text/textfile.h"

#include "core/text/windows1252.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

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

QString cannotWrite(const QString& path, const QString& why) {
    return QStringLiteral("Impossibile scrivere il file %1: %2")
        .arg(QDir::toNativeSeparators(path), why);
}

TextRead readTextLines(QIODevice& device) {
    return {splitLines(decodeWindows1252(device.readAll())), {}};
}

TextRead readTextFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{},
                QStringLiteral("Impossibile leggere il file %1: %2")
                    .arg(QDir::toNativeSeparators(path), file.errorString())};
    return readTextLines(file);
}

QString unencodable(QChar bad) {
    return QStringLiteral("Il carattere \u00AB%1\u00BB non pu\u00F2 essere scritto nel file "
                          "(codifica Windows-1252)")
        .arg(bad);
}

QString writeBytesFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return cannotWrite(path, file.errorString());
    return {};
}

QString writeTextFile(const QString& path, const QString& text) {
    QChar bad;
    const auto bytes = encodeWindows1252(text, &bad);
    if (!bytes)
        return cannotWrite(path, unencodable(bad));
    return writeBytesFile(path, *bytes);
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
