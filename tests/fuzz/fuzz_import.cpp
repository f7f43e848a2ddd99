// libFuzzer over the import: the line reader against splitLines(), and both row mappings
// through the importer, with the shipped place tables. The first byte picks the file kind and
// how full the table already is; the rest is the file. Besides crashes and sanitizer reports,
// any broken promise of the importer stops the run.
#include "core/dates.h"
#include "core/import/importfile.h"
#include "core/import/linereader.h"
#include "core/text/textfile.h"
#include "core/text/windows1252.h"

#include <QBuffer>
#include <QDir>
#include <cstdlib>

using namespace velmora;

namespace {

void require(bool promise) {
    if (!promise)
        std::abort();
}

struct Places {
    ReferenceTable municipalities{QDir(QStringLiteral(VELMORA_SOURCE_DIR))
                                      .filePath(QStringLiteral("data/ref/FileCodComuni.txt"))};
    ReferenceTable states{QDir(QStringLiteral(VELMORA_SOURCE_DIR))
                              .filePath(QStringLiteral("data/ref/FileCodStati.txt"))};
};

QStringList readerLines(const QByteArray& bytes) {
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    LineReader reader(buffer);
    QStringList lines;
    QString line;
    while (reader.next(line) == LineReader::Status::Line)
        lines.append(line);
    return lines;
}

bool hasLowerAscii(const QString& text) {
    for (const QChar c : text) {
        if (c >= u'a' && c <= u'z')
            return true;
    }
    return false;
}

// The failure names a line of the file, by its number from 1.
bool namesALine(const QString& error, qsizetype lineCount) {
    for (int line = 1; line <= lineCount; ++line) {
        if (error.startsWith(importGeneralMessage(line) + QStringLiteral("\r\n")) ||
            error.startsWith(importDateMessage(line) + QStringLiteral("\r\n")))
            return true;
    }
    return false;
}

void checkRow(const SubjectValues& row) {
    require(parseDate(row[BirthDateColumn]).has_value());
    require(row[MunicipalityColumn].isEmpty() == row[MunicipalityCodeColumn].isEmpty());
    require(row[StateColumn].isEmpty() == row[StateCodeColumn].isEmpty());
    if (!row[MunicipalityCodeColumn].isEmpty() && row[StateCodeColumn] == u"Z000")
        require(row[StateColumn] == u"ITALIA");
    for (int column = SurnameColumn; column < ColumnCount; ++column)
        require(!hasLowerAscii(row[column]));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    // Loaded once: the fuzzer calls in here for every input.
    static Places places;
    const auto kind = (data[0] & 1) ? ImportKind::Delimited : ImportKind::FixedWidth;
    const int rowsBefore = (data[0] & 2) ? SubjectTable::kMaxRows - 2 : 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    const QStringList lines = splitLines(decodeWindows1252(bytes));
    require(readerLines(bytes) == lines);

    QByteArray file = bytes;
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    const ImportResult result =
        importSubjects(buffer, kind, rowsBefore, places.municipalities, places.states);
    if (result.ok()) {
        require(result->size() == lines.size());
        require(rowsBefore + result->size() <= SubjectTable::kMaxRows);
        for (const SubjectValues& row : *result)
            checkRow(row);
    } else {
        require(namesALine(result.error(), lines.size()));
    }
    return 0;
}
