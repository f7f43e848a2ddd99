#include "gui/mainwindow.h"

#include "core/clock.h"
#include "core/paths.h"
#include "core/request/requestcheck.h"
#include "core/subjects/personcheck.h"
#include "core/subjects/rowwarnings.h"
#include "core/subjects/subjectsearch.h"
#include "gui/calendardialog.h"
#include "gui/cleartabledialog.h"
#include "gui/createfilesdialog.h"
#include "gui/exportdialog.h"
#include "gui/importdialog.h"
#include "gui/messages.h"
#include "gui/officedialog.h"
#include "gui/program.h"
#include "gui/shell.h"
#include "gui/splashscreen.h"
#include "gui/subjectdialog.h"
#include "gui/waitdialog.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/findbar.h"
#include "gui/widgets/maskeddateedit.h"
#include "gui/widgets/subjectgrid.h"
#include "gui/widgets/widgets.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace velmora {
namespace {

constexpr QRgb kEnabledField = 0xFFFFFF;
constexpr QRgb kDisabledField = 0xE1E1E1; // 225, 225, 225
constexpr int kSplashMs = 2700;
constexpr int kBatchCheckDelayMs = 500;
const QString kDateFormat = QStringLiteral("dd/MM/yyyy");

const QString kCaption = QStringLiteral(" Richiesta Certificati");
const QString kSubjectsFrame = QStringLiteral("Dati Soggetti");
const QString kAbout =
    QStringLiteral("Velmora " VELMORA_VERSION "\r\n"
                   "Richiesta cumulativa di certificati del casellario giudiziale\r\n\r\n"
                   "\u00A9 2026 Velmora maintainers. Software libero con la European Union "
                   "Public Licence 1.2 (EUPL-1.2).\r\n"
                   "Le tabelle dei luoghi derivano dall'elenco di codice-fiscale-js, di Luca "
                   "Vandro e collaboratori, con la licenza CC BY-SA 4.0.");
const QString kLegend = QStringLiteral("* Campi Obbligatori, **Obbligatorio se nato in Italia");

// A window of its own, kept above `owner` and closed with it, gone once closed.
template <typename Window, typename... Arguments>
Window* made(QWidget* owner, Arguments&&... arguments) {
    auto* window = new Window(std::forward<Arguments>(arguments)...);
    ownWindow(*window, *owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    return window;
}

bool hasDigit(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

} // namespace

MainWindow::MainWindow(Program& program) : program_(program) {
    setWindowTitle(kCaption);
    buildControls();
    rowCheckTimer_.setInterval(kBatchCheckDelayMs);
    rowCheckTimer_.setSingleShot(true);
    splashTimer_.setInterval(kSplashMs);
    splashTimer_.setSingleShot(true);
    connect(&rowCheckTimer_, &QTimer::timeout, this, &MainWindow::checkImportedRows);
    connect(&splashTimer_, &QTimer::timeout, this, &MainWindow::closeSplash);
    countTimer_.setSingleShot(true);
    connect(&countTimer_, &QTimer::timeout, this, &MainWindow::showCounts);
    const auto count = qOverload<>(&QTimer::start);
    connect(&program_.table, &SubjectTable::rowsInserted, &countTimer_, count);
    connect(&program_.table, &SubjectTable::rowsRemoved, &countTimer_, count);
    connect(&program_.table, &SubjectTable::modelReset, &countTimer_, count);
    connect(&program_.table, &SubjectTable::dataChanged, &countTimer_, count);
    showCounts();
    connect(&program_.request, &RequestHolder::changed, this, &MainWindow::showRequest);
    // Until the request or its subjects change, the title says they have been written out.
    connect(&program_.request, &RequestHolder::outputChanged, this, [this] {
        const Output::Kind kind = program_.request.output().kind;
        setWindowTitle(kind == Output::Kind::Batch  ? kCaption + QStringLiteral(" - Lotto creato")
                       : kind == Output::Kind::Form ? kCaption + QStringLiteral(" - Modulo creato")
                                                    : kCaption);
    });
}

MainWindow::~MainWindow() {
    for (const QPointer<QWidget>& window : ownedWindows())
        delete window.data();
    // The fields lose their focus while the window is taken apart; no handler may run then.
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
    disconnect(&program_.request, nullptr, this, nullptr);
}

// The windows made so far and not closed, in the order this window's close wants: the wait
// window last.
QList<QPointer<QWidget>> MainWindow::ownedWindows() const {
    return {splashScreen_.data(),     importDialog_.data(),   exportDialog_.data(),
            subjectDialog_.data(),    calendarDialog_.data(), createFilesDialog_.data(),
            clearTableDialog_.data(), officeDialog_.data(),   waitDialog_.data()};
}

OfficeDialog& MainWindow::officeDialog() {
    if (!officeDialog_) {
        officeDialog_ = made<OfficeDialog>(this, program_);
        connect(officeDialog_, &OfficeDialog::saved, this, &MainWindow::officeDataSaved);
        connect(officeDialog_, &OfficeDialog::firstRunLeft, this, &MainWindow::close);
    }
    return *officeDialog_;
}

CreateFilesDialog& MainWindow::createFilesDialog() {
    if (!createFilesDialog_)
        createFilesDialog_ = made<CreateFilesDialog>(this, program_);
    return *createFilesDialog_;
}

ImportDialog& MainWindow::importDialog() {
    if (!importDialog_) {
        importDialog_ = made<ImportDialog>(this, program_);
        connect(importDialog_, &ImportDialog::imported, this, [this](int firstRow, int lastRow) {
            showRow(lastRow);
            const int count = lastRow - firstRow + 1;
            statusBar()->showMessage(count == 1
                                         ? QStringLiteral("Importato 1 soggetto")
                                         : QStringLiteral("Importati %1 soggetti").arg(count));
        });
        // The import added nothing: the table is laid out again, or its current row moved.
        connect(importDialog_, &ImportDialog::refused, this,
                [this](int rowsBefore) { clearTableDialog().keepRows(rowsBefore); });
    }
    return *importDialog_;
}

ExportDialog& MainWindow::exportDialog() {
    if (!exportDialog_)
        exportDialog_ = made<ExportDialog>(this, program_);
    return *exportDialog_;
}

SplashScreen& MainWindow::splashScreen() {
    if (!splashScreen_)
        splashScreen_ = made<SplashScreen>(this);
    return *splashScreen_;
}

WaitDialog& MainWindow::waitDialog() {
    if (!waitDialog_)
        waitDialog_ = made<WaitDialog>(this);
    return *waitDialog_;
}

CalendarDialog& MainWindow::calendarDialog() {
    if (!calendarDialog_) {
        calendarDialog_ = made<CalendarDialog>(this, program_.clock.now().date());
        connect(calendarDialog_, &CalendarDialog::dateChosen, this,
                [this](QDate date) { protocolDateEdit->setText(date.toString(kDateFormat)); });
    }
    return *calendarDialog_;
}

ClearTableDialog& MainWindow::clearTableDialog() {
    if (!clearTableDialog_) {
        clearTableDialog_ = made<ClearTableDialog>(this, program_);
        connect(clearTableDialog_, &ClearTableDialog::erased, this, &MainWindow::tableErased);
    }
    return *clearTableDialog_;
}

SubjectDialog& MainWindow::subjectDialog() {
    if (!subjectDialog_) {
        subjectDialog_ = made<SubjectDialog>(this, program_);
        connect(subjectDialog_, &SubjectDialog::rowWritten, this, &MainWindow::rowWritten);
    }
    return *subjectDialog_;
}

void MainWindow::closeIfOpen(QWidget* window) {
    if (window)
        window->close();
}

void MainWindow::buildControls() {
    const auto warning = warningsTo(program_.messages);

    auto* fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    exportAction =
        named(fileMenu->addAction(QStringLiteral("&Esporta soggetti...")), "exportAction");
    auto* editMenu = menuBar()->addMenu(QStringLiteral("&Modifica"));
    undoAction = named(editMenu->addAction(QStringLiteral("&Annulla")), "undoAction");
    undoAction->setShortcut(QKeySequence::Undo);
    redoAction = named(editMenu->addAction(QStringLiteral("&Ripeti")), "redoAction");
    redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo});
    editMenu->addSeparator();
    findAction = named(editMenu->addAction(QStringLiteral("&Trova...")), "findAction");
    findAction->setShortcut(QKeySequence::Find);
    findNextAction =
        named(editMenu->addAction(QStringLiteral("Trova &successivo")), "findNextAction");
    findNextAction->setShortcut(Qt::Key_F3);
    findPreviousAction =
        named(editMenu->addAction(QStringLiteral("Trova &precedente")), "findPreviousAction");
    findPreviousAction->setShortcut(Qt::SHIFT | Qt::Key_F3);
    nextMarkedAction =
        named(editMenu->addAction(QStringLiteral("&Vai al prossimo errore")), "nextMarkedAction");
    nextMarkedAction->setShortcut(Qt::Key_F8);
    auto* configurationMenu = menuBar()->addMenu(QStringLiteral("&Configurazione"));
    officeDataAction =
        named(configurationMenu->addAction(QStringLiteral("&Modifica Configurazione Utente")),
              "officeDataAction");
    auto* helpMenu = menuBar()->addMenu(QStringLiteral("&?"));
    manualAction = named(helpMenu->addAction(QStringLiteral("&Guida")), "manualAction");
    manualAction->setShortcut(QKeySequence::HelpContents);
    aboutAction =
        named(helpMenu->addAction(QStringLiteral("&Informazioni su Velmora")), "aboutAction");

