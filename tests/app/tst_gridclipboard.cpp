#include "app/gridclipboard.h"
#include "app/subjecttable.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace velmora;

namespace {

const QString FF = QString(QChar(12));
const QString VT = QString(QChar(11));
const QString kHead = QStringLiteral("[GRIDCLIP]") + FF;

SubjectValues person(const QString& surname, const QString& name = QStringLiteral("MARIO")) {
    SubjectValues values;
    values[SurnameColumn] = surname;
    values[NameColumn] = name;
    values[StateCodeColumn] = QStringLiteral("Z000");
    return values;
}

// A table of `count` rows whose surnames are "S1", "S2", ...
void fill(SubjectTable& table, int count) {
    QList<SubjectValues> rows;
    for (int i = 1; i <= count; ++i)
        rows.append(person(QStringLiteral("S%1").arg(i)));
    table.appendRows(rows);
}

QStringList column(const SubjectTable& table, int c) {
    QStringList texts;
    for (int row = 1; row <= table.progressivo(); ++row)
        texts.append(table.cell(row, c));
    return texts;
}

} // namespace

class TestGridClipboard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void removeRowMovesValuesAndColoursUp();
    void removeRowIsOneSignal();
    void keepRowsDropsTheRest();
    void copyText();
    void pasteWritesCells();
    void pasteRefusals_data();
    void pasteRefusals();
};

void TestGridClipboard::removeRowMovesValuesAndColoursUp() {
    SubjectTable table;
    QAbstractItemModelTester tester(&table);
    fill(table, 4);
    table.setColors(3, {kLightRed, kBlack});
    table.setColors(4, {kLightRed, kBlack});
    table.removeRow(2);
    QCOMPARE(column(table, SurnameColumn), (QStringList{"S1", "S3", "S4"}));
    QCOMPARE(column(table, NumberColumn), (QStringList{"1", "2", "3"}));
    QCOMPARE(table.headerData(2, Qt::Vertical).toString(), QStringLiteral("3"));
    QCOMPARE(table.colors(1), RowColors());
    QCOMPARE(table.colors(2), (RowColors{kLightRed, kBlack}));
    QCOMPARE(table.colors(3), (RowColors{kLightRed, kBlack}));

    table.removeRow(3); // the last row
    QCOMPARE(column(table, SurnameColumn), (QStringList{"S1", "S3"}));
    table.removeRow(1);
    table.removeRow(1); // the only row
    QCOMPARE(table.progressivo(), 0);
    QCOMPARE(table.cell(0, SurnameColumn), QStringLiteral("Cognome *"));
    table.removeRow(1); // nothing left: nothing happens
    QCOMPARE(table.progressivo(), 0);
}

void TestGridClipboard::removeRowIsOneSignal() {
    SubjectTable table;
    fill(table, 1000);
    QSignalSpy removed(&table, &SubjectTable::rowsRemoved);
    QSignalSpy changed(&table, &SubjectTable::dataChanged);
    QSignalSpy reset(&table, &SubjectTable::modelReset);
    table.removeRow(1);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed.first().at(1).toInt(), 0);
    QCOMPARE(removed.first().at(2).toInt(), 0);
    QVERIFY(changed.isEmpty() && reset.isEmpty());
    QCOMPARE(table.cell(999, NumberColumn), QStringLiteral("999"));
    QCOMPARE(table.cell(999, SurnameColumn), QStringLiteral("S1000"));
}

void TestGridClipboard::keepRowsDropsTheRest() {
    SubjectTable table;
    QAbstractItemModelTester tester(&table);
    fill(table, 7);
    table.setColors(2, {kLightRed, kBlack});
    QSignalSpy removed(&table, &SubjectTable::rowsRemoved);
    table.keepRows(3);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(column(table, SurnameColumn), (QStringList{"S1", "S2", "S3"}));
    QCOMPARE(table.colors(2).back, kLightRed);
    table.keepRows(3);
    table.keepRows(5);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(table.progressivo(), 3);
}

