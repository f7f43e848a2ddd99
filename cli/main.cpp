#include "cli/cli.h"
#include "core/paths.h"

#include <QCoreApplication>
#include <iostream>

int main(int argc, char* argv[]) {
    std::ios::sync_with_stdio(false);
    // For the folder of the executable, beside which the installed tables are, and for the
    // arguments as the system gives them (wide on Windows, whatever the code page).
    const QCoreApplication application(argc, argv);
    velmora::cli::Io io{std::cin, std::cout, std::cerr};
    io.folders.work = velmora::chooseWorkFolder(QDir::currentPath(), velmora::userWorkFolder());
    return velmora::cli::run(QCoreApplication::arguments().mid(1), io);
}
