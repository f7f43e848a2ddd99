#include "core/import/importfile.h"
#include "core/recovery.h"
#include "support/places.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

const QDateTime kSaved(QDate(2010, 3, 15), QTime(9, 32));

// Columns 1 to 12 of every row.
QList<SubjectValues> valuesOf(const SubjectTable& table) {
    QList<SubjectValues> rows;
    for (int row = 1; row <= table.progressivo(); ++row)
        rows.append(table.values(row));
    return rows;
}

QByteArray replaced(QByteArray bytes, const QByteArray& from, const QByteArray& to) {
    return bytes.replace(from, to);
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void lineSplitsBackAtItsSeparator();
    void requestAndRowsReadBack();
    void damagedFileIsRefused_data();
    void damagedFileIsRefused();
    void oneOlderCopyIsKept();
    void fullTableExportsAndImportsBack();

private:
    std::optional<ScratchFolder> folder_;
    ReferenceTable municipalities_{QStringLiteral("ref/FileCodComuni.txt")};
    ReferenceTable states_{QStringLiteral("ref/FileCodStati.txt")};
};

void TestRecovery::init() {
    folder_.reset();
    folder_.emplace();
    writePlaceTables(*folder_);
}

// Values from a fixed-width import may hold either separator; the line must split back into
// the same ten fields, or be refused.
void TestRecovery::lineSplitsBackAtItsSeparator() {
    const struct {
        const char* surname;
        const char* father;
        bool written;
    } cases[] = {
        {"ROSSI", "", true},
        {"ROSSI, DETTO BIANCHI", "", true},
        {"ROSSI;BIANCHI", "", true},
        {"A,B", "C;D", false},
        // Split at semicolons, eight commas would make the import split the line at commas.
        {"A,B,C,D,E", "F,G,H,I,J", false},
        {"A,B,C,D,E,F", "G,H,I,J,K,L", true},
    };
    for (const auto& c : cases) {
        SubjectValues subject = parisianSubject();
        subject[SurnameColumn] = QString::fromLatin1(c.surname);
        subject[FatherColumn] = QString::fromLatin1(c.father);
        const Result<QString> line = delimitedLine(subject, 7);
        QCOMPARE(line.ok(), c.written);
        if (!c.written) {
            QVERIFY(line.error().contains(u"riga 7"));
            continue;
        }
        const QList<QStringView> fields = delimitedFields(*line);
        QCOMPARE(fields.size(), 10);
        QCOMPARE(fields[0], subject[SurnameColumn]);
        QCOMPARE(fields[6], subject[FatherColumn]);
        QCOMPARE(fields[9], subject[CuiColumn]);
    }
}

void TestRecovery::requestAndRowsReadBack() {
    RequestValues request{2, QStringLiteral("LAVORO = PRESSO L'UFFICIO; \u00C0 ROMA"),
                          QStringLiteral("123AB"), QStringLiteral("15/03/2010"), true};
    SubjectTable table;
    table.appendRows({romanSubject(), parisianSubject(), romanSubject()});
    const Result<QByteArray> bytes = recoveryBytes(request, table, kSaved);
    QVERIFY2(bytes.ok(), qPrintable(bytes.error()));
    QVERIFY(bytes->endsWith("\r\n"));
    QVERIFY(bytes->contains("\xC0 ROMA")); // Windows-1252, one byte a letter

    const Result<RecoveryRead> read = readRecovery(*bytes);
    QVERIFY2(read.ok(), qPrintable(read.error()));
    QCOMPARE(read->request, request);
    QCOMPARE(read->saved, kSaved);
    QCOMPARE(read->subjects, 3);
    QCOMPARE(recoveryQuestion(*read),
             QStringLiteral("\u00C8 stata trovata una richiesta non completata (3 soggetti, "
                            "ultima modifica il 15/03/2010 alle 09:32). Riprenderla?"));
    const auto rows = recoveredSubjects(*read, municipalities_, states_);
    QVERIFY2(rows.ok(), qPrintable(rows.error()));
    QCOMPARE(*rows, valuesOf(table));

    // No type chosen yet, nothing typed, no subjects.
    const Result<RecoveryRead> blank =
        readRecovery(*recoveryBytes(RequestValues{}, SubjectTable(), kSaved));
    QVERIFY(blank.ok());
    QCOMPARE(blank->request, RequestValues{});
    QCOMPARE(blank->subjects, 0);
}

