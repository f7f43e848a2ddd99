#include "core/officedata.h"
#include "core/request/request.h"
#include "gui/attesa.h"
#include "gui/calendar.h"
#include "gui/datiutente.h"
#include "gui/frmsplash.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/maskeddateedit.h"
#include "gui/widgets/subjectgrid.h"
#include "gui/widgets/widgets.h"
#include "support/fixture.h"
#include "support/places.h"
#include "support/typing.h"
#include "support/windows.h"

#include <QSignalSpy>
#include <QTableView>

using namespace velmora;
using test::shownWindow;

namespace {

void loseFocus(QWidget* widget) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(widget, &out);
}

void fill(datiUtente& window, const QString& type, const QString& seat, const QString& purpose) {
    window.Text1->setText(type);
    window.Text2->setText(seat);
    window.Text3->setPlainText(purpose);
    QTest::mouseClick(window.Command1, Qt::LeftButton);
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

} // namespace

// The main window and the office-data window; the rules they apply are proven by the core tests.
class TestPrincipale : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstStartEndsWhenTheOfficeDataAreNotGiven();
    void missingOfficeValueIsAskedForInItsField_data();
    void missingOfficeValueIsAskedForInItsField();
    void firstConfigurationNotWrittenStillStarts();
    void startWithConfig_data();
    void startWithConfig();
    void fieldsHaveTheirFilters();
    void officeDataChangedAndWindowsClosedWithThisOne();
    void splashAndWaitWindowStayOnTop();
    void calendarFillsProtocolDate();
    void guidaOpensTheManual();
    void newRequestEmptiesTheTable();
};

void TestPrincipale::firstStartEndsWhenTheOfficeDataAreNotGiven() {
    test::ProgramFixture f;
    QSignalSpy ended(&f.main, &Principale::closed);
    f.main.Form_Load();
    QVERIFY(!f.main.isVisible());
    datiUtente& config = f.main.configWindow();
    QVERIFY(config.isVisible() && !config.modifica);
    QTest::mouseClick(config.Command2, Qt::LeftButton);
    QCOMPARE(ended.size(), 1);
    QVERIFY(!QFile::exists(f.folder.path(QStringLiteral("config.ini"))));
}

void TestPrincipale::missingOfficeValueIsAskedForInItsField_data() {
    QTest::addColumn<int>("empty"); // 1 Text1, 2 Text2, 3 Text3
    QTest::addColumn<QString>("message");
    QTest::newRow("type") << 1 << kNoOfficeTypeGiven;
    QTest::newRow("seat") << 2 << kNoOfficeSeatGiven;
    QTest::newRow("purpose") << 3 << kNoPurposeGiven;
}

void TestPrincipale::missingOfficeValueIsAskedForInItsField() {
    QFETCH(int, empty);
    test::ProgramFixture f;
    f.main.Form_Load();
    datiUtente& window = f.main.configWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const auto given = [empty](int field) {
        return field == empty ? QString() : QStringLiteral("X");
    };
    fill(window, given(1), given(2), given(3));
    QFETCH(QString, message);
    QCOMPARE(f.messages.texts(), QStringList{message});
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Exclamation);
    QWidget* const fields[] = {window.Text1, window.Text2, window.Text3};
    QTRY_VERIFY(fields[empty - 1]->hasFocus());
    QVERIFY(window.isVisible() && !f.main.isVisible());
    QVERIFY(!QFile::exists(f.folder.path(QStringLiteral("config.ini"))));
}

// A configuration that cannot be written is told, and its values serve the run.
void TestPrincipale::firstConfigurationNotWrittenStillStarts() {
    test::ProgramFixture f;
    QVERIFY(QDir(f.folder.path()).mkdir(QStringLiteral("config.ini")));
    f.main.Form_Load();
    fill(f.main.configWindow(), QStringLiteral("PROCURA"), QStringLiteral("ROMA"),
         QStringLiteral("LAVORO"));
    QCOMPARE(f.messages.shown.size(), 1);
    QVERIFY(f.main.isVisible() && f.main.Timer2.isActive() && shownWindow<frmSplash>());
    QCOMPARE(f.main.Text2->text(), QStringLiteral("PROCURA"));
}

void TestPrincipale::startWithConfig_data() {
    QTest::addColumn<QByteArray>("line4");
    QTest::addColumn<int>("position");
    QTest::newRow("type from the list") << QByteArray(" 2") << 2;
    QTest::newRow("no type") << QByteArray() << -1;
}

void TestPrincipale::startWithConfig() {
    QFETCH(QByteArray, line4);
    QFETCH(int, position);
    test::Started s("UFFICIO\r\nROMA\r\nLAVORO\r\n" + line4 + "\r\n");
    Principale& main = s.main;
    QVERIFY(main.isVisible() && main.MSFlexGrid1->isVisible() && !shownWindow<datiUtente>());
    QCOMPARE(main.Text3->toPlainText(), QStringLiteral("LAVORO"));
    QCOMPARE(main.Combo1->currentIndex(), position);
    const QList<QWidget*> fields{main.Text1, main.Check1, main.MaskEdBox1};
    for (QWidget* field : fields)
        QCOMPARE(backgroundOf(*field), QRgb(position < 0 ? 0xE1E1E1 : 0xFFFFFF));
    if (position < 0) {
        QVERIFY(!main.MaskEdBox1->isEnabled());
        QTest::mouseClick(main.Image1, Qt::LeftButton); // no calendar for a disabled date
        QVERIFY(!shownWindow<Calendar>());
        QTest::keyClick(main.Combo1, Qt::Key_Down);
        QCOMPARE(s.program.config.DefaultCertType, certTypeFromList(0));
    }
    for (QWidget* field : fields)
        QVERIFY(field->isEnabled() && backgroundOf(*field) == 0xFFFFFF);
    QCOMPARE(s.program.request.certTypeDescription, kCertificateTypes.at(std::max(position, 0)));
    QVERIFY(shownWindow<frmSplash>() && main.Timer2.isActive());
    main.Timer2_Timer();
    QVERIFY(!main.Timer2.isActive() && !shownWindow<frmSplash>());
}

