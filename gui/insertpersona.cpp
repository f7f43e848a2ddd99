#include "gui/insertpersona.h"

#include "core/clock.h"
#include "core/subjects/entryfields.h"
#include "core/subjects/personcheck.h"
#include "core/subjects/record.h"
#include "gui/diacritici.h"
#include "gui/messages.h"
#include "gui/program.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/maskeddateedit.h"
#include "gui/widgets/widgets.h"

#include <QCloseEvent>
#include <QCompleter>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListView>
#include <QPainter>
#include <QStringListModel>

namespace velmora {
namespace {

constexpr QRgb kMarked = 0xFF8080; // 255, 128, 128
constexpr QRgb kUnmarked = 0xFFFFFF;
const QString kCaption = QStringLiteral(" Inserimento Soggetto ");
const QString kItaly = record::kItaly.toString();
const QString kItalyCode = record::kItalyCode.toString();

// The palette buttons: a small key cap with an accented capital on it.
QPixmap paletteIcon() {
    QPixmap pixmap(24, 22);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(110, 120, 140), 1));
    p.setBrush(QColor(236, 240, 248));
    p.drawRoundedRect(QRectF(0.5, 0.5, 23, 21), 4, 4);
    QFont font = p.font();
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(30, 70, 140));
    p.drawText(QRectF(0, 0, 24, 22), Qt::AlignCenter, QStringLiteral("\u00C8"));
    return pixmap;
}

ClickableLabel* paletteButton(QWidget* parent) {
    auto* button = new ClickableLabel(parent);
    button->setPixmap(paletteIcon());
    button->setCursor(Qt::PointingHandCursor);
    button->setToolTip(QStringLiteral("Caratteri Speciali"));
    return button;
}

// The code fields show what the lookups found; the operator does not type into them.
QLineEdit* codeField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setFixedWidth(70);
    setBackground(*field, field->palette().color(QPalette::Button).rgb());
    return field;
}

// One of the two sex buttons: a Tab stop of its own; an arrow key selects the other one, and
// selecting one clears the other.
class SexOption final : public QRadioButton {
public:
    SexOption(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {
        setAutoExclusive(false);
        connect(this, &QRadioButton::toggled, this, [this](bool on) {
            if (on && other)
                other->setChecked(false);
        });
    }
    QRadioButton* other = nullptr;

protected:
    void nextCheckState() override { setChecked(true); }
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            other->setFocus(Qt::TabFocusReason);
            other->click();
            return;
        default:
            QRadioButton::keyPressEvent(event);
        }
    }
};

} // namespace

InsertPersona::InsertPersona(Program& program) : program_(program) {
    buildControls();
    connectMarkRemoval();
}

