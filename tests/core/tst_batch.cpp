#include "core/output/batch.h"
#include "support/places.h"

#include <QDir>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

const BatchStamp kStamp{QStringLiteral("2010-03-15"), QStringLiteral("0932")};
const QString kList = QStringLiteral("/Nominativi_Velmora_2010-03-15,0932.txt");

QByteArray blanks(int n) {
    return QByteArray(n, ' ');
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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

} // namespace

class TestBatch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stampFromTheClock();
    void filesByteForByteAndTwoBatchesInTheSameMinute();
    void unwritableDestinationLeavesNothing();
};

void TestBatch::stampFromTheClock() {
    const BatchStamp stamp = batchStamp(QDateTime(QDate(2010, 3, 5), QTime(17, 4, 59)));
    QCOMPARE(stamp.date, QStringLiteral("2010-03-05"));
    QCOMPARE(stamp.time, QStringLiteral("1704"));
}

void TestBatch::filesByteForByteAndTwoBatchesInTheSameMinute() {
    SubjectValues foreigner = parisianSubject();
    foreigner[SurnameColumn] = QString(72, u'X');
    SubjectTable table;
    table.appendRows({romanSubject(), foreigner});
    RequestRecord request = generalRequest();
    request.purpose.clear();
    ScratchFolder folder;
    int counter = 0;
    const FolderResult batch = writeBatch(folder.path(), kStamp, request, table, counter);
    QVERIFY2(batch.ok(), qPrintable(batch.error));
    QCOMPARE(batch.path, folder.path(QStringLiteral("Velmora_2010-03-15,0932")));
    QCOMPARE(counter, 1);
    QCOMPARE(readAll(batch.path + kList),
             "ROSSI" + blanks(67) + "MARIO" + blanks(67) + "H501" + blanks(60) + "1970-01-05" +
                 "Z000" + blanks(72) + "M" + "RSSMRA70A05H501F" + "\r\n" + QByteArray(72, 'X') +
                 "JOS\xC8" + blanks(72) + "PARIGI" + blanks(54) + "1999-12-31" + "Z110" + "PIERRE" +
                 blanks(66) + "F" + blanks(16) + "1234567" + "\r\n");
    QCOMPARE(readAll(batch.path + QStringLiteral("/Richiesta_Velmora_2010-03-15,0932.txt")),
             " -- Il seguente file \xE8 univocamente ad uso dell'ufficio, non allegare o inviare "
             "al sistema KEB -- \r\n\r\n"
             "Tipo Certificato: CERTIFICATO GENERALE (art.28 art.24 d.P.R. n. 313/2002)\r\n"
             "Finalit\xE0: \r\nNum. Protocollo: 123" +
                 blanks(27) + "\r\nData: 01/02/2010\r\nLingua tedesca: No\r\n\r\n");

    const FolderResult second = writeBatch(folder.path(), kStamp, request, table, counter);
    QCOMPARE(second.path, folder.path(QStringLiteral("Velmora_2010-03-15,0932(2)")));
    QVERIFY(QFile::exists(second.path + kList));
    // Right after a start the counter is 0: a taken name gets (1), a taken (1) gets (3).
    int fresh = 0;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Velmora_2010-03-15,0932(1)")));
    QCOMPARE(makeBatchFolder(folder.path(), kStamp, fresh).path,
             folder.path(QStringLiteral("Velmora_2010-03-15,0932(3)")));
}

void TestBatch::unwritableDestinationLeavesNothing() {
    ScratchFolder folder;
    SubjectTable table;
    table.appendRow(romanSubject());
    int counter = 7;
    const FolderResult missing =
        writeBatch(folder.path(QStringLiteral("gone")), kStamp, generalRequest(), table, counter);
    QVERIFY(missing.error.startsWith(QStringLiteral("Impossibile creare la cartella")));
    QCOMPARE(counter, 7);
    // The list cannot be written (a character outside the code page): the folder goes too.
    SubjectValues bad = romanSubject();
    bad[SurnameColumn] = QStringLiteral("\u0141UKASZ");
    table.appendRow(bad);
    const FolderResult failed = writeBatch(folder.path(), kStamp, generalRequest(), table, counter);
    QVERIFY(!failed.ok());
    QVERIFY(failed.error.contains(kList.mid(1)));
    QVERIFY(QDir(folder.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
