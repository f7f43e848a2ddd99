#include "gui/importdialog.h"

#include "core/import/importfile.h"
#include "core/paths.h"
#include "core/text/textfile.h"
#include "gui/desktopfolder.h"
#include "gui/messages.h"
#include "gui/program.h"
#include "gui/widgets/folderchooser.h"
#include "gui/widgets/widgets.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {
namespace {

const QString kTextPattern = QStringLiteral("*.txt");
const QString kCsvPattern = QStringLiteral("*.csv");
const QString kTextKind = QStringLiteral("txt");
const QString kCsvKind = QStringLiteral("csv");
const QString kImporting = QStringLiteral("Importazione del file in corso . . .");
constexpr int kProgressAfterMs = 400;

// Closes the window once the events posted before it have been handled.
QEvent::Type closeWhenIdle() {
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

// The desktop, or else the working folder.
QString fallbackFolder(const QString& work) {
    const QString desktop = desktopFolder();
    return desktop.isEmpty() ? work : desktop;
}

} // namespace

ImportDialog::ImportDialog(Program& program) : program_(program) {
    setWindowTitle(QStringLiteral(" Apri File"));
    auto* layout = new QVBoxLayout(this);
    folderChooser =
        named(new FolderChooser(warningsTo(program.messages), FolderChooser::Files::Shown, this),
              "folderChooser");
    fileTypeCombo = named(new QComboBox(this), "fileTypeCombo");
    okButton = named(new QPushButton(QStringLiteral("&OK"), this), "okButton");
    cancelButton = named(new QPushButton(QStringLiteral("&Annulla"), this), "cancelButton");
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(captionFor(QStringLiteral("&Tipo file :"), fileTypeCombo, this));
    bottom->addWidget(fileTypeCombo, 1);
    bottom->addStretch();
    bottom->addWidget(okButton);
    bottom->addWidget(cancelButton);
    layout->addWidget(captionFor(QStringLiteral("&Scegliere il file da importare :"),
                                 folderChooser->findChild<QWidget*>(QStringLiteral("folderTree")),
                                 this));
    layout->addWidget(folderChooser, 1);
    layout->addLayout(bottom);
    connect(fileTypeCombo, &QComboBox::currentIndexChanged, this, &ImportDialog::fileTypeChosen);
    connect(okButton, &QPushButton::clicked, this, &ImportDialog::import);
    connect(folderChooser, &FolderChooser::fileActivated, this, &ImportDialog::import);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
    pressButtonsByKey(*this);
    cancelOnEscape(*this, cancelButton);
    resize(480, 520);
}

void ImportDialog::open() {
    {
        const QSignalBlocker quiet(fileTypeCombo);
        fileTypeCombo->clear();
        fileTypeCombo->addItem(QStringLiteral("Documento di testo (*.txt)"));
        fileTypeCombo->addItem(QStringLiteral("File CSV (*.csv)"));
        const TextRead kind = readTextFile(program_.folders.workFile(kImportKindFile));
        rememberedCsv_ = kind.ok() && kind->value(0) == kCsvKind;
        fileTypeCombo->setCurrentIndex(rememberedCsv_ ? 1 : 0);
    }
    fileTypeChosen(fileTypeCombo->currentIndex());
    showRememberedFolder();
    bringToFront(*this);
    folderChooser->focusChoice();
}

void ImportDialog::showRememberedFolder() {
    QString& remembered = program_.config.importFolder;
    if (program_.reloadConfig() == ConfigRead::Complete) {
        if (remembered.isEmpty())
            remembered = fallbackFolder(program_.folders.work);
        if (folderChooser->setFolder(remembered))
            return;
    }
    // No configuration, or its folder is gone.
    if (remembered.isEmpty()) {
        folderChooser->setFolder(program_.folders.work);
        return;
    }
    remembered = fallbackFolder(program_.folders.work);
    folderChooser->setFolder(remembered);
}

void ImportDialog::fileTypeChosen(int position) {
    folderChooser->setFilePattern(position == 0 ? kTextPattern : kCsvPattern);
}

void ImportDialog::import() {
    const QString file = folderChooser->selectedFile();
    // Only a file is imported: a folder, or a file gone since it was listed, is no choice.
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        program_.messages.show(kChooseAFile, Messages::Icon::Exclamation);
        return;
    }
    const auto kind =
        fileTypeCombo->currentIndex() == 0 ? ImportKind::FixedWidth : ImportKind::Delimited;
    const int rowsBefore = program_.table.subjectCount();

    QProgressDialog progress(kImporting, QString(), 0, 100, this);
    progress.setWindowTitle(kAppTitle);
    // The dialog lets events through while it shows: none may touch the table meanwhile.
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(kProgressAfterMs);
    progress.setAutoReset(false);
    ImportResult result =
        importSubjectFile(file, kind, rowsBefore, program_.municipalities, program_.states,
                          [&progress](qint64 done, qint64 total) {
                              if (total > 0)
                                  progress.setValue(int(done * 100 / total));
                          });
    progress.close();

    // Refused, the file is named with every line that failed; the window stays on its folder
    // for the file once corrected, or another.
    if (!result.ok()) {
        program_.messages.show(result.error(), Messages::Icon::Critical, kAppTitle,
                               result.detail());
        Q_EMIT refused(rowsBefore);
        return;
    }
    // Nothing to add: the operator may choose another file.
    if (result->isEmpty()) {
        program_.messages.show(kNoSubjectsInFile, Messages::Icon::Exclamation);
        return;
    }
    const qsizetype count = result->size();
    program_.edits.append(std::move(*result),
                          count == 1 ? QStringLiteral("importazione di 1 soggetto")
                                     : QStringLiteral("importazione di %1 soggetti").arg(count));
    Q_EMIT imported(rowsBefore + 1, program_.table.subjectCount());
    program_.holdsImportedRows = true;
    program_.config.importFolder = folderChooser->folder();
    program_.writeConfig();
    // Only a convenience, written when it changes: a type that cannot be kept is chosen again
    // by hand.
    if (const bool csv = kind == ImportKind::Delimited; csv != rememberedCsv_)
        (void)writeTextFile(program_.folders.workFile(kImportKindFile), csv ? kCsvKind : kTextKind);
    // Taking the window apart ends its file lists' watching of their folders, which blocks for
    // some 10 ms a list: the window goes now and its parts once the main window has shown the
    // rows, whose repaint was asked for before with the same low priority.
    hide();
    QCoreApplication::postEvent(this, new QEvent(closeWhenIdle()), Qt::LowEventPriority);
}

bool ImportDialog::event(QEvent* event) {
    if (event->type() != closeWhenIdle())
        return QWidget::event(event);
    close();
    return true;
}

} // namespace velmora
