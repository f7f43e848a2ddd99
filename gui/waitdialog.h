#pragma once

#include <QWidget>

namespace velmora {

// The wait window, above every other window while the imported rows are checked. Whoever
// starts the check shows it and closes it.
class WaitDialog : public QWidget {
    Q_OBJECT
public:
    WaitDialog();
};

} // namespace velmora
