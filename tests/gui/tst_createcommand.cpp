#include "gui/attesa.h"
#include "gui/creafiles.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/maskeddateedit.h"
#include "gui/widgets/subjectgrid.h"
#include "support/fixture.h"
#include "support/places.h"

#include <QTest>

using namespace velmora;

namespace {

const QByteArray kConfig = "UFFICIO\r\nROMA\r\nLAVORO\r\n 0\r\n\r\n\r\n\r\n";

// A started program whose request passes: type 0, purpose, protocol and today's date.
struct Started : test::ProgramFixture {
    Started() : test::ProgramFixture(kConfig), main(program.principale()) {
        main.Form_Load();
        main.Text1->setText(QStringLiteral("123"));
        main.MaskEdBox1->setText(QStringLiteral("15/03/2010"));
    }
    ~Started() { main.close(); }
    bool outputOpen() { return program.outputWindow().isVisible(); }
    Principale& main;
};

} // namespace

class TestCreateCommand : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void officeTypeIsCheckedFirst();
    void requestErrorsInOneMessage();
    void noSubjectsWritesNothing();
    void typedRowsOpenTheOutputAtOnce();
    void importedRowsAreCheckedAfterTheWaitWindow();
    void pdfCommandChecksLess();
};

void TestCreateCommand::officeTypeIsCheckedFirst() {
    Started f;
    f.main.Text2->clear();
    f.main.Text3->clear();
    f.main.Text1->clear();
    f.main.Command1->click();
    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("Inserire il Tipo Ufficio")});
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Exclamation);
    QVERIFY(!f.outputOpen());
}

// The message texts and their order are proven by tst_requestcheck; here only their wiring.
void TestCreateCommand::requestErrorsInOneMessage() {
    test::ProgramFixture f("UFFICIO\r\nROMA\r\nLAVORO\r\n\r\n");
    Principale& main = f.program.principale();
    main.Form_Load();
    main.Text3->clear();
    main.Command1->click();
    QCOMPARE(f.messages.shown.size(), 1);
    QCOMPARE(f.messages.shown.first().text.count(QStringLiteral("\r\n- ")), 4);
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Critical);
    main.close();
}

void TestCreateCommand::noSubjectsWritesNothing() {
    Started f;
    f.main.Command1->click();
    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("Inserire almeno un soggetto")});
    QCOMPARE(f.readFile(QStringLiteral("config.ini")), kConfig);
    QCOMPARE(f.program.request.protocolNumber, QStringLiteral("123") + QString(27, u' '));
}

void TestCreateCommand::typedRowsOpenTheOutputAtOnce() {
    Started f;
    f.program.table.appendRow(test::romanSubject());
    f.main.Text3->setPlainText(QStringLiteral("CONCORSO"));
    f.main.Command1->click();
    QVERIFY(f.messages.shown.isEmpty());
    QVERIFY(f.outputOpen());
    QVERIFY(!f.program.outputWindow().CreaPdf);
    QVERIFY(!f.main.Timer1.isActive());
    QCOMPARE(f.readFile(QStringLiteral("config.ini")),
             QByteArray("UFFICIO\r\nROMA\r\nCONCORSO\r\n0\r\n\r\n\r\n\r\n"));
}

void TestCreateCommand::importedRowsAreCheckedAfterTheWaitWindow() {
    Started f;
    QList<SubjectValues> rows(8, test::romanSubject());
    rows[2][StateCodeColumn].clear();
    rows[6][TaxCodeColumn] = QStringLiteral("RSSMRA70A05F205F");
    f.program.table.appendRows(rows);
    f.program.importoFile = true;
    f.main.Command1->click();
    QVERIFY(f.program.waitWindow().isVisible());
    QCOMPARE(f.main.Timer1.interval(), 500);
    QVERIFY(!f.outputOpen());
    QTRY_VERIFY(!f.main.Timer1.isActive());
    QCOMPARE(
        f.messages.texts(),
        QStringList{QStringLiteral("Sono stati riscontrati errori sui seguenti soggetti: 3 , 7")});
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Exclamation);
    QCOMPARE(f.program.table.colors(3).back, kLightRed);
    QCOMPARE(f.program.table.colors(7).back, kLightRed);
    QCOMPARE(f.program.table.colors(1).back, kWhite);
    QCOMPARE(f.main.MSFlexGrid1->currentRow(), 1);
    QVERIFY(!f.outputOpen());

    // Corrected, the rows pass; the marks of the earlier check stay.
    f.program.table.setValues(3, test::romanSubject());
    f.program.table.setValues(7, test::romanSubject());
    f.main.Command1->click();
    f.main.Timer1_Timer();
    QCOMPARE(f.messages.shown.size(), 1);
    QVERIFY(!f.main.Timer1.isActive());
    QVERIFY(f.outputOpen());
    QCOMPARE(f.program.table.colors(3).back, kLightRed);
}

void TestCreateCommand::pdfCommandChecksLess() {
    Started f;
    f.program.table.appendRow(test::romanSubject());
    f.main.Text2->clear();
    f.main.MaskEdBox1->setText(QStringLiteral("01/01/2030"));
    f.main.Command8->click();
    QVERIFY(f.messages.shown.isEmpty());
    QVERIFY(f.outputOpen());
    QVERIFY(f.program.outputWindow().CreaPdf);
    QCOMPARE(f.program.request.protocolNumber, QStringLiteral("123"));

    f.main.MaskEdBox1->setText(QStringLiteral("31/04/2010"));
    f.main.Command8->click();
    QVERIFY(!f.outputOpen());
    QCOMPARE(f.messages.texts(),
             QStringList{QStringLiteral("Completare correttamente tutti i campi della richiesta")});
}

QTEST_MAIN(TestCreateCommand)
#include "tst_createcommand.moc"
