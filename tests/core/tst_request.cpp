#include "core/request/request.h"

#include <QTest>

using namespace velmora;

Q_DECLARE_METATYPE(velmora::ConfigRead)

class TestRequest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startup_data();
    void startup();
    void upperCaseKey();
    void officeTypeWriteBack();
};

void TestRequest::startup_data() {
    QTest::addColumn<ConfigRead>("read");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("showMain");
    QTest::addColumn<int>("certPosition");
    QTest::addColumn<bool>("fillPurpose");
    QTest::addColumn<QString>("officeType");

    const auto row = [](const char* name, ConfigRead read, QStringList lines, bool showMain,
                        int position, bool fill) {
        const QString type = read == ConfigRead::Unreadable ? QString() : lines.value(0);
        QTest::newRow(name) << read << lines << showMain << position << fill << type;
    };
    row("no file", ConfigRead::Unreadable, {}, false, -1, false);
    row("four lines, no type", ConfigRead::Complete, {"UFF", "ROMA", "LAVORO", ""}, true, -1, true);
    row("empty purpose", ConfigRead::Complete, {"UFF", "ROMA", "", ""}, false, -1, true);
    row("line 4 past the list", ConfigRead::Complete, {"UFF", "ROMA", "LAVORO", "7"}, true, -1,
        false);
    row("line 4 not a number", ConfigRead::Complete, {"UFF", "ROMA", "LAVORO", "x"}, true, -1,
        false);
    row("line 4 from the list", ConfigRead::Complete, {"UFF", "ROMA", "LAVORO", " 2"}, true, 2,
        true);
    row("line 4 from Crea File", ConfigRead::Complete, {"UFF", "ROMA", "LAVORO", "2"}, true, 2,
        true);
    row("line 4 first of the list", ConfigRead::Complete, {"UFF", "ROMA", "LAVORO", "0"}, true, 0,
        true);
    row("line 4 last of the list", ConfigRead::Complete, {"UFF", "ROMA", "LAVORO", " 4"}, true, 4,
        true);
    row("three lines", ConfigRead::Short, {"UFF", "ROMA", "LAVORO"}, true, -1, false);
}

void TestRequest::startup() {
    QFETCH(ConfigRead, read);
    QFETCH(QStringList, lines);
    Config config;
    readConfigLines(lines, config);
    const StartupPlan plan = planStartup(read, config);
    QTEST(plan.showMainWindow, "showMain");
    QTEST(plan.certPosition, "certPosition");
    QTEST(plan.fillPurpose, "fillPurpose");
    QTEST(plan.officeType, "officeType");
}

// Only a to z move; the codes beside them and accented letters stay.
void TestRequest::upperCaseKey() {
    for (const auto& [key, result] :
         {std::pair{'a', 'A'}, {'z', 'Z'}, {'`', '`'}, {'{', '{'}, {'A', 'A'}, {'\b', '\b'}})
        QCOMPARE(UpperCaseKey(key), int(result));
    QCOMPARE(UpperCaseKey(224), 224);
}

void TestRequest::officeTypeWriteBack() {
    QVERIFY(!takesOfficeType(QStringLiteral("A"), QStringLiteral("UFFICIO")));
    QVERIFY(!takesOfficeType(QString(), QStringLiteral("UFFICIO")));
    QVERIFY(takesOfficeType(QStringLiteral("AB"), QStringLiteral("UFFICIO")));
    QVERIFY(!takesOfficeType(QStringLiteral("UFFICIO"), QStringLiteral("UFFICIO")));
    QCOMPARE(certTypeFromList(2), QStringLiteral(" 2"));
}

QTEST_GUILESS_MAIN(TestRequest)
#include "tst_request.moc"
