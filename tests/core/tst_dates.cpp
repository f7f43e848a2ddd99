#include "core/dates.h"

#include <QTest>

using namespace velmora;

class TestDates : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dates_data();
    void dates();
};

// Whether a text is a real day (parseDate), and whether the request and subject checks refuse
// it (dateFails: also a day after today).
void TestDates::dates_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isDate");
    QTest::addColumn<bool>("fails");
    const std::tuple<const char*, const char*, bool, bool> rows[] = {
        {"leap day", "29/02/2000", true, false},
        {"no leap day", "29/02/2001", false, true},
        {"31 April", "31/04/2000", false, true},
        {"day 32", "32/01/2000", false, true},
        {"month first", "01/13/2000", false, true},
        {"sign in the day", "+1/01/2000", false, true},
        {"half typed", "12/03/20__", false, true},
        {"reset field", "", false, true},
        {"no slashes", "13012000", false, true},
        {"slashes elsewhere", "1/3/2000/0", false, true},
        {"today", "15/03/2010", true, false},
        {"tomorrow", "16/03/2010", true, true},
        {"year 9999", "31/12/9999", true, true},
        {"year 0099", "01/01/0099", false, true},
        {"year 0100", "01/01/0100", true, false},
    };
    for (const auto& [name, text, isDate, fails] : rows)
        QTest::newRow(name) << QString(text) << isDate << fails;
}

void TestDates::dates() {
    QFETCH(QString, text);
    const QDateTime now(QDate(2010, 3, 15), QTime(9, 32));
    QTEST(parseDate(text).has_value(), "isDate");
    QTEST(dateFails(text, now), "fails");
}

QTEST_GUILESS_MAIN(TestDates)
#include "tst_dates.moc"
