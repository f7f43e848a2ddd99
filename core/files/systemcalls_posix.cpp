#include "core/files/systemcalls.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::systemcalls {
namespace {

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

} // namespace

int openNew(const QString& path) {
    return ::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

qint64 writeSome(int fd, const char* data, qint64 size) {
    return ::write(fd, data, size_t(size));
}

int syncFile(int fd) {
    return ::fsync(fd);
}

int closeFile(int fd) {
    return ::close(fd);
}

void keepPermissions(int fd, const QString& earlier) {
    struct stat status {};
    if (::lstat(native(earlier).constData(), &status) == 0)
        ::fchmod(fd, status.st_mode & 07777);
}

bool isPlainFile(const QString& path) {
    struct stat status {};
    return ::lstat(native(path).constData(), &status) == 0 && S_ISREG(status.st_mode);
}

// Held by a lock of the whole file, which the system lets go when the program ends, however.
int openNewHeld(const QString& path) {
    const int fd = openNew(path);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(native(path).constData());
        errno = error;
        return -1;
    }
    return fd;
}

int openIfLeft(const QString& path) {
    // Open for writing too: where locks are emulated (NFS) only such a file can be locked.
    const int fd = ::open(native(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat status {};
    // A file with no name left was removed by whoever held it before.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &status) != 0 || status.st_nlink == 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void removeHeld(int fd, const QString& path) {
    ::unlink(native(path).constData());
    ::close(fd);
}

int pathError(const QString& path) {
    struct stat status {};
    return ::stat(native(path).constData(), &status) == 0 ? 0 : errno;
}

bool removeFile(const QString& path) {
    return ::unlink(native(path).constData()) == 0;
}

bool replaceName(const QString& from, const QString& to) {
    return ::rename(native(from).constData(), native(to).constData()) == 0;
}

bool linkName(const QString& existing, const QString& link) {
    return ::link(native(existing).constData(), native(link).constData()) == 0;
}

bool makeFolder(const QString& path) {
    return ::mkdir(native(path).constData(), 0777) == 0;
}

int claimName(const QString& from, const QString& to) {
    const QByteArray source = native(from);
    const QByteArray target = native(to);
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return 1;
    if (errno == EEXIST)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return -1;
#endif
    // A file system that cannot rename without replacing: the name is claimed by making an
    // empty folder, which only one program can do, and the finished folder then replaces it.
    if (::mkdir(target.constData(), 0777) != 0)
        return errno == EEXIST ? 0 : -1;
    if (::rename(source.constData(), target.constData()) != 0) {
        const int error = errno;
        ::rmdir(target.constData());
        errno = error;
        return -1;
    }
    return 1;
}

int syncFolder(const QString& path) {
    const int fd = ::open(native(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int synced = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // Some file systems cannot sync a folder.
    return synced != 0 && error != EINVAL ? error : 0;
}

} // namespace velmora::systemcalls
