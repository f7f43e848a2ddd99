#include "gui/diacritici.h"
#include "gui/insertpersona.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/maskeddateedit.h"
#include "gui/widgets/subjectgrid.h"
#include "gui/widgets/widgets.h"
#include "support/fixture.h"
#include "support/typing.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QDir>
#include <QPointer>
#include <QTest>
#include <algorithm>

using namespace velmora;

namespace {

constexpr QRgb kMarked = 0xFF8080;
constexpr QRgb kWhiteField = 0xFFFFFF;
const QByteArray kMunicipalities =
    "MILANO,F205\r\nROMA,H501\r\nROMA,X999\r\nSANT'ANGELO,I000\r\nABANO,A001,extra\r\n";
const QByteArray kStates = "ITALIA,Z000\r\nFRANCIA,Z110\r\n";

// A program whose working folder holds small reference tables.
struct EntryFixture : test::ProgramFixture {
    explicit EntryFixture(int rows = 0) {
        QDir(folder.path()).mkdir(QStringLiteral("ref"));
        writeFile(QStringLiteral("ref/FileCodComuni.txt"), kMunicipalities);
        writeFile(QStringLiteral("ref/FileCodStati.txt"), kStates);
        program.principale().CG_Click(1);
        QList<SubjectValues> values(rows);
        for (int i = 1; i <= rows; ++i) {
            SubjectValues& row = values[i - 1];
            row[SurnameColumn] = QStringLiteral("COGNOME%1").arg(i);
            row[NameColumn] = QStringLiteral("NOME");
            row[SexColumn] = i % 2 ? QStringLiteral("M") : QStringLiteral("F");
            row[BirthDateColumn] = QStringLiteral("0%1/01/1970").arg(i);
            row[StateColumn] = QStringLiteral("FRANCIA");
            row[StateCodeColumn] = QStringLiteral("Z110");
        }
        program.table.appendRows(values);
    }

    Principale& main() { return program.principale(); }
    InsertPersona& entry() { return program.entryWindow(); }

    InsertPersona& openToAdd() {
        main().Command3_Click();
        InsertPersona& window = entry();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qWarning("the entry window did not become active");
        return window;
    }

    // A subject born in Milan that passes every rule.
    void typeValidPerson(InsertPersona& window, const QString& taxCode) {
        test::typeKeys(window.Text1, QStringLiteral("rossi"));
        test::typeKeys(window.Text2, QStringLiteral("mario"));
        window.Option1->setChecked(true);
        test::typeKeys(window.Text3, taxCode);
        window.MaskEdBox1->setFocus();
        QTRY_VERIFY(window.MaskEdBox1->hasFocus());
        test::typeKeys(window.MaskEdBox1, QStringLiteral("09041925"));
        test::typeKeys(window.Combo1, QStringLiteral("milano"));
        leave(window.Combo1);
    }

    // Leaving a list: its suggestion popup closes first, as a Tab or a click elsewhere does.
    static void leave(QComboBox* field) {
        field->completer()->popup()->hide();
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(field, &out);
    }
};

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

void paste(QWidget* field, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
}

bool all(const QList<QWidget*>& fields, QRgb background) {
    return std::all_of(fields.begin(), fields.end(),
                       [&](const QWidget* field) { return backgroundOf(*field) == background; });
}

// Closed windows are deleted once the event loop runs; the next opening makes a new one.
bool gone(QWidget* window) {
    const QPointer<QWidget> watched(window);
    return QTest::qWaitFor([&] { return watched.isNull(); });
}

} // namespace

class TestInsertPersona : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensEmptyOnceItsTablesAreThere();
    void fieldsFilterKeysAtTheirLimits_data();
    void fieldsFilterKeysAtTheirLimits();
    void pasteGoesThroughTheFilter();
    void placeListsFindTheirCodes();
    void failedRulesMarkFieldsUntilChanged();
    void warningQuestionYesAndNo();
    void modifyAppendAndEmptiedTable();
    void gridOpensTheRowWithFocusOnItsColumn();
    void closingClosesThePalette();
};

