#include "output/pdfform.h"
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

Config office(const QString& type, const QString& seat) {
    Config config;
    config.OfficeType = type;
    config.OfficeSeat = seat;
    return config;
}

RequestRecord request(const QString& number, const QString& purpose) {
    RequestRecord r;
    r.protocolNumber = number;
    r.protocolDate = QStringLiteral("01/02/2010");
    r.purpose = purpose;
    return r;
}

QByteArray formData(const FormFields& fields, const QString& templatePath) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const QString error = writeFormData(buffer, fields, templatePath);
    return error.isEmpty() ? buffer.data() : error.toUtf8();
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
    void checkBoxAndPurposeByCertificate_data();
    void checkBoxAndPurposeByCertificate();
    void formDataBytes();
    void templateReferenceAsFileSpecification();
    void filledFormShowsEveryValue();
    void writesBothFilesAndOverwritesInTheSameMinute();
    void failureLeavesNoFile();
};

void TestPdfForm::checkBoxAndPurposeByCertificate_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("purpose");
    QTest::newRow("general") << 0 << "BoxGenerale" << true;
    QTest::newRow("criminal") << 1 << "BoxPenale" << true;
    QTest::newRow("civil") << 2 << "BoxCivile" << true;
    QTest::newRow("art. 39") << 3 << "Box39" << true;
    QTest::newRow("electoral") << 4 << "Box29" << false;
}

void TestPdfForm::checkBoxAndPurposeByCertificate() {
    QFETCH(int, position);
    QFETCH(QString, box);
    QFETCH(bool, purpose);
    const FormFields fields =
        pdfFormFields(office(QStringLiteral("PROCURA DELLA REPUBBLICA"), QStringLiteral("ROMA")),
                      request(QStringLiteral("123"), QStringLiteral("LAVORO")), position, 12);
    FormFields expected = {
        {QStringLiteral("datiRichiedente"), QStringLiteral("PROCURA DELLA REPUBBLICA DI ROMA")},
        {QStringLiteral("numProtocollo"), QStringLiteral("123")},
        {QStringLiteral("sedeDataProtocollo"), QStringLiteral("ROMA, 01/02/2010")},
        {QStringLiteral("numSoggetti"), QStringLiteral("12")},
    };
    if (purpose)
        expected.append({QStringLiteral("finalitaRich"), QStringLiteral("LAVORO")});
    expected.append({box, QStringLiteral("On"), true});
    QCOMPARE(fields, expected);
}

void TestPdfForm::formDataBytes() {
    const QByteArray head = "%FDF-1.2\n%\xE2\xE3\xCF\xD3\n1 0 obj\n<<\n/FDF <<\n/Fields [\n";
    const QByteArray tail = "\n>>\n>>\nendobj\ntrailer\n<<\n/Root 1 0 R\n>>\n%%EOF\n";

    // Backslash and parentheses escaped in literal strings; the box value is a name.
    const FormFields general = pdfFormFields(
        office(QStringLiteral("PROCURA DELLA REPUBBLICA"), QStringLiteral("ROMA")),
        request(QStringLiteral("12\\A (bis)"), QStringLiteral("LAVORO (art. 2)")), 0, 3);
    QCOMPARE(formData(general, QStringLiteral("/uffici/ref/modello.pdf")),
             head +
                 "<< /T (datiRichiedente) /V (PROCURA DELLA REPUBBLICA DI ROMA) >>\n"
                 "<< /T (numProtocollo) /V (12\\\\A \\(bis\\)) >>\n"
                 "<< /T (sedeDataProtocollo) /V (ROMA, 01/02/2010) >>\n"
                 "<< /T (numSoggetti) /V (3) >>\n"
                 "<< /T (finalitaRich) /V (LAVORO \\(art. 2\\)) >>\n"
                 "<< /T (BoxGenerale) /V /On >>\n"
                 "]\n/F (/uffici/ref/modello.pdf)" +
                 tail);

    // Accented values as UTF-16BE with the byte-order mark; no purpose for the electoral type.
    const FormFields electoral = pdfFormFields(
        office(QStringLiteral("COMUNE"), QStringLiteral("FORL\u00CC")),
        request(QStringLiteral("N\u00B0 7"), QStringLiteral("SPESE \u20AC 5")), 4, 12);
    QCOMPARE(formData(electoral, QStringLiteral("/uffici/ref/modello.pdf")),
             head +
                 "<< /T (datiRichiedente) /V "
                 "<FEFF0043004F004D0055004E004500200044004900200046004F0052004C00CC> >>\n"
                 "<< /T (numProtocollo) /V <FEFF004E00B000200037> >>\n"
                 "<< /T (sedeDataProtocollo) /V "
                 "<FEFF0046004F0052004C00CC002C002000300031002F00300032002F0032003000310030> >>\n"
                 "<< /T (numSoggetti) /V (12) >>\n"
                 "<< /T (Box29) /V /On >>\n"
                 "]\n/F (/uffici/ref/modello.pdf)" +
                 tail);
}

void TestPdfForm::templateReferenceAsFileSpecification() {
    QCOMPARE(pdfFileSpecification(QStringLiteral("/home/ufficio/ref/modello.pdf")),
             QStringLiteral("/home/ufficio/ref/modello.pdf"));
    QCOMPARE(pdfFileSpecification(QStringLiteral("C:/Velmora/ref/modello.pdf")),
             QStringLiteral("/C/Velmora/ref/modello.pdf"));
}

