#include "gui/datiutente.h"
#include "gui/frmsplash.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/maskeddateedit.h"
#include "gui/widgets/subjectgrid.h"
#include "gui/widgets/widgets.h"
#include "support/fixture.h"
#include "support/typing.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

using namespace velmora;

namespace {

const QByteArray kCompleteConfig = "UFFICIO\r\nROMA\r\nLAVORO\r\n 2\r\n\r\n\r\n\r\n";

void loseFocus(QWidget* widget) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(widget, &out);
}

SubjectValues person(const QString& surname) {
    SubjectValues values;
    values[SurnameColumn] = surname;
    values[NameColumn] = QStringLiteral("MARIO");
    values[SexColumn] = QStringLiteral("M");
    return values;
}

// A started program whose main window is shown.
struct Started : test::ProgramFixture {
    explicit Started(const QByteArray& config = kCompleteConfig)
        : test::ProgramFixture(config), main(program.principale()) {
        main.Form_Load();
    }
    ~Started() { main.close(); }
    Principale& main;
};

} // namespace

class TestPrincipale : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstStartAsksForOfficeData();
    void startWithConfig_data();
    void startWithConfig();
    void requestFieldFilters();
    void configurationWindowAndClosing();
    void guidaOpensTheManual();
    void newRequestEmptiesTheTable();
    void paintGridRowColoursOneRow();
    void gridKeepsOneRowSelected();
};

void TestPrincipale::firstStartAsksForOfficeData() {
    test::ProgramFixture f;
    Principale& main = f.program.principale();
    QSignalSpy ended(&main, &Principale::closed);
    main.Form_Load();
    QVERIFY(!main.isVisible());
    datiUtente& config = f.program.configWindow();
    QVERIFY(config.isVisible());
    QVERIFY(!config.modifica);
    QTest::mouseClick(config.Command2, Qt::LeftButton);
    QCOMPARE(ended.size(), 1);
    QVERIFY(!QFile::exists(f.folder.path(QStringLiteral("config.ini"))));
}

void TestPrincipale::startWithConfig_data() {
    QTest::addColumn<QByteArray>("line4");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("purpose");
    QTest::newRow("type from the list") << QByteArray(" 2") << 2 << "LAVORO";
    QTest::newRow("no type") << QByteArray() << -1 << "LAVORO";
    QTest::newRow("type past the list") << QByteArray("7") << -1 << "";
    QTest::newRow("type not a number") << QByteArray("x") << -1 << "";
}

void TestPrincipale::startWithConfig() {
    QFETCH(QByteArray, line4);
    QFETCH(int, position);
    Started s("UFFICIO\r\nROMA\r\nLAVORO\r\n" + line4 + "\r\n");
    Principale& main = s.main;
    QVERIFY(main.isVisible());
    QVERIFY(main.MSFlexGrid1->isVisible());
    QVERIFY(!s.program.configWindow().isVisible());
    QVERIFY(main.Command1->isEnabled() && main.Command8->isEnabled());
    QCOMPARE(main.Text2->text(), QStringLiteral("UFFICIO"));
    QTEST(main.Text3->toPlainText(), "purpose");
    QCOMPARE(main.Combo1->currentIndex(), position);
    const QList<QWidget*> fields{main.Text1, main.Check1, main.MaskEdBox1};
    for (QWidget* field : fields) {
        QCOMPARE(field->isEnabled(), position >= 0);
        QCOMPARE(backgroundOf(*field), QRgb(position >= 0 ? 0xFFFFFF : 0xE1E1E1));
    }
    if (position < 0) {
        QTest::keyClick(main.Combo1, Qt::Key_Down);
        QCOMPARE(main.Combo1->currentIndex(), 0);
        QCOMPARE(s.program.config.DefaultCertType, QStringLiteral(" 0"));
        for (QWidget* field : fields)
            QVERIFY(field->isEnabled());
        QCOMPARE(backgroundOf(*main.MaskEdBox1), QRgb(0xFFFFFF));
    } else {
        QCOMPARE(s.program.request.certTypeDescription,
                 QStringLiteral("CERTIFICATO CIVILE (artt. 26, 28 d.P.R. n. 313/2002)"));
    }
    QVERIFY(s.program.splash().isVisible());
    QVERIFY(main.Timer2.isActive());
    QCOMPARE(main.Timer2.interval(), 2700);
    main.Timer2_Timer();
    QVERIFY(!main.Timer2.isActive());
    QTRY_VERIFY(!s.program.splash().isVisible());
}

