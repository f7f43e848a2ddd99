#include "output/batch.h"
#include "support/recorders.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace velmora;

namespace {

const BatchStamp kStamp{QStringLiteral("2010-03-15"), QStringLiteral("0932")};

QByteArray blanks(int n) {
    return QByteArray(n, ' ');
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

SubjectValues italian() {
    SubjectValues v;
    v[SurnameColumn] = QStringLiteral("ROSSI");
    v[NameColumn] = QStringLiteral("MARIO");
    v[SexColumn] = QStringLiteral("M");
    v[TaxCodeColumn] = QStringLiteral("RSSMRA70A05H501W");
    v[BirthDateColumn] = QStringLiteral("05/01/1970");
    v[MunicipalityColumn] = QStringLiteral("ROMA");
    v[StateColumn] = QStringLiteral("ITALIA");
    v[MunicipalityCodeColumn] = QStringLiteral("H501");
    v[StateCodeColumn] = QStringLiteral("Z000");
    return v;
}

SubjectValues foreigner() {
    SubjectValues v;
    v[SurnameColumn] = QString(72, u'X');
    v[NameColumn] = QStringLiteral("JOS\u00C8");
    v[SexColumn] = QStringLiteral("F");
    v[CuiColumn] = QStringLiteral("1234567");
    v[FatherColumn] = QStringLiteral("PIERRE");
    v[BirthDateColumn] = QStringLiteral("31/12/1999");
    v[ForeignPlaceColumn] = QStringLiteral("PARIGI");
    v[StateColumn] = QStringLiteral("FRANCIA");
    v[StateCodeColumn] = QStringLiteral("Z110");
    return v;
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
    void subjectListBytes();
    void summaryBytes();
    void twoBatchesInTheSameMinute();
    void unwritableDestinationLeavesNothing();
};

void TestBatch::stampFromTheClock() {
    const BatchStamp stamp = batchStamp(QDateTime(QDate(2010, 3, 5), QTime(17, 4, 59)));
    QCOMPARE(stamp.date, QStringLiteral("2010-03-05"));
    QCOMPARE(stamp.time, QStringLiteral("1704"));
}

void TestBatch::subjectListBytes() {
    SubjectTable table;
    table.appendRows({italian(), foreigner()});
    const QByteArray first = "ROSSI" + blanks(67) + "MARIO" + blanks(67) + "H501" + blanks(60) +
                             "1970-01-05" + "Z000" + blanks(72) + "M" + "RSSMRA70A05H501W" + "\r\n";
    const QByteArray second = QByteArray(72, 'X') + "JOS\xC8" + blanks(68) + blanks(4) + "PARIGI" +
                              blanks(54) + "1999-12-31" + "Z110" + "PIERRE" + blanks(66) + "F" +
                              blanks(16) + "1234567" + "\r\n";
    QCOMPARE(first.size(), 311 + 2);
    QCOMPARE(second.size(), 318 + 2);

    test::ScratchFolder folder;
    int counter = 0;
    const FolderResult batch = writeBatch(folder.path(), kStamp, generalRequest(), table, counter);
    QVERIFY2(batch.ok(), qPrintable(batch.error));
    QCOMPARE(batch.path, folder.path(QStringLiteral("Velmora_2010-03-15,0932")));
    QCOMPARE(counter, 1);
    QCOMPARE(readAll(batch.path + QStringLiteral("/Nominativi_Velmora_2010-03-15,0932.txt")),
             first + second);
}

void TestBatch::summaryBytes() {
    test::ScratchFolder folder;
    SubjectTable table;
    table.appendRow(italian());
    int counter = 0;
    RequestRecord request = generalRequest();
    request.purpose.clear();
    const FolderResult batch = writeBatch(folder.path(), kStamp, request, table, counter);
    QVERIFY(batch.ok());
    const QByteArray expected =
        " -- Il seguente file \xE8 univocamente ad uso dell'ufficio, non allegare o inviare al "
        "sistema KEB -- \r\n"
        "\r\n"
        "Tipo Certificato: CERTIFICATO GENERALE (art.28 art.24 d.P.R. n. 313/2002)\r\n"
        "Finalit\xE0: \r\n"
        "Num. Protocollo: 123" +
        blanks(27) +
        "\r\n"
        "Data: 01/02/2010\r\n"
        "Lingua tedesca: No\r\n"
        "\r\n";
    QCOMPARE(readAll(batch.path + QStringLiteral("/Richiesta_Velmora_2010-03-15,0932.txt")),
             expected);
}

void TestBatch::twoBatchesInTheSameMinute() {
    test::ScratchFolder folder;
    SubjectTable table;
    table.appendRow(italian());
    int counter = 0;
    QVERIFY(writeBatch(folder.path(), kStamp, generalRequest(), table, counter).ok());
    const FolderResult second = writeBatch(folder.path(), kStamp, generalRequest(), table, counter);
    QCOMPARE(second.path, folder.path(QStringLiteral("Velmora_2010-03-15,0932(2)")));
    QVERIFY(QFile::exists(second.path + QStringLiteral("/Nominativi_Velmora_2010-03-15,0932.txt")));

    // Right after a start the counter is 0: a taken name gets (1), a taken (1) gets (3).
    int fresh = 0;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Velmora_2010-03-15,0932(1)")));
    QCOMPARE(makeBatchFolder(folder.path(), kStamp, fresh).path,
             folder.path(QStringLiteral("Velmora_2010-03-15,0932(3)")));
}

void TestBatch::unwritableDestinationLeavesNothing() {
    test::ScratchFolder folder;
    SubjectTable table;
    table.appendRow(italian());
    int counter = 7;
    const FolderResult missing =
        writeBatch(folder.path(QStringLiteral("gone")), kStamp, generalRequest(), table, counter);
    QVERIFY(missing.error.startsWith(QStringLiteral("Impossibile creare la cartella")));
    QCOMPARE(counter, 7);

    // The list cannot be written (a character outside the code page): the folder goes too.
    SubjectValues bad = italian();
    bad[SurnameColumn] = QStringLiteral("\u0141UKASZ");
    table.appendRow(bad);
    const FolderResult failed = writeBatch(folder.path(), kStamp, generalRequest(), table, counter);
    QVERIFY(!failed.ok());
    QVERIFY(failed.error.contains(QStringLiteral("Nominativi_Velmora_2010-03-15,0932.txt")));
    QVERIFY(QDir(folder.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
