#include "gui/esportasoggetti.h"

#include "core/files/filewriter.h"
#include "core/subjects/delimited.h"
#include "core/text/textfile.h"
#include "gui/desktop.h"
#include "gui/messages.h"
#include "gui/program.h"
#include "gui/widgets/folderchooser.h"
#include "gui/widgets/widgets.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace velmora {
namespace {

const QString kCaption = QStringLiteral(" Esporta Soggetti");
const QString kFolderLabel = QStringLiteral("Scegliere la cartella di destinazione :");
const QString kNameLabel = QStringLiteral("Nome del file :");
const QString kDefaultName = QStringLiteral("soggetti.csv");
const QString kNoName = QStringLiteral("Scrivere il nome del file");
const QString kBadName = QStringLiteral("Il nome del file non pu\u00F2 contenere \\ o /");
const QString kReplace = QStringLiteral("Il file %1 esiste gi\u00E0. Sostituirlo?");
const QString kNoSubjects = QStringLiteral("La tabella non contiene soggetti da esportare");
const QString kExported = QStringLiteral("I soggetti sono stati esportati nel file\r\n%1");

} // namespace

EsportaSoggetti& EsportaSoggetti::open(Program& program, QWidget& owner) {
    auto* window = owner.findChild<EsportaSoggetti*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new EsportaSoggetti(program, owner);
        // Start where imports start, as the file is meant to be imported again.
        QString start = program.config.ImportFolder;
        if (!window->folders->setFolder(start) && !window->folders->setFolder(GetDesktopPath()))
            window->folders->setFolder(QDir::currentPath());
    }
    centreOver(*window, owner);
    bringToFront(*window);
    return *window;
}

EsportaSoggetti::EsportaSoggetti(Program& program, QWidget& owner)
    : QWidget(&owner, Qt::Dialog), program_(program) { // kept above the main window
    setWindowTitle(kCaption);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    folders = new FolderChooser(warningsTo(program.messages), FolderChooser::Files::Hidden, this);
    Text1 = new QLineEdit(kDefaultName, this);
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command2 = new QPushButton(QStringLiteral("Annulla"), this);
    auto* buttons = buttonRow(Command1, Command2);
    layout->addWidget(new QLabel(kFolderLabel, this));
    layout->addWidget(folders, 1);
    layout->addWidget(new QLabel(kNameLabel, this));
    layout->addWidget(Text1);
    layout->addLayout(buttons);
    connect(Command1, &QPushButton::clicked, this, &EsportaSoggetti::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
    pressButtonsByKey(*this);
    cancelOnEscape(*this, Command2);
    resize(480, 460);
}

void EsportaSoggetti::Command1_Click() {
    Messages& messages = program_.messages;
    const QString name = Text1->text().trimmed();
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\')) {
        messages.show(name.isEmpty() ? kNoName : kBadName, Messages::Icon::Exclamation);
        Text1->setFocus();
        return;
    }
    if (program_.table.progressivo() == 0) {
        messages.show(kNoSubjects, Messages::Icon::Exclamation);
        return;
    }
    const QString path = QDir(folders->folder()).filePath(name);
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