void TestPrincipale::requestFieldFilters() {
    Started s;
    Principale& main = s.main;
    test::typeKeys(main.Text1, QStringLiteral("a\u00E0/") + QString(29, u'1'));
    QCOMPARE(main.Text1->text(), QStringLiteral("A") + QString(29, u'1'));
    QVERIFY(s.messages.shown.isEmpty());
    test::typeKeys(main.Text1, QStringLiteral("/"));
    QCOMPARE(main.Text1->text().size(), 30);
    QCOMPARE(s.messages.texts(), QStringList{QStringLiteral("Max 30 Caratteri")});
    QCOMPARE(s.messages.shown.first().icon, Messages::Icon::Exclamation);
    QCOMPARE(s.messages.shown.first().title, QStringLiteral("VELMORA"));
    QTest::keyClick(main.Text1, Qt::Key_Backspace);
    QCOMPARE(main.Text1->text().size(), 29);

    main.Text2->clear();
    test::typeKeys(main.Text2, QStringLiteral("\u00E0"));
    QCOMPARE(main.Text2->text(), QStringLiteral("\u00C0"));
    loseFocus(main.Text2);
    QCOMPARE(s.program.config.OfficeType, QStringLiteral("UFFICIO")); // one letter: kept
    test::typeKeys(main.Text2, QStringLiteral("b"));
    loseFocus(main.Text2);
    QCOMPARE(s.program.config.OfficeType, QStringLiteral("\u00C0B"));
    main.Text3->clear();
    test::typeKeys(main.Text3, QStringLiteral("per \u00E0\r"));
    QCOMPARE(main.Text3->toPlainText(), QStringLiteral("PER \u00C0"));
    QGuiApplication::clipboard()->setText(QStringLiteral(" uno\r\ndue\nTRE"));
    QTest::keyClick(main.Text3, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(main.Text3->toPlainText(), QStringLiteral("PER \u00C0 UNODUETRE"));
}

void TestPrincipale::configurationWindowAndClosing() {
    test::ProgramFixture f(kCompleteConfig);
    Principale& main = f.program.principale();
    QSignalSpy ended(&main, &Principale::closed);
    main.Form_Load();
    main.Text2->setText(QStringLiteral("PREFETTURA"));
    main.Text3->setPlainText(QStringLiteral("CONCORSO"));
    main.modConfig->trigger();
    QPointer<datiUtente> config = &f.program.configWindow();
    QVERIFY(config->modifica);
    QCOMPARE(config->Text1->text(), QStringLiteral("PREFETTURA")); // unsaved edits shown
    QCOMPARE(config->Text2->text(), QStringLiteral("ROMA"));
    QCOMPARE(config->Text3->toPlainText(), QStringLiteral("CONCORSO"));
    QTest::mouseClick(config->Command2, Qt::LeftButton);
    QVERIFY(main.isVisible());
    QCOMPARE(f.readFile(QStringLiteral("config.ini")), kCompleteConfig);
    QCOMPARE(main.Text2->text(), QStringLiteral("PREFETTURA"));

    main.modConfig->trigger();
    QPointer<frmSplash> splash = &f.program.splash();
    QVERIFY(config->isVisible() && splash->isVisible());
    QTest::mouseClick(main.Command2, Qt::LeftButton);
    QVERIFY(!main.isVisible());
    QVERIFY(!config || !config->isVisible());
    QVERIFY(!splash || !splash->isVisible());
    QCOMPARE(ended.size(), 1);
}

void TestPrincipale::guidaOpensTheManual() {
    Started s;
    s.shell.result = false; // a missing manual is not reported
    s.main.guida->trigger();
    QCOMPARE(s.shell.opened,
             QStringList{s.folder.path(QStringLiteral("docs/ORV-Velmora-Manuale_Utente.doc"))});
    QVERIFY(s.messages.shown.isEmpty());
}

void TestPrincipale::newRequestEmptiesTheTable() {
    Started s;
    QAbstractItemModelTester tester(&s.program.table);
    s.program.table.appendRows({person("ROSSI"), person("VERDI")});
    s.program.table.setColors(2, {kLightRed, kBlack});
    s.main.MSFlexGrid1->setCurrentCell(2, 1);
    s.program.importoFile = true;
    s.main.CG_Click(1);
    QCOMPARE(s.program.table.progressivo(), 0);
    QCOMPARE(s.program.indiceSoggetti, 0);
    QCOMPARE(s.main.MSFlexGrid1->currentRow(), 0);
    QVERIFY(!s.program.importoFile);
    QCOMPARE(s.main.Combo1->currentIndex(), -1);
}

void TestPrincipale::paintGridRowColoursOneRow() {
    Started s;
    SubjectTable& table = s.program.table;
    SubjectGrid* grid = s.main.MSFlexGrid1;
    table.appendRows({person("A"), person("B"), person("C"), person("D")});
    grid->setCurrentCell(3, BirthDateColumn);
    QCOMPARE(s.program.indiceSoggetti, 3);

    int row = 0;
    PaintGridRow(*grid, kLightRed, row, kBlack);
    QCOMPARE(row, 3);
    QCOMPARE(table.colors(3), (RowColors{kLightRed, kBlack}));
    QCOMPARE(table.colors(2), RowColors());
    QCOMPARE(grid->currentRow(), 3);
    QCOMPARE(grid->currentColumn(), int(BirthDateColumn));
    QVERIFY(!table.data(table.index(2, NumberColumn), SubjectTable::BackRole).isValid());
    const QModelIndex shown = grid->model()->index(2, SurnameColumn);
    QCOMPARE(shown.data(Qt::BackgroundRole).value<QColor>(), QColor(255, 192, 192));

    row = 1;
    PaintGridRow(*grid, kLightRed, row, kBlack);
    QCOMPARE(table.colors(1).back, kLightRed);
    QCOMPARE(grid->currentRow(), 3);
}

void TestPrincipale::gridKeepsOneRowSelected() {
    Started s;
    s.program.table.appendRows({person("A"), person("B"), person("C")});
    SubjectGrid* grid = s.main.MSFlexGrid1;
    const auto click = [grid](int row, Qt::KeyboardModifiers modifiers) {
        const QModelIndex cell = grid->model()->index(row - 1, NameColumn);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers,
                          grid->visualRect(cell).center());
    };
    click(1, {});
    click(3, Qt::ShiftModifier);
    QCOMPARE(grid->currentRow(), 3);
    QCOMPARE(s.program.indiceSoggetti, 3);
    QCOMPARE(grid->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(grid->selectionModel()->selectedRows().first().row(), 2);
}

QTEST_MAIN(TestPrincipale)
#include "tst_principale.moc"
