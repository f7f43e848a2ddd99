#include "core/pdf/pdfform.h"
#include "support/recorders.h"

#include <QBuffer>
#include <QDir>
#include <QTest>
#include <map>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFFormFieldObjectHelper.hh>

using namespace velmora;

static const BatchStamp kStamp{QStringLiteral("2010-03-15"), QStringLiteral("0932")};
static const QString kTemplate = QStringLiteral(VELMORA_FORM_TEMPLATE);

static FormFields formFields(int position, int subjects = 12, const QString& type = "COMUNE",
                             const QString& seat = "FORL\u00CC",
                             const QString& number = "PROT. 12\\A (bis)",
                             const QString& purpose = "CONCORSO") {
    Config config;
    config.officeType = type;
    config.officeSeat = seat;
    return pdfFormFields(config, {position, purpose, number, "01/02/2010", false}, subjects);
}

static QByteArray formData(const FormFields& fields) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const Status written = writeFormData(buffer, fields, "/uffici/ref/modello.pdf");
    return written ? buffer.data() : written.error().toUtf8();
}

// What a reader of the filled PDF finds: each field's value, under "ticked" the names of the
// boxes that show ticked, and under a text field's name and "#" the appearance drawn for it.
static std::map<QString, QString> readBack(const QByteArray& pdfBytes) {
    std::map<QString, QString> found;
    QPDF pdf;
    pdf.processMemoryFile("filled", pdfBytes.constData(), size_t(pdfBytes.size()));
    QPDFAcroFormDocumentHelper form(pdf);
    for (QPDFFormFieldObjectHelper& field : form.getFormFields()) {
        const QString name = QString::fromStdString(field.getFullyQualifiedName());
        found[name] = QString::fromStdString(field.isCheckbox() ? field.getValue().unparse()
                                                                : field.getValueAsString());
        for (QPDFAnnotationObjectHelper& widget : form.getAnnotationsForField(field)) {
            if (field.isCheckbox() && widget.getAppearanceState() != "/Off")
                found["ticked"] += name + u' ';
            if (field.isCheckbox())
                continue;
            const auto data = widget.getAppearanceStream("/N").getStreamData(qpdf_dl_generalized);
            found[name + "#"] = QString::fromLatin1(
                reinterpret_cast<const char*>(data->getBuffer()), qsizetype(data->getSize()));
        }
    }
    return found;
}

class TestPdfForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void formDataBytes() {
        const QByteArray head = "%FDF-1.2\n%\xE2\xE3\xCF\xD3\n1 0 obj\n<<\n/FDF <<\n/Fields [\n";
        const QByteArray tail = "]\n/F (/uffici/ref/modello.pdf)\n>>\n>>\nendobj\ntrailer\n<<\n"
                                "/Root 1 0 R\n>>\n%%EOF\n";
        // Backslash and parentheses escaped in literal strings; the box value is a name.
        QCOMPARE(formData(formFields(0, 3, "PROCURA DELLA REPUBBLICA", "ROMA", "12\\A (bis)",
                                     "LAVORO (art. 2)")),
                 head +
                     "<< /T (datiRichiedente) /V (PROCURA DELLA REPUBBLICA DI ROMA) >>\n"
                     "<< /T (numProtocollo) /V (12\\\\A \\(bis\\)) >>\n"
                     "<< /T (sedeDataProtocollo) /V (ROMA, 01/02/2010) >>\n"
                     "<< /T (numSoggetti) /V (3) >>\n"
                     "<< /T (finalitaRich) /V (LAVORO \\(art. 2\\)) >>\n"
                     "<< /T (BoxGenerale) /V /On >>\n" +
                     tail);
        // Accented values as UTF-16BE with a byte-order mark; no purpose for the electoral type.
        QCOMPARE(formData(formFields(4, 12, "COMUNE", "FORL\u00CC", "N\u00B0 7", "SPESE \u20AC")),
                 head +
                     "<< /T (datiRichiedente) /V "
                     "<FEFF0043004F004D0055004E004500200044004900200046004F0052004C00CC> >>\n"
                     "<< /T (numProtocollo) /V <FEFF004E00B000200037> >>\n"
                     "<< /T (sedeDataProtocollo) /V "
                     "<FEFF0046004F0052004C00CC002C002000300031002F00300032002F0032003000310030> "
                     ">>\n<< /T (numSoggetti) /V (12) >>\n<< /T (Box29) /V /On >>\n" +
                     tail);
        QCOMPARE(pdfFileSpecification("C:/Velmora/ref/modello.pdf"), "/C/Velmora/ref/modello.pdf");
    }

    void filledFormByCertificate_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("box");
        const QStringList boxes{"BoxGenerale", "BoxPenale", "BoxCivile", "Box39", "Box29"};
        for (int position = 0; position < boxes.size(); ++position)
            QTest::addRow("%s", qPrintable(boxes[position])) << position << boxes[position];
    }

    void filledFormByCertificate() {
        QFETCH(int, position);
        QFETCH(QString, box);
        const FormFields fields = formFields(position);
        const FilledForm filled = fillForm(kTemplate, fields);
        QVERIFY2(filled.ok(), qPrintable(filled.error()));
        const auto found = readBack(*filled);
        for (const FormField& field : fields)
            QCOMPARE(found.at(field.name), field.isName ? "/On" : field.value);
        QCOMPARE(found.at("ticked"), box + u' ');
        // Drawn for viewers that do not draw fields themselves, accented letter included.
        QVERIFY(found.at("sedeDataProtocollo#").contains("(FORL\\314, 01/02/2010) Tj"));
        // The electoral request leaves the purpose as the template has it: empty.
        QCOMPARE(found.at("finalitaRich").isEmpty(), position == 4);
    }

    void failuresLeaveNoFileThenBothFilesAreWritten() {
        test::ScratchFolder folder;
        const FormFields fields = formFields(1);
        const QDir dir(folder.path());
        const QString missing =
            writePdfForm(folder.path(), kStamp, fields, folder.path("none.pdf")).error();
        QVERIFY(missing.contains("none.pdf") && missing.contains("non \u00E8 stato trovato"));
        test::writeBytes(folder.path("damaged.pdf"), "%PDF-1.7\nnot a form\n");
        QVERIFY(writePdfForm(folder.path(), kStamp, fields, folder.path("damaged.pdf"))
                    .error()
                    .contains("non \u00E8 un modulo PDF valido"));
        // A letter the form's font cannot draw, a field the form does not have.
        QVERIFY(fillForm(kTemplate, formFields(1, 1, "\u0141ODZ")).error().contains("\u0141"));
        QVERIFY(fillForm(kTemplate, FormFields(fields) << FormField{"BoxAltro", "On", true})
                    .error()
                    .contains("BoxAltro"));
        QCOMPARE(dir.entryList(QDir::Files), QStringList{"damaged.pdf"});

        const PdfFormResult written = writePdfForm(folder.path(), kStamp, fields, kTemplate);
        QVERIFY2(written.ok(), qPrintable(written.error()));
        QCOMPARE(written->fdfPath, folder.path("Modulo_Velmora_2010-03-15,0932.fdf"));
        QCOMPARE(written->pdfPath, written->fdfPath.chopped(3) + "pdf");
        QVERIFY(test::readBytes(written->fdfPath)
                    .contains("/F (" + pdfFileSpecification(kTemplate).toUtf8() + ")"));
        // Same minute, same folder: the same names, and the second request is what they hold.
        QVERIFY(writePdfForm(folder.path(), kStamp, formFields(2, 5), kTemplate).ok());
        QCOMPARE(dir.entryList(QDir::Files).size(), 3);
        const auto found = readBack(test::readBytes(written->pdfPath));
        QCOMPARE(std::pair(found.at("numSoggetti"), found.at("ticked")),
                 (std::pair<QString, QString>("5", "BoxCivile ")));
    }
};

QTEST_GUILESS_MAIN(TestPdfForm)
#include "tst_pdfform.moc"
