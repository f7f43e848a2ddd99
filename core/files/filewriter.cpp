#include "core/files/filewriter.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

constexpr int kNameAttempts = 100;
// A temporary file this old was left by a program that stopped while writing.
constexpr qint64 kStaleSeconds = 10 * 60;

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

QString randomSuffix() {
    return QString::number(QRandomGenerator::global()->generate64(), 36);
}

// One file on its way to its target.
struct Pending {
    const FileContent* content = nullptr;
    QByteArray target;
    QByteArray temp;
    QByteArray backup; // the earlier file, kept until every file is in place
    bool earlier = false;
    bool placed = false;
};

// A link is followed, so that the file it leads to is replaced and the link stays.
QString finalTarget(const QString& path) {
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : path;
}

QString failure(const FileContent& file, const QString& why) {
    return cannotWrite(file.shownAs.isEmpty() ? file.path : file.shownAs, why);
}

QString temporaryPrefix(const QFileInfo& target) {
    return QLatin1Char('.') + target.fileName() + QStringLiteral(".tmp-");
}

void clearStaleTemporaries(const QFileInfo& target) {
    const QDateTime now = QDateTime::currentDateTime();
    for (const QFileInfo& leftover : target.dir().entryInfoList(
             {temporaryPrefix(target) + u'*'}, QDir::Files | QDir::Hidden | QDir::System)) {
        if (leftover.lastModified().secsTo(now) > kStaleSeconds)
            QFile::remove(leftover.absoluteFilePath());
    }
}

// Opens a new hidden file beside `target`; -1 with errno set when the folder does not allow it.
int openTemporary(const QString& target, QByteArray& temp) {
    const QFileInfo info(target);
    clearStaleTemporaries(info);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temp = native(info.dir().filePath(temporaryPrefix(info) + randomSuffix()));
        const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Writes the bytes and syncs them.
Status writeAndSync(int fd, const QByteArray& bytes, const WriteCalls& calls) {
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 written = calls.write(fd, data, std::min(left, calls.chunk));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return Failure{systemReason(errno)};
        if (written == 0) // the device takes no more
            return Failure{systemReason(ENOSPC)};
        data += written;
        left -= written;
    }
    if (calls.sync(fd) != 0)
        return Failure{systemReason(errno)};
    return {};
}

Status prepare(Pending& file, const WriteCalls& calls) {
    const FileContent& content = *file.content;
    struct stat earlier {};
    const bool exists = ::lstat(file.target.constData(), &earlier) == 0;
    const int fd = openTemporary(QFile::decodeName(file.target), file.temp);
    if (fd < 0) {
        const int error = errno;
        file.temp.clear();
        const QString folder = shown(QFileInfo(content.path).absolutePath());
        if (error == ENOENT || error == ENOTDIR)
            return Failure{
                failure(content, QStringLiteral("la cartella %1 non esiste").arg(folder))};
        return Failure{failure(
            content, QStringLiteral("la cartella %1 non permette di creare il file temporaneo "
                                    "(%2)")
                         .arg(folder, systemReason(error)))};
    }
    file.earlier = exists && S_ISREG(earlier.st_mode);
    if (file.earlier)
        ::fchmod(fd, earlier.st_mode & 07777); // the new file keeps the old one's permissions
    Status written = writeAndSync(fd, content.bytes, calls);
    if (::close(fd) != 0 && written)
        written = Failure{systemReason(errno)};
    if (!written) {
        ::unlink(file.temp.constData());
        file.temp.clear();
        return Failure{failure(content, written.error())};
    }
    return {};
}

// Puts the earlier file aside under a hidden name, by a second link when the file system
// has them so that the target never goes missing.
bool keepEarlier(Pending& file) {
    if (!file.earlier)
        return true;
    file.backup = file.temp + ".old";
    if (::link(file.target.constData(), file.backup.constData()) == 0)
        return true;
    if (::rename(file.target.constData(), file.backup.constData()) == 0)
        return true;
    file.backup.clear();
    return false;
}

void rollBack(QList<Pending>& files) {
    for (Pending& file : files) {
        if (file.placed || !file.backup.isEmpty()) {
            if (!file.backup.isEmpty())
                ::rename(file.backup.constData(), file.target.constData());
            else
                ::unlink(file.target.constData());
        }
        if (!file.placed && !file.temp.isEmpty())
            ::unlink(file.temp.constData());
    }
}

