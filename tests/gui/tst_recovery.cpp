#include "gui/recoverykeeper.h"
#include "gui/widgets/filteredit.h"
#include "support/fixture.h"
#include "support/places.h"

#include <QProcess>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

class TestRecoveryKeeper : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void crashedRunIsTakenBack();
};

// A run killed as a crash would leaves its request behind; the next run takes it back.
void TestRecoveryKeeper::crashedRunIsTakenBack() {
    ProgramFixture f(kCompleteConfig);
    writePlaceTables(f.folder);
    QProcess crashed;
    crashed.start(QStringLiteral(VELMORA_RECOVERY_CHILD), {f.folder.path()});
    QVERIFY(crashed.waitForReadyRead(20000));
    QCOMPARE(crashed.readAllStandardOutput().trimmed(), QByteArray("kept"));
    crashed.kill();
    QVERIFY(crashed.waitForFinished());

    f.messages.answers = {true};
    f.main.Form_Load();
    RecoveryKeeper keeper(f.program, f.main);
    f.main.Timer2.start(0); // the splash goes, the question comes
    QTRY_COMPARE(f.program.table.progressivo(), 2);
    QCOMPARE(f.messages.asked.size(), 1);
    QCOMPARE(f.program.table.values(1), romanSubject());
    QCOMPARE(f.program.table.values(2), parisianSubject());
    QCOMPARE(f.main.Text1->text(), QStringLiteral("PROT1"));
    QVERIFY(f.program.importoFile); // checked as imported rows before any output
}

QTEST_MAIN(TestRecoveryKeeper)
#include "tst_recovery.moc"
