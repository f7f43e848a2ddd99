#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>

namespace velmora {

class ClickableLabel;
class FilteredLineEdit;
class FilteredTextEdit;
class MaskedDateEdit;
class Program;
class SubjectGrid;

// The main window: the request fields, the subject table and every command of the request.
// Its controls are public, as the other windows read and write them.
class Principale : public QMainWindow {
    Q_OBJECT
public:
    explicit Principale(Program& program);

    // Start-up: reads the configuration, starts a new request, and shows either this window
    // with the splash window or the office-data window for a first configuration.
    void Form_Load();
    void CG_Click(int index = 1);
    void Combo1_Click();
    void CreaTab1();

    void Command3_Click();
    void Command4_Click();
    void Command7_Click();
    // Takes back a failed import as EraseTable of the clear-table window does with the number
    // of rows the table held before: none, a table laid out afresh and no imported rows; else
    // those rows kept (the import added none) with the last of them current.
    void eraseFailedImport(int prog);
    void modConfig_Click();
    void guida_Click();
    void Timer2_Timer();

    FilteredLineEdit* Text2; // office type
    QGroupBox* XPFrame1;
    QComboBox* Combo1;          // certificate type
    FilteredTextEdit* Text3;    // purpose
    FilteredLineEdit* Text1;    // protocol number
    QCheckBox* Check1;          // German language
    MaskedDateEdit* MaskEdBox1; // protocol date
    ClickableLabel* Image1;     // calendar
    QLabel* Label7;
    QGroupBox* XPFrame2;
    SubjectGrid* MSFlexGrid1;
    QLabel* Label6;
    QPushButton* Command3;
    QPushButton* Command4;
    QPushButton* Command5;
    QPushButton* Command7;
    QPushButton* Command6;
    QPushButton* Command1;
    QPushButton* Command8;
    ClickableLabel* Picture2; // PDF icon on Command8
    QPushButton* Command2;
    QTimer Timer1;
    QTimer Timer2;
    QAction* modConfig;
    QAction* guida;

Q_SIGNALS:
    // The window has closed, and every other window with it: the run is over.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void enableRequestField(QWidget& field, bool enabled);
    void Text2_LostFocus();
    void gridCurrentChanged();

    Program& program_;
    int lastColumn_ = 0;
};

} // namespace velmora
