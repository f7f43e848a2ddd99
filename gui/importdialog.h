#pragma once

#include <QWidget>

class QComboBox;
class QPushButton;

namespace velmora {

class FolderChooser;
class Program;

inline const QString kChooseAFile = QStringLiteral("Selezionare un file");

// The import window: the operator picks a file and its type; OK appends every line of it to
// the subject table as a row, or none of them.
class ImportDialog : public QWidget {
    Q_OBJECT
public:
    explicit ImportDialog(Program& program);

    // Shows the window on the remembered import folder.
    void open();

Q_SIGNALS:
    // The file's rows were appended: rows `firstRow` to `lastRow`, the table's last row now.
    void imported(int firstRow, int lastRow);
    // The file was refused and the table holds its `rowsBefore` rows as before.
    void refused(int rowsBefore);

protected:
    bool event(QEvent* event) override;

private:
    void showRememberedFolder();
    void fileTypeChosen(int position);
    void import();

    Program& program_;
    bool rememberedCsv_ = false; // the type of the last import, as the window opened

    FolderChooser* folderChooser;
    QComboBox* fileTypeCombo; // decides the reader, whatever the file's extension
    QPushButton* okButton;
    QPushButton* cancelButton;
};

} // namespace velmora
