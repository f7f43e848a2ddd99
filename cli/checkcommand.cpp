#include "cli/command.h"
#include "cli/subjectfile.h"

namespace velmora::cli {

namespace {

constexpr std::string_view kName = "check";

} // namespace

int runCheck(const QStringList& arguments, Io& io) {
    QString error;
    const auto options =
        parseOptions(arguments, {QStringLiteral("--format")}, {QStringLiteral("--strict")}, error);
    if (!options)
        return usageError(io, kName, error);
    if (options->positional.size() != 1)
        return usageError(io, kName, QStringLiteral("serve un FILE da controllare"));
    const QString& file = options->positional.first();
    const auto kind = importKind(file, *options);
    if (!kind)
        return usageError(io, kName, QStringLiteral("--format vuole txt o csv"));

    SubjectTable table;
    if (!importInto(table, file, *kind, io))
        return kExitRefused;
    const RowVerdicts verdicts = printRowVerdicts(table, io.out);
    const bool strict = options->flags.contains(QStringLiteral("--strict"));
    return verdicts.failing == 0 && (!strict || verdicts.warnings == 0) ? kExitSuccess
                                                                        : kExitFailing;
}

} // namespace velmora::cli
