#include "core/officedata.h"

#include <QTest>

using namespace velmora;
using Field = MissingOfficeData::Field;

class TestOfficeData : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstEmptyValueIsAskedFor_data();
    void firstEmptyValueIsAskedFor();
};

void TestOfficeData::firstEmptyValueIsAskedFor_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("seat");
    QTest::addColumn<QString>("purpose");
    QTest::addColumn<int>("field"); // -1: nothing missing
    QTest::addColumn<QString>("message");
    QTest::newRow("all given") << "PROCURA"
                               << "ROMA"
                               << "LAVORO" << -1 << "";
    QTest::newRow("all empty") << ""
                               << ""
                               << "" << int(Field::OfficeType)
                               << "Inserire la tipologia di ufficio";
    QTest::newRow("seat and purpose empty")
        << "PROCURA"
        << ""
        << "" << int(Field::OfficeSeat) << "Inserire il comune sede dell'ufficio";
    QTest::newRow("purpose empty") << "PROCURA"
                                   << "ROMA"
                                   << "" << int(Field::Purpose) << "Inserire la finalit\u00E0";
    QTest::newRow("a blank is a value") << " "
                                        << " "
                                        << " " << -1 << "";
}

void TestOfficeData::firstEmptyValueIsAskedFor() {
    QFETCH(QString, type);
    QFETCH(QString, seat);
    QFETCH(QString, purpose);
    QFETCH(int, field);
    const auto missing = missingOfficeData({type, seat, purpose});
    QCOMPARE(missing.has_value(), field >= 0);
    if (!missing)
        return;
    QCOMPARE(int(missing->field), field);
    QTEST(missing->message, "message");
}

QTEST_GUILESS_MAIN(TestOfficeData)
#include "tst_officedata.moc"
