#include "cli/cli.h"
#include "core/paths.h"

#include <QCoreApplication>
#include <iostream>
#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
// A standard stream the caller closed gets /dev/null opened the other way round on its number:
// the first file the program opens would otherwise take that number, and what is meant for the
// stream would go into the file or come out of it. Using the stream now fails with EBADF, which
// the messages tell as the stream being closed.
void holdClosedStandardStreams() {
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF)
            ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY); // takes fd, the lowest
    }
}
#endif

} // namespace

int main(int argc, char* argv[]) {
#ifdef Q_OS_UNIX
    holdClosedStandardStreams();
#endif
    std::ios::sync_with_stdio(false);
    // For the folder of the executable, beside which the installed tables are, and for the
    // arguments as the system gives them (wide on Windows, whatever the code page).
    const QCoreApplication application(argc, argv);
    velmora::cli::Io io{std::cin, std::cout, std::cerr};
    io.folders.work = velmora::chooseWorkFolder(QDir::currentPath(), velmora::userWorkFolder());
    return velmora::cli::run(QCoreApplication::arguments().mid(1), io);
}
