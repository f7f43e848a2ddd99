#include "cli/cli.h"
#include "core/import/importfile.h"
#include "support/places.h"

#include <QDir>
#include <QProcess>
#include <QTest>
#include <sstream>

using namespace velmora;
using namespace velmora::test;

namespace {

const QByteArray kRoman = "rossi,mario,H501,,05/01/1970,Z000,,M,RSSMRA70A05H501F\r\n";
const QByteArray kParisian = "dupont,marie,,parigi,1999-12-31,110,,F,,1234567\r\n";
const QByteArray kNoSex = "bianchi,anna,,,01/02/1980,Z110,,,\r\n";
const QByteArray kWrongTaxCode = "rossi,mario,F205,,05/01/1970,Z000,,M,RSSMRA70A05H501F\r\n";
const QByteArray kConfig = "UFFICIO\r\nROMA\r\nLAVORO\r\n 1\r\n\r\n\r\n\r\n";

struct Run {
    int status;
    QString out;
    QString err;
};

Run runCli(const QStringList& arguments, const QByteArray& input = {}) {
    std::istringstream in(input.toStdString());
    std::ostringstream out;
    std::ostringstream err;
    cli::Io io{in, out, err};
    const int status = cli::run(arguments, io);
    return {status, QString::fromStdString(out.str()), QString::fromStdString(err.str())};
}

// What a batch needs besides its file; `leaveOut` drops one option with its value.
QStringList batchArguments(const QString& file, const QString& leaveOut = {}) {
    const QStringList pairs{"--type", "0",      "--purpose",  "LAVORO", "--protocol",
                            "123",    "--date", "01/03/2010", "--dest", "lotti"};
    QStringList arguments{"batch", file};
    for (qsizetype i = 0; i < pairs.size(); i += 2) {
        if (pairs[i] != leaveOut)
            arguments << pairs[i] << pairs[i + 1];
    }
    return arguments;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A refusal of the import as the command line prints it.
QString plain(QString message) {
    return message.replace("\r\n", "\n");
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commands_data();
    void commands();
    void helpNamesEveryCommandAndTheProgramRuns();
    void check_data();
    void check();
    void batch_data();
    void batch();
    void pdfRefusalsThenTheFormData();
    void outputThatCannotBeWrittenIsAFailure_data();
    void outputThatCannotBeWrittenIsAFailure();
};

void TestCli::commands_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<int>("status");
    const QByteArray none;

    // The tax code rules are the core's: here only how the answers reach the terminal.
    QTest::newRow("lines in order")
        << QStringList{"taxcode", "-"}
        << QByteArray("MRTMTT25D09F205Z\tF205\nRSSMRA80A01H501U\tF205\n"
                      "MRTMTT25D09F205A\tF205\r\n\nRSSMRA80A01H501U\tH501")
        << QByteArray("Corretto\nErrato\nWarning\nErrato\nCorretto\n") << 0;

    QTest::newRow("no command") << QStringList{} << none << none << 2;
    QTest::newRow("unknown command") << QStringList{"tax"} << none << none << 2;
    QTest::newRow("taxcode without place")
        << QStringList{"taxcode", "MRTMTT25D09F205Z"} << none << none << 2;
    QTest::newRow("--workdir then the command")
        << QStringList{"--workdir", ".", "taxcode", "MRTMTT25D09F205Z", "F205"} << none
        << QByteArray("Corretto\n") << 0;
    QTest::newRow("--workdir that is not there")
        << QStringList{"--workdir", "nonesiste", "taxcode", "MRTMTT25D09F205Z", "F205"} << none
        << none << 2;
    QTest::newRow("--workdir alone") << QStringList{"--workdir"} << none << none << 2;
}

void TestCli::commands() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    QFETCH(int, status);
    const Run run = runCli(arguments, input);
    QCOMPARE(run.status, status);
    QCOMPARE(run.out.toUtf8(), output);
    // Wrong usage says so on standard error, and only then.
    QCOMPARE(run.err.isEmpty(), status == 0);
}

void TestCli::helpNamesEveryCommandAndTheProgramRuns() {
    const Run help = runCli({QStringLiteral("--help")});
    QCOMPARE(help.status, 0);
    QVERIFY(help.err.isEmpty());
    for (const char* usage :
         {"taxcode CODICE LUOGO", "taxcode -", "check FILE", "batch FILE", "pdf --type N"})
        QVERIFY2(help.out.contains(QStringLiteral("velmora-cli ") + usage), usage);

    QProcess process;
    process.start(QStringLiteral(VELMORA_CLI), {QStringLiteral("taxcode"), QStringLiteral("-")});
    QVERIFY(process.waitForStarted());
    process.write("RSSMRA80A01H501U\tH501\nRSSMRA80A01H501U\tF205\n");
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished());
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(process.readAllStandardOutput(), QByteArray("Corretto\nErrato\n"));
}

