#pragma once

#include "gui/widgets/widgets.h"

#include <QComboBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QWidget>

namespace velmora {

// The mounted volumes, the current folder written out as a path that can be typed or pasted,
// the folders of the chosen volume, and either the files of that folder that match a pattern
// or (to choose where to write) a button that makes a new folder in it. The current folder is
// always one existing folder.
class FolderChooser : public QWidget {
    Q_OBJECT
public:
    enum class Files { Hidden, Shown };
    FolderChooser(Warning warning, Files files, QWidget* parent = nullptr);

    // False, with nothing changed, when `path` is not an existing folder.
    bool setFolder(const QString& path);
    QString folder() const { return folder_; }
    // The file selected in the file list, as a full path; "" when none.
    QString selectedFile() const { return file_; }
    void setFilePattern(const QString& pattern); // clears the selected file
    // The keyboard starts where the choice is made: on the files, or on the folders.
    void focusChoice();

Q_SIGNALS:
    void folderChanged(const QString& folder);
    // Enter (or a double click) on a file, or its path typed and Enter.
    void fileActivated(const QString& file);

private:
    void driveChosen(int index);
    void selectVolumeOf(const QString& path);
    void pathEntered();
    void makeFolder();
    void selectFile(const QString& path);

    Warning warning_;
    QFileSystemModel folders_;
    QFileSystemModel* files_ = nullptr;
    QList<QStorageInfo> volumes_;
    QString folder_;
    QString file_;
    QTimer reveal_;

    QComboBox* driveCombo;
    QLineEdit* pathEdit;
    QTreeView* folderTree;
    QListView* fileList = nullptr;
};

} // namespace velmora
