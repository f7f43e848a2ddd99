#include "core/request/requestcheck.h"
#include "support/places.h"

#include <QTest>

using namespace velmora;
using velmora::test::parisianSubject;
using velmora::test::romanSubject;

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

using Cells = std::initializer_list<std::pair<Column, const char*>>;

SubjectValues with(SubjectValues v, Cells cells) {
    for (const auto& [column, text] : cells)
        v[column] = QString::fromUtf8(text);
    return v;
}

const QString kHeading = QStringLiteral("ATT! Sono stati riscontrati i seguenti errori:\r\n");
const QString kDateLine = QStringLiteral("\r\n- Data protocollo non immessa o non valida");
const QString kNumberLine = QStringLiteral("\r\n- Numero protocollo non immesso o non valido");

} // namespace

class TestRequestCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void officeTypeComesFirstAndAlone();
    void fourLinesInTheirOrder();
    void protocolNumberPadding();
    void noSubjects();
    void pdfChecks();
    void batchRowCheck_data();
    void batchRowCheck();
    void failingRowsInTableOrder();
};

void TestRequestCheck::officeTypeComesFirstAndAlone() {
    const RequestVerdict verdict = checkForBatch(RequestFields(), kNow);
    QCOMPARE(verdict.refusal, QStringLiteral("Inserire il Tipo Ufficio"));
    QCOMPARE(verdict.focus, RequestVerdict::Focus::OfficeType);
}

void TestRequestCheck::fourLinesInTheirOrder() {
    RequestFields fields;
    fields.officeType = QStringLiteral("PROCURA");
    fields.german = true;
    fields.protocolDate = QStringLiteral("16/03/2010"); // tomorrow
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

Q_DECLARE_METATYPE(velmora::SubjectValues)
Q_DECLARE_METATYPE(velmora::RowFault)

void TestRequestCheck::batchRowCheck_data() {
    QTest::addColumn<SubjectValues>("subject");
    QTest::addColumn<RowFault>("fault");
    const auto row = [](const char* name, const SubjectValues& base, Cells cells, RowFault fault) {
        QTest::newRow(name) << with(base, cells) << fault;
    };
    const QByteArray a73(73, 'A'), p61(61, 'P');
    row("Italian, correct", romanSubject(), {}, RowFault::None);
    row("wrong check character passes as Warning", romanSubject(),
        {{TaxCodeColumn, "RSSMRA70A05H501Z"}}, RowFault::None);
    row("lower-case sex", romanSubject(), {{SexColumn, "m"}}, RowFault::Sex);
    row("surname of 73", romanSubject(), {{SurnameColumn, a73.constData()}}, RowFault::Surname);
    row("31/04 is no date", romanSubject(), {{BirthDateColumn, "31/04/1970"}}, RowFault::BirthDate);
    row("no state code", romanSubject(), {{StateCodeColumn, ""}}, RowFault::NoStateCode);
    row("Z000 without municipality, 16-character code", romanSubject(),
        {{MunicipalityCodeColumn, ""}}, RowFault::WrongTaxCode);
    row("Z000 without municipality nor tax code", romanSubject(),
        {{MunicipalityCodeColumn, ""}, {TaxCodeColumn, ""}}, RowFault::NoTaxCode);
    row("other place of birth", romanSubject(), {{MunicipalityCodeColumn, "F205"}},
        RowFault::WrongTaxCode);
    row("abroad with a CUI of 7", parisianSubject(), {}, RowFault::None);
    row("abroad, 16-character tax code not examined", parisianSubject(),
        {{TaxCodeColumn, "XXXXXXXXXXXXXXXX"}}, RowFault::None);
    row("abroad, tax code of 15", parisianSubject(), {{TaxCodeColumn, "XXXXXXXXXXXXXXX"}},
        RowFault::TaxCodeLength);
    row("Italian with a CUI", romanSubject(), {{CuiColumn, "1234567"}}, RowFault::CuiForItalian);
    row("CUI of 8", parisianSubject(), {{CuiColumn, "12345678"}}, RowFault::CuiTooLong);
    row("CUI of 6", parisianSubject(), {{CuiColumn, "123456"}}, RowFault::CuiLength);
    row("father of 73", parisianSubject(), {{FatherColumn, a73.constData()}},
        RowFault::FatherTooLong);
    row("foreign place of 61", parisianSubject(), {{ForeignPlaceColumn, p61.constData()}},
        RowFault::ForeignPlaceTooLong);
    row("Italian with a foreign place", romanSubject(), {{ForeignPlaceColumn, "PARIGI"}},
        RowFault::PlaceNotCoherent);
    row("born today", parisianSubject(), {{BirthDateColumn, "15/03/2010"}}, RowFault::None);
    row("born tomorrow", parisianSubject(), {{BirthDateColumn, "16/03/2010"}},
        RowFault::BirthDateInFuture);
    row("tab in the father's name", parisianSubject(), {{FatherColumn, "PIE\tRRE"}},
        RowFault::Unprintable);
    row("escape in the CUI", parisianSubject(), {{CuiColumn, "123456\x1B"}}, RowFault::Unprintable);
    row("undefined byte 0x81 in the surname", romanSubject(), {{SurnameColumn, "RO\u0081SI"}},
        RowFault::Unprintable);
    row("outside Windows-1252", parisianSubject(), {{ForeignPlaceColumn, "\u0141\u00D3D\u0179"}},
        RowFault::Unprintable);
    row("state code without its letter", parisianSubject(), {{StateCodeColumn, "110"}},
        RowFault::PlaceCodeForm);
}

void TestRequestCheck::batchRowCheck() {
    QFETCH(SubjectValues, subject);
    SubjectTable table;
    table.appendRow(subject);
    QTEST(checkPersonRow(table, 1, kNow), "fault");
}

void TestRequestCheck::failingRowsInTableOrder() {
    SubjectTable table;
    QList<SubjectValues> rows(8, romanSubject());
    rows[2][SexColumn].clear();
    rows[6][StateCodeColumn].clear();
    table.appendRows(rows);
    QCOMPARE(failingRows(table, kNow), (QList<int>{3, 7}));
    QCOMPARE(rowErrorsMessage(failingRows(table, kNow)),
             QStringLiteral("Sono stati riscontrati errori sui seguenti soggetti: 3 , 7"));
}

QTEST_GUILESS_MAIN(TestRequestCheck)
#include "tst_requestcheck.moc"
