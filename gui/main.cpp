#include "core/clock.h"
#include "core/paths.h"
#include "gui/mainwindow.h"
#include "gui/messageboxes.h"
#include "gui/program.h"
#include "gui/recoverykeeper.h"
#include "gui/startup.h"
#include "gui/widgets/widgets.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));

    // Qt's own Italian texts, for the standard buttons (Sì, No, OK, Annulla).
    QTranslator qtItalian;
    if (qtItalian.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtItalian);

    velmora::presentOwnedWindowsAsDialogs();
    velmora::MessageBoxes messages;

    // The folder the program works in from here on: the current one when it holds ref/,
    // else the user's own, made on the first start.
    const QString work = velmora::chooseWorkFolder(QDir::currentPath(), velmora::userWorkFolder());
    if (!QDir().mkpath(work) || !QDir::setCurrent(work)) {
        messages.show(QStringLiteral("Impossibile creare la cartella di lavoro %1")
                          .arg(QDir::toNativeSeparators(work)),
                      velmora::Messages::Icon::Critical);
        return 1;
    }
    // Before any file of the folder is read or written.
    QLockFile lock(QDir(work).filePath(velmora::kLockFile.toString()));
    if (const velmora::Status held = velmora::holdWorkFolder(lock, work); !held) {
        messages.show(held.error(), velmora::Messages::Icon::Critical);
        return 1;
    }

    velmora::DesktopShell shell;
    velmora::SystemClock clock;
    velmora::Program program(messages, shell, clock);
    velmora::MainWindow window(program);
    velmora::RecoveryKeeper keeper(program);
    velmora::keepRequestInProgress(window, keeper);
    QObject::connect(&window, &velmora::MainWindow::closed, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    QApplication::setQuitOnLastWindowClosed(false);
    window.start();
    return QApplication::exec();
}
