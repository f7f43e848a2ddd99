#include "gui/createfilesdialog.h"

#include "core/clock.h"
#include "core/output/batch.h"
#include "core/paths.h"
#include "core/pdf/pdfform.h"
#include "gui/desktopfolder.h"
#include "gui/messages.h"
#include "gui/program.h"
#include "gui/shell.h"
#include "gui/widgets/folderchooser.h"
#include "gui/widgets/widgets.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {
namespace {

const QString kBatchLabel = QStringLiteral("Scegliere la directory di destinazione per i file :");
const QString kPdfLabel =
    QStringLiteral("Scegliere la directory di destinazione per il modulo PDF :");

} // namespace

CreateFilesDialog::CreateFilesDialog(Program& program) : program_(program) {
    setWindowTitle(QStringLiteral(" Directory di destinazione"));
    auto* layout = new QVBoxLayout(this);
    folderLabel = named(new QLabel(kBatchLabel, this), "folderLabel");
    folderChooser =
        named(new FolderChooser(warningsTo(program.messages), FolderChooser::Files::Hidden, this),
              "folderChooser");
    folderLabel->setBuddy(folderChooser->findChild<QWidget*>(QStringLiteral("folderTree")));
    okButton = named(new QPushButton(QStringLiteral("&OK"), this), "okButton");
    cancelButton = named(new QPushButton(QStringLiteral("&Annulla"), this), "cancelButton");
    auto* buttons = buttonRow(okButton, cancelButton);
    layout->addWidget(folderLabel);
    layout->addWidget(folderChooser, 1);
    layout->addLayout(buttons);
    connect(okButton, &QPushButton::clicked, this, &CreateFilesDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
    pressButtonsByKey(*this);
    cancelOnEscape(*this, cancelButton);
    resize(480, 420);
}

void CreateFilesDialog::openForBatch(const Request& request) {
    open(request, false);
}

void CreateFilesDialog::openForPdf(const Request& request) {
    open(request, true);
}

void CreateFilesDialog::open(const Request& request, bool pdfForm) {
    request_ = request;
    pdfForm_ = pdfForm;
    if (pdfForm_)
        folderLabel->setText(kPdfLabel);
    program_.reloadConfig();
    QString& remembered = pdfForm_ ? program_.config.pdfFolder : program_.config.outputFolder;
    if (remembered.isEmpty())
        remembered = desktopFolder();
    if (!folderChooser->setFolder(remembered)) {
        // The remembered folder is gone: start from the desktop, or else from the working folder.
        remembered = desktopFolder();
        if (!folderChooser->setFolder(remembered))
            folderChooser->setFolder(program_.folders.work);
    }
    bringToFront(*this);
    folderChooser->focusChoice();
}

void CreateFilesDialog::confirm() {
    if (pdfForm_)
        writePdfForm();
    else
        writeBatch();
}

void CreateFilesDialog::writePdfForm() {
    const BatchStamp stamp = batchStamp(program_.clock.now());
    const QString chosen = folderChooser->folder();
    const FormFields fields =
        pdfFormFields(program_.config, request_, program_.table.subjectCount());
    const PdfFormResult form =
        velmora::writePdfForm(chosen, stamp, fields, program_.folders.dataFile(kFormTemplate));
    if (!form) {
        program_.messages.show(form.error(), Messages::Icon::Critical);
        return;
    }
    hide();
    program_.request.setOutput(
        {Output::Kind::Form, program_.clock.now(), QFileInfo(form->pdfPath).fileName()});
    program_.config.pdfFolder = chosen;
    if (!program_.shell.open(form->pdfPath))
        program_.messages.show(pdfNotOpenedMessage(*form), Messages::Icon::Information);
    program_.writeConfig();
    close();
}

void CreateFilesDialog::writeBatch() {
    const BatchStamp stamp = batchStamp(program_.clock.now());
    const QString chosen = folderChooser->folder();
    const Result<QString> batch =
        velmora::writeBatch(chosen, stamp, request_, program_.table, program_.batchCounter);
    if (!batch) {
        // Nothing was left behind; the window stays open for another folder.
        program_.messages.show(batch.error(), Messages::Icon::Critical);
        return;
    }
    hide();
    program_.request.setOutput(
        {Output::Kind::Batch, program_.clock.now(), QFileInfo(*batch).fileName()});
    program_.config.outputFolder = chosen;
    program_.messages.show(kCreated.arg(QDir::toNativeSeparators(*batch)),
                           Messages::Icon::Information);
    program_.writeConfig();
    close();
}

} // namespace velmora
