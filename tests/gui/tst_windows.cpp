#include "core/import/importfile.h"
#include "core/officedata.h"
#include "core/request/request.h"
#include "core/request/requestcheck.h"
#include "core/subjects/delimited.h"
#include "core/subjects/personcheck.h"
#include "core/subjects/rowwarnings.h"
#include "gui/calendardialog.h"
#include "gui/characterpalette.h"
#include "gui/cleartabledialog.h"
#include "gui/createfilesdialog.h"
#include "gui/exportdialog.h"
#include "gui/importdialog.h"
#include "gui/officedialog.h"
#include "gui/recoverykeeper.h"
#include "gui/splashscreen.h"
#include "gui/subjectdialog.h"
#include "gui/waitdialog.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/maskeddateedit.h"
#include "gui/widgets/subjectgrid.h"
#include "support/fixture.h"
#include "support/places.h"
#include "support/typing.h"
#include "support/windows.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

using namespace velmora;
using namespace velmora::test;

namespace {

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

// Clicks the control `name` of `window`.
void click(const QWidget& window, const char* name) {
    click(control(window, name));
}

void setText(const QWidget& window, const char* name, const QString& text) {
    control<QLineEdit>(window, name)->setText(text);
}

QString text(const QWidget& window, const char* name) {
    return control<QLineEdit>(window, name)->text();
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
    void refusedRequest();
    void warnedRowsWaitForYes();
    void pdfFormThroughTheOutputWindow();
    void importRefusedOrWithoutFile();
    void exportThenImportThroughTheMenu();
};

void TestWindows::firstStartLeftWithoutOfficeData() {
    ProgramFixture f;
    QSignalSpy ended(&f.main, &MainWindow::closed);
    f.main.start();
    OfficeDialog* office = shownWindow<OfficeDialog>();
    QVERIFY(office && !f.main.isVisible());
    QCOMPARE(control<QPushButton>(*office, "cancelButton")->text(), QStringLiteral("&Esci"));
    setText(*office, "officeSeatEdit", QStringLiteral("ROMA"));
    control<QPlainTextEdit>(*office, "purposeEdit")->setPlainText(QStringLiteral("LAVORO"));
    click(*office, "okButton");
    QCOMPARE(f.messages.texts(), QStringList{kNoOfficeTypeGiven});
    QVERIFY(office->isVisible());
    click(*office, "cancelButton");
    QCOMPARE(ended.size(), 1);
    QVERIFY(!QFile::exists(f.folder.path(QStringLiteral("config.ini"))));
}

void TestWindows::officeDataChangedFromTheMenu() {
    Started s;
    MainWindow& main = s.main;
    QVERIFY(shownWindow<SplashScreen>());
    QSignalSpy ready(&main, &MainWindow::splashClosed);
    QVERIFY(ready.wait());
    QVERIFY(!shownWindow<SplashScreen>());
    control<QAction>(main, "officeDataAction")->trigger();
    OfficeDialog* office = shownWindow<OfficeDialog>();
    QVERIFY(office);
    QCOMPARE(control<QPushButton>(*office, "cancelButton")->text(), QStringLiteral("&Annulla"));
    setText(*office, "officeTypeEdit", QStringLiteral("PROCURA"));
    control<QPlainTextEdit>(*office, "purposeEdit")->setPlainText(QStringLiteral("ADOZIONE"));
    click(*office, "okButton");
    QVERIFY(!shownWindow<OfficeDialog>());
    QCOMPARE(text(main, "officeTypeEdit"), QStringLiteral("PROCURA"));
    QCOMPARE(control<QPlainTextEdit>(main, "purposeEdit")->toPlainText(),
             QStringLiteral("ADOZIONE"));
    QVERIFY(s.readFile(QStringLiteral("config.ini")).startsWith("PROCURA\r\nROMA\r\nADOZIONE\r\n"));

    QSignalSpy ended(&main, &MainWindow::closed);
    control<QAction>(main, "officeDataAction")->trigger();
    click(main, "exitButton"); // closes the windows with it
    QVERIFY(!main.isVisible() && !shownWindow<OfficeDialog>());
    QCOMPARE(ended.size(), 1);
}

void TestWindows::manualAndCalendar() {
    Started s;
    s.shell.result = false; // no viewer: the operator is told where the manual is
    control<QAction>(s.main, "manualAction")->trigger();
    const QString manual = s.folder.path(kUserManual.toString());
    QCOMPARE(s.shell.opened, QStringList{manual});
    QCOMPARE(s.messages.texts(), QStringList{manualNotOpenedMessage(manual)});

    s.clock.set(QDateTime(QDate(2010, 1, 5), QTime(10, 0)));
    auto* date = control<MaskedDateEdit>(s.main, "protocolDateEdit");
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason); // the field already masked
    QApplication::sendEvent(date, &in);
    // From the field, Alt+Down (or F4); the arrows and Enter pick a day; Esc leaves the date.
    QVERIFY(!control<QToolButton>(s.main, "calendarButton")->icon().isNull()); // built in
    QTest::keyClick(date, Qt::Key_Down, Qt::AltModifier);
    CalendarDialog* calendar = shownWindow<CalendarDialog>();
    QVERIFY(calendar && calendar->isModal());
    auto* month = control<QCalendarWidget>(*calendar, "monthView");
    QCOMPARE(month->selectedDate(), QDate(2010, 1, 5));
    auto* days = month->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
    QTest::keyClick(days, Qt::Key_Right);
    QTest::keyClick(days, Qt::Key_Return);
    const QString next = QStringLiteral("06/01/2010");
    QCOMPARE(date->shownText(), next);
    QCOMPARE(s.program.request.request().protocolDate, next);
    QTRY_VERIFY(!shownWindow<CalendarDialog>());
    click(s.main, "calendarButton");
    QTest::keyClick(shownWindow<CalendarDialog>(), Qt::Key_Escape);
    QTRY_VERIFY(!shownWindow<CalendarDialog>());
    QCOMPARE(date->shownText(), next);
}

