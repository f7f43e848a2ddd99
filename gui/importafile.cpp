#include "gui/importafile.h"

#include "core/import/importfile.h"
#include "gui/desktop.h"
#include "gui/messages.h"
#include "gui/program.h"
#include "gui/widgets/folderchooser.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QProgressDialog>
#include <QVBoxLayout>

namespace velmora {
namespace {

const QString kTextPattern = QStringLiteral("*.txt");
const QString kCsvPattern = QStringLiteral("*.csv");
const QString kImporting = QStringLiteral("Importazione del file in corso . . .");
constexpr int kProgressAfterMs = 400;

// The desktop, or else the folder the program runs in.
QString fallbackFolder() {
    const QString desktop = GetDesktopPath();
    return desktop.isEmpty() ? QDir::currentPath() : desktop;
}

} // namespace

ImportaFile::ImportaFile(Program& program) : program_(program) {
    setWindowTitle(QStringLiteral(" Apri File"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Scegliere il file da importare :"), this);
    folders = new FolderChooser(warningsTo(program.messages), FolderChooser::Files::Shown, this);
    Label2 = new QLabel(QStringLiteral("Tipo file :"), this);
    Combo1 = new QComboBox(this);
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command2 = new QPushButton(QStringLiteral("Annulla"), this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label2);
    bottom->addWidget(Combo1, 1);
    bottom->addStretch();
    bottom->addWidget(Command1);
    bottom->addWidget(Command2);
    layout->addWidget(Label1);
    layout->addWidget(folders, 1);
    layout->addLayout(bottom);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &ImportaFile::Combo1_Click);
    connect(Command1, &QPushButton::clicked, this, &ImportaFile::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
    pressButtonsByKey(*this);
    cancelOnEscape(*this, Command2);
    resize(480, 520);
}

void ImportaFile::open() {
    Form_Load();
    bringToFront(*this);
}

void ImportaFile::Form_Load() {
    {
        const QSignalBlocker quiet(Combo1);
        Combo1->clear();
        Combo1->addItem(QStringLiteral("Documento di testo (*.txt)"));
        Combo1->addItem(QStringLiteral("File CSV (*.csv)"));
        Combo1->setCurrentIndex(0);
    }
    focusNextChild();
    folders->setFilePattern(kTextPattern);

    QString& remembered = program_.config.ImportFolder;
    if (program_.reloadConfig() == ConfigRead::Complete) {
        if (remembered.isEmpty())
            remembered = fallbackFolder();
        if (folders->setFolder(remembered))
            return;
    }
    // No configuration, or its folder is gone.
    if (remembered.isEmpty()) {
        folders->setFolder(QDir::currentPath());
        return;
    }
    remembered = fallbackFolder();
    folders->setFolder(remembered);
}

void ImportaFile::Combo1_Click(int position) {
    folders->setFilePattern(position == 0 ? kTextPattern : kCsvPattern);
}

void ImportaFile::Command1_Click() {
    const QString file = folders->selectedFile();
    // Only a file is imported: a folder, or a file gone since it was listed, is no choice.
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        program_.messages.show(kChooseAFile, Messages::Icon::Exclamation);
        return;
    }
    const auto kind = Combo1->currentIndex() == 0 ? ImportKind::FixedWidth : ImportKind::Delimited;
    const int rowsBefore = program_.table.progressivo();

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

    if (!result.ok()) {
        program_.messages.show(result.error(), Messages::Icon::Critical);
        Q_EMIT refused(rowsBefore);
        close();
        return;
    }
    program_.table.appendRows(std::move(*result));
    Q_EMIT imported(program_.table.progressivo());
    program_.importoFile = true;
    program_.config.ImportFolder = folders->folder();
    program_.writeConfig();
    close();
}

} // namespace velmora
