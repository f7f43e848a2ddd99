#include "core/files/filewriter.h"
#include "core/output/batch.h"
#include "support/places.h"

#include <QDir>
#include <QTest>
#include <QThread>
#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

static const BatchStamp kStamp{QStringLiteral("2010-03-15"), QStringLiteral("0932")};
static const QString kList = QStringLiteral("/Nominativi_Velmora_2010-03-15,0932.txt");

static const auto blanks = [](int n) { return QByteArray(n, ' '); };

static const Request kGeneral{0, {}, "123", "01/02/2010", false};

#ifdef Q_OS_UNIX
// Writes `batches` batches of the same minute into `destination` in a child process, as
// another run of the program would; the child ends with 1 when a batch fails.
static pid_t batchWriter(const QString& destination, const SubjectTable& table, int batches) {
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    int counter = 0;
    for (int i = 0; i < batches; ++i) {
        if (!writeBatch(destination, kStamp, kGeneral, table, counter))
            ::_exit(1);
    }
    ::_exit(0);
}

// How the child ended: its exit code, or minus the signal that ended it.
static int ending(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}
#endif

// How many batches the folder holds; -1 when one lacks a file or holds its list cut short.
static int completeBatches(const QDir& destination, const SubjectTable& table) {
    const QStringList names = destination.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        const auto files =
            QDir(destination.filePath(name)).entryInfoList(QDir::Files | QDir::Hidden);
        if (files.size() != 2 || files[0].size() != subjectListBytes(table)->size() ||
            files[1].size() == 0)
            return -1;
    }
    return int(names.size());
}

