#include "core/subjects/personcode.h"

#include "core/subjects/record.h"
#include "core/subjects/referencetable.h"
#include "core/subjects/taxcode.h"

#include <algorithm>
#include <array>

namespace velmora {
namespace {

constexpr QStringView kMonthLetters = u"ABCDEHLMPRST";
constexpr int kWomanDayOffset = 40;
using CodeBuffer = std::array<char16_t, record::kTaxCodeLength>;

// Where the parts of a code stand: start and length.
struct Part {
    qsizetype start;
    qsizetype length;
    const char* name;
};
constexpr std::array<Part, 7> kParts = {{{0, 3, "cognome"},
                                         {3, 3, "nome"},
                                         {6, 2, "anno di nascita"},
                                         {8, 1, "mese di nascita"},
                                         {9, 2, "giorno di nascita o sesso"},
                                         {11, 4, "luogo di nascita"},
                                         {15, 1, "carattere di controllo"}}};
// The characters that may be letters standing in for digits: 7, 8, 10, 11, 13, 14 and 15, as
// bits by their index.
constexpr unsigned kDigitPlaces =
    1u << 6 | 1u << 7 | 1u << 9 | 1u << 10 | 1u << 12 | 1u << 13 | 1u << 14;
// The digit each capital stands in for, or -1.
constexpr std::array<int, 26> kOmocodeDigits = [] {
    std::array<int, 26> digits{};
    digits.fill(-1);
    for (qsizetype digit = 0; digit < kOmocodeLetters.size(); ++digit)
        digits[kOmocodeLetters[digit].unicode() - u'A'] = int(digit);
    return digits;
}();

bool isVowel(char16_t c) {
    return c == u'A' || c == u'E' || c == u'I' || c == u'O' || c == u'U';
}

char16_t upperAscii(QChar c) {
    return c >= u'a' && c <= u'z' ? char16_t(c.unicode() - 32) : c.unicode();
}

// Three letters of a surname, or of a name when `isName`, into `out`. Of the text only the
// letters count, in capitals; a letter with a mark counts as its base letter. Plain ASCII, the
// usual name, is read as it stands; anything else is decomposed first.
void threeLetters(QStringView text, bool isName, char16_t* out) {
    const bool ascii =
        std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    QString decomposed;
    if (!ascii) {
        decomposed = text.toString().normalized(QString::NormalizationForm_D).toUpper();
        text = decomposed;
    }
    std::array<char16_t, 4> consonants{};
    std::array<char16_t, 3> vowels{};
    qsizetype consonantCount = 0;
    qsizetype vowelCount = 0;
    for (const QChar c : text) {
        const char16_t letter = upperAscii(c);
        if (letter < u'A' || letter > u'Z')
            continue;
        if (isVowel(letter)) {
            if (vowelCount < qsizetype(vowels.size()))
                vowels[vowelCount++] = letter;
        } else if (consonantCount < qsizetype(consonants.size())) {
            consonants[consonantCount++] = letter;
        } else {
            break; // a fifth consonant changes nothing
        }
    }
    if (isName && consonantCount == 4) {
        out[0] = consonants[0];
        out[1] = consonants[2];
        out[2] = consonants[3];
        return;
    }
    qsizetype at = 0;
    for (qsizetype i = 0; i < consonantCount && at < 3; ++i)
        out[at++] = consonants[i];
    for (qsizetype i = 0; i < vowelCount && at < 3; ++i)
        out[at++] = vowels[i];
    while (at < 3)
        out[at++] = u'X';
}

// A letter to compose from, an accented one included.
bool hasLetter(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_D).toUpper();
    return std::any_of(decomposed.cbegin(), decomposed.cend(),
                       [](QChar c) { return c >= u'A' && c <= u'Z'; });
}

void twoDigits(int number, char16_t* out) {
    out[0] = char16_t(u'0' + number / 10);
    out[1] = char16_t(u'0' + number % 10);
}

// The person's code into `code`; false when a value needed is missing or wrong.
bool compose(QStringView surname, QStringView name, QStringView sex, QDate born, QStringView place,
             CodeBuffer& code) {
    if ((sex != u"M" && sex != u"F") || !born.isValid() || !isPlaceCode(place))
        return false;
    threeLetters(surname, false, code.data());
    threeLetters(name, true, code.data() + 3);
    int year = 0;
    int month = 0;
    int day = 0;
    born.getDate(&year, &month, &day); // one reading of the calendar, not three
    twoDigits(year % 100, code.data() + 6);
    code[8] = kMonthLetters[month - 1].unicode();
    twoDigits(day + (sex == u"F" ? kWomanDayOffset : 0), code.data() + 9);
    for (qsizetype i = 0; i < place.size(); ++i)
        code[11 + i] = place[i].unicode();
    code[15] = taxCodeCheckCharacter(QStringView(code.data(), 15))->unicode();
    return true;
}

bool isAlphanumeric(QStringView code) {
    return std::all_of(code.cbegin(), code.cend(), [](QChar c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
    });
}

// Character `at` of a well-formed code in capitals, a letter standing in for a digit read as it.
char16_t plainCharacter(QStringView code, qsizetype at) {
    const char16_t c = upperAscii(code[at]);
    if ((kDigitPlaces >> at & 1u) == 0 || c < u'A' || c > u'Z')
        return c;
    const int digit = kOmocodeDigits[c - u'A'];
    return digit >= 0 ? char16_t(u'0' + digit) : c;
}

} // namespace

