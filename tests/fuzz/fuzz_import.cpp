// libFuzzer over the import: the line reader against the text cut at its line ends, and both
// row mappings through the importer, with the shipped place tables. The first byte picks the
// file kind and how full the table already is; the rest is the file. Any broken promise stops
// the run.
#include "core/dates.h"
#include "core/import/importfile.h"
#include "core/import/linereader.h"
#include "core/text/windows1252.h"

#include <QBuffer>
#include <QDir>
#include <QStringDecoder>
#include <cstdlib>

using namespace velmora;

namespace {

void require(bool promise) {
    if (!promise)
        std::abort();
}

ReferenceTable shipped(const char* name) {
    return ReferenceTable(QDir(QStringLiteral(VELMORA_SOURCE_DIR)).filePath("data/ref/") + name);
}

// The text cut at CR LF, a lone CR or a lone LF, the last line's end ending no other line.
QStringList linesOf(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The lines as linesOf() cuts the text, read as UTF-8 when the reader took the file for it;
// `blankAtEnd` of them, blank, end the file.
qsizetype lineCount(QByteArray bytes, qsizetype& blankAtEnd) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    LineReader reader(buffer);
    QStringList lines;
    QString line;
    while (reader.next(line) == LineReader::Status::Line)
        lines.append(line);
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
    require(lines == linesOf(reader.utf8() ? QString(utf8(body)) : decodeWindows1252(bytes)));
    blankAtEnd = 0;
    while (blankAtEnd < lines.size() &&
           QStringView(lines[lines.size() - 1 - blankAtEnd]).trimmed().isEmpty())
        ++blankAtEnd;
    return lines.size();
}

// Printable Windows-1252 without a lower-case ASCII letter, a real birth date, every place
// name with its code, Z000 with a municipality as ITALIA.
void checkRow(const SubjectValues& row) {
    for (const QString& cell : row) {
        for (const QChar c : cell)
            require(isPrintableWindows1252(c) && !(c >= u'a' && c <= u'z'));
    }
    require(parseDate(row[BirthDateColumn]).has_value());
    // A name comes with its code; a code without a name is one no table holds, kept for the
    // row check to name.
    require(row[MunicipalityColumn].isEmpty() || !row[MunicipalityCodeColumn].isEmpty());
    require(row[StateColumn].isEmpty() || !row[StateCodeColumn].isEmpty());
    if (!row[MunicipalityCodeColumn].isEmpty() && row[StateCodeColumn] == u"Z000")
        require(row[StateColumn] == u"ITALIA");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static ReferenceTable municipalities = shipped("FileCodComuni.txt");
    static ReferenceTable states = shipped("FileCodStati.txt");
    const auto kind = (data[0] & 1) ? ImportKind::Delimited : ImportKind::FixedWidth;
    const int rowsBefore = (data[0] & 2) ? SubjectTable::kMaxRows - 2 : 0;
    QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    qsizetype blankAtEnd = 0;
    const qsizetype lines = lineCount(bytes, blankAtEnd);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const ImportResult result = importSubjects(buffer, kind, rowsBefore, municipalities, states);
    if (!result.ok()) {
        // The failure names a line of the file, by its number from 1.
        bool named = false;
        for (int line = 1; line <= lines && !named; ++line)
            named = result.error().startsWith(importGeneralMessage(line)) ||
                    result.error().startsWith(importDateMessage(line)) ||
                    result.error() == importFullMessage(line);
        require(named);
        return 0;
    }
    // Blank lines at the end are no rows.
    const qsizetype rows = lines - blankAtEnd;
    require(result->size() == rows && rowsBefore + rows <= SubjectTable::kMaxRows);
    for (const SubjectRow& row : *result)
        checkRow(row.values());
    return 0;
}
