#include "core/request/requestcheck.h"
#include "support/places.h"

#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

const QDateTime kNow(QDate(2010, 3, 15), QTime(9, 32));
const QString kHeading = QStringLiteral("ATT! Sono stati riscontrati i seguenti errori:\r\n");
const QString kNumberLine = QStringLiteral("\r\n- Numero protocollo non immesso o non valido");
const QString kNoSubjects = QStringLiteral("Inserire almeno un soggetto");
const QString kIncomplete =
    QStringLiteral("Completare correttamente tutti i campi della richiesta");

const Request kValid{0, "LAVORO", "123", "01/02/2010", false};

} // namespace

class TestRequestCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void batchRequest();
    void pdfRequest();
    void batchRowCheck_data();
    void batchRowCheck();
    void failingRowsInTableOrder();
};

void TestRequestCheck::batchRequest() {
    QCOMPARE(checkOfficeType(QString()).error(), QStringLiteral("Inserire il Tipo Ufficio"));
    QVERIFY(checkOfficeType(QStringLiteral("PROCURA")));

    Request request{-1, "", "", "16/03/2010", true};
    QCOMPARE(checkForBatch(request, 0, kNow).error(),
             kHeading +
                 QStringLiteral("\r\n- Tipo certificato non immesso"
                                "\r\n- Finalit\u00E0 non immessa") +
                 kNumberLine + "\r\n- Data protocollo non immessa o non valida");

    request = kValid;
    QVERIFY(checkForBatch(request, 2, kNow));
    request.protocolNumber = QString(30, u'9'); // the longest number the summary holds
    QVERIFY(checkForBatch(request, 2, kNow));
    request.protocolNumber = QString(31, u'9');
    QCOMPARE(checkForBatch(request, 2, kNow).error(), kHeading + kNumberLine);
    QCOMPARE(checkForBatch(kValid, 0, kNow).error(), kNoSubjects);
}

// The form examines neither the office type, nor the number's length, nor a future date.
void TestRequestCheck::pdfRequest() {
    Request request = kValid;
    request.certificateType = 2;
    request.protocolNumber = QString(40, u'1');
    request.protocolDate = QStringLiteral("01/01/2030");
    QVERIFY(checkForPdf(request, 2));
    QCOMPARE(checkForPdf(request, 0).error(), kNoSubjects);
    request.certificateType = -1;
    QCOMPARE(checkForPdf(request, 2).error(), kIncomplete);
    request = kValid;
    request.protocolDate = QStringLiteral("31/04/2010");
    QCOMPARE(checkForPdf(request, 0).error(), kIncomplete);
    for (QString Request::*field : {&Request::purpose, &Request::protocolNumber}) {
        request = kValid;
        (request.*field).clear();
        QCOMPARE(checkForPdf(request, 2).error(), kIncomplete);
    }
}