void InsertPersona::buildControls() {
    const auto warning = warningsTo(program_.messages);
    const auto filtered = [&](KeyFilter filter) {
        auto* field = new FilteredLineEdit(this);
        field->setKeyFilter(std::move(filter), warning);
        return field;
    };
    Text1 = filtered(entryfields::surname());
    Text2 = filtered(entryfields::name());
    Option1 = new SexOption(QStringLiteral("M"), this);
    Option2 = new SexOption(QStringLiteral("F"), this);
    static_cast<SexOption*>(Option1)->other = Option2;
    static_cast<SexOption*>(Option2)->other = Option1;
    Text3 = filtered(entryfields::taxCode());
    Text4 = filtered(entryfields::cui());
    Text5 = filtered(entryfields::father());
    MaskEdBox1 = new MaskedDateEdit(this);
    Combo1 = placeList(municipalityNames_);
    Text6 = codeField(this);
    Text7 = filtered(entryfields::foreignPlace());
    Combo2 = placeList(stateNames_);
    Text8 = codeField(this);
    Text8->setText(kItalyCode);
    Command1 = new QPushButton(QStringLiteral("Inserisci"), this);
    Command2 = new QPushButton(QStringLiteral("Cancella"), this);
    Command3 = new QPushButton(QStringLiteral("Annulla"), this);
    Image1 = paletteButton(this);
    Image2 = paletteButton(this);
    Image3 = paletteButton(this);
    Image4 = paletteButton(this);

    Text3->setMaximumWidth(170);
    Text4->setMaximumWidth(90);
    MaskEdBox1->setFixedWidth(90);

    Label1 = new QLabel(QStringLiteral("Cognome *"), this);
    Label2 = new QLabel(QStringLiteral("Nome *"), this);
    Label3 = new QLabel(QStringLiteral("Sesso *"), this);
    Label4 = new QLabel(QStringLiteral("Codice Fiscale **"), this);
    Label5 = new QLabel(QStringLiteral("CUI"), this);
    Label6 = new QLabel(QStringLiteral("Paternit\u00E0"), this);
    Label7 = new QLabel(QStringLiteral("Data di nascita *"), this);
    Label8 = new QLabel(QStringLiteral("Comune Italiano di nascita **"), this);
    Label9 = new QLabel(QStringLiteral("Comune Straniero di nascita"), this);
    Label10 = new QLabel(QStringLiteral("Nazione di nascita *"), this);
    Label11 =
        new QLabel(QStringLiteral("* Campi Obbligatori , ** Obbligatorio se nato in Italia"), this);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    const auto inRow = [](std::initializer_list<QWidget*> widgets) {
        auto* row = new QHBoxLayout;
        row->setSpacing(16);
        for (QWidget* widget : widgets)
            row->addWidget(widget);
        row->addStretch();
        return row;
    };
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Text1, 0, 1);
    grid->addWidget(Image1, 0, 2);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(Text2, 1, 1);
    grid->addWidget(Image2, 1, 2);
    grid->addWidget(Label3, 2, 0);
    grid->addLayout(inRow({Option1, Option2}), 2, 1);
    grid->addWidget(Label4, 3, 0);
    grid->addLayout(inRow({Text3}), 3, 1);
    grid->addWidget(Label5, 4, 0);
    grid->addLayout(inRow({Text4}), 4, 1);
    grid->addWidget(Label6, 5, 0);
    grid->addWidget(Text5, 5, 1);
    grid->addWidget(Image3, 5, 2);
    grid->addWidget(Label7, 6, 0);
    grid->addLayout(inRow({MaskEdBox1}), 6, 1);
    grid->addWidget(Label8, 7, 0);
    auto* municipalityRow = new QHBoxLayout;
    municipalityRow->addWidget(Combo1, 1);
    municipalityRow->addWidget(Text6);
    grid->addLayout(municipalityRow, 7, 1);
    grid->addWidget(Label9, 8, 0);
    grid->addWidget(Text7, 8, 1);
    grid->addWidget(Image4, 8, 2);
    grid->addWidget(Label10, 9, 0);
    auto* stateRow = new QHBoxLayout;
    stateRow->addWidget(Combo2, 1);
    stateRow->addWidget(Text8);
    grid->addLayout(stateRow, 9, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addStretch();
    for (QPushButton* button : {Command1, Command2, Command3}) {
        button->setFixedWidth(100);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    grid->setRowMinimumHeight(10, 6);
    grid->addLayout(buttons, 11, 0, 1, 3);
    grid->addWidget(Label11, 12, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    QWidget* chain[] = {Text1,      Text2,  Option1, Option2, Text3,    Text4,    Text5,
                        MaskEdBox1, Combo1, Text7,   Combo2,  Command1, Command2, Command3};
    for (size_t i = 1; i < std::size(chain); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    connect(Command1, &QPushButton::clicked, this, &InsertPersona::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &InsertPersona::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &InsertPersona::Command3_Click);
    connect(Image1, &ClickableLabel::clicked, this, [this] { openPalette(1); });
    connect(Image2, &ClickableLabel::clicked, this, [this] { openPalette(2); });
    connect(Image3, &ClickableLabel::clicked, this, [this] { openPalette(3); });
    connect(Image4, &ClickableLabel::clicked, this, [this] { openPalette(4); });
    connect(Combo1, &QComboBox::activated, this, &InsertPersona::Combo1_Click);
    connect(Combo2, &QComboBox::activated, this, &InsertPersona::Combo2_Click);
    connect(static_cast<FilteredLineEdit*>(Combo1->lineEdit()), &FilteredLineEdit::focusLost, this,
            &InsertPersona::Combo1_LostFocus);
    connect(static_cast<FilteredLineEdit*>(Combo2->lineEdit()), &FilteredLineEdit::focusLost, this,
            &InsertPersona::Combo2_LostFocus);
    pressButtonsByKey(*this);
    cancelOnEscape(*this, Command3);
    resize(600, sizeHint().height());
}

// An editable list over one model that its completer shares: thousands of names are set once
// per opening, and typing only filters them. Typed and pasted text goes through the filter.
QComboBox* InsertPersona::placeList(QStringListModel*& names) {
    auto* list = new QComboBox(this);
    names = new QStringListModel(list);
    auto* edit = new FilteredLineEdit(list);
    edit->setKeyFilter(entryfields::placeList(), warningsTo(program_.messages));
    list->setEditable(true);
    list->setLineEdit(edit);
    list->setModel(names);
    list->setInsertPolicy(QComboBox::NoInsert);
    // Measuring every name for the width would cost more than the whole opening.
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(28);
    list->setMaxVisibleItems(15);
    auto* completer = new QCompleter(names, list);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setCaseSensitivity(Qt::CaseSensitive);
    list->setCompleter(completer);
    // Every name is one line of text: the views need not measure thousands of rows.
    for (QAbstractItemView* view : {list->view(), completer->popup()}) {
        if (auto* rows = qobject_cast<QListView*>(view))
            rows->setUniformItemSizes(true);
    }
    return list;
}

void InsertPersona::connectMarkRemoval() {
    const auto unmark = [](QWidget* field) { setBackground(*field, kUnmarked); };
    for (QLineEdit* field : {static_cast<QLineEdit*>(Text1), static_cast<QLineEdit*>(Text2),
                             static_cast<QLineEdit*>(Text3), static_cast<QLineEdit*>(Text4),
                             static_cast<QLineEdit*>(Text5), static_cast<QLineEdit*>(MaskEdBox1)})
        connect(field, &QLineEdit::textChanged, this, [unmark, field] { unmark(field); });
    for (QComboBox* list : {Combo1, Combo2})
        connect(list, &QComboBox::editTextChanged, this, [unmark, list] { unmark(list); });
    connect(Option1, &QRadioButton::clicked, this, [this] { optionClicked(Option1); });
    connect(Option2, &QRadioButton::clicked, this, [this] { optionClicked(Option2); });
}

bool InsertPersona::open() {
    // Opened again while open (to add instead of modify, or on another row): the values stay,
    // and the caption follows what a save will now do.
    if (isVisible())
        setCaption();
    else if (!Form_Load())
        return false;
    bringToFront(*this);
    return true;
}

bool InsertPersona::Form_Load() {
    RoundOptionButtons(*this);
    // Upper-case typing is part of the key filters of Text1 to Text5 and Text7.
    QStringList problems;
    for (ReferenceTable* table : {&program_.municipalities, &program_.states}) {
        const Status read = table->refresh();
        if (!read)
            problems.append(read.error());
    }
    if (!problems.isEmpty()) {
        program_.messages.show(problems.join(QStringLiteral("\r\n")), Messages::Icon::Critical);
        return false;
    }
    municipalityNames_->setStringList(program_.municipalities.names());
    stateNames_->setStringList(program_.states.names());
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QString());
    Combo2->setCurrentIndex(-1);
    Combo2->setEditText(kItaly);
    setCaption();
    return true;
}

void InsertPersona::setCaption() {
    const int row = program_.nuovoIns ? program_.table.progressivo() + 1 : program_.indiceSoggetti;
    setWindowTitle(kCaption + QString::number(row));
}

QWidget* InsertPersona::fieldOfColumn(int column) const {
    switch (column) {
    case SurnameColumn:
        return Text1;
    case NameColumn:
        return Text2;
    case TaxCodeColumn:
        return Text3;
    case CuiColumn:
        return Text4;
    case FatherColumn:
        return Text5;
    case BirthDateColumn:
        return MaskEdBox1;
    case MunicipalityColumn:
    case MunicipalityCodeColumn:
        return Combo1;
    case ForeignPlaceColumn:
        return Text7;
    case StateColumn:
    case StateCodeColumn:
        return Combo2;
    default:
        return nullptr; // the sex buttons are marked together and take no focus here
    }
}

void InsertPersona::focusColumn(int column) {
    if (QWidget* field = fieldOfColumn(column))
        field->setFocus(Qt::OtherFocusReason);
}

void InsertPersona::fillFromRow(const SubjectValues& row) {
    Text1->setText(row[SurnameColumn]);
    Text2->setText(row[NameColumn]);
    if (row[SexColumn] == u"M")
        Option1->setChecked(true);
    else if (row[SexColumn] == u"F")
        Option2->setChecked(true);
    Text3->setText(row[TaxCodeColumn]);
    Text4->setText(row[CuiColumn]);
    Text5->setText(row[FatherColumn]);
    MaskEdBox1->setText(row[BirthDateColumn]);
    Text6->setText(row[MunicipalityCodeColumn]);
    Combo1->setEditText(row[MunicipalityColumn]);
    Text7->setText(row[ForeignPlaceColumn]);
    Combo2->setEditText(row[StateColumn]);
    Text8->setText(row[StateCodeColumn]);
}

FilteredLineEdit* InsertPersona::paletteField(int box) const {
    switch (box) {
    case 1:
        return Text1;
    case 2:
        return Text2;
    case 3:
        return Text5;
    case 4:
        return Text7;
    default:
        return nullptr;
    }
}

bool InsertPersona::RifComune() {
    // An unreadable table finds nothing, and the check says so.
    (void)program_.municipalities.refresh();
    const auto code = program_.municipalities.lookupName(Combo1->currentText());
    if (code)
        Text6->setText(*code);
    return code.has_value();
}

bool InsertPersona::RifStato() {
    (void)program_.states.refresh();
    const auto code = program_.states.lookupName(Combo2->currentText());
    if (code)
        Text8->setText(*code);
    return code.has_value();
}

void InsertPersona::Combo1_Click() {
    setBackground(*Combo1, kUnmarked);
    RifComune();
}

// A name that is not in the table leaves no code behind, which the check then reports.
void InsertPersona::Combo1_LostFocus() {
    if (!RifComune())
        Text6->clear();
}

void InsertPersona::Combo2_Click() {
    setBackground(*Combo2, kUnmarked);
    RifStato();
}

void InsertPersona::Combo2_LostFocus() {
    if (!RifStato())
        Text8->clear();
}

void InsertPersona::optionClicked(QRadioButton* clicked) {
    if (backgroundOf(*clicked) != kMarked)
        return;
    setBackground(*Option1, kUnmarked);
    setBackground(*Option2, kUnmarked);
}

void InsertPersona::openPalette(int box) {
    diacritici& palette = this->palette();
    palette.CurrentBox = box;
    const ClickableLabel* opener[] = {Image1, Image2, Image3, Image4};
    placeBeside(palette, *opener[box - 1]);
    bringToFront(palette);
}

PersonFields InsertPersona::fields() const {
    PersonFields person;
    person.surname = Text1->text();
    person.name = Text2->text();
    person.sex = Option1->isChecked()   ? QStringLiteral("M")
                 : Option2->isChecked() ? QStringLiteral("F")
                                        : QString();
    person.taxCode = Text3->text();
    person.cui = Text4->text();
    person.father = Text5->text();
    person.birthDate = MaskEdBox1->shownText();
    person.municipality = Combo1->currentText();
    person.foreignPlace = Text7->text();
    person.state = Combo2->currentText();
    person.municipalityCode = Text6->text();
    person.stateCode = Text8->text();
    return person;
}

void InsertPersona::whitenFields() {
    for (QWidget* field :
         {static_cast<QWidget*>(Text1), static_cast<QWidget*>(Text2),
          static_cast<QWidget*>(Option1), static_cast<QWidget*>(Option2),
          static_cast<QWidget*>(Text3), static_cast<QWidget*>(Text4), static_cast<QWidget*>(Text5),
          static_cast<QWidget*>(MaskEdBox1), static_cast<QWidget*>(Combo1),
          static_cast<QWidget*>(Text7), static_cast<QWidget*>(Combo2)})
        setBackground(*field, kUnmarked);
}

void InsertPersona::markFields(const QList<FailedRule>& failed) {
    for (const FailedRule& rule : failed) {
        if (rule.field == SexColumn) {
            setBackground(*Option1, kMarked);
            setBackground(*Option2, kMarked);
        } else {
            setBackground(*fieldOfColumn(rule.field), kMarked);
        }
    }
}

void InsertPersona::Command1_Click() {
    whitenFields();
    const PersonFields person = fields();
    const QList<FailedRule> failed = CheckPersonFields(person, program_.clock.now());
    if (!failed.isEmpty()) {
        markFields(failed);
        program_.messages.show(personErrorsMessage(failed), Messages::Icon::Exclamation);
        return;
    }
    // Not destructive: a No only leaves the window open for a correction.
    if (asksTaxCodeConfirmation(person) &&
        !program_.messages.ask(kTaxCodeQuestion, Messages::Icon::Exclamation, false))
        return;
    writeRow(person);
    close();
}

void InsertPersona::writeRow(const PersonFields& person) {
    SubjectTable& table = program_.table;
    const SubjectValues values = subjectRow(person);
    int row = rowToWrite(program_.nuovoIns, program_.indiceSoggetti, table.progressivo());
    if (row == 0)
        row = table.appendRow(values);
    else
        table.setValues(row, values);
    Q_EMIT rowWritten(row);
}

void InsertPersona::Command2_Click() {
    for (QLineEdit* field :
         {static_cast<QLineEdit*>(Text1), static_cast<QLineEdit*>(Text2),
          static_cast<QLineEdit*>(Text3), static_cast<QLineEdit*>(Text4),
          static_cast<QLineEdit*>(Text5), Text6, static_cast<QLineEdit*>(Text7), Text8})
        field->clear();
    whitenFields();
    for (QRadioButton* option : {Option1, Option2})
        option->setChecked(false);
    MaskEdBox1->clearMask();
    Combo1->setEditText(QString());
    Combo2->setEditText(kItaly);
    Text8->setText(kItalyCode);
}

void InsertPersona::Command3_Click() {
    close();
}

InsertPersona::~InsertPersona() {
    delete palette_.data();
}

diacritici& InsertPersona::palette() {
    if (!palette_) {
        palette_ = new diacritici([this](int box) { return paletteField(box); });
        ownWindow(*palette_, *this);
        palette_->setAttribute(Qt::WA_DeleteOnClose);
    }
    return *palette_;
}

void InsertPersona::closeEvent(QCloseEvent* event) {
    if (palette_)
        palette_->close();
    QWidget::closeEvent(event);
}

} // namespace velmora
