#include "core/import/importfile.h"
#include "gui/desktop.h"
#include "gui/importafile.h"
#include "gui/widgets/folderchooser.h"
#include "gui/widgets/subjectgrid.h"
#include "support/fixture.h"
#include "support/places.h"

#include <QFileSystemModel>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

const QByteArray kRoman = "rossi,mario,H501,,05/01/1970,Z000,,M,RSSMRA70A05H501W\r\n";
const QByteArray kParisian = "dupont,marie,,parigi,1999-12-31,110,,F,,1234567\r\n";

QByteArray configWithImportFolder(const QString& folder) {
    return "UFFICIO\r\nROMA\r\nLAVORO\r\n 1\r\n\r\n" + folder.toUtf8() + "\r\n\r\n";
}

// What the operator picks in the file list.
void chooseFile(ImportaFile& window, const QString& path) {
    QVERIFY(window.folders->setFolder(QFileInfo(path).absolutePath()));
    auto* model = static_cast<QFileSystemModel*>(window.folders->File1->model());
    QTRY_VERIFY(model->index(path).isValid());
    window.folders->File1->setCurrentIndex(model->index(path));
    QCOMPARE(window.folders->selectedFile(), path);
}

} // namespace

class TestImportaFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensOnTheRememberedFolder_data();
    void opensOnTheRememberedFolder();
    void noFileChosenThenTypeListSetsThePattern();
    void importFromTheWindow_data();
    void importFromTheWindow();
};

void TestImportaFile::opensOnTheRememberedFolder_data() {
    QTest::addColumn<bool>("withConfig");
    QTest::addColumn<QString>("remembered"); // below the working folder
    QTest::addColumn<QString>("shown");      // "" for the working folder
    QTest::newRow("remembered folder") << true << "liste"
                                       << "liste";
    QTest::newRow("no config.ini, nothing remembered") << false << ""
                                                       << "";
    // The desktop, or the working folder where there is none, replaces a folder gone since;
    // only the folder gone is forgotten.
    QTest::newRow("remembered folder gone") << true << "sparita" << GetDesktopPath();
}

void TestImportaFile::opensOnTheRememberedFolder() {
    QFETCH(bool, withConfig);
    QFETCH(QString, remembered);
    QFETCH(QString, shown);
    ProgramFixture fixture;
    QDir(fixture.folder.path()).mkpath(QStringLiteral("liste"));
    const QString rememberedPath =
        remembered.isEmpty() ? remembered : fixture.folder.path(remembered);
    if (withConfig)
        fixture.writeFile(QStringLiteral("config.ini"), configWithImportFolder(rememberedPath));
    fixture.program.config.OfficeType = QStringLiteral("NON SALVATO");
    ImportaFile& window = fixture.program.importWindow();
    window.open();
    QString expected = shown.isEmpty() ? QDir::currentPath() : fixture.folder.path(shown);
    if (QDir::isAbsolutePath(shown))
        expected = shown;
    QCOMPARE(window.folders->folder(), QFileInfo(expected).absoluteFilePath());
    QCOMPARE(fixture.program.config.ImportFolder == rememberedPath, remembered != "sparita");
    QCOMPARE(fixture.program.config.OfficeType, QStringLiteral("NON SALVATO"));
    window.close();
}

void TestImportaFile::noFileChosenThenTypeListSetsThePattern() {
    ProgramFixture fixture(configWithImportFolder(QString()));
    fixture.writeFile(QStringLiteral("a.txt"), kRoman);
    fixture.program.principale().Command7->click();
    ImportaFile& window = fixture.program.importWindow();
    QVERIFY(window.isVisible());
    window.Command1->click();
    QCOMPARE(fixture.messages.texts(), QStringList{QStringLiteral("Selezionare un file")});
    QCOMPARE(fixture.messages.shown.first().icon, Messages::Icon::Exclamation);
    QVERIFY(window.isVisible());
    QCOMPARE(window.Combo1->currentIndex(), 0);
    chooseFile(window, fixture.folder.path(QStringLiteral("a.txt")));
    window.Combo1->setCurrentIndex(1);
    // The choice made under the old pattern is gone.
    QVERIFY(window.folders->selectedFile().isEmpty());
    auto* model = static_cast<QFileSystemModel*>(window.folders->File1->model());
    QCOMPARE(model->nameFilters(), QStringList{QStringLiteral("*.csv")});
    window.close();
}

