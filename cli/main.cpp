#include "cli/cli.h"
#include "core/paths.h"

#include <QCoreApplication>
#include <iostream>

int main(int argc, char* argv[]) {
    std::ios::sync_with_stdio(false);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // For the folder of the executable, beside which the installed tables are.
    const QCoreApplication application(argc, argv);
    velmora::cli::Io io{std::cin, std::cout, std::cerr};
    io.folders.work = velmora::chooseWorkFolder(
        QDir::currentPath(), qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath());
    return velmora::cli::run(arguments, io);
}