// The filters themselves are proven by the core tests; here, that each field has its own.
void TestPrincipale::fieldsHaveTheirFilters() {
    test::Started s;
    Principale& main = s.main;
    main.Text1->setText(QString(29, u'1'));
    test::typeKeys(main.Text1, QStringLiteral("a/"));
    QCOMPARE(main.Text1->text(), QString(29, u'1') + u'A');
    QCOMPARE(s.messages.texts(), QStringList{requestfields::protocolNumber().limitMessage});
    main.Text2->setText(QStringLiteral("\u00C0"));
    loseFocus(main.Text2);
    QCOMPARE(s.program.config.OfficeType, QStringLiteral("UFFICIO")); // one letter: kept
    test::typeKeys(main.Text2, QStringLiteral("b/"));
    loseFocus(main.Text2);
    QCOMPARE(s.program.config.OfficeType, QStringLiteral("\u00C0B"));
    main.Text3->clear();
    test::typeKeys(main.Text3, QStringLiteral("per\r"));
    QCOMPARE(main.Text3->toPlainText(), QStringLiteral("PER"));
    datiUtente& config = main.configWindow();
    test::typeKeys(config.Text2, QStringLiteral("sant'angelo 2"));
    QCOMPARE(config.Text2->text(), QStringLiteral("SANT'ANGELO "));
}

void TestPrincipale::officeDataChangedAndWindowsClosedWithThisOne() {
    test::Started s;
    Principale& main = s.main;
    QSignalSpy ended(&main, &Principale::closed);
    main.Text2->setText(QStringLiteral("PREFETTURA"));
    main.Text3->setPlainText(QStringLiteral("CONCORSO"));
    main.modConfig->trigger();
    datiUtente& config = main.configWindow();
    QVERIFY(config.modifica);
    QCOMPARE(config.Text1->text(), QStringLiteral("PREFETTURA")); // unsaved edits shown
    QCOMPARE(config.Text2->text(), QStringLiteral("ROMA"));
    QCOMPARE(config.Text3->toPlainText(), QStringLiteral("CONCORSO"));
    fill(config, QStringLiteral("PROCURA"), QStringLiteral("ROMA"), QStringLiteral("ADOZIONE"));
    QVERIFY(!shownWindow<datiUtente>());
    QCOMPARE(main.Text2->text(), QStringLiteral("PROCURA"));
    QCOMPARE(main.Text3->toPlainText(), QStringLiteral("ADOZIONE"));
    QVERIFY(s.readFile(QStringLiteral("config.ini")).startsWith("PROCURA\r\nROMA\r\nADOZIONE\r\n"));

    main.modConfig->trigger();
    QTest::mouseClick(main.Command2, Qt::LeftButton);
    QVERIFY(!main.isVisible() && !shownWindow<datiUtente>() && !shownWindow<frmSplash>());
    QCOMPARE(ended.size(), 1);
}

void TestPrincipale::splashAndWaitWindowStayOnTop() {
    test::Started s;
    frmSplash* splash = shownWindow<frmSplash>();
    QVERIFY(splash && splash->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(splash->lblVersion->text(), versionCaption());
    QTest::keyClick(splash, Qt::Key_Escape); // keys do nothing
    QVERIFY(splash->isVisible());
    QTest::mouseClick(splash->Command1, Qt::LeftButton);
    QTRY_VERIFY(!shownWindow<frmSplash>());

    attesa& wait = s.main.waitWindow();
    QVERIFY(wait.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    wait.show();
    s.main.close();
    QVERIFY(!shownWindow<attesa>());
}

void TestPrincipale::calendarFillsProtocolDate() {
    test::Started s;
    s.clock.set(QDateTime(QDate(2010, 1, 5), QTime(10, 0)));
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason); // the field already masked
    QApplication::sendEvent(s.main.MaskEdBox1, &in);
    QTest::mouseClick(s.main.Image1, Qt::LeftButton);
    Calendar* calendar = shownWindow<Calendar>();
    QVERIFY(calendar && calendar->isModal());
    QCOMPARE(calendar->MonthView1->selectedDate(), QDate(2010, 1, 5));
    clickDay(*calendar->MonthView1, 12);
    QCOMPARE(s.main.MaskEdBox1->shownText(), QStringLiteral("12/01/2010"));
    QTRY_VERIFY(!shownWindow<Calendar>());
}

void TestPrincipale::guidaOpensTheManual() {
    test::Started s;
    s.shell.result = false; // no viewer: the operator is told where the manual is
    s.main.guida->trigger();
    const QString manual = s.folder.path(kUserManual.toString());
    QCOMPARE(s.shell.opened, QStringList{manual});
    QCOMPARE(s.messages.texts(), QStringList{manualNotOpenedMessage(manual)});
}

void TestPrincipale::newRequestEmptiesTheTable() {
    test::Started s;
    test::fillNumbered(s.program.table, 2);
    s.main.MSFlexGrid1->setCurrentCell(2, 1);
    s.program.importoFile = true;
    s.main.CG_Click(1);
    QCOMPARE(s.program.table.progressivo() + s.main.MSFlexGrid1->currentRow(), 0);
    QVERIFY(!s.program.importoFile);
    QCOMPARE(s.main.Combo1->currentIndex(), -1);
}

QTEST_MAIN(TestPrincipale)
#include "tst_principale.moc"
