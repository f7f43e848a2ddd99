#pragma once

#include <QLabel>
#include <QWidget>

namespace velmora {

// The wait window, above every other window while the imported rows are checked. Whoever
// starts the check shows it and closes it.
class attesa : public QWidget {
    Q_OBJECT
public:
    attesa();

    QLabel* Label1;
};

} // namespace velmora
