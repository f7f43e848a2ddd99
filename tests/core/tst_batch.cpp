#include "core/output/batch.h"
#include "core/text/filewriter.h"
#include "support/places.h"

#include <QDir>
#include <QTest>
#include <QThread>
#include <csignal>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmora;
using namespace velmora::test;

namespace {

const BatchStamp kStamp{QStringLiteral("2010-03-15"), QStringLiteral("0932")};
const QString kList = QStringLiteral("/Nominativi_Velmora_2010-03-15,0932.txt");

QByteArray blanks(int n) {
    return QByteArray(n, ' ');
}

RequestRecord generalRequest() {
    RequestRecord r;
    r.certTypeDescription = kCertificateTypes[0];
    r.purpose = QStringLiteral("LAVORO");
    r.protocolNumber = QStringLiteral("123") + QString(27, u' ');
    r.protocolDate = QStringLiteral("01/02/2010");
    r.german = QStringLiteral("No");
    return r;
}

// Writes `batches` batches of the same minute into `destination` in a child process, as
// another run of the program would.
pid_t batchWriter(const QString& destination, const SubjectTable& table, int batches) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        int counter = 0;
        for (int i = 0; i < batches; ++i) {
            if (!writeBatch(destination, kStamp, generalRequest(), table, counter))
                ::_exit(1);
        }
        ::_exit(0);
    }
    return pid;
}

// Every folder under a batch name holds both files, the subject list whole. Returns how many.
int completeBatches(const QString& destination, const SubjectTable& table) {
    const QStringList names = QDir(destination).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const qsizetype listSize = subjectListBytes(table)->size();
    for (const QString& name : names) {
        const QDir batch(QDir(destination).filePath(name));
        const QFileInfoList files = batch.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
        if (files.size() != 2 || files[0].size() != listSize || files[1].size() == 0)
            return -1;
    }
    return int(names.size());
}

} // namespace

class TestBatch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void filesByteForByteAndTwoBatchesInTheSameMinute();
    void unwritableDestinationLeavesNothing();
    void aKilledRunLeavesNoBatchThatIsNotComplete();
};

void TestBatch::filesByteForByteAndTwoBatchesInTheSameMinute() {
    const BatchStamp stamp = batchStamp(QDateTime(QDate(2010, 3, 5), QTime(17, 4, 59)));
    QCOMPARE(stamp.date + stamp.time, QStringLiteral("2010-03-051704"));
    SubjectValues foreigner = parisianSubject();
    foreigner[SurnameColumn] = QString(72, u'X');
    SubjectTable table;
    table.appendRows({romanSubject(), foreigner});
    RequestRecord request = generalRequest();
    request.purpose.clear();
    ScratchFolder folder;
    int counter = 0;
    const Result<QString> batch = writeBatch(folder.path(), kStamp, request, table, counter);
    QVERIFY2(batch.ok(), qPrintable(batch.error()));
    QCOMPARE(*batch, folder.path(QStringLiteral("Velmora_2010-03-15,0932")));
    QCOMPARE(counter, 1);
    QCOMPARE(test::readBytes(*batch + kList),
             "ROSSI" + blanks(67) + "MARIO" + blanks(67) + "H501" + blanks(60) + "1970-01-05" +
                 "Z000" + blanks(72) + "M" + "RSSMRA70A05H501F" + "\r\n" + QByteArray(72, 'X') +
                 "JOS\xC8" + blanks(72) + "PARIGI" + blanks(54) + "1999-12-31" + "Z110" + "PIERRE" +
                 blanks(66) + "F" + blanks(16) + "1234567" + "\r\n");
    QCOMPARE(test::readBytes(*batch + QStringLiteral("/Richiesta_Velmora_2010-03-15,0932.txt")),
             " -- Il seguente file \xE8 univocamente ad uso dell'ufficio, non allegare o inviare "
             "al sistema KEB -- \r\n\r\n"
             "Tipo Certificato: CERTIFICATO GENERALE (art.28 art.24 d.P.R. n. 313/2002)\r\n"
             "Finalit\xE0: \r\nNum. Protocollo: 123" +
                 blanks(27) + "\r\nData: 01/02/2010\r\nLingua tedesca: No\r\n\r\n");

    const Result<QString> second = writeBatch(folder.path(), kStamp, request, table, counter);
    QCOMPARE(*second, folder.path(QStringLiteral("Velmora_2010-03-15,0932(2)")));
    QVERIFY(QFile::exists(*second + kList));
    // Right after a start the counter is 0: a taken name gets (1). An empty folder and a link
    // that leads nowhere take their names as well as a batch does.
    int fresh = 0;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Velmora_2010-03-15,0932(1)")));
    QVERIFY(QFile::link(folder.path(QStringLiteral("nowhere")),
                        folder.path(QStringLiteral("Velmora_2010-03-15,0932(3)"))));
    QCOMPARE(writeBatch(folder.path(), kStamp, request, table, fresh).value(),
             folder.path(QStringLiteral("Velmora_2010-03-15,0932(4)")));
    QCOMPARE(fresh, 4);
}

void TestBatch::unwritableDestinationLeavesNothing() {
    ScratchFolder folder;
    SubjectTable table;
    table.appendRow(romanSubject());
    int counter = 7;
    const QString gone = folder.path(QStringLiteral("gone"));
    QCOMPARE(writeBatch(gone, kStamp, generalRequest(), table, counter).error(),
             cannotMakeFolder(gone + QStringLiteral("/Velmora_2010-03-15,0932"),
                              QStringLiteral("percorso inesistente")));
    QCOMPARE(counter, 7);
    // The list cannot be written (a character outside the code page): the folder goes too.
    SubjectValues bad = romanSubject();
    bad[SurnameColumn] = QStringLiteral("\u0141UKASZ");
    table.appendRow(bad);
    const Result<QString> failed =
        writeBatch(folder.path(), kStamp, generalRequest(), table, counter);
    QVERIFY(failed.error().contains(kList.mid(1)));
    QVERIFY(QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void TestBatch::aKilledRunLeavesNoBatchThatIsNotComplete() {
    ScratchFolder folder;
    SubjectTable table;
    for (int i = 0; i < 3000; ++i)
        table.appendRow(romanSubject());
    const pid_t writer = batchWriter(folder.path(), table, 1000);
    QThread::msleep(200);
    ::kill(writer, SIGKILL);
    int status = 0;
    QVERIFY(::waitpid(writer, &status, 0) == writer && WIFSIGNALED(status));
    QVERIFY(completeBatches(folder.path(), table) >= 0);

    // What a stopped run left is cleared by the next batch once it is old, not while it may
    // still be another run's batch in the making.
    const QDir dir(folder.path());
    const QString stale = QStringLiteral(".Velmora_2010-03-15,0932.tmp-stale");
    const QString recent = QStringLiteral(".Velmora_2010-03-15,0932.tmp-recent");
    QVERIFY(dir.mkdir(stale) && dir.mkdir(recent));
    const timeval hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    QCOMPARE(::utimes(QFile::encodeName(dir.filePath(stale)).constData(), hourAgo), 0);
    int counter = 0;
    QVERIFY(writeBatch(folder.path(), kStamp, generalRequest(), table, counter));
    QVERIFY(!dir.exists(stale));
    QVERIFY(dir.exists(recent));
}

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
