#include "core/import/importfile.h"
#include "core/recovery.h"
#include "support/places.h"

#include <QBuffer>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

static const QDateTime kSaved(QDate(2010, 3, 15), QTime(9, 32));

class TestRecovery : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { writePlaceTables(folder_); }

    // A line splits back into the same ten fields, or is refused: the import splits at commas
    // when the line holds 8 or 9 of them, else at semicolons.
    void lineSplitsBackAtItsSeparator() {
        const std::tuple<int, QString, bool> cases[] = {
            {0, "", true}, {2, "", true},  {0, "A;B", true}, {1, "A;B", false},
            {7, "", true}, {8, "", false}, {9, "", false},   {10, "", true},
        };
        for (const auto& [commas, father, written] : cases) {
            SubjectValues subject = parisianSubject();
            subject[SurnameColumn] = "ROSSI" + QString(",").repeated(commas);
            subject[FatherColumn] = father;
            const Result<QString> line = delimitedLine(SubjectRow(subject), 7);
            QCOMPARE(line.ok(), written);
            if (!line) {
                QVERIFY(line.error().contains(u"riga 7"));
                continue;
            }
            const DelimitedFields fields = delimitedFields(*line);
            QCOMPARE(fields.size(), 10);
            QCOMPARE((QList{fields[0], fields[6], fields[9]}),
                     (QList<QStringView>{subject[SurnameColumn], father, subject[CuiColumn]}));
        }
    }

    void requestAndRowsReadBackOrAreRefused() {
        Request request{2, "LAVORO = PRESSO L'UFFICIO; \u00C0 ROMA", "123AB", "15/03/2010", true};
        SubjectTable table;
        table.appendRows({romanSubject(), parisianSubject(), romanSubject()});
        const QByteArray bytes = recoveryBytes(request, table, kSaved).value();
        QVERIFY(bytes.endsWith("\r\n"));
        QVERIFY(bytes.contains("\xC0 ROMA\r\n")); // Windows-1252, one byte a letter
        QVERIFY(bytes.contains("ULTIMA MODIFICA=15/03/2010 09:32\r\n"));
        const Result<RecoveryRead> read = readRecovery(bytes);
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QCOMPARE(std::tuple(read->request, read->saved, read->subjects),
                 std::tuple(request, kSaved, 3));
        QCOMPARE(recoveryQuestion(*read),
                 "\u00C8 stata trovata una richiesta non completata (3 soggetti, "
                 "ultima modifica il 15/03/2010 alle 09:32). Riprenderla?");
        QCOMPARE(recoveredSubjects(*read, municipalities_, states_).value(),
                 (QList{SubjectRow(romanSubject()), SubjectRow(parisianSubject()),
                        SubjectRow(romanSubject())}));
        // No type chosen yet, nothing typed, no subjects.
        const Result<RecoveryRead> blank =
            readRecovery(*recoveryBytes(Request{}, SubjectTable(), kSaved));
        QCOMPARE(std::tuple(blank->request, blank->subjects), std::tuple(Request{}, 0));

        const auto replaced = [&](const char* from, const char* to) {
            return QByteArray(bytes).replace(from, to);
        };
        const std::pair<QByteArray, QString> damaged[] = {
            {"ROSSI,MARIO\r\n", "non \u00E8 una richiesta"},
            {replaced("CERTIFICATO=2", "CERTIFICATO=5"), "riga 2 "},
            {replaced("NUMERO PROTOCOLLO=123AB\r\n", ""), "riga 4 "},
            {replaced("15/03/2010 09:32", "31/02/2010 09:32"), "riga 7 "},
            {bytes.left(bytes.size() - 20), "importato alla riga 3\r"}, // cut short
            {replaced("SOGGETTI=3", "SOGGETTI=4"), "3 soggetti invece di 4"},
            {replaced("05/01/1970", "05/13/1970"), "importato alla riga 1\r"},
        };
        for (const auto& [damagedBytes, reason] : damaged) {
            const Result<RecoveryRead> back = readRecovery(damagedBytes);
            const QString error =
                back ? recoveredSubjects(*back, municipalities_, states_).error() : back.error();
            QVERIFY2(error.contains(reason), qPrintable(error));
        }
    }

    void oneOlderCopyIsKept() {
        writeBytes(folder_.path("richiesta-in-corso-20090101-0800.txt"), "old");
        writeBytes(folder_.path("richiesta-in-corso.txt"), "current");
        QVERIFY(setModified(folder_.path("richiesta-in-corso.txt"),
                            kSaved.secsTo(QDateTime::currentDateTime())));
        const Result<QString> aside = moveRecoveryAside(folder_.path());
        QVERIFY2(aside.ok(), qPrintable(aside.error()));
        QCOMPARE(QDir(folder_.path()).entryList({"richiesta-in-corso*"}, QDir::Files),
                 QStringList{"richiesta-in-corso-20100315-0932.txt"});
        QCOMPARE(readBytes(*aside), "current");
    }

    // The largest table, accents included, through the export and back through the import.
    void fullTableExportsAndImportsBack() {
        SubjectValues accented = parisianSubject();
        accented[SurnameColumn] = "D'ANNUNZIO \u00C0\u00C8\u00CC\u00D2\u00D9";
        accented[FatherColumn] = "NICOL\u00D2, DETTO NIC\u00D2";
        QList<SubjectRow> rows;
        for (int i = 0; i < SubjectTable::kMaxRows; ++i)
            rows.append(SubjectRow(i % 2 ? romanSubject() : accented));
        SubjectTable table;
        table.appendRows(rows);
        const Result<QByteArray> bytes = delimitedSubjectBytes(table);
        QVERIFY2(bytes.ok(), qPrintable(bytes.error()));
        QCOMPARE(bytes->count("\r\n"), SubjectTable::kMaxRows);
        QBuffer file;
        file.setData(*bytes);
        file.open(QIODevice::ReadOnly);
        QCOMPARE(importSubjects(file, ImportKind::Delimited, 0, municipalities_, states_).value(),
                 rows);
    }

private:
    ScratchFolder folder_;
    ReferenceTable municipalities_{QStringLiteral("ref/FileCodComuni.txt")};
    ReferenceTable states_{QStringLiteral("ref/FileCodStati.txt")};
};

QTEST_GUILESS_MAIN(TestRecovery)
#include "tst_recovery.moc"
