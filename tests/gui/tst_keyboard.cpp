#include "core/request/requestcheck.h"
#include "gui/createfilesdialog.h"
#include "gui/importdialog.h"
#include "gui/mainwindow.h"
#include "gui/officedialog.h"
#include "gui/subjectdialog.h"
#include "gui/waitdialog.h"
#include "gui/widgets/subjectgrid.h"
#include "support/fixture.h"
#include "support/places.h"
#include "support/typing.h"
#include "support/windows.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStatusBar>

using namespace velmora;
using test::control;
using test::shownWindow;

namespace {

// Keys go where the window's focus is, as on a real keyboard.
void press(QWidget& window, Qt::Key key) {
    QWidget* focus = window.focusWidget();
    QTest::keyClick(focus ? focus : &window, key);
}

void type(QWidget& window, const QString& text) {
    test::typeKeys(window.focusWidget(), text);
}

// The offscreen platform does not always deliver focus changes: as the operator's moves do.
void focusEvent(QWidget* widget, QEvent::Type type) {
    QFocusEvent event(type, Qt::TabFocusReason);
    QApplication::sendEvent(widget, &event);
}

// Tab until `target` has the focus; a target outside the chain fails.
void tabTo(QWidget& window, QWidget* target) {
    for (int step = 0; step < 60 && window.focusWidget() != target; ++step)
        press(window, Qt::Key_Tab);
    QCOMPARE(window.focusWidget(), target);
}

bool visibleInGrid(const SubjectGrid& grid) {
    return grid.viewport()->rect().contains(grid.visualRect(grid.currentIndex()));
}

} // namespace

// Enter, Esc, Tab and Space drive every window; the windows open where the operator looks.
class TestKeyboard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeRequestByKeyboard();
    void currentRowFollowsImportDeletionAndCheck();
};

void TestKeyboard::wholeRequestByKeyboard() {
    test::ProgramFixture f;
    test::writePlaceTables(f.folder);
    f.main.start();
    OfficeDialog* office = shownWindow<OfficeDialog>();
    QVERIFY(office && QTest::qWaitForWindowActive(office));
    type(*office, QStringLiteral("UFFICIO"));
    press(*office, Qt::Key_Tab);
    type(*office, QStringLiteral("ROMA"));
    press(*office, Qt::Key_Tab);
    type(*office, QStringLiteral("LAVORO"));
    tabTo(*office, control(*office, "okButton"));
    press(*office, Qt::Key_Return);
    MainWindow& main = f.main;
    QVERIFY(QTest::qWaitForWindowActive(&main));

    control(main, "officeTypeEdit")->setFocus();
    tabTo(main, control(main, "certificateTypeCombo"));
    press(main, Qt::Key_Down);
    tabTo(main, control(main, "protocolNumberEdit"));
    type(main, QStringLiteral("123"));
    tabTo(main, control(main, "protocolDateEdit"));
    focusEvent(control(main, "protocolDateEdit"), QEvent::FocusIn);
    type(main, QStringLiteral("01032010"));

    tabTo(main, control(main, "insertSubjectButton"));
    press(main, Qt::Key_Return);
    SubjectDialog* entry = shownWindow<SubjectDialog>();
    QVERIFY(entry && QTest::qWaitForWindowActive(entry));
    control(*entry, "surnameEdit")->setFocus();
    type(*entry, QStringLiteral("rossi"));
    tabTo(*entry, control(*entry, "nameEdit"));
    type(*entry, QStringLiteral("mario"));
    auto* female = control<QRadioButton>(*entry, "femaleRadio");
    QTest::keyClick(female, Qt::Key_Space);
    tabTo(*entry, control(*entry, "maleRadio")); // the pair's one Tab stop: M, then F
    press(*entry, Qt::Key_Space);                // one of the pair: the other goes out
    QVERIFY(!female->isChecked());
    tabTo(*entry, control(*entry, "birthDateEdit"));
    focusEvent(control(*entry, "birthDateEdit"), QEvent::FocusIn);
    type(*entry, QStringLiteral("05011970"));
    tabTo(*entry, control(*entry, "municipalityCombo"));
    type(*entry, QStringLiteral("ROMA"));
    focusEvent(control<QComboBox>(*entry, "municipalityCombo")->lineEdit(), QEvent::FocusOut);
    tabTo(*entry, control(*entry, "computeTaxCodeButton")); // the tax code was left empty
    press(*entry, Qt::Key_Space);
    QCOMPARE(control<QLineEdit>(*entry, "taxCodeEdit")->text(), QStringLiteral("RSSMRA70A05H501F"));
    tabTo(*entry, control(*entry, "insertButton"));
    press(*entry, Qt::Key_Return);
    QVERIFY(test::gone(entry));
    QCOMPARE(f.program.table.values(1), test::romanSubject());

    tabTo(main, control(main, "createFilesButton"));
    press(main, Qt::Key_Return);
    CreateFilesDialog* output = shownWindow<CreateFilesDialog>();
    QVERIFY(output && QTest::qWaitForWindowActive(output));
    tabTo(*output, control(*output, "okButton"));
    press(*output, Qt::Key_Return);
    const QStringList batches =
        QDir(f.folder.path()).entryList({QStringLiteral("Velmora_*")}, QDir::Dirs);
    QCOMPARE(batches.size(), 1);
    QCOMPARE(f.messages.texts().last(),
             kCreated.arg(QDir::toNativeSeparators(f.folder.path(batches.first()))));
    // Until the request or its subjects change, it knows it was sent.
    QCOMPARE(main.windowTitle(), QStringLiteral(" Richiesta Certificati - Lotto creato"));
    f.program.table.setFault(1, RowFault::Sex);
    QCOMPARE(f.program.request.output().name, batches.first());
    f.program.table.setValues(1, test::parisianSubject());
    QCOMPARE(main.windowTitle(), QStringLiteral(" Richiesta Certificati"));
}

