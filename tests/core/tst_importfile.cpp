#include "core/import/importfile.h"
#include "core/import/linereader.h"
#include "support/places.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

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
    void subjectListReadsBackUnchanged();
    void fileOutcome_data();
    void fileOutcome();
    void rowMapping_data();
    void rowMapping();
    void missingFileOrPlaceTableFails();
    void binaryFileFailsFast();
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

void TestImportFile::subjectListReadsBackUnchanged() {
    SubjectValues noCui = romanSubject();
    noCui[FatherColumn] = QStringLiteral("GIUSEPPE");
    const QList<SubjectValues> subjects{noCui, parisianSubject()};
    const ImportResult result = import(subjectListBytes(subjects), ImportKind::FixedWidth);
    QVERIFY(result.ok());
    QCOMPARE(*result, subjects);
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
    QTest::newRow("field count before the date")
        << csv << lines({"A,B,,,5/1/1970,Z110,,M"}) << 0 << 0 << importGeneralMessage(1);

    const QByteArray line = romanCsv() + "\r\n";
    const QByteArray full = line.repeated(SubjectTable::kMaxRows);
    QTest::newRow("32,767 rows") << csv << full << 0 << SubjectTable::kMaxRows << none;
    QTest::newRow("32,768 rows") << csv << full + line << 0 << 0 << importGeneralMessage(32768);
    QTest::newRow("room counts the rows there")
        << csv << line + line << 32766 << 0 << importGeneralMessage(2);
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
        QVERIFY2(result.error().startsWith(message + QStringLiteral("\r\n")),
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
    QTest::newRow("csv: accented letters")
        << csv << QByteArray("ross\xEC,M,,,05/01/1970,Z110,,M,")
        << QStringLiteral("ROSS\u00CC|05/01/1970|||FRANCIA|Z110|");
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
    // Abroad needs only the state table, Italy only the municipality table.
    QFile::remove(folder_->path(QStringLiteral("ref/FileCodComuni.txt")));
    QVERIFY(import(lines({parisian}), ImportKind::Delimited).ok());
    QVERIFY(import(lines({parisian, romanCsv()}), ImportKind::Delimited)
                .error()
                .startsWith(importGeneralMessage(2)));
    writePlaceTables(*folder_);
    QFile::remove(folder_->path(QStringLiteral("ref/FileCodStati.txt")));
    QVERIFY(import(lines({romanCsv()}), ImportKind::Delimited).ok());
    QVERIFY(import(lines({parisian}), ImportKind::Delimited)
                .error()
                .startsWith(importGeneralMessage(1)));
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

QTEST_GUILESS_MAIN(TestImportFile)
#include "tst_importfile.moc"