void TestWindows::entryWindowModifiesRefusesAndAsks() {
    Filled f(3);
    f.program.table.setFault(2, RowFault::Sex);
    auto* grid = control<SubjectGrid>(f.main, "subjectGrid");
    QVERIFY(QTest::qWaitForWindowExposed(&f.main));
    const QPoint at = grid->visualRect(grid->model()->index(1, NameColumn - 1)).center();
    // A double-click as the window system delivers it: a click, then a second press.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, grid->viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &twice);
    SubjectDialog* window = shownWindow<SubjectDialog>();
    QVERIFY(window);
    QCOMPARE(text(*window, "surnameEdit"), QStringLiteral("S2"));
    QTRY_COMPARE(QApplication::focusWidget(), control(*window, "nameEdit"));
    typeKeys(control(*window, "nameEdit"), QStringLiteral("x"));
    click(*window, "insertButton");
    QVERIFY(f.messages.shown.isEmpty() && gone(window));
    QCOMPARE(f.program.table.subjectCount(), 3);
    QCOMPARE(f.program.table.text(2, NameColumn), QStringLiteral("JOS\u00C8X"));
    QCOMPARE(grid->currentRow(), 2);
    QCOMPARE(f.program.table.fault(2), RowFault::None); // the mark goes with the saving

    click(f.main, "insertSubjectButton");
    window = shownWindow<SubjectDialog>();
    click(*window, "insertButton"); // nothing typed
    PersonFields typed;
    typed.state = QStringLiteral("ITALIA");
    typed.stateCode = QStringLiteral("Z000");
    typed.birthDate = control<MaskedDateEdit>(*window, "birthDateEdit")->shownText();
    const QList<FailedRule> failed = checkPersonFields(typed, f.clock.now());
    QCOMPARE(f.messages.texts(), QStringList{personErrorsMessage(failed)});
    QCOMPARE(f.program.table.subjectCount(), 3);
    // The focus on the first field to mend, which tells a screen reader why.
    QCOMPARE(window->focusWidget(), control(*window, "surnameEdit"));
    QCOMPARE(window->focusWidget()->accessibleDescription(), failed.first().line.mid(2));

    window->fillFromRow(romanSubject()); // then a tax code with a wrong check character
    setText(*window, "taxCodeEdit", QStringLiteral("RSSMRA70A05H501A"));
    click(*window, "insertButton");
    QCOMPARE(f.messages.asked.last().text,
             kTaxCodeQuestion + QStringLiteral("\r\nCodice atteso: RSSMRA70A05H501F"));
    QVERIFY(f.messages.askedDefaultNo.last());
    QVERIFY(window->isVisible()); // No was answered
    QCOMPARE(f.program.table.subjectCount(), 3);

    // A whole code typed fills what is still empty, and only that.
    click(*window, "clearButton");
    click(*window, "computeTaxCodeButton");
    QCOMPARE(f.messages.texts().last(),
             QStringLiteral("Per calcolare il codice fiscale mancano: cognome, nome, sesso, data "
                            "di nascita, luogo di nascita"));
    control<QRadioButton>(*window, "femaleRadio")->click();
    typeKeys(control(*window, "taxCodeEdit"), QStringLiteral("RSSMRA70A05H501F"));
    QVERIFY(control<QRadioButton>(*window, "femaleRadio")->isChecked());
    QCOMPARE(text(*window, "birthDateEdit"), QStringLiteral("05/01/1970"));
    QCOMPARE(control<QComboBox>(*window, "municipalityCombo")->currentText(),
             QStringLiteral("ROMA"));
    QCOMPARE(text(*window, "municipalityCodeEdit"), QStringLiteral("H501"));
}