void TestKeyboard::currentRowFollowsImportDeletionAndCheck() {
    test::Started s;
    MainWindow& main = s.main;
    SubjectGrid& grid = *control<SubjectGrid>(main, "subjectGrid");
    QList<SubjectValues> rows(300, test::romanSubject());
    rows[149][SexColumn] = QStringLiteral("Y");
    rows[249][SexColumn] = QStringLiteral("X");
    s.writeFile(QStringLiteral("lista.txt"), test::subjectListBytes(rows));
    test::writePlaceTables(s.folder);
    QTest::mouseClick(control(main, "importButton"), Qt::LeftButton);
    ImportDialog& import = *shownWindow<ImportDialog>();
    test::chooseFile(import, s.folder.path(QStringLiteral("lista.txt")));
    QTest::mouseClick(control(import, "okButton"), Qt::LeftButton);
    QCOMPARE(grid.currentRow(), 300);
    QVERIFY(visibleInGrid(grid));
    QCOMPARE(main.statusBar()->currentMessage(), QStringLiteral("Importati 300 soggetti"));

    const auto deleteRow = [&](int row) { // with the Delete key on the row
        grid.setCurrentCell(row, SurnameColumn);
        QTest::keyClick(&grid, Qt::Key_Delete);
    };
    s.messages.answers = {true, true};
    deleteRow(200);
    QCOMPARE(grid.currentRow(), 200); // the row that took its place
    deleteRow(299);
    QCOMPARE(grid.currentRow(), 298); // the new last row

    control<QLineEdit>(main, "protocolNumberEdit")->setText(QStringLiteral("1"));
    control<QLineEdit>(main, "protocolDateEdit")->setText(QStringLiteral("01/03/2010"));
    QTest::mouseClick(control(main, "createFilesButton"), Qt::LeftButton);
    QVERIFY(shownWindow<WaitDialog>()); // imported rows are checked after the wait window
    QTRY_VERIFY(!shownWindow<WaitDialog>());
    QVERIFY(!shownWindow<CreateFilesDialog>());
    QCOMPARE(grid.currentRow(), 150);
    QVERIFY(visibleInGrid(grid));
    QCOMPARE(s.messages.shown.last().text, rowErrorsMessage({150, 249}));
    QCOMPARE(s.messages.shown.last().detail.count(QStringLiteral("Riga ")), 2);
    const auto tip = [&](int row) {
        return grid.model()->headerData(row - 1, Qt::Vertical, Qt::ToolTipRole).toString();
    };
    QCOMPARE(tip(150), QStringLiteral("Sesso diverso da M o F"));
    QCOMPARE(tip(151), QString());
    QCOMPARE(control<QLabel>(main, "rowReasonLabel")->text(), // the status line's reason
             QStringLiteral("Riga 150: Sesso diverso da M o F"));
    QTRY_COMPARE(control<QLabel>(main, "countLabel")->text(),
                 QStringLiteral("298 soggetti, 2 con errori, 0 con avvisi"));

    // F8 goes from marked row to marked row, round the end; the find bar from row to row.
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&grid, Qt::Key_F8);
    QCOMPARE(grid.currentRow(), 249);
    QTest::keyClick(&grid, Qt::Key_F8);
    QCOMPARE(grid.currentRow(), 150);
    QTest::keyClick(&grid, Qt::Key_F, Qt::ControlModifier);
    auto* find = control<QLineEdit>(main, "findEdit");
    QVERIFY(find->isVisible());
    test::typeKeys(find, QStringLiteral("mr\u00E0"));
    QCOMPARE(grid.currentRow(), 150); // the current row holds it
    QTest::keyClick(find, Qt::Key_F3);
    QCOMPARE(grid.currentRow(), 151);
    QTest::keyClick(find, Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(grid.currentRow(), 150);
    QTest::keyClick(find, Qt::Key_Escape);
    QVERIFY(!find->isVisible());
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