void TestInsertPersona::opensEmptyOnceItsTablesAreThere() {
    EntryFixture f(2);
    QFile::remove(f.folder.path(QStringLiteral("ref/FileCodStati.txt")));
    f.main().Command3_Click();
    QVERIFY(!f.entry().isVisible());
    QCOMPARE(f.messages.shown.size(), 1);
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Critical);
    QVERIFY(f.messages.shown.first().text.contains(QStringLiteral("FileCodStati.txt")));
    f.messages.shown.clear();

    f.writeFile(QStringLiteral("ref/FileCodStati.txt"), kStates);
    InsertPersona& window = f.openToAdd();
    QCOMPARE(window.Combo2->count(), 2);
    const auto verifyEmpty = [&] {
        QCOMPARE(window.windowTitle(), QStringLiteral(" Inserimento Soggetto 3"));
        QCOMPARE(window.Text1->text() + window.Text2->text() + window.Text3->text() +
                     window.Text4->text() + window.Text5->text() + window.Text6->text() +
                     window.Text7->text() + window.Combo1->currentText(),
                 QString());
        QVERIFY(!window.Option1->isChecked() && !window.Option2->isChecked());
        QCOMPARE(window.MaskEdBox1->shownText(), QString());
        QCOMPARE(window.Combo2->currentText(), QStringLiteral("ITALIA"));
        QCOMPARE(window.Text8->text(), QStringLiteral("Z000"));
    };
    verifyEmpty();
    QVERIFY(window.Text6->isReadOnly() && window.Text8->isReadOnly());
    const QList<QWidget*> chain = {
        window.Text1,  window.Text2,    window.Option1,    window.Option2, window.Text3,
        window.Text4,  window.Text5,    window.MaskEdBox1, window.Combo1,  window.Text7,
        window.Combo2, window.Command1, window.Command2,   window.Command3};
    for (qsizetype i = 1; i < chain.size(); ++i) {
        QWidget* next = chain[i - 1]->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus || next->focusProxy())
            next = next->nextInFocusChain();
        QCOMPARE(next, chain[i]);
    }

    f.typeValidPerson(window, QStringLiteral("MRTMTT25D09F205Z"));
    window.Combo2->setEditText(QStringLiteral("FRANCIA"));
    click(window.Command2);
    verifyEmpty();
    QCOMPARE(f.program.table.progressivo(), 2);
    window.MaskEdBox1->setFocus();
    QTRY_VERIFY(window.MaskEdBox1->hasFocus());
    QCOMPARE(window.MaskEdBox1->shownText(), QStringLiteral("__/__/____"));
    click(window.Command1);
    QVERIFY(f.messages.texts().first().contains(
        QStringLiteral("- Data di nascita nulla o non valida")));
}

void TestInsertPersona::fieldsFilterKeysAtTheirLimits_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("message");
    const auto row = [](const char* field, const QString& typed, const QString& shown, int limit,
                        const char* message) {
        QTest::newRow(field) << field << typed << shown << limit << message;
    };
    row("Text1", "d'\u00e0mico 2", "D'\u00C0MICO ", 72, "Max 72 Caratteri");
    row("Text2", "jos\u00e9-1", "JOS\u00C9", 72, "Max 72 Caratteri");
    row("Text5", "l'\u00fc", "L\u00DC", 72, "Max 72 Caratteri");
    row("Text7", "st. l\u00f4-x'2", "ST. L\u00D4-X'", 60, "Massimo 60 caratteri");
    row("Text3", "ab 1\u00e9-9", "AB19", 16, "Max 16 Caratteri");
    row("Text4", "x-1 \u00e92", "X12", 7, "Max 7 Caratteri");
}

