#include "core/keyfilter.h"
#include "gui/desktop.h"
#include "support/recorders.h"

#include <QDir>
#include <QScopeGuard>
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
    for (const auto& [name, key, result] : {std::tuple{"a", 97, 65},
                                            {"z", 122, 90},
                                            {"backquote", 96, 96},
                                            {"open brace", 123, 123},
                                            {"A", 65, 65},
                                            {"a grave", 224, 224},
                                            {"backspace", 8, 8}})
        QTest::newRow(name) << key << result;
}

void TestSharedProcedures::upperCaseKey() {
    QFETCH(int, key);
    QFETCH(int, result);
    QCOMPARE(UpperCaseKey(key), result);
}

void TestSharedProcedures::desktopPathOnlyWhenTheFolderExists() {
#ifndef Q_OS_UNIX
    QSKIP("the desktop folder follows HOME only on Unix");
#endif
    test::ScratchFolder home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", oldHome);
        qputenv("XDG_CONFIG_HOME", oldConfig);
    });
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path(QStringLiteral(".config"))));

    QCOMPARE(GetDesktopPath(), QString());
    QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Desktop")));
    QCOMPARE(GetDesktopPath(), home.path(QStringLiteral("Desktop")));
}

QTEST_GUILESS_MAIN(TestSharedProcedures)
#include "tst_sharedprocedures.moc"
