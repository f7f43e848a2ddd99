#include "cli/command.h"
#include "core/files/filewriter.h"

#include <cerrno>

namespace velmora::cli {

bool flushed(Io& io) {
    if (!io.out)
        return false;
    errno = 0;
    io.out.flush();
    if (!io.out)
        io.outError = errno;
    return bool(io.out);
}

std::string streamReason(int errorNumber) {
    // main() leaves a closed stream on a descriptor open the other way: using it gives EBADF.
    if (errorNumber == EBADF)
        return "\u00E8 chiuso";
    return systemReason(errorNumber).toStdString();
}

} // namespace velmora::cli
