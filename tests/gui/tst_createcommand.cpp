#include "core/request/requestcheck.h"
#include "gui/attesa.h"
#include "gui/creafiles.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/maskeddateedit.h"
#include "gui/widgets/subjectgrid.h"
#include "support/fixture.h"
#include "support/places.h"

using namespace velmora;

namespace {

const QByteArray kConfig = "UFFICIO\r\nROMA\r\nLAVORO\r\n 0\r\n\r\n\r\n\r\n";

// A started program whose request passes: type 0, purpose, protocol and today's date.
struct Request : test::Started {
    Request() : test::Started(kConfig) {
        main.Text1->setText(QStringLiteral("123"));
        main.MaskEdBox1->setText(QStringLiteral("15/03/2010"));
    }
    RequestFields fields() const {
        return {
            QStringLiteral("UFFICIO"),    0,     QStringLiteral("LAVORO"),   QStringLiteral("123"),
            QStringLiteral("15/03/2010"), false, program.table.progressivo()};
    }
    bool outputOpen() { return test::shownWindow<CreaFiles>(); }
};

} // namespace

// The checks and their messages are proven by the core tests; here only their wiring.
class TestCreateCommand : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void officeTypeIsCheckedFirst();
    void refusedRequestIsToldAndStored();
    void typedRowsOpenTheOutputAtOnce();
    void importedRowsAreCheckedAfterTheWaitWindow();
    void pdfCommandChecksLess();
};

void TestCreateCommand::officeTypeIsCheckedFirst() {
    Request f;
    f.main.Text2->clear();
    f.main.Command1->click();
    RequestFields fields = f.fields();
    fields.officeType.clear();
    QCOMPARE(f.messages.texts(), QStringList{checkForBatch(fields, f.clock.now()).refusal});
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Exclamation);
    QVERIFY(!f.outputOpen());
}

void TestCreateCommand::refusedRequestIsToldAndStored() {
    Request f;
    f.main.Command1->click();
    const RequestVerdict verdict = checkForBatch(f.fields(), f.clock.now());
    QCOMPARE(f.messages.texts(), QStringList{verdict.refusal});
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Critical);
    QCOMPARE(f.program.request.protocolNumber, verdict.record.protocolNumber);
    QCOMPARE(f.readFile(QStringLiteral("config.ini")), kConfig);
    QVERIFY(!f.outputOpen());
}

void TestCreateCommand::typedRowsOpenTheOutputAtOnce() {
    Request f;
    f.program.table.appendRow(test::romanSubject());
    f.main.Text3->setPlainText(QStringLiteral("CONCORSO"));
    f.main.Command1->click();
    QVERIFY(f.messages.shown.isEmpty());
    QVERIFY(f.outputOpen() && !f.main.outputWindow().CreaPdf);
    QVERIFY(!f.main.Timer1.isActive());
    QCOMPARE(f.readFile(QStringLiteral("config.ini")),
             QByteArray("UFFICIO\r\nROMA\r\nCONCORSO\r\n0\r\n\r\n\r\n\r\n"));
}

void TestCreateCommand::importedRowsAreCheckedAfterTheWaitWindow() {
    Request f;
    QList<SubjectValues> rows(8, test::romanSubject());
    rows[2][StateCodeColumn].clear();
    rows[6][TaxCodeColumn] = QStringLiteral("RSSMRA70A05F205F");
    f.program.table.appendRows(rows);
    f.program.importoFile = true;
    f.main.Command1->click();
    QVERIFY(test::shownWindow<attesa>());
    QVERIFY(!f.outputOpen());
    QTRY_VERIFY(!f.main.Timer1.isActive());
    QVERIFY(!test::shownWindow<attesa>());
    QCOMPARE(f.messages.texts(), QStringList{rowErrorsMessage({3, 7})});
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Exclamation);
    QCOMPARE(f.program.table.colors(3).back, kLightRed);
    QCOMPARE(f.program.table.colors(1).back, kWhite);
    QCOMPARE(f.main.MSFlexGrid1->currentRow(), 1);
    QVERIFY(!f.outputOpen());

    // Corrected, the rows pass; the marks of the earlier check stay.
    f.program.table.setValues(3, test::romanSubject());
    f.program.table.setValues(7, test::romanSubject());
    f.main.Command1->click();
    f.main.Timer1_Timer();
    QCOMPARE(f.messages.shown.size(), 1);
    QVERIFY(f.outputOpen());
    QCOMPARE(f.program.table.colors(3).back, kLightRed);
}

void TestCreateCommand::pdfCommandChecksLess() {
    Request f;
    f.program.table.appendRow(test::romanSubject());
    f.main.Text2->clear();
    f.main.MaskEdBox1->setText(QStringLiteral("01/01/2030"));
    f.main.Command8->click();
    QVERIFY(f.messages.shown.isEmpty());
    QVERIFY(f.outputOpen() && f.main.outputWindow().CreaPdf);
    QCOMPARE(f.program.request.protocolNumber, QStringLiteral("123"));

    f.main.MaskEdBox1->setText(QStringLiteral("31/04/2010"));
    f.main.Command8->click();
    QVERIFY(!f.outputOpen());
    RequestFields fields = f.fields();
    fields.protocolDate = QStringLiteral("31/04/2010");
    QCOMPARE(f.messages.texts(), QStringList{checkForPdf(fields, kCertificateTypes[0]).refusal});
}

QTEST_MAIN(TestCreateCommand)
#include "tst_createcommand.moc"