void TestInsertPersona::fieldsFilterKeysAtTheirLimits() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, limit);
    QFETCH(QString, message);
    EntryFixture f;
    InsertPersona& window = f.openToAdd();
    const QHash<QString, FilteredLineEdit*> fields = {
        {"Text1", window.Text1}, {"Text2", window.Text2}, {"Text3", window.Text3},
        {"Text4", window.Text4}, {"Text5", window.Text5}, {"Text7", window.Text7}};
    FilteredLineEdit* edit = fields.value(field);
    test::typeKeys(edit, typed);
    QCOMPARE(edit->text(), shown);
    QVERIFY(f.messages.shown.isEmpty());

    edit->setText(QString(limit - 1, u'A'));
    test::typeKeys(edit, QStringLiteral("b"));
    QCOMPARE(edit->text().size(), limit);
    test::typeKeys(edit, QStringLiteral("c"));
    QCOMPARE(edit->text().size(), limit);
    QCOMPARE(f.messages.texts(), QStringList{message});
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Exclamation);
    // A refused character at the limit: told about only where the length is judged first.
    test::typeKeys(edit, QStringLiteral("!"));
    const bool lengthFirst = edit == window.Text3 || edit == window.Text4;
    QCOMPARE(f.messages.shown.size(), lengthFirst ? 2 : 1);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text().size(), limit - 1);
}

void TestInsertPersona::pasteGoesThroughTheFilter() {
    EntryFixture f;
    InsertPersona& window = f.openToAdd();
    paste(window.Text1, QStringLiteral("d'amico 12\tm\u00fcller\u20ac"));
    QCOMPARE(window.Text1->text(), QStringLiteral("D'AMICO M\u00DCLLER"));
    paste(window.Text3, QStringLiteral("mrt mtt-25d09 f205z ab12"));
    QCOMPARE(window.Text3->text(), QStringLiteral("MRTMTT25D09F205Z"));
    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("Max 16 Caratteri")});
    paste(window.Combo1, QStringLiteral("sant'\u00e0ngelo1"));
    QCOMPARE(window.Combo1->currentText(), QStringLiteral("SANT'NGELO"));
}

void TestInsertPersona::placeListsFindTheirCodes() {
    EntryFixture f;
    InsertPersona& window = f.openToAdd();
    test::typeKeys(window.Combo1, QStringLiteral("roma"));
    QCOMPARE(window.Text6->text(), QString());
    EntryFixture::leave(window.Combo1);
    QCOMPARE(window.Text6->text(), QStringLiteral("H501")); // the first line with the name

    test::typeKeys(window.Combo1, QStringLiteral(" "));
    EntryFixture::leave(window.Combo1);
    QCOMPARE(window.Text6->text(), QString());

    // A pick looks up at once; a name not found leaves the code as it was.
    window.Combo1->setCurrentIndex(-1);
    QTest::keyClick(window.Combo1, Qt::Key_Down);
    QCOMPARE(window.Combo1->currentText(), QStringLiteral("MILANO"));
    QCOMPARE(window.Text6->text(), QStringLiteral("F205"));
    window.Combo1->setEditText(QStringLiteral("MILAN"));
    QVERIFY(!window.RifComune());
    QCOMPARE(window.Text6->text(), QStringLiteral("F205"));

    window.Combo2->setEditText(QString());
    test::typeKeys(window.Combo2, QStringLiteral("francia"));
    EntryFixture::leave(window.Combo2);
    QCOMPARE(window.Text8->text(), QStringLiteral("Z110"));
    test::typeKeys(window.Combo2, QStringLiteral("x"));
    EntryFixture::leave(window.Combo2);
    QCOMPARE(window.Text8->text(), QString());
}

