#include "gui/widgets/folderchooser.h"

#include "core/files/filewriter.h"
#include "core/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QInputDialog>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cerrno>

namespace velmora {
namespace {

const QString kDriveNotReady = QStringLiteral("Drive non disponibile");

QString volumeLabel(const QStorageInfo& volume) {
    const QString name = volume.displayName();
    const QString root = QDir::toNativeSeparators(volume.rootPath());
    return name == volume.rootPath() ? root : QStringLiteral("%1  (%2)").arg(root, name);
}

} // namespace

FolderChooser::FolderChooser(Warning warning, Files files, QWidget* parent)
    : QWidget(parent), warning_(std::move(warning)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    driveCombo = named(new QComboBox(this), "driveCombo");
    driveCombo->setAccessibleName(QStringLiteral("Unit\u00E0"));
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid()) {
            volumes_.append(volume);
            driveCombo->addItem(volumeLabel(volume));
        }
    }
    pathEdit = named(new QLineEdit(this), "pathEdit");
    pathEdit->setAccessibleDescription(QStringLiteral("una cartella o un file; Invio per andarci"));
    folders_.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders_.setReadOnly(true);
    folderTree = named(new QTreeView(this), "folderTree");
    folderTree->setAccessibleName(QStringLiteral("Cartelle"));
    folderTree->setModel(&folders_);
    for (int column = 1; column < folders_.columnCount(); ++column)
        folderTree->hideColumn(column);
    folderTree->header()->hide();
    // A caption of its own: on Linux a list is named to a screen reader by the caption it has.
    auto* driveRow = new QHBoxLayout;
    driveRow->addWidget(captionFor(QStringLiteral("&Unit\u00E0 :"), driveCombo, this));
    driveRow->addWidget(driveCombo, 1);
    layout->addLayout(driveRow);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(captionFor(QStringLiteral("&Percorso :"), pathEdit, this));
    pathRow->addWidget(pathEdit, 1);
    if (files == Files::Hidden) {
        auto* newFolderButton =
            named(new QPushButton(QStringLiteral("Nuova &cartella"), this), "newFolderButton");
        pathRow->addWidget(newFolderButton);
        connect(newFolderButton, &QPushButton::clicked, this, &FolderChooser::makeFolder);
    }
    layout->addLayout(pathRow);
    layout->addWidget(folderTree, 1);
    connect(pathEdit, &QLineEdit::returnPressed, this, &FolderChooser::pathEntered);
    if (files == Files::Shown) {
        files_ = new QFileSystemModel(this);
        files_->setFilter(QDir::Files);
        files_->setNameFilterDisables(false);
        files_->setReadOnly(true);
        fileList = named(new QListView(this), "fileList");
        fileList->setAccessibleName(QStringLiteral("File"));
        fileList->setModel(files_);
        layout->addWidget(fileList, 1);
        connect(fileList->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this](const QModelIndex& current) {
                    file_ = current.isValid() && !files_->isDir(current) ? files_->filePath(current)
                                                                         : QString();
                });
        connect(fileList, &QListView::activated, this, [this](const QModelIndex& index) {
            if (index.isValid() && !files_->isDir(index))
                Q_EMIT fileActivated(files_->filePath(index));
        });
    }
    connect(folderTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    setFolder(folders_.filePath(current));
            });
    connect(driveCombo, &QComboBox::activated, this, &FolderChooser::driveChosen);
    // Folders are read in the background: bring the current one into view once the rows read
    // around it have settled.
    reveal_.setSingleShot(true);
    reveal_.setInterval(100);
    connect(&reveal_, &QTimer::timeout, this, [this] {
        const QModelIndex index = folders_.index(folder_);
        if (folderTree->currentIndex() != index)
            folderTree->setCurrentIndex(index);
        folderTree->scrollTo(index);
    });
    connect(&folders_, &QFileSystemModel::directoryLoaded, &reveal_, qOverload<>(&QTimer::start));
    connect(&folders_, &QFileSystemModel::rowsInserted, &reveal_, qOverload<>(&QTimer::start));
}

