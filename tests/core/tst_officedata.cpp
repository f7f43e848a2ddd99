#include "core/officedata.h"

#include <QTest>

using namespace velmora;
using Field = MissingOfficeData::Field;

class TestOfficeData : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstEmptyValueIsAskedFor();
};

void TestOfficeData::firstEmptyValueIsAskedFor() {
    // Type, seat, purpose; the field asked for (-1: nothing missing) and its message.
    const struct {
        const char* type;
        const char* seat;
        const char* purpose;
        int field;
        QString message;
    } cases[] = {
        {"PROCURA", "ROMA", "LAVORO", -1, {}},
        {"", "", "", int(Field::OfficeType), QStringLiteral("Inserire la tipologia di ufficio")},
        {"PROCURA", "", "", int(Field::OfficeSeat),
         QStringLiteral("Inserire il comune sede dell'ufficio")},
        {"PROCURA", "ROMA", "", int(Field::Purpose), QStringLiteral("Inserire la finalit\u00E0")},
        {" ", " ", " ", -1, {}}, // a blank is a value
    };
    for (const auto& c : cases) {
        const auto missing = missingOfficeData({c.type, c.seat, c.purpose});
        QCOMPARE(missing ? int(missing->field) : -1, c.field);
        QCOMPARE(missing ? missing->message : QString(), c.message);
    }
}

QTEST_GUILESS_MAIN(TestOfficeData)
#include "tst_officedata.moc"
