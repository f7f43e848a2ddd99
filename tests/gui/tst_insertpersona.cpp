#include "core/subjects/entryfields.h"
#include "core/subjects/personcheck.h"
#include "gui/diacritici.h"
#include "gui/insertpersona.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/maskeddateedit.h"
#include "gui/widgets/subjectgrid.h"
#include "gui/widgets/widgets.h"
#include "support/fixture.h"
#include "support/places.h"
#include "support/typing.h"
#include "support/windows.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QCompleter>
#include <algorithm>

using namespace velmora;
using test::gone;

namespace {

constexpr QRgb kMarked = 0xFF8080;
constexpr QRgb kWhiteField = 0xFFFFFF;

// A started program over `rows` subjects born in Paris, surnamed S1, S2, ..., with small place
// tables.
struct Entry : test::Started {
    explicit Entry(int rows = 0) {
        test::writePlaceTables(folder);
        for (int i = 1; i <= rows; ++i) {
            SubjectValues row = test::parisianSubject();
            row[SurnameColumn] = QStringLiteral("S%1").arg(i);
            program.table.appendRow(row);
        }
    }
    InsertPersona& window() { return main.entryWindow(); }
    InsertPersona& openToAdd() {
        main.Command3_Click();
        window().activateWindow();
        if (!QTest::qWaitForWindowActive(&window()))
            qWarning("the entry window did not become active");
        return window();
    }
    // A subject born in Milan that passes every rule.
    void typeValidPerson(const QString& taxCode) {
        InsertPersona& w = window();
        test::typeKeys(w.Text1, QStringLiteral("rossi"));
        test::typeKeys(w.Text2, QStringLiteral("mario"));
        w.Option1->setChecked(true);
        test::typeKeys(w.Text3, taxCode);
        w.MaskEdBox1->setFocus();
        QTRY_VERIFY(w.MaskEdBox1->hasFocus());
        test::typeKeys(w.MaskEdBox1, QStringLiteral("09041925"));
        test::typeKeys(w.Combo1, QStringLiteral("milano"));
        leave(w.Combo1);
    }
    // Opens the palette from a palette button and clicks a character; the palette closes.
    void clickCharacter(ClickableLabel* button, QChar character) {
        QTest::mouseClick(button, Qt::LeftButton);
        diacritici* palette = test::shownWindow<diacritici>();
        QVERIFY(palette);
        for (ClickableLabel* label : palette->characterLabels) {
            if (label->text() == character)
                QTest::mouseClick(label, Qt::LeftButton);
        }
        QVERIFY(gone(palette));
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

bool all(const QList<QWidget*>& fields, QRgb background) {
    return std::all_of(fields.begin(), fields.end(),
                       [&](const QWidget* field) { return backgroundOf(*field) == background; });
}

} // namespace

class TestInsertPersona : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensEmptyOnceItsTablesAreThere();
    void fieldsHaveTheirFilters();
    void placeListsFindTheirCodes();
    void failedRulesMarkFieldsUntilChanged();
    void warningQuestionYesAndNo();
    void modifyThenAppendWhileOpen();
    void gridOpensTheRowWithFocusOnItsColumn();
    void paletteTypesIntoItsFieldAndClosesWithTheWindow();
};

void TestInsertPersona::opensEmptyOnceItsTablesAreThere() {
    Entry f(2);
    QFile::remove(f.folder.path(QStringLiteral("ref/FileCodStati.txt")));
    f.main.Command3_Click();
    QVERIFY(!test::shownWindow<InsertPersona>());
    QCOMPARE(f.messages.shown.size(), 1);
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Critical);
    QVERIFY(f.messages.shown.first().text.contains(QStringLiteral("FileCodStati.txt")));

    test::writePlaceTables(f.folder);
    InsertPersona& window = f.openToAdd();
    const auto verifyEmpty = [&] {
        QCOMPARE(window.windowTitle(), QStringLiteral(" Inserimento Soggetto 3"));
        QCOMPARE(window.Text1->text() + window.Text3->text() + window.Text6->text() +
                     window.Combo1->currentText(),
                 QString());
        QVERIFY(!window.Option1->isChecked() && !window.Option2->isChecked());
        QCOMPARE(window.Combo2->currentText(), QStringLiteral("ITALIA"));
        QCOMPARE(window.Text8->text(), QStringLiteral("Z000"));
    };
    verifyEmpty();
    f.typeValidPerson(QStringLiteral("MRTMTT25D09F205Z"));
    window.Combo2->setEditText(QStringLiteral("FRANCIA"));
    click(window.Command2);
    verifyEmpty();
    QCOMPARE(f.program.table.progressivo(), 2);
}

