#include "core/subjects/personcode.h"
#include "core/subjects/taxcode.h"

#include <QRandomGenerator>
#include <QTest>

using namespace velmora;

namespace {

const QDate kToday(2010, 3, 15);

CodePerson person(const QString& surname, const QString& name, const QString& sex, QDate born,
                  const QString& place) {
    return {surname, name, sex, born, place};
}

} // namespace

class TestPersonCode : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Whole codes whose check characters are worked out by hand (see tst_taxcode), then the
    // composition rules part by part.
    void compute_data() {
        QTest::addColumn<CodePerson>("person");
        QTest::addColumn<QString>("code"); // the first characters the rule decides
        const std::tuple<const char*, CodePerson, const char*> rows[] = {
            {"man", person("ROSSI", "MARIO", "M", {1970, 1, 5}, "H501"), "RSSMRA70A05H501F"},
            {"1925", person("MORETTI", "MATTEO", "M", {1925, 4, 9}, "F205"), "MRTMTT25D09F205Z"},
            {"woman", person("BIANCHI", "LAURA", "F", {1985, 12, 12}, "F205"), "BNCLRA85T52F205E"},
            {"short", person("FO", "LI", "M", {1999, 5, 1}, "Z110"), "FOXLIX99E01Z110"},
            {"vowels only", person("OIE", "IA", "F", {2001, 6, 1}, "A001"), "OIEIAX01H41A001"},
            {"four consonants", person("NERI", "GIANFRANCO", "M", {1960, 7, 31}, "H501"),
             "NREGFR60L31"},
            {"three consonants", person("NERI", "MARCO", "M", {1960, 8, 1}, "H501"), "NREMRC60M01"},
            {"accents", person("L\u00D2", "NICOL\u00D2", "M", {1960, 9, 1}, "H501"), "LOXNCL60P01"},
            {"apostrophe, blank", person("D'ANGELO", "MARIA ROSA", "F", {1960, 10, 31}, "H501"),
             "DNGMRS60R71"},
            {"hyphen, full stop", person("DE-LA ROSA", "G.B.", "M", {1960, 11, 1}, "H501"),
             "DLRGBX60S01"},
            {"leap day", person("ROSSI", "ADA", "F", {2000, 2, 29}, "H501"), "RSSDAA00B69"}};
        for (const auto& [tag, p, code] : rows)
            QTest::newRow(tag) << p << QString::fromLatin1(code);
    }
    void compute() {
        QFETCH(CodePerson, person);
        QFETCH(QString, code);
        const Result<QString> computed = computeTaxCode(person);
        QVERIFY2(computed, qPrintable(computed.error()));
        QCOMPARE(computed->left(code.size()), code);
        QCOMPARE(checkTaxCode(*computed, person.placeCode), TaxCodeCheck::Corretto);
    }

    void everyMonthAndWhatIsMissing() {
        QString months;
        for (int month = 1; month <= 12; ++month)
            months +=
                computeTaxCode(person("ROSSI", "MARIO", "M", {1970, month, 5}, "H501"))->at(8);
        QCOMPARE(months, "ABCDEHLMPRST");
        QCOMPARE(computeTaxCode(person("'", "", "X", {}, "H5O1")).error(),
                 "Per calcolare il codice fiscale mancano: cognome, nome, sesso, data di nascita, "
                 "luogo di nascita");
    }

    // Letters standing in for digits are read as digits; the century is the latest that does
    // not put the birth after today.
    void decode_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<DecodedTaxCode>("decoded");
        const std::tuple<const char*, QDate, DecodedTaxCode> rows[] = {
            {"MRTMTT25D09F205Z", kToday, {"M", {1925, 4, 9}, "F205"}},
            {"MRTMTT25D09F205Z", {2026, 12, 7}, {"M", {2025, 4, 9}, "F205"}},
            {"RSSMRA10S01H501X", kToday, {"M", {1910, 11, 1}, "H501"}}, // later this year
            {"bnclra85t52f205e", kToday, {"F", {1985, 12, 12}, "F205"}},
            {"MRTMTTNRDLVF20RU", kToday, {"M", {1925, 4, 9}, "F205"}}}; // letters for digits
        for (const auto& [code, today, decoded] : rows)
            QTest::addRow("%s %d", code, today.year()) << QString(code) << today << decoded;
    }
    void decode() {
        QFETCH(QString, code);
        QFETCH(QDate, today);
        QFETCH(DecodedTaxCode, decoded);
        const Result<DecodedTaxCode> read = decodeTaxCode(code, today);
        QVERIFY2(read, qPrintable(read.error()));
        QCOMPARE(*read, decoded);
    }

    void undecodable() {
        for (const char* code : {"RSSMRA70A05H501", "RSSMRA70Z05H501F", "RSSMRA70B30H501F",
                                 "RSSMRA70A05H5O1F", "RSSMRA7-A05H501F"})
            QVERIFY2(!decodeTaxCode(QString::fromLatin1(code), kToday), code);
    }

    void differences_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<CodePerson>("person");
        QTest::addColumn<QStringList>("parts");
        const CodePerson mario = person("ROSSI", "MARIO", "M", {1970, 1, 5}, "H501");
        QTest::newRow("the same") << "RSSMRA70A05H501F" << mario << QStringList();
        QTest::newRow("small letters") << "rssmra70a05h501f" << mario << QStringList();
        QTest::newRow("another person")
            << "RSSMRA70A05H501F" << person("BIANCHI", "LUCA", "M", {1970, 1, 5}, "H501")
            << QStringList{"cognome", "nome"};
        QTest::newRow("a woman") << "RSSMRA70A05H501F"
                                 << person("ROSSI", "MARIA", "F", {1970, 1, 5}, "H501")
                                 << QStringList{"giorno di nascita o sesso"};
        QTest::newRow("another day")
            << "RSSMRA70A05H501F" << person("ROSSI", "MARIO", "M", {1971, 2, 6}, "F205")
            << QStringList{"anno di nascita", "mese di nascita", "giorno di nascita o sesso",
                           "luogo di nascita"};
        QTest::newRow("check character")
            << "RSSMRA70A05H501A" << mario << QStringList{"carattere di controllo"};
    }
    void differences() {
        QFETCH(QString, code);
        QFETCH(CodePerson, person);
        QFETCH(QStringList, parts);
        QCOMPARE(taxCodeDifferences(code, person), parts);
    }

    // For random persons: the code read back gives the person's sex, date and place, and it
    // differs from the person in nothing, also with letters in place of its digits.
    void roundTripOfRandomPersons() {
        QRandomGenerator random(20100315);
        const auto word = [&](int length) {
            QString text;
            for (int i = 0; i < length; ++i)
                text += QChar(u'A' + random.bounded(26));
            return text;
        };
        for (int i = 0; i < 2000; ++i) {
            const QDate born = kToday.addDays(-random.bounded(36500));
            const QString place =
                QString(QChar(u'A' + random.bounded(26))) +
                QStringLiteral("%1").arg(random.bounded(1000), 3, 10, QLatin1Char('0'));
            const CodePerson p = person(word(1 + random.bounded(8)), word(1 + random.bounded(8)),
                                        random.bounded(2) ? "M" : "F", born, place);
            QString code = *computeTaxCode(p);
            QCOMPARE(*decodeTaxCode(code, kToday), (DecodedTaxCode{p.sex, born, place}));
            QCOMPARE(taxCodeDifferences(code, p), QStringList());
            for (const int at : {6, 7, 9, 10, 12, 13, 14}) {
                if (random.bounded(2))
                    code[at] = kOmocodeLetters[code[at].digitValue()];
            }
            code[15] = *taxCodeCheckCharacter(code);
            QCOMPARE(taxCodeDifferences(code, p), QStringList());
        }
    }
};

QTEST_GUILESS_MAIN(TestPersonCode)
#include "tst_personcode.moc"
