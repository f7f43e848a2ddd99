#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace velmora {

class Program;

// The confirmation before the subject table is emptied. It opens with the focus on "Annulla",
// so that Enter does not empty the table by accident.
class AvvisoTabella : public QDialog {
    Q_OBJECT
public:
    explicit AvvisoTabella(Program& program);

    // Keeps the first `prog` data rows of the table, making the last kept row current, and
    // raises `prog` by one; with 0 the table is laid out afresh and holds no imported rows.
    // Either way the window closes, also when it was never shown.
    void EraseTable(int& prog);

    QLabel* Label1;
    QPushButton* Command1; // "Si"
    QPushButton* Command2; // "Annulla"

Q_SIGNALS:
    // The table holds its first `keptRows` rows, the last of them to be made current; with 0
    // it is to be laid out afresh.
    void erased(int keptRows);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Command1_Click();

    Program& program_;
};

} // namespace velmora
