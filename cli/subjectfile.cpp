#include "cli/subjectfile.h"

#include "core/files/filewriter.h"
#include "core/paths.h"
#include "core/request/requestcheck.h"
#include "core/subjects/rowwarnings.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <cerrno>

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

namespace {

// The place table can serve the import; a failure names it.
Status usableTable(ReferenceTable& table, const QString& path) {
    const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    const int error = pathError(path);
    if (error == ENOENT)
        return Failure{QStringLiteral("Manca la tabella dei luoghi %1").arg(shown)};
    if (error != 0)
        return Failure{QStringLiteral("La tabella dei luoghi %1 non pu\u00F2 essere letta: %2")
                           .arg(shown, systemReason(error))};
    if (const Status read = table.refresh(); !read)
        return read;
    if (table.names().isEmpty())
        return Failure{QStringLiteral("La tabella dei luoghi %1 \u00E8 vuota").arg(shown)};
    return {};
}

} // namespace

bool importInto(SubjectTable& table, const QString& file, ImportKind kind, Io& io) {
    const QString municipalityPath = io.folders.dataFile(kMunicipalityTable);
    const QString statePath = io.folders.dataFile(kStateTable);
    ReferenceTable municipalities(municipalityPath);
    ReferenceTable states(statePath);
    Status usable = usableTable(municipalities, municipalityPath);
    if (usable)
        usable = usableTable(states, statePath);
    if (!usable) {
        io.err << usable.error().toStdString() << '\n';
        return false;
    }
    ImportResult result =
        importSubjectFile(file, kind, table.subjectCount(), municipalities, states);
    if (!result.ok()) {
        io.err << terminalText(result.error()) << '\n';
        // More than one line failed: each of them, with why.
        if (result.detail().contains(u'\n'))
            io.err << terminalText(result.detail()) << '\n';
        return false;
    }
    if (result->isEmpty()) {
        io.err << kNoSubjectsInFile.toStdString() << '\n';
        return false;
    }
    table.appendRows(std::move(*result));
    return true;
}

RowVerdicts printRowVerdicts(const SubjectTable& table, std::ostream& out) {
    const QList<RowCheck> failing = failingRowChecks(table, QDateTime::currentDateTime());
    const QList<RowWarning> warnings = rowWarnings(table, failing);
    // A row fails or is warned of, never both: the two lists merge in row order.
    auto fault = failing.cbegin();
    auto warning = warnings.cbegin();
    while (fault != failing.cend() || warning != warnings.cend()) {
        if (warning == warnings.cend() || (fault != failing.cend() && fault->row < warning->row)) {
            out << fault->row << ": "
                << rowFaultText(fault->fault, table.subject(fault->row)).toStdString() << '\n';
            ++fault;
        } else {
            out << warning->row << ": " << rowWarningText(*warning).toStdString() << '\n';
            ++warning;
        }
    }
    return {failing.size(), warnings.size()};
}

std::string terminalText(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toStdString();
}

} // namespace velmora::cli
