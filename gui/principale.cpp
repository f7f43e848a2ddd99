#include "gui/principale.h"

#include "core/clock.h"
#include "core/paths.h"
#include "core/subjects/personcheck.h"
#include "gui/attesa.h"
#include "gui/avvisotabella.h"
#include "gui/calendar.h"
#include "gui/creafiles.h"
#include "gui/datiutente.h"
#include "gui/esportasoggetti.h"
#include "gui/frmsplash.h"
#include "gui/importafile.h"
#include "gui/insertpersona.h"
#include "gui/messages.h"
#include "gui/program.h"
#include "gui/shell.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/maskeddateedit.h"
#include "gui/widgets/subjectgrid.h"
#include "gui/widgets/widgets.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPainter>
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
const QString kLegend = QStringLiteral("* Campi Obbligatori, **Obbligatorio se nato in Italia");

QPixmap calendarIcon() {
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(70, 70, 70), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(1.5, 3.5, 19, 17), 2, 2);
    p.fillRect(QRectF(2, 4, 18, 5), QColor(190, 40, 40));
    p.setPen(QColor(90, 90, 90));
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            p.drawPoint(5 + column * 4, 12 + row * 3);
    return pixmap;
}

QPixmap pdfIcon() {
    QPixmap pixmap(22, 26);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{2.5, 1.5}, {15.5, 1.5}, {20.5, 6.5}, {20.5, 24.5}, {2.5, 24.5}}));
    p.fillRect(QRectF(0, 11, 22, 9), QColor(200, 30, 30));
    QFont font = p.font();
    font.setPixelSize(8);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 11, 22, 9), Qt::AlignCenter, QStringLiteral("PDF"));
    return pixmap;
}

// A stack of request forms, beside the request fields.
QPixmap requestPicture() {
    QPixmap pixmap(96, 96);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    for (int sheet = 2; sheet >= 0; --sheet) {
        const QRectF page(14 + sheet * 7, 8 + sheet * 5, 52, 70);
        p.setPen(QPen(QColor(110, 120, 140), 1));
        p.setBrush(sheet == 0 ? QColor(255, 255, 255) : QColor(232, 236, 244));
        p.drawRect(page);
    }
    p.setPen(QPen(QColor(150, 160, 180), 2));
    for (int line = 0; line < 6; ++line)
        p.drawLine(QPointF(22, 22 + line * 9), QPointF(58, 22 + line * 9));
    p.setPen(QPen(QColor(30, 90, 160), 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(56, 70), 9, 9);
    return pixmap;
}

} // namespace

Principale::Principale(Program& program) : program_(program) {
    setWindowTitle(kCaption);
    buildControls();
    Timer1.setInterval(kBatchCheckDelayMs);
    Timer1.setSingleShot(true);
    Timer2.setInterval(kSplashMs);
    Timer2.setSingleShot(true);
    connect(&Timer2, &QTimer::timeout, this, &Principale::Timer2_Timer);
}

Principale::~Principale() {
    for (const QPointer<QWidget>& window : ownedWindows())
        delete window.data();
    // The fields lose their focus while the window is taken apart; no handler may run then.
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
}

// The windows made so far and not closed, in the order this window's close wants: the wait
// window last.
QList<QPointer<QWidget>> Principale::ownedWindows() const {
    return {splash_.data(),       importWindow_.data(), entryWindow_.data(),
            calendar_.data(),     outputWindow_.data(), clearTableWindow_.data(),
            configWindow_.data(), waitWindow_.data()};
}