void TestGridClipboard::copyText() {
    SubjectTable table;
    table.appendRows({person("X"), person("Y"), person("A", "B"), person("C", "D")});
    const QString expected = kHead + "A" + VT + "B" + VT + FF + "C" + VT + "D" + VT + FF;
    QCOMPARE(expected.size(), 21);
    QCOMPARE(gridClipText(table, 3, 4, 1, 2), expected);
    QCOMPARE(gridClipText(table, 4, 3, 2, 1), expected);

    // The header row and the number column are cells like the others; empty ones are a lone tab.
    QCOMPARE(gridClipText(table, 0, 1, 0, 1),
             kHead + VT + "Cognome *" + VT + FF + "1" + VT + "X" + VT + FF);
    QCOMPARE(gridClipText(table, 1, 1, 5, 5), kHead + VT + FF);

    QCOMPARE(gridClipText(table, 3, 5, 1, 2), std::nullopt);
    QCOMPARE(gridClipText(table, -1, 1, 1, 2), std::nullopt);
    QCOMPARE(gridClipText(table, 1, 1, 1, ColumnCount), std::nullopt);
}

void TestGridClipboard::pasteWritesCells() {
    SubjectTable table;
    fill(table, 4);
    table.setColors(2, {kLightRed, kBlack});
    const QString text = kHead + "A" + VT + "B" + VT + FF + "C" + VT + "D" + VT + FF;
    QVERIFY(pasteGridClipText(table, text, 2, 1));
    QCOMPARE(table.values(2)[SurnameColumn] + table.values(2)[NameColumn], QStringLiteral("AB"));
    QCOMPARE(table.values(3)[SurnameColumn] + table.values(3)[NameColumn], QStringLiteral("CD"));
    QCOMPARE(table.cell(2, NumberColumn), QStringLiteral("2"));
    QCOMPARE(table.colors(2).back, kLightRed); // a paste carries text only

    // Two form feeds in a row: the empty row writes nothing and the next goes one lower.
    QVERIFY(pasteGridClipText(table, kHead + FF + "E" + VT + FF, 1, 1));
    QCOMPARE(column(table, SurnameColumn), (QStringList{"S1", "E", "C", "S4"}));
    QVERIFY(pasteGridClipText(table, kHead, 1, 1));
}

void TestGridClipboard::pasteRefusals_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QStringList>("surnames");

    const QStringList untouched{"S1", "S2", "S3"};
    const QString twoRows = kHead + "A" + VT + FF + "C" + VT + FF;
    QTest::newRow("ordinary text") << QStringLiteral("Rossi") << 1 << 1 << untouched;
    QTest::newRow("marker without form feed")
        << QStringLiteral("[GRIDCLIP]A") + VT + FF << 1 << 1 << untouched;
    QTest::newRow("two rows at the last row") << twoRows << 3 << 1 << QStringList{"S1", "S2", "A"};
    QTest::newRow("last row without its form feed")
        << kHead + "A" + VT + FF + "C" + VT << 1 << 1 << QStringList{"A", "C", "S3"};
    QTest::newRow("last cell without its tab")
        << kHead + "A" + VT + FF + "C" << 1 << 1 << QStringList{"A", "S2", "S3"};
    QTest::newRow("past the last column")
        << kHead + "A" + VT + "B" + VT + FF << 1 << int(StateCodeColumn) << untouched;
    QTest::newRow("into the header row") << twoRows << 0 << 1 << untouched;
    QTest::newRow("into the number column") << twoRows << 1 << 0 << untouched;
}

void TestGridClipboard::pasteRefusals() {
    QFETCH(QString, text);
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QStringList, surnames);
    SubjectTable table;
    fill(table, 3);
    QVERIFY(!pasteGridClipText(table, text, row, col));
    QCOMPARE(column(table, SurnameColumn), surnames);
    QCOMPARE(table.progressivo(), 3);
    QCOMPARE(table.cell(0, SurnameColumn), QStringLiteral("Cognome *"));
    QCOMPARE(column(table, NumberColumn), (QStringList{"1", "2", "3"}));
}

QTEST_GUILESS_MAIN(TestGridClipboard)
#include "tst_gridclipboard.moc"
