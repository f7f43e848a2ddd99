#include "core/request/requestcheck.h"
#include "gui/avvisotabella.h"
#include "gui/creafiles.h"
#include "gui/datiutente.h"
#include "gui/diacritici.h"
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

using namespace velmora;
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
    void secondaryWindowsOwnedCentredAndLeftWithEsc();
    void currentRowFollowsImportDeletionAndCheck();
};

void TestKeyboard::wholeRequestByKeyboard() {
    test::ProgramFixture f;
    test::writePlaceTables(f.folder);
    f.main.Form_Load();
    datiUtente& config = f.main.configWindow();
    QVERIFY(QTest::qWaitForWindowActive(&config));
    type(config, QStringLiteral("UFFICIO"));
    press(config, Qt::Key_Tab);
    type(config, QStringLiteral("ROMA"));
    press(config, Qt::Key_Tab);
    type(config, QStringLiteral("LAVORO"));
    tabTo(config, config.Command1);
    press(config, Qt::Key_Return);
    Principale& main = f.main;
    QVERIFY(QTest::qWaitForWindowActive(&main));

    main.Text2->setFocus();
    tabTo(main, main.Combo1);
    press(main, Qt::Key_Down);
    tabTo(main, main.Text1);
    type(main, QStringLiteral("123"));
    tabTo(main, main.MaskEdBox1);
    focusEvent(main.MaskEdBox1, QEvent::FocusIn);
    type(main, QStringLiteral("01032010"));

    tabTo(main, main.Command3);
    press(main, Qt::Key_Return);
    InsertPersona* entry = shownWindow<InsertPersona>();
    QVERIFY(entry && QTest::qWaitForWindowActive(entry));
    entry->Text1->setFocus();
    type(*entry, QStringLiteral("rossi"));
    press(*entry, Qt::Key_Tab);
    type(*entry, QStringLiteral("mario"));
    press(*entry, Qt::Key_Tab);
    press(*entry, Qt::Key_Right); // the arrow selects F, as radio buttons do
    QVERIFY(entry->Option2->isChecked());
    QCOMPARE(entry->focusWidget(), entry->Option2);
    press(*entry, Qt::Key_Left);
    QVERIFY(entry->Option1->isChecked() && !entry->Option2->isChecked());
    press(*entry, Qt::Key_Tab); // each button is a Tab stop of its own
    QCOMPARE(entry->focusWidget(), entry->Option2);
    press(*entry, Qt::Key_Tab);
    type(*entry, QStringLiteral("RSSMRA70A05H501F"));
    tabTo(*entry, entry->MaskEdBox1);
    focusEvent(entry->MaskEdBox1, QEvent::FocusIn);
    type(*entry, QStringLiteral("05011970"));
    press(*entry, Qt::Key_Tab);
    type(*entry, QStringLiteral("ROMA"));
    focusEvent(entry->Combo1->lineEdit(), QEvent::FocusOut);
    tabTo(*entry, entry->Command1);
    press(*entry, Qt::Key_Return);
    QVERIFY(test::gone(entry));
    QCOMPARE(f.program.table.values(1), test::romanSubject());

    tabTo(main, main.Command1);
    press(main, Qt::Key_Return);
    CreaFiles* output = shownWindow<CreaFiles>();
    QVERIFY(output && QTest::qWaitForWindowActive(output));
    tabTo(*output, output->Command1);
    press(*output, Qt::Key_Return);
    const QStringList batches =
        QDir(f.folder.path()).entryList({QStringLiteral("Velmora_*")}, QDir::Dirs);
    QCOMPARE(batches.size(), 1);
    QCOMPARE(f.messages.texts().last(),
             kCreated.arg(QDir::toNativeSeparators(f.folder.path(batches.first()))));
}