bool FolderChooser::setFolder(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        return false;
    const QString folder = info.absoluteFilePath();
    if (folder == folder_)
        return true;
    folder_ = folder;
    pathEdit->setText(QDir::toNativeSeparators(folder_));
    selectVolumeOf(folder_);
    const QModelIndex index = folders_.index(folder_);
    if (folderTree->currentIndex() != index) {
        folderTree->setCurrentIndex(index);
        folderTree->scrollTo(index);
    }
    if (files_) {
        file_.clear();
        fileList->setRootIndex(files_->setRootPath(folder_));
    }
    Q_EMIT folderChanged(folder_);
    return true;
}

// A new pattern lists other files: the one chosen before is chosen no more.
void FolderChooser::setFilePattern(const QString& pattern) {
    if (!files_)
        return;
    files_->setNameFilters({pattern});
    fileList->setCurrentIndex({});
    file_.clear();
}

void FolderChooser::focusChoice() {
    (fileList ? static_cast<QWidget*>(fileList) : folderTree)->setFocus(Qt::OtherFocusReason);
}

// A folder typed becomes the current one; a file typed is chosen in its folder, as Enter on it
// in the list would.
void FolderChooser::pathEntered() {
    const QFileInfo typed(QDir::fromNativeSeparators(pathEdit->text().trimmed()));
    if (typed.isDir()) {
        setFolder(typed.absoluteFilePath());
    } else if (files_ && typed.isFile()) {
        setFolder(typed.absolutePath());
        selectFile(typed.absoluteFilePath());
        Q_EMIT fileActivated(file_);
    } else {
        warning_(QStringLiteral("Il percorso %1 non esiste").arg(pathEdit->text().trimmed()));
        pathEdit->setText(QDir::toNativeSeparators(folder_));
    }
}

void FolderChooser::selectFile(const QString& path) {
    file_ = path;
    fileList->setCurrentIndex(files_->index(path));
}

void FolderChooser::makeFolder() {
    bool given = false;
    const QString name = QInputDialog::getText(this, QStringLiteral("Nuova cartella"),
                                               QStringLiteral("Nome della nuova cartella in %1 :")
                                                   .arg(QDir::toNativeSeparators(folder_)),
                                               QLineEdit::Normal, QString(), &given)
                             .trimmed();
    if (!given || name.isEmpty())
        return;
    const QDir parent(folder_);
    if (!isFolderName(name)) {
        warning_(QStringLiteral("Il nome %1 non pu\u00F2 essere usato per una cartella").arg(name));
        return;
    }
    if (parent.exists(name)) {
        warning_(QStringLiteral("La cartella %1 esiste gi\u00E0").arg(name));
        setFolder(parent.filePath(name));
        return;
    }
    if (!parent.mkdir(name)) {
        warning_(cannotMakeFolder(parent.filePath(name), systemReason(errno)));
        return;
    }
    setFolder(parent.filePath(name));
}

void FolderChooser::selectVolumeOf(const QString& path) {
    const QString root = QStorageInfo(path).rootPath();
    for (int i = 0; i < volumes_.size(); ++i) {
        if (volumes_[i].rootPath() == root) {
            driveCombo->setCurrentIndex(i);
            folderTree->setRootIndex(folders_.setRootPath(root));
            return;
        }
    }
}

// A volume that cannot be read keeps the folder where it was; the volume list keeps the choice.
void FolderChooser::driveChosen(int index) {
    if (index < 0 || index >= volumes_.size())
        return;
    QStorageInfo volume = volumes_[index];
    volume.refresh();
    if (!volume.isValid() || !volume.isReady() || !QFileInfo(volume.rootPath()).isReadable()) {
        warning_(kDriveNotReady);
        return;
    }
    setFolder(volume.rootPath());
}

} // namespace velmora
