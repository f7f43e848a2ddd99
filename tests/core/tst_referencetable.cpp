#include "core/subjects/referencetable.h"
#include "support/recorders.h"

#include <QTest>

using namespace velmora;

namespace {

using Code = std::optional<QString>;
const QString kTableFile = QStringLiteral("ref/FileCodComuni.txt");

void writeTable(const QByteArray& bytes) {
    QVERIFY(QDir().mkpath(QStringLiteral("ref")));
    QFile file(kTableFile);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

// Homonyms, a repeated code, a trailing blank, extra fields, a Windows-1252 capital, an empty name,
// a lone CR, a last line without its end. Exact names only: the first line wins, nothing is
// trimmed, case counts.
const QByteArray kLookupTable =
    "ROMA,H501\r\nABBADIA,A002\r\nABBADIA,A003\r\nSAN PAOLO,X111,EXTRA\r\n"
    "MILANO ,F205\r\n\xC0GLIE,A100\r\nALTRA,A002\r\n,Z999\rULTIMA,U001";

class TestReferenceTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lookupByName_data();
    void lookupByName();
    void lookupByCode_data();
    void lookupByCode();
    void damagedTableAnswersNothing_data();
    void damagedTableAnswersNothing();
    void largestTableIsRead();
    void readsAgainWhenTheFileChangesGoesOrTheFolderChanges();
};

void TestReferenceTable::lookupByName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<Code>("code");
    for (const auto& [name, code] :
         std::initializer_list<std::pair<const char*, Code>>{{"ROMA", "H501"},
                                                             {"ABBADIA", "A002"},
                                                             {"ROMA ", {}},
                                                             {"roma", {}},
                                                             {"ROM", {}},
                                                             {"MILANO", {}},
                                                             {"MILANO ", "F205"},
                                                             {"SAN PAOLO", "X111"},
                                                             {"\u00C0GLIE", "A100"},
                                                             {"", "Z999"},
                                                             {"ULTIMA", "U001"}})
        QTest::addRow("\"%s\"", name) << QString::fromUtf8(name) << code;
}

void TestReferenceTable::lookupByName() {
    QFETCH(QString, name);
    QFETCH(Code, code);
    test::ScratchFolder folder;
    writeTable(kLookupTable);
    ReferenceTable reference(kTableFile);
    QVERIFY(reference.refresh().ok());
    QCOMPARE(reference.lookupName(name), code);
}

// The line of a code indexes the names, which keep the file's order.
void TestReferenceTable::lookupByCode_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    // "A0:0" is no code, though read as digits it would be A100.
    for (const auto& [code, name] :
         std::initializer_list<std::pair<const char*, const char*>>{{"A002", "ABBADIA"},
                                                                    {"A003", "ABBADIA"},
                                                                    {"Z998", ""},
                                                                    {"h501", ""},
                                                                    {"A0:0", ""},
                                                                    {"F205", "MILANO "}})
        QTest::newRow(code) << QString::fromLatin1(code) << QString::fromLatin1(name);
}

void TestReferenceTable::lookupByCode() {
    QFETCH(QString, code);
    QFETCH(QString, name);
    test::ScratchFolder folder;
    writeTable(kLookupTable);
    ReferenceTable reference(kTableFile);
    QVERIFY(reference.refresh().ok());
    QCOMPARE(reference.names(), QStringList({"ROMA", "ABBADIA", "ABBADIA", "SAN PAOLO", "MILANO ",
                                             QStringLiteral("\u00C0GLIE"), "ALTRA", "", "ULTIMA"}));
    QCOMPARE(reference.names().value(reference.lineOfCode(code)), name);
}

// Why the table is refused, and that it then answers nothing.
void TestReferenceTable::damagedTableAnswersNothing_data() {
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("why");
    QTest::newRow("no comma") << QByteArray("ROMA,H501\r\nMILANO F205\r\n")
                              << "riga 2: manca la virgola";
    QTest::newRow("empty line") << QByteArray("ROMA,H501\r\n\r\nMILANO,F205") << "riga 2: manca";
    QTest::newRow("short code") << QByteArray("ROMA,H501\r\nZIMBABWE,Z3\r\n")
                                << "riga 2: il codice \u00ABZ3\u00BB non";
    QTest::newRow("small letter") << QByteArray("ROMA,h501\r\n") << "riga 1: il codice";
    QTest::newRow("letter O") << QByteArray("ROMA,H5O1") << "riga 1: il codice";
    QTest::newRow("LF") << QByteArray("ROMA,H501\r\nMILANO,F205\nX,A001\r\n")
                        << "riga 2: la riga finisce con LF";
    QTest::newRow("too large")
        << QByteArray("ROMA,H501\r\n").repeated(ReferenceTable::kMaxFileBytes / 11 + 1)
        << "supera il limite di 4 MiB";
}

void TestReferenceTable::damagedTableAnswersNothing() {
    QFETCH(QByteArray, table);
    QFETCH(QString, why);
    test::ScratchFolder folder;
    writeTable(table);
    ReferenceTable reference(kTableFile);
    const Status read = reference.refresh();
    QVERIFY2(!read.ok() && read.error().contains(why), qPrintable(read.error()));
    QVERIFY(read.error().contains(QStringLiteral("FileCodComuni.txt")));
    QVERIFY(reference.names().isEmpty());
    QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), Code());
    QCOMPARE(reference.lineOfCode(QStringLiteral("H501")), -1);
}

void TestReferenceTable::largestTableIsRead() {
    test::ScratchFolder folder;
    writeTable(QByteArray("ROMA,H501\r\n").repeated(ReferenceTable::kMaxFileBytes / 11 - 1));
    QVERIFY(ReferenceTable(kTableFile).refresh().ok());
}

void TestReferenceTable::readsAgainWhenTheFileChangesGoesOrTheFolderChanges() {
    test::ScratchFolder folder;
    ReferenceTable reference(kTableFile);
    QVERIFY(reference.refresh().error().contains(QStringLiteral("FileCodComuni.txt")));
    writeTable("ROMA,H501\r\nMILANO,F205\r\n");
    QVERIFY(reference.refresh().ok());
    QCOMPARE(reference.names().value(reference.lineOfCode(u"F205")), QStringLiteral("MILANO"));
    // Same size, so only the modification time tells.
    const QDateTime before = QFileInfo(kTableFile).lastModified();
    writeTable("ROMA,H502\r\nMILANO,F205\r\n");
    QFile file(kTableFile);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(before.addSecs(5), QFileDevice::FileModificationTime));
    file.close();
    QVERIFY(reference.refresh().ok());
    QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), Code("H502"));
    {
        test::ScratchFolder second;
        writeTable("ROMA,Z999\r\n");
        QVERIFY(reference.refresh().ok());
        QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), Code("Z999"));
    }
    QVERIFY(reference.refresh().ok());
    QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), Code("H502"));
    QVERIFY(QFile::remove(kTableFile));
    QVERIFY(!reference.refresh().ok());
    QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), Code());
}

QTEST_GUILESS_MAIN(TestReferenceTable)
#include "tst_referencetable.moc"