// The filters are the core's; here, that each field has its own.
void TestInsertPersona::fieldsHaveTheirFilters() {
    Entry f;
    InsertPersona& window = f.openToAdd();
    const QList<std::pair<FilteredLineEdit*, KeyFilter>> fields = {
        {window.Text1, entryfields::surname()}, {window.Text2, entryfields::name()},
        {window.Text3, entryfields::taxCode()}, {window.Text4, entryfields::cui()},
        {window.Text5, entryfields::father()},  {window.Text7, entryfields::foreignPlace()}};
    for (const auto& [edit, filter] : fields) {
        edit->setText(QString(filter.limit, u'A'));
        test::typeKeys(edit, QStringLiteral("b"));
        QCOMPARE(f.messages.texts().last(), filter.limitMessage);
    }
    QGuiApplication::clipboard()->setText(QStringLiteral("sant'\u00e0ngelo1"));
    QTest::keyClick(window.Combo1, Qt::Key_V, Qt::ControlModifier); // through the list's filter
    QCOMPARE(window.Combo1->currentText(), QStringLiteral("SANT'NGELO"));
}

void TestInsertPersona::placeListsFindTheirCodes() {
    Entry f;
    InsertPersona& window = f.openToAdd();
    test::typeKeys(window.Combo1, QStringLiteral("roma"));
    QCOMPARE(window.Text6->text(), QString());
    Entry::leave(window.Combo1);
    QCOMPARE(window.Text6->text(), QStringLiteral("H501"));
    test::typeKeys(window.Combo1, QStringLiteral(" "));
    Entry::leave(window.Combo1);
    QCOMPARE(window.Text6->text(), QString());
    window.Combo1->setCurrentIndex(-1);
    QTest::keyClick(window.Combo1, Qt::Key_Down); // a pick looks up at once
    QCOMPARE(window.Text6->text(), QStringLiteral("H501"));

    window.Combo2->setEditText(QString());
    test::typeKeys(window.Combo2, QStringLiteral("francia"));
    Entry::leave(window.Combo2);
    QCOMPARE(window.Text8->text(), QStringLiteral("Z110"));
}

void TestInsertPersona::failedRulesMarkFieldsUntilChanged() {
    Entry f;
    InsertPersona& window = f.openToAdd();
    test::typeKeys(window.Text7, QStringLiteral("parigi"));
    click(window.Command1);
    PersonFields typed;
    typed.foreignPlace = QStringLiteral("PARIGI");
    typed.state = QStringLiteral("ITALIA");
    typed.stateCode = QStringLiteral("Z000");
    typed.birthDate = window.MaskEdBox1->shownText();
    QCOMPARE(f.messages.texts(),
             QStringList{personErrorsMessage(CheckPersonFields(typed, f.clock.now()))});
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Exclamation);
    QVERIFY(window.isVisible());
    QCOMPARE(f.program.table.progressivo(), 0);
    QVERIFY(all({window.Text1, window.Text2, window.Option1, window.Option2, window.Text3,
                 window.MaskEdBox1, window.Text7},
                kMarked));
    QVERIFY(all({window.Combo1, window.Combo2, window.Text4, window.Text5}, kWhiteField));

    test::typeKeys(window.Text1, QStringLiteral("r"));
    QCOMPARE(backgroundOf(*window.Text1), kWhiteField);
    test::typeKeys(window.Text2, QStringLiteral("1")); // refused: no change, mark stays
    QCOMPARE(backgroundOf(*window.Text2), kMarked);
    click(window.Option2);
    QVERIFY(all({window.Option1, window.Option2}, kWhiteField));

    window.Combo2->setEditText(QStringLiteral("XX"));
    Entry::leave(window.Combo2);
    click(window.Command1);
    QCOMPARE(backgroundOf(*window.Combo2), kMarked);
    test::typeKeys(window.Combo2, QStringLiteral("a"));
    QCOMPARE(backgroundOf(*window.Combo2), kWhiteField);

    click(window.Command2);
    QVERIFY(all({window.Text2, window.Text3, window.Text7, window.MaskEdBox1}, kWhiteField));
}

