#include "core/recovery.h"
#include "gui/avvisotabella.h"
#include "gui/esportasoggetti.h"
#include "gui/recoverykeeper.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/folderchooser.h"
#include "support/fixture.h"
#include "support/places.h"

#include <QProcess>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

// A program with its recovery keeper, in a folder that holds the place tables.
struct Kept : ProgramFixture {
    Kept() : ProgramFixture(kCompleteConfig) { writePlaceTables(folder); }
    void start() {
        main.Form_Load();
        keeper.emplace(program, main);
    }
    QByteArray kept() const { return readFile(QStringLiteral("richiesta-in-corso.txt")); }
    QStringList olderCopies() const {
        return QDir(folder.path()).entryList({QStringLiteral("richiesta-in-corso-*.txt")});
    }

    std::optional<RecoveryKeeper> keeper;
};

} // namespace

class TestRecoveryKeeper : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyChangeIsKept();
    void crashedRunIsTakenBack();
    void refusedOrDamagedFileIsPutAside_data();
    void refusedOrDamagedFileIsPutAside();
    void exportWritesWhatTheImportReads();
};

void TestRecoveryKeeper::everyChangeIsKept() {
    Kept f;
    f.start();
    f.keeper->offer();
    QVERIFY(f.messages.asked.isEmpty()); // nothing to take back

    // A word typed is one write, after the last key.
    QTest::keyClicks(f.main.Text1, QStringLiteral("AB12"));
    QVERIFY(f.kept().isEmpty());
    QTRY_VERIFY(f.kept().contains("NUMERO PROTOCOLLO=AB12\r\n"));

    SubjectTable& table = f.program.table;
    table.appendRows({romanSubject(), romanSubject()});
    table.setValues(1, parisianSubject());
    QTRY_VERIFY(f.kept().contains("SOGGETTI=2\r\nDUPONT,"));
    f.main.Check1->setChecked(true);
    QTRY_VERIFY(f.kept().contains("LINGUA TEDESCA=SI"));
    f.main.Command6_Click();
    QTest::mouseClick(f.main.clearTableWindow().Command1, Qt::LeftButton);
    QTRY_VERIFY(f.kept().contains("SOGGETTI=0\r\n"));

    // Nothing left but the fields a new request starts with: nothing to take back.
    f.main.Text1->clear();
    f.main.Check1->setChecked(false);
    QTRY_VERIFY(!QFile::exists(f.folder.path(QStringLiteral("richiesta-in-corso.txt"))));
}

void TestRecoveryKeeper::crashedRunIsTakenBack() {
    Kept f;
    QProcess crashed;
    crashed.start(QStringLiteral(VELMORA_RECOVERY_CHILD), {f.folder.path()});
    QVERIFY(crashed.waitForReadyRead(20000));
    QCOMPARE(crashed.readAllStandardOutput().trimmed(), QByteArray("kept"));
    crashed.kill();
    QVERIFY(crashed.waitForFinished());

    f.messages.answers = {true};
    f.start();
    f.main.Timer2.start(0); // the splash goes, the question comes
    QTRY_COMPARE(f.program.table.progressivo(), 2);
    QCOMPARE(f.messages.asked.size(), 1);
    QVERIFY(f.messages.asked[0].text.contains(u"(2 soggetti, ultima modifica il "));
    QCOMPARE(f.messages.askedDefaultNo, QList<bool>{false});
    QCOMPARE(f.program.table.values(1), romanSubject());
    QCOMPARE(f.program.table.values(2), parisianSubject());
    QCOMPARE(f.program.table.cell(2, NumberColumn), QStringLiteral("2"));
    QCOMPARE(f.main.Text1->text(), QStringLiteral("PROT1"));
    QCOMPARE(f.main.Combo1->currentIndex(), 2);
    QVERIFY(f.program.importoFile); // checked as imported rows before any output
}

void TestRecoveryKeeper::refusedOrDamagedFileIsPutAside_data() {
    QTest::addColumn<bool>("damaged");
    QTest::newRow("answer No") << false;
    QTest::newRow("damaged") << true;
}

// Either way the file is kept aside under another name and the run keeps its own request.
void TestRecoveryKeeper::refusedOrDamagedFileIsPutAside() {
    QFETCH(bool, damaged);
    Kept f;
    const QByteArray unfinished =
        damaged ? QByteArray("rotto\r\n")
                : *recoveryBytes({2, QStringLiteral("LAVORO"), QStringLiteral("9"), {}, false},
                                 SubjectTable(), f.clock.now());
    f.writeFile(QStringLiteral("richiesta-in-corso.txt"), unfinished);
    f.start();
    f.keeper->offer(); // no answer scripted: No
    QCOMPARE(f.messages.asked.size(), damaged ? 0 : 1);
    QCOMPARE(f.messages.shown.size(), damaged ? 1 : 0);
    QCOMPARE(f.main.Text1->text(), QString());
    const QStringList copies = f.olderCopies();
    QCOMPARE(copies.size(), 1);
    QCOMPARE(f.readFile(copies[0]), unfinished);
    f.program.table.appendRow(romanSubject());
    QTRY_VERIFY(f.kept().contains("SOGGETTI=1\r\n"));
}

void TestRecoveryKeeper::exportWritesWhatTheImportReads() {
    Kept f;
    f.start();
    f.program.table.appendRows({romanSubject(), parisianSubject()});
    f.main.esportaSoggetti->trigger();
    auto* window = f.main.findChild<EsportaSoggetti*>();
    QVERIFY(window && window->isVisible());
    QVERIFY(window->folders->setFolder(f.folder.path()));
    window->Text1->setText(QStringLiteral("lista.csv"));
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    QCOMPARE(f.readFile(QStringLiteral("lista.csv")), *delimitedSubjectBytes(f.program.table));
    QCOMPARE(f.messages.shown.last().icon, Messages::Icon::Information);
}

QTEST_MAIN(TestRecoveryKeeper)
#include "tst_recovery.moc"
