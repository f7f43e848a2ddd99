#include "core/paths.h"

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
            QCOMPARE(chooseWorkFolder(current.path() + u'/', xdgDataHome, "/home/ana"),
                     expected == u"." ? current.path() : expected);
        }
    }

    // Whether the working and the installed folder hold the form, and which one is named.
    void dataFile() {
        for (const auto& [inWork, installed, fromInstalled] :
             {std::tuple{true, true, false}, {false, true, true}, {false, false, false}}) {
            const QTemporaryDir root; // an unpacked package: bin/ beside share/velmora/
            const DataFolders folders{root.filePath("work"),
                                      installedDataFolder(root.filePath("bin"))};
            QCOMPARE(folders.installed, root.filePath("share/velmora"));
            for (const auto& [present, folder] :
                 {std::pair{inWork, folders.work}, std::pair{installed, folders.installed}}) {
                QVERIFY(QDir(folder).mkpath("ref"));
                if (present)
                    QVERIFY(QFile(QDir(folder).filePath(kFormTemplate.toString()))
                                .open(QIODevice::WriteOnly));
            }
            QCOMPARE(folders.dataFile(kFormTemplate),
                     (fromInstalled ? folders.installed : folders.work) + u'/' +
                         kFormTemplate.toString());
            QCOMPARE(folders.workFile(kConfigFile), folders.work + u'/' + kConfigFile.toString());
        }
    }
};

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