void TestRecovery::damagedFileIsRefused_data() {
    SubjectTable table;
    table.appendRows({romanSubject(), parisianSubject()});
    const QByteArray good = *recoveryBytes(
        RequestValues{1, QStringLiteral("LAVORO"), QStringLiteral("1"), {}, false}, table, kSaved);
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not ours") << QByteArray("ROSSI,MARIO\r\n") << "non \u00E8 una richiesta";
    QTest::newRow("type out of range")
        << replaced(good, "CERTIFICATO=1", "CERTIFICATO=5") << "riga 2 ";
    QTest::newRow("header line missing")
        << replaced(good, "NUMERO PROTOCOLLO=1\r\n", "") << "riga 4 ";
    QTest::newRow("time") << replaced(good, "15/03/2010 09:32", "31/02/2010 09:32") << "riga 7 ";
    QTest::newRow("cut short") << good.left(good.size() - 20) << "importato alla riga 2\r";
    QTest::newRow("a row lost") << replaced(good, "SOGGETTI=2", "SOGGETTI=3")
                                << "2 soggetti invece di 3";
    QTest::newRow("a bad date") << replaced(good, "05/01/1970", "05/13/1970")
                                << "importato alla riga 1\r";
}

void TestRecovery::damagedFileIsRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const Result<RecoveryRead> read = readRecovery(bytes);
    QString error = read.error();
    if (read) {
        const auto rows = recoveredSubjects(*read, municipalities_, states_);
        QVERIFY(!rows.ok());
        error = rows.error();
    }
    QVERIFY2(error.contains(reason), qPrintable(error));
}

void TestRecovery::oneOlderCopyIsKept() {
    const QString folder = folder_->path();
    writeBytes(folder_->path(QStringLiteral("richiesta-in-corso-20090101-0800.txt")), "old");
    writeBytes(folder_->path(QStringLiteral("richiesta-in-corso.txt")), "current");
    QFile file(folder_->path(QStringLiteral("richiesta-in-corso.txt")));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(kSaved, QFileDevice::FileModificationTime));
    file.close();

    const Result<QString> aside = moveRecoveryAside(folder);
    QVERIFY2(aside.ok(), qPrintable(aside.error()));
    QCOMPARE(QFileInfo(*aside).fileName(), QStringLiteral("richiesta-in-corso-20100315-0932.txt"));
    QCOMPARE(QDir(folder).entryList({QStringLiteral("richiesta-in-corso*")}, QDir::Files),
             QStringList{QFileInfo(*aside).fileName()});
    QCOMPARE(readBytes(*aside), QByteArray("current"));
}

// The largest table, accents included, through the export and back through the import.
void TestRecovery::fullTableExportsAndImportsBack() {
    SubjectValues accented = parisianSubject();
    accented[SurnameColumn] = QStringLiteral("D'ANNUNZIO \u00C0\u00C8\u00CC\u00D2\u00D9");
    accented[FatherColumn] = QStringLiteral("NICOL\u00D2, DETTO NIC\u00D2");
    QList<SubjectValues> rows;
    for (int i = 0; i < SubjectTable::kMaxRows; ++i)
        rows.append(i % 2 ? romanSubject() : accented);
    SubjectTable table;
    table.appendRows(rows);

    const Result<QByteArray> bytes = delimitedSubjectBytes(table);
    QVERIFY2(bytes.ok(), qPrintable(bytes.error()));
    QCOMPARE(bytes->count("\r\n"), SubjectTable::kMaxRows);

    QBuffer file;
    file.setData(*bytes);
    file.open(QIODevice::ReadOnly);
    const ImportResult back =
        importSubjects(file, ImportKind::Delimited, 0, municipalities_, states_);
    QVERIFY(back.ok());
    QCOMPARE(back.value(), rows);
}

QTEST_GUILESS_MAIN(TestRecovery)
#include "tst_recovery.moc"
