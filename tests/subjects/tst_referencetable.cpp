#include "subjects/referencetable.h"
#include "support/recorders.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace velmora;

namespace {

const QString kTableFile = QStringLiteral("ref/FileCodComuni.txt");

// Homonyms, a trailing blank inside the file, extra fields, lines without a comma, an empty
// code, a Windows-1252 capital.
const QByteArray kTable = "ROMA,H501\r\n"
                          "ABBADIA,A002\r\n"
                          "ABBADIA,A003\r\n"
                          "SAN PAOLO,X111,EXTRA,MORE\r\n"
                          "SENZA VIRGOLA\r\n"
                          "\r\n"
                          "MILANO ,F205\r\n"
                          "\xC0GLIE,A100\r\n"
                          "CODICE VUOTO,\r\n"
                          "ULTIMA,U001";

void writeTable(const QString& path, const QByteArray& bytes) {
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestReferenceTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lookupName_data();
    void lookupName();
    void nameByCode_data();
    void nameByCode();
    void namesInFileOrderWithDuplicates();
    void emptyFileAnswersNothing();
    void missingFileIsAnErrorUntilItAppears();
    void readsAgainWhenTheFileChanges();
    void followsTheCurrentFolder();
};

void TestReferenceTable::lookupName_data() {
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::optional<QString>>("code");
    const std::optional<QString> none;
    QTest::newRow("exact") << kTable << "ROMA" << std::optional<QString>("H501");
    QTest::newRow("homonym: first line") << kTable << "ABBADIA" << std::optional<QString>("A002");
    QTest::newRow("typed trailing blank") << kTable << "ROMA " << none;
    QTest::newRow("lower case") << kTable << "roma" << none;
    QTest::newRow("prefix") << kTable << "ROM" << none;
    QTest::newRow("blank in the file, typed without") << kTable << "MILANO" << none;
    QTest::newRow("blank in the file, typed with")
        << kTable << "MILANO " << std::optional<QString>("F205");
    QTest::newRow("extra fields ignored")
        << kTable << "SAN PAOLO" << std::optional<QString>("X111");
    QTest::newRow("line without comma") << kTable << "SENZA VIRGOLA" << none;
    QTest::newRow("empty name") << kTable << "" << none;
    QTest::newRow("empty name in the file")
        << QByteArray("ROMA,H501\r\n,Z999\r\n") << "" << std::optional<QString>("Z999");
    QTest::newRow("windows-1252") << kTable << "\u00C0GLIE" << std::optional<QString>("A100");
    QTest::newRow("empty code") << kTable << "CODICE VUOTO" << std::optional<QString>("");
    QTest::newRow("last line without line end")
        << kTable << "ULTIMA" << std::optional<QString>("U001");
    QTest::newRow("lone cr ends a line")
        << QByteArray("ROMA,H501\rMILANO,F205") << "MILANO" << std::optional<QString>("F205");
}

void TestReferenceTable::lookupName() {
    QFETCH(QByteArray, table);
    QFETCH(QString, name);
    QFETCH(std::optional<QString>, code);
    test::ScratchFolder folder;
    writeTable(folder.path(kTableFile), table);
    ReferenceTable reference(kTableFile);
    QCOMPARE(reference.refresh(), QString());
    QCOMPARE(reference.lookupName(name), code);
}

void TestReferenceTable::nameByCode_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::newRow("first of two") << "A002"
                                  << "ABBADIA";
    QTest::newRow("second of two") << "A003"
                                   << "ABBADIA";
    QTest::newRow("absent") << "Z999"
                            << "";
    QTest::newRow("lower case") << "h501"
                                << "";
    QTest::newRow("trailing blank") << "H501 "
                                    << "";
    QTest::newRow("third field is no code") << "EXTRA"
                                            << "";
    QTest::newRow("blank kept in the name") << "F205"
                                            << "MILANO ";
    QTest::newRow("empty code") << ""
                                << "CODICE VUOTO";
}

