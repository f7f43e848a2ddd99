#include "core/import/importfile.h"
#include "core/officedata.h"
#include "core/request/request.h"
#include "core/request/requestcheck.h"
#include "core/subjects/delimited.h"
#include "core/subjects/personcheck.h"
#include "gui/attesa.h"
#include "gui/avvisotabella.h"
#include "gui/calendar.h"
#include "gui/creafiles.h"
#include "gui/datiutente.h"
#include "gui/diacritici.h"
#include "gui/esportasoggetti.h"
#include "gui/frmsplash.h"
#include "gui/importafile.h"
#include "gui/insertpersona.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/folderchooser.h"
#include "gui/widgets/maskeddateedit.h"
#include "gui/widgets/subjectgrid.h"
#include "support/fixture.h"
#include "support/places.h"
#include "support/typing.h"
#include "support/windows.h"

#include <QClipboard>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QTableView>

using namespace velmora;
using namespace velmora::test;

namespace {

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

// What the operator picks in a window's file list.
void chooseFile(FolderChooser& folders, const QString& path) {
    QVERIFY(folders.setFolder(QFileInfo(path).absolutePath()));
    auto* model = static_cast<QFileSystemModel*>(folders.File1->model());
    QTRY_VERIFY(model->index(path).isValid());
    folders.File1->setCurrentIndex(model->index(path));
}

// Clicks the first cell of the month view that shows `day`; the days of the month before the
// current one are all above 20, so a day under 20 is found in the current month.
void clickDay(QCalendarWidget& calendar, int day) {
    auto* view = calendar.findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
    QVERIFY(view);
    const int columns = view->model()->columnCount();
    for (int cell = 0; cell < view->model()->rowCount() * columns; ++cell) {
        const QModelIndex index = view->model()->index(cell / columns, cell % columns);
        if (index.data().toString() == QString::number(day))
            return QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                                     view->visualRect(index).center());
    }
    QFAIL("day not shown");
}

// A started program with the place tables and `rows` subjects born in Paris, surnamed S1, S2...
struct Filled : Started {
    explicit Filled(int rows, const QByteArray& config = kCompleteConfig) : Started(config) {
        writePlaceTables(folder);
        for (int i = 1; i <= rows; ++i) {
            SubjectValues row = parisianSubject();
            row[SurnameColumn] = QStringLiteral("S%1").arg(i);
            program.table.appendRow(row);
        }
    }
};

// Type 0, purpose, protocol and today's date: a request that passes.
const QByteArray kRequestConfig = "UFFICIO\r\nROMA\r\nLAVORO\r\n 0\r\n\r\n\r\n\r\n";

} // namespace

// Each window's handlers are connected and take their paths; the rules behind them are proven by
// the core tests.
class TestWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstStartLeftWithoutOfficeData();
    void officeDataChangedFromTheMenu();
    void manualAndCalendar();
    void entryWindowModifiesRefusesAndAsks();
    void paletteTypesIntoItsField();
    void tableCommands();
    void refusedAndImportedRequests();
    void pdfFormThroughTheOutputWindow();
    void importRefusedOrWithoutFile();
    void exportThenImportThroughTheMenu();
};

void TestWindows::firstStartLeftWithoutOfficeData() {
    ProgramFixture f;
    QSignalSpy ended(&f.main, &Principale::closed);
    f.main.Form_Load();
    datiUtente& config = f.main.configWindow();
    QVERIFY(config.isVisible() && !config.modifica && !f.main.isVisible());
    config.Text2->setText(QStringLiteral("ROMA"));
    config.Text3->setPlainText(QStringLiteral("LAVORO"));
    click(config.Command1);
    QCOMPARE(f.messages.texts(), QStringList{kNoOfficeTypeGiven});
    QVERIFY(config.isVisible());
    click(config.Command2);
    QCOMPARE(ended.size(), 1);
    QVERIFY(!QFile::exists(f.folder.path(QStringLiteral("config.ini"))));
}

