#include "cli/cli.h"
#include "core/import/importfile.h"
#include "support/places.h"

#include <QDir>
#include <QProcess>
#include <QTest>
#include <sstream>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

const QByteArray kRoman = "rossi,mario,H501,,05/01/1970,Z000,,M,RSSMRA70A05H501F\r\n";
const QByteArray kParisian = "dupont,marie,,parigi,1999-12-31,110,,F,,1234567\r\n";
const QByteArray kValid = kRoman + kParisian;
const QByteArray kNoSex = "bianchi,anna,,,01/02/1980,Z110,,,\r\n";
const QByteArray kConfig = "UFFICIO\r\nROMA\r\nLAVORO\r\n 1\r\n\r\n\r\n\r\n";
#ifdef VELMORA_SANITIZED
const QString kMemoryLimit;
#else
const QString kMemoryLimit = QStringLiteral("ulimit -v 200000 && ");
#endif
const QString kErrors = QStringLiteral("ATT! Sono stati riscontrati i seguenti errori:\n\n");

struct Run {
    int status;
    QString out;
    QString err;
};

Run runCli(const QStringList& arguments, const QByteArray& input = {}) {
    std::istringstream in(input.toStdString());
    std::ostringstream out, err;
    cli::Io io{in, out, err};
    const int status = cli::run(arguments, io);
    return {status, QString::fromStdString(out.str()), QString::fromStdString(err.str())};
}

// A batch of soggetti.csv with `extra` options; `leaveOut` drops one option with its value.
QStringList batch(const QStringList& extra = {}, const QString& leaveOut = {}) {
    const QStringList pairs{"--type", "0",      "--purpose",  "LAVORO", "--protocol",
                            "123",    "--date", "01/03/2010", "--dest", "lotti"};
    QStringList arguments{"batch", "soggetti.csv"};
    for (qsizetype i = 0; i < pairs.size(); i += 2) {
        if (pairs[i] != leaveOut)
            arguments << pairs[i] << pairs[i + 1];
    }
    return arguments + extra;
}

QStringList pdf(const QString& type, const QString& protocol = "12a") {
    return {"pdf",    "--type",        type,         "--purpose",     "LAVORO",    "--protocol",
            protocol, "--date",        "01/02/2010", "--subjects",    "12",        "--dest",
            "moduli", "--office-type", "PROCURA",    "--office-seat", "FORL\u00CC"};
}

// A message as the command line prints it.
QString plain(QString message) {
    return message.replace("\r\n", "\n");
}

// The place tables, the subject file, config.ini and empty output folders.
void prepare(const ScratchFolder& folder, const QByteArray& subjects, const QByteArray& config,
             const QByteArray& states) {
    writePlaceTables(folder);
    writeBytes(folder.path("ref/FileCodStati.txt"), states);
    writeBytes(folder.path("config.ini"), config);
    for (const char* empty : {"ref/FileCodStati.txt", "config.ini"})
        if (QFileInfo(folder.path(empty)).size() == 0)
            QFile::remove(folder.path(empty));
    writeBytes(folder.path("soggetti.csv"), subjects);
    QDir(folder.path()).mkdir("lotti");
    QDir(folder.path()).mkdir("moduli");
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commands();
    void helpNamesEveryCommand();
    void batchAndPdfWriteTheirFiles();
    void streamsAndFilesAsTheShellGivesThem();
};