void TestRequestCheck::batchRowCheck_data() {
    QTest::addColumn<SubjectValues>("subject");
    QTest::addColumn<RowFault>("fault");
    const QString a73(73, u'A');
    const std::tuple<SubjectValues, QList<std::pair<Column, QString>>, RowFault> cases[] = {
        {romanSubject(), {}, RowFault::None},
        {romanSubject(), {{TaxCodeColumn, "RSSMRA70A05H501Z"}}, RowFault::None}, // Warning passes
        {romanSubject(), {{SurnameColumn, QString(72, u'A')}}, RowFault::None},
        {romanSubject(), {{SurnameColumn, a73}}, RowFault::Surname},
        {romanSubject(), {{NameColumn, ""}}, RowFault::Name},
        {romanSubject(), {{SexColumn, "m"}}, RowFault::Sex},
        {romanSubject(), {{BirthDateColumn, "31/04/1970"}}, RowFault::BirthDate},
        {romanSubject(), {{StateCodeColumn, ""}}, RowFault::NoStateCode},
        {romanSubject(), {{MunicipalityCodeColumn, ""}}, RowFault::WrongTaxCode},
        {romanSubject(), {{MunicipalityCodeColumn, ""}, {TaxCodeColumn, ""}}, RowFault::NoTaxCode},
        {romanSubject(), {{MunicipalityCodeColumn, "F205"}}, RowFault::WrongTaxCode},
        {romanSubject(), {{CuiColumn, "1234567"}}, RowFault::CuiForItalian},
        {romanSubject(), {{ForeignPlaceColumn, "PARIGI"}}, RowFault::PlaceNotCoherent},
        {romanSubject(), {{SurnameColumn, "RO\u0081SI"}}, RowFault::Unprintable},
        {parisianSubject(), {}, RowFault::None},
        {parisianSubject(), {{TaxCodeColumn, "XXXXXXXXXXXXXXXX"}}, RowFault::None},
        {parisianSubject(), {{TaxCodeColumn, "XXXXXXXXXXXXXXX"}}, RowFault::TaxCodeLength},
        {parisianSubject(), {{CuiColumn, "12345678"}}, RowFault::CuiTooLong},
        {parisianSubject(), {{CuiColumn, "123456"}}, RowFault::CuiLength},
        {parisianSubject(), {{FatherColumn, QString(72, u'A')}}, RowFault::None},
        {parisianSubject(), {{FatherColumn, a73}}, RowFault::FatherTooLong},
        {parisianSubject(), {{ForeignPlaceColumn, QString(60, u'P')}}, RowFault::None},
        {parisianSubject(),
         {{ForeignPlaceColumn, QString(61, u'P')}},
         RowFault::ForeignPlaceTooLong},
        {parisianSubject(), {{BirthDateColumn, "15/03/2010"}}, RowFault::None},
        {parisianSubject(), {{BirthDateColumn, "16/03/2010"}}, RowFault::BirthDateInFuture},
        {parisianSubject(), {{FatherColumn, "PIE\tRRE"}}, RowFault::Unprintable},
        {parisianSubject(), {{CuiColumn, "123456\x1B"}}, RowFault::Unprintable},
        {parisianSubject(), {{ForeignPlaceColumn, "\u0141\u00D3D\u0179"}}, RowFault::Unprintable},
        {parisianSubject(), {{StateCodeColumn, "110"}}, RowFault::PlaceCodeForm},
        // What an import brings: codes no table holds, characters no field takes.
        {romanSubject(), {{MunicipalityColumn, ""}}, RowFault::UnknownMunicipalityCode},
        {parisianSubject(), {{StateColumn, ""}}, RowFault::UnknownStateCode},
        {romanSubject(), {{SurnameColumn, "D'\u00C0NGELO"}}, RowFault::None},
        {romanSubject(), {{NameColumn, "  "}}, RowFault::Name}, // blanks are no name, nor place
        {romanSubject(), {{ForeignPlaceColumn, " "}}, RowFault::None},
        {romanSubject(), {{SurnameColumn, "\"ROSSI\""}}, RowFault::SurnameCharacter},
        {romanSubject(), {{NameColumn, "MAR|O"}}, RowFault::NameCharacter},
        {parisianSubject(), {{FatherColumn, "PIE-RRE"}}, RowFault::FatherCharacter},
        {parisianSubject(), {{ForeignPlaceColumn, "ST-DENIS 2"}}, RowFault::ForeignPlaceCharacter},
        {parisianSubject(), {{TaxCodeColumn, "XXXXXXXXXXXXXX.X"}}, RowFault::TaxCodeCharacter},
        {parisianSubject(), {{CuiColumn, "12345 7"}}, RowFault::CuiCharacter},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        auto [v, cells, fault] = cases[i];
        for (const auto& [column, text] : cells)
            v[column] = text;
        QTest::addRow("%zu", i) << v << fault;
    }
}

void TestRequestCheck::batchRowCheck() {
    QFETCH(SubjectValues, subject);
    QFETCH(RowFault, fault);
    SubjectTable table;
    table.appendRow(subject);
    QCOMPARE(checkPersonRow(table, 1, kNow.date()), fault);
}

void TestRequestCheck::failingRowsInTableOrder() {
    SubjectTable table;
    QList<SubjectValues> rows(8, romanSubject());
    rows[2][SexColumn].clear();
    rows[3][SurnameColumn] = QStringLiteral("ROSS1");
    rows[4][MunicipalityColumn].clear();
    rows[4][MunicipalityCodeColumn] = QStringLiteral("H5O1");
    rows[5][StateColumn].clear();
    rows[5][StateCodeColumn] = QStringLiteral("999");
    rows[6][StateCodeColumn].clear();
    table.appendRows(rowsOf(rows));
    QCOMPARE(rowFaultLines(table, failingRowChecks(table, kNow)),
             QStringLiteral("Riga 3: Sesso diverso da M o F\r\n"
                            "Riga 4: Cognome: carattere non ammesso '1'\r\n"
                            "Riga 5: Codice del comune H5O1 sconosciuto\r\n"
                            "Riga 6: Codice dello Stato 999 sconosciuto\r\n"
                            "Riga 7: Codice dello Stato di nascita mancante o non trovato"));
    QCOMPARE(rowErrorsMessage({3, 7}),
             QStringLiteral("Sono stati riscontrati errori sui seguenti soggetti: 3 , 7"));
}

QTEST_GUILESS_MAIN(TestRequestCheck)
#include "tst_requestcheck.moc"
