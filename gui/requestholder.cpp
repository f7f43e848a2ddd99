#include "gui/requestholder.h"

namespace velmora {

void RequestHolder::set(const Request& request) {
    if (request == request_)
        return;
    request_ = request;
    Q_EMIT changed();
}

} // namespace velmora
