#include "core/paths.h"
#include "support/recorders.h"

#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

class TestPaths : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // What the current folder holds, XDG_DATA_HOME, and the folder chosen ("." the current one).
    void workFolder() {
        const std::tuple<QString, QString, QString> cases[] = {
            {"ref/", "/xdg", "."},
            {"ref", "", "/home/ana/.local/share/velmora"}, // a file named ref
            {"docs/", "/xdg/", "/xdg/velmora"},
            {"", "xdg", "/home/ana/.local/share/velmora"}, // a relative XDG_DATA_HOME
        };
        for (const auto& [made, xdgDataHome, expected] : cases) {
            const QTemporaryDir current;
            if (made.endsWith(u'/'))
                QVERIFY(QDir(current.path()).mkpath(made));
            else if (!made.isEmpty())
                QVERIFY(QFile(current.filePath(made)).open(QIODevice::WriteOnly));
            QCOMPARE(
                chooseWorkFolder(current.path() + u'/', xdgWorkFolder(xdgDataHome, "/home/ana")),
                expected == u"." ? current.path() : expected);
        }
    }

    // The working folder's form first, then the installed one, else named in the working one.
    void dataFile() {
        const QTemporaryDir root; // an unpacked package: bin/ beside share/velmora/
        const DataFolders folders{root.filePath("work"), installedDataFolder(root.filePath("bin"))};
        QCOMPARE(folders.installed, root.filePath("share/velmora"));
        const QString own = folders.work + u'/' + kFormTemplate.toString();
        const QString shipped = folders.installed + u'/' + kFormTemplate.toString();
        QCOMPARE(folders.dataFile(kFormTemplate), own);
        QVERIFY(QDir().mkpath(QFileInfo(shipped).path()) && QDir().mkpath(QFileInfo(own).path()));
        test::writeBytes(shipped, {});
        QCOMPARE(folders.dataFile(kFormTemplate), shipped);
        test::writeBytes(own, {});
        QCOMPARE(folders.dataFile(kFormTemplate), own);
        QCOMPARE(folders.workFile(kConfigFile), folders.work + u'/' + kConfigFile.toString());
    }

    // A new folder's name names one folder, in the folder shown: no path, no way up.
    void folderName() {
        for (const char16_t* refused : {u"", u".", u"..", u"a/b", u"a\\b", u"/lotti"})
            QVERIFY2(!isFolderName(refused), qPrintable(QString::fromUtf16(refused)));
        QVERIFY(isFolderName(u"lotti 2026") && isFolderName(u"...") && isFolderName(u".lotti"));
    }
};

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
