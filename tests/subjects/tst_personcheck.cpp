#include "subjects/personcheck.h"

#include <QTest>
#include <functional>

using namespace velmora;

Q_DECLARE_METATYPE(velmora::PersonFields)

namespace {

const QDateTime kNow(QDate(2010, 3, 15), QTime(9, 32));
const QString k72 = QString(72, u'A');
const QString k73 = QString(73, u'A');

// Passes every rule: born in Milan, with its correct tax code.
PersonFields italian() {
    PersonFields p;
    p.surname = QStringLiteral("ROSSI");
    p.name = QStringLiteral("MARIO");
    p.sex = QStringLiteral("M");
    p.taxCode = QStringLiteral("MRTMTT25D09F205Z");
    p.birthDate = QStringLiteral("09/04/1925");
    p.municipality = QStringLiteral("MILANO");
    p.state = QStringLiteral("ITALIA");
    p.municipalityCode = QStringLiteral("F205");
    p.stateCode = QStringLiteral("Z000");
    return p;
}

PersonFields foreigner() {
    PersonFields p = italian();
    p.taxCode.clear();
    p.municipality.clear();
    p.municipalityCode.clear();
    p.state = QStringLiteral("FRANCIA");
    p.stateCode = QStringLiteral("Z110");
    return p;
}

PersonFields with(PersonFields p, const std::function<void(PersonFields&)>& change) {
    change(p);
    return p;
}

QList<int> rulesOf(const QList<FailedRule>& failed) {
    QList<int> rules;
    for (const FailedRule& rule : failed)
        rules.append(rule.rule);
    return rules;
}

QList<int> marksOf(const QList<FailedRule>& failed) {
    QList<int> marks;
    for (const FailedRule& rule : failed)
        marks.append(rule.field);
    return marks;
}

} // namespace

class TestPersonCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rules_data();
    void rules();
    void dateRule_data();
    void dateRule();
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
    row("surname 72", with(italian(), [](auto& p) { p.surname = k72; }), {}, {});
    row("surname 73", with(italian(), [](auto& p) { p.surname = k73; }), {1}, {SurnameColumn});
    row("surname empty", with(italian(), [](auto& p) { p.surname.clear(); }), {1}, {SurnameColumn});
    row("surname of blanks", with(italian(), [](auto& p) { p.surname = "   "; }), {}, {});
    row("name 73", with(italian(), [](auto& p) { p.name = k73; }), {2}, {NameColumn});
    row("father 72", with(italian(), [](auto& p) { p.father = k72; }), {}, {});
    row("father 73", with(italian(), [](auto& p) { p.father = k73; }), {8}, {FatherColumn});
    row("no sex", with(italian(), [](auto& p) { p.sex.clear(); }), {3}, {SexColumn});

    // Tax code and CUI depend on where the person was born.
    row("italian without tax code", with(italian(), [](auto& p) { p.taxCode.clear(); }), {4},
        {TaxCodeColumn});
    row("italian, code of another place",
        with(italian(), [](auto& p) { p.municipalityCode = "H501"; }), {4}, {TaxCodeColumn});
    row("italian, wrong check character passes the rules",
        with(italian(), [](auto& p) { p.taxCode = "MRTMTT25D09F205A"; }), {}, {});
    row("foreigner with a tax code",
        with(foreigner(), [](auto& p) { p.taxCode = "MRTMTT25D09F205Z"; }), {5}, {TaxCodeColumn});
    row("italian with CUI of 7", with(italian(), [](auto& p) { p.cui = "1234567"; }), {7},
        {CuiColumn});
    row("italian with CUI of 6", with(italian(), [](auto& p) { p.cui = "123456"; }), {6, 7},
        {CuiColumn, CuiColumn});
    row("foreigner with CUI of 7", with(foreigner(), [](auto& p) { p.cui = "1234567"; }), {}, {});
    row("foreigner with CUI of 8", with(foreigner(), [](auto& p) { p.cui = "12345678"; }), {6},
        {CuiColumn});
    row("state code alone does not make an italian",
        with(foreigner(), [](auto& p) { p.stateCode = "Z000"; }), {}, {});
    row("empty state counts as abroad", with(italian(), [](auto& p) { p.state.clear(); }), {5, 12},
        {TaxCodeColumn, MunicipalityColumn});

    // Places.
    row("italian, municipality not found",
        with(italian(), [](auto& p) { p.municipalityCode.clear(); }), {4, 10},
        {TaxCodeColumn, MunicipalityColumn});
    row("italian with a foreign place", with(italian(), [](auto& p) { p.foreignPlace = "PARIGI"; }),
        {12}, {ForeignPlaceColumn});
    row("italian with a foreign place of 61",
        with(italian(), [](auto& p) { p.foreignPlace = QString(61, u'P'); }), {10, 12},
        {ForeignPlaceColumn, ForeignPlaceColumn});
    row("foreign place of 60",
        with(foreigner(), [](auto& p) { p.foreignPlace = QString(60, u'P'); }), {}, {});
    row("foreign place of 61",
        with(foreigner(), [](auto& p) { p.foreignPlace = QString(61, u'P'); }), {10},
        {ForeignPlaceColumn});
    row("foreigner with an italian municipality",
        with(foreigner(), [](auto& p) { p.municipality = "MILANO"; }), {12}, {MunicipalityColumn});
    row("state not found hides the coherence rule",
        with(foreigner(),
             [](auto& p) {
                 p.stateCode.clear();
                 p.municipality = "MILANO";
             }),
        {11}, {StateColumn});
    row("everything empty", PersonFields{}, {1, 2, 3, 9, 11},
        {SurnameColumn, NameColumn, SexColumn, BirthDateColumn, StateColumn});
}