    auto* central = new QWidget(this);
    auto* page = new QVBoxLayout(central);

    auto* officeRow = new QHBoxLayout;
    officeTypeEdit = named(new FilteredLineEdit(central), "officeTypeEdit");
    officeRow->addWidget(captionFor(QStringLiteral("Tipo &Ufficio"), officeTypeEdit, central));
    officeTypeEdit->setKeyFilter(requestfields::officeType(), warning);
    officeRow->addWidget(officeTypeEdit, 1);
    page->addLayout(officeRow);

    requestBox = named(new QGroupBox(QStringLiteral("Dati Richiesta"), central), "requestBox");
    auto* requestGrid = new QGridLayout(requestBox);
    certificateTypeCombo = named(new QComboBox(requestBox), "certificateTypeCombo");
    for (const QString& item : kCertificateTypes)
        certificateTypeCombo->addItem(item);
    certificateTypeCombo->setCurrentIndex(-1);
    certificateTypeCombo->setAccessibleName(QStringLiteral("Tipo certificato"));
    purposeEdit = named(new FilteredTextEdit(requestBox), "purposeEdit");
    purposeEdit->setKeyFilter(requestfields::purpose(), warning);
    purposeEdit->setFixedHeight(54);
    protocolNumberEdit = named(new FilteredLineEdit(requestBox), "protocolNumberEdit");
    protocolNumberEdit->setKeyFilter(requestfields::protocolNumber(), warning);
    protocolNumberEdit->setAccessibleDescription(
        QStringLiteral("lettere e cifre, al massimo %1").arg(kProtocolNumberWidth));
    germanCheck = named(new QCheckBox(requestBox), "germanCheck");
    protocolDateEdit = named(new MaskedDateEdit(requestBox), "protocolDateEdit");
    protocolDateEdit->setMaximumWidth(110);
    calendarButton = named(pictureButton(QStringLiteral(":/icons/calendar.png"),
                                         QStringLiteral("Calendario"), requestBox),
                           "calendarButton");
    calendarButton->setCursor(Qt::PointingHandCursor);
    allFieldsNote = named(new QLabel(QStringLiteral("Tutti i campi sono obbligatori"), requestBox),
                          "allFieldsNote");
    auto* picture = new QLabel(requestBox);
    picture->setPixmap(QPixmap(QStringLiteral(":/icons/request.png")));

