#include "gui/datiutente.h"

#include "gui/messages.h"
#include "gui/program.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/widgets.h"

#include <QCloseEvent>
#include <QGridLayout>

namespace velmora {
namespace {

const QString kFirstRunCaption = QStringLiteral(" Inserimento Dati Configurazione");
const QString kChangeCaption = QStringLiteral(" Modifica Dati Configurazione");
const QString kFirstRunBanner = QStringLiteral(
    "Prima di accedere all'applicazione \u00E8 necessario inserire i dati riguardanti l'ente "
    "richiedente.     Di seguito indicare la finalit\u00E0 di richiesta del certificato.");
const QString kChangeBanner =
    QStringLiteral(" Modifica dei parametri di configurazione iniziale : \r\n");

} // namespace

datiUtente::datiUtente(Program& program) : program_(program) {
    setWindowTitle(kFirstRunCaption);
    const auto warning = warningsTo(program.messages);
    auto* layout = new QGridLayout(this);
    Label1 = new QLabel(
        QStringLiteral("KEB VELMORA - Applicazione per la richiesta dei certificati"), this);
    QFont title = Label1->font();
    title.setBold(true);
    Label1->setFont(title);
    Label2 = new QLabel(kFirstRunBanner, this);
    Label2->setWordWrap(true);
    Text1 = new FilteredLineEdit(this);
    Text1->setKeyFilter(configfields::officeType(), warning);
    Text2 = new FilteredLineEdit(this);
    Text2->setKeyFilter(configfields::officeSeat(), warning);
    Text3 = new FilteredTextEdit(this);
    Text3->setKeyFilter(configfields::purpose(), warning);
    Text3->setFixedHeight(70);
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command2 = new QPushButton(QStringLiteral("Annulla"), this);

    layout->addWidget(Label1, 0, 0, 1, 3);
    layout->addWidget(Label2, 1, 0, 1, 3);
    layout->addWidget(new QLabel(QStringLiteral("Tipo Ufficio"), this), 2, 0);
    layout->addWidget(Text1, 2, 1, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("Sede Ufficio"), this), 3, 0);
    layout->addWidget(Text2, 3, 1, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("Finalit\u00E0"), this), 4, 0, Qt::AlignTop);
    layout->addWidget(Text3, 4, 1, 1, 2);
    auto* buttons = buttonRow(Command1, Command2);
    layout->addLayout(buttons, 5, 0, 1, 3);
    layout->setColumnStretch(1, 1);

    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Text3);
    setTabOrder(Text3, Command1);
    setTabOrder(Command1, Command2);
    connect(Command1, &QPushButton::clicked, this, &datiUtente::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &datiUtente::Command2_Click);
    pressButtonsByKey(*this);
    cancelOnEscape(*this, Command2);
    resize(560, 300);
}

void datiUtente::openForFirstRun() {
    Command2->setText(QStringLiteral("Esci"));
    modifica = false;
    bringToFront(*this);
    Text1->setFocus();
}

void datiUtente::openForChange(const QString& officeType, const QString& purpose) {
    setWindowTitle(kChangeCaption);
    Label2->setText(kChangeBanner);
    Text1->setText(officeType);
    Text2->setText(program_.config.OfficeSeat);
    Text3->setPlainText(purpose);
    bringToFront(*this);
    modifica = true;
}

QWidget* datiUtente::fieldOf(MissingOfficeData::Field field) const {
    switch (field) {
    case MissingOfficeData::Field::OfficeType:
        return Text1;
    case MissingOfficeData::Field::OfficeSeat:
        return Text2;
    case MissingOfficeData::Field::Purpose:
        return Text3;
    }
    return Text1;
}

void datiUtente::Command1_Click() {
    const OfficeData typed{Text1->text(), Text2->text(), Text3->toPlainText()};
    if (const auto missing = missingOfficeData(typed)) {
        program_.messages.show(missing->message, Messages::Icon::Exclamation);
        fieldOf(missing->field)->setFocus(); // the field puts the caret at the end of its text
        return;
    }

    Config& config = program_.config;
    config.OfficeType = typed.officeType;
    config.OfficeSeat = typed.officeSeat;
    config.DefaultPurpose = typed.purpose;
    // The values just written are the ones in memory: nothing to read back. A write that
    // fails has been told to the operator, and the values serve the rest of the run.
    program_.writeConfig();

    saved_ = true;
    Q_EMIT saved(!modifica);
    close();
}

void datiUtente::Command2_Click() {
    close();
}

// On a first start the main window is still hidden: leaving this window without saving, by
// "Esci" or by its close box, ends the program instead of leaving it running unseen.
void datiUtente::closeEvent(QCloseEvent* event) {
    if (!modifica && !saved_)
        Q_EMIT firstRunLeft();
    QWidget::closeEvent(event);
}

} // namespace velmora
