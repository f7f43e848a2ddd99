#include "core/paths.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace velmora {

QString chooseWorkFolder(const QString& current, const QString& userFolder) {
    if (QFileInfo(QDir(current).filePath(QStringLiteral("ref"))).isDir())
        return QDir::cleanPath(current);
    return QDir::cleanPath(userFolder);
}

QString xdgWorkFolder(const QString& xdgDataHome, const QString& home) {
    const QString dataHome = QDir::isAbsolutePath(xdgDataHome)
                                 ? xdgDataHome
                                 : QDir(home).filePath(QStringLiteral(".local/share"));
    return QDir::cleanPath(QDir(dataHome).filePath(QStringLiteral("velmora")));
}

QString userWorkFolder() {
#ifdef Q_OS_WIN
    const QString roaming = qEnvironmentVariable("APPDATA");
    return QDir::cleanPath(
        QDir(roaming.isEmpty() ? QDir::homePath() : roaming).filePath(QStringLiteral("Velmora")));
#else
    return xdgWorkFolder(qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath());
#endif
}

QString installedDataFolder(const QString& executableFolder) {
    return QDir::cleanPath(QDir(executableFolder).filePath(QStringLiteral("../share/velmora")));
}

QString DataFolders::workFile(QStringView piece) const {
    return QDir(work).filePath(piece.toString());
}

QString DataFolders::dataFile(QStringView piece) const {
    const QString own = workFile(piece);
    if (QFileInfo::exists(own) || installed.isEmpty())
        return own;
    const QString shipped = QDir(installed).filePath(piece.toString());
    return QFileInfo::exists(shipped) ? shipped : own;
}

DataFolders currentDataFolders() {
    // Without an application object (a bare tool) there is no executable folder to go by.
    const QString executableFolder =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    return {QDir::currentPath(),
            executableFolder.isEmpty() ? QString() : installedDataFolder(executableFolder)};
}

bool isFolderName(QStringView name) {
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && name != u"." &&
           name != u"..";
}

Status holdWorkFolder(QLockFile& lock, const QString& folder) {
    // A lock is stale only when its program has gone, however long it has been held.
    lock.setStaleLockTime(0);
    if (lock.tryLock(0))
        return {};
    const QString shown = QDir::toNativeSeparators(folder);
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock.error() == QLockFile::LockFailedError) {
        const QString holder =
            lock.getLockInfo(&pid, &host, &application)
                ? QStringLiteral(" (processo %1 sul computer %2)").arg(QString::number(pid), host)
                : QString();
        return Failure{QStringLiteral("Velmora \u00E8 gi\u00E0 aperto nella cartella di lavoro "
                                      "%1%2.\r\nUsare il programma gi\u00E0 aperto, o chiuderlo "
                                      "prima di aprirne un altro.")
                           .arg(shown, holder)};
    }
    const QString why = lock.error() == QLockFile::PermissionError
                            ? QStringLiteral("permesso negato")
                            : QStringLiteral("errore del file system");
    return Failure{QStringLiteral("Impossibile usare la cartella di lavoro %1: il file %2 non "
                                  "pu\u00F2 essere creato (%3).")
                       .arg(shown, kLockFile.toString(), why)};
}

} // namespace velmora