    requestGrid->addWidget(
        captionFor(QStringLiteral("&Tipo certificato"), certificateTypeCombo, requestBox), 0, 0);
    requestGrid->addWidget(certificateTypeCombo, 0, 1, 1, 4);
    requestGrid->addWidget(
        captionFor(QStringLiteral("Fi&nalit\u00E0 richiesta"), purposeEdit, requestBox), 1, 0);
    requestGrid->addWidget(purposeEdit, 1, 1, 1, 4);
    requestGrid->addWidget(
        captionFor(QStringLiteral("Numero &protocollo"), protocolNumberEdit, requestBox), 2, 0);
    requestGrid->addWidget(protocolNumberEdit, 2, 1);
    requestGrid->addWidget(captionFor(QStringLiteral("&Lingua tedesca"), germanCheck, requestBox),
                           2, 2);
    requestGrid->addWidget(germanCheck, 2, 3, Qt::AlignLeft | Qt::AlignVCenter);
    requestGrid->addWidget(
        captionFor(QStringLiteral("&Data protocollo"), protocolDateEdit, requestBox), 3, 0);
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(protocolDateEdit);
    dateRow->addWidget(calendarButton);
    dateRow->addWidget(allFieldsNote);
    dateRow->addStretch();
    requestGrid->addLayout(dateRow, 3, 1, 1, 4);
    requestGrid->addWidget(picture, 0, 5, 4, 1, Qt::AlignCenter);
    requestGrid->setColumnStretch(1, 1);
    page->addWidget(requestBox);

