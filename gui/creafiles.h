#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace velmora {

class FolderChooser;
class Program;

inline const QString kCreated =
    QStringLiteral("I file sono stati creati correttamente all' interno di \r\n%1");

// The output window: the operator picks the destination, OK writes the batch (or the PDF form).
class CreaFiles : public QWidget {
    Q_OBJECT
public:
    explicit CreaFiles(Program& program);

    // Shows the window in batch mode (false) or PDF mode (true), on the remembered folder.
    void open(bool pdfMode);
    void Command1_Click();

    bool CreaPdf = false;
    QLabel* Label1;
    FolderChooser* folders;
    QPushButton* Command1; // "OK"
    QPushButton* Command2; // "Annulla"

private:
    void Form_Load();
    void writeBatch();
    void writePdfForm();

    Program& program_;
};

} // namespace velmora
