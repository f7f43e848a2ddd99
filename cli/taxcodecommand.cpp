#include "cli/command.h"
#include "core/subjects/taxcode.h"

#include <array>
#include <string>

namespace velmora::cli {

namespace {

constexpr std::string_view kName = "taxcode";
constexpr QStringView kFromInput = u"-";

// The answers as written out, made once.
class Answers {
public:
    Answers() {
        for (const TaxCodeCheck check :
             {TaxCodeCheck::Corretto, TaxCodeCheck::Warning, TaxCodeCheck::Errato})
            texts_[int(check)] = taxCodeCheckText(check).toStdString() + '\n';
    }
    void write(Io& io, QStringView code, QStringView place) const {
        io.out << texts_[int(checkTaxCode(code, place))];
    }

private:
    std::array<std::string, 3> texts_;
};

// One answer per line, in order: a line without a tab has no place, so it is "Errato". The
// reading stops when the answers can no longer be written. The answers are flushed only when
// the lines read so far are used up (standard input is untied from the output for the loop):
// a program that writes a line and waits gets its answer, a long input is answered in blocks.
void answerEachLine(Io& io) {
    const Answers answers;
    std::ostream* const tied = io.in.tie(nullptr);
    std::string line;
    QString text;
    while (io.out && std::getline(io.in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        text = QString::fromStdString(line);
        const QStringView view(text);
        const qsizetype tab = view.indexOf(u'\t');
        if (tab < 0)
            answers.write(io, view, {});
        else
            answers.write(io, view.left(tab), view.mid(tab + 1));
        if (io.in.rdbuf()->in_avail() <= 0)
            io.out.flush();
    }
    io.in.tie(tied);
    io.out.flush();
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
    Answers().write(io, arguments[0], arguments[1]);
    return kExitSuccess;
}

} // namespace velmora::cli
