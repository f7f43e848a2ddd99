#include "gui/widgets/subjectgrid.h"
#include "support/fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

using namespace velmora;

namespace {

const QByteArray kCompleteConfig = "UFFICIO\r\nROMA\r\nLAVORO\r\n 2\r\n\r\n\r\n\r\n";
const QString FF = QString(QChar(12));
const QString VT = QString(QChar(11));
const QString kOperatorCopy = QStringLiteral("testo copiato dall'operatore");

SubjectValues person(const QString& surname, const QString& name = QStringLiteral("MARIO")) {
    SubjectValues values;
    values[SurnameColumn] = surname;
    values[NameColumn] = name;
    values[SexColumn] = QStringLiteral("M");
    return values;
}

QStringList surnames(const SubjectTable& table) {
    QStringList texts;
    for (int row = 1; row <= table.progressivo(); ++row)
        texts.append(table.cell(row, SurnameColumn));
    return texts;
}

QString clipboardText() {
    return QGuiApplication::clipboard()->text();
}

// The main window of a started program, over a table of the given surnames.
struct Started {
    explicit Started(const QStringList& rows) {
        main.Form_Load();
        QList<SubjectValues> values;
        for (const QString& surname : rows)
            values.append(person(surname));
        f.program.table.appendRows(values);
        QGuiApplication::clipboard()->setText(kOperatorCopy);
    }
    ~Started() { main.close(); }

    void select(int row) { main.MSFlexGrid1->setCurrentCell(row, NameColumn); }

    test::ProgramFixture f{kCompleteConfig};
    Principale& main = f.program.principale();
    SubjectTable& table = f.program.table;
};

} // namespace

class TestRowDeletion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void deleteRow_data();
    void deleteRow();
    void copyFromGridPutsTheText();
    void pasteToGrid();
};

void TestRowDeletion::deleteRow_data() {
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("marked");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<int>("markedAfter");
    QTest::newRow("middle row") << QStringList{"A", "B", "C", "D"} << 3 << true
                                << QStringList{"A", "C", "D"} << 2;
    QTest::newRow("last row") << QStringList{"A", "B"} << 0 << true << QStringList{"A"} << 0;
    QTest::newRow("only row") << QStringList{"A"} << 0 << true << QStringList() << 0;
    QTest::newRow("refused") << QStringList{"A", "B", "C"} << 3 << false
                             << QStringList{"A", "B", "C"} << 3;
    QTest::newRow("empty table") << QStringList() << 0 << true << QStringList() << 0;
}

// The selected row is the last one, or the second when there are more than two.
void TestRowDeletion::deleteRow() {
    QFETCH(QStringList, rows);
    QFETCH(int, marked);
    QFETCH(QStringList, left);
    QFETCH(int, markedAfter);
    Started s(rows);
    if (marked > 0)
        s.table.setColors(marked, {kLightRed, kBlack});
    const int selected = rows.size() > 2 ? 2 : int(rows.size());
    if (selected > 0)
        s.select(selected);
    QFETCH(bool, answer);
    s.f.messages.answers = {answer};
    QTest::mouseClick(s.main.Command5, Qt::LeftButton);

    if (rows.isEmpty()) {
        QVERIFY(s.f.messages.asked.isEmpty());
    } else {
        QCOMPARE(s.f.messages.asked.size(), 1);
        QCOMPARE(s.f.messages.asked.first().text,
                 QStringLiteral("Eliminare la riga numero %1 ?").arg(selected));
        QCOMPARE(s.f.messages.asked.first().icon, Messages::Icon::Exclamation);
        QVERIFY(s.f.messages.askedDefaultNo.first());
    }
    QVERIFY(s.f.messages.shown.isEmpty());
    QCOMPARE(surnames(s.table), left);
    for (int row = 1; row <= left.size(); ++row) {
        QCOMPARE(s.table.cell(row, NumberColumn), QString::number(row));
        QCOMPARE(s.table.colors(row).back, row == markedAfter ? kLightRed : kWhite);
    }
    const int current = answer ? int(left.size()) : selected;
    QCOMPARE(s.f.program.indiceSoggetti, current);
    QCOMPARE(s.main.MSFlexGrid1->currentRow(), current);
    QCOMPARE(clipboardText(), kOperatorCopy);
}

void TestRowDeletion::copyFromGridPutsTheText() {
    Started s({"X", "Y", "A", "C"});
    s.table.setValues(3, person("A", "B"));
    s.table.setValues(4, person("C", "D"));
    const QString expected =
        QStringLiteral("[GRIDCLIP]") + FF + "A" + VT + "B" + VT + FF + "C" + VT + "D" + VT + FF;
    Principale::CopyFromGrid(s.main.MSFlexGrid1, 3, 4, 1, 2);
    QCOMPARE(clipboardText(), expected);
    QCOMPARE(clipboardText().size(), 21);
    QGuiApplication::clipboard()->clear();
    Principale::CopyFromGrid(s.main.MSFlexGrid1, 4, 3, 1, 2);
    QCOMPARE(clipboardText(), expected);

    // Omitted bounds: from the current cell to the end of its row.
    s.main.MSFlexGrid1->setCurrentCell(2, StateColumn);
    Principale::CopyFromGrid(s.main.MSFlexGrid1);
    QCOMPARE(clipboardText(), QStringLiteral("[GRIDCLIP]") + FF + VT + VT + VT + FF);
    Principale::CopyFromGrid(s.main.MSFlexGrid1, {}, 1);
    QCOMPARE(clipboardText().count(FF), 3);

    // Not a grid, or a rectangle outside it: the clipboard keeps what it held.
    QGuiApplication::clipboard()->setText(kOperatorCopy);
    Principale::CopyFromGrid(nullptr, 1, 1, 1, 1);
    Principale::CopyFromGrid(s.main.MSFlexGrid1, 1, 9, 1, 1);
    QCOMPARE(clipboardText(), kOperatorCopy);
}

void TestRowDeletion::pasteToGrid() {
    Started s({"P", "Q", "R", "S"});
    Principale::CopyFromGrid(s.main.MSFlexGrid1, 3, 4, 1, 1);
    QVERIFY(Principale::PasteToGrid(s.main.MSFlexGrid1, 1, 1));
    QCOMPARE(surnames(s.table), (QStringList{"R", "S", "R", "S"}));

    // Omitted, the first cell is the current one; at the last row only one row fits.
    Principale::CopyFromGrid(s.main.MSFlexGrid1, 1, 2, 2, 1);
    s.main.MSFlexGrid1->setCurrentCell(4, SurnameColumn);
    QVERIFY(!Principale::PasteToGrid(s.main.MSFlexGrid1));
    QCOMPARE(surnames(s.table), (QStringList{"R", "S", "R", "R"}));
    QCOMPARE(s.table.cell(4, NameColumn), QStringLiteral("MARIO"));
    QCOMPARE(s.table.progressivo(), 4);

    QGuiApplication::clipboard()->setText(QStringLiteral("Rossi"));
    QVERIFY(!Principale::PasteToGrid(s.main.MSFlexGrid1, 1, 1));
    QCOMPARE(surnames(s.table), (QStringList{"R", "S", "R", "R"}));
    Principale::CopyFromGrid(s.main.MSFlexGrid1, 1, 1, 1, 1);
    QVERIFY(!Principale::PasteToGrid(nullptr, 2, 1));
}

QTEST_MAIN(TestRowDeletion)
#include "tst_rowdeletion.moc"