// Exit status, the beginning of standard error (which wrong usage and refusals fill, and only
// they) and standard output. A refused command writes nothing and never config.ini.
void TestCli::commands() {
    const ScratchFolder folder;
    const QString general = plain(importGeneralMessage(0)) + "\n";
    const QString states = folder.path("ref/FileCodStati.txt");
    const struct {
        int status;
        QStringList arguments;
        QString err = {};
        QString out = {};
        QByteArray input = kValid; // the subject file, and standard input
        QByteArray config = kConfig;
        QByteArray states = kStates;
    } cases[] = {
        // The tax code rules are the core's: here only how the answers reach the terminal.
        {0,
         {"taxcode", "-"},
         {},
         "Corretto\nErrato\nWarning\nErrato\nCorretto\n",
         "MRTMTT25D09F205Z\tF205\nRSSMRA80A01H501U\tF205\nMRTMTT25D09F205A\tF205\r\n\n"
         "RSSMRA80A01H501U\tH501"},
        {0,
         {"taxcode", "--compute", "ROSSI", "MARIO", "M", "05/01/1970", "H501"},
         {},
         "RSSMRA70A05H501F\n"},
        // UTF-8 or Windows-1252 line by line; a person without a sex is an error line.
        {0,
         {"taxcode", "--compute", "-"},
         {},
         "LOXNCL60P01H501G\nLOXNCL60P01H501G\nErrore: Per calcolare il codice fiscale mancano: "
         "sesso\n",
         "L\xC3\x92\tNICOL\xC3\x92\tM\t01/09/1960\tH501\nL\xD2\tNICOL\xD2\tM\t01/09/1960\tH501\r\n"
         "ROSSI\tMARIO\t\t05/01/1970\tH501\n"},
        {2, {"taxcode", "--compute", "ROSSI"}, "velmora-cli taxcode: servono COGNOME"},
        {0, {"taxcode", "--decode", "rssmra70a05h50mf"}, {}, "M 05/01/1970 H501 ROMA\n"},
        {2, {"taxcode", "--decode", "RSSMRA70Z05H501F"}, "velmora-cli taxcode: Il codice fiscale"},
        {2, {}, "velmora-cli: manca il comando\n"},
        {0, {"--workdir", ".", "taxcode", "MRTMTT25D09F205Z", "F205"}, {}, "Corretto\n"},
        {2, {"--workdir", "nonesiste", "taxcode"}, "velmora-cli: la cartella di lavoro non esiste"},
        {0, {"check", "soggetti.csv"}},
        {1,
         {"check", "soggetti.csv"},
         {},
         "2: Sesso diverso da M o F\n4: Codice fiscale non valido per il comune di nascita\n"
         "5: CUI non di 7 caratteri\n",
         kRoman + kNoSex + kParisian + QByteArray(kRoman).replace("H501,", "F205,") +
             QByteArray(kParisian).replace("1234567", "123456")},
        // What the entry window would refuse, and a code no table holds, fail their rows.
        {1,
         {"check", "soggetti.csv"},
         {},
         "1: Cognome: carattere non ammesso '1'\n2: Codice del comune H5O1 sconosciuto\n",
         QByteArray(kRoman).replace("rossi", "ross1") +
             QByteArray(kRoman).replace("H501,", "H5O1,")},
        // Malformed records that once reached the upload file.
        {1,
         {"check", "soggetti.csv"},
         {},
         "1: Cognome mancante o pi\u00F9 lungo di 72 caratteri\n2: Codice fiscale: carattere non "
         "ammesso ' '\n3: Codice fiscale: carattere non ammesso '+'\n4: CUI: carattere non "
         "ammesso '-'\n",
         QByteArray(kRoman).replace("rossi", "  ") + QByteArray(kRoman).replace("1F\r", "1 \r") +
             "dupont,marie,,parigi,1999-12-31,110,,F,++++++++++++++++,\r\n" +
             QByteArray(kParisian).replace("1234567", "12-45.7")},
        // Warnings go with the rows in order; only --strict makes them a failure.
        {0,
         {"check", "soggetti.csv"},
         {},
         "2: avviso: stesso codice fiscale della riga 1\n",
         kRoman + kRoman},
        {1,
         {"check", "--strict", "soggetti.csv"},
         {},
         "2: avviso: stesso codice fiscale della riga 1\n",
         kRoman + kRoman},
        {1,
         batch({"--strict"}),
         "2: avviso: stesso codice fiscale della riga 1\n",
         {},
         kRoman + kRoman},
        {2, {"check", "soggetti.csv", "--format", "txt"}, plain(importGeneralMessage(1))},
        {2, {"check", "soggetti.csv"}, "Il file non contiene soggetti\n", {}, ""},
        {2,
         {"check", "altro.csv"},
         general + "Il file " + QDir::toNativeSeparators(folder.path("altro.csv")) + " non esiste"},
        {2,
         {"check", "soggetti.csv"},
         "Manca la tabella dei luoghi " + QDir::toNativeSeparators(states),
         {},
         kValid,
         {},
         {}},
        {1, batch(), "Inserire il Tipo Ufficio\n", {}, kValid, {}},
        {1,
         batch(),
         "velmora-cli: Il file " + QDir::toNativeSeparators(folder.path("config.ini")) +
             ", riga 1, campo \u00ABTipo ufficio\u00BB: valore scartato (carattere non ammesso: "
             "U+0001)\nInserire il Tipo Ufficio\n",
         {},
         kValid,
         "UFF\x01ICIO\r\nROMA\r\nLAVORO\r\n 1\r\n"},
        {1,
         batch({"--office-type", "U", "--office-seat", "R"}, "--purpose"),
         kErrors,
         {},
         kValid,
         {}},
        {1, batch({"--date", "01/01/2999"}, "--type"),
         kErrors + "- Tipo certificato non immesso\n- Data protocollo non immessa o non valida\n"},
        {1, batch(), "2: Sesso diverso da M o F\n", {}, kRoman + kNoSex},
        {2, batch(), plain(importGeneralMessage(2)) + "\n", {}, kRoman + "\r\n" + kRoman},
        {2, batch({"--purpose", "LAVORO\r\nFinto: 1"}), "velmora-cli batch: --purpose: carattere "},
        {2, batch({}, "--dest"), "velmora-cli batch: serve --dest"},
        {1, pdf("2", ""), "Completare correttamente tutti i campi della richiesta\n"},
        {1, pdf("2"), "Il modello del modulo PDF "},
    };
    for (const auto& c : cases) {
        prepare(folder, c.input, c.config, c.states);
        const Run run = runCli(c.arguments, c.input);
        QCOMPARE(run.status, c.status);
        QVERIFY2(run.err.startsWith(c.err) && run.err.isEmpty() == c.err.isEmpty(),
                 qPrintable(run.err));
        QCOMPARE(run.out, c.out);
        QCOMPARE(readBytes(folder.path("config.ini")), c.config);
        QVERIFY(QDir(folder.path("lotti")).isEmpty() && QDir(folder.path("moduli")).isEmpty());
    }
}

