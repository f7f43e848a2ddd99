#include "core/files/systemcalls.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <string>
#include <sys/stat.h>
#include <windows.h>

namespace velmora::systemcalls {
namespace {

// Wide-character paths, so that any name the operator can choose works, whatever the code page.
std::wstring native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

// The system's error code in errno's terms, for the one list of reasons in the operator's words.
int errnoOf(DWORD error) {
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
    case ERROR_DIR_NOT_EMPTY:
        return EEXIST;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    case ERROR_BUSY:
        return EBUSY;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    default:
        return EIO;
    }
}

bool failed() {
    errno = errnoOf(GetLastError());
    return false;
}

} // namespace

int openNew(const QString& path) {
    return ::_wopen(native(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
}

qint64 writeSome(int fd, const char* data, qint64 size) {
    return ::_write(fd, data, unsigned(size));
}

// _commit asks the system to write the file's buffers to the disk (FlushFileBuffers).
int syncFile(int fd) {
    return ::_commit(fd);
}

int closeFile(int fd) {
    return ::_close(fd);
}

void keepPermissions(int, const QString&) {
    // The file takes the folder's permissions, as the earlier one did.
}

bool isPlainFile(const QString& path) {
    const DWORD attributes = GetFileAttributesW(native(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

// Held by opening it without sharing: no other program can open it until it is closed, which
// the system does when the program ends, however.
int openNewHeld(const QString& path) {
    int fd = -1;
    errno = ::_wsopen_s(&fd, native(path).c_str(),
                        _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _SH_DENYRW,
                        _S_IREAD | _S_IWRITE);
    return fd;
}

int openIfLeft(const QString& path) {
    int fd = -1;
    errno =
        ::_wsopen_s(&fd, native(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYRW, 0);
    return fd;
}

// An open file cannot lose its name here: it is let go first, emptied, so that a program that
// opens it in between finds nothing to do.
void removeHeld(int fd, const QString& path) {
    ::_chsize_s(fd, 0);
    ::_close(fd);
    DeleteFileW(native(path).c_str());
}

int pathError(const QString& path) {
    return GetFileAttributesW(native(path).c_str()) != INVALID_FILE_ATTRIBUTES
               ? 0
               : errnoOf(GetLastError());
}

bool removeFile(const QString& path) {
    return DeleteFileW(native(path).c_str()) || failed();
}

bool replaceName(const QString& from, const QString& to) {
    if (MoveFileExW(native(from).c_str(), native(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    failed();
    // A folder of that name is refused as access denied; the operator is told what it is.
    if (errno == EACCES && QFileInfo(to).isDir())
        errno = EISDIR;
    return false;
}

bool linkName(const QString& existing, const QString& link) {
    return CreateHardLinkW(native(link).c_str(), native(existing).c_str(), nullptr) || failed();
}

bool makeFolder(const QString& path) {
    return CreateDirectoryW(native(path).c_str(), nullptr) || failed();
}

// Without MOVEFILE_REPLACE_EXISTING the move fails when anything has the name already.
int claimName(const QString& from, const QString& to) {
    if (MoveFileExW(native(from).c_str(), native(to).c_str(), MOVEFILE_WRITE_THROUGH))
        return 1;
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
        return 0;
    errno = errnoOf(error);
    return -1;
}

// A folder cannot be flushed here; its names were written through when they were given.
int syncFolder(const QString& path) {
    return QFileInfo(path).isDir() ? 0 : ENOENT;
}

} // namespace velmora::systemcalls
