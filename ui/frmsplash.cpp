#include "ui/frmsplash.h"

#include <QKeyEvent>
#include <QVBoxLayout>

namespace velmora {

QString versionCaption() {
    return QStringLiteral("Versione %1.%2.%3")
        .arg(VELMORA_VERSION_MAJOR)
        .arg(VELMORA_VERSION_MINOR)
        .arg(VELMORA_VERSION_PATCH);
}

frmSplash::frmSplash(Program& /*program*/)
    : QWidget(nullptr, Qt::SplashScreen | Qt::WindowStaysOnTopHint) {
    auto* layout = new QVBoxLayout(this);
    lblProductName = new QLabel(QStringLiteral("ORV-VELMORA"), this);
    QFont big = lblProductName->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    lblProductName->setFont(big);
    lblVersion = new QLabel(versionCaption(), this);
    Command1 = new QPushButton(QStringLiteral("Entra"), this);
    Command1->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(lblProductName, 0, Qt::AlignCenter);
    layout->addWidget(lblVersion, 0, Qt::AlignCenter);
    layout->addWidget(Command1, 0, Qt::AlignCenter);
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);
}

void frmSplash::keyPressEvent(QKeyEvent* event) {
    event->accept(); // keys do nothing here
}

} // namespace velmora
