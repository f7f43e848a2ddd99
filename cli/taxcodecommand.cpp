#include "cli/command.h"
#include "core/dates.h"
#include "core/import/linereader.h"
#include "core/paths.h"
#include "core/subjects/personcode.h"
#include "core/subjects/referencetable.h"
#include "core/subjects/taxcode.h"
#include "core/text/windows1252.h"

#include <QStringDecoder>
#include <array>
#include <cerrno>
#include <string>

namespace velmora::cli {

namespace {

constexpr std::string_view kName = "taxcode";
constexpr QStringView kFromInput = u"-";
constexpr QStringView kCompute = u"--compute";
constexpr QStringView kDecode = u"--decode";

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

enum class Read { Line, End, TooLong, Failed };

// The next line of standard input into `line`, without its LF and CR. A line is never longer
// than a subject line may be: one past LineReader::kMaxLineLength is not read to its end, so that
// input without line ends (/dev/zero) cannot fill the memory.
Read nextLine(std::istream& in, std::string& line) {
    line.resize(LineReader::kMaxLineLength + 2); // the longest line, its CR, and the end mark
    in.getline(line.data(), std::streamsize(line.size()));
    const std::streamsize got = in.gcount();
    if (in.bad())
        return Read::Failed;
    if (in.fail() && !in.eof())
        return Read::TooLong; // the room filled up before the line ended
    if (got == 0 && in.eof())
        return Read::End;
    line.resize(std::size_t(in.eof() ? got : got - 1)); // the LF read is counted
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (qsizetype(line.size()) > LineReader::kMaxLineLength)
        return Read::TooLong;
    return Read::Line;
}

// Each line of standard input to `answer`, which writes its answer. The reading stops when the
// answers can no longer be written. The answers are flushed only when the lines read so far are
// used up (standard input is untied from the output for the loop): a program that writes a line
// and waits gets its answer, a long input is answered in blocks. A line too long, or input that
// cannot be read, ends the command with why on standard error and exit status 1.
template <typename Answer> int answerEachLine(Io& io, Answer answer) {
    std::ostream* const tied = io.in.tie(nullptr);
    std::string line;
    Read read = Read::End;
    int number = 0;
    while (io.out && (read = nextLine(io.in, line)) == Read::Line) {
        ++number;
        answer(line);
        if (io.in.rdbuf()->in_avail() <= 0)
            flushed(io);
    }
    const int readError = errno;
    io.in.tie(tied);
    flushed(io);
    if (read == Read::TooLong) {
        io.err << "velmora-cli " << kName << ": la riga " << number + 1
               << " supera la lunghezza massima di " << LineReader::kMaxLineLength
               << " caratteri\n";
        return kExitFailing;
    }
    if (read == Read::Failed) {
        io.err << "velmora-cli " << kName
               << ": impossibile leggere lo standard input: " << streamReason(readError) << '\n';
        return kExitFailing;
    }
    return kExitSuccess;
}

// One answer per line, in order: a line without a tab has no place, so it is "Errato".
int checkEachLine(Io& io) {
    const Answers answers;
    QString text;
    return answerEachLine(io, [&](const std::string& line) {
        text = QString::fromStdString(line);
        const QStringView view(text);
        const qsizetype tab = view.indexOf(u'\t');
        if (tab < 0)
            answers.write(io, view, {});
        else
            answers.write(io, view.left(tab), view.mid(tab + 1));
    });
}

// A line of input as text: UTF-8 when it is valid UTF-8, else Windows-1252.
QString lineText(const std::string& line) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(line.data(), qsizetype(line.size())));
    return utf8.hasError() ? decodeWindows1252(QByteArrayView(line.data(), qsizetype(line.size())))
                           : text;
}

// The code of the person of surname, name, sex, date and place, or why there is none.
Result<QString> computeFromFields(const QStringList& fields) {
    if (fields.size() != 5)
        return Failure{QStringLiteral("servono COGNOME, NOME, SESSO, GG/MM/AAAA e LUOGO")};
    const std::optional<QDate> born = parseDate(fields[3]);
    return computeTaxCode(
        {fields[0], fields[1], fields[2].toUpper(), born.value_or(QDate()), fields[4].toUpper()});
}

// One code per line of COGNOME<TAB>NOME<TAB>SESSO<TAB>GG/MM/AAAA<TAB>LUOGO, in order, or a
// line "Errore: " and why.
int computeEachLine(Io& io) {
    return answerEachLine(io, [&io](const std::string& line) {
        const Result<QString> code = computeFromFields(lineText(line).split(u'\t'));
        io.out << (code ? code->toStdString() : "Errore: " + code.error().toStdString()) << '\n';
    });
}

// The name of a place code in the tables, "" when they do not have it.
QString placeName(const QString& code, const DataFolders& folders) {
    ReferenceTable table(
        folders.dataFile(code.startsWith(u'Z') ? kStateTable : kMunicipalityTable));
    if (!table.refresh())
        return {};
    return table.names().value(table.lineOfCode(code));
}

} // namespace

int runTaxCode(const QStringList& arguments, Io& io) {
    if (arguments.size() == 1 && arguments.first() == kFromInput)
        return checkEachLine(io);
    if (arguments.value(0) == kCompute) {
        if (arguments.size() == 2 && arguments[1] == kFromInput)
            return computeEachLine(io);
        const Result<QString> code = computeFromFields(arguments.mid(1));
        if (!code)
            return usageError(io, kName, code.error());
        io.out << code->toStdString() << '\n';
        return kExitSuccess;
    }
    if (arguments.value(0) == kDecode) {
        if (arguments.size() != 2)
            return usageError(io, kName, QStringLiteral("serve CODICE"));
        const Result<DecodedTaxCode> decoded = decodeTaxCode(arguments[1], QDate::currentDate());
        if (!decoded)
            return usageError(io, kName, decoded.error());
        const QString name = placeName(decoded->placeCode, io.folders);
        io.out << QStringLiteral("%1 %2 %3%4")
                      .arg(decoded->sex, decoded->birthDate.toString(QStringLiteral("dd/MM/yyyy")),
                           decoded->placeCode, name.isEmpty() ? QString() : u' ' + name)
                      .toStdString()
               << '\n';
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
