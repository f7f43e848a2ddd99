#include "gui/creafiles.h"

#include "core/clock.h"
#include "core/output/batch.h"
#include "core/paths.h"
#include "core/pdf/pdfform.h"
#include "gui/desktop.h"
#include "gui/messages.h"
#include "gui/program.h"
#include "gui/shell.h"
#include "gui/widgets/folderchooser.h"
#include "gui/widgets/widgets.h"

#include <QDir>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

namespace velmora {
namespace {

const QString kBatchLabel = QStringLiteral("Scegliere la directory di destinazione per i file :");
const QString kPdfLabel =
    QStringLiteral("Scegliere la directory di destinazione per il modulo PDF :");

// The certificate's place in the list, from the type the request holds.
int certPositionOf(const QString& description) {
    const auto found = std::find(kCertificateTypes.begin(), kCertificateTypes.end(), description);
    return found == kCertificateTypes.end() ? -1 : int(found - kCertificateTypes.begin());
}

} // namespace

CreaFiles::CreaFiles(Program& program) : program_(program) {
    setWindowTitle(QStringLiteral(" Directory di destinazione"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(kBatchLabel, this);
    folders = new FolderChooser(warningsTo(program.messages), FolderChooser::Files::Hidden, this);
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command2 = new QPushButton(QStringLiteral("Annulla"), this);
    auto* buttons = buttonRow(Command1, Command2);
    layout->addWidget(Label1);
    layout->addWidget(folders, 1);
    layout->addLayout(buttons);
    connect(Command1, &QPushButton::clicked, this, &CreaFiles::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
    pressButtonsByKey(*this);
    cancelOnEscape(*this, Command2);
    resize(480, 420);
}

void CreaFiles::open(bool pdfMode) {
    CreaPdf = pdfMode;
    Form_Load();
    bringToFront(*this);
}

void CreaFiles::Form_Load() {
    if (CreaPdf)
        Label1->setText(kPdfLabel);
    program_.reloadConfig();
    QString& remembered = CreaPdf ? program_.config.PdfFolder : program_.config.OutputFolder;
    if (remembered.isEmpty())
        remembered = GetDesktopPath();
    if (folders->setFolder(remembered))
        return;
    // The remembered folder is gone: start from the desktop, or else from the working folder.
    remembered = GetDesktopPath();
    if (!folders->setFolder(remembered))
        folders->setFolder(QDir::currentPath());
}

void CreaFiles::Command1_Click() {
    if (CreaPdf)
        writePdfForm();
    else
        writeBatch();
}

void CreaFiles::writePdfForm() {
    const BatchStamp stamp = batchStamp(program_.clock.now());
    const QString chosen = folders->folder();
    const int position = certPositionOf(program_.request.certTypeDescription);
    const FormFields fields =
        pdfFormFields(program_.config, program_.request, position, program_.table.progressivo());
    const PdfFormResult form = WritePdfFormData(chosen, stamp, fields, dataPath(kFormTemplate));
    if (!form.ok()) {
        program_.messages.show(form.error(), Messages::Icon::Critical);
        return;
    }
    hide();
    program_.config.PdfFolder = chosen;
    if (!program_.shell.open(form->pdfPath))
        program_.messages.show(pdfNotOpenedMessage(*form), Messages::Icon::Information);
    program_.writeConfig();
    close();
}

void CreaFiles::writeBatch() {
    const BatchStamp stamp = batchStamp(program_.clock.now());
    const QString chosen = folders->folder();
    const Result<QString> batch =
        velmora::writeBatch(chosen, stamp, program_.request, program_.table, program_.BatchCounter);
    if (!batch) {
        // Nothing was left behind; the window stays open for another folder.
        program_.messages.show(batch.error(), Messages::Icon::Critical);
        return;
    }
    hide();
    program_.config.OutputFolder = chosen;
    program_.messages.show(kCreated.arg(QDir::toNativeSeparators(*batch)),
                           Messages::Icon::Information);
    program_.writeConfig();
    close();
}

} // namespace velmora