    subjectsBox = named(new QGroupBox(kSubjectsFrame, central), "subjectsBox");
    auto* subjects = new QVBoxLayout(subjectsBox);
    subjectGrid = named(new SubjectGrid(program_.table, subjectsBox), "subjectGrid");
    subjectGrid->setAccessibleName(QStringLiteral("Soggetti"));
    findBar = named(new FindBar(subjectsBox), "findBar");
    legendLabel = named(new QLabel(kLegend, subjectsBox), "legendLabel");
    subjects->addWidget(findBar);
    subjects->addWidget(subjectGrid, 1);
    subjects->addWidget(legendLabel);
    auto* tableButtons = new QHBoxLayout;
    insertSubjectButton = named(new QPushButton(QStringLiteral("&Inserisci Soggetto"), subjectsBox),
                                "insertSubjectButton");
    changeSubjectButton = named(new QPushButton(QStringLiteral("Modifica So&ggetto"), subjectsBox),
                                "changeSubjectButton");
    deleteSubjectButton = named(new QPushButton(QStringLiteral("&Elimina Soggetto"), subjectsBox),
                                "deleteSubjectButton");
    importButton =
        named(new QPushButton(QStringLiteral("Imp&orta da file"), subjectsBox), "importButton");
    clearTableButton = named(new QPushButton(QStringLiteral("Cancella Ta&bella"), subjectsBox),
                             "clearTableButton");
    for (QPushButton* button : {insertSubjectButton, changeSubjectButton, deleteSubjectButton,
                                importButton, clearTableButton})
        tableButtons->addWidget(button);
    tableButtons->addStretch();
    subjects->addLayout(tableButtons);
    page->addWidget(subjectsBox, 1);