void TestImportaFile::importFromTheWindow_data() {
    QTest::addColumn<int>("rowsBefore");
    QTest::addColumn<bool>("failing");
    QTest::newRow("appended after three rows") << 3 << false;
    QTest::newRow("line 2 bad: three rows kept") << 3 << true;
    QTest::newRow("line 2 bad: empty table laid out afresh") << 0 << true;
}

void TestImportaFile::importFromTheWindow() {
    QFETCH(int, rowsBefore);
    QFETCH(bool, failing);
    const QByteArray config = configWithImportFolder(QString());
    ProgramFixture fixture(config);
    writePlaceTables(fixture.folder);
    QDir(fixture.folder.path()).mkpath(QStringLiteral("liste"));
    // A .txt name holding delimited lines: the type chosen decides the reader.
    const QString file = fixture.folder.path(QStringLiteral("liste/soggetti.txt"));
    writeBytes(file, failing ? kRoman + "rossi,mario,H501,,5/1/1970,Z000,,M,\r\n" + kParisian
                             : kRoman + kParisian);
    Program& program = fixture.program;
    program.table.appendRows(QList<SubjectValues>(rowsBefore, parisianSubject()));
    if (rowsBefore > 0)
        program.table.setColors(2, {kLightRed, kBlack});
    program.importoFile = failing;
    program.config.OfficeType = QStringLiteral("NON SALVATO");

    ImportaFile& window = program.importWindow();
    window.open();
    const QString remembered = program.config.ImportFolder;
    window.Combo1->setCurrentIndex(1);
    window.folders->setFilePattern(QStringLiteral("*.txt"));
    chooseFile(window, file);
    window.Command1->click();
    QTRY_VERIFY(!window.isVisible());
    const int rows = failing ? rowsBefore : rowsBefore + 2;
    QCOMPARE(program.table.progressivo(), rows);
    QCOMPARE(program.principale().MSFlexGrid1->currentRow(), rows);
    for (int row = 1; row <= rowsBefore; ++row)
        QCOMPARE(program.table.values(row), parisianSubject());
    if (failing) {
        QCOMPARE(fixture.messages.texts(), QStringList{importDateMessage(2)});
        QCOMPARE(fixture.messages.shown.first().icon, Messages::Icon::Critical);
        if (rowsBefore > 0)
            QCOMPARE(program.table.colors(2).back, kLightRed);
        QCOMPARE(program.importoFile, rowsBefore > 0);
        QCOMPARE(program.config.ImportFolder, remembered);
        QCOMPARE(fixture.readFile(QStringLiteral("config.ini")), config);
        return;
    }
    QVERIFY(fixture.messages.shown.isEmpty());
    QCOMPARE(program.table.cell(4, NumberColumn), QStringLiteral("4"));
    QCOMPARE(program.table.cell(5, StateColumn), QStringLiteral("FRANCIA"));
    QCOMPARE(program.principale().MSFlexGrid1->currentColumn(), 1);
    QVERIFY(program.importoFile);
    const QString folder =
        QFileInfo(fixture.folder.path(QStringLiteral("liste"))).absoluteFilePath();
    QCOMPARE(program.config.ImportFolder, folder);
    QCOMPARE(fixture.readFile(QStringLiteral("config.ini")),
             "NON SALVATO\r\nROMA\r\nLAVORO\r\n 1\r\n\r\n" + folder.toUtf8() + "\r\n\r\n");
}

QTEST_MAIN(TestImportaFile)
#include "tst_importafile.moc"
