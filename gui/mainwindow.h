#pragma once

#include "core/request/request.h"
#include "core/subjects/subjectsearch.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace velmora {

class CalendarDialog;
class CharacterPalette;
class FindBar;
class ClearTableDialog;
class ClickableLabel;
class CreateFilesDialog;
class ExportDialog;
class FilteredLineEdit;
class FilteredTextEdit;
class ImportDialog;
class MaskedDateEdit;
class OfficeDialog;
class Program;
class SplashScreen;
class SubjectDialog;
class SubjectGrid;
class WaitDialog;

inline const QString kDeleteQuestion = QStringLiteral("Eliminare la riga numero %1 ?");
inline const QString kManualNotOpened =
    QStringLiteral("Non \u00E8 stato possibile aprire la guida con il programma del computer.\r\n"
                   "La guida si trova in:\r\n%1");

// What the operator is told when the desktop cannot open the manual at `path`.
QString manualNotOpenedMessage(const QString& path);

// The main window: the request fields, the subject table and every command of the request.
// It owns the other windows: each is made when first needed and closes with it. They tell it
// what happened through their signals, and it writes its own controls. Each control's
// objectName is its member's name.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Program& program);
    ~MainWindow() override;

    // Start-up: reads the configuration, starts a new request, and shows either this window
    // with the splash screen or the office-data window for a first configuration.
    void start();
    // Makes a data row current, showing it, as after an import.
    void showRow(int row);
    // Why the request in progress is not kept for a restart, in the status line; "" clears it.
    void showProtection(const QString& trouble);

Q_SIGNALS:
    // The splash screen has gone: the program is ready for the operator.
    void splashClosed();
    // The window has closed, and every other window with it: the run is over.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The windows this one owns, made on first use; a closed one is made afresh.
    OfficeDialog& officeDialog();
    CreateFilesDialog& createFilesDialog();
    ImportDialog& importDialog();
    ExportDialog& exportDialog();
    SplashScreen& splashScreen();
    WaitDialog& waitDialog();
    CalendarDialog& calendarDialog();
    ClearTableDialog& clearTableDialog();
    SubjectDialog& subjectDialog();

    void buildControls();
    void showSplash();
    void closeSplash();
    void newRequest();
    void emptyTable();
    void enableRequestField(QWidget& field, bool enabled);
    // The request fields as the operator left them, into the program's request; and back.
    void fieldsEdited();
    void showRequest();
    void certificateTypeChosen();

    void createFiles();
    void checkImportedRows();
    bool markFailingRows();
    bool acceptWarnings();
    void openPdfForm();
    void insertSubject();
    void changeSubject();
    void editCurrentRow();
    void deleteSubject();
    void clearTable();
    void openCalendar();
    void importFile();
    void exportSubjects();
    void changeOfficeData();
    void openManual();
    void officeTypeLeft();
    void gridCurrentChanged();
    void showRowReason();
    // The find bar's text in the surname, name and tax code, from the current row.
    void findSubject(FindStep step);
    void goToNextMarkedRow();
    void undoOrRedo(bool undo);
    void showCounts();
    void officeDataSaved(bool firstRun);
    void tableErased(int keptRows);
    void rowWritten(int row);
    static void closeIfOpen(QWidget* window);
    QList<QPointer<QWidget>> ownedWindows() const;

    Program& program_;
    int lastColumn_ = 0;
    bool showingRequest_ = false; // the fields are being written from the request
    Request checked_;             // the request "Crea File" accepted, while its rows are checked
    QTimer rowCheckTimer_;
    QTimer splashTimer_;
    QTimer countTimer_; // a burst of table changes is counted once

    QAction* exportAction;
    QAction* undoAction;
    QAction* redoAction;
    QAction* findAction;
    QAction* findNextAction;
    QAction* findPreviousAction;
    QAction* nextMarkedAction;
    QAction* officeDataAction;
    QAction* manualAction;
    QAction* aboutAction;
    FilteredLineEdit* officeTypeEdit;
    QGroupBox* requestBox;
    QComboBox* certificateTypeCombo;
    FilteredTextEdit* purposeEdit;
    FilteredLineEdit* protocolNumberEdit;
    QCheckBox* germanCheck;
    MaskedDateEdit* protocolDateEdit;
    QToolButton* calendarButton;
    QLabel* allFieldsNote;
    QGroupBox* subjectsBox;
    FindBar* findBar;
    SubjectGrid* subjectGrid;
    QLabel* legendLabel;
    QPushButton* insertSubjectButton;
    QPushButton* changeSubjectButton;
    QPushButton* deleteSubjectButton;
    QPushButton* importButton;
    QPushButton* clearTableButton;
    QPushButton* createFilesButton;
    QPushButton* pdfFormButton;
    ClickableLabel* pdfFormIcon;
    QPushButton* exitButton;
    QLabel* countLabel;      // in the status line: how many subjects, how many marked
    QLabel* rowReasonLabel;  // in the status line: why the current row is marked
    QLabel* protectionLabel; // in the status line: the work is not kept for a restart

    QPointer<OfficeDialog> officeDialog_;
    QPointer<CreateFilesDialog> createFilesDialog_;
    QPointer<ImportDialog> importDialog_;
    QPointer<ExportDialog> exportDialog_;
    QPointer<SplashScreen> splashScreen_;
    QPointer<WaitDialog> waitDialog_;
    QPointer<CalendarDialog> calendarDialog_;
    QPointer<ClearTableDialog> clearTableDialog_;
    QPointer<SubjectDialog> subjectDialog_;
};

} // namespace velmora