    auto* bottom = new QHBoxLayout;
    createFilesButton =
        named(new QPushButton(QStringLiteral("C&rea File"), central), "createFilesButton");
    pdfFormButton =
        named(new QPushButton(QStringLiteral("&Apri Modulo PDF   "), central), "pdfFormButton");
    pdfFormButton->setAccessibleName(QStringLiteral("Apri Modulo PDF"));
    pdfFormIcon = named(new ClickableLabel(pdfFormButton), "pdfFormIcon");
    // As tall as the caption leaves room for, inside the button's frame.
    pdfFormIcon->setPixmap(
        QPixmap(QStringLiteral(":/icons/pdf.png"))
            .scaledToHeight(pdfFormButton->sizeHint().height() - 6, Qt::SmoothTransformation));
    pdfFormIcon->setCursor(Qt::PointingHandCursor);
    auto* pdfLayout = new QHBoxLayout(pdfFormButton);
    constexpr int kIconMargin = 8;
    pdfLayout->setContentsMargins(0, 0, kIconMargin, 0);
    pdfLayout->addStretch();
    pdfLayout->addWidget(pdfFormIcon, 0, Qt::AlignVCenter);
    // The caption's trailing blanks leave the icon's place; the icon stays inside the border.
    pdfFormButton->setFixedWidth(std::max(
        170, pdfFormButton->sizeHint().width() + pdfFormIcon->pixmap().width() + 2 * kIconMargin));
    exitButton = named(new QPushButton(QStringLiteral("E&sci"), central), "exitButton");
    createFilesButton->setEnabled(false);
    pdfFormButton->setEnabled(false);
    for (QPushButton* button : {createFilesButton, exitButton})
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(u'M') * 9);
    bottom->addWidget(createFilesButton);
    bottom->addWidget(pdfFormButton);
    bottom->addStretch();
    bottom->addWidget(exitButton);
    page->addLayout(bottom);
    setCentralWidget(central);
    countLabel = named(new QLabel(this), "countLabel");
    statusBar()->addPermanentWidget(countLabel);
    rowReasonLabel = named(new QLabel(this), "rowReasonLabel");
    statusBar()->addWidget(rowReasonLabel, 1);
    protectionLabel = named(new QLabel(this), "protectionLabel");
    statusBar()->addPermanentWidget(protectionLabel);

    for (QWidget* field :
         {static_cast<QWidget*>(protocolNumberEdit), static_cast<QWidget*>(germanCheck),
          static_cast<QWidget*>(protocolDateEdit)})
        enableRequestField(*field, false);
    setBackground(*officeTypeEdit, kEnabledField);
    setBackground(*purposeEdit, kEnabledField);

    setTabOrder(officeTypeEdit, certificateTypeCombo);
    setTabOrder(certificateTypeCombo, purposeEdit);
    setTabOrder(purposeEdit, protocolNumberEdit);
    setTabOrder(protocolNumberEdit, germanCheck);
    setTabOrder(germanCheck, protocolDateEdit);
    pressButtonsByKey(*this);

    connect(exportAction, &QAction::triggered, this, &MainWindow::exportSubjects);
    connect(findAction, &QAction::triggered, findBar, &FindBar::open);
    connect(undoAction, &QAction::triggered, this, [this] { undoOrRedo(true); });
    connect(redoAction, &QAction::triggered, this, [this] { undoOrRedo(false); });
    // "Annulla inserimento del soggetto", and so on; greyed out with nothing to take back.
    const auto describe = [](QAction* action, const QString& verb, const QString& what) {
        action->setText(what.isEmpty() ? verb : verb + u' ' + what);
    };
    connect(&program_.undo, &QUndoStack::undoTextChanged, undoAction,
            [this, describe](const QString& what) {
                describe(undoAction, QStringLiteral("&Annulla"), what);
            });
    connect(&program_.undo, &QUndoStack::redoTextChanged, redoAction,
            [this, describe](const QString& what) {
                describe(redoAction, QStringLiteral("&Ripeti"), what);
            });
    connect(&program_.undo, &QUndoStack::canUndoChanged, undoAction, &QAction::setEnabled);
    connect(&program_.undo, &QUndoStack::canRedoChanged, redoAction, &QAction::setEnabled);
    undoAction->setEnabled(false);
    redoAction->setEnabled(false);
    program_.edits.setShowRow([this](int row) {
        program_.currentRow = row;
        subjectGrid->setCurrentCell(row, row > 0 ? SurnameColumn : 0);
    });
    connect(findNextAction, &QAction::triggered, this, [this] { findSubject(FindStep::Next); });
    connect(findPreviousAction, &QAction::triggered, this,
            [this] { findSubject(FindStep::Previous); });
    connect(nextMarkedAction, &QAction::triggered, this, &MainWindow::goToNextMarkedRow);
    connect(findBar, &FindBar::textEdited, this, [this] { findSubject(FindStep::AsTyped); });
    connect(findBar, &FindBar::closed, subjectGrid, qOverload<>(&QWidget::setFocus));
    connect(officeDataAction, &QAction::triggered, this, &MainWindow::changeOfficeData);
    connect(manualAction, &QAction::triggered, this, &MainWindow::openManual);
    connect(aboutAction, &QAction::triggered, this, [this] {
        program_.messages.show(kAbout, Messages::Icon::Information,
                               QStringLiteral("Informazioni su Velmora"));
    });
    connect(certificateTypeCombo, &QComboBox::activated, this, &MainWindow::certificateTypeChosen);
    connect(certificateTypeCombo, &QComboBox::currentIndexChanged, this, &MainWindow::fieldsEdited);
    connect(purposeEdit, &QPlainTextEdit::textChanged, this, &MainWindow::fieldsEdited);
    connect(protocolNumberEdit, &QLineEdit::textChanged, this, &MainWindow::fieldsEdited);
    connect(protocolDateEdit, &QLineEdit::textChanged, this, &MainWindow::fieldsEdited);
    connect(germanCheck, &QCheckBox::toggled, this, &MainWindow::fieldsEdited);
    connect(officeTypeEdit, &FilteredLineEdit::focusLost, this, &MainWindow::officeTypeLeft);
    connect(exitButton, &QPushButton::clicked, this, &MainWindow::close);
    connect(createFilesButton, &QPushButton::clicked, this, &MainWindow::createFiles);
    connect(pdfFormButton, &QPushButton::clicked, this, &MainWindow::openPdfForm);
    connect(pdfFormIcon, &ClickableLabel::clicked, this, &MainWindow::openPdfForm);
    connect(insertSubjectButton, &QPushButton::clicked, this, &MainWindow::insertSubject);
    connect(changeSubjectButton, &QPushButton::clicked, this, &MainWindow::changeSubject);
    connect(deleteSubjectButton, &QPushButton::clicked, this, &MainWindow::deleteSubject);
    connect(clearTableButton, &QPushButton::clicked, this, &MainWindow::clearTable);
    connect(calendarButton, &QToolButton::clicked, this, &MainWindow::openCalendar);
    connect(protocolDateEdit, &MaskedDateEdit::calendarAsked, this, &MainWindow::openCalendar);
    connect(importButton, &QPushButton::clicked, this, &MainWindow::importFile);
    connect(subjectGrid, &SubjectGrid::clicked, this,
            [this] { program_.currentRow = subjectGrid->currentRow(); });
    connect(subjectGrid, &SubjectGrid::doubleClicked, this, &MainWindow::changeSubject);
    connect(subjectGrid, &SubjectGrid::enterPressed, this, &MainWindow::changeSubject);
    connect(subjectGrid, &SubjectGrid::deletePressed, this, &MainWindow::deleteSubject);
    connect(&program_.table, &SubjectTable::dataChanged, this, &MainWindow::showRowReason);
    connect(subjectGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &MainWindow::gridCurrentChanged);
    // The size it was designed at, as far as the screen allows.
    const QSize designed(1000, 680);
    resize(screen() ? designed.boundedTo(screen()->availableGeometry().size() * 9 / 10) : designed);
}

