#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace velmora {

class FolderChooser;
class Program;

// "Esporta soggetti...": the subject table written to a file of the operator's choice, as the
// delimited lines that "Importa da file" reads back into the same rows.
class EsportaSoggetti : public QWidget {
    Q_OBJECT
public:
    // The one export window of `owner`, created on first use and shown on the import folder.
    static EsportaSoggetti& open(Program& program, QWidget& owner);

    void Command1_Click();

    FolderChooser* folders;
    QLineEdit* Text1;      // the file name
    QPushButton* Command1; // "OK"
    QPushButton* Command2; // "Annulla"

private:
    EsportaSoggetti(Program& program, QWidget& owner);

    Program& program_;
};

} // namespace velmora
