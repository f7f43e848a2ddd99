#include "gui/waitdialog.h"

#include "gui/widgets/widgets.h"

#include <QLabel>
#include <QProgressBar>
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
    // Told to a screen reader as well: the window's name, and a bar that says it is busy.
    setAccessibleName(message->text());
    auto* busy = named(new QProgressBar(this), "busyBar");
    busy->setRange(0, 0);
    busy->setTextVisible(false);
    busy->setAccessibleName(message->text());
    layout->addWidget(busy);
}

} // namespace velmora
