#include "core/dates.h"

#include <QTest>

using namespace velmora;

class TestDates : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dates();
};

// Whether a text is a real day (parseDate), and whether the request and subject checks refuse
// it (dateFails: also a day after today).
void TestDates::dates() {
    const QDateTime now(QDate(2010, 3, 15), QTime(9, 32));
    const std::tuple<const char*, bool, bool> cases[] = {
        {"29/02/2000", true, false}, {"29/02/2001", false, true}, {"31/04/2000", false, true},
        {"32/01/2000", false, true}, {"01/13/2000", false, true}, {"+1/01/2000", false, true},
        {"12/03/20__", false, true}, {"", false, true},           {"13012000", false, true},
        {"1/3/2000/0", false, true}, {"15/03/2010", true, false}, {"16/03/2010", true, true},
        {"31/12/9999", true, true},  {"01/01/0099", false, true}, {"01/01/0100", true, false},
    };
    for (const auto& [text, isDate, fails] : cases) {
        QVERIFY2(parseDate(QString(text)).has_value() == isDate, text);
        QVERIFY2(dateFails(QString(text), now) == fails, text);
    }
}

QTEST_GUILESS_MAIN(TestDates)
#include "tst_dates.moc"
