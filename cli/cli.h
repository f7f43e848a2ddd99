#pragma once

#include "cli/command.h"

namespace velmora::cli {

// Runs the command that `arguments` (the program name left out) names; returns the exit status.
int run(const QStringList& arguments, Io& io);

} // namespace velmora::cli