void TestWindows::officeDataChangedFromTheMenu() {
    Started s;
    Principale& main = s.main;
    QVERIFY(shownWindow<frmSplash>() && main.Timer2.isActive());
    main.Timer2_Timer();
    QVERIFY(!shownWindow<frmSplash>());
    main.modConfig->trigger();
    datiUtente& config = main.configWindow();
    QVERIFY(config.isVisible() && config.modifica);
    config.Text1->setText(QStringLiteral("PROCURA"));
    config.Text3->setPlainText(QStringLiteral("ADOZIONE"));
    click(config.Command1);
    QVERIFY(!shownWindow<datiUtente>());
    QCOMPARE(main.Text2->text(), QStringLiteral("PROCURA"));
    QCOMPARE(main.Text3->toPlainText(), QStringLiteral("ADOZIONE"));
    QVERIFY(s.readFile(QStringLiteral("config.ini")).startsWith("PROCURA\r\nROMA\r\nADOZIONE\r\n"));

    QSignalSpy ended(&main, &Principale::closed);
    main.modConfig->trigger();
    click(main.Command2); // closes the windows with it
    QVERIFY(!main.isVisible() && !shownWindow<datiUtente>());
    QCOMPARE(ended.size(), 1);
}

void TestWindows::manualAndCalendar() {
    Started s;
    s.shell.result = false; // no viewer: the operator is told where the manual is
    s.main.guida->trigger();
    const QString manual = s.folder.path(kUserManual.toString());
    QCOMPARE(s.shell.opened, QStringList{manual});
    QCOMPARE(s.messages.texts(), QStringList{manualNotOpenedMessage(manual)});

    s.clock.set(QDateTime(QDate(2010, 1, 5), QTime(10, 0)));
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason); // the field already masked
    QApplication::sendEvent(s.main.MaskEdBox1, &in);
    click(s.main.Image1);
    Calendar* calendar = shownWindow<Calendar>();
    QVERIFY(calendar && calendar->isModal());
    QCOMPARE(calendar->MonthView1->selectedDate(), QDate(2010, 1, 5));
    clickDay(*calendar->MonthView1, 12);
    QCOMPARE(s.main.MaskEdBox1->shownText(), QStringLiteral("12/01/2010"));
    QTRY_VERIFY(!shownWindow<Calendar>());
}

void TestWindows::entryWindowModifiesRefusesAndAsks() {
    Filled f(3);
    f.program.table.setColors(2, {kLightRed, kBlack});
    SubjectGrid* grid = f.main.MSFlexGrid1;
    QVERIFY(QTest::qWaitForWindowExposed(&f.main));
    const QPoint at = grid->visualRect(grid->model()->index(1, NameColumn)).center();
    // A double-click as the window system delivers it: a click, then a second press.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, grid->viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &twice);
    InsertPersona* window = &f.main.entryWindow();
    QCOMPARE(window->Text1->text(), QStringLiteral("S2"));
    QTRY_COMPARE(QApplication::focusWidget(), window->Text2);
    typeKeys(window->Text2, QStringLiteral("x"));
    click(window->Command1);
    QVERIFY(f.messages.shown.isEmpty() && gone(window));
    QCOMPARE(f.program.table.progressivo(), 3);
    QCOMPARE(f.program.table.cell(2, NameColumn), QStringLiteral("JOS\u00C8X"));
    QCOMPARE(grid->currentRow(), 2);
    QCOMPARE(f.program.table.colors(2).back, kWhite); // the mark goes with the saving

    f.main.Command3_Click();
    window = &f.main.entryWindow();
    click(window->Command1); // nothing typed
    PersonFields typed;
    typed.state = QStringLiteral("ITALIA");
    typed.stateCode = QStringLiteral("Z000");
    typed.birthDate = window->MaskEdBox1->shownText();
    QCOMPARE(f.messages.texts(),
             QStringList{personErrorsMessage(CheckPersonFields(typed, f.clock.now()))});
    QCOMPARE(f.program.table.progressivo(), 3);

    window->fillFromRow(romanSubject()); // then a tax code with a wrong check character
    window->Text3->setText(QStringLiteral("RSSMRA70A05H501A"));
    click(window->Command1);
    QCOMPARE(f.messages.asked.last().text, kTaxCodeQuestion);
    QVERIFY(window->isVisible()); // No was answered
    QCOMPARE(f.program.table.progressivo(), 3);
}

