#pragma once

#include "core/request/request.h"

#include <QObject>

namespace velmora {

// The request of this run. The main window edits it; whoever must follow it (the recovery
// file, the main window's own fields when a request is taken back) hears of every change.
class RequestHolder : public QObject {
    Q_OBJECT
public:
    const Request& request() const { return request_; }
    // Tells of the change only when there is one.
    void set(const Request& request);

Q_SIGNALS:
    void changed();

private:
    Request request_;
};

} // namespace velmora
