#include "core/files/filewriter.h"
#include "core/text/textfile.h"
#include "support/recorders.h"

#include <QDir>
#include <QTest>
#include <cerrno>
#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

using namespace velmora;

static const QByteArray kEarlier = "EARLIER\r\n";

// What the folder holds, hidden entries included: a temporary file left behind shows here.
static QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The calls of the real writer, except that each write takes at most 3 bytes and call number
// `failAt` (each file's writes, its sync, then the renames) fails with `error`.
static WriteCalls failingCalls(int failAt, int error, int& calls) {
    WriteCalls real = systemWriteCalls();
    const auto fails = [=, &calls] { return ++calls == failAt ? (errno = error, true) : false; };
    return {
        [=](int fd, const char* data, qint64 size) -> qint64 {
            return fails() ? -1 : real.write(fd, data, std::min<qint64>(size, 3));
        },
        [=](int fd) { return fails() ? -1 : real.sync(fd); },
        [=](const QString& from, const QString& to) { return !fails() && real.rename(from, to); },
        4};
}

#ifdef Q_OS_LINUX
// A small file system of its own, mounted for the test; only root may.
struct SmallDisk {
    bool mount(unsigned long flags) const {
        return ::mount("tmpfs", at.constData(), "tmpfs", flags, "size=64k") == 0;
    }
    ~SmallDisk() {
        if (mounted)
            ::umount2(at.constData(), MNT_DETACH);
    }
    QTemporaryDir dir;
    QByteArray at = QFile::encodeName(dir.path());
    bool mounted = ::geteuid() == 0 && mount(0);
};
#endif

