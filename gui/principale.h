#pragma once

#include "core/request/requestcheck.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <optional>

namespace velmora {

class AvvisoTabella;
class Calendar;
class ClickableLabel;
class CreaFiles;
class FilteredLineEdit;
class FilteredTextEdit;
class ImportaFile;
class InsertPersona;
class MaskedDateEdit;
class Program;
class SubjectGrid;
class attesa;
class datiUtente;
class frmSplash;

inline const QString kDeleteQuestion = QStringLiteral("Eliminare la riga numero %1 ?");
inline const QString kManualNotOpened =
    QStringLiteral("Non \u00E8 stato possibile aprire la guida con il programma del computer.\r\n"
                   "La guida si trova in:\r\n%1");

// What the operator is told when the desktop cannot open the manual at `path`.
QString manualNotOpenedMessage(const QString& path);

// The main window: the request fields, the subject table and every command of the request.
// It owns the other windows: each is made when first needed and closes with it. They tell it
// what happened through their signals, and it writes its own controls.
class Principale : public QMainWindow {
    Q_OBJECT
public:
    explicit Principale(Program& program);
    ~Principale() override;

    // The windows this one owns, made on first use; a closed one is made afresh.
    datiUtente& configWindow();
    CreaFiles& outputWindow();
    ImportaFile& importWindow();
    frmSplash& splash();
    attesa& waitWindow();
    Calendar& calendar();
    AvvisoTabella& clearTableWindow();
    InsertPersona& entryWindow();

    // Start-up: reads the configuration, starts a new request, and shows either this window
    // with the splash window or the office-data window for a first configuration.
    void Form_Load();
    void CG_Click(int index = 1);
    void Combo1_Click();
    void CreaTab1();

    void Command1_Click();
    void Command8_Click();
    void Timer1_Timer();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Image1_Click();
    void EditPersonRow();
    void Command7_Click();
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
    QAction* esportaSoggetti;
    QAction* modConfig;
    QAction* guida;

Q_SIGNALS:
    // The window has closed, and every other window with it: the run is over.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    RequestFields requestFields() const;
    bool CheckPersonRows();
    void ShowRowErrors(const QList<RowCheck>& failing);
    void enableRequestField(QWidget& field, bool enabled);
    void Text2_LostFocus();
    void gridCurrentChanged();
    void officeDataSaved(bool firstRun);
    void tableErased(int keptRows);
    void rowWritten(int row);
    static void closeIfOpen(QWidget* window);
    QList<QPointer<QWidget>> ownedWindows() const;

    Program& program_;
    int lastColumn_ = 0;
    QPointer<datiUtente> configWindow_;
    QPointer<CreaFiles> outputWindow_;
    QPointer<ImportaFile> importWindow_;
    QPointer<frmSplash> splash_;
    QPointer<attesa> waitWindow_;
    QPointer<Calendar> calendar_;
    QPointer<AvvisoTabella> clearTableWindow_;
    QPointer<InsertPersona> entryWindow_;
};

} // namespace velmora
