#include "core/import/importfile.h"
#include "gui/importafile.h"
#include "gui/widgets/folderchooser.h"
#include "gui/widgets/subjectgrid.h"
#include "support/fixture.h"
#include "support/places.h"
#include "support/windows.h"

#include <QFileSystemModel>

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
    // The working folder (there is no desktop) replaces a folder gone since; only the folder
    // gone is forgotten.
    QTest::newRow("remembered folder gone") << true << "sparita"
                                            << "";
}

void TestImportaFile::opensOnTheRememberedFolder() {
    QFETCH(bool, withConfig);
    QFETCH(QString, remembered);
    QFETCH(QString, shown);
    ProgramFixture f;
    QDir(f.folder.path()).mkpath(QStringLiteral("liste"));
    const QString rememberedPath = remembered.isEmpty() ? remembered : f.folder.path(remembered);
    if (withConfig)
        f.writeFile(QStringLiteral("config.ini"), configWithImportFolder(rememberedPath));
    f.program.config.OfficeType = QStringLiteral("NON SALVATO");
    ImportaFile& window = f.main.importWindow();
    window.open();
    const QString expected = shown.isEmpty() ? QDir::currentPath() : f.folder.path(shown);
    QCOMPARE(window.folders->folder(), QFileInfo(expected).absoluteFilePath());
    QCOMPARE(f.program.config.ImportFolder == rememberedPath, remembered != "sparita");
    QCOMPARE(f.program.config.OfficeType, QStringLiteral("NON SALVATO"));
}

void TestImportaFile::noFileChosenThenTypeListSetsThePattern() {
    ProgramFixture f(configWithImportFolder(QString()));
    f.writeFile(QStringLiteral("a.txt"), kRoman);
    QVERIFY(QDir(f.folder.path()).mkdir(QStringLiteral("cartella.txt")));
    f.main.Command7->click();
    ImportaFile* window = shownWindow<ImportaFile>();
    QVERIFY(window);
    window->Command1->click();
    QCOMPARE(f.messages.texts(), QStringList{kChooseAFile});
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Exclamation);
    QVERIFY(window->isVisible());
    // A folder is no file, whatever its name: the window stays on the same folder.
    auto* model = static_cast<QFileSystemModel*>(window->folders->File1->model());
    QTRY_VERIFY(model->index(f.folder.path(QStringLiteral("a.txt"))).isValid());
    QCOMPARE(model->rowCount(window->folders->File1->rootIndex()), 1);
    window->folders->File1->setCurrentIndex(model->index(f.folder.path("cartella.txt")));
    window->Command1->click();
    QCOMPARE(f.messages.texts(), QStringList(2, kChooseAFile));
    QVERIFY(window->isVisible());
    QCOMPARE(window->folders->folder(), f.folder.path());
    chooseFile(*window, f.folder.path(QStringLiteral("a.txt")));
    window->Combo1->setCurrentIndex(1);
    QVERIFY(window->folders->selectedFile().isEmpty()); // chosen under the old pattern
    QCOMPARE(model->nameFilters(), QStringList{QStringLiteral("*.csv")});
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
    ProgramFixture f(config);
    writePlaceTables(f.folder);
    QDir(f.folder.path()).mkpath(QStringLiteral("liste"));
    // A .txt name holding delimited lines: the type chosen decides the reader.
    const QString file = f.folder.path(QStringLiteral("liste/soggetti.txt"));
    writeBytes(file, failing ? kRoman + "rossi,mario,H501,,5/1/1970,Z000,,M,\r\n" + kParisian
                             : kRoman + kParisian);
    Program& program = f.program;
    program.table.appendRows(QList<SubjectValues>(rowsBefore, parisianSubject()));
    program.importoFile = failing;
    program.config.OfficeType = QStringLiteral("NON SALVATO");

    ImportaFile& window = f.main.importWindow();
    window.open();
    window.Combo1->setCurrentIndex(1);
    window.folders->setFilePattern(QStringLiteral("*.txt"));
    chooseFile(window, file);
    window.Command1->click();
    QTRY_VERIFY(!shownWindow<ImportaFile>());
    const int rows = failing ? rowsBefore : rowsBefore + 2;
    QCOMPARE(program.table.progressivo(), rows);
    QCOMPARE(f.main.MSFlexGrid1->currentRow(), rows);
    if (failing) {
        QVERIFY(f.messages.texts().value(0).startsWith(importDateMessage(2))); // and why
        QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Critical);
        QCOMPARE(program.importoFile, rowsBefore > 0);
        QCOMPARE(f.readFile(QStringLiteral("config.ini")), config);
        return;
    }
    QVERIFY(f.messages.shown.isEmpty());
    QCOMPARE(program.table.cell(5, StateColumn), QStringLiteral("FRANCIA"));
    QCOMPARE(f.main.MSFlexGrid1->currentColumn(), 1);
    QVERIFY(program.importoFile);
    const QString folder = QFileInfo(f.folder.path(QStringLiteral("liste"))).absoluteFilePath();
    QCOMPARE(f.readFile(QStringLiteral("config.ini")),
             "NON SALVATO\r\nROMA\r\nLAVORO\r\n 1\r\n\r\n" + folder.toUtf8() + "\r\n\r\n");
}

QTEST_MAIN(TestImportaFile)
#include "tst_importafile.moc"