void TestPersonCheck::rules() {
    QFETCH(PersonFields, person);
    QFETCH(QList<int>, rules);
    QFETCH(QList<int>, marks);
    const QList<FailedRule> failed = CheckPersonFields(person, kNow);
    QCOMPARE(rulesOf(failed), rules);
    QCOMPARE(marksOf(failed), marks);
}

void TestPersonCheck::dateRule_data() {
    QTest::addColumn<QString>("date");
    QTest::addColumn<bool>("fails");
    QTest::newRow("leap day 2000") << "29/02/2000" << false;
    QTest::newRow("no leap day 2001") << "29/02/2001" << true;
    QTest::newRow("31 april") << "31/04/2000" << true;
    QTest::newRow("month first") << "01/13/2000" << true;
    QTest::newRow("day first") << "13/01/2000" << false;
    QTest::newRow("day 32") << "32/01/2000" << true;
    QTest::newRow("untouched mask") << "__/__/____" << true;
    QTest::newRow("half typed") << "12/03/19__" << true;
    QTest::newRow("after reset") << "" << true;
    QTest::newRow("today") << "15/03/2010" << false;
    QTest::newRow("tomorrow") << "16/03/2010" << true;
    QTest::newRow("year 0099") << "01/01/0099" << true;
    QTest::newRow("year 0100") << "01/01/0100" << false;
    QTest::newRow("year 9999 is in the future") << "31/12/9999" << true;
}

void TestPersonCheck::dateRule() {
    QFETCH(QString, date);
    QFETCH(bool, fails);
    const PersonFields person = with(italian(), [&](auto& p) { p.birthDate = date; });
    const QList<int> expected = fails ? QList<int>{9} : QList<int>{};
    QCOMPARE(rulesOf(CheckPersonFields(person, kNow)), expected);
}

void TestPersonCheck::messageListsTheLinesInRuleOrder() {
    const PersonFields person = with(italian(), [](auto& p) {
        p.sex.clear();
        p.surname.clear();
    });
    QCOMPARE(personErrorsMessage(CheckPersonFields(person, kNow)),
             QStringLiteral("ATT! Sono stati riscontrati i seguenti errori:\r\n"
                            "\r\n- Cognome non inserito correttamente"
                            "\r\n- Sesso non specificato"));

    const QList<FailedRule> all = CheckPersonFields(with(PersonFields{},
                                                         [](auto& p) {
                                                             p.cui = "123";
                                                             p.father = k73;
                                                             p.taxCode = "X";
                                                             p.foreignPlace = QString(61, u'P');
                                                             p.stateCode = "Z000";
                                                             p.state = "ITALIA";
                                                         }),
                                                    kNow);
    QCOMPARE(
        personErrorsMessage(all).split(QStringLiteral("\r\n")).mid(2),
        QStringList({"- Cognome non inserito correttamente", "- Nome non inserito correttamente",
                     "- Sesso non specificato", "- Codice Fiscale non valido", "- CUI non valido",
                     "- CUI non previsto per gli italiani",
                     "- Nome del padre non inserito correttamente",
                     "- Data di nascita nulla o non valida",
                     "- Comune di nascita non inserito o non valido",
                     "- Comune di nascita non coerente con la Nazione"}));
}

void TestPersonCheck::warningAsksOnlyForItalians() {
    const auto wrongCheck = [](auto& p) { p.taxCode = "MRTMTT25D09F205A"; };
    QVERIFY(asksTaxCodeConfirmation(with(italian(), wrongCheck)));
    QVERIFY(!asksTaxCodeConfirmation(italian()));
    QVERIFY(!asksTaxCodeConfirmation(
        with(with(italian(), wrongCheck), [](auto& p) { p.state = "FRANCIA"; })));
}

void TestPersonCheck::modificationWithoutItsRowAppends() {
    QCOMPARE(rowToWrite(true, 2, 3), 0);
    QCOMPARE(rowToWrite(false, 2, 3), 2);
    QCOMPARE(rowToWrite(false, 0, 0), 0); // the table was emptied meanwhile
    QCOMPARE(rowToWrite(false, 4, 3), 0);
}

QTEST_GUILESS_MAIN(TestPersonCheck)
#include "tst_personcheck.moc"
