#include "core/request/request.h"

#include <QTest>

using namespace velmora;

class TestRequest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The lines of config.ini (none: no file; three: a short one; " 2" as the list writes it)
    // and the plan: main window shown, position in the type list, purpose filled.
    void startup_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("showMain");
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("fill");
        QTest::newRow("no file") << QStringList() << false << -1 << false;
        QTest::newRow("short") << QStringList{"UFF", "ROMA", "LAVORO"} << true << -1 << false;
        QTest::newRow("no purpose") << QStringList{"UFF", "ROMA", "", ""} << false << -1 << true;
        QTest::newRow("no type") << QStringList{"UFF", "ROMA", "LAVORO", ""} << true << -1 << true;
        for (const char* type : {"5", "-1", "x"})
            QTest::newRow(type) << QStringList{"UFF", "ROMA", "LAVORO", type} << true << -1
                                << false;
        QTest::newRow("from the list") << QStringList{"UFF", "ROMA", "LAVORO", " 2"} << true << 2
                                       << true;
        QTest::newRow("stored") << QStringList{"UFF", "ROMA", "LAVORO", "0"} << true << 0 << true;
        QTest::newRow("last") << QStringList{"UFF", "ROMA", "LAVORO", " 4"} << true << 4 << true;
    }
    void startup() {
        QFETCH(QStringList, lines);
        QFETCH(bool, showMain);
        QFETCH(int, position);
        QFETCH(bool, fill);
        Config config;
        readConfigLines(lines, config);
        const StartupPlan plan = planStartup(lines.isEmpty()     ? ConfigRead::Unreadable
                                             : lines.size() == 3 ? ConfigRead::Short
                                                                 : ConfigRead::Complete,
                                             config);
        QCOMPARE(std::tuple(plan.showMainWindow, plan.request.certificateType, plan.request.purpose,
                            plan.officeType),
                 std::tuple(showMain, position, fill ? lines.value(2) : QString(), lines.value(0)));
    }

    // Only a to z move; the codes beside them and accented letters stay.
    void upperCaseKeyAndOfficeType() {
        for (const auto& [key, result] :
             {std::pair<int, int>{'a', 'A'}, {'z', 'Z'}, {'`', '`'}, {'{', '{'}, {224, 224}})
            QCOMPARE(UpperCaseKey(key), result);
        for (const auto& [typed, taken] :
             {std::pair{"A", false}, {"", false}, {"AB", true}, {"UFFICIO", false}})
            QCOMPARE(takesOfficeType(QString::fromLatin1(typed), QStringLiteral("UFFICIO")), taken);
        QCOMPARE(certTypeFromList(2), QStringLiteral(" 2"));
    }
};

QTEST_GUILESS_MAIN(TestRequest)
#include "tst_request.moc"
