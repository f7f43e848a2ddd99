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

class TestReferenceTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lookups();
    void damagedTableAnswersNothing();
    void readsAgainWhenTheFileChangesGoesOrTheFolderChanges();
};

// Homonyms, a repeated code, a trailing blank, extra fields, a Windows-1252 capital, an empty name,
// a lone CR, a last line without its end. Exact names only: the first line wins, nothing is
// trimmed, case counts.
void TestReferenceTable::lookups() {
    test::ScratchFolder folder;
    writeTable("ROMA,H501\r\nABBADIA,A002\r\nABBADIA,A003\r\nSAN PAOLO,X111,EXTRA\r\n"
               "MILANO ,F205\r\n\xC0GLIE,A100\r\nALTRA,A002\r\n,Z999\rULTIMA,U001");
    ReferenceTable reference(kTableFile);
    QVERIFY(reference.refresh().ok());
    QCOMPARE(reference.names(), QStringList({"ROMA", "ABBADIA", "ABBADIA", "SAN PAOLO", "MILANO ",
                                             QStringLiteral("\u00C0GLIE"), "ALTRA", "", "ULTIMA"}));
    const std::pair<QString, Code> byName[] = {
        {"ROMA", "H501"},    {"ABBADIA", "A002"},   {"ROMA ", {}},
        {"roma", {}},        {"ROM", {}},           {"MILANO", {}},
        {"MILANO ", "F205"}, {"SAN PAOLO", "X111"}, {"\u00C0GLIE", "A100"},
        {"", "Z999"},        {"ULTIMA", "U001"}};
    for (const auto& [name, code] : byName)
        QCOMPARE(reference.lookupName(name), code);
    const std::pair<const char*, const char*> byCode[] = {
        {"A002", "ABBADIA"}, {"A003", "ABBADIA"}, {"Z998", ""},
        {"h501", ""},        {"A0:0", ""}, // no code, though read as digits it would be A100
        {"F205", "MILANO "}};
    for (const auto& [code, name] : byCode)
        QCOMPARE(reference.nameByCode(QString(code)), QString(name));
}

// Why the table is refused, and that it then answers nothing.
void TestReferenceTable::damagedTableAnswersNothing() {
    const std::pair<QByteArray, QString> cases[] = {
        {"ROMA,H501\r\nMILANO F205\r\n", "riga 2: manca la virgola"},
        {"ROMA,H501\r\n\r\nMILANO,F205", "riga 2: manca"},
        {"ROMA,H501\r\nZIMBABWE,Z3\r\n", "riga 2: il codice \u00ABZ3\u00BB non"},
        {"ROMA,h501\r\n", "riga 1: il codice"},
        {"ROMA,H5O1", "riga 1: il codice"},
        {"ROMA,H501\r\nMILANO,F205\nX,A001\r\n", "riga 2: la riga finisce con LF"},
        {QByteArray("ROMA,H501\r\n").repeated(ReferenceTable::kMaxFileBytes / 11 + 1),
         "supera il limite di 4 MiB"},
    };
    for (const auto& [table, why] : cases) {
        test::ScratchFolder folder;
        writeTable(table);
        ReferenceTable reference(kTableFile);
        const Status read = reference.refresh();
        QVERIFY2(!read.ok() && read.error().contains(why), qPrintable(read.error()));
        QVERIFY(read.error().contains(QStringLiteral("FileCodComuni.txt")));
        QVERIFY(reference.names().isEmpty());
        QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), Code());
        QCOMPARE(reference.nameByCode(QStringLiteral("H501")), QString());
    }
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
