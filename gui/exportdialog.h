#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace velmora {

class FolderChooser;
class Program;

// "Esporta soggetti...": the subject table written to a file of the operator's choice, as the
// delimited lines that "Importa da file" reads back into the same rows. It starts where imports
// start, as the file is meant to be imported again.
class ExportDialog : public QWidget {
    Q_OBJECT
public:
    explicit ExportDialog(Program& program);

private:
    void exportSubjects();

    Program& program_;

    FolderChooser* folderChooser;
    QLineEdit* fileNameEdit;
    QPushButton* okButton;
    QPushButton* cancelButton;
};

} // namespace velmora
