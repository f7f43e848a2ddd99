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
// The batch folder or the form was made, but its path did not reach standard output: running
// the command again would make a second one.
inline constexpr int kExitNotPrinted = 3;

// The streams a command talks through: the standard ones in the program, strings in tests.
// Text on them is UTF-8; only the files the program writes are Windows-1252. Beside them, the
// folders it reads config.ini, the tables and the form template from.
struct Io {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    DataFolders folders = currentDataFolders();
    int outError = 0; // why standard output failed, once it has
};

// Sends what was written to standard output on its way; false, with the reason kept in
// io.outError, when it could not be written.
bool flushed(Io& io);

// Why a standard stream could not be used, in the operator's words; a stream the caller closed
// is told as such.
std::string streamReason(int errorNumber);

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