class TestBatch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void filesByteForByteAndTwoBatchesInTheSameMinute() {
        const BatchStamp stamp = batchStamp(QDateTime(QDate(2010, 3, 5), QTime(17, 4, 59)));
        QCOMPARE(stamp.date + stamp.time, "2010-03-051704");
        SubjectValues foreigner = parisianSubject();
        foreigner[SurnameColumn] = QString(72, u'X');
        SubjectTable table;
        table.appendRows(rowsOf({romanSubject(), foreigner}));
        // A folder whose name the code page cannot hold: any folder the operator chooses works.
        ScratchFolder scratch;
        QVERIFY(QDir(scratch.path()).mkdir(u"lotti-\u0436"_s));
        const QDir folder(scratch.path(u"lotti-\u0436"_s));
        int counter = 0;
        const Result<QString> batch = writeBatch(folder.path(), kStamp, kGeneral, table, counter);
        QCOMPARE(std::tuple(batch.value(), counter),
                 std::tuple(folder.filePath("Velmora_2010-03-15,0932"), 1));
        QCOMPARE(readBytes(*batch + kList),
                 "ROSSI" + blanks(67) + "MARIO" + blanks(67) + "H501" + blanks(60) + "1970-01-05" +
                     "Z000" + blanks(72) + "M" + "RSSMRA70A05H501F" + "\r\n" + QByteArray(72, 'X') +
                     "JOS\xC8" + blanks(72) + "PARIGI" + blanks(54) + "1999-12-31" + "Z110" +
                     "PIERRE" + blanks(66) + "F" + blanks(16) + "1234567" + "\r\n");
        // A date that names no real day is written as it stands.
        SubjectValues noDay = romanSubject();
        noDay[BirthDateColumn] = "31/02/1970";
        table.setValues(1, noDay);
        QVERIFY(subjectListBytes(table)->contains("31/02/1970"));
        table.setValues(1, romanSubject());
        QCOMPARE(readBytes(*batch + "/Richiesta_Velmora_2010-03-15,0932.txt"),
                 " -- Il seguente file \xE8 univocamente ad uso dell'ufficio, non allegare o "
                 "inviare al sistema KEB -- \r\n\r\n"
                 "Tipo Certificato: CERTIFICATO GENERALE (art.28 art.24 d.P.R. n. 313/2002)\r\n"
                 "Finalit\xE0: \r\nNum. Protocollo: 123" +
                     blanks(27) + "\r\nData: 01/02/2010\r\nLingua tedesca: No\r\n\r\n");
        const Result<QString> second = writeBatch(folder.path(), kStamp, kGeneral, table, counter);
        QCOMPARE(*second, folder.filePath("Velmora_2010-03-15,0932(2)"));
        // Right after a start the counter is 0: a taken name gets (1). An empty folder, a file
        // and a link that leads nowhere take their names as well as a batch does.
        int fresh = 0;
        QVERIFY(folder.mkdir("Velmora_2010-03-15,0932(1)"));
        QVERIFY(
            QFile::link(folder.filePath("nowhere"), folder.filePath("Velmora_2010-03-15,0932(3)")));
        writeBytes(folder.filePath("Velmora_2010-03-15,0932(4)"), "X");
        QCOMPARE(writeBatch(folder.path(), kStamp, kGeneral, table, fresh).value(),
                 folder.filePath("Velmora_2010-03-15,0932(5)"));
        QCOMPARE(fresh, 5);
    }

    void unwritableDestinationLeavesNothing() {
        ScratchFolder folder;
        SubjectTable table;
        table.appendRow(romanSubject());
        int counter = 7;
        const QString gone = folder.path("gone");
        QCOMPARE(writeBatch(gone, kStamp, kGeneral, table, counter).error(),
                 cannotMakeFolder(gone + "/Velmora_2010-03-15,0932", "percorso inesistente"));
        QCOMPARE(counter, 7);
        // The list cannot be written (a character outside the code page): no folder is made.
        table.appendRow(subject({{SurnameColumn, u"\u0141UKASZ"}}));
        const QString error = writeBatch(folder.path(), kStamp, kGeneral, table, counter).error();
        QVERIFY(error.contains(kList.mid(1)));
        QVERIFY(
            QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
#ifdef Q_OS_UNIX
        // No descriptor left: the hidden folder is made, but no file in it can be. The message
        // names the folder the operator will look for, not the hidden one.
        table.removeRow(2);
        rlimit files{};
        ::getrlimit(RLIMIT_NOFILE, &files);
        const rlimit full{rlim_t(::open("/dev/null", O_RDONLY)), files.rlim_max}; // lowest free
        ::close(int(full.rlim_cur));
        QVERIFY(::setrlimit(RLIMIT_NOFILE, &full) == 0);
        const QString failed = writeBatch(folder.path(), kStamp, kGeneral, table, counter).error();
        ::setrlimit(RLIMIT_NOFILE, &files);
        const QString batch = folder.path("Velmora_2010-03-15,0932");
        QCOMPARE(failed, cannotWrite(batch + "/Richiesta_Velmora_2010-03-15,0932.txt",
                                     "la cartella " + batch +
                                         " non permette di creare il file temporaneo (troppi file "
                                         "aperti)"));
        QVERIFY(
            QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
#endif
    }

    // Two runs racing for the names never share one. (The runs are processes made by fork.)
    void racingRuns() {
#ifndef Q_OS_UNIX
        QSKIP("two runs at once are started with fork");
#else
        ScratchFolder folder;
        SubjectTable table;
        table.appendRow(romanSubject());
        const pid_t first = batchWriter(folder.path(), table, 100);
        const pid_t second = batchWriter(folder.path(), table, 100);
        QCOMPARE(std::pair(ending(first), ending(second)), std::pair(0, 0));
        QCOMPARE(completeBatches(folder.path(), table), 200);
#endif
    }

    // A killed run leaves no batch that is not complete, and what it left is cleared by a
    // later batch once it is old. (Only where a run can be killed from here.)
    void killedRunLeavesNothingIncomplete() {
        SubjectTable table;
        ScratchFolder killed;
        for (int i = 0; i < 3000; ++i)
            table.appendRow(romanSubject());
#ifdef Q_OS_UNIX
        const pid_t writer = batchWriter(killed.path(), table, 1000);
        QThread::msleep(200);
        ::kill(writer, SIGKILL);
        QCOMPARE(ending(writer), -SIGKILL);
#endif
        QVERIFY(completeBatches(killed.path(), table) >= 0);
        const QDir dir(killed.path());
        const QString stale = QStringLiteral(".Velmora_2010-03-15,0932.tmp-stale");
        const QString recent = QStringLiteral(".Velmora_2010-03-15,0932.tmp-recent");
        // An empty batch folder is a name claimed by a run that stopped before filling it.
        const QString claimed = QStringLiteral("Velmora_2010-03-15,0932(999)");
        const QString kept = QStringLiteral("Velmora_2010-03-15,0932(998)");
        QVERIFY(dir.mkdir(stale) && dir.mkdir(recent) && dir.mkdir(claimed) && dir.mkdir(kept));
        writeBytes(dir.filePath(kept + kList), "X");
        for (const QString& old : {stale, claimed, kept})
            QVERIFY(setModified(dir.filePath(old), 3600));
        int counter = 0;
        QVERIFY(writeBatch(killed.path(), kStamp, kGeneral, table, counter));
        QVERIFY(!dir.exists(stale) && dir.exists(recent) && !dir.exists(claimed) &&
                dir.exists(kept));
    }
};

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
