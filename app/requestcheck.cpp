#include "app/requestcheck.h"

#include "checks/dates.h"

namespace velmora {
namespace {

const QString kNoOfficeType = QStringLiteral("Inserire il Tipo Ufficio");
const QString kNoSubjects = QStringLiteral("Inserire almeno un soggetto");
const QString kErrorsHeading = QStringLiteral("ATT! Sono stati riscontrati i seguenti errori:");
const QString kIncompletePdf =
    QStringLiteral("Completare correttamente tutti i campi della richiesta");
const QString kRowErrorsHeading =
    QStringLiteral("Sono stati riscontrati errori sui seguenti soggetti: ");
constexpr qsizetype kProtocolWidth = 30;

} // namespace

RequestVerdict checkForBatch(const RequestFields& fields, const QDateTime& now) {
    RequestVerdict verdict;
    if (fields.officeType.isEmpty()) {
        verdict.refusal = kNoOfficeType;
        verdict.focus = RequestVerdict::Focus::OfficeType;
        return verdict;
    }
    RequestRecord& record = verdict.record;
    record.purpose = fields.purpose;
    record.german = fields.german ? QStringLiteral("Si") : QStringLiteral("No");
    record.protocolNumber = fields.protocolNumber;
    record.protocolDate = fields.protocolDate;

    QStringList lines;
    if (fields.certPosition < 0)
        lines << QStringLiteral("- Tipo certificato non immesso");
    if (fields.purpose.isEmpty())
        lines << QStringLiteral("- Finalit\u00E0 non immessa");
    if (fields.protocolNumber.isEmpty() || fields.protocolNumber.size() > kProtocolWidth)
        lines << QStringLiteral("- Numero protocollo non immesso o non valido");
    else
        record.protocolNumber = fields.protocolNumber.leftJustified(kProtocolWidth);
    if (dateFails(fields.protocolDate, now))
        lines << QStringLiteral("- Data protocollo non immessa o non valida");
    if (!lines.isEmpty()) {
        verdict.refusal = kErrorsHeading + QStringLiteral("\r\n");
        for (const QString& line : lines)
            verdict.refusal += QStringLiteral("\r\n") + line;
        return verdict;
    }
    if (fields.subjects == 0)
        verdict.refusal = kNoSubjects;
    return verdict;
}

RequestVerdict checkForPdf(const RequestFields& fields, const QString& certTypeDescription) {
    RequestVerdict verdict;
    verdict.record.purpose = fields.purpose;
    verdict.record.protocolNumber = fields.protocolNumber;
    verdict.record.protocolDate = fields.protocolDate;
    if (fields.purpose.isEmpty() || certTypeDescription.isEmpty() ||
        fields.protocolNumber.isEmpty() || !parseDate(fields.protocolDate))
        verdict.refusal = kIncompletePdf;
    else if (fields.subjects == 0)
        verdict.refusal = kNoSubjects;
    return verdict;
}

QString rowErrorsMessage(const QList<int>& failingRows) {
    QStringList numbers;
    numbers.reserve(failingRows.size());
    for (const int row : failingRows)
        numbers << QString::number(row);
    return kRowErrorsHeading + numbers.join(QStringLiteral(" , "));
}

} // namespace velmora