void TestCli::check_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("error"); // what standard error begins with
    QTest::addColumn<QByteArray>("states");
    const QString none;
    const QByteArray states = kStates;
    QTest::newRow("every row passes")
        << "soggetti.csv" << kRoman + kParisian << QStringList() << 0 << none << none << states;
    QTest::newRow("a reason per failing row")
        << "soggetti.csv"
        << kRoman + kNoSex + kParisian + kWrongTaxCode +
               QByteArray(kParisian).replace("1234567", "123456")
        << QStringList() << 1
        << QStringLiteral("2: Sesso diverso da M o F\n"
                          "4: Codice fiscale non valido per il comune di nascita\n"
                          "5: CUI non di 7 caratteri\n")
        << none << states;
    QTest::newRow("--format over the extension")
        << "soggetti.csv" << kRoman << QStringList{"--format", "txt"} << 2 << none
        << plain(importGeneralMessage(1)) << states;
    QTest::newRow("delimited lines in a .txt file")
        << "soggetti.txt" << kRoman << QStringList{"--format", "csv"} << 0 << none << none
        << states;
    QTest::newRow("no such file") << "altro.csv" << QByteArray() << QStringList() << 2 << none
                                  << plain(importGeneralMessage(0)) + "\n"
                                  << states;
    QTest::newRow("a folder") << "ref" << QByteArray() << QStringList() << 2 << none
                              << plain(importGeneralMessage(0)) + "\n"
                              << states;
    QTest::newRow("no place table") << "soggetti.csv" << kRoman << QStringList() << 2 << none
                                    << "Manca la tabella dei luoghi " << QByteArray();
    QTest::newRow("damaged place table")
        << "soggetti.csv" << kRoman << QStringList() << 2 << none << "La tabella dei luoghi "
        << QByteArray("ITALIA,Z000\r\nZIMBABWE,Z3\r\n");
    QTest::newRow("unknown format") << "soggetti.csv" << kRoman << QStringList{"--format", "xls"}
                                    << 2 << none << "velmora-cli check: --format" << states;
}

void TestCli::check() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QString, output);
    QFETCH(QString, error);
    QFETCH(QByteArray, states);
    ScratchFolder folder;
    writePlaceTables(folder);
    if (!bytes.isEmpty())
        writeBytes(folder.path(name), bytes);
    const QString table = folder.path("ref/FileCodStati.txt");
    QFile::remove(table);
    if (!states.isEmpty())
        writeBytes(table, states);
    const Run run = runCli(QStringList{"check", folder.path(name)} + options);
    QCOMPARE(run.status, status);
    QCOMPARE(run.out, output);
    QVERIFY2(run.err.startsWith(error), qPrintable(run.err));
    // A refusal before the first line is read names the file or the table it is about.
    if (error.endsWith(u'\n') || error.startsWith("Manca"))
        QVERIFY2(run.err.contains(error.startsWith("Manca") ? table : folder.path(name)),
                 qPrintable(run.err));
    QCOMPARE(run.err.isEmpty(), error.isEmpty());
}

void TestCli::batch_data() {
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QString>("leaveOut");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");
    const QByteArray valid = kRoman + kParisian;
    const QString all;
    QTest::newRow("written, configuration untouched")
        << kConfig << valid << QStringList{"--german", "--purpose", "lavoro"} << all << 0
        << QString();
    QTest::newRow("no office type")
        << QByteArray() << valid << QStringList() << all << 1 << "Inserire il Tipo Ufficio\n";
    QTest::newRow("office given, purpose missing")
        << QByteArray() << valid << QStringList{"--office-type", "UFF", "--office-seat", "ROMA"}
        << "--purpose" << 1
        << "ATT! Sono stati riscontrati i seguenti errori:\n\n- Finalit\u00E0 non immessa\n";
    QTest::newRow("no type, future date")
        << kConfig << valid << QStringList{"--date", "01/01/2999"} << "--type" << 1
        << "ATT! Sono stati riscontrati i seguenti errori:\n\n- Tipo certificato non immesso\n"
           "- Data protocollo non immessa o non valida\n";
    QTest::newRow("failing row") << kConfig << kRoman + kNoSex << QStringList() << all << 1
                                 << "2: Sesso diverso da M o F\n";
    QTest::newRow("import refused")
        << kConfig << kRoman + "\r\n"
        << QStringList() << all << 2 << plain(importGeneralMessage(2)) + "\n";
    QTest::newRow("CR LF in the purpose")
        << kConfig << valid << QStringList{"--purpose", "LAVORO\r\nFinto: 1"} << all << 2
        << "velmora-cli batch: --purpose: carattere non ammesso: U+000D";
    QTest::newRow("purpose of 251")
        << kConfig << valid << QStringList{"--purpose", QString(251, 'A')} << all << 2
        << "velmora-cli batch: --purpose: Massimo 250";
    QTest::newRow("slash in the protocol")
        << kConfig << valid << QStringList{"--protocol", "12/a"} << all << 2
        << "velmora-cli batch: --protocol: carattere non ammesso: \u00AB/\u00BB";
    QTest::newRow("tab in the office seat")
        << kConfig << valid << QStringList{"--office-seat", "RO\tMA"} << all << 2
        << "velmora-cli batch: --office-seat: carattere non ammesso: U+0009";
    QTest::newRow("type out of the list") << kConfig << valid << QStringList{"--type", "5"}
                                          << "--type" << 2 << "velmora-cli batch: --type";
    QTest::newRow("no destination")
        << kConfig << valid << QStringList() << "--dest" << 2 << "velmora-cli batch: serve --dest";
}

