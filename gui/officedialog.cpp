#include "gui/officedialog.h"

#include "gui/messages.h"
#include "gui/program.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/widgets.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

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

OfficeDialog::OfficeDialog(Program& program) : program_(program) {
    setWindowTitle(kFirstRunCaption);
    const auto warning = warningsTo(program.messages);
    auto* layout = new QGridLayout(this);
    auto* titleLabel = new QLabel(
        QStringLiteral("KEB VELMORA - Applicazione per la richiesta dei certificati"), this);
    QFont title = titleLabel->font();
    title.setBold(true);
    titleLabel->setFont(title);
    bannerLabel = named(new QLabel(kFirstRunBanner, this), "bannerLabel");
    bannerLabel->setWordWrap(true);
    officeTypeEdit = named(new FilteredLineEdit(this), "officeTypeEdit");
    officeTypeEdit->setKeyFilter(configfields::officeType(), warning);
    officeSeatEdit = named(new FilteredLineEdit(this), "officeSeatEdit");
    officeSeatEdit->setKeyFilter(configfields::officeSeat(), warning);
    purposeEdit = named(new FilteredTextEdit(this), "purposeEdit");
    purposeEdit->setKeyFilter(configfields::purpose(), warning);
    purposeEdit->setFixedHeight(70);
    okButton = named(new QPushButton(QStringLiteral("&OK"), this), "okButton");
    cancelButton = named(new QPushButton(QStringLiteral("&Annulla"), this), "cancelButton");

    layout->addWidget(titleLabel, 0, 0, 1, 3);
    layout->addWidget(bannerLabel, 1, 0, 1, 3);
    layout->addWidget(captionFor(QStringLiteral("Tipo &Ufficio"), officeTypeEdit, this), 2, 0);
    layout->addWidget(officeTypeEdit, 2, 1, 1, 2);
    layout->addWidget(captionFor(QStringLiteral("&Sede Ufficio"), officeSeatEdit, this), 3, 0);
    layout->addWidget(officeSeatEdit, 3, 1, 1, 2);
    layout->addWidget(captionFor(QStringLiteral("&Finalit\u00E0"), purposeEdit, this), 4, 0,
                      Qt::AlignTop);
    layout->addWidget(purposeEdit, 4, 1, 1, 2);
    auto* buttons = buttonRow(okButton, cancelButton);
    layout->addLayout(buttons, 5, 0, 1, 3);
    layout->setColumnStretch(1, 1);

    setTabOrder(officeTypeEdit, officeSeatEdit);
    setTabOrder(officeSeatEdit, purposeEdit);
    setTabOrder(purposeEdit, okButton);
    setTabOrder(okButton, cancelButton);
    connect(okButton, &QPushButton::clicked, this, &OfficeDialog::save);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
    pressButtonsByKey(*this);
    cancelOnEscape(*this, cancelButton);
    resize(560, 300);
}

void OfficeDialog::openForFirstRun() {
    cancelButton->setText(QStringLiteral("&Esci"));
    changing_ = false;
    bringToFront(*this);
    officeTypeEdit->setFocus();
}

void OfficeDialog::openForChange(const QString& officeType, const QString& purpose) {
    setWindowTitle(kChangeCaption);
    bannerLabel->setText(kChangeBanner);
    officeTypeEdit->setText(officeType);
    officeSeatEdit->setText(program_.config.officeSeat);
    purposeEdit->setPlainText(purpose);
    bringToFront(*this);
    changing_ = true;
}

QWidget* OfficeDialog::fieldOf(MissingOfficeData::Field field) const {
    switch (field) {
    case MissingOfficeData::Field::OfficeType:
        return officeTypeEdit;
    case MissingOfficeData::Field::OfficeSeat:
        return officeSeatEdit;
    case MissingOfficeData::Field::Purpose:
        return purposeEdit;
    }
    return officeTypeEdit;
}

void OfficeDialog::save() {
    const OfficeData typed{officeTypeEdit->text(), officeSeatEdit->text(),
                           purposeEdit->toPlainText()};
    if (const auto missing = missingOfficeData(typed)) {
        program_.messages.show(missing->message, Messages::Icon::Exclamation);
        fieldOf(missing->field)->setFocus(); // the field puts the caret at the end of its text
        return;
    }

    Config& config = program_.config;
    config.officeType = typed.officeType;
    config.officeSeat = typed.officeSeat;
    config.defaultPurpose = typed.purpose;
    // The values just written are the ones in memory: nothing to read back. A write that
    // fails has been told to the operator, and the values serve the rest of the run.
    program_.writeConfig();

    saved_ = true;
    Q_EMIT saved(!changing_);
    close();
}

// On a first start the main window is still hidden: leaving this window without saving, by
// "Esci" or by its close box, ends the program instead of leaving it running unseen.
void OfficeDialog::closeEvent(QCloseEvent* event) {
    if (!changing_ && !saved_)
        Q_EMIT firstRunLeft();
    QWidget::closeEvent(event);
}

} // namespace velmora