void TestCli::helpNamesEveryCommand() {
    const Run help = runCli({"--help"});
    QVERIFY(help.status == 0 && help.err.isEmpty());
    for (const char* usage :
         {"taxcode CODICE LUOGO", "taxcode -", "taxcode --compute COGNOME", "taxcode --compute -",
          "taxcode --decode CODICE", "check", "batch", "pdf"})
        QVERIFY2(help.out.contains(QStringLiteral("velmora-cli ") + usage), usage);
}

// The batch folder with its two files, then the form data and the filled form; the German flag
// and the typed purpose in capitals reach them.
void TestCli::batchAndPdfWriteTheirFiles() {
    const ScratchFolder folder;
    prepare(folder, kValid, kConfig, kStates);
    Run run = runCli(batch({"--german", "--purpose", "lavoro"}));
    QVERIFY2(run.status == 0 && run.err.isEmpty(), qPrintable(run.err));
    const QDir batch(run.out.chopped(1));
    QVERIFY(batch.path().startsWith(QDir(folder.path("lotti")).absoluteFilePath("Velmora_")));
    const QStringList files = batch.entryList(QDir::Files, QDir::Name);
    QVERIFY(files.size() == 2 && files[0].startsWith("Nominativi_Velmora_"));
    const QByteArray summary = readBytes(batch.filePath(files[1]));
    for (const QByteArray& line :
         {kCertificateTypes[0].toLatin1(), "Lingua tedesca: Si\r\n"_ba, "Finalit\xE0: LAVORO"_ba})
        QVERIFY2(summary.contains(line), line.constData());

    QVERIFY(QFile::copy(VELMORA_FORM_TEMPLATE, folder.path("ref/modello.pdf")));
    run = runCli(pdf("4"));
    QVERIFY2(run.status == 0 && run.err.isEmpty(), qPrintable(run.err));
    const QStringList paths = QDir::fromNativeSeparators(run.out).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(paths.size(), 2);
    QVERIFY(paths[0].startsWith(QDir(folder.path("moduli")).absoluteFilePath("Modulo_Velmora_")));
    QVERIFY(paths[0].endsWith(".fdf") && paths[1].endsWith(".pdf") && QFile::exists(paths[1]));
    QVERIFY(readBytes(paths[0]).contains("/T (numSoggetti) /V (12)"));
    QCOMPARE(readBytes(folder.path("config.ini")), kConfig);
}

