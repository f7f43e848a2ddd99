#pragma once

#include "core/result.h"

#include <QDir>
#include <QLockFile>
#include <QString>

namespace velmora {

// Files the program keeps below its working folder.
inline constexpr QStringView kConfigFile = u"config.ini";
inline constexpr QStringView kMunicipalityTable = u"ref/FileCodComuni.txt";
inline constexpr QStringView kStateTable = u"ref/FileCodStati.txt";
inline constexpr QStringView kFormTemplate = u"ref/modello.pdf";
inline constexpr QStringView kUserManual = u"docs/ORV-Velmora-Manuale_Utente.doc";
// The type of file last imported, "txt" or "csv", which the import window chooses again.
inline constexpr QStringView kImportKindFile = u"tipo-file.txt";
// Held by the windowed program for its whole run: one program per working folder, so that two
// never write over each other's request in progress. The command-line tool never takes it.
inline constexpr QStringView kLockFile = u"velmora.lock";

// The working folder: `current` when it holds ref/ (the build tree, or an office's shared
// folder), else `userFolder`.
QString chooseWorkFolder(const QString& current, const QString& userFolder);

// The user's own working folder: on Windows Velmora in the roaming application data
// (%APPDATA%), elsewhere xdgWorkFolder() of the environment.
QString userWorkFolder();
// velmora below the user's data folder: `xdgDataHome` when it is an absolute path, else
// `home`/.local/share.
QString xdgWorkFolder(const QString& xdgDataHome, const QString& home);

// The shipped ref/ and docs/ of an installed program: share/velmora beside the folder that
// holds the executable, so that an unpacked package works from any root.
QString installedDataFolder(const QString& executableFolder);

// Where the program reads its files from: its working folder and the installed data folder.
struct DataFolders {
    QString work;
    QString installed;

    // config.ini and whatever else the program writes.
    QString workFile(QStringView piece) const;
    // A table, the form template or the manual: below the working folder when it is there
    // or the installed folder lacks it too, else below the installed folder.
    QString dataFile(QStringView piece) const;
};

// This process's folders: the current folder and the one beside its executable, as absolute
// paths taken once, so that a working folder removed under a running program is named in the
// failures of its writes, never replaced by another.
DataFolders currentDataFolders();

// A name the operator may give a new folder: one folder's name, neither a path nor "." or "..".
bool isFolderName(QStringView name);

// Takes `lock`, made on kLockFile of the working folder `folder`, for as long as it lives. A lock
// that a program no longer running left behind is taken over. Fails, in the operator's words,
// when another program holds the folder (naming its computer and process when known) or when
// the lock cannot be made.
Status holdWorkFolder(QLockFile& lock, const QString& folder);

} // namespace velmora
