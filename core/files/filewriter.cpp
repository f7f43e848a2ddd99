#include "core/files/filewriter.h"

#include "core/files/systemcalls.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
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
    bool linked = false; // the backup is a second name: the target never left
    bool placed = false;
};

// The journal of files written together: ".<first target>.pair-<random>", holding for each file
// its target, its temporary file and the name its earlier file is kept under ("" for none),
// each followed by a NUL, then the end mark. Paths are absolute and UTF-8.
constexpr QLatin1String kJournalMark(".pair-");
constexpr QByteArrayView kJournalEnd = "fine";

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

QString backupName(const Pending& file) {
    return file.temp + QStringLiteral(".old");
}

// Puts the earlier file aside under a hidden name, by a second link when the file system
// has them so that the target never goes missing.
bool keepEarlier(Pending& file) {
    if (!file.earlier)
        return true;
    file.backup = backupName(file);
    file.linked = systemcalls::linkName(file.target, file.backup);
    if (file.linked || systemcalls::replaceName(file.target, file.backup))
        return true;
    file.backup.clear();
    return false;
}

void rollBack(QList<Pending>& files) {
    for (Pending& file : files) {
        // A second name of a target that was not replaced is only dropped: renaming a link onto
        // the file it names does nothing, and would leave it behind.
        if (!file.backup.isEmpty() && !file.placed && file.linked)
            systemcalls::removeFile(file.backup);
        else if (!file.backup.isEmpty())
            systemcalls::replaceName(file.backup, file.target);
        else if (file.placed)
            systemcalls::removeFile(file.target);
        if (!file.placed && !file.temp.isEmpty())
            systemcalls::removeFile(file.temp);
    }
}

// One file of a journal whose writer stopped: its temporary file still there means it was not
// put in place.
void putBack(const QString& target, const QString& temp, const QString& backup) {
    const bool placed = !systemcalls::isPlainFile(temp);
    if (!placed)
        systemcalls::removeFile(temp);
    if (!backup.isEmpty() && systemcalls::isPlainFile(backup)) {
        if (placed || !systemcalls::isPlainFile(target))
            systemcalls::replaceName(backup, target);
        else
            systemcalls::removeFile(backup);
    } else if (placed && backup.isEmpty()) {
        systemcalls::removeFile(target);
    }
}

// Undoes the writes together into `folder` whose programs stopped before all their files were
// in place. A journal cut short was left before any name changed: it is only removed.
void recoverStoppedWrites(const QDir& folder) {
    for (const QFileInfo& journal : folder.entryInfoList(
             {u'*' + kJournalMark + u'*'}, QDir::Files | QDir::Hidden | QDir::System)) {
        const QString path = journal.absoluteFilePath();
        const int fd = systemcalls::openIfLeft(path);
        if (fd < 0)
            continue; // its writer is still at work, or another program undid it
        QFile file;
        QByteArray bytes;
        if (file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
            bytes = file.readAll();
        file.close();
        const QList<QByteArray> fields = bytes.split('\0');
        const qsizetype entries = fields.size() - 2;
        if (entries > 0 && entries % 3 == 0 && fields[entries] == kJournalEnd) {
            for (qsizetype i = 0; i < entries; i += 3)
                putBack(QString::fromUtf8(fields[i]), QString::fromUtf8(fields[i + 1]),
                        QString::fromUtf8(fields[i + 2]));
        }
        systemcalls::removeHeld(fd, path);
    }
}

// The journal of `files`, written and synced before any name changes; its descriptor, held
// until every file is in place, or -1 with errno set.
int openJournal(const QList<Pending>& files, QString& path) {
    QByteArray bytes;
    for (const Pending& file : files) {
        for (const QString& name :
             {file.target, file.temp, file.earlier ? backupName(file) : QString()})
            bytes +=
                (name.isEmpty() ? QString() : QFileInfo(name).absoluteFilePath()).toUtf8() + '\0';
    }
    bytes += kJournalEnd.toByteArray() + '\0';
    const QFileInfo first(files.first().target);
    int fd = -1;
    for (int attempt = 0; attempt < kNameAttempts && fd < 0; ++attempt) {
        path = first.dir().filePath(u'.' + first.fileName() + kJournalMark + randomSuffix());
        fd = systemcalls::openNewHeld(path);
        if (fd < 0 && errno != EEXIST)
            return -1;
    }
    if (fd >= 0 && !writeAndSync(fd, bytes, systemWriteCalls())) {
        const int error = errno;
        systemcalls::removeHeld(fd, path);
        errno = error;
        return -1;
    }
    if (fd >= 0)
        (void)systemcalls::syncFolder(first.absolutePath());
    return fd;
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

bool openForReading(QFile& file, QString& why) {
    errno = 0;
    if (file.open(QIODevice::ReadOnly))
        return true;
    const int error = errno;
    if (QFileInfo(file.fileName()).isDir())
        why = systemReason(EISDIR);
    else
        why = error != 0 ? systemReason(error) : file.errorString();
    return false;
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
    return {systemcalls::writeSome, systemcalls::syncFile, systemcalls::replaceName};
}

Status writeFiles(const QList<FileContent>& contents, const WriteCalls& calls) {
    QList<Pending> files;
    files.reserve(contents.size());
    for (const FileContent& content : contents)
        files.append({&content, finalTarget(content.path), {}, {}, false, false, false});
    const bool together = files.size() > 1;
    if (together)
        recoverStoppedWrites(QFileInfo(files.first().target).dir());
    for (Pending& file : files) {
        if (const Status prepared = prepare(file, calls); !prepared) {
            rollBack(files);
            return prepared;
        }
    }
    // Every file is on the disk; now the names. With more than one file an earlier one is
    // kept aside until all are in place, so that a failure, or the next write after a stop, can
    // put it back.
    QString journal;
    const int held = together ? openJournal(files, journal) : -1;
    // Undoes what was done, the journal dropped: the failure of `file` with errno's reason.
    const auto failed = [&](const Pending& file) {
        const int error = errno;
        rollBack(files);
        if (held >= 0)
            systemcalls::removeHeld(held, journal);
        return Failure{failure(*file.content, systemReason(error))};
    };
    if (together && held < 0)
        return failed(files.first());
    for (Pending& file : files) {
        if (together && !keepEarlier(file))
            return failed(file);
        if (!calls.rename(file.temp, file.target))
            return failed(file);
        file.placed = true;
    }
    for (const Pending& file : files)
        syncParent(file.target);
    // Every name is durable: the journal goes first, then the earlier files it could restore.
    if (held >= 0)
        systemcalls::removeHeld(held, journal);
    for (const Pending& file : files) {
        if (!file.backup.isEmpty())
            systemcalls::removeFile(file.backup);
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
