#pragma once

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace velmora {

// The window shown for a moment at start, above every other window. "Entra" closes it; keys
// do nothing.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash();

    QFrame* Frame1;
    QLabel* Image1;
    QLabel* imgLogo;
    QLabel* lblProductName;
    QLabel* lblVersion;
    QLabel* lblPurpose;
    QLabel* lblPrivacy;
    QLabel* lblPlatform;
    QLabel* lblToolkit;
    QLabel* lblWarning;
    QPushButton* Command1; // "Entra"

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// "Versione " and the program's version, major.minor.revision.
QString versionCaption();

} // namespace velmora
