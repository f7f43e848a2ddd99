#include "app/subjectgrid.h"
#include "checks/datiutente.h"
#include "platform/filteredit.h"
#include "platform/maskeddateedit.h"
#include "platform/widgets.h"
#include "support/fixture.h"
#include "support/typing.h"
#include "ui/frmsplash.h"

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

} // namespace

class TestPrincipale : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstStartAsksForOfficeData();
    void completeConfigShowsMainWindowAndSplash();
    void certificateTypeEnablesRequestFields();
    void unreadableTypeLeavesPurposeEmpty();
    void protocolNumberFilter();
    void officeTypeFilterAndWriteBack();
    void purposeTakesNoLineBreak();
    void closingMainWindowClosesTheOthers();
    void modifyConfigurationShowsUnsavedEdits();
    void guidaOpensTheManual();
    void newRequestLaysOutAnEmptyTable();
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
    QCOMPARE(config.windowTitle(), QStringLiteral(" Inserimento Dati Configurazione"));
    QCOMPARE(config.Command2->text(), QStringLiteral("Esci"));
    QVERIFY(!config.modifica);

    QTest::mouseClick(config.Command2, Qt::LeftButton);
    QCOMPARE(ended.size(), 1);
    QVERIFY(!QFile::exists(f.folder.path(QStringLiteral("config.ini"))));
}

void TestPrincipale::completeConfigShowsMainWindowAndSplash() {
    test::ProgramFixture f(kCompleteConfig);
    Principale& main = f.program.principale();
    main.Form_Load();
    QVERIFY(main.isVisible());
    QCOMPARE(main.windowTitle(), QStringLiteral(" Richiesta Certificati"));
    QVERIFY(f.program.splash().isVisible());
    QVERIFY(main.Timer2.isActive());
    QCOMPARE(main.Timer2.interval(), 2700);
    QCOMPARE(main.Text2->text(), QStringLiteral("UFFICIO"));
    QCOMPARE(main.Text3->toPlainText(), QStringLiteral("LAVORO"));
    QCOMPARE(main.Combo1->currentIndex(), 2);
    QCOMPARE(f.program.request.certTypeDescription,
             QStringLiteral("CERTIFICATO CIVILE (artt. 26, 28 d.P.R. n. 313/2002)"));
    QVERIFY(main.Text1->isEnabled());
    QCOMPARE(backgroundOf(*main.Text1), QRgb(0xFFFFFF));
    QVERIFY(main.MSFlexGrid1->isVisible());
    QVERIFY(main.Command1->isEnabled() && main.Command8->isEnabled());
    QVERIFY(!f.program.configWindow().isVisible());

    main.Timer2_Timer();
    QVERIFY(!main.Timer2.isActive());
    QTRY_VERIFY(!f.program.splash().isVisible());
    main.close();
}

void TestPrincipale::certificateTypeEnablesRequestFields() {
    test::ProgramFixture f("UFFICIO\r\nROMA\r\nLAVORO\r\n\r\n");
    Principale& main = f.program.principale();
    main.Form_Load();
    QVERIFY(main.isVisible());
    QCOMPARE(main.Combo1->currentIndex(), -1);
    QCOMPARE(main.Combo1->count(), 5);
    for (QWidget* field : {static_cast<QWidget*>(main.Text1), static_cast<QWidget*>(main.Check1),
                           static_cast<QWidget*>(main.MaskEdBox1)}) {
        QVERIFY(!field->isEnabled());
        QCOMPARE(backgroundOf(*field), QRgb(0xE1E1E1));
    }
    QTest::keyClick(main.Combo1, Qt::Key_Down);
    QCOMPARE(main.Combo1->currentIndex(), 0);
    QCOMPARE(f.program.config.DefaultCertType, QStringLiteral(" 0"));
    QVERIFY(main.Text1->isEnabled() && main.Check1->isEnabled() && main.MaskEdBox1->isEnabled());
    QCOMPARE(backgroundOf(*main.MaskEdBox1), QRgb(0xFFFFFF));
    main.close();
}

void TestPrincipale::unreadableTypeLeavesPurposeEmpty() {
    for (const QByteArray& line4 : {QByteArray("7"), QByteArray("x")}) {
        test::ProgramFixture f("UFFICIO\r\nROMA\r\nLAVORO\r\n" + line4 + "\r\n");
        Principale& main = f.program.principale();
        main.Form_Load();
        QVERIFY(main.isVisible());
        QCOMPARE(main.Text2->text(), QStringLiteral("UFFICIO"));
        QCOMPARE(main.Text3->toPlainText(), QString());
        QCOMPARE(main.Combo1->currentIndex(), -1);
        main.close();
    }
}

