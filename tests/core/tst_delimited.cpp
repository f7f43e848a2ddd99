#include "core/import/importfile.h"
#include "core/subjects/delimited.h"
#include "support/places.h"

#include <QBuffer>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

class TestDelimited : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { writePlaceTables(folder_); }

    // A table of Roman subjects with, from row 2 every other row, a Parisian one with the
    // surname and father's name given: written as delimited lines and imported back, or refused.
    // Semicolons separate, or commas when a value holds a semicolon; the import splits at commas
    // when 8 or 9 of them make the fields, else at semicolons.
    void tableReadsBackOrIsRefused_data() {
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QString>("father");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QByteArray>("line"); // of row 2, when given
        QTest::addColumn<QString>("refusal"); // "" when written
        const QString commas = ",,,,,,,,,,";
        const QString both = "la riga 2 contiene sia virgole sia punti e virgola";
        const QByteArray none;
        const std::tuple<const char*, QString, QString, int, QByteArray, QString> rows[] = {
            {"plain", "DUPONT", "PIERRE", 2,
             "DUPONT;JOS\xC8;;PARIGI;31/12/1999;Z110;PIERRE;F;;1234567", ""},
            {"2 commas", "DUPONT,,", "", 2, "DUPONT,,;JOS\xC8;;PARIGI;31/12/1999;Z110;;F;;1234567",
             ""},
            {"semicolon", "DUPONT", "A;B", 2,
             "DUPONT,JOS\xC8,,PARIGI,31/12/1999,Z110,A;B,F,,1234567", ""},
            {"comma and semicolon", "DUPONT,", "A;B", 2, none, both},
            {"7 commas", "DUPONT" + commas.left(7), "", 2, none, ""},
            {"8 commas", "DUPONT" + commas.left(8), "", 2, none, both},
            {"9 commas", "DUPONT" + commas.left(9), "", 2, none, both},
            {"10 commas", "DUPONT" + commas, "", 2, none, ""},
            {"largest table, accented", "D'ANNUNZIO \u00C0\u00C8\u00CC\u00D2\u00D9",
             "NICOL\u00D2, DETTO NIC\u00D2", SubjectTable::kMaxRows, none, ""},
            {"outside the code page", "\u0141OSSI", "", 2, none, "\u00AB\u0141\u00BB"}};
        for (const auto& [tag, surname, father, count, line, refusal] : rows)
            QTest::newRow(tag) << surname << father << count << line << refusal;
    }

    void tableReadsBackOrIsRefused() {
        QFETCH(QString, surname);
        QFETCH(QString, father);
        QFETCH(int, rows);
        QFETCH(QByteArray, line);
        QFETCH(QString, refusal);
        SubjectValues parisian = parisianSubject();
        parisian[SurnameColumn] = surname;
        parisian[FatherColumn] = father;
        QList<SubjectRow> written;
        for (int i = 0; i < rows; ++i)
            written.append(SubjectRow(i % 2 ? parisian : romanSubject()));
        SubjectTable table;
        table.appendRows(written);
        const Result<QByteArray> bytes = delimitedSubjectBytes(table);
        if (!refusal.isEmpty()) {
            QVERIFY2(bytes.error().contains(refusal), qPrintable(bytes.error()));
            return;
        }
        QVERIFY2(bytes.ok(), qPrintable(bytes.error()));
        QVERIFY(bytes->startsWith("ROSSI;MARIO;H501;;05/01/1970;Z000;;M;RSSMRA70A05H501F;\r\n"));
        if (!line.isEmpty())
            QCOMPARE(bytes->split('\n').at(1), line + '\r');
        QCOMPARE(bytes->count("\r\n"), rows);
        QBuffer file;
        file.setData(*bytes);
        file.open(QIODevice::ReadOnly);
        const ImportResult back =
            importSubjects(file, ImportKind::Delimited, 0, municipalities_, states_);
        QVERIFY2(back.ok(), qPrintable(back.error()));
        QCOMPARE(*back, written);
    }

private:
    ScratchFolder folder_;
    ReferenceTable municipalities_{QStringLiteral("ref/FileCodComuni.txt")};
    ReferenceTable states_{QStringLiteral("ref/FileCodStati.txt")};
};

QTEST_GUILESS_MAIN(TestDelimited)
#include "tst_delimited.moc"
