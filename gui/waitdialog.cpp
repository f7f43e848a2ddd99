#include "gui/waitdialog.h"

#include <QLabel>
#include <QVBoxLayout>

namespace velmora {

WaitDialog::WaitDialog()
    : QWidget(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("VELMORA"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 24, 36, 24);
    auto* message = new QLabel(QStringLiteral("Attendere: verifica dei dati . . ."), this);
    QFont bold = message->font();
    bold.setBold(true);
    message->setFont(bold);
    layout->addWidget(message, 0, Qt::AlignCenter);
}

} // namespace velmora
