#include "gui/recoverykeeper.h"
#include "gui/startup.h"
#include "gui/widgets/subjectgrid.h"
#include "support/fixture.h"
#include "support/places.h"
#include "support/windows.h"

#include <QLineEdit>
#include <QProcess>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

class TestRecoveryKeeper : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void crashedRunIsTakenBack();
};

// A run killed as a crash would leaves its request behind; the next run takes it back. While
// the first runs, a second program cannot take its folder; once it has gone, its lock is stale.
void TestRecoveryKeeper::crashedRunIsTakenBack() {
    ProgramFixture f(kCompleteConfig);
    writePlaceTables(f.folder);
    QProcess crashed;
    crashed.start(QStringLiteral(VELMORA_RECOVERY_CHILD), {f.folder.path()});
    QVERIFY(crashed.waitForReadyRead(20000));
    QCOMPARE(crashed.readAllStandardOutput().trimmed(), QByteArray("kept"));
    QLockFile lock(f.folder.path("velmora.lock"));
    const Status second = holdWorkFolder(lock, f.folder.path());
    QVERIFY(!second);
    QVERIFY2(second.error().contains(QStringLiteral("gi\u00E0 aperto nella cartella di lavoro %1 "
                                                    "(processo %2 sul computer ")
                                         .arg(f.folder.path())
                                         .arg(crashed.processId())),
             qPrintable(second.error()));
    crashed.kill();
    QVERIFY(crashed.waitForFinished());
    QVERIFY(holdWorkFolder(lock, f.folder.path()));

    f.messages.answers = {true};
    RecoveryKeeper keeper(f.program);
    keepRequestInProgress(f.main, keeper);
    f.main.start(); // the splash goes, the question comes
    QTRY_COMPARE_WITH_TIMEOUT(f.program.table.subjectCount(), 2, 10000);
    QCOMPARE(f.messages.asked.size(), 1);
    QCOMPARE(f.program.table.values(1), romanSubject());
    QCOMPARE(f.program.table.values(2), parisianSubject());
    QCOMPARE(control<QLineEdit>(f.main, "protocolNumberEdit")->text(), QStringLiteral("PROT1"));
    QCOMPARE(control<SubjectGrid>(f.main, "subjectGrid")->currentRow(), 2);
    QVERIFY(f.program.holdsImportedRows); // checked as imported rows before any output
}

QTEST_MAIN(TestRecoveryKeeper)
#include "tst_recoverykeeper.moc"
