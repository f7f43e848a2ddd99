#include "core/request/request.h"
#include "gui/creafiles.h"
#include "gui/widgets/folderchooser.h"
#include "support/fixture.h"
#include "support/places.h"

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

} // namespace

class TestCreaFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void batchesAreWrittenNumberedAndFolderRemembered();
    void goneFolderFallsBackAndCancelRemembersNothing();
    void failedBatchIsReportedAndNothingRemembered();
    void unsavedOfficeTypeSurvivesTheReload();
    void pdfFormNeedsItsTemplateThenIsWrittenAndOpened();
};

void TestCreaFiles::batchesAreWrittenNumberedAndFolderRemembered() {
    Output f;
    const QByteArray config = kConfig + f.out.toUtf8() + "\r\n/import\r\n/pdf\r\n";
    f.writeFile(QStringLiteral("config.ini"), config);
    for (const QString& name : {kStamp, kStamp + QStringLiteral("(2)")}) {
        CreaFiles& window = f.open(false);
        QCOMPARE(window.folders->folder(), f.out);
        QTest::mouseClick(window.Command1, Qt::LeftButton);
        const QString batch = f.out + u'/' + name;
        QVERIFY(QFile::exists(batch + QStringLiteral("/Nominativi_") + kStamp + ".txt"));
        QCOMPARE(f.messages.shown.last().text, kCreated.arg(QDir::toNativeSeparators(batch)));
        QCOMPARE(f.messages.shown.last().icon, Messages::Icon::Information);
        QVERIFY(!window.isVisible());
        // The other windows' folders are written back as they were.
        QCOMPARE(f.readFile(QStringLiteral("config.ini")), config);
    }
}

void TestCreaFiles::goneFolderFallsBackAndCancelRemembersNothing() {
    Output f(kConfig + "/no/such/folder\r\n");
    CreaFiles& window = f.open(false);
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

void TestCreaFiles::unsavedOfficeTypeSurvivesTheReload() {
    Output f;
    f.program.config.OfficeType = QStringLiteral("PREFETTURA");
    for (const bool pdf : {false, true}) {
        f.open(pdf).close();
        QCOMPARE(f.program.config.OfficeType, QStringLiteral("PREFETTURA"));
    }
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