void MainWindow::enableRequestField(QWidget& field, bool enabled) {
    field.setEnabled(enabled);
    setBackground(field, enabled ? kEnabledField : kDisabledField);
}

void MainWindow::start() {
    roundOptionButtons(*this);
    QStringList dropped;
    const ConfigRead read = program_.readConfig(&dropped);
    // A value left out is asked for again by the office-data window when the program needs it.
    if (!dropped.isEmpty())
        program_.messages.show(dropped.join(QStringLiteral("\r\n")), Messages::Icon::Exclamation);
    const StartupPlan plan = planStartup(read, program_.config);
    newRequest();
    officeTypeEdit->setText(plan.officeType);
    program_.request.set(plan.request);

    if (plan.showMainWindow) {
        show();
        showSplash();
        return;
    }
    hide();
    centreOver(officeDialog(), *this);
    officeDialog().openForFirstRun();
}

void MainWindow::showSplash() {
    centreOver(splashScreen(), *this);
    splashScreen().show();
    splashTimer_.start();
}

void MainWindow::closeSplash() {
    splashTimer_.stop();
    closeIfOpen(splashScreen_);
    Q_EMIT splashClosed();
}

// The office data were saved: shown here; after a first configuration the program starts.
void MainWindow::officeDataSaved(bool firstRun) {
    officeTypeEdit->setText(program_.config.officeType);
    purposeEdit->setPlainText(program_.config.defaultPurpose);
    if (!firstRun)
        return;
    show();
    showSplash();
    newRequest();
}

// A request begins: no certificate type chosen, the fields that depend on it closed, the
// table empty.
void MainWindow::newRequest() {
    certificateTypeCombo->setEnabled(true);
    setBackground(*certificateTypeCombo, kEnabledField);
    enableRequestField(*germanCheck, false);
    enableRequestField(*protocolNumberEdit, false);
    enableRequestField(*protocolDateEdit, false);
    for (QPushButton* button : {createFilesButton, importButton, pdfFormButton})
        button->setEnabled(true);
    {
        const QSignalBlocker quiet(certificateTypeCombo);
        certificateTypeCombo->setCurrentIndex(-1);
    }
    fieldsEdited();
    emptyTable();
    program_.undo.clear();
    program_.holdsImportedRows = false;
}

void MainWindow::certificateTypeChosen() {
    const int position = certificateTypeCombo->currentIndex();
    if (position < 0)
        return;
    program_.config.defaultCertType = certTypeFromList(position);
    enableRequestField(*germanCheck, true);
    enableRequestField(*protocolNumberEdit, true);
    enableRequestField(*protocolDateEdit, true);
}

void MainWindow::fieldsEdited() {
    if (showingRequest_)
        return;
    Request request;
    request.certificateType = certificateTypeCombo->currentIndex();
    request.purpose = purposeEdit->toPlainText();
    request.protocolNumber = protocolNumberEdit->text();
    const QString date = protocolDateEdit->shownText();
    if (hasDigit(date))
        request.protocolDate = date;
    request.german = germanCheck->isChecked();
    program_.request.set(request);
}

// The request changed from elsewhere (a request taken back): the fields follow it.
void MainWindow::showRequest() {
    const Request& request = program_.request.request();
    showingRequest_ = true;
    const bool typeChanged = certificateTypeCombo->currentIndex() != request.certificateType;
    if (typeChanged)
        certificateTypeCombo->setCurrentIndex(request.certificateType);
    if (purposeEdit->toPlainText() != request.purpose)
        purposeEdit->setPlainText(request.purpose);
    if (protocolNumberEdit->text() != request.protocolNumber)
        protocolNumberEdit->setText(request.protocolNumber);
    if (!request.protocolDate.isEmpty() && protocolDateEdit->shownText() != request.protocolDate)
        protocolDateEdit->setText(request.protocolDate);
    germanCheck->setChecked(request.german);
    showingRequest_ = false;
    if (typeChanged)
        certificateTypeChosen();
}

void MainWindow::emptyTable() {
    program_.currentRow = 0;
    program_.table.layOut();
    subjectGrid->setCurrentCell(0, 0);
    lastColumn_ = 0;
}

void MainWindow::showRow(int row) {
    subjectGrid->setCurrentCell(row, SurnameColumn);
}

