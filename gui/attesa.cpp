#include "gui/attesa.h"

#include <QVBoxLayout>

namespace velmora {

attesa::attesa()
    : QWidget(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("VELMORA"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 24, 36, 24);
    Label1 = new QLabel(QStringLiteral("Attendere: verifica dei dati . . ."), this);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    layout->addWidget(Label1, 0, Qt::AlignCenter);
}

} // namespace velmora
