// A run of the program that its test kills as a crash would: it takes the folder given as the
// program does, makes a few changes and says "kept" once the recovery file holds them, then
// waits.
#include "core/clock.h"
#include "core/paths.h"
#include "core/subjects/recoveryfile.h"
#include "gui/mainwindow.h"
#include "gui/program.h"
#include "gui/recoverykeeper.h"
#include "gui/startup.h"
#include "support/places.h"
#include "support/windows.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>

using namespace velmora;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2 || !QDir::setCurrent(QString::fromLocal8Bit(argv[1])))
        return 2;
    QLockFile lock(QDir::current().filePath(kLockFile.toString()));
    if (!holdWorkFolder(lock, QDir::currentPath()))
        return 3;
    test::RecordingMessages messages;
    test::RecordingShell shell;
    SystemClock clock;
    Program program(messages, shell, clock);
    MainWindow main(program);
    RecoveryKeeper keeper(program);
    keepRequestInProgress(main, keeper);
    main.start();
    // Once the splash screen has gone, as the operator would.
    QObject::connect(&main, &MainWindow::splashClosed, &main, [&] {
        program.table.appendRows(
            test::rowsOf({test::romanSubject(), test::parisianWithSeparators()}));
        test::control<QLineEdit>(main, "protocolNumberEdit")->setText(QStringLiteral("PROT1"));
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QFile file(program.folders.workFile(kRecoveryFile));
        if (file.open(QIODevice::ReadOnly) && file.readAll().contains("SOGGETTI=2")) {
            poll.stop();
            std::puts("kept");
            std::fflush(stdout);
        }
    });
    poll.start(20);
    return QApplication::exec();
}
