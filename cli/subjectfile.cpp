#include "cli/subjectfile.h"

#include "core/paths.h"
#include "core/request/requestcheck.h"

#include <QFileInfo>

namespace velmora::cli {

std::optional<Options> parseOptions(const QStringList& arguments, const QStringList& valued,
                                    const QStringList& flags, QString& error) {
    Options options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith(u"--") || argument == u"--") {
            options.positional.append(argument);
        } else if (flags.contains(argument)) {
            options.flags.insert(argument);
        } else if (!valued.contains(argument)) {
            error = QStringLiteral("opzione sconosciuta: ") + argument;
            return std::nullopt;
        } else if (i + 1 == arguments.size()) {
            error = QStringLiteral("manca il valore di ") + argument;
            return std::nullopt;
        } else {
            options.values.insert(argument, arguments[++i]);
        }
    }
    return options;
}

std::optional<ImportKind> importKind(const QString& file, const Options& options) {
    const auto format = options.values.constFind(QStringLiteral("--format"));
    if (format == options.values.constEnd())
        return QFileInfo(file).suffix().compare(u"csv", Qt::CaseInsensitive) == 0
                   ? ImportKind::Delimited
                   : ImportKind::FixedWidth;
    if (*format == u"txt")
        return ImportKind::FixedWidth;
    if (*format == u"csv")
        return ImportKind::Delimited;
    return std::nullopt;
}

bool importInto(SubjectTable& table, const QString& file, ImportKind kind, Io& io) {
    ReferenceTable municipalities(kMunicipalityTable.toString());
    ReferenceTable states(kStateTable.toString());
    ImportResult result =
        importSubjectFile(file, kind, table.progressivo(), municipalities, states);
    if (!result.ok()) {
        io.err << terminalText(result.error()) << '\n';
        return false;
    }
    table.appendRows(std::move(*result));
    return true;
}

qsizetype printFailingRows(const SubjectTable& table, std::ostream& out) {
    qsizetype failing = 0;
    for (int row = 1; row <= table.progressivo(); ++row) {
        const RowFault fault = checkPersonRow(table, row);
        if (fault == RowFault::None)
            continue;
        ++failing;
        out << row << ": " << rowFaultText(fault).toStdString() << '\n';
    }
    return failing;
}

std::string terminalText(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toStdString();
}

} // namespace velmora::cli
