#include "core/pdf/pdfform.h"
#include "support/recorders.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTest>
#include <map>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFFormFieldObjectHelper.hh>

using namespace velmora;

namespace {

const BatchStamp kStamp{QStringLiteral("2010-03-15"), QStringLiteral("0932")};
const QString kTemplate = QStringLiteral(VELMORA_FORM_TEMPLATE);
const QString kFdfTemplate = QStringLiteral("/uffici/ref/modello.pdf");

FormFields formFields(const QString& type, const QString& seat, const QString& number,
                      const QString& purpose, int position, int subjects) {
    Config config;
    config.OfficeType = type;
    config.OfficeSeat = seat;
    RequestRecord r;
    r.protocolNumber = number;
    r.protocolDate = QStringLiteral("01/02/2010");
    r.purpose = purpose;
    return pdfFormFields(config, r, position, subjects);
}

FormFields romeFields(int position, const QString& number = QStringLiteral("1"), int count = 1) {
    return formFields(QStringLiteral("PREFETTURA"), QStringLiteral("ROMA"), number,
                      QStringLiteral("LAVORO"), position, count);
}

QByteArray formData(const FormFields& fields) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const QString error = writeFormData(buffer, fields, kFdfTemplate);
    return error.isEmpty() ? buffer.data() : error.toUtf8();
}

// What a reader of the filled PDF finds: each field's value, and which boxes show ticked.
struct ReadBack {
    std::map<QString, QString> values;
    QStringList ticked;
    std::map<QString, QByteArray> appearances; // normal appearance stream of each text field
};

ReadBack readBack(const QByteArray& pdfBytes) {
    ReadBack found;
    QPDF pdf;
    pdf.processMemoryFile("filled", pdfBytes.constData(), size_t(pdfBytes.size()));
    QPDFAcroFormDocumentHelper form(pdf);
    for (QPDFFormFieldObjectHelper& field : form.getFormFields()) {
        const QString name = QString::fromStdString(field.getFullyQualifiedName());
        for (QPDFAnnotationObjectHelper& widget : form.getAnnotationsForField(field)) {
            if (field.isCheckbox()) {
                if (widget.getAppearanceState() != "/Off")
                    found.ticked.append(name + QString::fromStdString(widget.getAppearanceState()));
                continue;
            }
            const std::shared_ptr<Buffer> data =
                widget.getAppearanceStream("/N").getStreamData(qpdf_dl_generalized);
            found.appearances[name] =
                QByteArray(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
        }
        found.values[name] = field.isCheckbox() ? QString::fromStdString(field.getValue().unparse())
                                                : QString::fromStdString(field.getValueAsString());
    }
    return found;
}

} // namespace

class TestPdfForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void formDataBytes();
    void filledFormByCertificate();

private:
    void filledForm(int position, const QString& box);

private Q_SLOTS:
    void failuresLeaveNoFileThenBothFilesAreWritten();
};

void TestPdfForm::formDataBytes() {
    const QByteArray head = "%FDF-1.2\n%\xE2\xE3\xCF\xD3\n1 0 obj\n<<\n/FDF <<\n/Fields [\n";
    const QByteArray tail = "]\n/F (/uffici/ref/modello.pdf)\n>>\n>>\nendobj\ntrailer\n<<\n"
                            "/Root 1 0 R\n>>\n%%EOF\n";
    // Backslash and parentheses escaped in literal strings; the box value is a name.
    QCOMPARE(formData(formFields(QStringLiteral("PROCURA DELLA REPUBBLICA"), QStringLiteral("ROMA"),
                                 QStringLiteral("12\\A (bis)"), QStringLiteral("LAVORO (art. 2)"),
                                 0, 3)),
             head +
                 "<< /T (datiRichiedente) /V (PROCURA DELLA REPUBBLICA DI ROMA) >>\n"
                 "<< /T (numProtocollo) /V (12\\\\A \\(bis\\)) >>\n"
                 "<< /T (sedeDataProtocollo) /V (ROMA, 01/02/2010) >>\n"
                 "<< /T (numSoggetti) /V (3) >>\n"
                 "<< /T (finalitaRich) /V (LAVORO \\(art. 2\\)) >>\n"
                 "<< /T (BoxGenerale) /V /On >>\n" +
                 tail);
    // Accented values as UTF-16BE with the byte-order mark; no purpose for the electoral type.
    QCOMPARE(
        formData(formFields(QStringLiteral("COMUNE"), QStringLiteral("FORL\u00CC"),
                            QStringLiteral("N\u00B0 7"), QStringLiteral("SPESE \u20AC 5"), 4, 12)),
        head +
            "<< /T (datiRichiedente) /V "
            "<FEFF0043004F004D0055004E004500200044004900200046004F0052004C00CC> >>\n"
            "<< /T (numProtocollo) /V <FEFF004E00B000200037> >>\n"
            "<< /T (sedeDataProtocollo) /V "
            "<FEFF0046004F0052004C00CC002C002000300031002F00300032002F0032003000310030> "
            ">>\n<< /T (numSoggetti) /V (12) >>\n<< /T (Box29) /V /On >>\n" +
            tail);
    // The template named as a PDF file path.
    QCOMPARE(pdfFileSpecification(QStringLiteral("C:/Velmora/ref/modello.pdf")),
             QStringLiteral("/C/Velmora/ref/modello.pdf"));
}

