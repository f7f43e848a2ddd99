#include "core/import/importfile.h"
#include "core/import/linereader.h"
#include "core/request/requestcheck.h"
#include "support/places.h"

#include <QBuffer>
#include <QDir>
#include <QRandomGenerator>
#include <QTest>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

const auto kFixed = ImportKind::FixedWidth;
const auto kCsv = ImportKind::Delimited;

// A delimited line for a person born in Rome, with `date` as field 5.
QByteArray romanCsv(const QByteArray& date = "05/01/1970", char separator = ',') {
    return QByteArrayList{"Rossi", "Mario", "H501", "", date, "Z000", "", "M", "RSSMRA70A05H501F"}
        .join(separator);
}

QByteArray lines(const QByteArrayList& list, const QByteArray& end = "\r\n") {
    return list.join(end) + end;
}

} // namespace

class TestImportFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        folder_.reset();
        folder_.emplace();
        writePlaceTables(*folder_);
    }
    void fileOutcome_data();
    void fileOutcome();
    void rowMapping_data();
    void rowMapping();
    void missingFileOrPlaceTableFails();
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
    ReferenceTable municipalities_{u"ref/FileCodComuni.txt"_s};
    ReferenceTable states_{u"ref/FileCodStati.txt"_s};
};

// How many rows a whole file gives, or the message that refuses it.
void TestImportFile::fileOutcome_data() {
    QTest::addColumn<ImportKind>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("rowsBefore");
    QTest::addColumn<QString>("outcome");
    const QByteArray roman = subjectListBytes({romanSubject()}).chopped(2);
    const QByteArray parisian = subjectListBytes({parisianSubject()}).chopped(2);
    const QByteArray longField(LineReader::kMaxLineLength - romanCsv().size() + 6, 'A');
    // File kind, bytes, rows already in the table; the rows imported, or the refusal.
    const std::tuple<ImportKind, QByteArray, int, QString> cases[] = {
        {kFixed, {}, 0, "0"},
        {kFixed, lines({roman, parisian}), 0, "2"},
        {kFixed, roman + "\r\n" + parisian, 0, "2"},
        {kFixed, lines({roman, parisian}, "\r"), 0, "2"},
        {kFixed, lines({roman, roman + "1"}), 0, importGeneralMessage(2)},
        {kFixed, lines({roman, QByteArray(roman).replace("1970-01-05", "1970-02-30")}), 0,
         importGeneralMessage(2)},
        {kFixed, lines({QByteArray(roman).replace("1970-01-05", "05/01/1970")}), 0, "1"},
        {kCsv, lines({romanCsv(), romanCsv("05/01/1970", ';') + ";"}), 0, "2"},
        {kCsv, lines({romanCsv(), romanCsv("5/1/1970")}), 0, importDateMessage(2)},
        {kCsv, lines({romanCsv("31/04/1970")}), 0, importGeneralMessage(1)},
        {kCsv, lines({romanCsv(), "", romanCsv()}), 0, importGeneralMessage(2)},
        {kCsv, lines({romanCsv() + ",1,2"}), 0, importGeneralMessage(1)},
        {kCsv, lines({romanCsv().replace(",Z000,", ";Z000;")}), 0, importGeneralMessage(1)},
        {kCsv, lines({romanCsv().replace("Rossi", QByteArray("Ro\0ssi", 6))}), 0,
         importGeneralMessage(1)},
        // DEL, and a byte the code page leaves undefined.
        {kCsv, lines({romanCsv().replace("Rossi", "Ro\x7Fssi")}), 0, importGeneralMessage(1)},
        {kCsv, lines({romanCsv().replace("Rossi", "Ro\x81ssi")}), 0, importGeneralMessage(1)},
        // Lines of Linux and Mac tools, a mix of them, and blank lines at the end.
        {kCsv, lines({romanCsv(), romanCsv()}, "\n"), 0, "2"},
        {kFixed, roman + "\n" + parisian + "\r\n" + roman + "\r" + parisian, 0, "4"},
        {kCsv, lines({romanCsv(), "", "  "}, "\n"), 0, "1"},
        {kCsv, lines({romanCsv(), romanCsv().replace("Rossi", "\xC5\x81oss\xC3\xAC")}), 0,
         importGeneralMessage(2) +
             u"\r\nIl carattere \u00AB\u0141\u00BB non esiste nella codifica Windows-1252"_s},
        {kCsv, lines({"A,B,,,5/1/1970,Z110,,M"}), 0, importGeneralMessage(1)},
        {kCsv, "\xFF\xFE" + lines({romanCsv()}), 0,
         importGeneralMessage(1) +
             u"\r\nIl file \u00E8 in UTF-16: salvarlo come UTF-8 o Windows-1252"_s},
        {kCsv,
         lines({romanCsv().replace("Rossi", "Ross\xEC"),
                romanCsv().replace("Rossi", "Ross\xC3\xAC")}),
         0,
         importGeneralMessage(2) +
             u"\r\nIl file mescola le codifiche UTF-8 e Windows-1252: riga 2"_s},
        // The longest line the reader takes, and one more character.
        {kCsv, lines({romanCsv().replace("Rossi", longField.chopped(1))}), 0, "1"},
        {kCsv, lines({romanCsv(), romanCsv().replace("Rossi", longField)}), 0,
         importGeneralMessage(2)},
        {kCsv, lines({romanCsv(), romanCsv()}), SubjectTable::kMaxRows - 2, "2"},
        {kCsv, lines({romanCsv(), romanCsv()}), SubjectTable::kMaxRows - 1, importFullMessage(2)},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [kind, bytes, rowsBefore, outcome] = cases[i];
        QTest::addRow("%zu", i) << kind << bytes << rowsBefore << outcome;
    }
}