// The palette belongs to the entry window: it types into the field it was opened from and
// closes with the entry window.
void TestWindows::paletteTypesIntoItsField() {
    Filled f(0);
    f.main.Command3_Click();
    QPointer<InsertPersona> window = &f.main.entryWindow();
    const QList<std::pair<ClickableLabel*, FilteredLineEdit*>> buttons = {
        {window->Image1, window->Text1},
        {window->Image2, window->Text2},
        {window->Image3, window->Text5},
        {window->Image4, window->Text7}};
    for (const auto& [button, field] : buttons) {
        field->setText(QStringLiteral("GIOS"));
        click(button);
        diacritici* palette = shownWindow<diacritici>();
        QVERIFY(palette);
        for (ClickableLabel* label : palette->characterLabels) {
            if (label->text() == u'\u00C8')
                click(label);
        }
        QVERIFY(gone(palette));
        QCOMPARE(field->text(), QStringLiteral("GIOS\u00C8"));
    }
    click(window->Image1);
    QPointer<diacritici> palette = shownWindow<diacritici>();
    f.main.close();
    QTRY_VERIFY(!palette && !window);
}

void TestWindows::tableCommands() {
    Filled s(0);
    click(s.main.Command6); // an empty table: nothing to ask
    QVERIFY(!shownWindow<AvvisoTabella>());
    fillNumbered(s.program.table, 4);
    click(s.main.Command6);
    AvvisoTabella* confirm = shownWindow<AvvisoTabella>();
    QVERIFY(confirm);
    click(confirm->Command2);
    QCOMPARE(s.program.table.progressivo(), 4);
    QTRY_VERIFY(!shownWindow<AvvisoTabella>());

    s.main.MSFlexGrid1->setCurrentCell(2, NameColumn);
    click(s.main.Command5); // no answer scripted: No
    QCOMPARE(s.messages.asked.size(), 1);
    QCOMPARE(s.messages.asked.first().text, kDeleteQuestion.arg(2));
    QCOMPARE(s.program.table.progressivo(), 4);

    click(s.main.Command6);
    click(shownWindow<AvvisoTabella>()->Command1);
    QCOMPARE(s.program.table.progressivo(), 0);
    QTRY_VERIFY(!shownWindow<AvvisoTabella>());

    fillNumbered(s.program.table, SubjectTable::kMaxRows);
    click(s.main.Command3);
    QCOMPARE(s.messages.texts(), QStringList{tableFullMessage()});
    QVERIFY(!shownWindow<InsertPersona>());
}

void TestWindows::refusedAndImportedRequests() {
    Started s(kRequestConfig);
    s.main.Text1->setText(QStringLiteral("123"));
    s.main.MaskEdBox1->setText(QStringLiteral("31/04/2010"));
    click(s.main.Command1);
    const RequestFields fields{.officeType = QStringLiteral("UFFICIO"),
                               .certPosition = 0,
                               .purpose = QStringLiteral("LAVORO"),
                               .protocolNumber = QStringLiteral("123"),
                               .protocolDate = QStringLiteral("31/04/2010")};
    const RequestVerdict verdict = checkForBatch(fields, s.clock.now());
    QCOMPARE(s.messages.texts(), QStringList{verdict.refusal});
    QVERIFY(!shownWindow<CreaFiles>());

    s.main.MaskEdBox1->setText(QStringLiteral("15/03/2010"));
    QList<SubjectValues> rows(4, romanSubject());
    rows[2][StateCodeColumn].clear();
    s.program.table.appendRows(rows);
    s.program.importoFile = true;
    click(s.main.Command1); // imported rows are checked after the wait window
    QVERIFY(shownWindow<attesa>() && !shownWindow<CreaFiles>());
    QTRY_VERIFY(!s.main.Timer1.isActive());
    QVERIFY(!shownWindow<attesa>());
    QCOMPARE(s.messages.texts().last(), rowErrorsMessage({3}));
}

