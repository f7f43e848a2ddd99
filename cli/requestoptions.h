#pragma once

#include "cli/subjectfile.h"
#include "core/config.h"

#include <optional>

namespace velmora::cli {

// --type N: the certificate type's position in the list, as config.ini keeps it; -1 when the
// option is absent, nullopt when it is not a position of the list.
std::optional<int> certPosition(const Options& options);
// "da 0 a 4": the positions of the certificate list, as the help and the refusal of --type
// name them.
QString certPositionRange();

// The office as config.ini in the working folder keeps it, with --office-type and
// --office-seat in its place when given. config.ini is only read; a value of it that breaks its
// field's rules is left out and told on standard error.
Config officeConfig(const Options& options, Io& io);

// --purpose, --protocol, --office-type and --office-seat as the main window's and the office
// data window's fields would hold them once typed (letters in capitals); a failure says why the
// first one is not accepted, naming the option.
Status typeFieldOptions(Options& options);

// --dest as an absolute path, for scripts to use whatever their working folder; "" if absent.
QString destination(const Options& options);

} // namespace velmora::cli
