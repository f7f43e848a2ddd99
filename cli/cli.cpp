#include "cli/cli.h"

#include <algorithm>
#include <array>

namespace velmora::cli {

namespace {

constexpr std::string_view kProgram = "velmora-cli";

constexpr std::array kCommands{
    Command{"taxcode",
            "  velmora-cli taxcode CODICE LUOGO\n"
            "  velmora-cli taxcode -\n"
            "      Controlla il codice fiscale CODICE (16 caratteri, maiuscole o minuscole)\n"
            "      contro LUOGO, il codice del comune di nascita (es. H501), e stampa\n"
            "      Corretto, Warning (luogo giusto, carattere di controllo diverso) o Errato.\n"
            "      Con \"-\" legge da standard input righe CODICE<TAB>LUOGO e stampa una\n"
            "      risposta per riga, nello stesso ordine.\n",
            runTaxCode},
};

void printHelp(std::ostream& out) {
    out << "Uso: " << kProgram << " COMANDO [ARGOMENTI]\n"
        << "Velmora senza finestre: gli stessi controlli del programma, da riga di comando.\n\n"
        << "Comandi:\n";
    for (const Command& command : kCommands)
        out << command.help;
    out << "\nOpzioni:\n"
        << "  " << kProgram << " --help\n"
        << "      Mostra questo aiuto.\n\n"
        << "Stato di uscita: 0 eseguito, 2 uso errato (messaggio su standard error).\n";
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
    if (arguments.isEmpty())
        return usageError(io, {}, QStringLiteral("manca il comando"));
    const QString& first = arguments.first();
    if (first == u"--help" || first == u"-h") {
        printHelp(io.out);
        return kExitSuccess;
    }
    const std::string name = first.toStdString();
    const auto command = std::find_if(kCommands.begin(), kCommands.end(),
                                      [&](const Command& c) { return c.name == name; });
    if (command == kCommands.end())
        return usageError(io, {}, QStringLiteral("comando sconosciuto: ") + first);
    return command->run(arguments.mid(1), io);
}

} // namespace velmora::cli
