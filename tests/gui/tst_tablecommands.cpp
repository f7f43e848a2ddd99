#include "core/subjects/gridclipboard.h"
#include "core/subjects/personcheck.h"
#include "gui/avvisotabella.h"
#include "gui/insertpersona.h"
#include "gui/widgets/subjectgrid.h"
#include "support/fixture.h"
#include "support/places.h"
#include "support/windows.h"

#include <QClipboard>

using namespace velmora;
using test::shownWindow;

namespace {

const QString kOperatorCopy = QStringLiteral("testo copiato dall'operatore");

QString clipboardText() {
    return QGuiApplication::clipboard()->text();
}

// The main window of a started program over the numbered rows S1, S2, ...
struct Rows : test::Started {
    explicit Rows(int rows) {
        test::fillNumbered(program.table, rows);
        QGuiApplication::clipboard()->setText(kOperatorCopy);
    }
    SubjectGrid* grid() { return main.MSFlexGrid1; }
};

} // namespace

// Removing, copying and pasting rows are proven by the core tests; here only their wiring.
class TestTableCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void clearTableAsksFirst();
    void eraseTableKeepsFirstRows();
    void deleteRow_data();
    void deleteRow();
    void copyAndPasteStartAtTheCurrentCell();
    void gridPaintsOneRowAndKeepsOneSelected();
    void fullTableOpensNoEntryWindow();
};

void TestTableCommands::clearTableAsksFirst() {
    test::Started s;
    QTest::mouseClick(s.main.Command6, Qt::LeftButton); // an empty table: nothing to ask
    QVERIFY(!shownWindow<AvvisoTabella>());

    test::fillNumbered(s.program.table, 5);
    s.program.importoFile = true;
    QTest::mouseClick(s.main.Command6, Qt::LeftButton);
    AvvisoTabella* confirm = shownWindow<AvvisoTabella>();
    QVERIFY(confirm);
    QCOMPARE(confirm->focusWidget(), confirm->Command2);
    QTest::keyClick(confirm->Command2, Qt::Key_Return);
    QCOMPARE(s.program.table.progressivo(), 5); // Enter cancels
    QTRY_VERIFY(!shownWindow<AvvisoTabella>());

    QTest::mouseClick(s.main.Command6, Qt::LeftButton);
    QTest::mouseClick(shownWindow<AvvisoTabella>()->Command1, Qt::LeftButton);
    QCOMPARE(s.program.table.progressivo(), 0);
    QCOMPARE(s.program.indiceSoggetti, 0);
    QVERIFY(!s.program.importoFile);
    QTRY_VERIFY(!shownWindow<AvvisoTabella>());
}

void TestTableCommands::eraseTableKeepsFirstRows() {
    test::Started s;
    SubjectTable& table = s.program.table;
    test::fillNumbered(table, 7);
    table.setColors(2, {kLightRed, kBlack});
    s.main.MSFlexGrid1->setCurrentCell(7, TaxCodeColumn);
    s.program.importoFile = true;
    int prog = 3;
    s.main.clearTableWindow().EraseTable(prog); // never shown, as the import uses it
    QCOMPARE(prog, 4);
    QCOMPARE(table.progressivo(), 3);
    QCOMPARE(table.cell(3, SurnameColumn), QStringLiteral("S3"));
    QCOMPARE(table.colors(2).back, kLightRed);
    QCOMPARE(s.main.MSFlexGrid1->currentRow(), 3);
    QCOMPARE(s.main.MSFlexGrid1->currentColumn(), int(SurnameColumn));
    QCOMPARE(s.program.indiceSoggetti, 3);
    QVERIFY(s.program.importoFile);
    QVERIFY(!shownWindow<AvvisoTabella>());
}

void TestTableCommands::deleteRow_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("current");                 // after the command
    QTest::newRow("accepted") << 4 << true << 3 << 2; // the row that took its place
    QTest::newRow("refused") << 3 << false << 3 << 2;
    QTest::newRow("empty table") << 0 << true << 0 << 0;
}