void syncParent(const QByteArray& path) {
    const QByteArray folder = native(QFileInfo(QFile::decodeName(path)).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

QString systemReason(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
        return QStringLiteral("spazio esaurito sul disco");
    case EDQUOT:
        return QStringLiteral("spazio a disposizione dell'utente esaurito");
    case EACCES:
    case EPERM:
        return QStringLiteral("permesso negato");
    case EROFS:
        return QStringLiteral("file system di sola lettura");
    case ENOENT:
        return QStringLiteral("percorso inesistente");
    case ENOTDIR:
        return QStringLiteral("una parte del percorso non \u00E8 una cartella");
    case EISDIR:
        return QStringLiteral("\u00E8 una cartella");
    case EEXIST:
    case ENOTEMPTY:
        return QStringLiteral("il nome \u00E8 gi\u00E0 in uso");
    case ENAMETOOLONG:
        return QStringLiteral("nome troppo lungo");
    case EIO:
        return QStringLiteral("errore di lettura o scrittura del dispositivo");
    case EFBIG:
        return QStringLiteral("file troppo grande");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("troppi file aperti");
    case ELOOP:
        return QStringLiteral("troppi collegamenti simbolici nel percorso");
    case EBUSY:
        return QStringLiteral("risorsa occupata");
    default:
        return QStringLiteral("errore di sistema %1 (%2)")
            .arg(QString::number(errorNumber), QString::fromLocal8Bit(std::strerror(errorNumber)));
    }
}

QString cannotWrite(const QString& path, const QString& why) {
    return QStringLiteral("Impossibile scrivere il file %1: %2").arg(shown(path), why);
}

QString cannotMakeFolder(const QString& path, const QString& why) {
    return QStringLiteral("Impossibile creare la cartella %1: %2").arg(shown(path), why);
}

WriteCalls systemWriteCalls() {
    return {[](int fd, const char* data, qint64 size) -> qint64 {
                return ::write(fd, data, size_t(size));
            },
            [](int fd) { return ::fsync(fd); }};
}

Status writeFiles(const QList<FileContent>& contents, const WriteCalls& calls) {
    QList<Pending> files;
    files.reserve(contents.size());
    for (const FileContent& content : contents)
        files.append({&content, native(finalTarget(content.path)), {}, {}, false, false});
    for (Pending& file : files) {
        if (const Status prepared = prepare(file, calls); !prepared) {
            rollBack(files);
            return prepared;
        }
    }
    // Every file is on the disk; now the names. With more than one file an earlier one is
    // kept aside until all are in place, so that a failure can put it back.
    const bool together = files.size() > 1;
    for (Pending& file : files) {
        if (together && !keepEarlier(file)) {
            const int error = errno;
            rollBack(files);
            return Failure{failure(*file.content, systemReason(error))};
        }
        if (::rename(file.temp.constData(), file.target.constData()) != 0) {
            const int error = errno;
            rollBack(files);
            return Failure{failure(*file.content, systemReason(error))};
        }
        file.placed = true;
    }
    for (const Pending& file : files) {
        if (!file.backup.isEmpty())
            ::unlink(file.backup.constData());
        syncParent(file.target);
    }
    return {};
}

Status writeFile(const QString& path, const QByteArray& bytes, const WriteCalls& calls) {
    return writeFiles({{path, bytes}}, calls);
}

Result<QString> makeScratchFolder(const QString& parent, const QString& prefix) {
    const QDir dir(parent);
    int error = EEXIST;
    for (int attempt = 0; attempt < kNameAttempts && error == EEXIST; ++attempt) {
        const QString path = dir.filePath(prefix + randomSuffix());
        if (::mkdir(native(path).constData(), 0777) == 0)
            return path;
        error = errno;
    }
    return Failure{systemReason(error)};
}

Result<Claim> claimName(const QString& from, const QString& to) {
    const QByteArray source = native(from);
    const QByteArray target = native(to);
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return Claim::Done;
    if (errno == EEXIST)
        return Claim::Taken;
    if (errno != EINVAL && errno != ENOSYS)
        return Failure{systemReason(errno)};
#endif
    // A file system that cannot rename without replacing: the name is claimed by making an
    // empty folder, which only one program can do, and the finished folder then replaces it.
    if (::mkdir(target.constData(), 0777) != 0) {
        if (errno == EEXIST)
            return Claim::Taken;
        return Failure{systemReason(errno)};
    }
    if (::rename(source.constData(), target.constData()) != 0) {
        const Failure failed{systemReason(errno)};
        ::rmdir(target.constData());
        return failed;
    }
    return Claim::Done;
}

Status syncFolder(const QString& path) {
    const int fd = ::open(native(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Failure{systemReason(errno)};
    const int synced = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (synced != 0 && error != EINVAL) // some file systems cannot sync a folder
        return Failure{systemReason(error)};
    return {};
}

} // namespace velmora
