#include "core/subjects/taxcode.h"
#include "support/places.h"

#include <QTest>

using namespace velmora;

Q_DECLARE_METATYPE(velmora::TaxCodeCheck)

// Check characters worked out by hand from the published value tables (odd + even sums):
// MRTMTT25D09F205Z 97 + 58 = 155 -> Z; RSSMRA80A01H501U 61 + 37 = 98 -> U;
// BNCLRA85T52F205E 69 + 39 = 108 -> E; MRTMTT25D09F20RU (place digit 5 replaced by R, as
// the office does for two persons who would share a code) 155 - 13 + 8 = 150 -> U;
// RSSMRA80A01L219M and its omocode RSSMRA80A01LN1VQ (place L219: character 12 is a letter).

class TestTaxCode : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answers_data();
    void answers();
};

void TestTaxCode::answers_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("place");
    QTest::addColumn<TaxCodeCheck>("answer");
    const auto correct = TaxCodeCheck::Corretto;
    const auto warning = TaxCodeCheck::Warning;
    const auto wrong = TaxCodeCheck::Errato;

    const auto row = [](const char* name, const char* code, const char* place,
                        TaxCodeCheck answer) { QTest::newRow(name) << code << place << answer; };
    row("worked example", "MRTMTT25D09F205Z", "F205", correct);
    row("rome", "RSSMRA80A01H501U", "H501", correct);
    row("woman", "BNCLRA85T52F205E", "F205", correct);
    row("lower case code", "mrtmtt25d09f205z", "F205", correct);
    // A digit among the first 15 characters counts as its letter (0 as A, 9 as J).
    row("worked example, digits as letters", "MRTMTTCFDAJFCAFZ", "FCAF", correct);
    const SubjectValues roman = test::romanSubject();
    QTest::newRow("the tests' Roman subject")
        << roman[TaxCodeColumn] << roman[MunicipalityCodeColumn] << correct;

    row("empty", "", "F205", wrong);
    row("15 characters", "MRTMTT25D09F205", "F205", wrong);
    row("17 characters", "MRTMTT25D09F205ZA", "F205", wrong);
    row("trailing blank", "MRTMTT25D09F205Z ", "F205", wrong);

    row("other place", "MRTMTT25D09F205Z", "H501", wrong);
    row("place in lower case", "MRTMTT25D09F205Z", "f205", wrong);
    row("empty place", "MRTMTT25D09F205Z", "", wrong);
    row("place of 5", "MRTMTT25D09F205Z", "F205 ", wrong);
    // Letters L to V in characters 13 to 15 stand for digits; character 12 is taken as written.
    row("omocode", "MRTMTT25D09F20RU", "F205", correct);
    row("omocode, place letter kept", "RSSMRA80A01LN1VQ", "L219", correct);
    row("omocode, check as written", "RSSMRA80A01LN1VM", "L219", warning);
    row("letter outside L to V", "MRTMTT25D09F20AU", "F205", wrong);
    row("omocode letter in character 12", "MRTMTT25D09Q205Z", "4205", wrong);

    row("other check letter", "MRTMTT25D09F205A", "F205", warning);
    row("digit as check", "MRTMTT25D09F2059", "F205", warning);
    row("blank as check", "MRTMTT25D09F205 ", "F205", warning);

    // Characters without a value never reach the tables.
    row("symbol", "MRTMT*25D09F205Z", "F205", wrong);
    row("accented letter", "MRTMT\u00C025D09F205Z", "F205", wrong);
}

void TestTaxCode::answers() {
    QFETCH(QString, code);
    QFETCH(QString, place);
    QFETCH(TaxCodeCheck, answer);
    QCOMPARE(CheckTaxCode(code, place), answer);
}

QTEST_GUILESS_MAIN(TestTaxCode)
#include "tst_taxcode.moc"
