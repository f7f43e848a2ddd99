#include "gui/avvisotabella.h"

#include "gui/program.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace velmora {

AvvisoTabella::AvvisoTabella(Program& program) : program_(program) {
    setWindowTitle(QStringLiteral(" Cancella Tabella"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 20, 28, 16);
    layout->setSpacing(16);
    Label1 = new QLabel(QStringLiteral("Cancellare l'intera tabella ?"), this);
    layout->addWidget(Label1, 0, Qt::AlignCenter);
    auto* buttons = new QHBoxLayout;
    Command1 = new QPushButton(QStringLiteral("Si"), this);
    Command2 = new QPushButton(QStringLiteral("Annulla"), this);
    for (QPushButton* button : {Command1, Command2})
        button->setMinimumWidth(90);
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addStretch();
    layout->addLayout(buttons);
    setTabOrder(Command1, Command2);
    connect(Command1, &QPushButton::clicked, this, &AvvisoTabella::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
}

void AvvisoTabella::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Command2->setFocus(Qt::TabFocusReason);
}

void AvvisoTabella::Command1_Click() {
    int none = 0;
    EraseTable(none);
}

void AvvisoTabella::EraseTable(int& prog) {
    int kept = 0;
    if (prog != 0) {
        prog += 1;
        program_.table.keepRows(prog - 1);
        kept = prog - 1;
    } else {
        program_.importoFile = false;
    }
    Q_EMIT erased(kept);
    close();
}

} // namespace velmora
