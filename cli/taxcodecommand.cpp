#include "cli/command.h"
#include "core/subjects/taxcode.h"

#include <string>

namespace velmora::cli {

namespace {

constexpr std::string_view kName = "taxcode";
constexpr QStringView kFromInput = u"-";

void answer(Io& io, const QString& code, const QString& place) {
    io.out << taxCodeCheckText(CheckTaxCode(code, place)).toStdString() << '\n';
}

// One answer per line, in order: a line without a tab has no place, so it is "Errato". The
// reading stops when the answers can no longer be written.
void answerEachLine(Io& io) {
    std::string line;
    while (io.out && std::getline(io.in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const QString text = QString::fromStdString(line);
        const qsizetype tab = text.indexOf(u'\t');
        if (tab < 0)
            answer(io, text, {});
        else
            answer(io, text.left(tab), text.mid(tab + 1));
    }
}

} // namespace

int runTaxCode(const QStringList& arguments, Io& io) {
    if (arguments.size() == 1 && arguments.first() == kFromInput) {
        answerEachLine(io);
        return kExitSuccess;
    }
    if (arguments.size() != 2)
        return usageError(io, kName,
                          QStringLiteral("servono CODICE e LUOGO, oppure \"-\" per leggere "
                                         "righe CODICE<TAB>LUOGO da standard input"));
    answer(io, arguments[0], arguments[1]);
    return kExitSuccess;
}

} // namespace velmora::cli
