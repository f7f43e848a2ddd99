#include "gui/attesa.h"
#include "gui/avvisotabella.h"
#include "gui/calendar.h"
#include "gui/frmsplash.h"
#include "gui/widgets/maskeddateedit.h"
#include "gui/widgets/subjectgrid.h"
#include "gui/widgets/widgets.h"
#include "support/fixture.h"
#include "support/places.h"

#include <QApplication>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace velmora;

namespace {

const QByteArray kCompleteConfig = "UFFICIO\r\nROMA\r\nLAVORO\r\n 2\r\n\r\n\r\n\r\n";
const QByteArray kNoTypeConfig = "UFFICIO\r\nROMA\r\nLAVORO\r\n\r\n";

template <typename Window> Window* shownWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

// Clicks the first cell of the calendar's month view that shows `day`; the days of the month
// before the current one are all above 20, so a day under 20 is found in the current month.
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

} // namespace

class TestAuxWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splashAndWaitWindowStayOnTop();
    void calendarFillsProtocolDate();
    void calendarOnlyForEnabledDate();
    void clearTableAsksFirst();
    void eraseTableKeepsFirstRows();
};

void TestAuxWindows::splashAndWaitWindowStayOnTop() {
    test::ProgramFixture f(kCompleteConfig);
    f.program.principale().Form_Load();
    frmSplash& splash = f.program.splash();
    QVERIFY(splash.isVisible());
    QVERIFY(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(splash.lblVersion->text(), QStringLiteral("Versione 1.0.0"));
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Space, Qt::Key_A})
        QTest::keyClick(&splash, key);
    QVERIFY(splash.isVisible());
    QTest::mouseClick(splash.Command1, Qt::LeftButton);
    QTRY_VERIFY(!shownWindow<frmSplash>());

    attesa& wait = f.program.waitWindow();
    QVERIFY(wait.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    wait.show();
    f.program.closeOtherWindows();
    QVERIFY(!shownWindow<attesa>());
    f.program.principale().close();
}

void TestAuxWindows::calendarFillsProtocolDate() {
    test::ProgramFixture f(kCompleteConfig);
    f.clock.set(QDateTime(QDate(2010, 1, 5), QTime(10, 0)));
    Principale& main = f.program.principale();
    main.Form_Load();
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason); // the field already masked
    QApplication::sendEvent(main.MaskEdBox1, &in);
    QVERIFY(main.MaskEdBox1->hasMask());
    QTest::mouseClick(main.Image1, Qt::LeftButton);
    Calendar* calendar = shownWindow<Calendar>();
    QVERIFY(calendar);
    QVERIFY(calendar->isModal());
    QCOMPARE(calendar->MonthView1->selectedDate(), QDate(2010, 1, 5));

    auto* next = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_nextmonth"));
    QVERIFY(next);
    QTest::mouseClick(next, Qt::LeftButton);
    QTest::mouseClick(next, Qt::LeftButton);
    QVERIFY(calendar->isVisible()); // turning the months does not close it

    clickDay(*calendar->MonthView1, 12);
    QCOMPARE(main.MaskEdBox1->shownText(), QStringLiteral("12/03/2010"));
    QTRY_VERIFY(!shownWindow<Calendar>());
    main.close();
}

void TestAuxWindows::calendarOnlyForEnabledDate() {
    test::ProgramFixture f(kNoTypeConfig);
    Principale& main = f.program.principale();
    main.Form_Load();
    QVERIFY(!main.MaskEdBox1->isEnabled());
    QTest::mouseClick(main.Image1, Qt::LeftButton);
    QVERIFY(!shownWindow<Calendar>());
    main.close();
}

void TestAuxWindows::clearTableAsksFirst() {
    test::ProgramFixture f(kCompleteConfig);
    Principale& main = f.program.principale();
    main.Form_Load();

    QTest::mouseClick(main.Command6, Qt::LeftButton); // an empty table: nothing to ask
    QVERIFY(!shownWindow<AvvisoTabella>());

    test::fillNumbered(f.program.table, 5);
    f.program.importoFile = true;
    QTest::mouseClick(main.Command6, Qt::LeftButton);
    AvvisoTabella* confirm = shownWindow<AvvisoTabella>();
    QVERIFY(confirm);
    QCOMPARE(confirm->Label1->text(), QStringLiteral("Cancellare l'intera tabella ?"));
    confirm->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(confirm));
    QCOMPARE(QApplication::focusWidget(), confirm->Command2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(f.program.table.progressivo(), 5); // Enter cancels
    QVERIFY(f.program.importoFile);
    QTRY_VERIFY(!shownWindow<AvvisoTabella>());

    QTest::mouseClick(main.Command6, Qt::LeftButton);
    confirm = shownWindow<AvvisoTabella>();
    QVERIFY(confirm);
    QTest::mouseClick(confirm->Command1, Qt::LeftButton);
    QCOMPARE(f.program.table.progressivo(), 0);
    QCOMPARE(f.program.indiceSoggetti, 0);
    QVERIFY(!f.program.importoFile);
    QTRY_VERIFY(!shownWindow<AvvisoTabella>());

    test::fillNumbered(f.program.table, 1);
    QTest::mouseClick(main.Command6, Qt::LeftButton);
    QVERIFY(shownWindow<AvvisoTabella>());
    main.close(); // closes the confirmation with it
    QVERIFY(!shownWindow<AvvisoTabella>());
}

void TestAuxWindows::eraseTableKeepsFirstRows() {
    test::ProgramFixture f(kCompleteConfig);
    Principale& main = f.program.principale();
    main.Form_Load();
    SubjectTable& table = f.program.table;
    test::fillNumbered(table, 7);
    table.setColors(2, {kLightRed, kBlack});
    table.setColors(6, {kLightRed, kBlack});
    main.MSFlexGrid1->setCurrentCell(7, TaxCodeColumn);

    int prog = 3;
    f.program.clearTableWindow().EraseTable(prog); // never shown, as the import uses it
    QCOMPARE(prog, 4);
    QCOMPARE(table.progressivo(), 3);
    QCOMPARE(table.cell(3, SurnameColumn), QStringLiteral("S3"));
    QCOMPARE(table.colors(2).back, kLightRed);
    QCOMPARE(table.colors(3).back, kWhite);
    QCOMPARE(main.MSFlexGrid1->currentRow(), 3);
    QCOMPARE(main.MSFlexGrid1->currentColumn(), int(SurnameColumn));
    QCOMPARE(f.program.indiceSoggetti, 3);

    main.MSFlexGrid1->setCurrentCell(1, TaxCodeColumn);
    prog = 3;
    f.program.clearTableWindow().EraseTable(prog); // as many as there are: only the cell moves
    QCOMPARE(table.progressivo(), 3);
    QCOMPARE(main.MSFlexGrid1->currentRow(), 3);
    QVERIFY(!shownWindow<AvvisoTabella>());
    main.close();
}

QTEST_MAIN(TestAuxWindows)
#include "tst_auxwindows.moc"
