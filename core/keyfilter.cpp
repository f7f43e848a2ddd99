#include "core/keyfilter.h"

#include "core/text/windows1252.h"

namespace velmora {

KeyDecision judgeKey(const KeyFilter& filter, QChar key, qsizetype length) {
    const bool atLimit = filter.limit > 0 && length >= filter.limit;
    const KeyDecision refused{KeyDecision::Kind::Refuse, {}, filter.limitMessage};
    if (filter.order == KeyFilter::Order::LengthFirst && atLimit)
        return refused;
    const int code = windows1252Code(key);
    if (code < 0 || !filter.accepts(code))
        return {};
    if (atLimit)
        return refused;
    return {KeyDecision::Kind::Insert, filter.upperCase ? upperWithin1252(key) : key, {}};
}

Result<QString> typeText(const KeyFilter& filter, QStringView text) {
    QString typed;
    typed.reserve(text.size());
    for (const QChar c : text) {
        const KeyDecision decision = judgeKey(filter, c, typed.size());
        if (decision.kind == KeyDecision::Kind::Refuse)
            return Failure{decision.message};
        if (decision.kind == KeyDecision::Kind::Drop)
            return Failure{QStringLiteral("carattere non ammesso: %1").arg(shownCharacter(c))};
        typed.append(decision.character);
    }
    return typed;
}

QString droppedValueMessage(const QString& file, int line, const QString& field,
                            const QString& why) {
    return QStringLiteral("Il file %1, riga %2, campo \u00AB%3\u00BB: valore scartato (%4)")
        .arg(file)
        .arg(line)
        .arg(field, why);
}

} // namespace velmora
