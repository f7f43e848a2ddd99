#include "core/subjects/gridclipboard.h"
#include "core/subjects/subjecttable.h"
#include "support/places.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace velmora;

static const QString FF = QString(QChar(12));
static const QString VT = QString(QChar(11));
static const QString kHead = QStringLiteral("[GRIDCLIP]") + FF;

static QStringList column(const SubjectTable& table, int c) {
    QStringList texts;
    for (int row = 1; row <= table.progressivo(); ++row)
        texts.append(table.cell(row, c));
    return texts;
}

class TestGridClipboard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void removeRowIsOneRemoval() {
        SubjectTable table;
        QAbstractItemModelTester tester(&table);
        test::fillNumbered(table, 1000);
        table.setColors(1000, {kLightRed, kBlack});
        QSignalSpy removed(&table, &SubjectTable::rowsRemoved);
        QSignalSpy changed(&table, &SubjectTable::dataChanged);
        QSignalSpy reset(&table, &SubjectTable::modelReset);
        table.removeRow(1);
        QVERIFY(removed.size() == 1 && changed.isEmpty() && reset.isEmpty());
        QCOMPARE(table.cell(999, NumberColumn), "999");
        QCOMPARE(table.headerData(998, Qt::Vertical).toString(), "999");
        QCOMPARE(table.cell(999, SurnameColumn), "S1000");
        QCOMPARE(table.colors(999).back, kLightRed);
    }

    // A row holds its twelve values in one text: changing one, longer, shorter or emptied,
    // leaves the others as they were.
    void oneCellChangesAlone() {
        SubjectTable table;
        const SubjectValues roman = test::romanSubject();
        table.appendRow(roman);
        QCOMPARE(table.values(1), roman);
        SubjectValues expected = roman;
        for (const QString& text :
             {QStringLiteral("VERDI DE' BIANCHI ").repeated(5), QStringLiteral("V"), QString()}) {
            for (const Column column : {SurnameColumn, BirthDateColumn, StateCodeColumn}) {
                QVERIFY(table.setCell(1, column, text));
                expected[column] = text;
                QCOMPARE(table.values(1), expected);
            }
        }
    }

    void copyTakesFixedCells() {
        SubjectTable table;
        test::fillNumbered(table, 2);
        // The header row and number column are cells like the others; an empty one is a lone tab.
        QCOMPARE(gridClipText(table, 1, 0, 1, 0),
                 kHead + VT + "Cognome *" + VT + FF + "1" + VT + "S1" + VT + FF);
        QCOMPARE(gridClipText(table, 2, 2, 5, 5), kHead + VT + FF);
        QCOMPARE(gridClipText(table, 1, 3, 1, 2), std::nullopt);
        QCOMPARE(gridClipText(table, 1, 1, 1, ColumnCount), std::nullopt);
    }

    // The text, where it goes (row, column), the answer and the surnames after it.
    void paste() {
        const QStringList untouched{"S1", "S2", "S3"};
        const QString twoRows = kHead + "A" + VT + FF + "C" + VT + FF;
        const std::tuple<QString, int, int, bool, QStringList> cases[] = {
            {twoRows, 2, 1, true, {"S1", "A", "C"}},
            {kHead + FF + "E" + VT + FF, 1, 1, true, {"S1", "E", "S3"}}, // an empty row moves on
            {kHead, 1, 1, true, untouched},
            {"Rossi", 1, 1, false, untouched},
            {"[GRIDCLIP]A" + VT + FF, 1, 1, false, untouched},                 // no form feed
            {twoRows, 3, 1, false, {"S1", "S2", "A"}},                         // at the last row
            {kHead + "A" + VT + FF + "C" + VT, 1, 1, false, {"A", "C", "S3"}}, // last row unended
            {kHead + "A" + VT + FF + "C", 1, 1, false, {"A", "S2", "S3"}},     // last cell unended
            {kHead + "A" + VT + "B" + VT + FF, 1, int(StateCodeColumn), false, untouched},
            {twoRows, 0, 1, false, untouched}, // the header row
            {twoRows, 1, 0, false, untouched}, // the number column
        };
        for (const auto& [text, row, col, answer, surnames] : cases) {
            SubjectTable table;
            test::fillNumbered(table, 3);
            table.setColors(2, {kLightRed, kBlack});
            QCOMPARE(pasteGridClipText(table, text, row, col), answer);
            QCOMPARE(column(table, SurnameColumn), surnames);
            QCOMPARE(column(table, NumberColumn), (QStringList{"1", "2", "3"}));
            QCOMPARE(table.cell(0, SurnameColumn), "Cognome *");
            QCOMPARE(table.colors(2).back, kLightRed); // a paste carries text only
        }
    }
};

QTEST_GUILESS_MAIN(TestGridClipboard)
#include "tst_gridclipboard.moc"
