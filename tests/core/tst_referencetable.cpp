#include "core/subjects/referencetable.h"
#include "support/recorders.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace velmora;

namespace {

using Code = std::optional<QString>;
const QString kTableFile = QStringLiteral("ref/FileCodComuni.txt");

// Homonyms, a trailing blank inside the file, extra fields, a Windows-1252 capital, an empty
// name, a lone CR, a last line without its end.
const QByteArray kTable = "ROMA,H501\r\nABBADIA,A002\r\nABBADIA,A003\r\nSAN PAOLO,X111,EXTRA\r\n"
                          "MILANO ,F205\r\n\xC0GLIE,A100\r\n,Z999\rULTIMA,U001";

void writeTable(const QByteArray& bytes) {
    QVERIFY(QDir().mkpath(QFileInfo(kTableFile).path()));
    QFile file(kTableFile);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestReferenceTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lookups();
    void damagedTableAnswersNothing_data();
    void damagedTableAnswersNothing();
    void readsAgainWhenTheFileChangesOrGoes();
    void followsTheCurrentFolder();
};

void TestReferenceTable::lookups() {
    test::ScratchFolder folder;
    writeTable(kTable);
    ReferenceTable reference(kTableFile);
    QVERIFY(reference.refresh().ok());
    QCOMPARE(reference.names(), QStringList({"ROMA", "ABBADIA", "ABBADIA", "SAN PAOLO", "MILANO ",
                                             QStringLiteral("\u00C0GLIE"), "", "ULTIMA"}));
    // Exact names only: the first line wins, nothing is trimmed, case counts.
    const QList<std::pair<QString, Code>> byName = {
        {"ROMA", "H501"},    {"ABBADIA", "A002"},   {"ROMA ", {}},
        {"roma", {}},        {"ROM", {}},           {"MILANO", {}},
        {"MILANO ", "F205"}, {"SAN PAOLO", "X111"}, {"\u00C0GLIE", "A100"},
        {"", "Z999"},        {"ULTIMA", "U001"}};
    for (const auto& [name, code] : byName)
        QCOMPARE(reference.lookupName(name), code);
    const QList<std::pair<const char*, const char*>> byCode = {
        {"A002", "ABBADIA"}, {"A003", "ABBADIA"}, {"Z998", ""},
        {"h501", ""},        {"H501 ", ""},       {"F205", "MILANO "}};
    for (const auto& [code, name] : byCode)
        QCOMPARE(reference.nameByCode(code), QString(name));

    writeTable(QByteArray());
    QVERIFY(reference.refresh().ok());
    QVERIFY(reference.names().isEmpty());
    QCOMPARE(reference.nameByCode(QStringLiteral("H501")), QString());
}

void TestReferenceTable::damagedTableAnswersNothing_data() {
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("why");
    QTest::newRow("no comma") << QByteArray("ROMA,H501\r\nMILANO F205\r\n")
                              << "riga 2: manca la virgola";
    QTest::newRow("empty line") << QByteArray("ROMA,H501\r\n\r\nMILANO,F205") << "riga 2: manca";
    QTest::newRow("code of 2") << QByteArray("ROMA,H501\r\nZIMBABWE,Z3\r\n") << "riga 2: il codice";
    QTest::newRow("code in lower case") << QByteArray("ROMA,h501\r\n") << "riga 1: il codice";
    QTest::newRow("code with a letter for a digit") << QByteArray("ROMA,H5O1") << "riga 1: il";
    QTest::newRow("LF line ends") << QByteArray("ROMA,H501\r\nMILANO,F205\nX,A001\r\n")
                                  << "riga 2: la riga finisce con LF";
    QTest::newRow("over 4 MiB") << QByteArray("ROMA,H501\r\n").repeated(400 * 1024)
                                << "supera il limite di 4 MiB";
}

void TestReferenceTable::damagedTableAnswersNothing() {
    QFETCH(QByteArray, table);
    QFETCH(QString, why);
    test::ScratchFolder folder;
    writeTable(table);
    ReferenceTable reference(kTableFile);
    const Status read = reference.refresh();
    QVERIFY(!read.ok());
    QVERIFY2(read.error().contains(why), qPrintable(read.error()));
    QVERIFY(read.error().contains(QStringLiteral("FileCodComuni.txt")));
    QVERIFY(reference.names().isEmpty());
    QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), Code());
    QCOMPARE(reference.nameByCode(QStringLiteral("H501")), QString());
}

void TestReferenceTable::readsAgainWhenTheFileChangesOrGoes() {
    test::ScratchFolder folder;
    ReferenceTable reference(kTableFile);
    QVERIFY(reference.refresh().error().contains(QStringLiteral("FileCodComuni.txt")));
    QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), Code());

    writeTable("ROMA,H501\r\nMILANO,F205\r\n");
    QVERIFY(reference.refresh().ok());
    QCOMPARE(reference.nameByCode(QStringLiteral("F205")), QStringLiteral("MILANO"));
    // Same size, so only the modification time tells.
    const QDateTime before = QFileInfo(kTableFile).lastModified();
    writeTable("ROMA,H502\r\nMILANO,F205\r\n");
    QFile file(kTableFile);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(before.addSecs(5), QFileDevice::FileModificationTime));
    file.close();
    QVERIFY(reference.refresh().ok());
    QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), Code("H502"));
    writeTable("ROMA,H501\r\nMILANO F205\r\n");
    QVERIFY(!reference.refresh().ok());
    QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), Code());

    QVERIFY(QFile::remove(kTableFile));
    QVERIFY(!reference.refresh().ok());
    QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), Code());
}

void TestReferenceTable::followsTheCurrentFolder() {
    test::ScratchFolder first;
    writeTable("ROMA,H501\r\n");
    ReferenceTable reference(kTableFile);
    QVERIFY(reference.refresh().ok());
    {
        test::ScratchFolder second;
        writeTable("ROMA,Z999\r\n");
        QVERIFY(reference.refresh().ok());
        QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), Code("Z999"));
    }
    QVERIFY(reference.refresh().ok());
    QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), Code("H501"));
}

QTEST_GUILESS_MAIN(TestReferenceTable)
#include "tst_referencetable.moc"
