#include "core/text/filewriter.h"
#include "core/text/textfile.h"
#include "support/recorders.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <cerrno>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmora;

namespace {

const QByteArray kEarlier = "EARLIER\r\n";

// What the folder holds, hidden entries included: a temporary file left behind shows here.
QStringList entries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The calls of the real writer, except that each write takes at most 3 bytes and call number
// `failAt` (counting the final sync as the last) fails with `error`.
WriteCalls failingCalls(int failAt, int error, int& calls) {
    WriteCalls real = systemWriteCalls();
    const auto fails = [=, &calls] { return ++calls == failAt ? (errno = error, true) : false; };
    return {[=](int fd, const char* data, qint64 size) -> qint64 {
                return fails() ? -1 : real.write(fd, data, std::min<qint64>(size, 3));
            },
            [=](int fd) { return fails() ? -1 : real.sync(fd); }, 4};
}

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

// In a child process, as another run of the program: `count` new folders each take the first
// free name n<k>. The child ends with 1 when a claim fails.
pid_t claimer(const QString& destination, int count) {
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    int k = 0;
    for (int i = 0; i < count; ++i) {
        const Result<QString> scratch = makeScratchFolder(destination, QStringLiteral(".new-"));
        QString why;
        Claim claim = Claim::Taken;
        while (scratch && claim == Claim::Taken)
            claim = claimName(*scratch, QDir(destination).filePath(QStringLiteral("n%1").arg(k++)),
                              why);
        if (claim != Claim::Done)
            ::_exit(1);
    }
    ::_exit(0);
}

bool endedWell(pid_t pid) {
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

class TestFileWriter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aFailedWriteOrSyncLeavesTheEarlierFile();
    void filesWrittenTogetherKeepTheEarlierOnesOnFailure();
    void fullAndReadOnlyFileSystems();
    void aMissingFolderIsNamed();
    void racingClaimsNeverShareAName();
};

void TestFileWriter::aFailedWriteOrSyncLeavesTheEarlierFile() {
    const QString full = QStringLiteral("spazio esaurito sul disco");
    // 12 bytes in writes of 3: calls 1 to 4 write, call 5 is the sync; 0 fails nothing.
    const struct {
        int failAt;
        int error;
        QString reason;
    } cases[] = {{0, 0, {}},
                 {1, ENOSPC, full},
                 {2, EIO, QStringLiteral("errore di lettura o scrittura del dispositivo")},
                 {4, ENOSPC, full},
                 {5, ENOSPC, full}};
    for (const auto& c : cases) {
        test::ScratchFolder folder;
        const QString path = folder.path(QStringLiteral("config.ini"));
        QVERIFY(writeFile(path, kEarlier));
        QFile leftover(folder.path(QStringLiteral(".config.ini.tmp-stopped"))); // cleared once old
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        QVERIFY(leftover.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                     QFileDevice::FileModificationTime));
        leftover.close();
        int calls = 0;
        const Status written =
            writeFile(path, "0123456789\r\n", failingCalls(c.failAt, c.error, calls));
        QCOMPARE(written.error(), c.reason.isEmpty() ? QString() : cannotWrite(path, c.reason));
        QCOMPARE(test::readBytes(path),
                 c.reason.isEmpty() ? QByteArray("0123456789\r\n") : kEarlier);
        QCOMPARE(entries(folder.path()), QStringList{QStringLiteral("config.ini")});
    }
}

