#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// The one message of a check that found several problems: the heading, a blank line, then
// one "- ..." line per problem, with no line break at the end.
inline QString errorListMessage(const QStringList& lines) {
    QString message = QStringLiteral("ATT! Sono stati riscontrati i seguenti errori:\r\n");
    for (const QString& line : lines)
        message += QStringLiteral("\r\n") + line;
    return message;
}

} // namespace velmora
