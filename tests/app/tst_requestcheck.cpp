#include "app/requestcheck.h"
#include "checks/dates.h"

#include <QTest>

using namespace velmora;

namespace {

const QDateTime kNow(QDate(2010, 3, 15), QTime(9, 32));

RequestFields validRequest() {
    RequestFields fields;
    fields.officeType = QStringLiteral("PROCURA");
    fields.certPosition = 0;
    fields.purpose = QStringLiteral("LAVORO");
    fields.protocolNumber = QStringLiteral("123");
    fields.protocolDate = QStringLiteral("01/02/2010");
    fields.subjects = 2;
    return fields;
}

const QString kHeading = QStringLiteral("ATT! Sono stati riscontrati i seguenti errori:\r\n");
const QString kDateLine = QStringLiteral("\r\n- Data protocollo non immessa o non valida");
const QString kNumberLine = QStringLiteral("\r\n- Numero protocollo non immesso o non valido");

} // namespace

class TestRequestCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dates_data();
    void dates();
    void officeTypeComesFirstAndAlone();
    void fourLinesInTheirOrder();
    void protocolNumberPadding();
    void protocolDates_data();
    void protocolDates();
    void noSubjects();
    void pdfChecks();
    void rowErrors();
};

void TestRequestCheck::dates_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fails");
    QTest::newRow("leap day") << "29/02/2000" << false;
    QTest::newRow("no leap day") << "29/02/2001" << true;
    QTest::newRow("31 April") << "31/04/2000" << true;
    QTest::newRow("month first") << "01/13/2000" << true;
    QTest::newRow("day first") << "13/01/2000" << false;
    QTest::newRow("empty mask") << "__/__/____" << true;
    QTest::newRow("reset field") << "" << true;
    QTest::newRow("half typed") << "12/03/20__" << true;
    QTest::newRow("today") << "15/03/2010" << false;
    QTest::newRow("tomorrow") << "16/03/2010" << true;
    QTest::newRow("year 0099") << "01/01/0099" << true;
    QTest::newRow("year 0100") << "01/01/0100" << false;
}

void TestRequestCheck::dates() {
    QFETCH(QString, text);
    QTEST(dateFails(text, kNow), "fails");
}

void TestRequestCheck::officeTypeComesFirstAndAlone() {
    const RequestVerdict verdict = checkForBatch(RequestFields(), kNow);
    QCOMPARE(verdict.refusal, QStringLiteral("Inserire il Tipo Ufficio"));
    QCOMPARE(verdict.focus, RequestVerdict::Focus::OfficeType);
}

void TestRequestCheck::fourLinesInTheirOrder() {
    RequestFields fields;
    fields.officeType = QStringLiteral("PROCURA");
    fields.german = true;
    const RequestVerdict verdict = checkForBatch(fields, kNow);
    QCOMPARE(verdict.refusal, kHeading + QStringLiteral("\r\n- Tipo certificato non immesso"
                                                        "\r\n- Finalit\u00E0 non immessa") +
                                  kNumberLine + kDateLine);
    QCOMPARE(verdict.record.german, QStringLiteral("Si"));
}

void TestRequestCheck::protocolNumberPadding() {
    RequestFields fields = validRequest();
    RequestVerdict verdict = checkForBatch(fields, kNow);
    QVERIFY(verdict.accepted());
    QCOMPARE(verdict.record.protocolNumber, QStringLiteral("123") + QString(27, u' '));
    QCOMPARE(verdict.record.german, QStringLiteral("No"));

    fields.protocolNumber = QString(30, u'9');
    QCOMPARE(checkForBatch(fields, kNow).record.protocolNumber, QString(30, u'9'));
    fields.protocolNumber = QString(31, u'9');
    QCOMPARE(checkForBatch(fields, kNow).refusal, kHeading + kNumberLine);
}

void TestRequestCheck::protocolDates_data() {
    QTest::addColumn<QString>("date");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("31 April") << "31/04/2010" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("untouched mask") << "__/__/____" << false;
    QTest::newRow("tomorrow") << "16/03/2010" << false;
    QTest::newRow("today") << "15/03/2010" << true;
}

void TestRequestCheck::protocolDates() {
    QFETCH(QString, date);
    QFETCH(bool, accepted);
    RequestFields fields = validRequest();
    fields.protocolDate = date;
    const RequestVerdict verdict = checkForBatch(fields, kNow);
    QCOMPARE(verdict.accepted(), accepted);
    if (!accepted)
        QCOMPARE(verdict.refusal, kHeading + kDateLine);
}

void TestRequestCheck::noSubjects() {
    RequestFields fields = validRequest();
    fields.subjects = 0;
    QCOMPARE(checkForBatch(fields, kNow).refusal, QStringLiteral("Inserire almeno un soggetto"));
    const QString civil = kCertificateTypes[2];
    QCOMPARE(checkForPdf(fields, civil).refusal, QStringLiteral("Inserire almeno un soggetto"));
}

void TestRequestCheck::pdfChecks() {
    const QString civil = kCertificateTypes[2];
    const QString incomplete =
        QStringLiteral("Completare correttamente tutti i campi della richiesta");
    RequestFields fields = validRequest();
    fields.officeType.clear();               // not examined here
    fields.protocolNumber = QString(40, u'1'); // nor the number's length
    fields.protocolDate = QStringLiteral("01/01/2030"); // nor a future date
    RequestVerdict verdict = checkForPdf(fields, civil);
    QVERIFY(verdict.accepted());
    QCOMPARE(verdict.record.protocolNumber, QString(40, u'1')); // never padded

    QCOMPARE(checkForPdf(fields, QString()).refusal, incomplete);
    fields.protocolDate = QStringLiteral("31/04/2010");
    QCOMPARE(checkForPdf(fields, civil).refusal, incomplete);
    fields = validRequest();
    fields.purpose.clear();
    QCOMPARE(checkForPdf(fields, civil).refusal, incomplete);
}

void TestRequestCheck::rowErrors() {
    QCOMPARE(rowErrorsMessage({2, 5, 9}),
             QStringLiteral("Sono stati riscontrati errori sui seguenti soggetti: 2 , 5 , 9"));
    QCOMPARE(rowErrorsMessage({3}),
             QStringLiteral("Sono stati riscontrati errori sui seguenti soggetti: 3"));
}

QTEST_GUILESS_MAIN(TestRequestCheck)
#include "tst_requestcheck.moc"
