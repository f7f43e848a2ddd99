#pragma once

#include <QWidget>

namespace velmora {

// The window shown for a moment at start, above every other window. "Entra" closes it; keys
// do nothing.
class SplashScreen : public QWidget {
    Q_OBJECT
public:
    SplashScreen();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// "Versione " and the program's version, major.minor.revision.
QString versionCaption();

} // namespace velmora
