#include "gui/datiutente.h"

#include "gui/frmsplash.h"
#include "gui/messages.h"
#include "gui/principale.h"
#include "gui/program.h"
#include "gui/widgets/filteredit.h"

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
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    layout->addLayout(buttons, 5, 0, 1, 3);
    layout->setColumnStretch(1, 1);

    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Text3);
    setTabOrder(Text3, Command1);
    setTabOrder(Command1, Command2);
    connect(Command1, &QPushButton::clicked, this, &datiUtente::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &datiUtente::Command2_Click);
    resize(560, 300);
}

void datiUtente::openForFirstRun() {
    Command2->setText(QStringLiteral("Esci"));
    modifica = false;
    show();
    Text1->setFocus();
}

void datiUtente::openForChange(const QString& officeType, const QString& purpose) {
    setWindowTitle(kChangeCaption);
    Label2->setText(kChangeBanner);
    Text1->setText(officeType);
    Text2->setText(program_.config.OfficeSeat);
    Text3->setPlainText(purpose);
    show();
    modifica = true;
}

void datiUtente::Command1_Click() {
    struct Required {
        QWidget* field;
        bool empty;
        QString message;
    };
    const Required required[] = {
        {Text1, Text1->text().isEmpty(), QStringLiteral("Inserire la tipologia di ufficio")},
        {Text2, Text2->text().isEmpty(), QStringLiteral("Inserire il comune sede dell'ufficio")},
        {Text3, Text3->toPlainText().isEmpty(), QStringLiteral("Inserire la finalit\u00E0")},
    };
    for (const Required& r : required) {
        if (r.empty) {
            program_.messages.show(r.message, Messages::Icon::Exclamation);
            r.field->setFocus(); // the field puts the caret at the end of its text
            return;
        }
    }

    Principale& main = program_.principale();
    Config& config = program_.config;
    config.OfficeType = Text1->text();
    main.Text2->setText(config.OfficeType);
    config.OfficeSeat = Text2->text();
    config.DefaultPurpose = Text3->toPlainText();
    main.Text3->setPlainText(config.DefaultPurpose);
    // The values just written are the ones in memory: nothing to read back. A write that
    // fails has been told to the operator, and the values serve the rest of the run.
    program_.writeConfig();

    saved_ = true;
    if (!modifica) {
        program_.splash().show();
        main.Timer2.start();
        main.show();
        main.CG_Click(1);
    }
    close();
}

void datiUtente::Command2_Click() {
    close();
}

// On a first start the main window is still hidden: leaving this window without saving, by
// "Esci" or by its close box, ends the program instead of leaving it running unseen.
void datiUtente::closeEvent(QCloseEvent* event) {
    if (!modifica && !saved_)
        program_.principale().close();
    QWidget::closeEvent(event);
}

} // namespace velmora
