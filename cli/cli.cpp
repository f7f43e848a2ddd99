#include "cli/cli.h"

#include "cli/requestoptions.h"
#include "core/files/filewriter.h"
#include "core/import/linereader.h"
#include "core/subjects/delimited.h"
#include "core/subjects/record.h"

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cerrno>

namespace velmora::cli {

namespace {

constexpr std::string_view kProgram = "velmora-cli";

// "a o b", as the help names the two sizes a line may have.
std::string either(qsizetype a, qsizetype b) {
    return std::to_string(a) + " o " + std::to_string(b);
}

const std::string kCheckHelp =
    "  velmora-cli check FILE [--format txt|csv] [--strict]\n"
    "      Importa FILE in una tabella vuota, tutto o niente, come \"Importa da file\",\n"
    "      e controlla ogni soggetto come \"Crea File\". Stampa una riga per ogni\n"
    "      soggetto errato: il numero della riga e il motivo; e, nell'ordine delle\n"
    "      righe, una riga \"N: avviso: ...\" per un soggetto corretto il cui codice\n"
    "      fiscale non corrisponde ai dati anagrafici o che ripete una riga precedente.\n"
    "      --format txt: righe a larghezza fissa (" +
    either(record::kShortRecord, record::kLongRecord) +
    " caratteri);\n"
    "      --format csv: " +
    either(kFewestDelimitedFields, kMostDelimitedFields) +
    " campi separati da virgola o punto e virgola.\n"
    "      Senza --format: csv per un file .csv, txt per ogni altro.\n"
    "      Stato di uscita: 0 tutti corretti, 1 qualche soggetto errato (o, con\n"
    "      --strict, qualche avviso), 2 file rifiutato (il messaggio dell'importazione\n"
    "      su standard error).\n";

const std::string kBatchHelp =
    "  velmora-cli batch FILE [--format txt|csv] --type N --purpose TESTO\n"
    "                    --protocol NUM --date GG/MM/AAAA [--german] --dest CARTELLA\n"
    "                    [--office-type TIPO --office-seat SEDE] [--strict]\n"
    "      Importa FILE come il comando check, controlla la richiesta come\n"
    "      \"Crea File\" (stessi messaggi, su standard error) e i soggetti, poi crea\n"
    "      in CARTELLA la cartella del lotto con il riepilogo e l'elenco dei soggetti\n"
    "      e ne stampa il percorso. --type N: il tipo di certificato, " +
    certPositionRange().toStdString() +
    ",\n"
    "      nell'ordine dell'elenco. Tipo e sede dell'ufficio vengono da config.ini\n"
    "      nella cartella di lavoro, se non indicati; config.ini non viene scritto.\n"
    "      TESTO, NUM, TIPO e SEDE seguono le regole dei campi delle finestre: le\n"
    "      lettere diventano maiuscole, un carattere non ammesso o un testo troppo\n"
    "      lungo rifiuta il comando (stato di uscita 2). Gli avvisi del controllo\n"
    "      dei soggetti vanno su standard error e il lotto viene creato; con --strict\n"
    "      un avviso rifiuta i soggetti.\n"
    "      Stato di uscita: 0 lotto creato, 1 richiesta o soggetti rifiutati o\n"
    "      scrittura fallita (nulla viene creato), 2 file rifiutato, 3 lotto creato,\n"
    "      ma il percorso non \u00E8 stato stampato (standard output pieno o chiuso).\n";

const std::string kTaxCodeHelp =
    "  velmora-cli taxcode CODICE LUOGO\n"
    "  velmora-cli taxcode -\n"
    "      Controlla il codice fiscale CODICE (" +
    std::to_string(record::kTaxCodeLength) +
    " caratteri, maiuscole o minuscole)\n"
    "      contro LUOGO, il codice del comune di nascita (es. H501), e stampa\n"
    "      Corretto, Warning (luogo giusto, carattere di controllo diverso) o Errato.\n"
    "      Con \"-\" legge da standard input righe CODICE<TAB>LUOGO e stampa una\n"
    "      risposta per riga, nello stesso ordine.\n"
    "  velmora-cli taxcode --compute COGNOME NOME SESSO GG/MM/AAAA LUOGO\n"
    "  velmora-cli taxcode --compute -\n"
    "      Calcola il codice fiscale della persona (SESSO M o F, LUOGO il codice del\n"
    "      comune o dello stato di nascita, es. H501 o Z110). Con \"-\" legge da standard\n"
    "      input righe COGNOME<TAB>NOME<TAB>SESSO<TAB>GG/MM/AAAA<TAB>LUOGO (UTF-8 o\n"
    "      Windows-1252) e stampa un codice per riga, o una riga \"Errore: \" e il motivo.\n"
    "  velmora-cli taxcode --decode CODICE\n"
    "      Stampa il sesso, la data di nascita e il codice del luogo di nascita scritti\n"
    "      nel codice, con il nome del luogo.\n";

const std::array kCommands{
    Command{"taxcode", kTaxCodeHelp, runTaxCode},
    Command{"check", kCheckHelp, runCheck},
    Command{"batch", kBatchHelp, runBatch},
    Command{
        "pdf",
        "  velmora-cli pdf --type N --purpose TESTO --protocol NUM --date GG/MM/AAAA\n"
        "                  --subjects N --dest CARTELLA [--office-type TIPO --office-seat SEDE]\n"
        "      Controlla la richiesta come \"Apri Modulo PDF\" (stessi messaggi, su\n"
        "      standard error), poi scrive in CARTELLA i dati del modulo (.fdf) e il\n"
        "      modulo PDF compilato (.pdf) dal modello ref/modello.pdf della cartella di\n"
        "      lavoro, e ne stampa i percorsi. --subjects N: il numero dei soggetti.\n"
        "      Tipo e sede dell'ufficio e i testi come per batch; config.ini non viene\n"
        "      scritto.\n"
        "      Stato di uscita: 0 modulo scritto, 1 richiesta rifiutata o scrittura\n"
        "      fallita (nulla viene creato), 3 modulo scritto, ma i percorsi non sono\n"
        "      stati stampati (standard output pieno o chiuso).\n",
        runPdf},
};

void printHelp(std::ostream& out) {
    out << "Uso: " << kProgram << " [--workdir CARTELLA] COMANDO [ARGOMENTI]\n"
        << "Velmora senza finestre: gli stessi controlli del programma, da riga di comando.\n\n"
        << "Comandi:\n";
    for (const Command& command : kCommands)
        out << command.help;
    out << "\nOpzioni:\n"
        << "  " << kProgram << " --help\n"
        << "      Mostra questo aiuto.\n"
        << "  " << kProgram << " --version\n"
        << "      Mostra la versione.\n"
        << "  " << kProgram << " --workdir CARTELLA COMANDO [ARGOMENTI]\n"
        << "      Usa CARTELLA, che deve esistere, come cartella di lavoro.\n\n"
        << "Cartella di lavoro: quella data con --workdir; altrimenti la cartella corrente,\n"
        << "se contiene ref/; altrimenti $XDG_DATA_HOME/velmora (di solito\n"
        << "~/.local/share/velmora), la stessa del programma a finestre.\n"
        << "Da questa si leggono config.ini e, se presenti, le tabelle dei luoghi in ref/ e\n"
        << "il modello ref/modello.pdf; se mancano, quelli installati con il programma\n"
        << "(../share/velmora accanto all'eseguibile). I file indicati nei comandi sono\n"
        << "relativi alla cartella corrente.\n\n"
        << "Stato di uscita: 0 eseguito, 2 uso errato (messaggio su standard error);\n"
        << "check, batch e pdf dicono sopra il significato degli altri. Un errore di\n"
        << "scrittura su standard output o standard error rende 1, ma batch e pdf\n"
        << "rendono 3 se hanno creato il lotto o il modulo senza poterne stampare il\n"
        << "percorso. A taxcode uno standard input che non pu\u00F2 essere letto, o una\n"
        << "sua riga di oltre " << LineReader::kMaxLineLength << " caratteri, rende 1.\n";
}

// Output that did not reach its reader is a failure, whatever the command did.
int checkedStatus(Io& io, int status) {
    if (!flushed(io)) {
        io.err << kProgram << ": impossibile scrivere sullo standard output";
        if (io.outError != 0)
            io.err << ": " << streamReason(io.outError);
        io.err << '\n';
    }
    io.err.flush();
    return status == kExitSuccess && (!io.out || !io.err) ? kExitFailing : status;
}

int dispatch(const QStringList& given, Io& io) {
    QStringList arguments = given;
    if (!arguments.isEmpty() && arguments.first() == u"--workdir") {
        if (arguments.size() < 2)
            return usageError(io, {}, QStringLiteral("manca il valore di --workdir"));
        const QFileInfo folder(arguments[1]);
        if (const int error = pathError(arguments[1]); error != 0 && error != ENOENT)
            return usageError(
                io, {},
                QStringLiteral("la cartella di lavoro %1 non pu\u00F2 essere usata: %2")
                    .arg(arguments[1], systemReason(error)));
        if (!folder.isDir())
            return usageError(io, {},
                              QStringLiteral("la cartella di lavoro non esiste: ") + arguments[1]);
        io.folders.work = folder.absoluteFilePath();
        arguments.remove(0, 2);
    }
    if (arguments.isEmpty())
        return usageError(io, {}, QStringLiteral("manca il comando"));
    const QString& first = arguments.first();
    if (first == u"--help" || first == u"-h") {
        printHelp(io.out);
        return kExitSuccess;
    }
    if (first == u"--version") {
        io.out << kProgram << ' ' << VELMORA_VERSION << '\n';
        return kExitSuccess;
    }
    const std::string name = first.toStdString();
    const auto command = std::find_if(kCommands.begin(), kCommands.end(),
                                      [&](const Command& c) { return c.name == name; });
    if (command == kCommands.end())
        return usageError(io, {}, QStringLiteral("comando sconosciuto: ") + first);
    return command->run(arguments.mid(1), io);
}

} // namespace

int usageError(Io& io, std::string_view command, const QString& message) {
    io.err << kProgram;
    if (!command.empty())
        io.err << ' ' << command;
    io.err << ": " << message.toStdString() << '\n'
           << "Per l'elenco dei comandi: " << kProgram << " --help\n";
    return kExitUsage;
}

int run(const QStringList& arguments, Io& io) {
    return checkedStatus(io, dispatch(arguments, io));
}

} // namespace velmora::cli