// "Crea File": the request check, the configuration written, then the create-files dialog;
// rows that came from a file are checked first, once the wait window is on screen.
void MainWindow::createFiles() {
    closeIfOpen(createFilesDialog_);
    if (const Status office = checkOfficeType(officeTypeEdit->text()); !office) {
        program_.messages.show(office.error(), Messages::Icon::Exclamation);
        officeTypeEdit->setFocus(); // the field puts the caret at the end of its text
        return;
    }
    const Request request = program_.request.request();
    const Status checked =
        checkForBatch(request, program_.table.subjectCount(), program_.clock.now());
    if (!checked) {
        program_.messages.show(checked.error(), Messages::Icon::Critical);
        return;
    }
    program_.config.defaultCertType = QString::number(certificateTypeCombo->currentIndex());
    program_.config.defaultPurpose = purposeEdit->toPlainText();
    program_.writeConfig();
    if (program_.holdsImportedRows) {
        checked_ = request;
        centreOver(waitDialog(), *this);
        waitDialog().show();
        rowCheckTimer_.start();
        return;
    }
    if (!acceptWarnings())
        return;
    centreOver(createFilesDialog(), *this);
    createFilesDialog().openForBatch(request);
}

void MainWindow::checkImportedRows() {
    if (markFailingRows() && acceptWarnings()) {
        subjectGrid->setCurrentCell(1, SurnameColumn);
        centreOver(createFilesDialog(), *this);
        createFilesDialog().openForBatch(checked_);
    }
}

// Marks the failing rows (passing rows keep their mark), makes the first of them current and
// lists them with their reasons. True when every row passes.
bool MainWindow::markFailingRows() {
    const QList<RowCheck> failing = velmora::markFailingRows(program_.table, program_.clock.now());
    closeIfOpen(waitDialog_);
    rowCheckTimer_.stop();
    if (failing.isEmpty())
        return true;
    subjectGrid->setCurrentCell(failing.first().row, SurnameColumn);
    QList<int> rows;
    rows.reserve(failing.size());
    for (const RowCheck& check : failing)
        rows.append(check.row);
    program_.messages.show(rowErrorsMessage(rows), Messages::Icon::Exclamation, kAppTitle,
                           rowFaultLines(program_.table, failing));
    return false;
}

// Marks the rows the check warns of, makes the first of them current and asks whether to write
// the files all the same, the warnings in the detail. True when there are none, or on Yes.
bool MainWindow::acceptWarnings() {
    const QList<RowWarning> warnings = markWarnedRows(program_.table, program_.clock.now());
    if (warnings.isEmpty())
        return true;
    subjectGrid->setCurrentCell(warnings.first().row, SurnameColumn);
    QSet<int> rows;
    for (const RowWarning& warning : warnings)
        rows.insert(warning.row);
    return program_.messages.ask(warnedRowsQuestion(int(rows.size())), Messages::Icon::Exclamation,
                                 true, rowWarningLines(warnings));
}

// "Apri Modulo PDF": a lighter check than "Crea File", then the create-files dialog for the
// form.
void MainWindow::openPdfForm() {
    closeIfOpen(createFilesDialog_);
    const Request request = program_.request.request();
    if (const Status checked = checkForPdf(request, program_.table.subjectCount()); !checked) {
        program_.messages.show(checked.error(), Messages::Icon::Critical);
        return;
    }
    centreOver(createFilesDialog(), *this);
    createFilesDialog().openForPdf(request);
}

void MainWindow::insertSubject() {
    // A modification under way is not turned into an addition: its window comes forward.
    if (subjectDialog_ && subjectDialog_->isVisible() && !program_.addingSubject) {
        bringToFront(*subjectDialog_);
        return;
    }
    if (program_.table.subjectCount() >= SubjectTable::kMaxRows) {
        program_.messages.show(tableFullMessage(), Messages::Icon::Exclamation);
        return;
    }
    program_.addingSubject = true;
    centreOver(subjectDialog(), *this);
    subjectDialog().open();
}

void MainWindow::changeSubject() {
    if (program_.table.subjectCount() == 0)
        return;
    subjectGrid->setCurrentCell(program_.currentRow, subjectGrid->currentColumn());
    program_.addingSubject = false;
    editCurrentRow();
}

void MainWindow::editCurrentRow() {
    const int row = subjectGrid->currentRow();
    if (row == 0)
        return; // no data row to change
    SubjectDialog& dialog = subjectDialog();
    centreOver(dialog, *this);
    if (!dialog.open())
        return;
    dialog.focusColumn(lastColumn_);
    dialog.fillFromRow(program_.table.values(row));
    subjectGrid->setCurrentCell(row, SurnameColumn);
}