namespace {

// A window of its own, kept above `owner` and closed with it, gone once closed.
template <typename Window, typename... Arguments>
Window* made(QWidget* owner, Arguments&&... arguments) {
    auto* window = new Window(std::forward<Arguments>(arguments)...);
    ownWindow(*window, *owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    return window;
}

} // namespace

datiUtente& Principale::configWindow() {
    if (!configWindow_) {
        configWindow_ = made<datiUtente>(this, program_);
        connect(configWindow_, &datiUtente::saved, this, &Principale::officeDataSaved);
        connect(configWindow_, &datiUtente::firstRunLeft, this, &Principale::close);
    }
    return *configWindow_;
}

CreaFiles& Principale::outputWindow() {
    if (!outputWindow_)
        outputWindow_ = made<CreaFiles>(this, program_);
    return *outputWindow_;
}

ImportaFile& Principale::importWindow() {
    if (!importWindow_) {
        importWindow_ = made<ImportaFile>(this, program_);
        connect(importWindow_, &ImportaFile::imported, this,
                [this](int lastRow) { MSFlexGrid1->setCurrentCell(lastRow, SurnameColumn); });
        // The import added nothing: the table is laid out again, or its current row moved.
        connect(importWindow_, &ImportaFile::refused, this, [this](int rowsBefore) {
            int keep = rowsBefore;
            clearTableWindow().EraseTable(keep);
        });
    }
    return *importWindow_;
}

frmSplash& Principale::splash() {
    if (!splash_)
        splash_ = made<frmSplash>(this);
    return *splash_;
}

attesa& Principale::waitWindow() {
    if (!waitWindow_)
        waitWindow_ = made<attesa>(this);
    return *waitWindow_;
}

Calendar& Principale::calendar() {
    if (!calendar_) {
        calendar_ = made<Calendar>(this, program_.clock.now().date());
        connect(calendar_, &Calendar::dateChosen, this,
                [this](QDate date) { MaskEdBox1->setText(date.toString(kDateFormat)); });
    }
    return *calendar_;
}

AvvisoTabella& Principale::clearTableWindow() {
    if (!clearTableWindow_) {
        clearTableWindow_ = made<AvvisoTabella>(this, program_);
        connect(clearTableWindow_, &AvvisoTabella::erased, this, &Principale::tableErased);
    }
    return *clearTableWindow_;
}

InsertPersona& Principale::entryWindow() {
    if (!entryWindow_) {
        entryWindow_ = made<InsertPersona>(this, program_);
        connect(entryWindow_, &InsertPersona::rowWritten, this, &Principale::rowWritten);
    }
    return *entryWindow_;
}

void Principale::closeIfOpen(QWidget* window) {
    if (window)
        window->close();
}

void Principale::buildControls() {
    const auto warning = warningsTo(program_.messages);

    auto* menuFile = menuBar()->addMenu(QStringLiteral("File"));
    esportaSoggetti = menuFile->addAction(QStringLiteral("Esporta soggetti..."));
    connect(esportaSoggetti, &QAction::triggered, this,
            [this] { EsportaSoggetti::open(program_, *this); });
    auto* menuConfig = menuBar()->addMenu(QStringLiteral("Configurazione"));
    modConfig = menuConfig->addAction(QStringLiteral("Modifica Configurazione Utente"));
    auto* menuHelp = menuBar()->addMenu(QStringLiteral("?"));
    guida = menuHelp->addAction(QStringLiteral("Guida"));
    connect(modConfig, &QAction::triggered, this, &Principale::modConfig_Click);
    connect(guida, &QAction::triggered, this, &Principale::guida_Click);

    auto* central = new QWidget(this);
    auto* page = new QVBoxLayout(central);

    auto* officeRow = new QHBoxLayout;
    officeRow->addWidget(new QLabel(QStringLiteral("Tipo Ufficio"), central));
    Text2 = new FilteredLineEdit(central);
    Text2->setKeyFilter(requestfields::officeType(), warning);
    officeRow->addWidget(Text2, 1);
    page->addLayout(officeRow);

    XPFrame1 = new QGroupBox(QStringLiteral("Dati Richiesta"), central);
    auto* requestGrid = new QGridLayout(XPFrame1);
    Combo1 = new QComboBox(XPFrame1);
    Text3 = new FilteredTextEdit(XPFrame1);
    Text3->setKeyFilter(requestfields::purpose(), warning);
    Text3->setFixedHeight(54);
    Text1 = new FilteredLineEdit(XPFrame1);
    Text1->setKeyFilter(requestfields::protocolNumber(), warning);
    Check1 = new QCheckBox(XPFrame1);
    MaskEdBox1 = new MaskedDateEdit(XPFrame1);
    MaskEdBox1->setMaximumWidth(110);
    Image1 = new ClickableLabel(XPFrame1);
    Image1->setPixmap(calendarIcon());
    Image1->setCursor(Qt::PointingHandCursor);
    Label7 = new QLabel(QStringLiteral("Tutti i campi sono obbligatori"), XPFrame1);
    auto* Picture1 = new QLabel(XPFrame1);
    Picture1->setPixmap(requestPicture());

    requestGrid->addWidget(new QLabel(QStringLiteral("Tipo certificato"), XPFrame1), 0, 0);
    requestGrid->addWidget(Combo1, 0, 1, 1, 4);
    requestGrid->addWidget(new QLabel(QStringLiteral("Finalit\u00E0 richiesta"), XPFrame1), 1, 0);
    requestGrid->addWidget(Text3, 1, 1, 1, 4);
    requestGrid->addWidget(new QLabel(QStringLiteral("Numero protocollo"), XPFrame1), 2, 0);
    requestGrid->addWidget(Text1, 2, 1);
    requestGrid->addWidget(new QLabel(QStringLiteral("Lingua tedesca"), XPFrame1), 2, 2);
    requestGrid->addWidget(Check1, 2, 3, Qt::AlignLeft | Qt::AlignVCenter);
    requestGrid->addWidget(new QLabel(QStringLiteral("Data protocollo"), XPFrame1), 3, 0);
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(MaskEdBox1);
    dateRow->addWidget(Image1);
    dateRow->addWidget(Label7);
    dateRow->addStretch();
    requestGrid->addLayout(dateRow, 3, 1, 1, 4);
    requestGrid->addWidget(Picture1, 0, 5, 4, 1, Qt::AlignCenter);
    requestGrid->setColumnStretch(1, 1);
    page->addWidget(XPFrame1);

    XPFrame2 = new QGroupBox(central);
    auto* subjects = new QVBoxLayout(XPFrame2);
    MSFlexGrid1 = new SubjectGrid(program_.table, XPFrame2);
    Label6 = new QLabel(XPFrame2);
    subjects->addWidget(MSFlexGrid1, 1);
    subjects->addWidget(Label6);
    auto* tableButtons = new QHBoxLayout;
    Command3 = new QPushButton(XPFrame2);
    Command4 = new QPushButton(XPFrame2);
    Command5 = new QPushButton(XPFrame2);
    Command7 = new QPushButton(QStringLiteral("Importa da file"), XPFrame2);
    Command6 = new QPushButton(QStringLiteral("Cancella Tabella"), XPFrame2);
    for (QPushButton* button : {Command3, Command4, Command5, Command7, Command6})
        tableButtons->addWidget(button);
    tableButtons->addStretch();
    subjects->addLayout(tableButtons);
    page->addWidget(XPFrame2, 1);
    for (QWidget* hidden : {static_cast<QWidget*>(XPFrame2), static_cast<QWidget*>(MSFlexGrid1),
                            static_cast<QWidget*>(Label6), static_cast<QWidget*>(Command3),
                            static_cast<QWidget*>(Command4), static_cast<QWidget*>(Command5),
                            static_cast<QWidget*>(Command6), static_cast<QWidget*>(Command7)})
        hidden->setVisible(false);

    auto* bottom = new QHBoxLayout;
    Command1 = new QPushButton(QStringLiteral("Crea File"), central);
    Command8 = new QPushButton(QStringLiteral("Apri Modulo PDF   "), central);
    Picture2 = new ClickableLabel(Command8);
    // As tall as the caption leaves room for, inside the button's frame.
    Picture2->setPixmap(
        pdfIcon().scaledToHeight(Command8->sizeHint().height() - 6, Qt::SmoothTransformation));
    Picture2->setCursor(Qt::PointingHandCursor);
    auto* pdfLayout = new QHBoxLayout(Command8);
    constexpr int kIconMargin = 8;
    pdfLayout->setContentsMargins(0, 0, kIconMargin, 0);
    pdfLayout->addStretch();
    pdfLayout->addWidget(Picture2, 0, Qt::AlignVCenter);
    // The caption's trailing blanks leave the icon's place; the icon stays inside the border.
    Command8->setFixedWidth(
        std::max(170, Command8->sizeHint().width() + Picture2->pixmap().width() + 2 * kIconMargin));
    Command2 = new QPushButton(QStringLiteral("Esci"), central);
    Command1->setEnabled(false);
    Command8->setEnabled(false);
    Command1->setFixedWidth(110);
    Command2->setFixedWidth(110);
    bottom->addWidget(Command1);
    bottom->addWidget(Command8);
    bottom->addStretch();
    bottom->addWidget(Command2);
    page->addLayout(bottom);
    setCentralWidget(central);

    for (QWidget* field : {static_cast<QWidget*>(Text1), static_cast<QWidget*>(Check1),
                           static_cast<QWidget*>(MaskEdBox1)})
        enableRequestField(*field, false);
    setBackground(*Text2, kEnabledField);
    setBackground(*Text3, kEnabledField);

    setTabOrder(Text2, Combo1);
    setTabOrder(Combo1, Text3);
    setTabOrder(Text3, Text1);
    setTabOrder(Text1, Check1);
    setTabOrder(Check1, MaskEdBox1);
    pressButtonsByKey(*this);

    connect(Combo1, &QComboBox::activated, this, &Principale::Combo1_Click);
    connect(Text2, &FilteredLineEdit::focusLost, this, &Principale::Text2_LostFocus);
    connect(Command2, &QPushButton::clicked, this, &Principale::close);
    connect(Command1, &QPushButton::clicked, this, &Principale::Command1_Click);
    connect(&Timer1, &QTimer::timeout, this, &Principale::Timer1_Timer);
    connect(Command8, &QPushButton::clicked, this, &Principale::Command8_Click);
    connect(Picture2, &ClickableLabel::clicked, this, &Principale::Command8_Click);
    connect(Command3, &QPushButton::clicked, this, &Principale::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Principale::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Principale::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Principale::Command6_Click);
    connect(Image1, &ClickableLabel::clicked, this, &Principale::Image1_Click);
    connect(Command7, &QPushButton::clicked, this, &Principale::Command7_Click);
    connect(MSFlexGrid1, &SubjectGrid::clicked, this,
            [this] { program_.indiceSoggetti = MSFlexGrid1->currentRow(); });
    connect(MSFlexGrid1, &SubjectGrid::doubleClicked, this, &Principale::Command4_Click);
    connect(MSFlexGrid1, &SubjectGrid::enterPressed, this, &Principale::Command4_Click);
    connect(MSFlexGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &Principale::gridCurrentChanged);
    resize(1000, 680);
}

void Principale::enableRequestField(QWidget& field, bool enabled) {
    field.setEnabled(enabled);
    setBackground(field, enabled ? kEnabledField : kDisabledField);
}

void Principale::Form_Load() {
    RoundOptionButtons(*this);
    const ConfigRead read = program_.readConfig();
    const StartupPlan plan = planStartup(read, program_.config);
    Command1->setEnabled(true);
    Command7->setEnabled(true);
    CG_Click(1);
    Text2->setText(plan.officeType);
    if (plan.certPosition >= 0) {
        Combo1->setCurrentIndex(plan.certPosition);
        Combo1_Click();
    }
    if (plan.fillPurpose)
        Text3->setPlainText(program_.config.DefaultPurpose);

    if (plan.showMainWindow) {
        show();
        centreOver(splash(), *this);
        splash().show();
        Timer2.start();
        return;
    }
    hide();
    centreOver(configWindow(), *this);
    configWindow().openForFirstRun();
}

// The office data were saved: shown here; after a first configuration the program starts.
void Principale::officeDataSaved(bool firstRun) {
    Text2->setText(program_.config.OfficeType);
    Text3->setPlainText(program_.config.DefaultPurpose);
    if (!firstRun)
        return;
    show();
    centreOver(splash(), *this);
    splash().show();
    Timer2.start();
    CG_Click(1);
}

void Principale::CG_Click(int /*index*/) {
    Combo1->setEnabled(true);
    setBackground(*Combo1, kEnabledField);
    enableRequestField(*Check1, false);
    enableRequestField(*Text1, false);
    enableRequestField(*MaskEdBox1, false);
    if (!Command1->isEnabled()) {
        Command1->setEnabled(true);
        Command7->setEnabled(true);
    }
    Command8->setEnabled(true);
    {
        const QSignalBlocker quiet(Combo1);
        Combo1->clear();
        for (const QString& item : kCertificateTypes)
            Combo1->addItem(item);
        Combo1->setCurrentIndex(-1);
    }
    program_.request.certTypeDescription.clear();
    CreaTab1();
    XPFrame2->setTitle(kSubjectsFrame);
    Command3->setText(QStringLiteral("Inserisci Soggetto"));
    Command4->setText(QStringLiteral("Modifica Soggetto"));
    Command5->setText(QStringLiteral("Elimina Soggetto"));
    Label6->setText(kLegend);
    for (QWidget* shown : {static_cast<QWidget*>(XPFrame2), static_cast<QWidget*>(MSFlexGrid1),
                           static_cast<QWidget*>(Label6), static_cast<QWidget*>(Command3),
                           static_cast<QWidget*>(Command4), static_cast<QWidget*>(Command5),
                           static_cast<QWidget*>(Command6), static_cast<QWidget*>(Command7)})
        shown->setVisible(true);
    program_.importoFile = false;
}

void Principale::Combo1_Click() {
    const int position = Combo1->currentIndex();
    if (position < 0)
        return;
    program_.request.certTypeDescription = kCertificateTypes.at(position);
    program_.config.DefaultCertType = certTypeFromList(position);
    enableRequestField(*Check1, true);
    enableRequestField(*Text1, true);
    enableRequestField(*MaskEdBox1, true);
}

void Principale::CreaTab1() {
    program_.indiceSoggetti = 0;
    program_.table.layOut();
    MSFlexGrid1->setCurrentCell(0, 0);
    lastColumn_ = 0;
}

RequestFields Principale::requestFields() const {
    RequestFields fields;
    fields.officeType = Text2->text();
    fields.certPosition = Combo1->currentIndex();
    fields.purpose = Text3->toPlainText();
    fields.protocolNumber = Text1->text();
    fields.protocolDate = MaskEdBox1->shownText();
    fields.german = Check1->isChecked();
    fields.subjects = program_.table.progressivo();
    return fields;
}

// "Crea File": the request check, the configuration written, then the output window; rows
// that came from a file are checked first, once the wait window is on screen.
void Principale::Command1_Click() {
    closeIfOpen(outputWindow_);
    const RequestVerdict verdict = checkForBatch(requestFields(), program_.clock.now());
    if (verdict.focus == RequestVerdict::Focus::OfficeType) {
        program_.messages.show(verdict.refusal, Messages::Icon::Exclamation);
        Text2->setFocus(); // the field puts the caret at the end of its text
        return;
    }
    RequestRecord& request = program_.request;
    request.purpose = verdict.record.purpose;
    request.german = verdict.record.german;
    request.protocolNumber = verdict.record.protocolNumber;
    request.protocolDate = verdict.record.protocolDate;
    if (!verdict.accepted()) {
        program_.messages.show(verdict.refusal, Messages::Icon::Critical);
        return;
    }
    program_.config.DefaultCertType = QString::number(Combo1->currentIndex());
    program_.config.DefaultPurpose = Text3->toPlainText();
    program_.writeConfig();
    if (program_.importoFile) {
        centreOver(waitWindow(), *this);
        waitWindow().show();
        Timer1.start();
        return;
    }
    centreOver(outputWindow(), *this);
    outputWindow().open(false);
}

void Principale::Timer1_Timer() {
    if (CheckPersonRows()) {
        MSFlexGrid1->setCurrentCell(1, SurnameColumn);
        centreOver(outputWindow(), *this);
        outputWindow().open(false);
    }
}

// Paints the failing rows light red (passing rows keep their colour), makes the first of them
// current and lists them with their reasons.
bool Principale::CheckPersonRows() {
    const QList<RowCheck> failing = failingRowChecks(program_.table, program_.clock.now());
    for (RowCheck check : failing)
        PaintGridRow(*MSFlexGrid1, kLightRed, check.row, kBlack);
    closeIfOpen(waitWindow_);
    Timer1.stop();
    if (failing.isEmpty())
        return true;
    MSFlexGrid1->setCurrentCell(failing.first().row, SurnameColumn);
    ShowRowErrors(failing);
    return false;
}

void Principale::ShowRowErrors(const QList<RowCheck>& failing) {
    QList<int> rows;
    rows.reserve(failing.size());
    for (const RowCheck& check : failing)
        rows.append(check.row);
    program_.messages.show(rowErrorsMessage(rows), Messages::Icon::Exclamation, kAppTitle,
                           rowFaultLines(failing));
}

// "Apri Modulo PDF": a lighter check than "Crea File", then the output window in PDF mode.
void Principale::Command8_Click() {
    closeIfOpen(outputWindow_);
    const RequestVerdict verdict =
        checkForPdf(requestFields(), program_.request.certTypeDescription);
    program_.request.purpose = verdict.record.purpose;
    program_.request.protocolNumber = verdict.record.protocolNumber;
    program_.request.protocolDate = verdict.record.protocolDate;
    if (!verdict.accepted()) {
        program_.messages.show(verdict.refusal, Messages::Icon::Critical);
        return;
    }
    centreOver(outputWindow(), *this);
    outputWindow().open(true);
}

void Principale::Command3_Click() {
    // A modification under way is not turned into an addition: its window comes forward.
    if (entryWindow_ && entryWindow_->isVisible() && !program_.nuovoIns) {
        bringToFront(*entryWindow_);
        return;
    }
    if (program_.table.progressivo() >= SubjectTable::kMaxRows) {
        program_.messages.show(tableFullMessage(), Messages::Icon::Exclamation);
        return;
    }
    program_.nuovoIns = true;
    centreOver(entryWindow(), *this);
    entryWindow().open();
}

void Principale::Command4_Click() {
    if (program_.table.progressivo() == 0)
        return;
    MSFlexGrid1->setCurrentCell(program_.indiceSoggetti, MSFlexGrid1->currentColumn());
    program_.nuovoIns = false;
    EditPersonRow();
}

void Principale::EditPersonRow() {
    const int row = MSFlexGrid1->currentRow();
    if (row == 0)
        return; // no data row to change
    InsertPersona& entry = entryWindow();
    centreOver(entry, *this);
    if (!entry.open())
        return;
    entry.focusColumn(lastColumn_);
    entry.fillFromRow(program_.table.values(row));
    MSFlexGrid1->setCurrentCell(row, SurnameColumn);
}

void Principale::Command5_Click() {
    SubjectTable& table = program_.table;
    const int n = program_.indiceSoggetti;
    if (n < 1 || n > table.progressivo())
        return; // an empty table, or no row current
    if (!program_.messages.ask(kDeleteQuestion.arg(n), Messages::Icon::Exclamation, true))
        return;
    // The rows below move up inside the store: the operator's clipboard is not ours to use.
    const int column = MSFlexGrid1->currentColumn();
    table.removeRow(n);
    // The row that took the deleted one's place is current, or the new last row.
    program_.indiceSoggetti = std::min(n, table.progressivo());
    MSFlexGrid1->setCurrentCell(program_.indiceSoggetti, column);
}

void Principale::Command6_Click() {
    if (program_.table.progressivo() == 0)
        return;
    centreOver(clearTableWindow(), *this);
    bringToFront(clearTableWindow());
}

void Principale::Image1_Click() {
    if (!MaskEdBox1->isEnabled())
        return;
    centreOver(calendar(), *this);
    bringToFront(calendar());
}

void Principale::Command7_Click() {
    centreOver(importWindow(), *this);
    importWindow().open();
}

void Principale::gridCurrentChanged() {
    lastColumn_ = MSFlexGrid1->currentColumn();
    program_.indiceSoggetti = MSFlexGrid1->currentRow();
}

void Principale::Text2_LostFocus() {
    if (takesOfficeType(Text2->text(), program_.config.OfficeType))
        program_.config.OfficeType = Text2->text();
}

void Principale::modConfig_Click() {
    centreOver(configWindow(), *this);
    configWindow().openForChange(Text2->text(), Text3->toPlainText());
}

void Principale::guida_Click() {
    const QString manual = dataPath(kUserManual);
    if (!program_.shell.open(manual))
        program_.messages.show(manualNotOpenedMessage(manual), Messages::Icon::Information);
}

QString manualNotOpenedMessage(const QString& path) {
    return kManualNotOpened.arg(QDir::toNativeSeparators(path));
}

void Principale::Timer2_Timer() {
    Timer2.stop();
    closeIfOpen(splash_);
}

// The table was cut to its first `keptRows` rows, the last of them current; 0 empties it.
void Principale::tableErased(int keptRows) {
    if (keptRows == 0)
        CreaTab1();
    MSFlexGrid1->setCurrentCell(keptRows, SurnameColumn);
}

// A subject saved by the entry window: its row is current and loses any mark.
void Principale::rowWritten(int row) {
    MSFlexGrid1->setCurrentCell(row, SurnameColumn);
    int current = 0;
    PaintGridRow(*MSFlexGrid1, kWhite, current, kBlack);
}

void Principale::closeEvent(QCloseEvent* event) {
    for (const QPointer<QWidget>& window : ownedWindows())
        closeIfOpen(window);
    event->accept();
    Q_EMIT closed();
}

} // namespace velmora
