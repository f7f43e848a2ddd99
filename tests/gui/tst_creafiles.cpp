#include "gui/creafiles.h"
#include "gui/desktop.h"
#include "gui/principale.h"
#include "gui/widgets/folderchooser.h"
#include "support/fixture.h"
#include "support/places.h"

#include <QDir>
#include <QTest>

using namespace velmora;

namespace {

const QByteArray kConfig = "UFFICIO\r\nROMA\r\nLAVORO\r\n2\r\n";
const QString kStamp = QStringLiteral("Velmora_2010-03-15,0932");

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
    test::ProgramFixture f;
    const QString out = f.folder.path(QStringLiteral("out"));
    QDir(f.folder.path()).mkdir(QStringLiteral("out"));
    const QByteArray config = kConfig + out.toUtf8() + "\r\n/import\r\n/pdf\r\n";
    f.writeFile(QStringLiteral("config.ini"), config);
    f.program.readConfig();
    f.program.table.appendRow(test::romanSubject());
    for (const QString& name : {kStamp, kStamp + QStringLiteral("(2)")}) {
        CreaFiles& window = f.program.outputWindow();
        window.open(false);
        QCOMPARE(window.folders->folder(), out);
        QTest::mouseClick(window.Command1, Qt::LeftButton);
        const QString batch = out + u'/' + name;
        QVERIFY(QFile::exists(batch + QStringLiteral("/Nominativi_") + kStamp + ".txt"));
        QCOMPARE(f.messages.shown.last().icon, Messages::Icon::Information);
        QCOMPARE(f.messages.shown.last().text,
                 QStringLiteral("I file sono stati creati correttamente all' interno di \r\n") +
                     QDir::toNativeSeparators(batch));
        QVERIFY(!window.isVisible());
        // The other windows' folders are written back as they were.
        QCOMPARE(f.readFile(QStringLiteral("config.ini")), config);
    }
    QCOMPARE(f.messages.shown.size(), 2);
}

void TestCreaFiles::goneFolderFallsBackAndCancelRemembersNothing() {
    test::ProgramFixture f(kConfig + "/no/such/folder\r\n");
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
    test::ProgramFixture f(kConfig);
    f.program.table.appendRow(test::romanSubject());
    const QString out = f.folder.path(QStringLiteral("out"));
    QVERIFY(QDir(f.folder.path()).mkdir(QStringLiteral("out")));
    CreaFiles& window = f.program.outputWindow();
    window.open(false);
    window.folders->setFolder(out);
    QVERIFY(QDir(out).removeRecursively()); // gone meanwhile
    window.Command1_Click();
    QCOMPARE(f.messages.shown.size(), 1);
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Critical);
    QVERIFY(
        f.messages.shown.first().text.startsWith(QStringLiteral("Impossibile creare la cartella")));
    QVERIFY(window.isVisible());
    QVERIFY(!QFileInfo::exists(out));
    QCOMPARE(f.program.config.OutputFolder, QString());
    QCOMPARE(f.readFile(QStringLiteral("config.ini")), kConfig);
    window.close();
}

void TestCreaFiles::unsavedOfficeTypeSurvivesTheReload() {
    test::ProgramFixture f(kConfig);
    f.program.readConfig();
    f.program.config.OfficeType = QStringLiteral("PREFETTURA");
    for (const bool pdf : {false, true}) {
        f.program.outputWindow().open(pdf);
        QCOMPARE(f.program.config.OfficeType, QStringLiteral("PREFETTURA"));
        f.program.outputWindow().close();
    }
}

void TestCreaFiles::pdfFormNeedsItsTemplateThenIsWrittenAndOpened() {
    test::ProgramFixture f("PROCURA\r\nROMA\r\nLAVORO\r\n 0\r\n");
    Principale& main = f.program.principale();
    main.Form_Load();
    f.program.request.protocolNumber = QStringLiteral("123");
    f.program.request.protocolDate = QStringLiteral("01/02/2010");
    f.program.request.purpose = QStringLiteral("LAVORO");
    f.program.table.appendRow(test::romanSubject());
    f.shell.result = false; // no viewer: the operator is told where the form is
    const QString fdf = f.folder.path(QStringLiteral("Modulo_") + kStamp + ".fdf");
    const QString pdf = f.folder.path(QStringLiteral("Modulo_") + kStamp + ".pdf");

    CreaFiles& window = f.program.outputWindow();
    window.open(true);
    QCOMPARE(window.Label1->text(),
             QStringLiteral("Scegliere la directory di destinazione per il modulo PDF :"));
    window.folders->setFolder(f.folder.path());
    window.Command1_Click(); // no template yet
    QCOMPARE(f.messages.shown.size(), 1);
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Critical);
    QVERIFY(f.shell.opened.isEmpty());
    QVERIFY(!QFile::exists(fdf));
    QCOMPARE(f.program.config.PdfFolder, QString());

    QDir(f.folder.path()).mkpath(QStringLiteral("ref"));
    QVERIFY(QFile::copy(QStringLiteral(VELMORA_FORM_TEMPLATE), f.folder.path("ref/modello.pdf")));
    window.Command1_Click();
    QVERIFY(QFile::exists(fdf));
    QCOMPARE(f.shell.opened, QStringList{pdf});
    QCOMPARE(f.messages.shown.size(), 2);
    QCOMPARE(f.messages.shown.last().icon, Messages::Icon::Information);
    QVERIFY(f.messages.shown.last().text.contains(QDir::toNativeSeparators(pdf)));
    QCOMPARE(f.program.config.PdfFolder, f.folder.path());
    QVERIFY(f.readFile(QStringLiteral("config.ini")).endsWith(f.folder.path().toUtf8() + "\r\n"));
    main.close();
}

QTEST_MAIN(TestCreaFiles)
#include "tst_creafiles.moc"
