#pragma once

#include "core/request/request.h"
#include "core/subjects/recoveryfile.h"

#include <QObject>

namespace velmora {

// The request of this run. The main window edits it; whoever must follow it (the recovery
// file, the main window's own fields when a request is taken back) hears of every change.
class RequestHolder : public QObject {
    Q_OBJECT
public:
    // Any change of `subjects` but a check's verdict forgets the output made.
    explicit RequestHolder(const SubjectTable& subjects);

    const Request& request() const { return request_; }
    // Tells of the change only when there is one; a change forgets the output made.
    void set(const Request& request);

    // The batch or the form last made of the request as it stands; none after a change of the
    // request or (forgetOutput()) of its subjects.
    const Output& output() const { return output_; }
    void setOutput(const Output& output);
    void forgetOutput() { setOutput({}); }

Q_SIGNALS:
    void changed();
    void outputChanged();

private:
    Request request_;
    Output output_;
};

} // namespace velmora
