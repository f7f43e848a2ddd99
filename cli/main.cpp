#include "cli/cli.h"

#include <iostream>

int main(int argc, char* argv[]) {
    std::ios::sync_with_stdio(false);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    velmora::cli::Io io{std::cin, std::cout, std::cerr};
    return velmora::cli::run(arguments, io);
}
