#include "core/paths.h"

#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

class TestPaths : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void workFolder();
    void dataFile_data();
    void dataFile();
};

void TestPaths::workFolder() {
    // What the current folder holds, XDG_DATA_HOME, and the folder chosen ("." the current one).
    const struct {
        const char* made;
        const char* xdgDataHome;
        const char* expected;
    } cases[] = {
        {"ref/", "/xdg", "."},
        {"ref", "", "/home/ana/.local/share/velmora"}, // a file named ref
        {"docs/", "/xdg/", "/xdg/velmora"},
        {"", "", "/home/ana/.local/share/velmora"},
        {"", "xdg", "/home/ana/.local/share/velmora"}, // a relative XDG_DATA_HOME
    };
    for (const auto& c : cases) {
        const QTemporaryDir current;
        const QString made = QString::fromLatin1(c.made);
        if (made.endsWith(u'/'))
            QVERIFY(QDir(current.path()).mkpath(made));
        else if (!made.isEmpty())
            QVERIFY(QFile(current.filePath(made)).open(QIODevice::WriteOnly));
        const QString expected = QString::fromLatin1(c.expected);
        QCOMPARE(chooseWorkFolder(current.path() + u'/', QString::fromLatin1(c.xdgDataHome),
                                  QStringLiteral("/home/ana")),
                 expected == u"." ? current.path() : expected);
    }
}

void TestPaths::dataFile_data() {
    QTest::addColumn<bool>("inWork");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("fromInstalled");
    QTest::newRow("the office's own first") << true << true << false;
    QTest::newRow("the installed one") << false << true << true;
    QTest::newRow("neither: named in the working folder") << false << false << false;
}

void TestPaths::dataFile() {
    QFETCH(bool, inWork);
    QFETCH(bool, installed);
    QFETCH(bool, fromInstalled);
    const QTemporaryDir root;
    // An unpacked package: bin/ beside share/velmora/.
    const DataFolders folders{root.filePath(QStringLiteral("work")),
                              installedDataFolder(root.filePath(QStringLiteral("bin")))};
    QCOMPARE(folders.installed, root.filePath(QStringLiteral("share/velmora")));
    for (const auto& [present, folder] :
         {std::pair{inWork, folders.work}, std::pair{installed, folders.installed}}) {
        QVERIFY(QDir(folder).mkpath(QStringLiteral("ref")));
        if (present)
            QVERIFY(
                QFile(QDir(folder).filePath(kFormTemplate.toString())).open(QIODevice::WriteOnly));
    }
    const QString expected =
        (fromInstalled ? folders.installed : folders.work) + u'/' + kFormTemplate.toString();
    QCOMPARE(folders.dataFile(kFormTemplate), expected);
    QCOMPARE(folders.workFile(kConfigFile), folders.work + u'/' + kConfigFile.toString());
}

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