// Each window opens over the main window and belongs to it; Esc leaves it.
void TestKeyboard::secondaryWindowsOwnedCentredAndLeftWithEsc() {
    test::Started s;
    test::writePlaceTables(s.folder);
    test::fillNumbered(s.program.table, 2);
    Principale& main = s.main;
    main.Timer2_Timer();
    const std::function<void()> openers[] = {
        [&] { main.modConfig->trigger(); },
        [&] { QTest::mouseClick(main.Command7, Qt::LeftButton); },
        [&] { QTest::mouseClick(main.Command8, Qt::LeftButton); },
        [&] { QTest::mouseClick(main.Command6, Qt::LeftButton); },
        [&] { QTest::mouseClick(main.Command3, Qt::LeftButton); },
        [&] { QTest::mouseClick(main.entryWindow().Image2, Qt::LeftButton); },
    };
    s.main.Text1->setText(QStringLiteral("1"));
    s.main.MaskEdBox1->setText(QStringLiteral("01/03/2010"));
    for (const auto& open : openers) {
        open();
        QWidget* window = QApplication::activeModalWidget();
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!window && top != &main && top->isVisible() && top->windowTitle() != kAppTitle)
                window = top;
        }
        QVERIFY(window);
        QWidget* owner = window->parentWidget();
        if (auto* palette = qobject_cast<diacritici*>(window)) {
            QCOMPARE(owner, &main.entryWindow());
            QVERIFY(palette->x() > main.entryWindow().Image2->mapToGlobal(QPoint()).x());
        } else {
            QCOMPARE(owner, &main);
            QVERIFY((window->geometry().center() - main.geometry().center()).manhattanLength() <
                    40);
        }
        press(*window, Qt::Key_Escape);
        QVERIFY(test::gone(window));
    }
    QTRY_VERIFY(!shownWindow<InsertPersona>()); // Esc in the palette left the entry window
}

void TestKeyboard::currentRowFollowsImportDeletionAndCheck() {
    test::Started s;
    Principale& main = s.main;
    SubjectGrid& grid = *main.MSFlexGrid1;
    QList<SubjectValues> rows(300, test::romanSubject());
    rows[149][SexColumn] = QStringLiteral("Y");
    rows[249][SexColumn] = QStringLiteral("X");
    s.writeFile(QStringLiteral("lista.txt"), test::subjectListBytes(rows));
    test::writePlaceTables(s.folder);
    ImportaFile& import = main.importWindow();
    import.open();
    QVERIFY(import.folders->setFolder(s.folder.path()));
    auto* files = static_cast<QFileSystemModel*>(import.folders->File1->model());
    const QString file = s.folder.path(QStringLiteral("lista.txt"));
    QTRY_VERIFY(files->index(file).isValid());
    import.folders->File1->setCurrentIndex(files->index(file));
    import.Command1_Click();
    QCOMPARE(grid.currentRow(), 300);
    QVERIFY(visibleInGrid(grid));

    s.messages.answers = {true, true};
    grid.setCurrentCell(200, SurnameColumn);
    main.Command5_Click();
    QCOMPARE(grid.currentRow(), 200); // the row that took its place
    grid.setCurrentCell(299, SurnameColumn);
    main.Command5_Click();
    QCOMPARE(grid.currentRow(), 298); // the new last row

    main.Timer1_Timer();
    QCOMPARE(grid.currentRow(), 150);
    QVERIFY(visibleInGrid(grid));
    QCOMPARE(s.messages.shown.last().text, rowErrorsMessage({150, 249}));
    QCOMPARE(s.messages.shown.last().detail,
             rowFaultLines(failingRowChecks(s.program.table, s.clock.now())));
    QCOMPARE(s.messages.shown.last().detail.count(QStringLiteral("Riga ")), 2);
    const auto tip = [&](int row) {
        return grid.model()->headerData(row - 1, Qt::Vertical, Qt::ToolTipRole).toString();
    };
    QCOMPARE(tip(150), rowFaultText(RowFault::Sex));
    QCOMPARE(tip(151), QString());
    s.program.nuovoIns = false;
    main.EditPersonRow();
    main.entryWindow().Option1->click();
    main.entryWindow().Command1_Click();
    QCOMPARE(tip(150), QString()); // saved again
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
