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

// Born in Rome; its check character worked out by hand from the published tables.
SubjectValues roman() {
    SubjectValues v;
    v[SurnameColumn] = QStringLiteral("ROSSI");
    v[NameColumn] = QStringLiteral("MARIO");
    v[SexColumn] = QStringLiteral("M");
    v[TaxCodeColumn] = QStringLiteral("RSSMRA70A05H501F");
    v[BirthDateColumn] = QStringLiteral("05/01/1970");
    v[MunicipalityColumn] = QStringLiteral("ROMA");
    v[StateColumn] = QStringLiteral("ITALIA");
    v[MunicipalityCodeColumn] = QStringLiteral("H501");
    v[StateCodeColumn] = QStringLiteral("Z000");
    return v;
}

SubjectValues parisian() {
    SubjectValues v = roman();
    v[TaxCodeColumn].clear();
    v[MunicipalityColumn].clear();
    v[MunicipalityCodeColumn].clear();
    v[ForeignPlaceColumn] = QStringLiteral("PARIGI");
    v[StateColumn] = QStringLiteral("FRANCIA");
    v[StateCodeColumn] = QStringLiteral("Z110");
    return v;
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
    void batchRowCheck_data();
    void batchRowCheck();
    void failingRowsInTableOrder();
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
    QCOMPARE(verdict.refusal, kHeading +
                                  QStringLiteral("\r\n- Tipo certificato non immesso"
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
    fields.officeType.clear();                          // not examined here
    fields.protocolNumber = QString(40, u'1');          // nor the number's length
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

Q_DECLARE_METATYPE(velmora::SubjectValues)
Q_DECLARE_METATYPE(velmora::RowFault)

void TestRequestCheck::batchRowCheck_data() {
    QTest::addColumn<SubjectValues>("subject");
    QTest::addColumn<RowFault>("fault");
    const auto with = [](SubjectValues v, Column column, const QString& text) {
        v[column] = text;
        return v;
    };
    QTest::newRow("Italian, correct") << roman() << RowFault::None;
    QTest::newRow("wrong check character passes as Warning")
        << with(roman(), TaxCodeColumn, QStringLiteral("RSSMRA70A05H501Z")) << RowFault::None;
    QTest::newRow("lower-case sex")
        << with(roman(), SexColumn, QStringLiteral("m")) << RowFault::Sex;
    QTest::newRow("surname of 73")
        << with(roman(), SurnameColumn, QString(73, u'A')) << RowFault::Surname;
    QTest::newRow("no state code")
        << with(roman(), StateCodeColumn, QString()) << RowFault::NoStateCode;
    QTest::newRow("Z000 without municipality, 16-character code")
        << with(roman(), MunicipalityCodeColumn, QString()) << RowFault::WrongTaxCode;
    QTest::newRow("Z000 without municipality nor tax code")
        << with(with(roman(), MunicipalityCodeColumn, QString()), TaxCodeColumn, QString())
        << RowFault::NoTaxCode;
    QTest::newRow("other place of birth")
        << with(roman(), MunicipalityCodeColumn, QStringLiteral("F205")) << RowFault::WrongTaxCode;
    QTest::newRow("abroad with a CUI of 7")
        << with(parisian(), CuiColumn, QStringLiteral("1234567")) << RowFault::None;
    QTest::newRow("abroad with a tax code is not examined")
        << with(parisian(), TaxCodeColumn, QStringLiteral("XX")) << RowFault::None;
    QTest::newRow("Italian with a CUI")
        << with(roman(), CuiColumn, QStringLiteral("1234567")) << RowFault::CuiForItalian;
    QTest::newRow("CUI of 8") << with(parisian(), CuiColumn, QString(8, u'1'))
                              << RowFault::CuiTooLong;
    QTest::newRow("father of 73") << with(parisian(), FatherColumn, QString(73, u'P'))
                                  << RowFault::FatherTooLong;
    QTest::newRow("foreign place of 61")
        << with(parisian(), ForeignPlaceColumn, QString(61, u'P')) << RowFault::ForeignPlaceTooLong;
    QTest::newRow("Italian with a foreign place")
        << with(roman(), ForeignPlaceColumn, QStringLiteral("PARIGI"))
        << RowFault::PlaceNotCoherent;
    QTest::newRow("31/04 is no date")
        << with(roman(), BirthDateColumn, QStringLiteral("31/04/1970")) << RowFault::BirthDate;
}

void TestRequestCheck::batchRowCheck() {
    QFETCH(SubjectValues, subject);
    SubjectTable table;
    table.appendRow(subject);
    QTEST(checkPersonRow(table, 1), "fault");
}

void TestRequestCheck::failingRowsInTableOrder() {
    SubjectTable table;
    QList<SubjectValues> rows(8, roman());
    rows[2][SexColumn].clear();
    rows[6][StateCodeColumn].clear();
    table.appendRows(rows);
    QCOMPARE(failingRows(table), (QList<int>{3, 7}));
    QCOMPARE(rowErrorsMessage(failingRows(table)),
             QStringLiteral("Sono stati riscontrati errori sui seguenti soggetti: 3 , 7"));
}

QTEST_GUILESS_MAIN(TestRequestCheck)
#include "tst_requestcheck.moc"
