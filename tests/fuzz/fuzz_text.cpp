// libFuzzer over the other text the program reads: a place table, config.ini and the tax codes
// that velmora-cli reads from standard input. The first byte picks the reader; the rest is the
// text. Any broken promise of a reader stops the run.
#include "cli/command.h"
#include "core/config.h"
#include "core/subjects/referencetable.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <sstream>

using namespace velmora;

namespace {

void require(bool promise) {
    if (!promise)
        std::abort();
}

// A table is usable only when every line is NAME,CODE with CR LF; then every name finds a code
// of a letter and three digits. A damaged one says which file and answers nothing.
void placeTable(const QString& path, const QByteArray& bytes) {
    ReferenceTable table(path);
    const Status read = table.refresh();
    require(read ||
            (read.error().contains(QStringLiteral("tabella.txt")) && table.names().isEmpty()));
    require(!read || bytes.count('\n') == bytes.count("\r\n"));
    for (const QString& name : table.names()) {
        const std::optional<QString> code = table.lookupName(name);
        require(code && isPlaceCode(*code) && table.lineOfCode(*code) >= 0);
    }
}

// Lines end at CR: no value keeps one.
void config(const QString& path) {
    Config read;
    readConfigFile(path, read);
    for (const QString* value :
         {&read.officeType, &read.officeSeat, &read.defaultPurpose, &read.defaultCertType,
          &read.outputFolder, &read.importFolder, &read.pdfFolder})
        require(!value->contains(u'\r'));
}

// One answer per line read, each one of the three words.
void taxCodes(const QByteArray& bytes) {
    std::istringstream in(bytes.toStdString());
    std::ostringstream out, err;
    cli::Io io{in, out, err};
    require(cli::runTaxCode({QStringLiteral("-")}, io) == 0);
    const qsizetype lines = bytes.count('\n') + (bytes.isEmpty() || bytes.endsWith('\n') ? 0 : 1);
    QStringList answers = QString::fromStdString(out.str()).split(u'\n');
    require(answers.size() == lines + 1 && answers.takeLast().isEmpty());
    for (const QString& answer : answers)
        require(answer == u"Corretto" || answer == u"Warning" || answer == u"Errato");
}

} // namespace

// Reading standard input the command never finds its arguments wrong.
int velmora::cli::usageError(Io&, std::string_view, const QString&) {
    std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static QTemporaryDir folder;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (data[0] % 3 == 2) {
        taxCodes(bytes);
        return 0;
    }
    const QString path = folder.filePath(QStringLiteral("tabella.txt"));
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
            file.write(bytes) == bytes.size());
    file.close();
    if (data[0] % 3 == 0)
        placeTable(path, bytes);
    else
        config(path);
    return 0;
}
