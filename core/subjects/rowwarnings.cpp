#include "core/subjects/rowwarnings.h"

#include "core/dates.h"
#include "core/request/requestcheck.h"
#include "core/subjects/personcode.h"

#include <QHash>
#include <algorithm>

namespace velmora {

QList<RowWarning> rowWarnings(const SubjectTable& table, const QList<RowCheck>& failing) {
    QList<RowWarning> warnings;
    auto nextFailing = failing.cbegin();
    // Keys are views: of the table's own codes, which are in capitals as the fields and the import
    // write them, or of texts kept here for the rest.
    QList<QString> keptKeys;
    QHash<QStringView, int> firstWithCode;
    QHash<QStringView, int> firstWithoutCode;
    firstWithCode.reserve(table.subjectCount());
    for (int row = 1; row <= table.subjectCount(); ++row) {
        const auto cell = [&](Column column) { return table.text(row, column); };
        const QStringView place = cell(MunicipalityCodeColumn).isEmpty()
                                      ? cell(StateCodeColumn)
                                      : cell(MunicipalityCodeColumn);
        // A row is known by its code in capitals, or without one by all that names the person.
        const QStringView code = cell(TaxCodeColumn);
        const bool coded = !code.isEmpty();
        QStringView key = code;
        if (!coded)
            key = keptKeys.emplace_back(QStringList{
                cell(SurnameColumn).toString(), cell(NameColumn).toString(),
                cell(SexColumn).toString(), cell(BirthDateColumn).toString(), place.toString()}
                                            .join(u'\t'));
        else if (std::any_of(code.cbegin(), code.cend(), [](QChar c) { return c.isLower(); }))
            key = keptKeys.emplace_back(code.toString().toUpper());
        QHash<QStringView, int>& first = coded ? firstWithCode : firstWithoutCode;
        // The first row of each, passing or not.
        const int earlier = first.value(key);
        if (earlier == 0)
            first.insert(key, row);
        if (nextFailing != failing.cend() && nextFailing->row == row) {
            ++nextFailing;
            continue;
        }
        if (coded) {
            const QStringList parts = taxCodeDifferences(
                cell(TaxCodeColumn), cell(SurnameColumn), cell(NameColumn), cell(SexColumn),
                parseDate(cell(BirthDateColumn)).value_or(QDate()), place);
            if (!parts.isEmpty())
                warnings.append({row, RowWarning::Kind::CodeMismatch, parts, 0});
        }
        if (earlier != 0)
            warnings.append({row,
                             coded ? RowWarning::Kind::SameTaxCode : RowWarning::Kind::SamePerson,
                             {},
                             earlier});
    }
    return warnings;
}

QString rowWarningText(const RowWarning& warning) {
    switch (warning.kind) {
    case RowWarning::Kind::CodeMismatch:
        return QStringLiteral("avviso: il codice fiscale non corrisponde ai dati anagrafici (") +
               warning.parts.join(QStringLiteral(", ")) + u')';
    case RowWarning::Kind::SameTaxCode:
        return QStringLiteral("avviso: stesso codice fiscale della riga ") +
               QString::number(warning.earlierRow);
    case RowWarning::Kind::SamePerson:
        return QStringLiteral("avviso: stessi dati anagrafici della riga ") +
               QString::number(warning.earlierRow);
    }
    return {};
}

QList<RowWarning> markWarnedRows(SubjectTable& table, const QDateTime& now) {
    const QList<RowWarning> warnings = rowWarnings(table, failingRowChecks(table, now));
    auto warning = warnings.cbegin();
    for (int row = 1; row <= table.subjectCount(); ++row) {
        QStringList lines;
        for (; warning != warnings.cend() && warning->row == row; ++warning)
            lines << rowWarningText(*warning);
        table.setWarnings(row, lines.join(u'\n'));
    }
    return warnings;
}

QString rowWarningLines(const QList<RowWarning>& warnings) {
    QStringList lines;
    lines.reserve(warnings.size());
    for (const RowWarning& warning : warnings)
        lines << QStringLiteral("Riga %1: %2").arg(warning.row).arg(rowWarningText(warning));
    return lines.join(QStringLiteral("\r\n"));
}

QString warnedRowsQuestion(int rows) {
    const QString subjects =
        rows == 1 ? QStringLiteral("1 soggetto ha") : QStringLiteral("%1 soggetti hanno").arg(rows);
    return subjects + QStringLiteral(" un avviso (vedere i dettagli). Creare comunque i file?");
}

} // namespace velmora
