#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace velmora {

class Program;

// The window shown for a moment at start.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(Program& program);

    QLabel* lblProductName;
    QLabel* lblVersion;
    QPushButton* Command1; // "Entra"

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// "Versione " and the program's version, major.minor.revision.
QString versionCaption();

} // namespace velmora
