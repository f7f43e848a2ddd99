#include "cli/command.h"
#include "cli/requestoptions.h"
#include "core/officedata.h"
#include "core/output/batch.h"
#include "core/paths.h"
#include "core/pdf/pdfform.h"
#include "core/request/requestcheck.h"

#include <QDateTime>
#include <QDir>

namespace velmora::cli {

namespace {

constexpr std::string_view kName = "pdf";

} // namespace

int runPdf(const QStringList& arguments, Io& io) {
    QString error;
    auto options = parseOptions(arguments,
                                {QStringLiteral("--type"), QStringLiteral("--purpose"),
                                 QStringLiteral("--protocol"), QStringLiteral("--date"),
                                 QStringLiteral("--subjects"), QStringLiteral("--dest"),
                                 QStringLiteral("--office-type"), QStringLiteral("--office-seat")},
                                {}, error);
    if (!options)
        return usageError(io, kName, error);
    if (const Status typed = typeFieldOptions(*options); !typed)
        return usageError(io, kName, typed.error());
    if (!options->positional.isEmpty())
        return usageError(io, kName,
                          QStringLiteral("argomento inatteso: ") + options->positional.first());
    const auto position = certPosition(*options);
    if (!position)
        return usageError(io, kName,
                          QStringLiteral("--type vuole un numero ") + certPositionRange());
    bool number = false;
    const int subjects = options->values.value(QStringLiteral("--subjects")).toInt(&number);
    if (!number || subjects < 0 || subjects > SubjectTable::kMaxRows)
        return usageError(io, kName, QStringLiteral("--subjects vuole il numero dei soggetti"));
    const QString folder = destination(*options);
    if (folder.isEmpty())
        return usageError(io, kName, QStringLiteral("serve --dest CARTELLA"));

    Request request;
    request.certificateType = *position;
    request.purpose = options->values.value(QStringLiteral("--purpose"));
    request.protocolNumber = options->values.value(QStringLiteral("--protocol"));
    request.protocolDate = options->values.value(QStringLiteral("--date"));
    if (const Status checked = checkForPdf(request, subjects); !checked) {
        io.err << terminalText(checked.error()) << '\n';
        return kExitFailing;
    }

    // The form names the requesting office: the data the program does not start without.
    const Config office = officeConfig(*options, io);
    if (const auto missing =
            missingOfficeData({office.officeType, office.officeSeat, request.purpose})) {
        io.err << terminalText(missing->message) << '\n';
        return kExitFailing;
    }

    const FormFields form = pdfFormFields(office, request, subjects);
    const PdfFormResult written = writePdfForm(folder, batchStamp(QDateTime::currentDateTime()),
                                               form, io.folders.dataFile(kFormTemplate));
    if (!written.ok()) {
        io.err << terminalText(written.error()) << '\n';
        return kExitFailing;
    }
    io.out << QDir::toNativeSeparators(written->fdfPath).toStdString() << '\n'
           << QDir::toNativeSeparators(written->pdfPath).toStdString() << '\n';
    return flushed(io) ? kExitSuccess : kExitNotPrinted;
}

} // namespace velmora::cli