void TestPdfForm::filledFormShowsEveryValue() {
    for (int position : {0, 4}) {
        const FormFields fields = pdfFormFields(
            office(QStringLiteral("COMUNE"), QStringLiteral("FORL\u00CC")),
            request(QStringLiteral("PROT. 12\\A (bis)"), QStringLiteral("CONCORSO PUBBLICO")),
            position, 12);
        const FilledForm filled = fillForm(kTemplate, fields);
        QVERIFY2(filled.ok(), qPrintable(filled.error));
        const ReadBack found = readBack(filled.pdf);

        for (const FormField& field : fields) {
            if (field.isName)
                QCOMPARE(found.values.at(field.name), QStringLiteral("/On"));
            else
                QCOMPARE(found.values.at(field.name), field.value);
        }
        QCOMPARE(found.ticked, QStringList{fields.last().name + QStringLiteral("/On")});
        // Drawn for viewers that do not draw fields themselves, accented letter included.
        QVERIFY(found.appearances.at(QStringLiteral("sedeDataProtocollo"))
                    .contains("(FORL\\314, 01/02/2010) Tj"));
        QVERIFY(found.appearances.at(QStringLiteral("numSoggetti")).contains("(12)"));
        // The electoral request leaves the purpose as the template has it: empty.
        QCOMPARE(found.values.at(QStringLiteral("finalitaRich")).isEmpty(), position == 4);
    }
}

void TestPdfForm::writesBothFilesAndOverwritesInTheSameMinute() {
    test::ScratchFolder folder;
    const Config config = office(QStringLiteral("PREFETTURA"), QStringLiteral("ROMA"));
    const FormFields first =
        pdfFormFields(config, request(QStringLiteral("1"), QStringLiteral("LAVORO")), 1, 1);
    const PdfFormResult written = WritePdfFormData(folder.path(), kStamp, first, kTemplate);
    QVERIFY2(written.ok(), qPrintable(written.error));
    QCOMPARE(written.fdfPath, folder.path(QStringLiteral("Modulo_Velmora_2010-03-15,0932.fdf")));
    QCOMPARE(written.pdfPath, folder.path(QStringLiteral("Modulo_Velmora_2010-03-15,0932.pdf")));
    QVERIFY(readAll(written.fdfPath).contains("/F (" + kTemplate.toUtf8() + ")"));

    // Same minute, same folder: the same names, and the second request is what they hold.
    const FormFields second =
        pdfFormFields(config, request(QStringLiteral("2"), QStringLiteral("LAVORO")), 2, 5);
    QVERIFY(WritePdfFormData(folder.path(), kStamp, second, kTemplate).ok());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 2);
    QVERIFY(readAll(written.fdfPath).contains("<< /T (numProtocollo) /V (2) >>"));
    const ReadBack found = readBack(readAll(written.pdfPath));
    QCOMPARE(found.values.at(QStringLiteral("numSoggetti")), QStringLiteral("5"));
    QCOMPARE(found.ticked, QStringList{QStringLiteral("BoxCivile/On")});
}

void TestPdfForm::failureLeavesNoFile() {
    test::ScratchFolder folder;
    const FormFields fields =
        pdfFormFields(office(QStringLiteral("PREFETTURA"), QStringLiteral("ROMA")),
                      request(QStringLiteral("1"), QStringLiteral("LAVORO")), 0, 1);
    QDir dir(folder.path());

    const PdfFormResult missing =
        WritePdfFormData(folder.path(), kStamp, fields, folder.path(QStringLiteral("none.pdf")));
    QVERIFY(missing.error.contains(QStringLiteral("none.pdf")));
    QVERIFY(missing.error.contains(QStringLiteral("non \u00E8 stato trovato")));

    QFile damaged(folder.path(QStringLiteral("damaged.pdf")));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("%PDF-1.7\nnot a form\n");
    damaged.close();
    const PdfFormResult unreadable =
        WritePdfFormData(folder.path(), kStamp, fields, damaged.fileName());
    QVERIFY(unreadable.error.contains(QStringLiteral("non \u00E8 un modulo PDF valido")));
    QVERIFY(dir.remove(QStringLiteral("damaged.pdf")));

    // A letter the form's font cannot draw.
    FormFields polish = fields;
    polish.first().value = QStringLiteral("\u0141ODZ");
    QVERIFY(fillForm(kTemplate, polish).error.contains(QStringLiteral("\u0141")));

    // A form without the field the request sets.
    FormFields unknown = fields;
    unknown.append({QStringLiteral("BoxAltro"), QStringLiteral("On"), true});
    QVERIFY(fillForm(kTemplate, unknown).error.contains(QStringLiteral("BoxAltro")));

    const PdfFormResult noFolder =
        WritePdfFormData(folder.path(QStringLiteral("gone")), kStamp, fields, kTemplate);
    QVERIFY(noFolder.error.startsWith(QStringLiteral("Impossibile scrivere il file")));

    // The PDF cannot take its name: the form-data file written just before goes too.
    QVERIFY(dir.mkdir(QStringLiteral("Modulo_Velmora_2010-03-15,0932.pdf")));
    const PdfFormResult blocked = WritePdfFormData(folder.path(), kStamp, fields, kTemplate);
    QVERIFY(blocked.error.contains(QStringLiteral("Modulo_Velmora_2010-03-15,0932.pdf")));
    QCOMPARE(dir.entryList(QDir::Files), QStringList());
}

QTEST_GUILESS_MAIN(TestPdfForm)
#include "tst_pdfform.moc"
