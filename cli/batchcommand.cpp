#include "cli/command.h"
#include "cli/requestoptions.h"
#include "cli/subjectfile.h"
#include "core/config.h"
#include "core/officedata.h"
#include "core/output/batch.h"
#include "core/request/requestcheck.h"

#include <QDateTime>
#include <QDir>

namespace velmora::cli {

namespace {

constexpr std::string_view kName = "batch";

} // namespace

int runBatch(const QStringList& arguments, Io& io) {
    QString error;
    auto options = parseOptions(arguments,
                                {QStringLiteral("--format"), QStringLiteral("--type"),
                                 QStringLiteral("--purpose"), QStringLiteral("--protocol"),
                                 QStringLiteral("--date"), QStringLiteral("--dest"),
                                 QStringLiteral("--office-type"), QStringLiteral("--office-seat")},
                                {QStringLiteral("--german"), QStringLiteral("--strict")}, error);
    if (!options)
        return usageError(io, kName, error);
    if (const Status typed = typeFieldOptions(*options); !typed)
        return usageError(io, kName, typed.error());
    if (options->positional.size() != 1)
        return usageError(io, kName, QStringLiteral("serve un FILE di soggetti"));
    const QString& file = options->positional.first();
    const auto kind = importKind(file, *options);
    if (!kind)
        return usageError(io, kName, QStringLiteral("--format vuole txt o csv"));
    const auto position = certPosition(*options);
    if (!position)
        return usageError(io, kName,
                          QStringLiteral("--type vuole un numero ") + certPositionRange());
    const QString folder = destination(*options);
    if (folder.isEmpty())
        return usageError(io, kName, QStringLiteral("serve --dest CARTELLA"));
    const Config office = officeConfig(*options, io);

    // The rows first, as the operator imports before "Crea File" counts them.
    SubjectTable table;
    if (!importInto(table, file, *kind, io))
        return kExitRefused;

    const QDateTime now = QDateTime::currentDateTime();
    Request request;
    request.certificateType = *position;
    request.purpose = options->values.value(QStringLiteral("--purpose"));
    request.protocolNumber = options->values.value(QStringLiteral("--protocol"));
    request.protocolDate = options->values.value(QStringLiteral("--date"));
    request.german = options->flags.contains(QStringLiteral("--german"));
    Status checked = checkOfficeType(office.officeType);
    if (checked)
        checked = checkForBatch(request, table.subjectCount(), now);
    if (!checked) {
        io.err << terminalText(checked.error()) << '\n';
        return kExitFailing;
    }
    // The office data the program does not start without.
    if (const auto missing =
            missingOfficeData({office.officeType, office.officeSeat, request.purpose})) {
        io.err << terminalText(missing->message) << '\n';
        return kExitFailing;
    }
    // Warnings go with the batch, unless --strict makes them refuse it.
    const RowVerdicts verdicts = printRowVerdicts(table, io.err);
    if (verdicts.failing > 0 ||
        (verdicts.warnings > 0 && options->flags.contains(QStringLiteral("--strict"))))
        return kExitFailing;

    int counter = 0;
    const Result<QString> batch = writeBatch(folder, batchStamp(now), request, table, counter);
    if (!batch) {
        io.err << terminalText(batch.error()) << '\n';
        return kExitFailing;
    }
    io.out << QDir::toNativeSeparators(*batch).toStdString() << '\n';
    return flushed(io) ? kExitSuccess : kExitNotPrinted;
}

} // namespace velmora::cli
