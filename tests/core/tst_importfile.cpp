#include "core/import/importfile.h"
#include "core/import/linereader.h"
#include "core/request/requestcheck.h"
#include "support/places.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(velmora::ImportKind)

namespace {

// A delimited line for a person born in Rome, with `date` as field 5.
QByteArray romanCsv(const QByteArray& date = "05/01/1970", char separator = ',') {
    QByteArrayList fields{"Rossi", "Mario", "H501", "", date, "Z000", "", "M", "RSSMRA70A05H501F"};
    return fields.join(separator);
}

QByteArray lines(const QByteArrayList& list, const QByteArray& end = "\r\n") {
    return list.join(end) + end;
}

} // namespace

class TestImportFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void fileOutcome_data();
    void fileOutcome();
    void rowMapping_data();
    void rowMapping();
    void missingFileOrPlaceTableFails();
    void binaryFileFailsFast();
    void whateverRowsComeInTheListWrittenIsWellFormed();
    void failureSaysWhatIsWrong();

private:
    ImportResult import(const QByteArray& bytes, ImportKind kind, int rowsBefore = 0) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        return importSubjects(buffer, kind, rowsBefore, municipalities_, states_);
    }

    std::optional<ScratchFolder> folder_;
    // Read again below each test's own working folder.
    ReferenceTable municipalities_{QStringLiteral("ref/FileCodComuni.txt")};
    ReferenceTable states_{QStringLiteral("ref/FileCodStati.txt")};
};

void TestImportFile::init() {
    folder_.reset();
    folder_.emplace();
    writePlaceTables(*folder_);
}

void TestImportFile::fileOutcome_data() {
    QTest::addColumn<ImportKind>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("rowsBefore");
    QTest::addColumn<int>("rows");        // rows imported when it succeeds
    QTest::addColumn<QString>("message"); // empty when it succeeds
    const auto fixed = ImportKind::FixedWidth;
    const auto csv = ImportKind::Delimited;
    const QByteArray roman = subjectListBytes({romanSubject()}).chopped(2);
    const QByteArray parisian = subjectListBytes({parisianSubject()}).chopped(2);
    const QString none;

    QTest::newRow("empty file") << fixed << QByteArray() << 0 << 0 << none;
    QTest::newRow("final CR LF is no line") << fixed << lines({roman, parisian}) << 0 << 2 << none;
    QTest::newRow("last line without end") << fixed << roman + "\r\n" + parisian << 0 << 2 << none;
    QTest::newRow("lone CR ends lines")
        << fixed << lines({roman, parisian}, "\r") << 0 << 2 << none;
    QTest::newRow("312 characters")
        << fixed << lines({roman, roman + "1"}) << 0 << 0 << importGeneralMessage(2);
    QTest::newRow("fixed: empty line in the middle")
        << fixed << lines({roman, "", roman}) << 0 << 0 << importGeneralMessage(2);
    QTest::newRow("fixed: LF only is one long line")
        << fixed << lines({roman, roman}, "\n") << 0 << 0 << importGeneralMessage(1);
    QTest::newRow("fixed: no real date")
        << fixed << lines({roman, QByteArray(roman).replace("1970-01-05", "1970-02-30")}) << 0 << 0
        << importGeneralMessage(2);
    QTest::newRow("fixed: date in the table's form")
        << fixed << lines({QByteArray(roman).replace("1970-01-05", "05/01/1970")}) << 0 << 1
        << none;

    QTest::newRow("9 comma fields and 10 semicolon fields")
        << csv << lines({romanCsv(), romanCsv("05/01/1970", ';') + ";"}) << 0 << 2 << none;
    QTest::newRow("8-character date")
        << csv << lines({romanCsv(), romanCsv("5/1/1970")}) << 0 << 0 << importDateMessage(2);
    QTest::newRow("no real date") << csv << lines({romanCsv("31/04/1970")}) << 0 << 0
                                  << importGeneralMessage(1);
    QTest::newRow("csv: empty line in the middle")
        << csv << lines({romanCsv(), "", romanCsv()}) << 0 << 0 << importGeneralMessage(2);
    QTest::newRow("11 fields") << csv << lines({romanCsv() + ",1,2"}) << 0 << 0
                               << importGeneralMessage(1);
    QTest::newRow("fields mixing both separators")
        << csv << lines({romanCsv().replace(",Z000,", ";Z000;")}) << 0 << 0
        << importGeneralMessage(1);
    QTest::newRow("NUL in a field")
        << csv << lines({romanCsv().replace("Rossi", QByteArray("Ro\0ssi", 6))}) << 0 << 0
        << importGeneralMessage(1);
    QTest::newRow("one LF-ended line keeps its LF") << csv << romanCsv() + "\n"
                                                    << 0 << 0 << importGeneralMessage(1);
    QTest::newRow("UTF-8 character outside Windows-1252")
        << csv << lines({romanCsv(), romanCsv().replace("Rossi", "\xC5\x81oss\xC3\xAC")}) << 0 << 0
        << importGeneralMessage(2) +
               QStringLiteral("\r\nIl carattere \u00AB\u0141\u00BB non esiste nella codifica "
                              "Windows-1252");
    QTest::newRow("field count before the date")
        << csv << lines({"A,B,,,5/1/1970,Z110,,M"}) << 0 << 0 << importGeneralMessage(1);

    const QByteArray line = romanCsv() + "\r\n";
    const QByteArray full = line.repeated(SubjectTable::kMaxRows);
    QTest::newRow("32,767 rows") << csv << full << 0 << SubjectTable::kMaxRows << none;
    QTest::newRow("32,768 rows") << csv << full + line << 0 << 0 << importFullMessage(32768);
    QTest::newRow("room counts the rows there")
        << csv << line + line << 32766 << 0 << importFullMessage(2);
    QTest::newRow("the last room") << csv << line << 32766 << 1 << none;
}

