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
        QTest::newRow("no file") << QStringList{} << false << -1 << false;
        QTest::newRow("short") << QStringList{"UFF", "ROMA", "LAVORO"} << true << -1 << false;
        QTest::newRow("no purpose") << QStringList{"UFF", "ROMA", "", ""} << false << -1 << true;
        const QStringList office{"UFF", "ROMA", "LAVORO"};
        QTest::newRow("no type") << office + QStringList{""} << true << -1 << true;
        QTest::newRow("5") << office + QStringList{"5"} << true << -1 << false;
        QTest::newRow("-1") << office + QStringList{"-1"} << true << -1 << false;
        QTest::newRow("x") << office + QStringList{"x"} << true << -1 << false;
        QTest::newRow(" 2") << office + QStringList{" 2"} << true << 2 << true;
        QTest::newRow("0") << office + QStringList{"0"} << true << 0 << true;
        QTest::newRow(" 4") << office + QStringList{" 4"} << true << 4 << true;
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

    // The office type typed replaces the program-wide one "UFFICIO" when it differs and has
    // two characters at least.
    void officeType_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("taken");
        QTest::newRow("one letter") << "A" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("two letters") << "AB" << true;
        QTest::newRow("the same") << "UFFICIO" << false;
    }

    void officeType() {
        QFETCH(QString, typed);
        QFETCH(bool, taken);
        QCOMPARE(takesOfficeType(typed, QStringLiteral("UFFICIO")), taken);
    }

    void listPositionAfterTheSign() { QCOMPARE(certTypeFromList(2), QStringLiteral(" 2")); }
};

QTEST_GUILESS_MAIN(TestRequest)
#include "tst_request.moc"