void TestInsertPersona::failedRulesMarkFieldsUntilChanged() {
    EntryFixture f;
    InsertPersona& window = f.openToAdd();
    test::typeKeys(window.Text7, QStringLiteral("parigi"));
    click(window.Command1);
    QCOMPARE(f.messages.texts(),
             QStringList{QStringLiteral("ATT! Sono stati riscontrati i seguenti errori:\r\n"
                                        "\r\n- Cognome non inserito correttamente"
                                        "\r\n- Nome non inserito correttamente"
                                        "\r\n- Sesso non specificato"
                                        "\r\n- Codice Fiscale non valido"
                                        "\r\n- Data di nascita nulla o non valida"
                                        "\r\n- Comune di nascita non coerente con la Nazione")});
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Exclamation);
    QVERIFY(window.isVisible());
    QCOMPARE(f.program.table.progressivo(), 0);
    QVERIFY(all({window.Text1, window.Text2, window.Option1, window.Option2, window.Text3,
                 window.MaskEdBox1, window.Text7},
                kMarked));
    QVERIFY(all({window.Combo1, window.Combo2, window.Text4, window.Text5}, kWhiteField));
    QVERIFY(backgroundOf(*window.Text6) != kWhiteField); // code fields keep their grey

    test::typeKeys(window.Text1, QStringLiteral("r"));
    QCOMPARE(backgroundOf(*window.Text1), kWhiteField);
    test::typeKeys(window.Text2, QStringLiteral("1")); // refused: no change, mark stays
    QCOMPARE(backgroundOf(*window.Text2), kMarked);
    click(window.Option2);
    QVERIFY(all({window.Option1, window.Option2}, kWhiteField));
    test::typeKeys(window.Text7, QStringLiteral("x"));
    QCOMPARE(backgroundOf(*window.Text7), kMarked); // no change handling here

    // A list loses its mark with an accepted key or a pick.
    window.Combo2->setEditText(QStringLiteral("XX"));
    EntryFixture::leave(window.Combo2);
    f.messages.shown.clear();
    click(window.Command1);
    QVERIFY(f.messages.texts().first().endsWith(
        QStringLiteral("- Nazione di nascita non inserita o non valida")));
    QCOMPARE(backgroundOf(*window.Combo2), kMarked);
    test::typeKeys(window.Combo2, QStringLiteral("a"));
    QCOMPARE(backgroundOf(*window.Combo2), kWhiteField);

    click(window.Command2);
    QVERIFY(all({window.Text2, window.Text3, window.Text7, window.MaskEdBox1}, kWhiteField));
}

void TestInsertPersona::warningQuestionYesAndNo() {
    EntryFixture f;
    InsertPersona& window = f.openToAdd();
    f.typeValidPerson(window, QStringLiteral("MRTMTT25D09F205A")); // wrong check character
    f.messages.answers = {false};
    click(window.Command1);
    QCOMPARE(f.messages.asked.size(), 1);
    QCOMPARE(
        f.messages.asked.first().text,
        QStringLiteral("Si sta inserendo un codice fiscale diverso da quello atteso. Continuare?"));
    QCOMPARE(f.messages.asked.first().icon, Messages::Icon::Exclamation);
    QCOMPARE(f.messages.askedDefaultNo.first(), false);
    QVERIFY(f.messages.shown.isEmpty());
    QVERIFY(window.isVisible());
    QCOMPARE(f.program.table.progressivo(), 0);

    f.messages.answers = {true};
    click(window.Command1);
    QCOMPARE(f.program.table.progressivo(), 1);
    QVERIFY(gone(&window));
    QStringList saved;
    for (const Column column :
         {NumberColumn, SurnameColumn, NameColumn, SexColumn, TaxCodeColumn, BirthDateColumn,
          MunicipalityColumn, MunicipalityCodeColumn, StateColumn, StateCodeColumn})
        saved.append(f.program.table.cell(1, column));
    QCOMPARE(saved.join(u','), QStringLiteral("1,ROSSI,MARIO,M,MRTMTT25D09F205A,09/04/1925,MILANO,"
                                              "F205,ITALIA,Z000"));
}