void TestFileWriter::filesWrittenTogetherKeepTheEarlierOnesOnFailure() {
    test::ScratchFolder folder;
    const QString fdf = folder.path(QStringLiteral("Modulo.fdf"));
    const QString pdf = folder.path(QStringLiteral("Modulo.pdf"));
    QVERIFY(writeFiles({{fdf, "FDF 1"}, {pdf, "PDF 1"}}));
    QVERIFY(writeFiles({{fdf, "FDF 2"}, {pdf, "PDF 2"}}));
    QCOMPARE(test::readBytes(fdf) + test::readBytes(pdf), QByteArray("FDF 2PDF 2"));
    // The second name cannot be taken once the first file is in place: the first goes back.
    QVERIFY(QFile::remove(pdf) && QDir(folder.path()).mkdir(QStringLiteral("Modulo.pdf")));
    const Status failed = writeFiles({{fdf, "FDF 3"}, {pdf, "PDF 3"}});
    QCOMPARE(failed.error(), cannotWrite(pdf, QStringLiteral("\u00E8 una cartella")));
    QCOMPARE(test::readBytes(fdf), QByteArray("FDF 2"));
    QCOMPARE(entries(folder.path()), (QStringList{"Modulo.fdf", "Modulo.pdf"}));
    // Without an earlier file there is nothing to go back to: nothing stays.
    QVERIFY(QFile::remove(fdf));
    QVERIFY(!writeFiles({{fdf, "FDF 4"}, {pdf, "PDF 4"}}));
    QCOMPARE(entries(folder.path()), QStringList{"Modulo.pdf"});
    // A link leads to the file that is replaced; the link stays.
    QVERIFY(QFile::link(fdf + ".real", fdf));
    QVERIFY(writeFile(fdf, "FDF 5"));
    QVERIFY(QFileInfo(fdf).isSymLink());
    QCOMPARE(test::readBytes(fdf + ".real"), QByteArray("FDF 5"));
}

void TestFileWriter::fullAndReadOnlyFileSystems() {
    SmallDisk disk;
    if (!disk.mounted)
        QSKIP("a small file system can only be mounted by root");
    const QString path = disk.dir.filePath(QStringLiteral("config.ini"));
    QVERIFY(writeFile(path, kEarlier));
    QFile filler(disk.dir.filePath(QStringLiteral("filler")));
    QVERIFY(filler.open(QIODevice::WriteOnly));
    while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
    }
    filler.close();
    // A file smaller than any write buffer: the failure is in the write, and it is told.
    QCOMPARE(writeTextFile(path, QStringLiteral("UFFICIO\r\n")).error(),
             cannotWrite(path, QStringLiteral("spazio esaurito sul disco")));
    QCOMPARE(test::readBytes(path), kEarlier);
    QVERIFY(disk.mount(MS_REMOUNT | MS_RDONLY));
    QCOMPARE(writeFile(path, "X").error(),
             cannotWrite(path, QStringLiteral("la cartella %1 non permette di creare il file "
                                              "temporaneo (file system di sola lettura)")
                                   .arg(QFileInfo(path).absolutePath())));
    QCOMPARE(test::readBytes(path), kEarlier);
}

void TestFileWriter::aMissingFolderIsNamed() {
    test::ScratchFolder folder;
    const QString path = folder.path(QStringLiteral("gone/x.txt"));
    QCOMPARE(writeFile(path, "X").error(),
             cannotWrite(path, QStringLiteral("la cartella %1 non esiste")
                                   .arg(folder.path(QStringLiteral("gone")))));
}

void TestFileWriter::racingClaimsNeverShareAName() {
    test::ScratchFolder folder;
    // An empty folder, a file and a link that leads nowhere hold their names too.
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("n0")));
    QVERIFY(writeFile(folder.path(QStringLiteral("n1")), "X"));
    QVERIFY(QFile::link(folder.path(QStringLiteral("nowhere")), folder.path(QStringLiteral("n2"))));
    const pid_t first = claimer(folder.path(), 300);
    const pid_t second = claimer(folder.path(), 300);
    QVERIFY(endedWell(first));
    QVERIFY(endedWell(second));
    // Two claims of one name would leave fewer folders than claims.
    QCOMPARE(entries(folder.path()).size(), 3 + 600);
    QVERIFY(QFileInfo(folder.path(QStringLiteral("n1"))).isFile());
}

QTEST_GUILESS_MAIN(TestFileWriter)
#include "tst_filewriter.moc"