void TestPrincipale::protocolNumberFilter() {
    test::ProgramFixture f(kCompleteConfig);
    Principale& main = f.program.principale();
    main.Form_Load();
    test::typeKeys(main.Text1, QStringLiteral("a\u00E0/") + QString(28, u'1'));
    QCOMPARE(main.Text1->text(), QStringLiteral("A") + QString(28, u'1'));
    QVERIFY(f.messages.shown.isEmpty());
    test::typeKeys(main.Text1, QStringLiteral("/")); // 29 characters: dropped silently
    QVERIFY(f.messages.shown.isEmpty());
    test::typeKeys(main.Text1, QStringLiteral("2/"));
    QCOMPARE(main.Text1->text().size(), 30);
    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("Max 30 Caratteri")});
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Exclamation);
    QCOMPARE(f.messages.shown.first().title, QStringLiteral("VELMORA"));
    QTest::keyClick(main.Text1, Qt::Key_Backspace);
    QCOMPARE(main.Text1->text().size(), 29);
    main.close();
}

void TestPrincipale::officeTypeFilterAndWriteBack() {
    test::ProgramFixture f(kCompleteConfig);
    Principale& main = f.program.principale();
    main.Form_Load();
    main.Text2->clear();
    test::typeKeys(main.Text2, QStringLiteral("\u00E0"));
    QCOMPARE(main.Text2->text(), QStringLiteral("\u00C0"));
    loseFocus(main.Text2);
    QCOMPARE(f.program.config.OfficeType, QStringLiteral("UFFICIO")); // one letter: kept
    test::typeKeys(main.Text2, QStringLiteral("b"));
    loseFocus(main.Text2);
    QCOMPARE(f.program.config.OfficeType, QStringLiteral("\u00C0B"));

    main.Text2->setText(QString(150, u'X'));
    test::typeKeys(main.Text2, QStringLiteral("/"));
    QVERIFY(f.messages.shown.isEmpty());
    test::typeKeys(main.Text2, QStringLiteral("A"));
    QCOMPARE(f.messages.texts(),
             QStringList{QStringLiteral("Massimo 150 caratteri per il Tipo Ufficio")});
    QCOMPARE(main.Text2->text().size(), 150);
    main.close();
}

void TestPrincipale::purposeTakesNoLineBreak() {
    test::ProgramFixture f(kCompleteConfig);
    Principale& main = f.program.principale();
    main.Form_Load();
    main.Text3->clear();
    test::typeKeys(main.Text3, QStringLiteral("per \u00E0\r"));
    QCOMPARE(main.Text3->toPlainText(), QStringLiteral("PER \u00C0"));
    QGuiApplication::clipboard()->setText(QStringLiteral(" uno\r\ndue\nTRE"));
    QTest::keyClick(main.Text3, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(main.Text3->toPlainText(), QStringLiteral("PER \u00C0 UNODUETRE"));

    main.Text3->setPlainText(QString(250, u'x'));
    test::typeKeys(main.Text3, QStringLiteral("y"));
    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("Massimo 250 Caratteri")});
    main.close();
}

void TestPrincipale::closingMainWindowClosesTheOthers() {
    test::ProgramFixture f(kCompleteConfig);
    Principale& main = f.program.principale();
    QSignalSpy ended(&main, &Principale::closed);
    main.Form_Load();
    main.modConfig->trigger();
    QPointer<datiUtente> config = &f.program.configWindow();
    QPointer<frmSplash> splash = &f.program.splash();
    QVERIFY(config->isVisible() && splash->isVisible());
    QTest::mouseClick(main.Command2, Qt::LeftButton);
    QVERIFY(!main.isVisible());
    QVERIFY(!config || !config->isVisible());
    QVERIFY(!splash || !splash->isVisible());
    QCOMPARE(ended.size(), 1);
}

void TestPrincipale::modifyConfigurationShowsUnsavedEdits() {
    test::ProgramFixture f(kCompleteConfig);
    Principale& main = f.program.principale();
    main.Form_Load();
    main.Text2->setText(QStringLiteral("PREFETTURA"));
    main.Text3->setPlainText(QStringLiteral("CONCORSO"));
    main.modConfig->trigger();
    datiUtente& config = f.program.configWindow();
    QCOMPARE(config.windowTitle(), QStringLiteral(" Modifica Dati Configurazione"));
    QCOMPARE(config.Label2->text(),
             QStringLiteral(" Modifica dei parametri di configurazione iniziale : \r\n"));
    QCOMPARE(config.Text1->text(), QStringLiteral("PREFETTURA"));
    QCOMPARE(config.Text2->text(), QStringLiteral("ROMA"));
    QCOMPARE(config.Text3->toPlainText(), QStringLiteral("CONCORSO"));
    QVERIFY(config.modifica);
    QTest::mouseClick(config.Command2, Qt::LeftButton);
    QVERIFY(main.isVisible());
    QCOMPARE(f.readFile(QStringLiteral("config.ini")), kCompleteConfig);
    QCOMPARE(main.Text2->text(), QStringLiteral("PREFETTURA"));
    main.close();
}