Result<QString> computeTaxCode(const CodePerson& person) {
    CodeBuffer code{};
    if (compose(person.surname, person.name, person.sex, person.birthDate, person.placeCode,
                code) &&
        hasLetter(person.surname) && hasLetter(person.name))
        return QString(reinterpret_cast<const QChar*>(code.data()), qsizetype(code.size()));
    QStringList missing;
    if (!hasLetter(person.surname))
        missing << QStringLiteral("cognome");
    if (!hasLetter(person.name))
        missing << QStringLiteral("nome");
    if (person.sex != u"M" && person.sex != u"F")
        missing << QStringLiteral("sesso");
    if (!person.birthDate.isValid())
        missing << QStringLiteral("data di nascita");
    if (!isPlaceCode(person.placeCode))
        missing << QStringLiteral("luogo di nascita");
    return Failure{QStringLiteral("Per calcolare il codice fiscale mancano: %1")
                       .arg(missing.join(QStringLiteral(", ")))};
}

Result<DecodedTaxCode> decodeTaxCode(QStringView code, QDate today) {
    const auto invalid = [&] {
        return Failure{
            QStringLiteral("Il codice fiscale %1 non \u00E8 valido").arg(code.toString())};
    };
    if (code.size() != record::kTaxCodeLength || !isAlphanumeric(code))
        return invalid();
    QString plain(record::kTaxCodeLength, Qt::Uninitialized);
    for (qsizetype at = 0; at < plain.size(); ++at)
        plain[at] = QChar(plainCharacter(code, at));
    bool yearRead = false;
    bool dayRead = false;
    const int year = plain.mid(6, 2).toInt(&yearRead);
    int day = plain.mid(9, 2).toInt(&dayRead);
    const qsizetype month = kMonthLetters.indexOf(plain[8]);
    const QString place = plain.mid(11, 4);
    if (!yearRead || !dayRead || month < 0 || !isPlaceCode(place))
        return invalid();
    DecodedTaxCode decoded;
    decoded.sex = day > kWomanDayOffset ? QStringLiteral("F") : QStringLiteral("M");
    if (day > kWomanDayOffset)
        day -= kWomanDayOffset;
    // The latest century that does not put the birth after today.
    int fullYear = today.year() - today.year() % 100 + year;
    if (fullYear > today.year())
        fullYear -= 100;
    decoded.birthDate = QDate(fullYear, int(month) + 1, day);
    if (decoded.birthDate > today)
        decoded.birthDate = QDate(fullYear - 100, int(month) + 1, day);
    if (!decoded.birthDate.isValid())
        return invalid();
    decoded.placeCode = place;
    return decoded;
}

QStringList taxCodeDifferences(QStringView code, const CodePerson& person) {
    return taxCodeDifferences(code, person.surname, person.name, person.sex, person.birthDate,
                              person.placeCode);
}

QStringList taxCodeDifferences(QStringView code, QStringView surname, QStringView name,
                               QStringView sex, QDate born, QStringView place) {
    CodeBuffer expected{};
    if (!compose(surname, name, sex, born, place, expected))
        return {};
    // The usual row: the code as composed, whatever its case.
    if (code.size() == record::kTaxCodeLength &&
        std::equal(expected.cbegin(), expected.cend(), code.cbegin(),
                   [](char16_t want, QChar c) { return upperAscii(c) == want; }))
        return {};
    const bool wellFormed = code.size() == record::kTaxCodeLength && isAlphanumeric(code);
    QStringList differences;
    for (const Part& part : kParts) {
        bool same = wellFormed;
        if (same && part.start == record::kTaxCodeLength - 1)
            same = taxCodeCheckCharacter(code) == QChar(upperAscii(code.back()));
        for (qsizetype at = part.start;
             same && at < part.start + part.length && part.start < record::kTaxCodeLength - 1; ++at)
            same = plainCharacter(code, at) == expected[at];
        if (!same)
            differences << QString::fromLatin1(part.name);
    }
    return differences;
}

} // namespace velmora
