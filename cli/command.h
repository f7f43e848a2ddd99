#pragma once

#include "core/paths.h"

#include <QStringList>
#include <istream>
#include <ostream>
#include <string_view>

namespace velmora::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailing = 1; // a check refused the subjects or the request
inline constexpr int kExitUsage = 2;
inline constexpr int kExitRefused = 2; // the import refused the file

// The streams a command talks through: the standard ones in the program, strings in tests.
// Text on them is UTF-8; only the files the program writes are Windows-1252. Beside them, the
// folders it reads config.ini, the tables and the form template from.
struct Io {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    DataFolders folders = currentDataFolders();
};

// One command of velmora-cli: its name, its forms for the help, and what it does.
struct Command {
    std::string_view name;
    std::string_view help; // usage lines and description, already indented
    int (*run)(const QStringList& arguments, Io& io);
};

// Tells the user on standard error what is wrong and where help is; returns kExitUsage.
int usageError(Io& io, std::string_view command, const QString& message);

int runTaxCode(const QStringList& arguments, Io& io);
int runCheck(const QStringList& arguments, Io& io);
int runBatch(const QStringList& arguments, Io& io);
int runPdf(const QStringList& arguments, Io& io);

} // namespace velmora::cli