void TestPrincipale::guidaOpensTheManual() {
    test::ProgramFixture f(kCompleteConfig);
    Principale& main = f.program.principale();
    main.Form_Load();
    f.shell.result = false; // a missing manual is not reported
    main.guida->trigger();
    QCOMPARE(f.shell.opened,
             QStringList{f.folder.path(QStringLiteral("docs/ORV-Velmora-Manuale_Utente.doc"))});
    QVERIFY(f.messages.shown.isEmpty());
    main.close();
}

void TestPrincipale::newRequestLaysOutAnEmptyTable() {
    test::ProgramFixture f(kCompleteConfig);
    Principale& main = f.program.principale();
    QAbstractItemModelTester tester(&f.program.table);
    main.Form_Load();
    f.program.table.appendRows({person("ROSSI"), person("VERDI")});
    f.program.table.setColors(2, {kLightRed, kBlack});
    main.MSFlexGrid1->setCurrentCell(2, 1);
    f.program.importoFile = true;
    main.CG_Click(1);
    QCOMPARE(f.program.table.progressivo(), 0);
    QCOMPARE(f.program.indiceSoggetti, 0);
    QCOMPARE(f.program.table.columnCount(), 13);
    QCOMPARE(main.MSFlexGrid1->currentRow(), 0);
    QVERIFY(!f.program.importoFile);
    QCOMPARE(main.Combo1->currentIndex(), -1);
    QCOMPARE(main.XPFrame2->title(), QStringLiteral("Dati Soggetti"));
    QCOMPARE(main.Label6->text(),
             QStringLiteral("* Campi Obbligatori, **Obbligatorio se nato in Italia"));
    QCOMPARE(f.program.table.headerData(7, Qt::Horizontal).toString(),
             QStringLiteral("Data di nascita *"));
    QCOMPARE(main.MSFlexGrid1->columnWidth(StateCodeColumn), 140); // 2100 twips
    main.close();
}

void TestPrincipale::paintGridRowColoursOneRow() {
    test::ProgramFixture f(kCompleteConfig);
    Principale& main = f.program.principale();
    main.Form_Load();
    SubjectTable& table = f.program.table;
    table.appendRows({person("A"), person("B"), person("C"), person("D")});
    main.MSFlexGrid1->setCurrentCell(3, BirthDateColumn);
    QCOMPARE(f.program.indiceSoggetti, 3);

    int row = 0;
    PaintGridRow(*main.MSFlexGrid1, kLightRed, row, kBlack);
    QCOMPARE(row, 3);
    QCOMPARE(table.colors(3), (RowColors{kLightRed, kBlack}));
    QCOMPARE(table.colors(2), RowColors());
    QCOMPARE(main.MSFlexGrid1->currentRow(), 3);
    QCOMPARE(main.MSFlexGrid1->currentColumn(), int(BirthDateColumn));
    QVERIFY(!table.data(table.index(2, NumberColumn), SubjectTable::BackRole).isValid());
    const QModelIndex shown = main.MSFlexGrid1->model()->index(2, SurnameColumn);
    QCOMPARE(shown.data(Qt::BackgroundRole).value<QColor>(), QColor(255, 192, 192));

    row = 1;
    PaintGridRow(*main.MSFlexGrid1, kLightRed, row, kBlack);
    QCOMPARE(table.colors(1).back, kLightRed);
    QCOMPARE(main.MSFlexGrid1->currentRow(), 3);
    main.close();
}

void TestPrincipale::gridKeepsOneRowSelected() {
    test::ProgramFixture f(kCompleteConfig);
    Principale& main = f.program.principale();
    main.Form_Load();
    f.program.table.appendRows({person("A"), person("B"), person("C")});
    SubjectGrid* grid = main.MSFlexGrid1;
    const auto cellCentre = [grid](int row, int column) {
        return grid->visualRect(grid->model()->index(row - 1, column)).center();
    };
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(1, NameColumn));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      cellCentre(3, NameColumn));
    QCOMPARE(grid->currentRow(), 3);
    QCOMPARE(f.program.indiceSoggetti, 3);
    QCOMPARE(grid->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(grid->selectionModel()->selectedRows().first().row(), 2);
    main.close();
}

QTEST_MAIN(TestPrincipale)
#include "tst_principale.moc"
