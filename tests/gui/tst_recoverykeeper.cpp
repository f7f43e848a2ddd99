#include "gui/recoverykeeper.h"
#include "gui/startup.h"
#include "gui/widgets/subjectgrid.h"
#include "support/fixture.h"
#include "support/places.h"
#include "support/windows.h"

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

class TestRecoveryKeeper : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void crashedRunIsTakenBack();
    void writesStayInTheWorkingFolder();
    void goodFileWaitsForThePlaceTables();
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
    QCOMPARE(f.program.table.values(2), parisianWithSeparators());
    QCOMPARE(control<QLineEdit>(f.main, "protocolNumberEdit")->text(), QStringLiteral("PROT1"));
    QCOMPARE(control<SubjectGrid>(f.main, "subjectGrid")->currentRow(), 2);
    QVERIFY(f.program.holdsImportedRows); // checked as imported rows before any output
}

// The working folder removed under the program: the write fails naming it and lands nowhere
// else; the status line says the work is not protected until a retry succeeds, with one message.
void TestRecoveryKeeper::writesStayInTheWorkingFolder() {
    ProgramFixture f(kCompleteConfig);
    RecoveryKeeper keeper(f.program);
    keepRequestInProgress(f.main, keeper);
    keeper.offer();
    QVERIFY(QDir(f.folder.path()).removeRecursively());
    f.program.table.appendRows(rowsOf({romanSubject()}));
    keeper.flush();
    QCOMPARE(f.messages.shown.size(), 1);
    QVERIFY2(f.messages.shown[0].text.contains(f.folder.path("richiesta-in-corso.txt")),
             qPrintable(f.messages.shown[0].text));
    QVERIFY(!QFile::exists(QStringLiteral("/richiesta-in-corso.txt")));
    const auto* status = control<QLabel>(f.main, "protectionLabel");
    QVERIFY(status->text().startsWith(QStringLiteral("\u26A0 Richiesta in corso non protetta")));

    QVERIFY(QDir().mkpath(f.folder.path()));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(f.folder.path("richiesta-in-corso.txt")), 10000);
    QCOMPARE(status->text(), QString());
    QCOMPARE(f.messages.shown.size(), 1);
}

// A good recovery file is not blamed for a damaged place table: it stays as it is, the reason is
// told, and the question comes again at the next start. A file too large to be one is damaged.
void TestRecoveryKeeper::goodFileWaitsForThePlaceTables() {
    ProgramFixture f(kCompleteConfig);
    writePlaceTables(f.folder);
    SubjectTable table;
    table.appendRows(rowsOf({romanSubject()}));
    const QByteArray saved =
        *recoveryBytes(Request{2, "LAVORO", "P1", {}, false}, table, f.clock.now());
    const QString path = f.folder.path("richiesta-in-corso.txt");
    writeBytes(path, saved);
    writeBytes(f.folder.path("ref/FileCodComuni.txt"), "ROMA,H501\n");
    f.messages.answers = {true, true};
    {
        RecoveryKeeper keeper(f.program);
        keeper.offer();
        f.program.table.appendRows(rowsOf({parisianSubject()}));
        keeper.flush();
    }
    QVERIFY2(f.messages.texts().join(u'|').contains(u"resta com'\u00E8"),
             qPrintable(f.messages.texts().join(u'|')));
    QCOMPARE(readBytes(path), saved);
    writePlaceTables(f.folder);
    f.program.table.keepRows(0);
    RecoveryKeeper next(f.program);
    next.offer();
    QCOMPARE(f.messages.asked.size(), 2);
    QCOMPARE(f.program.table.values(1), romanSubject());

    QVERIFY(QFile(path).resize(maxRecoveryBytes() + 1));
    RecoveryKeeper third(f.program);
    third.offer();
    QVERIFY(f.messages.texts().last().contains(QStringLiteral("supera la grandezza massima")));
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(TestRecoveryKeeper)
#include "tst_recoverykeeper.moc"
