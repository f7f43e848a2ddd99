#include "core/request/request.h"
#include "core/request/requestcheck.h"
#include "gui/attesa.h"
#include "gui/creafiles.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/folderchooser.h"
#include "gui/widgets/maskeddateedit.h"
#include "gui/widgets/subjectgrid.h"
#include "support/fixture.h"
#include "support/places.h"
#include "support/windows.h"

using namespace velmora;

namespace {

const QByteArray kConfig = "UFFICIO\r\nROMA\r\nLAVORO\r\n2\r\n";
const QString kStamp = QStringLiteral("Velmora_2010-03-15,0932");

// A program with one subject, its output folder `out` in the working folder.
struct Output : test::ProgramFixture {
    explicit Output(const QByteArray& config = kConfig) : test::ProgramFixture(config) {
        QDir(folder.path()).mkdir(QStringLiteral("out"));
        program.readConfig();
        program.table.appendRow(test::romanSubject());
    }
    CreaFiles& open(bool pdf) {
        main.outputWindow().open(pdf);
        return main.outputWindow();
    }
    const QString out = folder.path(QStringLiteral("out"));
};

const QByteArray kRequestConfig = "UFFICIO\r\nROMA\r\nLAVORO\r\n 0\r\n\r\n\r\n\r\n";

// A started program whose request passes: type 0, purpose, protocol and today's date.
struct Request : test::Started {
    Request() : test::Started(kRequestConfig) {
        main.Text1->setText(QStringLiteral("123"));
        main.MaskEdBox1->setText(QStringLiteral("15/03/2010"));
    }
    RequestFields fields() const {
        return {
            QStringLiteral("UFFICIO"),    0,     QStringLiteral("LAVORO"),   QStringLiteral("123"),
            QStringLiteral("15/03/2010"), false, program.table.progressivo()};
    }
    bool outputOpen() { return test::shownWindow<CreaFiles>(); }
};

} // namespace

// "Crea File" and "Apri Modulo PDF" in the main window, then the output window. The checks and
// their messages are proven by the core tests; here only their wiring.
class TestCreaFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void refusedRequestIsToldAndStored();
    void importedRowsAreCheckedAfterTheWaitWindow();
    void pdfCommandChecksLess();
    void batchIsWrittenAndFolderRemembered();
    void goneFolderFallsBackAndCancelRemembersNothing();
    void failedBatchIsReportedAndNothingRemembered();
    void pdfFormNeedsItsTemplateThenIsWrittenAndOpened();
};

// The office type is refused on its own, with the exclamation icon; the rest with the critical.
void TestCreaFiles::refusedRequestIsToldAndStored() {
    Request f;
    f.main.Text2->clear();
    f.main.Command1->click();
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Exclamation);
    f.main.Text2->setText(QStringLiteral("UFFICIO"));
    f.main.Command1->click();
    const RequestVerdict verdict = checkForBatch(f.fields(), f.clock.now());
    QCOMPARE(f.messages.shown.last().text, verdict.refusal);
    QCOMPARE(f.messages.shown.last().icon, Messages::Icon::Critical);
    QCOMPARE(f.program.request.protocolNumber, verdict.record.protocolNumber);
    QCOMPARE(f.readFile(QStringLiteral("config.ini")), kRequestConfig);
    QVERIFY(!f.outputOpen());
}

void TestCreaFiles::importedRowsAreCheckedAfterTheWaitWindow() {
    Request f;
    QList<SubjectValues> rows(8, test::romanSubject());
    rows[2][StateCodeColumn].clear();
    rows[6][TaxCodeColumn] = QStringLiteral("RSSMRA70A05F205F");
    f.program.table.appendRows(rows);
    f.program.importoFile = true;
    f.main.Command1->click();
    QVERIFY(test::shownWindow<attesa>());
    QVERIFY(!f.outputOpen());
    QTRY_VERIFY(!f.main.Timer1.isActive());
    QVERIFY(!test::shownWindow<attesa>());
    QCOMPARE(f.messages.texts(), QStringList{rowErrorsMessage({3, 7})});
    QCOMPARE(f.program.table.colors(3).back, kLightRed);

    // Corrected, the rows pass; the marks of the earlier check stay.
    f.program.table.setValues(3, test::romanSubject());
    f.program.table.setValues(7, test::romanSubject());
    f.main.Command1->click();
    f.main.Timer1_Timer();
    QCOMPARE(f.messages.shown.size(), 1);
    QVERIFY(f.outputOpen());
    QCOMPARE(f.program.table.colors(3).back, kLightRed);
}

