#include "gui/exportdialog.h"

#include "core/files/filewriter.h"
#include "core/subjects/delimited.h"
#include "core/text/textfile.h"
#include "gui/desktopfolder.h"
#include "gui/messages.h"
#include "gui/program.h"
#include "gui/widgets/folderchooser.h"
#include "gui/widgets/widgets.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {
namespace {

const QString kCaption = QStringLiteral(" Esporta Soggetti");
const QString kFolderLabel = QStringLiteral("&Scegliere la cartella di destinazione :");
const QString kNameLabel = QStringLiteral("&Nome del file :");
const QString kDefaultName = QStringLiteral("soggetti.csv");
const QString kNoName = QStringLiteral("Scrivere il nome del file");
const QString kBadName = QStringLiteral("Il nome del file non pu\u00F2 contenere \\ o /");
const QString kReplace = QStringLiteral("Il file %1 esiste gi\u00E0. Sostituirlo?");
const QString kNoSubjects = QStringLiteral("La tabella non contiene soggetti da esportare");
const QString kExported = QStringLiteral("I soggetti sono stati esportati nel file\r\n%1");

} // namespace

ExportDialog::ExportDialog(Program& program) : program_(program) {
    setWindowTitle(kCaption);
    auto* layout = new QVBoxLayout(this);
    folderChooser =
        named(new FolderChooser(warningsTo(program.messages), FolderChooser::Files::Hidden, this),
              "folderChooser");
    fileNameEdit = named(new QLineEdit(kDefaultName, this), "fileNameEdit");
    okButton = named(new QPushButton(QStringLiteral("&OK"), this), "okButton");
    cancelButton = named(new QPushButton(QStringLiteral("&Annulla"), this), "cancelButton");
    auto* buttons = buttonRow(okButton, cancelButton);
    layout->addWidget(captionFor(
        kFolderLabel, folderChooser->findChild<QWidget*>(QStringLiteral("folderTree")), this));
    layout->addWidget(folderChooser, 1);
    layout->addWidget(captionFor(kNameLabel, fileNameEdit, this));
    layout->addWidget(fileNameEdit);
    layout->addLayout(buttons);
    connect(okButton, &QPushButton::clicked, this, &ExportDialog::exportSubjects);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
    pressButtonsByKey(*this);
    cancelOnEscape(*this, cancelButton);
    resize(480, 460);
    if (!folderChooser->setFolder(program.config.importFolder) &&
        !folderChooser->setFolder(desktopFolder()))
        folderChooser->setFolder(program.folders.work);
}

void ExportDialog::exportSubjects() {
    Messages& messages = program_.messages;
    const QString name = fileNameEdit->text().trimmed();
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\')) {
        messages.show(name.isEmpty() ? kNoName : kBadName, Messages::Icon::Exclamation);
        fileNameEdit->setFocus();
        return;
    }
    if (program_.table.subjectCount() == 0) {
        messages.show(kNoSubjects, Messages::Icon::Exclamation);
        return;
    }
    const QString path = QDir(folderChooser->folder()).filePath(name);
    if (QFileInfo::exists(path) && !messages.ask(kReplace.arg(QDir::toNativeSeparators(path)),
                                                 Messages::Icon::Exclamation, true))
        return;
    const Result<QByteArray> bytes = delimitedSubjectBytes(program_.table);
    const Status written =
        bytes ? writeFile(path, *bytes) : Status(Failure{cannotWrite(path, bytes.error())});
    const QString& error = written.error();
    if (!error.isEmpty()) {
        messages.show(error, Messages::Icon::Critical);
        return;
    }
    messages.show(kExported.arg(QDir::toNativeSeparators(path)), Messages::Icon::Information);
    close();
}

} // namespace velmora