void TestImportFile::fileOutcome() {
    QFETCH(ImportKind, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(int, rowsBefore);
    QFETCH(int, rows);
    QFETCH(QString, message);
    const ImportResult result = import(bytes, kind, rowsBefore);
    if (message.isEmpty()) {
        QVERIFY(result.ok());
        QCOMPARE(result->size(), rows);
    } else {
        QVERIFY2(result.error() == message ||
                     result.error().startsWith(message + QStringLiteral("\r\n")),
                 qPrintable(result.error()));
    }
}

void TestImportFile::rowMapping_data() {
    QTest::addColumn<ImportKind>("kind");
    QTest::addColumn<QByteArray>("line");
    // Surname, birth date, municipality, its code, state, its code, unique identifier.
    QTest::addColumn<QString>("cells");
    const auto fixed = ImportKind::FixedWidth;
    const auto csv = ImportKind::Delimited;
    const auto fixedLine = [](const char* municipalityCode, const char* stateCode,
                              const char* surname = "rossi") {
        SubjectValues v = romanSubject();
        v[SurnameColumn] = QString::fromUtf8(surname);
        v[MunicipalityCodeColumn] = QString::fromUtf8(municipalityCode);
        v[StateCodeColumn] = QString::fromUtf8(stateCode);
        return subjectListBytes({v}).chopped(2);
    };
    const QString rome = "ROSSI|05/01/1970|ROMA|H501|ITALIA|Z000|";
    const QString paris = "ROSSI|05/01/1970|||FRANCIA|Z110|";
    const QString nowhere = "ROSSI|05/01/1970|||||";

    QTest::newRow("fixed: H501 and Z000") << fixed << fixedLine("H501", "Z000") << rome;
    QTest::newRow("fixed: H501 and no state") << fixed << fixedLine("H501", "    ") << rome;
    QTest::newRow("fixed: H501 and 000 is not Italy")
        << fixed << fixedLine("H501", "000 ") << "ROSSI|05/01/1970|ROMA|H501|||";
    QTest::newRow("fixed: no Z put before 110") << fixed << fixedLine("    ", "110 ") << nowhere;
    QTest::newRow("fixed: unknown municipality is abroad")
        << fixed << fixedLine("X999", "Z110") << paris;
    QTest::newRow("fixed: accents upper-cased, blanks trimmed")
        << fixed << fixedLine("h501", "z000", "  d'\u00e0ngelo ")
        << QStringLiteral("D'\u00C0NGELO|05/01/1970|ROMA|H501|ITALIA|Z000|");
    QTest::newRow("csv: H501 and Z000")
        << csv << QByteArray("rossi,M,H501,,05/01/1970,Z000,,M,") << rome;
    QTest::newRow("csv: H501 and 000")
        << csv << QByteArray("rossi,M,H501,,05/01/1970,000,,M,") << rome;
    QTest::newRow("csv: H501 and 0") << csv << QByteArray("rossi,M,H501,,05/01/1970,0,,M,") << rome;
    QTest::newRow("csv: H501 and no state")
        << csv << QByteArray("rossi,M,h501,,05/01/1970,,,M,") << rome;
    QTest::newRow("csv: Z put before 110")
        << csv << QByteArray("rossi,M,,,05/01/1970,110,,M,") << paris;
    QTest::newRow("csv: Z put before a municipality code of 3")
        << csv << QByteArray("rossi,M,952,,05/01/1970,Z112,,M,")
        << "ROSSI|05/01/1970|||GERMANIA|Z112|";
    QTest::newRow("csv: unknown municipality is abroad")
        << csv << QByteArray("rossi,M,X999,,05/01/1970,Z000,,M,")
        << "ROSSI|05/01/1970|||ITALIA|Z000|";
    QTest::newRow("csv: unknown state")
        << csv << QByteArray("rossi,M,,,05/01/1970,Z999,,M,") << nowhere;
    QTest::newRow("csv: blanks kept, year first, identifier")
        << csv << QByteArray(" rossi ;M;;;1970-01-05;Z110;;M;;ab12345")
        << " ROSSI |05/01/1970|||FRANCIA|Z110|AB12345";
    const QString accented = QStringLiteral("ROSS\u00CC|05/01/1970|||FRANCIA|Z110|");
    QTest::newRow("csv: Windows-1252")
        << csv << QByteArray("ross\xEC,M,,,05/01/1970,Z110,,M,") << accented;
    QTest::newRow("csv: UTF-8") << csv << QByteArray("ross\xC3\xAC,M,,,05/01/1970,Z110,,M,")
                                << accented;
    QTest::newRow("csv: UTF-8 with BOM")
        << csv << QByteArray("\xEF\xBB\xBFross\xC3\xAC,M,,,05/01/1970,Z110,,M,") << accented;
}

void TestImportFile::rowMapping() {
    QFETCH(ImportKind, kind);
    QFETCH(QByteArray, line);
    QFETCH(QString, cells);
    const ImportResult result = import(line, kind);
    QVERIFY(result.ok());
    QCOMPARE(result->size(), 1);
    const SubjectValues& row = result->first();
    QCOMPARE((QStringList{row[SurnameColumn], row[BirthDateColumn], row[MunicipalityColumn],
                          row[MunicipalityCodeColumn], row[StateColumn], row[StateCodeColumn],
                          row[CuiColumn]})
                 .join(u'|'),
             cells);
}

void TestImportFile::missingFileOrPlaceTableFails() {
    const QByteArray parisian = "A,B,,,05/01/1970,Z110,,M,";
    QVERIFY(importSubjectFile(folder_->path(QStringLiteral("none.txt")), ImportKind::FixedWidth, 0,
                              municipalities_, states_)
                .error()
                .startsWith(importGeneralMessage(0)));
    // Abroad needs only the state table, Italy only the municipality table; the message says
    // what is wrong with the table.
    QFile::remove(folder_->path(QStringLiteral("ref/FileCodComuni.txt")));
    QVERIFY(import(lines({parisian}), ImportKind::Delimited).ok());
    QString error = import(lines({parisian, romanCsv()}), ImportKind::Delimited).error();
    QVERIFY(error.startsWith(importGeneralMessage(2) + "\r\nImpossibile leggere il file "));
    QVERIFY(error.contains("FileCodComuni.txt"));
    writePlaceTables(*folder_);
    writeBytes(folder_->path(QStringLiteral("ref/FileCodStati.txt")), "ZIMBABWE,Z3\r\n");
    QVERIFY(import(lines({romanCsv()}), ImportKind::Delimited).ok());
    error = import(lines({parisian}), ImportKind::Delimited).error();
    QVERIFY(error.startsWith(importGeneralMessage(1) + "\r\nLa tabella dei luoghi "));
    QVERIFY(error.contains("FileCodStati.txt") && error.contains("riga 1"));
}

void TestImportFile::binaryFileFailsFast() {
    QByteArray noise(20 * 1024 * 1024, '\0');
    QRandomGenerator random(11);
    for (char& byte : noise)
        byte = char(random.bounded(256));
    QVERIFY(import(noise, ImportKind::FixedWidth).error().startsWith(importGeneralMessage(1)));
    QVERIFY(import(QByteArray(16 * 1024 * 1024, 'A'), ImportKind::Delimited)
                .error()
                .startsWith(importGeneralMessage(1)));
    const QByteArray longLine(LineReader::kMaxLineLength + 1, ',');
    QVERIFY(import(lines({romanCsv(), longLine, romanCsv()}), ImportKind::Delimited)
                .error()
                .startsWith(importGeneralMessage(2)));
}

// The last line of a failure tells what is wrong with the line it names.
void TestImportFile::failureSaysWhatIsWrong() {
    const auto reason = [](const QString& error) {
        return error.section(QStringLiteral("\r\n"), -1);
    };
    const QByteArray roman = subjectListBytes({romanSubject()}).chopped(2);
    QCOMPARE(reason(import(lines({roman + "1"}), ImportKind::FixedWidth).error()),
             QStringLiteral("La riga ha 312 caratteri invece di 311 o 318"));
    QCOMPARE(reason(import(lines({"A,B,C,D,E,F,G,H"}), ImportKind::Delimited).error()),
             QStringLiteral("La riga ha 8 campi invece di 9 o 10"));
    QCOMPARE(reason(import(lines({romanCsv("31/02/1970")}), ImportKind::Delimited).error()),
             QStringLiteral("La data di nascita \"31/02/1970\" non \u00E8 una data reale"));
    QCOMPARE(reason(import(lines({romanCsv("5/1/1970")}), ImportKind::Delimited).error()),
             QStringLiteral("La data di nascita \"5/1/1970\" non ha la forma gg/mm/aaaa"));
    QCOMPARE(reason(importSubjectFile(folder_->path(QStringLiteral("ref")), ImportKind::FixedWidth,
                                      0, municipalities_, states_)
                        .error()),
             QStringLiteral("Il file non pu\u00F2 essere aperto"));
}

// Random rows, valid and broken in every way the checks know, go through either file kind in
// either encoding, the import and the batch check: each is refused somewhere, or the subject list
// written for it holds records of 311 or 318 printable characters that import back unchanged.
void TestImportFile::whateverRowsComeInTheListWrittenIsWellFormed() {
    const QDateTime now(QDate(2010, 3, 15), QTime(9, 32));
    QRandomGenerator random(1252);
    // Each round changes up to three cells of a valid subject, to values valid or not.
    const std::pair<Column, QStringList> changes[] = {
        {SurnameColumn,
         {u"D'\u00C0NGELO"_s, u"jos\u00e8"_s, u"\u0153UF"_s, u"RO\0SI"_s, u"RO\tSI"_s, u"RO\fSI"_s,
          u"RO\x1BSI"_s, u"RO\u0141SI"_s, u"RO\u0081SI"_s, QString(73, u'A'), QString()}},
        {FatherColumn, {QString(), u"PIERRE"_s, u"PIE\nRRE"_s}},
        {ForeignPlaceColumn, {QString(), u"LONDRA"_s}},
        {TaxCodeColumn,
         {QString(), u"RSSMRA70A05H501"_s, u"RSSMRA70A05H501FX"_s, u"XXXXXXXXXXXXXXXX"_s}},
        {CuiColumn, {QString(), u"12"_s, u"123456"_s, u"12345678"_s}},
        {BirthDateColumn, {u"15/03/2010"_s, u"16/03/2010"_s}},
        {StateCodeColumn, {u"Z110"_s, u"110"_s, QString()}}};
    int written = 0;
    for (int round = 0; round < 600; ++round) {
        SubjectValues v = random.bounded(2) ? romanSubject() : parisianSubject();
        for (int n = random.bounded(4); n > 0; --n) {
            const auto& [column, values] = changes[random.bounded(int(std::size(changes)))];
            v[column] = values[random.bounded(int(values.size()))];
        }
        const bool csv = random.bounded(2);
        QString line;
        if (csv) {
            line = QStringList{v[SurnameColumn],      v[NameColumn],      v[MunicipalityCodeColumn],
                               v[ForeignPlaceColumn], v[BirthDateColumn], v[StateCodeColumn],
                               v[FatherColumn],       v[SexColumn],       v[TaxCodeColumn],
                               v[CuiColumn]}
                       .join(u',');
        } else {
            const QStringList day = v[BirthDateColumn].split(u'/');
            const QString date = day[2] + u'-' + day[1] + u'-' + day[0];
            line = v[SurnameColumn].leftJustified(72) + v[NameColumn].leftJustified(72) +
                   v[MunicipalityCodeColumn].leftJustified(4) +
                   v[ForeignPlaceColumn].leftJustified(60) + date +
                   v[StateCodeColumn].leftJustified(4) + v[FatherColumn].leftJustified(72) +
                   v[SexColumn] + v[TaxCodeColumn].leftJustified(16) + v[CuiColumn];
        }
        line += u"\r\n";
        const std::optional<QByteArray> bytes =
            random.bounded(2) ? std::optional(line.toUtf8()) : encodeWindows1252(line);
        if (!bytes)
            continue;
        ImportResult rows = import(*bytes, csv ? ImportKind::Delimited : ImportKind::FixedWidth);
        if (!rows)
            continue;
        SubjectTable table;
        table.appendRows(*rows);
        if (!failingRows(table, now).isEmpty())
            continue;
        const Result<QByteArray> list = subjectListBytes(table);
        QVERIFY2(list.ok(), qPrintable(line));
        for (const QByteArray& record : list->split('\n').mid(0, list->count('\n'))) {
            QVERIFY2(record.endsWith('\r'), qPrintable(line));
            QVERIFY2(record.size() == 312 || record.size() == 319, qPrintable(line));
            for (const char c : record.chopped(1))
                QVERIFY2(isPrintableWindows1252(decodeWindows1252(QByteArrayView(&c, 1))[0]),
                         qPrintable(line));
        }
        const ImportResult back = import(*list, ImportKind::FixedWidth);
        QVERIFY2(back.ok() && *back == *rows, qPrintable(line));
        ++written;
    }
    QVERIFY(written > 100); // the generator makes valid rows too
}

QTEST_GUILESS_MAIN(TestImportFile)
#include "tst_importfile.moc"