void TestInsertPersona::warningQuestionYesAndNo() {
    Entry f;
    InsertPersona& window = f.openToAdd();
    f.typeValidPerson(QStringLiteral("MRTMTT25D09F205A")); // wrong check character
    f.messages.answers = {false};
    click(window.Command1);
    QCOMPARE(f.messages.asked.size(), 1);
    QCOMPARE(f.messages.asked.first().text, kTaxCodeQuestion);
    QCOMPARE(f.messages.askedDefaultNo.first(), false);
    QVERIFY(f.messages.shown.isEmpty());
    QVERIFY(window.isVisible());
    QCOMPARE(f.program.table.progressivo(), 0);

    f.messages.answers = {true};
    click(window.Command1);
    QVERIFY(gone(&window));
    QCOMPARE(f.program.table.cell(1, TaxCodeColumn), QStringLiteral("MRTMTT25D09F205A"));
    QCOMPARE(f.program.table.cell(1, MunicipalityCodeColumn), QStringLiteral("F205"));
    QCOMPARE(f.main.MSFlexGrid1->currentRow(), 1);
}

void TestInsertPersona::modifyThenAppendWhileOpen() {
    Entry f(3);
    Principale& main = f.main;
    f.program.table.setColors(2, {kLightRed, kBlack});
    main.MSFlexGrid1->setCurrentCell(2, NameColumn);
    main.Command4_Click();
    InsertPersona& window = f.window();
    QCOMPARE(window.windowTitle(), QStringLiteral(" Inserimento Soggetto 2"));
    QVERIFY(window.Option2->isChecked());
    test::typeKeys(window.Text2, QStringLiteral("x"));
    click(window.Command1);
    QVERIFY(f.messages.shown.isEmpty());
    QCOMPARE(f.program.table.progressivo(), 3);
    QCOMPARE(f.program.table.cell(2, NameColumn), QStringLiteral("JOS\u00C8X"));
    QCOMPARE(f.program.table.colors(2), (RowColors{kWhite, kBlack}));
    QCOMPARE(main.MSFlexGrid1->currentRow(), 2);
    QCOMPARE(main.MSFlexGrid1->currentColumn(), int(SurnameColumn));
    QVERIFY(gone(&window));

    // "Inserisci Soggetto" while a modification is open leaves it as it is.
    main.Command4_Click();
    main.Command3_Click();
    QCOMPARE(f.window().windowTitle(), QStringLiteral(" Inserimento Soggetto 2"));
    QVERIFY(!f.program.nuovoIns && f.messages.asked.isEmpty());
    click(f.window().Command1);
    QCOMPARE(f.program.table.progressivo(), 3);
}

void TestInsertPersona::gridOpensTheRowWithFocusOnItsColumn() {
    Entry f(5);
    SubjectGrid* grid = f.main.MSFlexGrid1;
    QVERIFY(QTest::qWaitForWindowExposed(&f.main));
    const QPoint at = grid->visualRect(grid->model()->index(4, BirthDateColumn)).center();
    // A double-click as the window system delivers it: a click, then a second press.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, grid->viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &twice);
    InsertPersona& window = f.window();
    QCOMPARE(window.Text1->text(), QStringLiteral("S5"));
    QCOMPARE(window.Text8->text(), QStringLiteral("Z110"));
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_COMPARE(QApplication::focusWidget(), window.MaskEdBox1);
    QCOMPARE(grid->currentColumn(), int(SurnameColumn));
    window.close();
    QVERIFY(gone(&window));

    // Enter on a row does the same; the sex column moves the focus nowhere.
    grid->setCurrentCell(3, SexColumn);
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(f.window().Text1->text(), QStringLiteral("S3"));
    QVERIFY(QApplication::focusWidget() != f.window().Option1);
}

// The palette belongs to the entry window: it types into the field it was opened from, through
// that field's filter, and closes with the entry window.
void TestInsertPersona::paletteTypesIntoItsFieldAndClosesWithTheWindow() {
    Entry f;
    QPointer<InsertPersona> window = &f.openToAdd();
    const QList<std::pair<ClickableLabel*, FilteredLineEdit*>> buttons = {
        {window->Image1, window->Text1},
        {window->Image2, window->Text2},
        {window->Image3, window->Text5},
        {window->Image4, window->Text7}};
    for (const auto& [button, field] : buttons) {
        field->setText(QStringLiteral("GIOS"));
        f.clickCharacter(button, u'\u00C8');
        QCOMPARE(field->text(), QStringLiteral("GIOS\u00C8"));
    }
    window->Text5->setText(QString(72, u'A'));
    f.clickCharacter(window->Image3, u'\u00DF'); // at the limit: refused with its message
    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("Max 72 Caratteri")});

    click(window->Image1);
    QPointer<diacritici> palette = test::shownWindow<diacritici>();
    f.main.close(); // closes both
    QTRY_VERIFY(!palette && !window);
}

QTEST_MAIN(TestInsertPersona)
#include "tst_insertpersona.moc"
