#include "checks/desktop.h"
#include "checks/keyfilter.h"
#include "support/recorders.h"

#include <QDir>
#include <QTest>

using namespace velmora;

class TestSharedProcedures : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void upperCaseKey_data();
    void upperCaseKey();
    void desktopPathOnlyWhenTheFolderExists();
};

void TestSharedProcedures::upperCaseKey_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::newRow("a") << 97 << 65;
    QTest::newRow("z") << 122 << 90;
    QTest::newRow("backquote") << 96 << 96;
    QTest::newRow("open brace") << 123 << 123;
    QTest::newRow("A") << 65 << 65;
    QTest::newRow("a grave") << 224 << 224;
    QTest::newRow("backspace") << 8 << 8;
}

void TestSharedProcedures::upperCaseKey() {
    QFETCH(int, key);
    QFETCH(int, result);
    QCOMPARE(UpperCaseKey(key), result);
}

namespace {

// Sets an environment variable for one test and puts the old value (or its absence) back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const QString& value)
        : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), previous_(qgetenv(name)) {
        qputenv(name, QFile::encodeName(value));
    }
    ~ScopedEnvironment() {
        if (wasSet_)
            qputenv(name_, previous_);
        else
            qunsetenv(name_);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    bool wasSet_;
    QByteArray previous_;
};

} // namespace

void TestSharedProcedures::desktopPathOnlyWhenTheFolderExists() {
#ifndef Q_OS_UNIX
    QSKIP("the desktop folder follows HOME only on Unix");
#endif
    test::ScratchFolder home;
    const ScopedEnvironment homeVariable("HOME", home.path());
    const ScopedEnvironment configVariable("XDG_CONFIG_HOME", home.path(QStringLiteral(".config")));

    QCOMPARE(GetDesktopPath(), QString());
    QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Desktop")));
    QCOMPARE(GetDesktopPath(), home.path(QStringLiteral("Desktop")));
}

QTEST_GUILESS_MAIN(TestSharedProcedures)
#include "tst_sharedprocedures.moc"
