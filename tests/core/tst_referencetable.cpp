#include "core/subjects/referencetable.h"
#include "support/recorders.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace velmora;

namespace {

using Code = std::optional<QString>;
const QString kTableFile = QStringLiteral("ref/FileCodComuni.txt");

// Homonyms, a trailing blank inside the file, extra fields, lines without a comma, an empty
// code, a Windows-1252 capital.
const QByteArray kTable =
    "ROMA,H501\r\nABBADIA,A002\r\nABBADIA,A003\r\nSAN PAOLO,X111,EXTRA,MORE\r\n"
    "SENZA VIRGOLA\r\n\r\nMILANO ,F205\r\n\xC0GLIE,A100\r\nCODICE VUOTO,\r\n"
    "ULTIMA,U001";

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
    void lookupName_data();
    void lookupName();
    void namesAndCodesInFileOrder();
    void readsAgainWhenTheFileChangesOrGoes();
    void followsTheCurrentFolder();
};

void TestReferenceTable::lookupName_data() {
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("name");
    QTest::addColumn<Code>("code");
    QTest::newRow("exact") << kTable << "ROMA" << Code("H501");
    QTest::newRow("homonym: first line") << kTable << "ABBADIA" << Code("A002");
    QTest::newRow("typed trailing blank") << kTable << "ROMA " << Code();
    QTest::newRow("lower case") << kTable << "roma" << Code();
    QTest::newRow("prefix") << kTable << "ROM" << Code();
    QTest::newRow("blank in the file, typed without") << kTable << "MILANO" << Code();
    QTest::newRow("blank in the file, typed with") << kTable << "MILANO " << Code("F205");
    QTest::newRow("extra fields ignored") << kTable << "SAN PAOLO" << Code("X111");
    QTest::newRow("line without comma") << kTable << "SENZA VIRGOLA" << Code();
    QTest::newRow("empty name") << kTable << "" << Code();
    QTest::newRow("empty name in the file")
        << QByteArray("ROMA,H501\r\n,Z999\r\n") << "" << Code("Z999");
    QTest::newRow("windows-1252") << kTable << "\u00C0GLIE" << Code("A100");
    QTest::newRow("empty code") << kTable << "CODICE VUOTO" << Code("");
    QTest::newRow("last line without line end") << kTable << "ULTIMA" << Code("U001");
    QTest::newRow("lone cr ends a line")
        << QByteArray("ROMA,H501\rMILANO,F205") << "MILANO" << Code("F205");
    QTest::newRow("empty file") << QByteArray() << "" << Code();
}

void TestReferenceTable::lookupName() {
    QFETCH(QByteArray, table);
    QFETCH(QString, name);
    QFETCH(Code, code);
    test::ScratchFolder folder;
    writeTable(table);
    ReferenceTable reference(kTableFile);
    QVERIFY(reference.refresh().ok());
    QCOMPARE(reference.lookupName(name), code);
}

void TestReferenceTable::namesAndCodesInFileOrder() {
    test::ScratchFolder folder;
    writeTable(kTable);
    ReferenceTable reference(kTableFile);
    QVERIFY(reference.refresh().ok());
    QCOMPARE(reference.names(),
             QStringList({"ROMA", "ABBADIA", "ABBADIA", "SAN PAOLO", "MILANO ",
                          QStringLiteral("\u00C0GLIE"), "CODICE VUOTO", "ULTIMA"}));
    // Code to name: the first line wins, no trimming or case folding, only the second field.
    const QList<std::pair<const char*, const char*>> byCode = {
        {"A002", "ABBADIA"}, {"A003", "ABBADIA"}, {"Z999", ""},        {"h501", ""},
        {"H501 ", ""},       {"EXTRA", ""},       {"F205", "MILANO "}, {"", "CODICE VUOTO"}};
    for (const auto& [code, name] : byCode)
        QCOMPARE(reference.nameByCode(code), QString(name));

    writeTable(QByteArray());
    QVERIFY(reference.refresh().ok());
    QVERIFY(reference.names().isEmpty());
    QCOMPARE(reference.nameByCode(QStringLiteral("H501")), QString());
}

void TestReferenceTable::readsAgainWhenTheFileChangesOrGoes() {
    test::ScratchFolder folder;
    ReferenceTable reference(kTableFile);
    QVERIFY(reference.refresh().error().contains(QStringLiteral("FileCodComuni.txt")));
    QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), Code());
    QVERIFY(reference.names().isEmpty());

    writeTable("ROMA,H501\r\n");
    QVERIFY(reference.refresh().ok());
    QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), Code("H501"));
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
