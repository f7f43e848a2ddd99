#include "gui/attesa.h"
#include "gui/avvisotabella.h"
#include "gui/calendar.h"
#include "gui/frmsplash.h"
#include "gui/widgets/maskeddateedit.h"
#include "gui/widgets/subjectgrid.h"
#include "gui/widgets/widgets.h"
#include "support/fixture.h"
#include "support/places.h"

#include <QTableView>
#include <QToolButton>

using namespace velmora;
using test::shownWindow;

namespace {

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
    test::Started s;
    frmSplash* splash = shownWindow<frmSplash>();
    QVERIFY(splash && splash->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(splash->lblVersion->text(), versionCaption());
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Space})
        QTest::keyClick(splash, key);
    QVERIFY(splash->isVisible());
    QTest::mouseClick(splash->Command1, Qt::LeftButton);
    QTRY_VERIFY(!shownWindow<frmSplash>());

    attesa& wait = s.main.waitWindow();
    QVERIFY(wait.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    wait.show();
    s.main.close();
    QVERIFY(!shownWindow<attesa>());
}

void TestAuxWindows::calendarFillsProtocolDate() {
    test::Started s;
    s.clock.set(QDateTime(QDate(2010, 1, 5), QTime(10, 0)));
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason); // the field already masked
    QApplication::sendEvent(s.main.MaskEdBox1, &in);
    QTest::mouseClick(s.main.Image1, Qt::LeftButton);
    Calendar* calendar = shownWindow<Calendar>();
    QVERIFY(calendar && calendar->isModal());
    QCOMPARE(calendar->MonthView1->selectedDate(), QDate(2010, 1, 5));
    auto* next = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_nextmonth"));
    QVERIFY(next);
    QTest::mouseClick(next, Qt::LeftButton);
    QTest::mouseClick(next, Qt::LeftButton);
    QVERIFY(calendar->isVisible()); // turning the months does not close it
    clickDay(*calendar->MonthView1, 12);
    QCOMPARE(s.main.MaskEdBox1->shownText(), QStringLiteral("12/03/2010"));
    QTRY_VERIFY(!shownWindow<Calendar>());
}

void TestAuxWindows::calendarOnlyForEnabledDate() {
    test::Started s("UFFICIO\r\nROMA\r\nLAVORO\r\n\r\n");
    QVERIFY(!s.main.MaskEdBox1->isEnabled());
    QTest::mouseClick(s.main.Image1, Qt::LeftButton);
    QVERIFY(!shownWindow<Calendar>());
}

void TestAuxWindows::clearTableAsksFirst() {
    test::Started s;
    QTest::mouseClick(s.main.Command6, Qt::LeftButton); // an empty table: nothing to ask
    QVERIFY(!shownWindow<AvvisoTabella>());

    test::fillNumbered(s.program.table, 5);
    s.program.importoFile = true;
    QTest::mouseClick(s.main.Command6, Qt::LeftButton);
    AvvisoTabella* confirm = shownWindow<AvvisoTabella>();
    QVERIFY(confirm);
    confirm->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(confirm));
    QCOMPARE(QApplication::focusWidget(), confirm->Command2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(s.program.table.progressivo(), 5); // Enter cancels
    QTRY_VERIFY(!shownWindow<AvvisoTabella>());

    QTest::mouseClick(s.main.Command6, Qt::LeftButton);
    QTest::mouseClick(shownWindow<AvvisoTabella>()->Command1, Qt::LeftButton);
    QCOMPARE(s.program.table.progressivo(), 0);
    QCOMPARE(s.program.indiceSoggetti, 0);
    QVERIFY(!s.program.importoFile);
    QTRY_VERIFY(!shownWindow<AvvisoTabella>());
}

void TestAuxWindows::eraseTableKeepsFirstRows() {
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

QTEST_MAIN(TestAuxWindows)
#include "tst_auxwindows.moc"
