#pragma once

#include <QString>

namespace velmora::systemcalls {

// The calls the file writer makes on the system, on paths as the program names them, so that
// its promises are kept the same way on every system. A call that fails leaves errno set to
// why (on Windows, the system's error code in errno's terms).

// A new file for writing in binary, never an existing one; -1 on failure.
int openNew(const QString& path);
qint64 writeSome(int fd, const char* data, qint64 size);
// The file's bytes on the disk; 0 on success.
int syncFile(int fd);
int closeFile(int fd);
// The permissions of the file `earlier`, where the system has them, onto the open file.
void keepPermissions(int fd, const QString& earlier);
// A plain file (not a folder, nor a link) is there.
bool isPlainFile(const QString& path);
// Why the path, its links followed, leads to nothing: an errno value, 0 when it leads somewhere.
// Nothing is opened, so a pipe keeps its writer for the one open that reads it.
int pathError(const QString& path);

// A new file for writing, held by this program for as long as it stays open: openIfLeft() in
// another program then learns that its writer still runs. -1 on failure.
int openNewHeld(const QString& path);
// The file for reading when no running program holds it (its writer stopped, or is done with
// it), then held by this one until removeHeld(); -1 otherwise, and for a file already removed.
int openIfLeft(const QString& path);
// Removes the file this program holds and lets it go.
void removeHeld(int fd, const QString& path);

bool removeFile(const QString& path);
// `from` takes the name `to`, replacing a file of that name; the new name is durable.
bool replaceName(const QString& from, const QString& to);
// A second name for the file; false where the file system has none.
bool linkName(const QString& existing, const QString& link);
bool makeFolder(const QString& path);

// The folder `from` takes the name `to` unless anything is there already: 1 done, 0 taken,
// -1 on failure.
int claimName(const QString& from, const QString& to);
// The names in the folder made durable; 0 on success (also where folders need no sync).
int syncFolder(const QString& path);

} // namespace velmora::systemcalls
