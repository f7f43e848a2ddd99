#include "checks/taxcode.h"

#include <QTest>

using namespace velmora;

namespace {

// Check characters worked out by hand from the published value tables:
// MRTMTT25D09F205Z, the classic worked example (Milan, 9 April 1925):
//   odd  M T T 2 D 9 2 5 = 18+14+14+5+7+21+5+13 = 97, even R M T 5 0 F 0 = 17+12+19+5+0+5+0 = 58,
//   155 mod 26 = 25 -> Z.
// RSSMRA80A01H501U (Rome, 1 January 1980):
//   odd  R S R 8 A 1 5 1 = 8+12+8+19+1+0+13+0 = 61, even S M A 0 0 H 0 = 18+12+0+0+0+7+0 = 37,
//   98 mod 26 = 20 -> U.
// BNCLRA85T52F205E (a woman, Milan, 12 December 1985):
//   odd  B C R 8 T 2 2 5 = 0+5+8+19+14+5+5+13 = 69, even N L A 5 5 F 0 = 13+11+0+5+5+5+0 = 39,
//   108 mod 26 = 4 -> E.
// MRTMTT25D09F20RU: the first example with its last place digit 5 replaced by R, as the
//   office does for two persons who would share a code: 155 - 13 + 8 = 150 mod 26 = 20 -> U.
const QString kMilan = QStringLiteral("F205");

} // namespace

class TestTaxCode : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answers_data();
    void answers();
    void digitsAndTheirLettersGiveTheSameCheckCharacter_data();
    void digitsAndTheirLettersGiveTheSameCheckCharacter();
};

void TestTaxCode::answers_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("answer");
    const QString correct = kTaxCodeCorrect.toString();
    const QString warning = kTaxCodeWarning.toString();
    const QString wrong = kTaxCodeWrong.toString();

    QTest::newRow("worked example") << "MRTMTT25D09F205Z" << kMilan << correct;
    QTest::newRow("rome") << "RSSMRA80A01H501U"
                          << "H501" << correct;
    QTest::newRow("woman") << "BNCLRA85T52F205E" << kMilan << correct;
    QTest::newRow("lower case code") << "mrtmtt25d09f205z" << kMilan << correct;

    QTest::newRow("empty") << "" << kMilan << wrong;
    QTest::newRow("15 characters") << "MRTMTT25D09F205" << kMilan << wrong;
    QTest::newRow("17 characters") << "MRTMTT25D09F205ZA" << kMilan << wrong;
    QTest::newRow("trailing blank") << "MRTMTT25D09F205Z " << kMilan << wrong;
    QTest::newRow("16 with a leading blank") << " RTMTT25D09F205Z" << kMilan << wrong;

    QTest::newRow("other place") << "MRTMTT25D09F205Z"
                                 << "H501" << wrong;
    QTest::newRow("place in lower case") << "MRTMTT25D09F205Z"
                                         << "f205" << wrong;
    QTest::newRow("empty place") << "MRTMTT25D09F205Z"
                                 << "" << wrong;
    QTest::newRow("place of 5") << "MRTMTT25D09F205Z"
                                << "F205 " << wrong;
    QTest::newRow("letters in the place digits") << "MRTMTT25D09F20RU" << kMilan << wrong;

    QTest::newRow("other check letter") << "MRTMTT25D09F205A" << kMilan << warning;
    QTest::newRow("digit as check") << "MRTMTT25D09F2059" << kMilan << warning;
    QTest::newRow("blank as check") << "MRTMTT25D09F205 " << kMilan << warning;

    // Characters without a value never reach the tables.
    QTest::newRow("symbol") << "MRTMT*25D09F205Z" << kMilan << wrong;
    QTest::newRow("accented letter") << "MRTMT\u00C025D09F205Z" << kMilan << wrong;
    QTest::newRow("sharp s") << "MRTMT\u00DF25D09F205Z" << kMilan << wrong;
}

void TestTaxCode::answers() {
    QFETCH(QString, code);
    QFETCH(QString, place);
    QFETCH(QString, answer);
    QCOMPARE(CheckTaxCode(code, place), answer);
}

void TestTaxCode::digitsAndTheirLettersGiveTheSameCheckCharacter_data() {
    QTest::addColumn<QString>("code");
    QTest::newRow("worked example") << "MRTMTT25D09F205Z";
    QTest::newRow("rome") << "RSSMRA80A01H501U";
    QTest::newRow("woman") << "BNCLRA85T52F205E";
}

// Each digit d among the first 15 characters, replaced by the d-th letter (0 by A, 9 by J),
// keeps the check character; the place code follows the replacement so that only the check
// character decides between "Corretto" and "Warning".
void TestTaxCode::digitsAndTheirLettersGiveTheSameCheckCharacter() {
    QFETCH(QString, code);
    for (qsizetype i = 0; i < 15; ++i) {
        if (!code[i].isDigit())
            continue;
        QString replaced = code;
        replaced[i] = QChar(u'A' + (code[i].unicode() - u'0'));
        QCOMPARE(CheckTaxCode(replaced, replaced.mid(11, 4)), kTaxCodeCorrect.toString());
    }
    QString allLetters = code;
    for (qsizetype i = 0; i < 15; ++i) {
        if (allLetters[i].isDigit())
            allLetters[i] = QChar(u'A' + (allLetters[i].unicode() - u'0'));
    }
    QCOMPARE(CheckTaxCode(allLetters, allLetters.mid(11, 4)), kTaxCodeCorrect.toString());
}

QTEST_GUILESS_MAIN(TestTaxCode)
#include "tst_taxcode.moc"