void TestReferenceTable::nameByCode() {
    QFETCH(QString, code);
    QFETCH(QString, name);
    test::ScratchFolder folder;
    writeTable(folder.path(kTableFile), kTable);
    ReferenceTable reference(kTableFile);
    QCOMPARE(reference.refresh(), QString());
    QCOMPARE(reference.nameByCode(code), name);
}

void TestReferenceTable::namesInFileOrderWithDuplicates() {
    test::ScratchFolder folder;
    writeTable(folder.path(kTableFile), kTable);
    ReferenceTable reference(kTableFile);
    QCOMPARE(reference.refresh(), QString());
    const QStringList expected{"ROMA",         "ABBADIA", "ABBADIA",
                               "SAN PAOLO",    "MILANO ", QStringLiteral("\u00C0GLIE"),
                               "CODICE VUOTO", "ULTIMA"};
    QCOMPARE(reference.names(), expected);
}

void TestReferenceTable::emptyFileAnswersNothing() {
    test::ScratchFolder folder;
    writeTable(folder.path(kTableFile), QByteArray());
    ReferenceTable reference(kTableFile);
    QCOMPARE(reference.refresh(), QString());
    QVERIFY(reference.names().isEmpty());
    QCOMPARE(reference.nameByCode(QStringLiteral("H501")), QString());
    QCOMPARE(reference.lookupName(QString()), std::nullopt);
}

void TestReferenceTable::missingFileIsAnErrorUntilItAppears() {
    test::ScratchFolder folder;
    ReferenceTable reference(kTableFile);
    const QString error = reference.refresh();
    QVERIFY(error.contains(QStringLiteral("FileCodComuni.txt")));
    QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), std::nullopt);
    QVERIFY(reference.names().isEmpty());

    writeTable(folder.path(kTableFile), "ROMA,H501\r\n");
    QCOMPARE(reference.refresh(), QString());
    QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), std::optional<QString>("H501"));
}

void TestReferenceTable::readsAgainWhenTheFileChanges() {
    test::ScratchFolder folder;
    const QString path = folder.path(kTableFile);
    writeTable(path, "ROMA,H501\r\n");
    ReferenceTable reference(kTableFile);
    QCOMPARE(reference.refresh(), QString());
    QCOMPARE(reference.nameByCode(QStringLiteral("H501")), QStringLiteral("ROMA"));
    QCOMPARE(reference.nameByCode(QStringLiteral("F205")), QString());

    writeTable(path, "ROMA,H501\r\nMILANO,F205\r\n");
    QCOMPARE(reference.refresh(), QString());
    QCOMPARE(reference.nameByCode(QStringLiteral("F205")), QStringLiteral("MILANO"));

    // Same size, so only the modification time tells.
    const QDateTime before = QFileInfo(path).lastModified();
    writeTable(path, "ROMA,H502\r\nMILANO,F205\r\n");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(before.addSecs(5), QFileDevice::FileModificationTime));
    file.close();
    QCOMPARE(reference.refresh(), QString());
    QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), std::optional<QString>("H502"));

    QVERIFY(QFile::remove(path));
    QVERIFY(!reference.refresh().isEmpty());
    QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), std::nullopt);
}

void TestReferenceTable::followsTheCurrentFolder() {
    test::ScratchFolder first;
    writeTable(first.path(kTableFile), "ROMA,H501\r\n");
    ReferenceTable reference(kTableFile);
    QCOMPARE(reference.refresh(), QString());
    QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), std::optional<QString>("H501"));
    {
        test::ScratchFolder second;
        writeTable(second.path(kTableFile), "ROMA,Z999\r\n");
        QCOMPARE(reference.refresh(), QString());
        QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), std::optional<QString>("Z999"));
    }
    QCOMPARE(reference.refresh(), QString());
    QCOMPARE(reference.lookupName(QStringLiteral("ROMA")), std::optional<QString>("H501"));
}

QTEST_GUILESS_MAIN(TestReferenceTable)
#include "tst_referencetable.moc"
