#include "gui/desktopfolder.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace velmora {

QString desktopFolder() {
    // Qt names a conventional folder even when the user has none; a folder that is not there
    // is no starting point for a folder dialog.
    const QString path = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return {};
    return path;
}

} // namespace velmora
