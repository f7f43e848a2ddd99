#pragma once

#include "cli/command.h"
#include "core/import/importfile.h"
#include "core/subjects/subjecttable.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <optional>

namespace velmora::cli {

// The arguments of a command: its positional ones, the options with a value, the flags.
struct Options {
    QStringList positional;
    QHash<QString, QString> values;
    QSet<QString> flags;
};

// nullopt, with `error` saying why, for an unknown option or one missing its value.
std::optional<Options> parseOptions(const QStringList& arguments, const QStringList& valued,
                                    const QStringList& flags, QString& error);

// The file kind --format names ("txt" or "csv"); without it, a .csv file is delimited and
// anything else fixed-width. nullopt for another --format.
std::optional<ImportKind> importKind(const QString& file, const Options& options);

// Imports `file` into the empty `table` with the place tables of the working folder. On a
// refusal the import's own message goes to standard error, with why when the file or a place
// table cannot be used at all, and false comes back.
bool importInto(SubjectTable& table, const QString& file, ImportKind kind, Io& io);

// One line per row that fails the batch check, its number and why, and one per warning of a row
// that passes, its number and "avviso: ...", in row order.
struct RowVerdicts {
    qsizetype failing = 0;
    qsizetype warnings = 0;
};
RowVerdicts printRowVerdicts(const SubjectTable& table, std::ostream& out);

// Program messages are written with CR LF line breaks; a terminal wants LF.
std::string terminalText(QString text);

} // namespace velmora::cli
