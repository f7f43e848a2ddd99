#include "cli/cli.h"

#include <QProcess>
#include <QTest>
#include <sstream>

using namespace velmora;

class TestCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commands_data();
    void commands();
    void helpNamesEveryCommand();
    void programReadsStandardInputAndRefusesWrongUsage();
};

void TestCli::commands_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<int>("status");
    const QByteArray none;

    QTest::newRow("correct") << QStringList{"taxcode", "MRTMTT25D09F205Z", "F205"} << none
                             << QByteArray("Corretto\n") << 0;
    QTest::newRow("warning") << QStringList{"taxcode", "MRTMTT25D09F205A", "F205"} << none
                             << QByteArray("Warning\n") << 0;
    QTest::newRow("wrong") << QStringList{"taxcode", "MRTMTT25D09F205Z", "H501"} << none
                           << QByteArray("Errato\n") << 0;
    QTest::newRow("non-ascii argument")
        << QStringList{"taxcode", QStringLiteral("MRTMT\u00C025D09F205Z"), "F205"} << none
        << QByteArray("Errato\n") << 0;
    QTest::newRow("lines in order")
        << QStringList{"taxcode", "-"}
        << QByteArray("MRTMTT25D09F205Z\tF205\nRSSMRA80A01H501U\tF205\n"
                      "MRTMTT25D09F205A\tF205\r\n\nRSSMRA80A01H501U\tH501")
        << QByteArray("Corretto\nErrato\nWarning\nErrato\nCorretto\n") << 0;
    QTest::newRow("line without tab")
        << QStringList{"taxcode", "-"} << QByteArray("MRTMTT25D09F205Z F205\n")
        << QByteArray("Errato\n") << 0;
    QTest::newRow("empty input") << QStringList{"taxcode", "-"} << none << none << 0;

    QTest::newRow("no command") << QStringList{} << none << none << 2;
    QTest::newRow("unknown command") << QStringList{"tax"} << none << none << 2;
    QTest::newRow("taxcode without place")
        << QStringList{"taxcode", "MRTMTT25D09F205Z"} << none << none << 2;
    QTest::newRow("taxcode alone") << QStringList{"taxcode"} << none << none << 2;
}

void TestCli::commands() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    QFETCH(int, status);
    std::istringstream in(input.toStdString());
    std::ostringstream out;
    std::ostringstream err;
    cli::Io io{in, out, err};
    QCOMPARE(cli::run(arguments, io), status);
    QCOMPARE(QByteArray::fromStdString(out.str()), output);
    // Wrong usage says so on standard error, and only then.
    QCOMPARE(err.str().empty(), status == 0);
}

void TestCli::helpNamesEveryCommand() {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    cli::Io io{in, out, err};
    QCOMPARE(cli::run({QStringLiteral("--help")}, io), 0);
    const QString help = QString::fromStdString(out.str());
    QVERIFY(help.contains(QStringLiteral("velmora-cli taxcode CODICE LUOGO")));
    QVERIFY(help.contains(QStringLiteral("velmora-cli taxcode -")));
    QVERIFY(err.str().empty());
}

void TestCli::programReadsStandardInputAndRefusesWrongUsage() {
    QProcess process;
    process.start(QStringLiteral(VELMORA_CLI), {QStringLiteral("taxcode"), QStringLiteral("-")});
    QVERIFY(process.waitForStarted());
    process.write("RSSMRA80A01H501U\tH501\nRSSMRA80A01H501U\tF205\n");
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished());
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(process.readAllStandardOutput(), QByteArray("Corretto\nErrato\n"));

    process.start(QStringLiteral(VELMORA_CLI), {QStringLiteral("nonesiste")});
    QVERIFY(process.waitForFinished());
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardOutput().isEmpty());
    QVERIFY(process.readAllStandardError().contains("nonesiste"));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
