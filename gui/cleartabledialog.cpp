#include "gui/cleartabledialog.h"

#include "gui/program.h"
#include "gui/widgets/widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

ClearTableDialog::ClearTableDialog(Program& program) : program_(program) {
    setWindowTitle(QStringLiteral(" Cancella Tabella"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 20, 28, 16);
    layout->setSpacing(16);
    layout->addWidget(new QLabel(QStringLiteral("Cancellare l'intera tabella ?"), this), 0,
                      Qt::AlignCenter);
    auto* buttons = new QHBoxLayout;
    yesButton = named(new QPushButton(QStringLiteral("&Si"), this), "yesButton");
    cancelButton = named(new QPushButton(QStringLiteral("&Annulla"), this), "cancelButton");
    for (QPushButton* button : {yesButton, cancelButton})
        button->setMinimumWidth(90);
    buttons->addStretch();
    buttons->addWidget(yesButton);
    buttons->addWidget(cancelButton);
    buttons->addStretch();
    layout->addLayout(buttons);
    setTabOrder(yesButton, cancelButton);
    connect(yesButton, &QPushButton::clicked, this, [this] { keepRows(0); });
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
}

void ClearTableDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    cancelButton->setFocus(Qt::TabFocusReason);
}

void ClearTableDialog::keepRows(int count) {
    if (count != 0)
        program_.table.keepRows(count);
    else
        program_.holdsImportedRows = false;
    Q_EMIT erased(count);
    close();
}

} // namespace velmora