void TestCli::batch() {
    QFETCH(QByteArray, config);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, extra);
    QFETCH(QString, leaveOut);
    QFETCH(int, status);
    QFETCH(QString, error);
    ScratchFolder folder;
    writePlaceTables(folder);
    if (!config.isEmpty())
        writeBytes(folder.path("config.ini"), config);
    writeBytes(folder.path("soggetti.csv"), bytes);
    QDir(folder.path()).mkdir("lotti");
    const Run run = runCli(batchArguments(folder.path("soggetti.csv"), leaveOut) + extra);
    QCOMPARE(run.status, status);
    QVERIFY2(run.err.startsWith(error), qPrintable(run.err));
    QCOMPARE(run.err.isEmpty(), error.isEmpty());
    QCOMPARE(readAll(folder.path("config.ini")), config);
    if (status != 0) {
        QVERIFY(run.out.isEmpty());
        QVERIFY(QDir(folder.path("lotti")).isEmpty());
        return;
    }
    QVERIFY(run.out.endsWith(u'\n'));
    const QDir batch(run.out.trimmed());
    QVERIFY(batch.path().startsWith(QDir(folder.path("lotti")).absoluteFilePath("Velmora_")));
    const QStringList files = batch.entryList(QDir::Files, QDir::Name);
    QCOMPARE(files.size(), 2);
    QVERIFY(files[0].startsWith("Nominativi_Velmora_"));
    const QByteArray summary = readAll(batch.filePath(files[1]));
    QVERIFY(summary.contains(kCertificateTypes[0].toLatin1()));
    QVERIFY(summary.contains("Lingua tedesca: Si\r\n"));
    QVERIFY(summary.contains("Finalit\xE0: LAVORO")); // typed letters become capitals
}

namespace {

QStringList pdfArguments(const QString& type) {
    return {"pdf",    "--type",        type,         "--purpose",     "LAVORO",    "--protocol",
            "12a",    "--date",        "01/02/2010", "--subjects",    "12",        "--dest",
            "moduli", "--office-type", "PROCURA",    "--office-seat", "FORL\u00CC"};
}

} // namespace

void TestCli::pdfRefusalsThenTheFormData() {
    ScratchFolder folder;
    QDir(folder.path()).mkdir("moduli");
    QStringList incomplete = pdfArguments("2");
    incomplete.replace(incomplete.indexOf("12a"), QString());
    Run run = runCli(incomplete);
    QCOMPARE(run.status, 1);
    QCOMPARE(run.err, QStringLiteral("Completare correttamente tutti i campi della richiesta\n"));
    run = runCli(pdfArguments("2")); // no template in the working folder
    QCOMPARE(run.status, 1);
    QVERIFY(!run.err.isEmpty());
    QVERIFY(QDir(folder.path("moduli")).isEmpty());

    QDir(folder.path()).mkpath("ref");
    QVERIFY(QFile::copy(VELMORA_FORM_TEMPLATE, folder.path("ref/modello.pdf")));
    run = runCli(pdfArguments("4"));
    QCOMPARE(run.status, 0);
    QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
    const QStringList paths = run.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(paths.size(), 2);
    QVERIFY(paths[0].startsWith(QDir(folder.path("moduli")).absoluteFilePath("Modulo_Velmora_")));
    QVERIFY(paths[0].endsWith(".fdf") && paths[1].endsWith(".pdf"));
    const QByteArray data = readAll(paths[0]);
    QVERIFY(data.contains("/T (numSoggetti) /V (12)"));
    QVERIFY(data.contains("/T (Box29) /V /On"));
    QVERIFY(QFile::exists(paths[1]));
    QVERIFY(!QFile::exists(folder.path("config.ini")));
}

void TestCli::outputThatCannotBeWrittenIsAFailure_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("tax codes from input") << QStringList{"taxcode", "-"};
    QTest::newRow("batch") << batchArguments("soggetti.csv") +
                                  QStringList{"--office-type", "UFF", "--office-seat", "ROMA"};
}

void TestCli::outputThatCannotBeWrittenIsAFailure() {
    QFETCH(QStringList, arguments);
    ScratchFolder folder;
    writePlaceTables(folder);
    writeBytes(folder.path("soggetti.csv"), kRoman);
    QDir(folder.path()).mkdir("lotti");
    QProcess process;
    process.setWorkingDirectory(folder.path());
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    process.start(QStringLiteral(VELMORA_CLI), arguments);
    QVERIFY(process.waitForStarted());
    process.write("RSSMRA80A01H501U\tH501\n");
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished());
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(process.readAllStandardError().startsWith(
        "velmora-cli: impossibile scrivere sullo standard output"));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