// The palette belongs to the subject dialog: it types into the field it was opened from and
// closes with the subject dialog.
void TestWindows::paletteTypesIntoItsField() {
    Filled f(0);
    click(f.main, "insertSubjectButton");
    QPointer<SubjectDialog> window = shownWindow<SubjectDialog>();
    QVERIFY(window);
    const std::pair<const char*, const char*> buttons[] = {
        {"surnamePaletteButton", "surnameEdit"},
        {"namePaletteButton", "nameEdit"},
        {"fatherPaletteButton", "fatherEdit"},
        {"foreignPlacePaletteButton", "foreignPlaceEdit"}};
    for (const auto& [button, field] : buttons) {
        setText(*window, field, QStringLiteral("GIOS"));
        // By its button, or from the field with Ctrl+Space; a character is a button too.
        if (field == std::string_view("nameEdit"))
            QTest::keyClick(control(*window, field), Qt::Key_Space, Qt::ControlModifier);
        else
            click(*window, button);
        CharacterPalette* palette = shownWindow<CharacterPalette>();
        QVERIFY(palette);
        for (QToolButton* character : palette->findChildren<QToolButton*>()) {
            if (character->text() == u'\u00C8')
                QTest::keyClick(character, Qt::Key_Space);
        }
        QVERIFY(gone(palette));
        QCOMPARE(text(*window, field), QStringLiteral("GIOS\u00C8"));
    }
    click(*window, "surnamePaletteButton");
    QPointer<CharacterPalette> palette = shownWindow<CharacterPalette>();
    f.main.close();
    QTRY_VERIFY(!palette && !window);
}

void TestWindows::tableCommands() {
    Filled s(0);
    click(s.main, "clearTableButton"); // an empty table: nothing to ask
    QVERIFY(!shownWindow<ClearTableDialog>());
    fillNumbered(s.program.table, 4);
    click(s.main, "clearTableButton");
    ClearTableDialog* confirm = shownWindow<ClearTableDialog>();
    QVERIFY(confirm);
    click(*confirm, "cancelButton");
    QCOMPARE(s.program.table.subjectCount(), 4);
    QTRY_VERIFY(!shownWindow<ClearTableDialog>());

    s.main.showRow(2);
    click(s.main, "deleteSubjectButton"); // no answer scripted: No
    QCOMPARE(s.messages.asked.size(), 1);
    QCOMPARE(s.messages.asked.first().text, kDeleteQuestion.arg(2));
    QCOMPARE(s.program.table.subjectCount(), 4);

    click(s.main, "clearTableButton");
    click(*shownWindow<ClearTableDialog>(), "yesButton");
    QCOMPARE(s.program.table.subjectCount(), 0);
    QTRY_VERIFY(!shownWindow<ClearTableDialog>());

    fillNumbered(s.program.table, SubjectTable::kMaxRows);
    click(s.main, "insertSubjectButton");
    QCOMPARE(s.messages.texts(), QStringList{tableFullMessage()});
    QVERIFY(!shownWindow<SubjectDialog>());

    // Annulla and Ripeti at full size, the recovery file following each step.
    RecoveryKeeper keeper(s.program);
    keeper.offer();
    auto* undo = control<QAction>(s.main, "undoAction");
    const auto surnames = [&s] {
        const SubjectTable& table = s.program.table;
        return QStringList{table.text(1, SurnameColumn).toString(),
                           table.text(2, SurnameColumn).toString()}
            .join(u' ');
    };
    s.messages.answers = {true};
    s.main.showRow(2);
    click(s.main, "deleteSubjectButton");
    s.program.edits.change(1, romanSubject());
    click(s.main, "clearTableButton");
    click(*shownWindow<ClearTableDialog>(), "yesButton");
    QCOMPARE(undo->text(), QStringLiteral("&Annulla cancellazione della tabella"));
    undo->trigger();
    QCOMPARE(std::tuple(s.program.table.subjectCount(), surnames()),
             std::tuple(SubjectTable::kMaxRows - 1, QStringLiteral("ROSSI S3")));
    keeper.flush();
    QVERIFY(s.readFile(QStringLiteral("richiesta-in-corso.txt")).contains("SOGGETTI=32766\r\n"));
    undo->trigger();
    QCOMPARE(surnames(), QStringLiteral("S1 S3"));
    undo->trigger();
    QCOMPARE(std::tuple(s.program.table.subjectCount(), surnames(), s.program.currentRow),
             std::tuple(SubjectTable::kMaxRows, QStringLiteral("S1 S2"), 2));
    QCOMPARE(undo->text(), QStringLiteral("&Annulla cancellazione della tabella")); // of 4 rows
    for (int step = 0; step < 3; ++step)
        control<QAction>(s.main, "redoAction")->trigger();
    QCOMPARE(s.program.table.subjectCount(), 0);
}

