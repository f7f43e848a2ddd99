#include "core/subjects/personcheck.h"

#include <QTest>

using namespace velmora;

Q_DECLARE_METATYPE(velmora::PersonFields)

namespace {

const QDateTime kNow(QDate(2010, 3, 15), QTime(9, 32));
const QString k72 = QString(72, u'A');
const QString k73 = QString(73, u'A');
const QString k61 = QString(61, u'P');

// Passes every rule: born in Milan, with its correct tax code.
PersonFields italian() {
    return {.surname = "ROSSI",
            .name = "MARIO",
            .sex = "M",
            .taxCode = "MRTMTT25D09F205Z",
            .cui = "",
            .father = "",
            .birthDate = "09/04/1925",
            .municipality = "MILANO",
            .foreignPlace = "",
            .state = "ITALIA",
            .municipalityCode = "F205",
            .stateCode = "Z000"};
}

PersonFields foreigner() {
    PersonFields p = italian();
    p.taxCode = p.municipality = p.municipalityCode = QString();
    p.state = QStringLiteral("FRANCIA");
    p.stateCode = QStringLiteral("Z110");
    return p;
}

using P = PersonFields;
P set(P p, QString P::*field, const QString& value) {
    p.*field = value;
    return p;
}

QList<int> listOf(const QList<FailedRule>& failed, bool marks) {
    QList<int> list;
    for (const FailedRule& rule : failed)
        list.append(marks ? int(rule.field) : rule.rule);
    return list;
}

} // namespace

class TestPersonCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rules_data();
    void rules();
    void messageListsTheLinesInRuleOrder();
    void warningAsksOnlyForItalians();
    void modificationWithoutItsRowAppends();
};

void TestPersonCheck::rules_data() {
    QTest::addColumn<PersonFields>("person");
    QTest::addColumn<QList<int>>("rules");
    QTest::addColumn<QList<int>>("marks");

    const auto row = [](const char* name, const PersonFields& p, QList<int> rules,
                        QList<int> marks) { QTest::newRow(name) << p << rules << marks; };
    row("italian passes", italian(), {}, {});
    row("foreigner passes", foreigner(), {}, {});

    // Names: not trimmed, 72 characters at most.
    row("surname 72", set(italian(), &P::surname, k72), {}, {});
    row("surname 73", set(italian(), &P::surname, k73), {1}, {SurnameColumn});
    row("surname empty", set(italian(), &P::surname, ""), {1}, {SurnameColumn});
    row("surname of blanks", set(italian(), &P::surname, "   "), {}, {});
    row("name 73", set(italian(), &P::name, k73), {2}, {NameColumn});
    row("father 72", set(italian(), &P::father, k72), {}, {});
    row("father 73", set(italian(), &P::father, k73), {8}, {FatherColumn});
    row("no sex", set(italian(), &P::sex, ""), {3}, {SexColumn});
    row("born tomorrow", set(italian(), &P::birthDate, "16/03/2010"), {9}, {BirthDateColumn});

    // Tax code and CUI depend on where the person was born.
    row("no tax code", set(italian(), &P::taxCode, ""), {4}, {TaxCodeColumn});
    row("code of another place", set(italian(), &P::municipalityCode, "H501"), {4},
        {TaxCodeColumn});
    row("wrong check character", set(italian(), &P::taxCode, "MRTMTT25D09F205A"), {}, {});
    row("foreign tax code", set(foreigner(), &P::taxCode, "MRTMTT25D09F205Z"), {5},
        {TaxCodeColumn});
    row("italian with CUI of 7", set(italian(), &P::cui, "1234567"), {7}, {CuiColumn});
    row("italian with CUI of 6", set(italian(), &P::cui, "123456"), {6, 7}, {CuiColumn, CuiColumn});
    row("foreigner with CUI of 7", set(foreigner(), &P::cui, "1234567"), {}, {});
    row("foreigner with CUI of 8", set(foreigner(), &P::cui, "12345678"), {6}, {CuiColumn});
    row("state code alone: abroad", set(foreigner(), &P::stateCode, "Z000"), {}, {});
    row("empty state: abroad", set(italian(), &P::state, ""), {5, 12},
        {TaxCodeColumn, MunicipalityColumn});

    // Places.
    row("municipality not found", set(italian(), &P::municipalityCode, ""), {4, 10},
        {TaxCodeColumn, MunicipalityColumn});
    row("italian, foreign place", set(italian(), &P::foreignPlace, "PARIGI"), {12},
        {ForeignPlaceColumn});
    row("place of 60", set(foreigner(), &P::foreignPlace, QString(60, u'P')), {}, {});
    row("place of 61", set(foreigner(), &P::foreignPlace, k61), {10}, {ForeignPlaceColumn});
    row("foreign, municipality", set(foreigner(), &P::municipality, "MILANO"), {12},
        {MunicipalityColumn});
    row("state not found", set(set(foreigner(), &P::stateCode, ""), &P::municipality, "MILANO"),
        {11}, {StateColumn});
    row("everything empty", PersonFields{}, {1, 2, 3, 9, 11},
        {SurnameColumn, NameColumn, SexColumn, BirthDateColumn, StateColumn});
}

void TestPersonCheck::rules() {
    QFETCH(PersonFields, person);
    QFETCH(QList<int>, rules);
    QFETCH(QList<int>, marks);
    const QList<FailedRule> failed = CheckPersonFields(person, kNow);
    QCOMPARE(listOf(failed, false), rules);
    QCOMPARE(listOf(failed, true), marks);
}

void TestPersonCheck::messageListsTheLinesInRuleOrder() {
    PersonFields person;
    person.taxCode = QStringLiteral("X");
    person.cui = QStringLiteral("123");
    person.father = k73;
    person.foreignPlace = k61;
    person.state = QStringLiteral("ITALIA");
    person.stateCode = QStringLiteral("Z000");
    QCOMPARE(personErrorsMessage(CheckPersonFields(person, kNow)),
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
}

void TestPersonCheck::warningAsksOnlyForItalians() {
    const P wrongCheck = set(italian(), &P::taxCode, "MRTMTT25D09F205A");
    QVERIFY(asksTaxCodeConfirmation(wrongCheck));
    QVERIFY(!asksTaxCodeConfirmation(italian()));
    QVERIFY(!asksTaxCodeConfirmation(set(wrongCheck, &P::state, "FRANCIA")));
}

void TestPersonCheck::modificationWithoutItsRowAppends() {
    QCOMPARE(rowToWrite(true, 2, 3), 0);
    QCOMPARE(rowToWrite(false, 2, 3), 2);
    QCOMPARE(rowToWrite(false, 0, 0), 0); // the table was emptied meanwhile
    QCOMPARE(rowToWrite(false, 4, 3), 0);
}

QTEST_GUILESS_MAIN(TestPersonCheck)
#include "tst_personcheck.moc"
