#include "gui/widgets/folderchooser.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QTimer>
#include <QVBoxLayout>

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
    Drive1 = new QComboBox(this);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid()) {
            volumes_.append(volume);
            Drive1->addItem(volumeLabel(volume));
        }
    }
    Path = new QLabel(this);
    Path->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Path->setFrameShape(QFrame::StyledPanel);
    folders_.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders_.setReadOnly(true);
    Dir1 = new QTreeView(this);
    Dir1->setModel(&folders_);
    for (int column = 1; column < folders_.columnCount(); ++column)
        Dir1->hideColumn(column);
    Dir1->header()->hide();
    layout->addWidget(Drive1);
    layout->addWidget(Path);
    layout->addWidget(Dir1, 1);
    if (files == Files::Shown) {
        files_ = new QFileSystemModel(this);
        files_->setFilter(QDir::Files);
        files_->setNameFilterDisables(false);
        files_->setReadOnly(true);
        File1 = new QListView(this);
        File1->setModel(files_);
        layout->addWidget(File1, 1);
        connect(File1->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this](const QModelIndex& current) {
                    file_ = current.isValid() && !files_->isDir(current) ? files_->filePath(current)
                                                                         : QString();
                });
    }
    connect(Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    setFolder(folders_.filePath(current));
            });
    connect(Drive1, &QComboBox::activated, this, &FolderChooser::Drive1_Change);
    // Folders are read in the background: bring the current one into view once the rows read
    // around it have settled.
    reveal_.setSingleShot(true);
    reveal_.setInterval(100);
    connect(&reveal_, &QTimer::timeout, this, [this] {
        const QModelIndex index = folders_.index(folder_);
        if (Dir1->currentIndex() != index)
            Dir1->setCurrentIndex(index);
        Dir1->scrollTo(index);
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
    Path->setText(QDir::toNativeSeparators(folder_));
    selectVolumeOf(folder_);
    const QModelIndex index = folders_.index(folder_);
    if (Dir1->currentIndex() != index) {
        Dir1->setCurrentIndex(index);
        Dir1->scrollTo(index);
    }
    if (files_) {
        file_.clear();
        File1->setRootIndex(files_->setRootPath(folder_));
    }
    Q_EMIT folderChanged(folder_);
    return true;
}

// A new pattern lists other files: the one chosen before is chosen no more.
void FolderChooser::setFilePattern(const QString& pattern) {
    if (!files_)
        return;
    files_->setNameFilters({pattern});
    File1->setCurrentIndex({});
    file_.clear();
}

void FolderChooser::selectVolumeOf(const QString& path) {
    const QString root = QStorageInfo(path).rootPath();
    for (int i = 0; i < volumes_.size(); ++i) {
        if (volumes_[i].rootPath() == root) {
            Drive1->setCurrentIndex(i);
            Dir1->setRootIndex(folders_.setRootPath(root));
            return;
        }
    }
}

// A volume that cannot be read keeps the folder where it was; the volume list keeps the choice.
void FolderChooser::Drive1_Change(int index) {
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