class TestFileWriter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // 12 bytes in writes of 3: calls 1 to 4 write, call 5 is the sync; 0 fails nothing.
    void aFailedWriteOrSyncLeavesTheEarlierFile_data() {
        QTest::addColumn<int>("failAt");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");
        const QString full = QStringLiteral("spazio esaurito sul disco");
        QTest::newRow("none fails") << 0 << 0 << QString();
        QTest::newRow("first write") << 1 << ENOSPC << full;
        QTest::newRow("last write") << 4 << ENOSPC << full;
        QTest::newRow("sync") << 5 << ENOSPC << full;
        QTest::newRow("device") << 2 << EIO << "errore di lettura o scrittura del dispositivo";
    }

    void aFailedWriteOrSyncLeavesTheEarlierFile() {
        QFETCH(int, failAt);
        QFETCH(int, error);
        QFETCH(QString, reason);
        test::ScratchFolder folder;
        const QString path = folder.path("config.ini");
        QVERIFY(writeFile(path, kEarlier));
        test::writeBytes(folder.path(".config.ini.tmp-stopped"), {}); // cleared once old
        QVERIFY(test::setModified(folder.path(".config.ini.tmp-stopped"), 3600));
        int calls = 0;
        QCOMPARE(writeFile(path, "0123456789\r\n", failingCalls(failAt, error, calls)).error(),
                 reason.isEmpty() ? QString() : cannotWrite(path, reason));
        QCOMPARE(test::readBytes(path), reason.isEmpty() ? "0123456789\r\n" : kEarlier);
        QCOMPARE(entries(folder.path()), QStringList{"config.ini"});
    }

    void filesWrittenTogetherKeepTheEarlierOnesOnFailure() {
        test::ScratchFolder folder;
        const QString fdf = folder.path("Modulo.fdf");
        const QString pdf = folder.path("Modulo.pdf");
        QVERIFY(writeFiles({{fdf, "FDF 1"}, {pdf, "PDF 1"}}));
        QVERIFY(writeFiles({{fdf, "FDF 2"}, {pdf, "PDF 2"}}));
        QCOMPARE(test::readBytes(fdf) + test::readBytes(pdf), "FDF 2PDF 2");
        // The second name cannot be taken once the first file is in place: the first goes back.
        QVERIFY(QFile::remove(pdf) && QDir(folder.path()).mkdir("Modulo.pdf"));
        QCOMPARE(writeFiles({{fdf, "FDF 3"}, {pdf, "PDF 3"}}).error(),
                 cannotWrite(pdf, "\u00E8 una cartella"));
        QCOMPARE(test::readBytes(fdf), "FDF 2");
        QCOMPARE(entries(folder.path()), (QStringList{"Modulo.fdf", "Modulo.pdf"}));
        // Without an earlier file there is nothing to go back to: nothing stays.
        QVERIFY(QFile::remove(fdf));
        QVERIFY(!writeFiles({{fdf, "FDF 4"}, {pdf, "PDF 4"}}));
        QCOMPARE(entries(folder.path()), QStringList{"Modulo.pdf"});
#ifdef Q_OS_UNIX
        // A link leads to the file that is replaced; the link stays. (Windows' shortcuts are
        // files of their own.)
        QVERIFY(QFile::link(fdf + ".real", fdf));
        QVERIFY(writeFile(fdf, "FDF 5"));
        QVERIFY(QFileInfo(fdf).isSymLink());
        QCOMPARE(test::readBytes(fdf + ".real"), "FDF 5");
#endif
        QCOMPARE(writeFile(folder.path("gone/x.txt"), "X").error(),
                 cannotWrite(folder.path("gone/x.txt"),
                             "la cartella " + QDir::toNativeSeparators(folder.path("gone")) +
                                 " non esiste"));
    }

    // The second rename of a pair fails, or the program is killed before it: the earlier pair
    // is what the folder shows (at once, or once the next pair is written), and nothing hidden
    // stays; a half pair without an earlier one goes.
    void aPairStoppedBetweenItsRenames() {
        test::ScratchFolder folder;
        const QString fdf = folder.path("Modulo.fdf");
        const QString pdf = folder.path("Modulo.pdf");
        QVERIFY(writeFiles({{fdf, "FDF 1"}, {pdf, "PDF 1"}}));
        int calls = 0; // two writes and a sync for each file, then the renames: 8 is the second
        QCOMPARE(writeFiles({{fdf, "FDF 2"}, {pdf, "PDF 2"}}, failingCalls(8, EIO, calls)).error(),
                 cannotWrite(pdf, "errore di lettura o scrittura del dispositivo"));
        QCOMPARE(test::readBytes(fdf) + test::readBytes(pdf), "FDF 1PDF 1");
        QCOMPARE(entries(folder.path()), (QStringList{"Modulo.fdf", "Modulo.pdf"}));
#ifdef Q_OS_UNIX
        const QString other = folder.path("Altro.fdf");
        for (const QByteArray earlier : {"FDF 1PDF 1", ""}) {
            if (const pid_t child = ::fork(); child == 0) {
                WriteCalls killed = systemWriteCalls();
                killed.rename = [renames = 0](const QString& from, const QString& to) mutable {
                    if (++renames == 2)
                        ::kill(::getpid(), SIGKILL);
                    return systemWriteCalls().rename(from, to);
                };
                (void)writeFiles({{fdf, "FDF 2"}, { pdf, "PDF 2" }}, killed);
                ::_exit(0);
            } else {
                int status = 0;
                QVERIFY(::waitpid(child, &status, 0) == child && WIFSIGNALED(status));
            }
            QCOMPARE(test::readBytes(fdf), "FDF 2"); // beside the earlier .pdf, or none
            QVERIFY(writeFiles({{other, "FDF A"}, { other.chopped(3) + "pdf", "PDF A" }}));
            QCOMPARE(test::readBytes(fdf) + test::readBytes(pdf), earlier);
            QCOMPARE(entries(folder.path()).size(), earlier.isEmpty() ? 2 : 4);
            QFile::remove(fdf);
            QFile::remove(pdf);
        }
#endif
    }

    void fullAndReadOnlyFileSystems() {
#ifndef Q_OS_LINUX
        QSKIP("a small file system is mounted only on Linux");
#else
        SmallDisk disk;
        if (!disk.mounted)
            QSKIP("a small file system can only be mounted by root");
        const QString path = disk.dir.filePath("config.ini");
        QVERIFY(writeFile(path, kEarlier));
        test::writeBytes(disk.dir.filePath("filler"), QByteArray(1 << 17, 'x')); // fills it
        // A file smaller than any write buffer: the failure is in the write, and it is told.
        QCOMPARE(writeTextFile(path, "UFFICIO\r\n").error(),
                 cannotWrite(path, "spazio esaurito sul disco"));
        QCOMPARE(test::readBytes(path), kEarlier);
        QVERIFY(disk.mount(MS_REMOUNT | MS_RDONLY));
        QCOMPARE(writeFile(path, "X").error(),
                 cannotWrite(path, "la cartella " + disk.dir.path() +
                                       " non permette di creare il file temporaneo (file "
                                       "system di sola lettura)"));
        QCOMPARE(test::readBytes(path), kEarlier);
#endif
    }
};

QTEST_GUILESS_MAIN(TestFileWriter)
#include "tst_filewriter.moc"