void TestInsertPersona::modifyAppendAndEmptiedTable() {
    EntryFixture f(3);
    Principale& main = f.main();
    f.program.table.setColors(2, {kLightRed, kBlack});
    main.MSFlexGrid1->setCurrentCell(2, NameColumn);
    main.Command4_Click();
    InsertPersona& window = f.entry();
    QCOMPARE(window.windowTitle(), QStringLiteral(" Inserimento Soggetto 2"));
    QCOMPARE(window.Text1->text(), QStringLiteral("COGNOME2"));
    QVERIFY(window.Option2->isChecked());
    test::typeKeys(window.Text2, QStringLiteral("x"));
    click(window.Command1);
    QVERIFY(f.messages.shown.isEmpty());
    QCOMPARE(f.program.table.progressivo(), 3);
    QCOMPARE(f.program.table.cell(2, NameColumn), QStringLiteral("NOMEX"));
    QCOMPARE(f.program.table.cell(2, NumberColumn), QStringLiteral("2"));
    QCOMPARE(f.program.table.cell(1, NameColumn), QStringLiteral("NOME"));
    QCOMPARE(f.program.table.colors(2), (RowColors{kWhite, kBlack}));
    QCOMPARE(main.MSFlexGrid1->currentRow(), 2);
    QCOMPARE(main.MSFlexGrid1->currentColumn(), int(SurnameColumn));
    QVERIFY(gone(&window));

    // "Inserisci Soggetto" while a modification is open turns the save into an append.
    main.Command4_Click();
    main.Command3_Click();
    QCOMPARE(f.entry().windowTitle(), QStringLiteral(" Inserimento Soggetto 4"));
    click(f.entry().Command1);
    QCOMPARE(f.program.table.progressivo(), 4);
    QCOMPARE(f.program.table.cell(4, NumberColumn), QStringLiteral("4"));
    QCOMPARE(f.program.table.cell(4, SurnameColumn), QStringLiteral("COGNOME2"));
    QCOMPARE(main.MSFlexGrid1->currentRow(), 4);
    QVERIFY(gone(&f.entry()));

    // The table emptied while a modification is open: the save becomes row 1, not the header.
    main.MSFlexGrid1->setCurrentCell(3, SurnameColumn);
    main.Command4_Click();
    main.CreaTab1();
    click(f.entry().Command1);
    QCOMPARE(f.program.table.progressivo(), 1);
    QCOMPARE(f.program.table.cell(1, NumberColumn), QStringLiteral("1"));
    QCOMPARE(f.program.table.cell(1, SurnameColumn), QStringLiteral("COGNOME3"));
}

void TestInsertPersona::gridOpensTheRowWithFocusOnItsColumn() {
    EntryFixture f(5);
    Principale& main = f.main();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    SubjectGrid* grid = main.MSFlexGrid1;
    const QPoint at = grid->visualRect(grid->model()->index(4, BirthDateColumn)).center();
    // A double-click as the window system delivers it: a click, then a second press.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, grid->viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &twice);
    InsertPersona& window = f.entry();
    QCOMPARE(f.program.indiceSoggetti, 5);
    QCOMPARE(window.Text1->text(), QStringLiteral("COGNOME5"));
    QVERIFY(window.Option1->isChecked());
    QCOMPARE(window.Combo2->currentText(), QStringLiteral("FRANCIA"));
    QCOMPARE(window.Text8->text(), QStringLiteral("Z110"));
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_COMPARE(QApplication::focusWidget(), window.MaskEdBox1);
    QCOMPARE(window.MaskEdBox1->shownText(), QStringLiteral("05/01/1970"));
    QCOMPARE(grid->currentColumn(), int(SurnameColumn));
    window.close();
    QVERIFY(gone(&window));

    // Enter on a row does the same; the sex column moves the focus nowhere.
    grid->setCurrentCell(3, SexColumn);
    QTest::keyClick(grid, Qt::Key_Return);
    QVERIFY(f.entry().isVisible());
    QCOMPARE(f.entry().Text1->text(), QStringLiteral("COGNOME3"));
    QVERIFY(QApplication::focusWidget() != f.entry().Option1);
}

void TestInsertPersona::closingClosesThePalette() {
    EntryFixture f;
    QPointer<InsertPersona> window = &f.openToAdd();
    click(window->Image3);
    QPointer<diacritici> palette = &f.program.palette();
    QVERIFY(palette->isVisible());
    click(window->Command3);
    QTRY_VERIFY(!palette && !window);
    QCOMPARE(f.program.table.progressivo(), 0);

    // Closing the main window closes both.
    window = &f.openToAdd();
    click(window->Image1);
    palette = &f.program.palette();
    f.main().close();
    QTRY_VERIFY(!palette && !window);
}

QTEST_MAIN(TestInsertPersona)
#include "tst_insertpersona.moc"