// The form needs its template; it ticks the box of the request's certificate type.
void TestWindows::pdfFormThroughTheOutputWindow() {
    Started s("UFFICIO\r\nROMA\r\nLAVORO\r\n 4\r\n");
    s.program.table.appendRow(romanSubject());
    s.main.Text1->setText(QStringLiteral("123"));
    s.main.MaskEdBox1->setText(QStringLiteral("01/02/2010"));
    click(s.main.Command8);
    CreaFiles& window = s.main.outputWindow();
    QVERIFY(window.isVisible() && window.CreaPdf);
    s.shell.result = false; // no viewer: the operator is told where the form is
    const QString out = s.folder.path(QStringLiteral("out"));
    QVERIFY(QDir(s.folder.path()).mkdir(QStringLiteral("out")));
    const QString stamp = QStringLiteral("/Modulo_Velmora_2010-03-15,0932");
    window.folders->setFolder(out);
    click(window.Command1); // no template yet
    QCOMPARE(s.messages.shown.last().icon, Messages::Icon::Critical);
    QVERIFY(s.shell.opened.isEmpty() && !QFile::exists(out + stamp + ".fdf"));

    QDir(s.folder.path()).mkpath(QStringLiteral("ref"));
    QVERIFY(QFile::copy(QStringLiteral(VELMORA_FORM_TEMPLATE), s.folder.path("ref/modello.pdf")));
    click(window.Command1);
    QFile data(out + stamp + ".fdf");
    QVERIFY(data.open(QIODevice::ReadOnly));
    QVERIFY(data.readAll().contains("/T (Box29) /V /On"));
    QCOMPARE(s.shell.opened, QStringList{out + stamp + ".pdf"});
    QVERIFY(s.messages.shown.last().text.contains(QDir::toNativeSeparators(out + stamp)));
    QCOMPARE(s.program.config.PdfFolder, out);
}

void TestWindows::importRefusedOrWithoutFile() {
    Filled f(3);
    const QString file = f.folder.path(QStringLiteral("soggetti.txt"));
    writeBytes(file, "rossi,mario,H501,,5/1/1970,Z000,,M,\r\n");
    click(f.main.Command7);
    ImportaFile* window = shownWindow<ImportaFile>();
    QVERIFY(window);
    click(window->Command1);
    QCOMPARE(f.messages.texts(), QStringList{kChooseAFile});
    QVERIFY(window->isVisible());
    window->Combo1->setCurrentIndex(1);
    window->folders->setFilePattern(QStringLiteral("*.txt"));
    chooseFile(*window->folders, file);
    f.main.MSFlexGrid1->setCurrentCell(1, NameColumn);
    click(window->Command1);
    QTRY_VERIFY(!shownWindow<ImportaFile>());
    QCOMPARE(f.main.MSFlexGrid1->currentRow(), 3); // the table laid out again
    QVERIFY(f.messages.texts().last().startsWith(importDateMessage(1)));
    QCOMPARE(f.program.table.progressivo(), 3);
    QCOMPARE(f.program.table.cell(3, SurnameColumn), QStringLiteral("S3"));
}

void TestWindows::exportThenImportThroughTheMenu() {
    Filled f(0);
    f.program.table.appendRows({romanSubject(), parisianSubject()});
    f.main.esportaSoggetti->trigger();
    auto* exporter = shownWindow<EsportaSoggetti>();
    QVERIFY(exporter && exporter->folders->setFolder(f.folder.path()));
    exporter->Text1->setText(QStringLiteral("lista.csv"));
    click(exporter->Command1);
    QCOMPARE(f.readFile(QStringLiteral("lista.csv")), *delimitedSubjectBytes(f.program.table));

    f.main.Command6_Click();
    click(f.main.clearTableWindow().Command1);
    click(f.main.Command7);
    ImportaFile& importer = f.main.importWindow();
    importer.Combo1->setCurrentIndex(1);
    chooseFile(*importer.folders, f.folder.path(QStringLiteral("lista.csv")));
    click(importer.Command1);
    QCOMPARE(f.program.table.progressivo(), 2);
    QCOMPARE(f.program.table.values(1), romanSubject());
    QCOMPARE(f.program.table.values(2), parisianSubject());
    QCOMPARE(f.main.MSFlexGrid1->currentRow(), 2);
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
