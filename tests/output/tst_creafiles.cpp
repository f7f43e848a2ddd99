#include "app/principale.h"
#include "checks/desktop.h"
#include "output/creafiles.h"
#include "platform/folderchooser.h"
#include "support/fixture.h"

#include <QDir>
#include <QTest>

using namespace velmora;

namespace {

SubjectValues subject() {
    SubjectValues v;
    v[SurnameColumn] = QStringLiteral("ROSSI");
    v[NameColumn] = QStringLiteral("MARIO");
    v[SexColumn] = QStringLiteral("M");
    v[BirthDateColumn] = QStringLiteral("05/01/1970");
    v[MunicipalityCodeColumn] = QStringLiteral("H501");
    v[StateCodeColumn] = QStringLiteral("Z000");
    return v;
}

const QString kBatchName = QStringLiteral("Velmora_2010-03-15,0932");

} // namespace

class TestCreaFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void batchIsWrittenAndFolderRemembered();
    void twoBatchesInTheSameMinuteAreNumbered();
    void goneFolderFallsBackAndCancelRemembersNothing();
    void failedBatchIsReportedAndNothingRemembered();
    void unsavedOfficeTypeSurvivesTheReload();
    void pdfFormIsWrittenAndOpened();
    void pdfFormWithoutTemplateIsRefused();
};

void TestCreaFiles::batchIsWrittenAndFolderRemembered() {
    test::ProgramFixture f("UFFICIO\r\nROMA\r\nLAVORO\r\n2\r\n\r\n/import\r\n/pdf\r\n");
    QDir(f.folder.path()).mkdir(QStringLiteral("out"));
    f.program.config.OutputFolder = f.folder.path(QStringLiteral("out"));
    f.writeFile(QStringLiteral("config.ini"), QByteArray("UFFICIO\r\nROMA\r\nLAVORO\r\n2\r\n") +
                                                  f.folder.path(QStringLiteral("out")).toUtf8() +
                                                  "\r\n/import\r\n/pdf\r\n");
    f.program.table.appendRow(subject());
    CreaFiles& window = f.program.outputWindow();
    window.open(false);
    QCOMPARE(window.windowTitle(), QStringLiteral(" Directory di destinazione"));
    QCOMPARE(window.Label1->text(),
             QStringLiteral("Scegliere la directory di destinazione per i file :"));
    QCOMPARE(window.folders->folder(), f.folder.path(QStringLiteral("out")));

    QTest::mouseClick(window.Command1, Qt::LeftButton);
    const QString batch = f.folder.path(QStringLiteral("out/") + kBatchName);
    QVERIFY(QFile::exists(batch + QStringLiteral("/Nominativi_Velmora_2010-03-15,0932.txt")));
    QVERIFY(QFile::exists(batch + QStringLiteral("/Richiesta_Velmora_2010-03-15,0932.txt")));
    QCOMPARE(f.messages.shown.size(), 1);
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Information);
    QCOMPARE(f.messages.shown.first().text,
             QStringLiteral("I file sono stati creati correttamente all' interno di \r\n") +
                 QDir::toNativeSeparators(batch));
    QVERIFY(!window.isVisible());
    // The other windows' folders are written back as they were.
    QCOMPARE(f.readFile(QStringLiteral("config.ini")),
             QByteArray("UFFICIO\r\nROMA\r\nLAVORO\r\n2\r\n") +
                 f.folder.path(QStringLiteral("out")).toUtf8() + "\r\n/import\r\n/pdf\r\n");
}

void TestCreaFiles::twoBatchesInTheSameMinuteAreNumbered() {
    test::ProgramFixture f("UFFICIO\r\nROMA\r\nLAVORO\r\n2\r\n");
    f.program.table.appendRow(subject());
    f.program.readConfig();
    for (int batch = 0; batch < 2; ++batch) {
        CreaFiles& window = f.program.outputWindow();
        window.open(false);
        window.folders->setFolder(f.folder.path());
        window.Command1_Click();
    }
    QCOMPARE(f.messages.shown.size(), 2);
    QVERIFY(f.messages.shown.last().text.endsWith(kBatchName + QStringLiteral("(2)")));
    QCOMPARE(f.program.BatchCounter, 2);
}

void TestCreaFiles::goneFolderFallsBackAndCancelRemembersNothing() {
    test::ProgramFixture f("UFFICIO\r\nROMA\r\nLAVORO\r\n2\r\n/no/such/folder\r\n");
    f.program.readConfig();
    CreaFiles& window = f.program.outputWindow();
    window.open(false);
    // No desktop folder in the scratch environment: the working folder is offered.
    QCOMPARE(window.folders->folder(), QDir::currentPath());
    QCOMPARE(f.program.config.OutputFolder, GetDesktopPath());
    QTest::mouseClick(window.Command2, Qt::LeftButton);
    QVERIFY(f.readFile(QStringLiteral("config.ini")).contains("/no/such/folder"));
}

