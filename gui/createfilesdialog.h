#pragma once

#include "core/request/request.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace velmora {

class FolderChooser;
class Program;

inline const QString kCreated =
    QStringLiteral("I file sono stati creati correttamente all' interno di \r\n%1");

// The destination window: the operator picks the folder, OK writes the batch of the request
// (or its PDF form).
class CreateFilesDialog : public QWidget {
    Q_OBJECT
public:
    explicit CreateFilesDialog(Program& program);

    // Shows the window on the remembered folder for the request that its check accepted.
    void openForBatch(const Request& request);
    void openForPdf(const Request& request);

private:
    void open(const Request& request, bool pdfForm);
    void confirm();
    void writeBatch();
    void writePdfForm();

    Program& program_;
    Request request_;
    bool pdfForm_ = false;

    QLabel* folderLabel;
    FolderChooser* folderChooser;
    QPushButton* okButton;
    QPushButton* cancelButton;
};

} // namespace velmora
