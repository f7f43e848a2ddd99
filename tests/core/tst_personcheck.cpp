#include "core/subjects/personcheck.h"

#include <QTest>

using namespace velmora;

namespace {

const QDateTime kNow(QDate(2010, 3, 15), QTime(9, 32));
const QString k72(72, u'A');
const QString k73(73, u'A');
const QString k61(61, u'P');

using P = PersonFields;

// Passes every rule: born in Milan, with its correct tax code.
const P kItalian{"ROSSI",      "MARIO",  "M", "MRTMTT25D09F205Z", "",     "",
                 "09/04/1925", "MILANO", "",  "ITALIA",           "F205", "Z000"};
const P kForeigner{"ROSSI", "MARIO", "M", "", "", "", "09/04/1925", "", "", "FRANCIA", "", "Z110"};

P set(P p, QString P::*field, const QString& value) {
    p.*field = value;
    return p;
}

} // namespace

class TestPersonCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rules();
    void messageListsTheLinesInRuleOrder();
    void insertQuestions();
    void modificationWithoutItsRowAppends();
};

// The failed rules by number, and the field each marks.
void TestPersonCheck::rules() {
    const std::tuple<P, QList<int>, QList<Column>> cases[] = {
        {kItalian, {}, {}},
        {kForeigner, {}, {}},
        {set(kItalian, &P::surname, k72), {}, {}},
        {set(kItalian, &P::surname, k73), {1}, {SurnameColumn}},
        {set(kItalian, &P::surname, ""), {1}, {SurnameColumn}},
        {set(kItalian, &P::surname, "   "), {1}, {SurnameColumn}}, // blanks only are no name
        {set(kItalian, &P::name, k73), {2}, {NameColumn}},
        {set(kItalian, &P::father, k72), {}, {}},
        {set(kItalian, &P::father, k73), {8}, {FatherColumn}},
        {set(kItalian, &P::sex, ""), {3}, {SexColumn}},
        {set(kItalian, &P::birthDate, "15/03/2010"), {}, {}},
        {set(kItalian, &P::birthDate, "16/03/2010"), {9}, {BirthDateColumn}},
        {set(kItalian, &P::taxCode, ""), {4}, {TaxCodeColumn}},
        {set(kItalian, &P::municipalityCode, "H501"), {4}, {TaxCodeColumn}},
        {set(kItalian, &P::taxCode, "MRTMTT25D09F205A"), {}, {}},
        {set(kForeigner, &P::taxCode, "MRTMTT25D09F205Z"), {5}, {TaxCodeColumn}},
        {set(kItalian, &P::cui, "1234567"), {7}, {CuiColumn}},
        {set(kItalian, &P::cui, "123456"), {6, 7}, {CuiColumn, CuiColumn}},
        {set(kForeigner, &P::cui, "1234567"), {}, {}},
        {set(kForeigner, &P::cui, "12345678"), {6}, {CuiColumn}},
        {set(kForeigner, &P::stateCode, "Z000"), {}, {}}, // the state name decides
        {set(kItalian, &P::state, ""), {5, 12}, {TaxCodeColumn, MunicipalityColumn}},
        {set(kItalian, &P::municipalityCode, ""), {4, 10}, {TaxCodeColumn, MunicipalityColumn}},
        {set(kItalian, &P::foreignPlace, "PARIGI"), {12}, {ForeignPlaceColumn}},
        {set(kForeigner, &P::foreignPlace, QString(60, u'P')), {}, {}},
        {set(kForeigner, &P::foreignPlace, k61), {10}, {ForeignPlaceColumn}},
        {set(kForeigner, &P::municipality, "MILANO"), {12}, {MunicipalityColumn}},
        {set(set(kForeigner, &P::stateCode, ""), &P::municipality, "MILANO"), {11}, {StateColumn}},
        {P{},
         {1, 2, 3, 9, 11},
         {SurnameColumn, NameColumn, SexColumn, BirthDateColumn, StateColumn}},
    };
    for (const auto& [person, rules, marks] : cases) {
        QList<int> failed;
        QList<Column> marked;
        for (const FailedRule& rule : checkPersonFields(person, kNow)) {
            failed.append(rule.rule);
            marked.append(rule.field);
        }
        QCOMPARE(failed, rules);
        QCOMPARE(marked, marks);
    }
}

void TestPersonCheck::messageListsTheLinesInRuleOrder() {
    const P person{"", "", "", "X", "123", k73, "", "", k61, "ITALIA", "", "Z000"};
    QCOMPARE(personErrorsMessage(checkPersonFields(person, kNow)),
             QStringLiteral("ATT! Sono stati riscontrati i seguenti errori:\r\n"
                            "\r\n- Cognome non inserito correttamente"
                            "\r\n- Nome non inserito correttamente"
                            "\r\n- Sesso non specificato"
                            "\r\n- Codice Fiscale non valido"
                            "\r\n- CUI non valido"
                            "\r\n- CUI non previsto per gli italiani"
                            "\r\n- Nome del padre non inserito correttamente"
                            "\r\n- Data di nascita nulla o non valida"
                            "\r\n- Comune di nascita non inserito o non valido"
                            "\r\n- Comune di nascita non coerente con la Nazione"));
    QCOMPARE(checkPersonFields(set(kForeigner, &P::taxCode, "X"), kNow).value(0).line,
             QStringLiteral("- Codice Fiscale non previsto per gli stranieri"));
    QCOMPARE(checkPersonFields(set(kForeigner, &P::stateCode, ""), kNow).value(0).line,
             QStringLiteral("- Nazione di nascita non inserita o non valida"));
}

// One question at most: the code against the person first, then the code in another row.
void TestPersonCheck::insertQuestions() {
    const P rossi = set(kItalian, &P::taxCode, "RSSMRA25D09F205P");
    SubjectTable table;
    table.appendRow(subjectRow(set(rossi, &P::taxCode, "rssmra25d09f205p")));
    QCOMPARE(insertQuestion(rossi, table, 1), QString());
    QCOMPARE(insertQuestion(kForeigner, table, 0), QString());
    QCOMPARE(insertQuestion(rossi, table, 0),
             QStringLiteral("Il codice fiscale \u00E8 gi\u00E0 presente alla riga 1 (ROSSI MARIO). "
                            "Inserire comunque?"));
    QCOMPARE(insertQuestion(set(rossi, &P::taxCode, "RSSMRA25D09F205A"), table, 0),
             kTaxCodeQuestion + "\r\nCodice atteso: RSSMRA25D09F205P");
    const P luca = set(set(rossi, &P::name, "LUCA"), &P::sex, "F");
    QCOMPARE(insertQuestion(luca, table, 0),
             QStringLiteral("Il codice fiscale non corrisponde ai dati anagrafici (nome, giorno di "
                            "nascita o sesso). Codice atteso: %1. Inserire comunque?")
                 .arg(*computeTaxCode(codePerson(luca))));
}

void TestPersonCheck::modificationWithoutItsRowAppends() {
    QCOMPARE(rowToWrite(true, 2, 3), 0);
    QCOMPARE(rowToWrite(false, 3, 3), 3);
    QCOMPARE(rowToWrite(false, 0, 0), 0); // the table was emptied meanwhile
    QCOMPARE(rowToWrite(false, 4, 3), 0);
}

QTEST_GUILESS_MAIN(TestPersonCheck)
#include "tst_personcheck.moc"