void TestWindows::refusedRequest() {
    Started s(kRequestConfig);
    setText(s.main, "protocolNumberEdit", QStringLiteral("123"));
    setText(s.main, "protocolDateEdit", QStringLiteral("31/04/2010"));
    click(s.main, "createFilesButton");
    const Request request{0, QStringLiteral("LAVORO"), QStringLiteral("123"),
                          QStringLiteral("31/04/2010"), false};
    QCOMPARE(s.program.request.request(), request);
    QCOMPARE(s.messages.texts(), QStringList{checkForBatch(request, 0, s.clock.now()).error()});
    QVERIFY(!shownWindow<CreateFilesDialog>());
}

// Rows that pass with warnings are marked, by colour and by a sign, and no file is written
// before a Yes.
void TestWindows::warnedRowsWaitForYes() {
    Started s(kRequestConfig);
    setText(s.main, "protocolNumberEdit", QStringLiteral("123"));
    setText(s.main, "protocolDateEdit", QStringLiteral("15/03/2010"));
    QList<SubjectValues> rows(3, romanSubject());
    rows[1][NameColumn] = QStringLiteral("LUCA");
    s.program.table.appendRows(rowsOf(rows));
    click(s.main, "createFilesButton");
    QCOMPARE(s.messages.asked.size(), 1);
    QCOMPARE(s.messages.asked.last().text,
             QStringLiteral("2 soggetti hanno un avviso (vedere i dettagli). Creare comunque i "
                            "file?"));
    QVERIFY(s.messages.askedDefaultNo.last());
    QCOMPARE(s.messages.asked.last().detail,
             QStringLiteral("Riga 2: avviso: il codice fiscale non corrisponde ai dati anagrafici "
                            "(nome)\r\nRiga 2: avviso: stesso codice fiscale della riga 1\r\n"
                            "Riga 3: avviso: stesso codice fiscale della riga 1"));
    QVERIFY(!shownWindow<CreateFilesDialog>());
    const auto& grid = *control<SubjectGrid>(s.main, "subjectGrid");
    QCOMPARE(grid.currentRow(), 2);
    const QAbstractItemModel& rowsShown = *grid.model();
    QCOMPARE(rowsShown.headerData(2, Qt::Vertical, Qt::ToolTipRole).toString(),
             QStringLiteral("avviso: stesso codice fiscale della riga 1"));
    QCOMPARE(rowsShown.headerData(2, Qt::Vertical).toString(), QStringLiteral("3 \u26A0"));
    QVERIFY(!rowsShown.index(0, 0).data(Qt::BackgroundRole).isValid());
    QVERIFY(rowsShown.index(2, 0).data(Qt::BackgroundRole).isValid());
    s.messages.answers = {true};
    click(s.main, "createFilesButton");
    QVERIFY(shownWindow<CreateFilesDialog>());
}

// The form needs its template; it ticks the box of the request's certificate type.
void TestWindows::pdfFormThroughTheOutputWindow() {
    Started s("UFFICIO\r\nROMA\r\nLAVORO\r\n 4\r\n");
    s.program.table.appendRow(romanSubject());
    setText(s.main, "protocolNumberEdit", QStringLiteral("123"));
    setText(s.main, "protocolDateEdit", QStringLiteral("01/02/2010"));
    click(s.main, "pdfFormButton");
    CreateFilesDialog* window = shownWindow<CreateFilesDialog>();
    QVERIFY(window);
    QCOMPARE(control<QLabel>(*window, "folderLabel")->text(),
             QStringLiteral("Scegliere la directory di destinazione per il modulo PDF :"));
    s.shell.result = false; // no viewer: the operator is told where the form is
    const QString out = s.folder.path(QStringLiteral("out"));
    QVERIFY(QDir(s.folder.path()).mkdir(QStringLiteral("out")));
    const QString stamp = QStringLiteral("/Modulo_Velmora_2010-03-15,0932");
    folderChooser(*window).setFolder(out);
    click(*window, "okButton"); // no template yet
    QCOMPARE(s.messages.shown.last().icon, Messages::Icon::Critical);
    QVERIFY(s.shell.opened.isEmpty() && !QFile::exists(out + stamp + ".fdf"));

    QDir(s.folder.path()).mkpath(QStringLiteral("ref"));
    QVERIFY(QFile::copy(QStringLiteral(VELMORA_FORM_TEMPLATE), s.folder.path("ref/modello.pdf")));
    click(*window, "okButton");
    QFile data(out + stamp + ".fdf");
    QVERIFY(data.open(QIODevice::ReadOnly));
    QVERIFY(data.readAll().contains("/T (Box29) /V /On"));
    QCOMPARE(s.shell.opened, QStringList{out + stamp + ".pdf"});
    QVERIFY(s.messages.shown.last().text.contains(QDir::toNativeSeparators(out + stamp)));
    QCOMPARE(s.program.config.pdfFolder, out);
}