void MainWindow::deleteSubject() {
    SubjectTable& table = program_.table;
    const int n = program_.currentRow;
    if (n < 1 || n > table.subjectCount())
        return; // an empty table, or no row current
    if (!program_.messages.ask(kDeleteQuestion.arg(n), Messages::Icon::Exclamation, true))
        return;
    // The row that took the deleted one's place becomes current, or the new last row.
    program_.edits.remove(n);
}

void MainWindow::clearTable() {
    if (program_.table.subjectCount() == 0)
        return;
    centreOver(clearTableDialog(), *this);
    bringToFront(clearTableDialog());
}

void MainWindow::openCalendar() {
    if (!protocolDateEdit->isEnabled())
        return;
    centreOver(calendarDialog(), *this);
    bringToFront(calendarDialog());
}

void MainWindow::importFile() {
    centreOver(importDialog(), *this);
    importDialog().open();
}

void MainWindow::exportSubjects() {
    centreOver(exportDialog(), *this);
    bringToFront(exportDialog());
}

void MainWindow::gridCurrentChanged() {
    lastColumn_ = subjectGrid->currentColumn();
    program_.currentRow = subjectGrid->currentRow();
    showRowReason();
}

// Why the current row is marked, in the status line, where the keyboard reaches it too.
void MainWindow::showRowReason() {
    const int row = subjectGrid->currentRow();
    const QString reason = row > 0 ? rowReason(program_.table, row) : QString();
    rowReasonLabel->setText(reason.isEmpty() ? QString()
                                             : QStringLiteral("Riga %1: %2").arg(row).arg(reason));
}

void MainWindow::findSubject(FindStep step) {
    if (findBar->isHidden() || findBar->text().trimmed().isEmpty()) {
        findBar->open();
        return;
    }
    const int row =
        velmora::findSubject(program_.table, findBar->text(), subjectGrid->currentRow(), step);
    findBar->showFound(row > 0);
    if (row > 0)
        subjectGrid->setCurrentCell(row, SurnameColumn);
}

void MainWindow::goToNextMarkedRow() {
    const int row = nextMarkedRow(program_.table, subjectGrid->currentRow());
    if (row == 0) {
        statusBar()->showMessage(QStringLiteral("Nessuna riga con errori o avvisi"));
        return;
    }
    subjectGrid->setCurrentCell(row, SurnameColumn);
    subjectGrid->setFocus();
}

void MainWindow::showCounts() {
    countLabel->setText(subjectCounts(program_.table));
}

void MainWindow::showProtection(const QString& trouble) {
    protectionLabel->setText(
        trouble.isEmpty()
            ? QString()
            : QStringLiteral("\u26A0 Richiesta in corso non protetta: %1")
                  .arg(QString(trouble).replace(QStringLiteral("\r\n"), QStringLiteral(" "))));
    protectionLabel->setToolTip(trouble);
}

void MainWindow::officeTypeLeft() {
    if (takesOfficeType(officeTypeEdit->text(), program_.config.officeType))
        program_.config.officeType = officeTypeEdit->text();
}

void MainWindow::changeOfficeData() {
    centreOver(officeDialog(), *this);
    officeDialog().openForChange(officeTypeEdit->text(), purposeEdit->toPlainText());
}

void MainWindow::openManual() {
    const QString manual = program_.folders.dataFile(kUserManual);
    if (!program_.shell.open(manual))
        program_.messages.show(manualNotOpenedMessage(manual), Messages::Icon::Information);
}

QString manualNotOpenedMessage(const QString& path) {
    return kManualNotOpened.arg(QDir::toNativeSeparators(path));
}

// The table was cut to its first `keptRows` rows, the last of them current; 0 empties it.
void MainWindow::tableErased(int keptRows) {
    if (keptRows == 0)
        program_.edits.empty();
    subjectGrid->setCurrentCell(keptRows, SurnameColumn);
}

void MainWindow::undoOrRedo(bool undo) {
    if (undo)
        program_.undo.undo();
    else
        program_.undo.redo();
    // Rows taken back may be rows of a file: "Crea File" checks them all.
    program_.holdsImportedRows = program_.table.subjectCount() > 0;
}

// A subject saved by the subject dialog: its row is current and loses any mark.
void MainWindow::rowWritten(int row) {
    subjectGrid->setCurrentCell(row, SurnameColumn);
    program_.table.setFault(row, RowFault::None);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    for (const QPointer<QWidget>& window : ownedWindows())
        closeIfOpen(window);
    event->accept();
    Q_EMIT closed();
}

} // namespace velmora
