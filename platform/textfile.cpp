#include "platform/textfile.h"

#include "platform/windows1252.h"

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

QString writeText(QIODevice& device, const QString& text) {
    QChar bad;
    const auto bytes = encodeWindows1252(text, &bad);
    if (!bytes)
        return QStringLiteral("Il carattere \u00AB%1\u00BB non pu\u00F2 essere scritto nel file "
                              "(codifica Windows-1252)")
            .arg(bad);
    if (device.write(*bytes) != bytes->size())
        return device.errorString();
    return {};
}

QString writeTextFile(const QString& path, const QString& text) {
    const QString where = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Impossibile scrivere il file %1: %2").arg(where, file.errorString());
    const QString error = writeText(file, text);
    if (!error.isEmpty()) {
        file.cancelWriting();
        return QStringLiteral("Impossibile scrivere il file %1: %2").arg(where, error);
    }
    if (!file.commit())
        return QStringLiteral("Impossibile scrivere il file %1: %2").arg(where, file.errorString());
    return {};
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