void TestCreaFiles::pdfCommandChecksLess() {
    Request f;
    f.program.table.appendRow(test::romanSubject());
    f.main.Text2->clear();
    f.main.MaskEdBox1->setText(QStringLiteral("01/01/2030"));
    f.main.Command8->click();
    QVERIFY(f.messages.shown.isEmpty());
    QVERIFY(f.outputOpen() && f.main.outputWindow().CreaPdf);
    QCOMPARE(f.program.request.protocolNumber, QStringLiteral("123"));

    f.main.MaskEdBox1->setText(QStringLiteral("31/04/2010"));
    f.main.Command8->click();
    QVERIFY(!f.outputOpen());
    RequestFields fields = f.fields();
    fields.protocolDate = QStringLiteral("31/04/2010");
    QCOMPARE(f.messages.texts(), QStringList{checkForPdf(fields, kCertificateTypes[0]).refusal});
}

void TestCreaFiles::batchIsWrittenAndFolderRemembered() {
    Output f;
    const QByteArray config = kConfig + f.out.toUtf8() + "\r\n/import\r\n/pdf\r\n";
    f.writeFile(QStringLiteral("config.ini"), config);
    CreaFiles& window = f.open(false);
    QCOMPARE(window.folders->folder(), f.out);
    QTest::mouseClick(window.Command1, Qt::LeftButton);
    QVERIFY(
        QFile::exists(f.out + u'/' + kStamp + QStringLiteral("/Nominativi_") + kStamp + ".txt"));
    QCOMPARE(f.messages.shown.last().icon, Messages::Icon::Information);
    // The other windows' folders are written back as they were.
    QCOMPARE(f.readFile(QStringLiteral("config.ini")), config);
}

void TestCreaFiles::goneFolderFallsBackAndCancelRemembersNothing() {
    Output f(kConfig + "/no/such/folder\r\n");
    f.program.config.OfficeType = QStringLiteral("NON SALVATO"); // kept by the reload
    CreaFiles& window = f.open(false);
    QCOMPARE(f.program.config.OfficeType, QStringLiteral("NON SALVATO"));
    // No desktop folder in the test's home: the working folder is offered.
    QCOMPARE(window.folders->folder(), QDir::currentPath());
    QTest::mouseClick(window.Command2, Qt::LeftButton);
    QVERIFY(f.readFile(QStringLiteral("config.ini")).contains("/no/such/folder"));

    QVERIFY(QDir(f.folder.home()).mkdir(QStringLiteral("Desktop")));
    QCOMPARE(f.open(false).folders->folder(), f.folder.home(QStringLiteral("Desktop")));
}

void TestCreaFiles::failedBatchIsReportedAndNothingRemembered() {
    Output f;
    CreaFiles& window = f.open(false);
    window.folders->setFolder(f.out);
    QVERIFY(QDir(f.out).removeRecursively()); // gone meanwhile
    window.Command1_Click();
    QCOMPARE(f.messages.shown.size(), 1);
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Critical);
    QVERIFY(window.isVisible());
    QVERIFY(!QFileInfo::exists(f.out));
    QCOMPARE(f.program.config.OutputFolder, QString());
    QCOMPARE(f.readFile(QStringLiteral("config.ini")), kConfig);
}

// The certificate type comes from the request, whatever the main window's list shows now.
void TestCreaFiles::pdfFormNeedsItsTemplateThenIsWrittenAndOpened() {
    Output f;
    f.program.request = {kCertificateTypes.at(4), QStringLiteral("LAVORO"), QStringLiteral("123"),
                         QStringLiteral("01/02/2010"), QString()};
    f.shell.result = false; // no viewer: the operator is told where the form is
    const QString fdf = f.out + QStringLiteral("/Modulo_") + kStamp + ".fdf";
    const QString pdf = f.out + QStringLiteral("/Modulo_") + kStamp + ".pdf";
    CreaFiles& window = f.open(true);
    window.folders->setFolder(f.out);
    window.Command1_Click(); // no template yet
    QCOMPARE(f.messages.shown.size(), 1);
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Critical);
    QVERIFY(f.shell.opened.isEmpty() && !QFile::exists(fdf));
    QCOMPARE(f.program.config.PdfFolder, QString());

    QDir(f.folder.path()).mkpath(QStringLiteral("ref"));
    QVERIFY(QFile::copy(QStringLiteral(VELMORA_FORM_TEMPLATE), f.folder.path("ref/modello.pdf")));
    window.Command1_Click();
    QFile data(fdf);
    QVERIFY(data.open(QIODevice::ReadOnly));
    QVERIFY(data.readAll().contains("/T (Box29) /V /On"));
    QCOMPARE(f.shell.opened, QStringList{pdf});
    QCOMPARE(f.messages.shown.size(), 2);
    QVERIFY(f.messages.shown.last().text.contains(QDir::toNativeSeparators(pdf)));
    QCOMPARE(f.program.config.PdfFolder, f.out);
    QVERIFY(f.readFile(QStringLiteral("config.ini")).endsWith(f.out.toUtf8() + "\r\n"));
}

QTEST_MAIN(TestCreaFiles)
#include "tst_creafiles.moc"
