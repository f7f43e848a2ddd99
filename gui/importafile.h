#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace velmora {

class FolderChooser;
class Program;

inline const QString kChooseAFile = QStringLiteral("Selezionare un file");

// The import window: the operator picks a file and its type; OK appends every line of it to
// the subject table as a row, or none of them.
class ImportaFile : public QWidget {
    Q_OBJECT
public:
    explicit ImportaFile(Program& program);

    // Shows the window on the remembered import folder.
    void open();
    void Command1_Click();

Q_SIGNALS:
    // The file's rows were appended; `lastRow` is the table's last row now.
    void imported(int lastRow);
    // The file was refused and the table holds its `rowsBefore` rows as before.
    void refused(int rowsBefore);

public:
    QLabel* Label1;
    FolderChooser* folders; // Drive1, Dir1, File1
    QLabel* Label2;
    QComboBox* Combo1;     // file type: decides the reader, whatever the file's extension
    QPushButton* Command1; // "OK"
    QPushButton* Command2; // "Annulla"

private:
    void Form_Load();
    void Combo1_Click(int position);

    Program& program_;
};

} // namespace velmora