void TestCreaFiles::failedBatchIsReportedAndNothingRemembered() {
    test::ProgramFixture f("UFFICIO\r\nROMA\r\nLAVORO\r\n2\r\n");
    f.program.table.appendRow(subject());
    QVERIFY(QDir(f.folder.path()).mkdir(QStringLiteral("out")));
    CreaFiles& window = f.program.outputWindow();
    window.open(false);
    window.folders->setFolder(f.folder.path(QStringLiteral("out")));
    QVERIFY(QDir(f.folder.path(QStringLiteral("out"))).removeRecursively()); // gone meanwhile
    window.Command1_Click();
    QCOMPARE(f.messages.shown.size(), 1);
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Critical);
    QVERIFY(
        f.messages.shown.first().text.startsWith(QStringLiteral("Impossibile creare la cartella")));
    QVERIFY(window.isVisible());
    QCOMPARE(f.program.config.OutputFolder, QString());
    QCOMPARE(f.readFile(QStringLiteral("config.ini")),
             QByteArray("UFFICIO\r\nROMA\r\nLAVORO\r\n2\r\n"));
    window.close();
}

void TestCreaFiles::unsavedOfficeTypeSurvivesTheReload() {
    test::ProgramFixture f("UFFICIO\r\nROMA\r\nLAVORO\r\n2\r\n");
    f.program.readConfig();
    f.program.config.OfficeType = QStringLiteral("PREFETTURA");
    for (const bool pdf : {false, true}) {
        f.program.outputWindow().open(pdf);
        QCOMPARE(f.program.config.OfficeType, QStringLiteral("PREFETTURA"));
        f.program.outputWindow().close();
    }
}

void TestCreaFiles::pdfFormIsWrittenAndOpened() {
    test::ProgramFixture f("PROCURA\r\nROMA\r\nLAVORO\r\n 0\r\n");
    QDir(f.folder.path()).mkpath(QStringLiteral("ref"));
    QVERIFY(QFile::copy(QStringLiteral(VELMORA_FORM_TEMPLATE), f.folder.path("ref/modello.pdf")));
    Principale& main = f.program.principale();
    main.Form_Load();
    f.program.request.protocolNumber = QStringLiteral("123");
    f.program.request.protocolDate = QStringLiteral("01/02/2010");
    f.program.request.purpose = QStringLiteral("LAVORO");
    f.program.table.appendRow(subject());
    f.shell.result = false; // no viewer: the operator is told where the form is

    CreaFiles& window = f.program.outputWindow();
    window.open(true);
    QCOMPARE(window.Label1->text(),
             QStringLiteral("Scegliere la directory di destinazione per il modulo PDF :"));
    window.folders->setFolder(f.folder.path());
    window.Command1_Click();
    const QString pdf = f.folder.path(QStringLiteral("Modulo_Velmora_2010-03-15,0932.pdf"));
    QVERIFY(QFile::exists(f.folder.path(QStringLiteral("Modulo_Velmora_2010-03-15,0932.fdf"))));
    QCOMPARE(f.shell.opened, QStringList{pdf});
    QCOMPARE(f.messages.shown.size(), 1);
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Information);
    QVERIFY(f.messages.shown.first().text.contains(QDir::toNativeSeparators(pdf)));
    QCOMPARE(f.program.config.PdfFolder, f.folder.path());
    QVERIFY(f.readFile(QStringLiteral("config.ini")).endsWith(f.folder.path().toUtf8() + "\r\n"));
    main.close();
}

void TestCreaFiles::pdfFormWithoutTemplateIsRefused() {
    test::ProgramFixture f("PROCURA\r\nROMA\r\nLAVORO\r\n 0\r\n");
    Principale& main = f.program.principale();
    main.Form_Load();
    f.program.table.appendRow(subject());
    CreaFiles& window = f.program.outputWindow();
    window.open(true);
    window.folders->setFolder(f.folder.path());
    window.Command1_Click();
    QCOMPARE(f.messages.shown.size(), 1);
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Critical);
    QVERIFY(f.shell.opened.isEmpty());
    QVERIFY(!QFile::exists(f.folder.path(QStringLiteral("Modulo_Velmora_2010-03-15,0932.fdf"))));
    QCOMPARE(f.program.config.PdfFolder, QString());
    main.close();
}

QTEST_MAIN(TestCreaFiles)
#include "tst_creafiles.moc"
