#pragma once

#include "core/result.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <functional>

namespace velmora {

// Every file the program writes goes through here: written beside its target under a hidden
// temporary name, each write and the final sync checked, then renamed into place. A failure
// leaves the target as it was and says why in the operator's words. The folder operations
// of a batch live here too, so that the system calls stay in one place.

// The operator's words for a system error number ("spazio esaurito", "permesso negato", ...).
QString systemReason(int errorNumber);

// Opens `file` for reading; false, with why in the operator's words, when it cannot be (the
// system's reason, a folder told as such).
bool openForReading(QFile& file, QString& why);

// Why `path`, its links followed, leads to nothing (ENOENT, ELOOP, ...), 0 when it leads to
// something. Nothing is opened on the way.
int pathError(const QString& path);

// "Impossibile scrivere il file <path>: <why>" and its folder counterpart.
QString cannotWrite(const QString& path, const QString& why);
QString cannotMakeFolder(const QString& path, const QString& why);

// The calls made on the open temporary file, in pieces of `chunk` bytes, and the rename that
// puts it in place. Tests put in calls that fail where they choose; the program uses
// systemWriteCalls().
struct WriteCalls {
    std::function<qint64(int fd, const char* data, qint64 size)> write;
    std::function<int(int fd)> sync;
    std::function<bool(const QString& from, const QString& to)> rename;
    qint64 chunk = 1 << 20;
};
WriteCalls systemWriteCalls();

struct FileContent {
    QString path;
    QByteArray bytes;
    QString shownAs = {}; // the path named in a failure, when not `path`
};

// The files all written or none: on failure every target holds what it held before (an
// earlier file of the same name included) and no temporary file is left behind. Temporary
// files of a target that a stopped program left, once old, are removed on the way.
// Files written together (the two files of a form) are named in a hidden journal beside the
// first, held open while their names change: when a program stops between two renames, the
// next write of files together in that folder finds the journal its writer left and puts the
// earlier files back, or takes away the new ones that had none, before anything else.
Status writeFiles(const QList<FileContent>& files, const WriteCalls& calls = systemWriteCalls());
Status writeFile(const QString& path, const QByteArray& bytes,
                 const WriteCalls& calls = systemWriteCalls());

// A new folder `parent`/`prefix`<random>, for building something that appears later under
// its own name. Its path, or why it could not be made.
Result<QString> makeScratchFolder(const QString& parent, const QString& prefix);

// Gives the folder `from` the name `to` unless `to` is taken by anything at all (a folder,
// empty or not, a file, a link that leads nowhere): one step, so that two programs racing
// for the same name never both win.
// Fails, saying why, when the rename itself fails.
enum class Claim { Done, Taken };
Result<Claim> claimName(const QString& from, const QString& to);

// Makes the names and contents of the folder's entries durable.
Status syncFolder(const QString& path);

} // namespace velmora
