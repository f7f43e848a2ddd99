#include "gui/startup.h"

#include "gui/mainwindow.h"
#include "gui/recoverykeeper.h"

namespace velmora {

void keepRequestInProgress(MainWindow& window, RecoveryKeeper& keeper) {
    QObject::connect(&window, &MainWindow::splashClosed, &keeper, &RecoveryKeeper::offer);
    QObject::connect(&keeper, &RecoveryKeeper::subjectsRestored, &window, &MainWindow::showRow);
    QObject::connect(&keeper, &RecoveryKeeper::protectionChanged, &window,
                     &MainWindow::showProtection);
    // Closing asks nothing; a change still waiting is kept all the same.
    QObject::connect(&window, &MainWindow::closed, &keeper, &RecoveryKeeper::flush);
}

} // namespace velmora
