#include "core/subjects/subjectsearch.h"

#include <algorithm>

namespace velmora {
namespace {

bool isAscii(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// Calls `visit` on rows from + 1, from + 2, ... (or from - 1, from - 2, ...) round the table,
// ending with `from` itself, until it answers true; that row, or 0.
template <typename Visit> int roundFrom(int count, int from, bool forward, Visit visit) {
    if (count == 0)
        return 0;
    // No current row: forward from before the first, back from after the last.
    const int start = from < 1 || from > count ? (forward ? 0 : count + 1) : from;
    for (int step = 1; step <= count; ++step) {
        const int offset = forward ? start - 1 + step : start - 1 - step + count * 2;
        const int row = offset % count + 1;
        if (visit(row))
            return row;
    }
    return 0;
}

} // namespace

QString searchKey(QStringView text) {
    const QString upper = text.toString().toUpper();
    if (isAscii(upper))
        return upper;
    QString key;
    key.reserve(upper.size());
    for (const QChar c : upper.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing)
            key.append(c);
    }
    return key;
}

int findSubject(const SubjectTable& table, QStringView text, int from, bool forward) {
    const QString key = searchKey(text.trimmed());
    if (key.isEmpty())
        return 0;
    // The table's values are in capitals already: only those beyond ASCII are worked out.
    const auto holds = [&key](QStringView value) {
        return isAscii(value) ? value.contains(key) : searchKey(value).contains(key);
    };
    return roundFrom(table.subjectCount(), from, forward, [&](int row) {
        return holds(table.text(row, SurnameColumn)) || holds(table.text(row, NameColumn)) ||
               holds(table.text(row, TaxCodeColumn));
    });
}

int findSubject(const SubjectTable& table, QStringView text, int current, FindStep step) {
    if (step == FindStep::AsTyped && current > 0)
        return findSubject(table, text, current - 1, true);
    return findSubject(table, text, current, step != FindStep::Previous);
}

int nextMarkedRow(const SubjectTable& table, int from) {
    return roundFrom(table.subjectCount(), from, true, [&table](int row) {
        return table.fault(row) != RowFault::None || !table.warnings(row).isEmpty();
    });
}

QString subjectCounts(const SubjectTable& table) {
    const int count = table.subjectCount();
    QString text =
        count == 1 ? QStringLiteral("1 soggetto") : QStringLiteral("%1 soggetti").arg(count);
    int failing = 0;
    int warned = 0;
    for (int row = 1; row <= count; ++row) {
        if (table.fault(row) != RowFault::None)
            ++failing;
        else if (!table.warnings(row).isEmpty())
            ++warned;
    }
    if (failing + warned > 0)
        text += QStringLiteral(", %1 con errori, %2 con avvisi").arg(failing).arg(warned);
    return text;
}

} // namespace velmora
