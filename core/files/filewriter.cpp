#include "core/files/filewriter.h"

#include "core/files/systemcalls.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>

namespace velmora {
namespace {

constexpr int kNameAttempts = 100;
// A temporary file this old was left by a program that stopped while writing.
constexpr qint64 kStaleSeconds = 10 * 60;

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString randomSuffix() {
    return QString::number(QRandomGenerator::global()->generate64(), 36);
}

// One file on its way to its target.
struct Pending {
    const FileContent* content = nullptr;
    QString target;
    QString temp;
    QString backup; // the earlier file, kept until every file is in place
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
int openTemporary(const QString& target, QString& temp) {
    const QFileInfo info(target);
    clearStaleTemporaries(info);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temp = info.dir().filePath(temporaryPrefix(info) + randomSuffix());
        const int fd = systemcalls::openNew(temp);
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
    file.earlier = systemcalls::isPlainFile(file.target);
    const int fd = openTemporary(file.target, file.temp);
    if (fd < 0) {
        const int error = errno;
        file.temp.clear();
        // The folder the operator knows: a batch's files are made in a hidden one.
        const QString folder = shown(
            QFileInfo(content.shownAs.isEmpty() ? content.path : content.shownAs).absolutePath());
        if (error == ENOENT || error == ENOTDIR)
            return Failure{
                failure(content, QStringLiteral("la cartella %1 non esiste").arg(folder))};
        return Failure{failure(
            content, QStringLiteral("la cartella %1 non permette di creare il file temporaneo "
                                    "(%2)")
                         .arg(folder, systemReason(error)))};
    }
    if (file.earlier)
        systemcalls::keepPermissions(fd, file.target); // the new file keeps the old one's
    Status written = writeAndSync(fd, content.bytes, calls);
    if (systemcalls::closeFile(fd) != 0 && written)
        written = Failure{systemReason(errno)};
    if (!written) {
        systemcalls::removeFile(file.temp);
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
    file.backup = file.temp + QStringLiteral(".old");
    if (systemcalls::linkName(file.target, file.backup))
        return true;
    if (systemcalls::replaceName(file.target, file.backup))
        return true;
    file.backup.clear();
    return false;
}

void rollBack(QList<Pending>& files) {
    for (Pending& file : files) {
        if (file.placed || !file.backup.isEmpty()) {
            if (!file.backup.isEmpty())
                systemcalls::replaceName(file.backup, file.target);
            else
                systemcalls::removeFile(file.target);
        }
        if (!file.placed && !file.temp.isEmpty())
            systemcalls::removeFile(file.temp);
    }
}

void syncParent(const QString& path) {
    (void)systemcalls::syncFolder(QFileInfo(path).absolutePath());
}

} // namespace

QString systemReason(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
        return QStringLiteral("spazio esaurito sul disco");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("spazio a disposizione dell'utente esaurito");
#endif
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
#ifdef ELOOP
    case ELOOP:
        return QStringLiteral("collegamento simbolico circolare nel percorso");
#endif
    case EBUSY:
        return QStringLiteral("il file o la cartella \u00E8 in uso");
#ifdef ETXTBSY
    case ETXTBSY:
        return QStringLiteral("il file \u00E8 in uso da un programma in esecuzione");
#endif
    case EXDEV:
        return QStringLiteral("la destinazione \u00E8 su un altro disco o file system");
    case EBADF:
        return QStringLiteral("il file non \u00E8 aperto o \u00E8 stato chiuso");
    case ENXIO:
        return QStringLiteral("dispositivo non disponibile");
    case ENOMEM:
        return QStringLiteral("memoria esaurita");
    case EPIPE:
        return QStringLiteral("il programma che riceve i dati si \u00E8 chiuso");
#ifdef ENOTSUP
    case ENOTSUP:
        return QStringLiteral("operazione non ammessa dal file system");
#endif
    default:
        return QStringLiteral("errore di sistema %1 (%2)")
            .arg(QString::number(errorNumber), QString::fromLocal8Bit(std::strerror(errorNumber)));
    }
}

int pathError(const QString& path) {
    return systemcalls::pathError(path);
}

QString cannotWrite(const QString& path, const QString& why) {
    return QStringLiteral("Impossibile scrivere il file %1: %2").arg(shown(path), why);
}

QString cannotMakeFolder(const QString& path, const QString& why) {
    return QStringLiteral("Impossibile creare la cartella %1: %2").arg(shown(path), why);
}

WriteCalls systemWriteCalls() {
    return {systemcalls::writeSome, systemcalls::syncFile};
}

Status writeFiles(const QList<FileContent>& contents, const WriteCalls& calls) {
    QList<Pending> files;
    files.reserve(contents.size());
    for (const FileContent& content : contents)
        files.append({&content, finalTarget(content.path), {}, {}, false, false});
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
        if (!systemcalls::replaceName(file.temp, file.target)) {
            const int error = errno;
            rollBack(files);
            return Failure{failure(*file.content, systemReason(error))};
        }
        file.placed = true;
    }
    for (const Pending& file : files) {
        if (!file.backup.isEmpty())
            systemcalls::removeFile(file.backup);
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
        if (systemcalls::makeFolder(path))
            return path;
        error = errno;
    }
    return Failure{systemReason(error)};
}

Result<Claim> claimName(const QString& from, const QString& to) {
    switch (systemcalls::claimName(from, to)) {
    case 1:
        return Claim::Done;
    case 0:
        return Claim::Taken;
    default:
        return Failure{systemReason(errno)};
    }
}

Status syncFolder(const QString& path) {
    if (const int error = systemcalls::syncFolder(path); error != 0)
        return Failure{systemReason(error)};
    return {};
}

} // namespace velmora