void TestTableCommands::deleteRow() {
    QFETCH(int, rows);
    QFETCH(bool, answer);
    Rows s(rows);
    if (rows > 0)
        s.grid()->setCurrentCell(2, NameColumn);
    s.messages.answers = {answer};
    QTest::mouseClick(s.main.Command5, Qt::LeftButton);
    if (rows == 0) {
        QVERIFY(s.messages.asked.isEmpty());
    } else {
        QCOMPARE(s.messages.asked.size(), 1);
        QCOMPARE(s.messages.asked.first().text, kDeleteQuestion.arg(2));
        QCOMPARE(s.messages.asked.first().icon, Messages::Icon::Exclamation);
        QVERIFY(s.messages.askedDefaultNo.first());
    }
    QTEST(s.program.table.progressivo(), "left");
    if (rows > 0)
        QCOMPARE(s.program.table.cell(2, SurnameColumn) == u"S2", !answer);
    QTEST(s.program.indiceSoggetti, "current");
    QTEST(s.grid()->currentRow(), "current");
    QCOMPARE(clipboardText(), kOperatorCopy);
}

void TestTableCommands::copyAndPasteStartAtTheCurrentCell() {
    Rows s(4);
    Principale::CopyFromGrid(s.grid(), 3, 4, 1, 1);
    const QString copied = clipboardText();
    QCOMPARE(copied, gridClipText(s.program.table, 3, 4, 1, 1).value());
    // Omitted bounds: from the current cell to the end of its row.
    s.grid()->setCurrentCell(2, StateColumn);
    Principale::CopyFromGrid(s.grid());
    QCOMPARE(clipboardText(),
             gridClipText(s.program.table, 2, 2, StateColumn, ColumnCount - 1).value());
    // No grid: the clipboard keeps what it held.
    Principale::CopyFromGrid(nullptr, 1, 1, 1, 1);
    QVERIFY(!Principale::PasteToGrid(nullptr, 1, 1));

    QGuiApplication::clipboard()->setText(copied);
    s.grid()->setCurrentCell(1, SurnameColumn);
    QVERIFY(Principale::PasteToGrid(s.grid()));
    QCOMPARE(s.program.table.cell(1, SurnameColumn), QStringLiteral("S3"));
    QCOMPARE(s.program.table.cell(2, SurnameColumn), QStringLiteral("S4"));
}

void TestTableCommands::gridPaintsOneRowAndKeepsOneSelected() {
    Rows s(4);
    s.grid()->setCurrentCell(3, BirthDateColumn);
    int row = 0; // the current row
    PaintGridRow(*s.grid(), kLightRed, row, kBlack);
    QCOMPARE(row, 3);
    QCOMPARE(s.program.table.colors(3), (RowColors{kLightRed, kBlack}));
    QCOMPARE(s.program.table.colors(2), RowColors());
    const QModelIndex shown = s.grid()->model()->index(2, SurnameColumn);
    QCOMPARE(shown.data(Qt::BackgroundRole).value<QColor>(), QColor(255, 192, 192));

    const auto click = [&s](int row, Qt::KeyboardModifiers modifiers) {
        const QModelIndex cell = s.grid()->model()->index(row - 1, NameColumn);
        QTest::mouseClick(s.grid()->viewport(), Qt::LeftButton, modifiers,
                          s.grid()->visualRect(cell).center());
    };
    click(1, {});
    click(4, Qt::ShiftModifier);
    QCOMPARE(s.program.indiceSoggetti, 4);
    QCOMPARE(s.grid()->selectionModel()->selectedRows().size(), 1);
}

void TestTableCommands::fullTableOpensNoEntryWindow() {
    Rows s(SubjectTable::kMaxRows);
    s.main.Command3->click();
    QCOMPARE(s.messages.texts(), QStringList{tableFullMessage()});
    QVERIFY(!shownWindow<InsertPersona>());
}

QTEST_MAIN(TestTableCommands)
#include "tst_tablecommands.moc"