// The program itself, with the standard streams and subject files a shell gives it: a FIFO
// opened once, a folder or a closed descriptor as standard input, input without line ends under
// a memory limit, standard output full or closed after a batch or a form was made.
void TestCli::streamsAndFilesAsTheShellGivesThem() {
#ifndef Q_OS_UNIX
    QSKIP("the cases are made by a POSIX shell");
#else
    const ScratchFolder folder;
    prepare(folder, kRoman + kNoSex, kConfig, kStates);
    QVERIFY(QFile::copy(VELMORA_FORM_TEMPLATE, folder.path("ref/modello.pdf")));
    QVERIFY(QFile::link("loop.csv", folder.path("loop.csv")));
    const QString lotti = QStringLiteral(" --type 0 --purpose L --protocol 1 --date 01/03/2010 ");
    const struct {
        QString script;
        int status;
        QString err;
        QString out = {};
    } cases[] = {
        {"mkfifo f.csv && (cat soggetti.csv >f.csv &) && \"$CLI\" check f.csv",
         1,
         {},
         "2: Sesso diverso da M o F\n"},
        {"\"$CLI\" check loop.csv", 2,
         plain(importGeneralMessage(0)) + "\nIl file " + folder.path("loop.csv") +
             " non pu\u00F2 essere letto: collegamento simbolico circolare nel percorso\n"},
        {"\"$CLI\" taxcode - <&-", 1,
         "velmora-cli taxcode: impossibile leggere lo standard input: \u00E8 chiuso\n"},
        {"\"$CLI\" taxcode --compute - <.", 1,
         "velmora-cli taxcode: impossibile leggere lo standard input: \u00E8 una cartella\n"},
        {kMemoryLimit + "\"$CLI\" taxcode - </dev/zero", 1,
         "velmora-cli taxcode: la riga 1 supera la lunghezza massima di 1024 caratteri\n"},
        {"printf 'X\\tH501\\n%01025d\\n' 0 | \"$CLI\" taxcode -", 1,
         "velmora-cli taxcode: la riga 2 supera la lunghezza massima di 1024 caratteri\n",
         "Errato\n"},
        {"echo 'X\tH501' | \"$CLI\" taxcode - >/dev/full", 1,
         "velmora-cli: impossibile scrivere sullo standard output: spazio esaurito sul disco\n"},
        {"\"$CLI\" batch soggetti.csv --dest lotti" + lotti + "--format csv <&- >/dev/full", 1,
         "2: Sesso diverso da M o F\n"},
        {"sed -i 2d soggetti.csv && \"$CLI\" batch soggetti.csv --dest lotti" + lotti +
             ">/dev/full",
         3, "velmora-cli: impossibile scrivere sullo standard output: spazio esaurito sul disco\n"},
        {"\"$CLI\" pdf --subjects 1 --dest moduli" + lotti + ">&-", 3,
         "velmora-cli: impossibile scrivere sullo standard output: \u00E8 chiuso\n"},
    };
    for (const auto& c : cases) {
        QProcess shell;
        shell.setWorkingDirectory(folder.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("CLI", VELMORA_CLI);
        shell.setProcessEnvironment(environment);
        shell.start("/bin/sh", {"-c", c.script});
        QVERIFY2(shell.waitForFinished(20000), qPrintable(c.script));
        QCOMPARE(shell.exitCode(), c.status);
        QCOMPARE(QString::fromUtf8(shell.readAllStandardError()), c.err);
        QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()), c.out);
    }
    // What was made though its path could not be printed is there, once.
    QCOMPARE(QDir(folder.path("lotti")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
    QCOMPARE(QDir(folder.path("moduli")).entryList(QDir::Files).size(), 2);
#endif
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