void TestWindows::importRefusedOrWithoutFile() {
    Filled f(3);
    const QString file = f.folder.path(QStringLiteral("soggetti.txt"));
    writeBytes(file, "rossi,mario,H501,,5/1/1970,Z000,,M,\r\n");
    click(f.main, "importButton");
    ImportDialog* window = shownWindow<ImportDialog>();
    QVERIFY(window);
    click(*window, "okButton");
    QCOMPARE(f.messages.texts(), QStringList{kChooseAFile});
    QVERIFY(window->isVisible());
    control<QComboBox>(*window, "fileTypeCombo")->setCurrentIndex(1);
    folderChooser(*window).setFilePattern(QStringLiteral("*.txt"));
    chooseFile(*window, file);
    f.main.showRow(1);
    click(*window, "okButton");
    QCOMPARE(folderChooser(*window).selectedFile(), file); // open on the file, to try again
    auto* grid = control<SubjectGrid>(f.main, "subjectGrid");
    QCOMPARE(grid->currentRow(), 3); // the table laid out again
    QVERIFY(f.messages.texts().last().startsWith(importDateMessage(1)));
    QCOMPARE(f.messages.shown.last().detail,
             QStringLiteral("Riga 1: La data di nascita \"5/1/1970\" non ha la forma gg/mm/aaaa"));
    QCOMPARE(f.program.table.subjectCount(), 3);
    QCOMPARE(f.program.table.text(3, SurnameColumn), QStringLiteral("S3"));
}

void TestWindows::exportThenImportThroughTheMenu() {
    Filled f(0);
    f.program.table.appendRows(rowsOf({romanSubject(), parisianSubject()}));
    control<QAction>(f.main, "exportAction")->trigger();
    auto* exporter = shownWindow<ExportDialog>();
    QVERIFY(exporter && folderChooser(*exporter).setFolder(f.folder.path()));
    // Into a new folder, made from the window.
    QTimer::singleShot(0, [] {
        auto* ask = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        QVERIFY(ask);
        ask->setTextValue(QStringLiteral("lotti"));
        ask->accept();
    });
    click(*exporter, "newFolderButton");
    const QString list = f.folder.path(QStringLiteral("lotti/lista.csv"));
    QCOMPARE(folderChooser(*exporter).folder(), QFileInfo(list).absolutePath());
    setText(*exporter, "fileNameEdit", QStringLiteral("lista.csv"));
    click(*exporter, "okButton");
    QCOMPARE(readBytes(list), *delimitedSubjectBytes(f.program.table));

    // Its path typed, and Enter; then Enter on it in the list, its type chosen again.
    for (const bool typed : {true, false}) {
        f.program.table.keepRows(0);
        click(f.main, "importButton");
        ImportDialog* importer = shownWindow<ImportDialog>();
        auto* type = control<QComboBox>(*importer, "fileTypeCombo");
        auto* files = control<QListView>(*importer, "fileList");
        if (typed) {
            type->setCurrentIndex(1);
            setText(*importer, "pathEdit", QDir::toNativeSeparators(list));
            QTest::keyClick(control(*importer, "pathEdit"), Qt::Key_Return);
        } else {
            QCOMPARE(std::pair(type->currentIndex(), importer->focusWidget()),
                     std::pair(1, static_cast<QWidget*>(files)));
            chooseFile(*importer, list);
            QTest::keyClick(files, Qt::Key_Return);
        }
        QCOMPARE(f.program.table.subjectCount(), 2);
        QCOMPARE(f.program.table.values(2), parisianSubject());
        QVERIFY(!importer->isVisible() && gone(importer)); // hidden at once, closed after
    }
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