void TestPdfForm::filledFormByCertificate() {
    const QStringList boxes{"BoxGenerale", "BoxPenale", "BoxCivile", "Box39", "Box29"};
    for (int position = 0; position < boxes.size(); ++position)
        filledForm(position, boxes[position]);
}

void TestPdfForm::filledForm(int position, const QString& box) {
    const FormFields fields =
        formFields(QStringLiteral("COMUNE"), QStringLiteral("FORL\u00CC"),
                   QStringLiteral("PROT. 12\\A (bis)"), QStringLiteral("CONCORSO"), position, 12);
    const FilledForm filled = fillForm(kTemplate, fields);
    QVERIFY2(filled.ok(), qPrintable(filled.error));
    const ReadBack found = readBack(filled.pdf);
    for (const FormField& field : fields)
        QCOMPARE(found.values.at(field.name), field.isName ? QStringLiteral("/On") : field.value);
    QCOMPARE(found.ticked, QStringList{box + QStringLiteral("/On")});
    // Drawn for viewers that do not draw fields themselves, accented letter included.
    QVERIFY(found.appearances.at(QStringLiteral("sedeDataProtocollo"))
                .contains("(FORL\\314, 01/02/2010) Tj"));
    QVERIFY(found.appearances.at(QStringLiteral("numSoggetti")).contains("(12)"));
    // The electoral request leaves the purpose as the template has it: empty.
    QCOMPARE(found.values.at(QStringLiteral("finalitaRich")).isEmpty(), position == 4);
}

void TestPdfForm::failuresLeaveNoFileThenBothFilesAreWritten() {
    test::ScratchFolder folder;
    const FormFields fields = romeFields(1);
    QDir dir(folder.path());
    const QString missing =
        WritePdfFormData(folder.path(), kStamp, fields, folder.path(QStringLiteral("none.pdf")))
            .error;
    QVERIFY(missing.contains(QStringLiteral("none.pdf")));
    QVERIFY(missing.contains(QStringLiteral("non \u00E8 stato trovato")));
    QFile damaged(folder.path(QStringLiteral("damaged.pdf")));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("%PDF-1.7\nnot a form\n");
    damaged.close();
    QVERIFY(WritePdfFormData(folder.path(), kStamp, fields, damaged.fileName())
                .error.contains(QStringLiteral("non \u00E8 un modulo PDF valido")));
    QVERIFY(dir.remove(QStringLiteral("damaged.pdf")));
    FormFields polish = fields; // a letter the form's font cannot draw
    polish.first().value = QStringLiteral("\u0141ODZ");
    QVERIFY(fillForm(kTemplate, polish).error.contains(QStringLiteral("\u0141")));
    FormFields unknown = fields; // a field the form does not have
    unknown.append({QStringLiteral("BoxAltro"), QStringLiteral("On"), true});
    QVERIFY(fillForm(kTemplate, unknown).error.contains(QStringLiteral("BoxAltro")));
    QCOMPARE(dir.entryList(QDir::Files), QStringList());

    const PdfFormResult written = WritePdfFormData(folder.path(), kStamp, fields, kTemplate);
    QVERIFY2(written.ok(), qPrintable(written.error));
    QCOMPARE(written.fdfPath, folder.path(QStringLiteral("Modulo_Velmora_2010-03-15,0932.fdf")));
    QCOMPARE(written.pdfPath, folder.path(QStringLiteral("Modulo_Velmora_2010-03-15,0932.pdf")));
    QVERIFY(test::readBytes(written.fdfPath).contains("/F (" + kTemplate.toUtf8() + ")"));
    // Same minute, same folder: the same names, and the second request is what they hold.
    QVERIFY(WritePdfFormData(folder.path(), kStamp, romeFields(2, "2", 5), kTemplate).ok());
    QCOMPARE(dir.entryList(QDir::Files).size(), 2);
    const ReadBack found = readBack(test::readBytes(written.pdfPath));
    QCOMPARE(found.values.at(QStringLiteral("numSoggetti")), QStringLiteral("5"));
    QCOMPARE(found.ticked, QStringList{QStringLiteral("BoxCivile/On")});
}

QTEST_GUILESS_MAIN(TestPdfForm)
#include "tst_pdfform.moc"
