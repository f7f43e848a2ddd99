#include "core/officedata.h"

#include <QTest>

using namespace velmora;
using Field = MissingOfficeData::Field;

class TestOfficeData : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Type, seat, purpose; the field asked for (-1: nothing missing) and its message.
    void firstEmptyValueIsAskedFor() {
        const std::tuple<const char*, const char*, const char*, int, QString> cases[] = {
            {"", "", "", int(Field::OfficeType), "Inserire la tipologia di ufficio"},
            {"PROCURA", "", "", int(Field::OfficeSeat), "Inserire il comune sede dell'ufficio"},
            {"PROCURA", "ROMA", "", int(Field::Purpose), "Inserire la finalit\u00E0"},
            {" ", " ", " ", -1, {}}, // a blank is a value: nothing is missing
        };
        for (const auto& [type, seat, purpose, field, message] : cases) {
            const auto missing = missingOfficeData({type, seat, purpose});
            QCOMPARE(missing ? int(missing->field) : -1, field);
            QCOMPARE(missing ? missing->message : QString(), message);
        }
    }
};

QTEST_GUILESS_MAIN(TestOfficeData)
#include "tst_officedata.moc"
