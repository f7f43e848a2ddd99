#pragma once

#include <QDialog>

class QPushButton;

namespace velmora {

class Program;

// The confirmation before the subject table is emptied. It opens with the focus on "Annulla",
// so that Enter does not empty the table by accident.
class ClearTableDialog : public QDialog {
    Q_OBJECT
public:
    explicit ClearTableDialog(Program& program);

    // Keeps the first `count` data rows of the table; with 0 the table is laid out afresh and
    // holds no imported rows. Either way the window closes, also when it was never shown.
    void keepRows(int count);

Q_SIGNALS:
    // The table holds its first `keptRows` rows, the last of them to be made current; with 0
    // it is to be laid out afresh.
    void erased(int keptRows);

protected:
    void showEvent(QShowEvent* event) override;

private:
    Program& program_;
    QPushButton* yesButton;
    QPushButton* cancelButton;
};

} // namespace velmora