void TestImportFile::fileOutcome() {
    QFETCH(ImportKind, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(int, rowsBefore);
    QFETCH(QString, outcome);
    const ImportResult result = import(bytes, kind, rowsBefore);
    // A refusal may add, on a line of its own, what is wrong with the line it names.
    const QString got = result.ok() ? QString::number(result->size()) : result.error();
    QVERIFY2(got == outcome || got.startsWith(outcome + u"\r\n"_s), qPrintable(got));
}

// Surname, birth date, municipality, its code, state, its code, unique identifier.
void TestImportFile::rowMapping_data() {
    QTest::addColumn<ImportKind>("kind");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("cells");
    const QByteArray roman = subjectListBytes({romanSubject()}).chopped(2);
    const auto fixed = [&](const char* municipalityCode, const char* stateCode) {
        return QByteArray(roman)
            .replace(0, 5, "rossi")
            .replace(144, 4, municipalityCode)
            .replace(218, 4, stateCode);
    };
    const QString rome = "ROSSI|05/01/1970|ROMA|H501|ITALIA|Z000|";
    const QString paris = "ROSSI|05/01/1970|||FRANCIA|Z110|";
    const QString accented = u"ROSS\u00CC|05/01/1970|||FRANCIA|Z110|"_s;
    // A code that no table holds is kept, without a name, for the row check to name it.
    const std::tuple<ImportKind, QByteArray, QString> cases[] = {
        {kFixed, fixed("H501", "Z000"), rome},
        {kFixed, fixed("H501", "    "), rome},
        {kFixed, fixed("H501", "000 "), "ROSSI|05/01/1970|ROMA|H501||000|"},
        {kFixed, fixed("    ", "110 "), "ROSSI|05/01/1970||||110|"},
        {kFixed, fixed("X999", "Z110"), "ROSSI|05/01/1970||X999|FRANCIA|Z110|"},
        {kFixed, fixed("h501", "z000").replace(0, 10, "  d'\xE0ngelo"),
         u"D'\u00C0NGELO|05/01/1970|ROMA|H501|ITALIA|Z000|"_s},
        {kCsv, "rossi,M,H501,,05/01/1970,000,,M,", rome},
        {kCsv, "rossi,M,H501,,05/01/1970,0,,M,", rome},
        {kCsv, "rossi,M,h501,,05/01/1970,,,M,", rome},
        {kCsv, "rossi,M,,,05/01/1970,110,,M,", paris},
        {kCsv, "rossi,M,952,,05/01/1970,Z112,,M,", "ROSSI|05/01/1970||952|GERMANIA|Z112|"},
        {kCsv, "rossi,M,X999,,05/01/1970,Z000,,M,", "ROSSI|05/01/1970||X999|ITALIA|Z000|"},
        {kCsv, "rossi,M,,,05/01/1970,Z999,,M,", "ROSSI|05/01/1970||||Z999|"},
        {kCsv, " rossi ;M;;;1970-01-05;Z110;;M;;ab12345",
         " ROSSI |05/01/1970|||FRANCIA|Z110|AB12345"},
        {kCsv, "ross\xEC,M,,,05/01/1970,Z110,,M,", accented},
        {kCsv, "ross\xC3\xAC,M,,,05/01/1970,Z110,,M,", accented},
        {kCsv, "\xEF\xBB\xBFross\xC3\xAC,M,,,05/01/1970,Z110,,M,", accented},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [kind, line, cells] = cases[i];
        QTest::addRow("%zu", i) << kind << line << cells;
    }
}

void TestImportFile::rowMapping() {
    QFETCH(ImportKind, kind);
    QFETCH(QByteArray, line);
    QFETCH(QString, cells);
    const ImportResult result = import(line, kind);
    QVERIFY2(result.ok() && result->size() == 1, line.constData());
    const SubjectValues row = result->first().values();
    QCOMPARE((QStringList{row[SurnameColumn], row[BirthDateColumn], row[MunicipalityColumn],
                          row[MunicipalityCodeColumn], row[StateColumn], row[StateCodeColumn],
                          row[CuiColumn]})
                 .join(u'|'),
             cells);
}

// Abroad needs only the state table, Italy only the municipality table; the message says what
// is wrong with the table.
void TestImportFile::missingFileOrPlaceTableFails() {
    const QByteArray parisian = "A,B,,,05/01/1970,Z110,,M,";
    QVERIFY(importSubjectFile(folder_->path(u"none.txt"_s), kFixed, 0, municipalities_, states_)
                .error()
                .startsWith(importGeneralMessage(0) + u"\r\n"_s));
    QFile::remove(folder_->path(u"ref/FileCodComuni.txt"_s));
    QVERIFY(import(lines({parisian}), kCsv).ok());
    QString error = import(lines({parisian, romanCsv()}), kCsv).error();
    QVERIFY(error.startsWith(importGeneralMessage(2) + "\r\nImpossibile leggere il file "));
    QVERIFY(error.contains("FileCodComuni.txt"));
    writePlaceTables(*folder_);
    writeBytes(folder_->path(u"ref/FileCodStati.txt"_s), "ZIMBABWE,Z3\r\n");
    QVERIFY(import(lines({romanCsv()}), kCsv).ok());
    error = import(lines({parisian}), kCsv).error();
    QVERIFY(error.startsWith(importGeneralMessage(1) + "\r\nLa tabella dei luoghi "));
    QVERIFY(error.contains("FileCodStati.txt"));
}

// Random rows, valid and broken in every way the checks know, go through either file kind in
// either encoding, the import and the batch check: each is refused somewhere, or the subject
// list written holds a record of 311 or 318 printable characters that imports back the same.
void TestImportFile::whateverRowsComeInTheListWrittenIsWellFormed() {
    const QDateTime now(QDate(2010, 3, 15), QTime(9, 32));
    QRandomGenerator random(1252);
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
    const Column csvOrder[] = {SurnameColumn,      NameColumn,      MunicipalityCodeColumn,
                               ForeignPlaceColumn, BirthDateColumn, StateCodeColumn,
                               FatherColumn,       SexColumn,       TaxCodeColumn,
                               CuiColumn};
    const int widths[] = {72, 72, 4, 60, 10, 4, 72, 1, 16, 0};
    int written = 0;
    for (int round = 0; round < 600; ++round) {
        SubjectValues v = random.bounded(2) ? romanSubject() : parisianSubject();
        for (int n = random.bounded(4); n > 0; --n) {
            const auto& [column, values] = changes[random.bounded(int(std::size(changes)))];
            v[column] = values[random.bounded(int(values.size()))];
        }
        const bool csv = random.bounded(2);
        QStringList fields;
        for (int i = 0; i < 10; ++i) {
            QString field = v[csvOrder[i]];
            if (!csv && csvOrder[i] == BirthDateColumn)
                field = field.mid(6) + u'-' + field.mid(3, 2) + u'-' + field.left(2);
            fields << (csv ? field : field.leftJustified(widths[i]));
        }
        const QString line = fields.join(csv ? u","_s : QString()) + u"\r\n"_s;
        const std::optional<QByteArray> bytes =
            random.bounded(2) ? std::optional(line.toUtf8()) : encodeWindows1252(line);
        if (!bytes)
            continue;
        const ImportResult rows = import(*bytes, csv ? kCsv : kFixed);
        if (!rows)
            continue;
        SubjectTable table;
        table.appendRows(*rows);
        if (!failingRowChecks(table, now).isEmpty())
            continue;
        const Result<QByteArray> list = subjectListBytes(table);
        QVERIFY2(list.ok(), qPrintable(line));
        QVERIFY2((list->size() == 313 || list->size() == 320) && list->endsWith("\r\n"),
                 qPrintable(line));
        for (const QChar c : decodeWindows1252(list->chopped(2)))
            QVERIFY2(isPrintableWindows1252(c), qPrintable(line));
        const ImportResult back = import(*list, kFixed);
        QVERIFY2(back.ok() && *back == *rows, qPrintable(line));
        ++written;
    }
    QVERIFY(written > 100); // the generator makes valid rows too
}

// The last line of a failure tells what is wrong with the line it names.
void TestImportFile::failureSaysWhatIsWrong() {
    const auto reason = [](const QString& error) {
        return error.section(QStringLiteral("\r\n"), -1);
    };
    const QByteArray roman = subjectListBytes({romanSubject()}).chopped(2);
    QCOMPARE(reason(import(lines({roman + "1"}), ImportKind::FixedWidth).error()),
             QStringLiteral("La riga ha 312 caratteri invece di 311 o 318"));
    QCOMPARE(reason(import(lines({romanCsv(), "A,B,C,D,E,F,G,H"}), ImportKind::Delimited).error()),
             QStringLiteral("La riga ha 8 campi invece di 9 o 10"));
    QCOMPARE(reason(import(lines({romanCsv(), "A"}), ImportKind::Delimited).error()),
             QStringLiteral("La riga ha 1 campo invece di 9 o 10"));
    // A heading is named as such, under the reason of today.
    const QString heading =
        import(lines({"COGNOME,NOME,COMUNE,ESTERO,NATO IL,STATO,PADRE,SESSO,CF", romanCsv()}),
               ImportKind::Delimited)
            .error();
    QVERIFY(heading.startsWith(importDateMessage(1)));
    QCOMPARE(reason(heading),
             QStringLiteral("La prima riga sembra un'intestazione: toglierla dal file"));
    // Every bad line is listed, up to a thousand.
    const ImportResult two =
        import(lines({romanCsv(), "A", romanCsv(), romanCsv("5/1/1970")}), ImportKind::Delimited);
    QCOMPARE(two.detail(), QStringLiteral("Riga 2: La riga ha 1 campo invece di 9 o 10\r\nRiga 4: "
                                          "La data di nascita \"5/1/1970\" non ha la forma "
                                          "gg/mm/aaaa"));
    const ImportResult many = import(lines(QByteArrayList(1003, "A")), ImportKind::Delimited);
    QCOMPARE(many.detail().count(QStringLiteral("Riga ")), 1000);
    QVERIFY(many.detail().endsWith(QStringLiteral("\r\n... e altre 3 righe")));
    QCOMPARE(reason(import(lines({romanCsv("31/02/1970")}), ImportKind::Delimited).error()),
             QStringLiteral("La data di nascita \"31/02/1970\" non \u00E8 una data reale"));
    QCOMPARE(reason(import(lines({romanCsv("5/1/1970")}), ImportKind::Delimited).error()),
             QStringLiteral("La data di nascita \"5/1/1970\" non ha la forma gg/mm/aaaa"));
    QCOMPARE(reason(importSubjectFile(folder_->path(QStringLiteral("ref")), ImportKind::FixedWidth,
                                      0, municipalities_, states_)
                        .error()),
             QDir::toNativeSeparators(folder_->path(u"ref"_s)) +
                 u" \u00E8 una cartella, non un file"_s);
}

QTEST_GUILESS_MAIN(TestImportFile)
#include "tst_importfile.moc"
