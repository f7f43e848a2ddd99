#include "core/import/importfile.h"
#include "core/subjects/recoveryfile.h"
#include "core/text/windows1252.h"
#include "support/places.h"

#include <QBuffer>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

static const QDateTime kSaved(QDate(2010, 3, 15), QTime(9, 32));
static const Request kRequest{2, "LAVORO = PRESSO L'UFFICIO; \u00C0 ROMA", "123AB", "15/03/2010",
                              true};

// The recovery file of kRequest with three subjects, the last one such that no separator can
// write it.
static QByteArray savedRequest() {
    SubjectTable table;
    table.appendRows(rowsOf({romanSubject(), parisianSubject(), parisianWithSeparators()}));
    return recoveryBytes(kRequest, table, kSaved).value();
}

class TestRecoveryFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { writePlaceTables(folder_); }

    void requestAndRowsReadBack() {
        const QByteArray bytes = savedRequest();
        QVERIFY(bytes.endsWith("\r\n"));
        QVERIFY(bytes.contains("\xC0 ROMA\r\n")); // Windows-1252, one byte a letter
        QVERIFY(bytes.contains("ULTIMA MODIFICA=15/03/2010 09:32\r\n"));
        const Result<RecoveryRead> read = readRecovery(bytes);
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QCOMPARE(std::tuple(read->request, read->saved, read->subjects),
                 std::tuple(kRequest, kSaved, 3));
        QCOMPARE(recoveryQuestion(*read),
                 "\u00C8 stata trovata una richiesta non completata (3 soggetti, "
                 "ultima modifica il 15/03/2010 alle 09:32). Riprenderla?");
        QCOMPARE(recoveredSubjects(*read, municipalities_, states_).value(),
                 (QList{SubjectRow(romanSubject()), SubjectRow(parisianSubject()),
                        SubjectRow(parisianWithSeparators())}));
        // Written out as a batch, the question says so; a file of the layout before still reads.
        SubjectTable one;
        one.appendRow(romanSubject());
        const Output batch{Output::Kind::Batch, kSaved, "Velmora_2010-03-15,0932"};
        const Result<RecoveryRead> sent =
            readRecovery(*recoveryBytes(kRequest, one, kSaved, batch));
        QCOMPARE(sent->output, batch);
        QCOMPARE(recoveryQuestion(*sent),
                 "La richiesta in corso (1 soggetto) \u00E8 gi\u00E0 stata salvata nel lotto "
                 "Velmora_2010-03-15,0932 il 15/03/2010 alle 09:32. Riprenderla?");
        const QByteArray before =
            QByteArray(bytes).replace("prime 9 righe", "prime 8 righe").replace("SALVATA=\r\n", "");
        QCOMPARE(recoveredSubjects(*readRecovery(before), municipalities_, states_)->size(), 3);
        // No type chosen yet, nothing typed, no subjects.
        const Result<RecoveryRead> blank =
            readRecovery(*recoveryBytes(Request{}, SubjectTable(), kSaved));
        QCOMPARE(std::tuple(blank->request, blank->subjects), std::tuple(Request{}, 0));
    }

    // The file changed after it was written: refused, saying why.
    void damagedFileIsRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray bytes = savedRequest();
        const auto replaced = [&](const char* from, const char* to) {
            return QByteArray(bytes).replace(from, to);
        };
        QTest::newRow("not ours") << QByteArray("ROSSI,MARIO\r\n") << "non \u00E8 una richiesta";
        QTest::newRow("type") << replaced("CERTIFICATO=2", "CERTIFICATO=5") << "riga 2 ";
        QTest::newRow("line missing") << replaced("NUMERO PROTOCOLLO=123AB\r\n", "") << "riga 4 ";
        QTest::newRow("no such day")
            << replaced("15/03/2010 09:32", "31/02/2010 09:32") << "riga 7 ";
        QTest::newRow("cut short") << bytes.left(bytes.size() - 20) << "importato alla riga 3\r";
        QTest::newRow("count") << replaced("SOGGETTI=3", "SOGGETTI=4") << "3 soggetti invece di 4";
        QTest::newRow("subject") << replaced("05/01/1970", "05/13/1970")
                                 << "importato alla riga 1\r";
    }

    void damagedFileIsRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const Result<RecoveryRead> back = readRecovery(bytes);
        const QString error =
            back ? recoveredSubjects(*back, municipalities_, states_).error() : back.error();
        QVERIFY2(error.contains(reason), qPrintable(error));
    }

    // Values that the fields would refuse are left out, each one told; the rest is taken back.
    void valuesBreakingTheFieldsAreDropped() {
        const QByteArray bytes = savedRequest()
                                     .replace("L'UFFICIO", "L'UFFICIO\x01")
                                     .replace("=123AB", "=123AB-" + QByteArray(30, '9'))
                                     .replace("15/03/2010\r\nLINGUA", "15.03.2010\r\nLINGUA");
        const Result<RecoveryRead> read = readRecovery(bytes);
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QCOMPARE(std::tuple(read->request.purpose, read->request.protocolNumber,
                            read->request.protocolDate, read->request.german),
                 std::tuple(QString(), QString(), QString(), true));
        QCOMPARE(read->dropped,
                 (QStringList{"Il file richiesta-in-corso.txt, riga 3, campo \u00ABFinalit\u00E0"
                              "\u00BB: valore scartato (carattere non ammesso: " +
                                  shownCharacter(QChar(1)) + ")",
                              "Il file richiesta-in-corso.txt, riga 4, campo \u00ABNumero "
                              "protocollo\u00BB: valore scartato (carattere non ammesso: " +
                                  shownCharacter(u'-') + ")",
                              "Il file richiesta-in-corso.txt, riga 5, campo \u00ABData "
                              "protocollo\u00BB: valore scartato (non ha la forma "
                              "gg/mm/aaaa)"}));
    }

    // Each copy put aside keeps a name of its own; none is ever removed.
    void copiesAreNeverRemoved() {
        writeBytes(folder_.path("richiesta-in-corso-20090101-0800.txt"), "older");
        writeBytes(folder_.path("richiesta-in-corso-20100315-0932.txt"), "old");
        writeBytes(folder_.path("richiesta-in-corso.txt"), "current");
        QVERIFY(setModified(folder_.path("richiesta-in-corso.txt"),
                            kSaved.secsTo(QDateTime::currentDateTime())));
        const Result<QString> aside = moveRecoveryAside(folder_.path());
        QVERIFY2(aside.ok(), qPrintable(aside.error()));
        QCOMPARE(QDir(folder_.path()).entryList({"richiesta-in-corso*"}, QDir::Files),
                 (QStringList{"richiesta-in-corso-20090101-0800.txt",
                              "richiesta-in-corso-20100315-0932-2.txt",
                              "richiesta-in-corso-20100315-0932.txt"}));
        QCOMPARE(readBytes(*aside), "current");
    }

private:
    ScratchFolder folder_;
    ReferenceTable municipalities_{QStringLiteral("ref/FileCodComuni.txt")};
    ReferenceTable states_{QStringLiteral("ref/FileCodStati.txt")};
};

QTEST_GUILESS_MAIN(TestRecoveryFile)
#include "tst_recoveryfile.moc"
