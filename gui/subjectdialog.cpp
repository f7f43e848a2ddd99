#include "gui/subjectdialog.h"

#include "core/clock.h"
#include "core/subjects/entryfields.h"
#include "core/subjects/personcheck.h"
#include "core/subjects/personcode.h"
#include "core/subjects/record.h"
#include "gui/calendardialog.h"
#include "gui/characterpalette.h"
#include "gui/messages.h"
#include "gui/program.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/maskeddateedit.h"
#include "gui/widgets/widgets.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>
#include <QToolButton>

namespace velmora {
namespace {

constexpr QRgb kMarked = 0xFF8080; // 255, 128, 128
constexpr QRgb kUnmarked = 0xFFFFFF;
const QString kCaption = QStringLiteral(" Inserimento Soggetto ");
const QString kItaly = record::kItaly.toString();
const QString kItalyCode = record::kItalyCode.toString();

// A palette button: a small key cap with an accented capital on it, for the field `name`.
QToolButton* paletteButton(const QString& field, QWidget* parent) {
    QToolButton* button = pictureButton(QStringLiteral(":/icons/palette.png"),
                                        QStringLiteral("Caratteri Speciali"), parent);
    button->setAccessibleName(QStringLiteral("Caratteri Speciali: ") + field);
    button->setCursor(Qt::PointingHandCursor);
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

// What a screen reader says of a field beside its name, when it has not been refused.
const QString kTaxCodeFormat = QStringLiteral("16 lettere e cifre");
const QString kCuiFormat = QStringLiteral("7 lettere e cifre");
const QString kDateFormat = QStringLiteral("gg/mm/aaaa");

} // namespace

SubjectDialog::SubjectDialog(Program& program) : program_(program) {
    buildControls();
    connectMarkRemoval();
}

void SubjectDialog::buildControls() {
    const auto warning = warningsTo(program_.messages);
    const auto filtered = [&](KeyFilter filter) {
        auto* field = new FilteredLineEdit(this);
        field->setKeyFilter(std::move(filter), warning);
        return field;
    };
    surnameEdit = named(filtered(entryfields::surname()), "surnameEdit");
    nameEdit = named(filtered(entryfields::name()), "nameEdit");
    // One group, one Tab stop: the arrows choose within it.
    auto* sexGroup = named(new QWidget(this), "sexGroup");
    sexGroup->setAccessibleName(QStringLiteral("Sesso"));
    maleRadio = named(new QRadioButton(QStringLiteral("M"), sexGroup), "maleRadio");
    femaleRadio = named(new QRadioButton(QStringLiteral("F"), sexGroup), "femaleRadio");
    maleRadio->setAccessibleName(QStringLiteral("Maschio"));
    femaleRadio->setAccessibleName(QStringLiteral("Femmina"));
    auto* sexRow = new QHBoxLayout(sexGroup);
    sexRow->setContentsMargins(0, 0, 0, 0);
    sexRow->setSpacing(16);
    sexRow->addWidget(maleRadio);
    sexRow->addWidget(femaleRadio);
    sexRow->addStretch();
    taxCodeEdit = named(filtered(entryfields::taxCode()), "taxCodeEdit");
    taxCodeEdit->setAccessibleDescription(kTaxCodeFormat);
    computeTaxCodeButton =
        named(new QPushButton(QStringLiteral("&Calcola"), this), "computeTaxCodeButton");
    computeTaxCodeButton->setToolTip(QStringLiteral(
        "Calcola il codice fiscale da cognome, nome, sesso, data e luogo di nascita"));
    cuiEdit = named(filtered(entryfields::cui()), "cuiEdit");
    cuiEdit->setAccessibleDescription(kCuiFormat);
    fatherEdit = named(filtered(entryfields::father()), "fatherEdit");
    birthDateEdit = named(new MaskedDateEdit(this), "birthDateEdit");
    birthCalendarButton = named(
        pictureButton(QStringLiteral(":/icons/calendar.png"), QStringLiteral("Calendario"), this),
        "birthCalendarButton");
    municipalityCombo = placeList(municipalityNames_, "municipalityCombo");
    municipalityCodeEdit = named(codeField(this), "municipalityCodeEdit");
    foreignPlaceEdit = named(filtered(entryfields::foreignPlace()), "foreignPlaceEdit");
    stateCombo = placeList(stateNames_, "stateCombo");
    stateCodeEdit = named(codeField(this), "stateCodeEdit");
    stateCodeEdit->setText(kItalyCode);
    insertButton = named(new QPushButton(QStringLiteral("&Inserisci"), this), "insertButton");
    clearButton = named(new QPushButton(QStringLiteral("Canc&ella"), this), "clearButton");
    cancelButton = named(new QPushButton(QStringLiteral("&Annulla"), this), "cancelButton");
    surnamePaletteButton =
        named(paletteButton(QStringLiteral("Cognome"), this), "surnamePaletteButton");
    namePaletteButton = named(paletteButton(QStringLiteral("Nome"), this), "namePaletteButton");
    fatherPaletteButton =
        named(paletteButton(QStringLiteral("Paternit\u00E0"), this), "fatherPaletteButton");
    foreignPlacePaletteButton =
        named(paletteButton(QStringLiteral("Comune straniero"), this), "foreignPlacePaletteButton");
    // Names without the marks of the mandatory fields, which the captions keep.
    const std::pair<QWidget*, const char*> names[] = {
        {surnameEdit, "Cognome"},
        {nameEdit, "Nome"},
        {taxCodeEdit, "Codice fiscale"},
        {cuiEdit, "CUI"},
        {fatherEdit, "Paternit\u00E0"},
        {birthDateEdit, "Data di nascita"},
        {municipalityCombo, "Comune italiano di nascita"},
        {municipalityCodeEdit, "Codice del comune"},
        {foreignPlaceEdit, "Comune straniero di nascita"},
        {stateCombo, "Nazione di nascita"},
        {stateCodeEdit, "Codice della nazione"}};
    for (const auto& [field, name] : names) {
        field->setAccessibleName(QString::fromUtf8(name));
        if (auto* list = qobject_cast<QComboBox*>(field))
            list->lineEdit()->setAccessibleName(QString::fromUtf8(name));
    }

    taxCodeEdit->setMaximumWidth(170);
    cuiEdit->setMaximumWidth(90);
    birthDateEdit->setFixedWidth(90);

    auto* surnameLabel = captionFor(QStringLiteral("Co&gnome *"), surnameEdit, this);
    auto* nameLabel = captionFor(QStringLiteral("&Nome *"), nameEdit, this);
    auto* sexLabel = captionFor(QStringLiteral("&Sesso *"), maleRadio, this);
    auto* taxCodeLabel = captionFor(QStringLiteral("Codice &Fiscale **"), taxCodeEdit, this);
    auto* cuiLabel = captionFor(QStringLiteral("C&UI"), cuiEdit, this);
    auto* fatherLabel = captionFor(QStringLiteral("&Paternit\u00E0"), fatherEdit, this);
    auto* birthDateLabel = captionFor(QStringLiteral("&Data di nascita *"), birthDateEdit, this);
    auto* municipalityLabel =
        captionFor(QStringLiteral("Co&mune Italiano di nascita **"), municipalityCombo, this);
    auto* foreignPlaceLabel =
        captionFor(QStringLiteral("Comune S&traniero di nascita"), foreignPlaceEdit, this);
    auto* stateLabel = captionFor(QStringLiteral("Na&zione di nascita *"), stateCombo, this);
    auto* legend =
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
    grid->addWidget(surnameLabel, 0, 0);
    grid->addWidget(surnameEdit, 0, 1);
    grid->addWidget(surnamePaletteButton, 0, 2);
    grid->addWidget(nameLabel, 1, 0);
    grid->addWidget(nameEdit, 1, 1);
    grid->addWidget(namePaletteButton, 1, 2);
    grid->addWidget(sexLabel, 2, 0);
    grid->addWidget(sexGroup, 2, 1);
    grid->addWidget(taxCodeLabel, 3, 0);
    grid->addLayout(inRow({taxCodeEdit, computeTaxCodeButton}), 3, 1);
    grid->addWidget(cuiLabel, 4, 0);
    grid->addLayout(inRow({cuiEdit}), 4, 1);
    grid->addWidget(fatherLabel, 5, 0);
    grid->addWidget(fatherEdit, 5, 1);
    grid->addWidget(fatherPaletteButton, 5, 2);
    grid->addWidget(birthDateLabel, 6, 0);
    grid->addLayout(inRow({birthDateEdit, birthCalendarButton}), 6, 1);
    grid->addWidget(municipalityLabel, 7, 0);
    auto* municipalityRow = new QHBoxLayout;
    municipalityRow->addWidget(municipalityCombo, 1);
    municipalityRow->addWidget(municipalityCodeEdit);
    grid->addLayout(municipalityRow, 7, 1);
    grid->addWidget(foreignPlaceLabel, 8, 0);
    grid->addWidget(foreignPlaceEdit, 8, 1);
    grid->addWidget(foreignPlacePaletteButton, 8, 2);
    grid->addWidget(stateLabel, 9, 0);
    auto* stateRow = new QHBoxLayout;
    stateRow->addWidget(stateCombo, 1);
    stateRow->addWidget(stateCodeEdit);
    grid->addLayout(stateRow, 9, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addStretch();
    for (QPushButton* button : {insertButton, clearButton, cancelButton}) {
        button->setFixedWidth(100);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    grid->setRowMinimumHeight(10, 6);
    grid->addLayout(buttons, 11, 0, 1, 3);
    grid->addWidget(legend, 12, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    QWidget* chain[] = {surnameEdit,
                        surnamePaletteButton,
                        nameEdit,
                        namePaletteButton,
                        maleRadio,
                        femaleRadio,
                        taxCodeEdit,
                        computeTaxCodeButton,
                        cuiEdit,
                        fatherEdit,
                        fatherPaletteButton,
                        birthDateEdit,
                        birthCalendarButton,
                        municipalityCombo,
                        foreignPlaceEdit,
                        foreignPlacePaletteButton,
                        stateCombo,
                        insertButton,
                        clearButton,
                        cancelButton};
    for (size_t i = 1; i < std::size(chain); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    connect(insertButton, &QPushButton::clicked, this, &SubjectDialog::insert);
    connect(clearButton, &QPushButton::clicked, this, &SubjectDialog::clearFields);
    connect(computeTaxCodeButton, &QPushButton::clicked, this, &SubjectDialog::fillTaxCode);
    connect(taxCodeEdit, &QLineEdit::textEdited, this, &SubjectDialog::fillFromTaxCode);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
    const std::pair<QToolButton*, FilteredLineEdit*> paletteFields[] = {
        {surnamePaletteButton, surnameEdit},
        {namePaletteButton, nameEdit},
        {fatherPaletteButton, fatherEdit},
        {foreignPlacePaletteButton, foreignPlaceEdit}};
    for (const auto& [button, field] : paletteFields) {
        const auto open = [this, button, field] { openPalette(field, *button); };
        connect(button, &QToolButton::clicked, this, open);
        connect(field, &FilteredLineEdit::paletteAsked, this, open);
    }
    connect(birthCalendarButton, &QToolButton::clicked, this, &SubjectDialog::openCalendar);
    connect(birthDateEdit, &MaskedDateEdit::calendarAsked, this, &SubjectDialog::openCalendar);
    connect(municipalityCombo, &QComboBox::activated, this, &SubjectDialog::municipalityChosen);
    connect(stateCombo, &QComboBox::activated, this, &SubjectDialog::stateChosen);
    connect(static_cast<FilteredLineEdit*>(municipalityCombo->lineEdit()),
            &FilteredLineEdit::focusLost, this, &SubjectDialog::municipalityLeft);
    connect(static_cast<FilteredLineEdit*>(stateCombo->lineEdit()), &FilteredLineEdit::focusLost,
            this, &SubjectDialog::stateLeft);
    pressButtonsByKey(*this);
    cancelOnEscape(*this, cancelButton);
    resize(600, sizeHint().height());
}

// An editable list over one model that its completer shares: thousands of names are set once
// per opening, and typing only filters them. Typed and pasted text goes through the filter.
QComboBox* SubjectDialog::placeList(QStringListModel*& names, const char* name) {
    auto* list = named(new QComboBox(this), name);
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

void SubjectDialog::connectMarkRemoval() {
    const auto unmark = [](QWidget* field) { setBackground(*field, kUnmarked); };
    for (QLineEdit* field :
         {static_cast<QLineEdit*>(surnameEdit), static_cast<QLineEdit*>(nameEdit),
          static_cast<QLineEdit*>(taxCodeEdit), static_cast<QLineEdit*>(cuiEdit),
          static_cast<QLineEdit*>(fatherEdit), static_cast<QLineEdit*>(birthDateEdit)})
        connect(field, &QLineEdit::textChanged, this, [unmark, field] { unmark(field); });
    for (QComboBox* list : {municipalityCombo, stateCombo})
        connect(list, &QComboBox::editTextChanged, this, [unmark, list] { unmark(list); });
    connect(maleRadio, &QRadioButton::clicked, this, [this] { sexClicked(maleRadio); });
    connect(femaleRadio, &QRadioButton::clicked, this, [this] { sexClicked(femaleRadio); });
}

bool SubjectDialog::open() {
    // Opened again while open (to add instead of modify, or on another row): the values stay,
    // and the caption follows what a save will now do.
    if (isVisible())
        setCaption();
    else if (!load())
        return false;
    bringToFront(*this);
    return true;
}

bool SubjectDialog::load() {
    roundOptionButtons(*this);
    // Capitals are typed by the fields' own key filters.
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
    municipalityCombo->setCurrentIndex(-1);
    municipalityCombo->setEditText(QString());
    stateCombo->setCurrentIndex(-1);
    stateCombo->setEditText(kItaly);
    setCaption();
    return true;
}

void SubjectDialog::setCaption() {
    const int row =
        program_.addingSubject ? program_.table.subjectCount() + 1 : program_.currentRow;
    setWindowTitle(kCaption + QString::number(row));
}

QWidget* SubjectDialog::fieldOfColumn(int column) const {
    switch (column) {
    case SurnameColumn:
        return surnameEdit;
    case NameColumn:
        return nameEdit;
    case TaxCodeColumn:
        return taxCodeEdit;
    case CuiColumn:
        return cuiEdit;
    case FatherColumn:
        return fatherEdit;
    case BirthDateColumn:
        return birthDateEdit;
    case MunicipalityColumn:
    case MunicipalityCodeColumn:
        return municipalityCombo;
    case ForeignPlaceColumn:
        return foreignPlaceEdit;
    case StateColumn:
    case StateCodeColumn:
        return stateCombo;
    default:
        return nullptr; // the sex buttons are marked together and take no focus here
    }
}

void SubjectDialog::focusColumn(int column) {
    if (QWidget* field = fieldOfColumn(column))
        field->setFocus(Qt::OtherFocusReason);
}

void SubjectDialog::fillFromRow(const SubjectValues& row) {
    surnameEdit->setText(row[SurnameColumn]);
    nameEdit->setText(row[NameColumn]);
    if (row[SexColumn] == u"M")
        maleRadio->setChecked(true);
    else if (row[SexColumn] == u"F")
        femaleRadio->setChecked(true);
    taxCodeEdit->setText(row[TaxCodeColumn]);
    cuiEdit->setText(row[CuiColumn]);
    fatherEdit->setText(row[FatherColumn]);
    birthDateEdit->setText(row[BirthDateColumn]);
    municipalityCodeEdit->setText(row[MunicipalityCodeColumn]);
    municipalityCombo->setEditText(row[MunicipalityColumn]);
    foreignPlaceEdit->setText(row[ForeignPlaceColumn]);
    stateCombo->setEditText(row[StateColumn]);
    stateCodeEdit->setText(row[StateCodeColumn]);
}

bool SubjectDialog::lookUpMunicipality() {
    // An unreadable table finds nothing, and the check says so.
    (void)program_.municipalities.refresh();
    const auto code = program_.municipalities.lookupName(municipalityCombo->currentText());
    if (code)
        municipalityCodeEdit->setText(*code);
    return code.has_value();
}

bool SubjectDialog::lookUpState() {
    (void)program_.states.refresh();
    const auto code = program_.states.lookupName(stateCombo->currentText());
    if (code)
        stateCodeEdit->setText(*code);
    return code.has_value();
}

void SubjectDialog::municipalityChosen() {
    setBackground(*municipalityCombo, kUnmarked);
    lookUpMunicipality();
}

// A name that is not in the table leaves no code behind, which the check then reports.
void SubjectDialog::municipalityLeft() {
    if (!lookUpMunicipality())
        municipalityCodeEdit->clear();
}

void SubjectDialog::stateChosen() {
    setBackground(*stateCombo, kUnmarked);
    lookUpState();
}

void SubjectDialog::stateLeft() {
    if (!lookUpState())
        stateCodeEdit->clear();
}

void SubjectDialog::sexClicked(QRadioButton* clicked) {
    if (backgroundOf(*clicked) != kMarked)
        return;
    setBackground(*maleRadio, kUnmarked);
    setBackground(*femaleRadio, kUnmarked);
}

// "Calcola": the tax code of the person the fields hold, or what it still needs.
void SubjectDialog::fillTaxCode() {
    // The place codes of the names the lists show now, as when the focus leaves them.
    municipalityLeft();
    stateLeft();
    const Result<QString> code = computeTaxCode(codePerson(fields()));
    if (!code) {
        program_.messages.show(code.error(), Messages::Icon::Exclamation);
        return;
    }
    taxCodeEdit->setText(*code);
}

// A whole tax code typed or pasted fills the sex, the birth date and the birth place that are
// still empty; nothing the operator typed is changed.
void SubjectDialog::fillFromTaxCode() {
    const Result<DecodedTaxCode> person =
        decodeTaxCode(taxCodeEdit->text(), program_.clock.now().date());
    if (!person)
        return;
    if (!maleRadio->isChecked() && !femaleRadio->isChecked())
        (person->sex == u"M" ? maleRadio : femaleRadio)->setChecked(true);
    const QString date = birthDateEdit->shownText();
    if (std::none_of(date.cbegin(), date.cend(), [](QChar c) { return c.isDigit(); }))
        birthDateEdit->setText(person->birthDate.toString(QStringLiteral("dd/MM/yyyy")));
    fillPlace(person->placeCode);
}

// The place of `code` into the lists, when the operator has chosen none: Italy, shown from the
// start, counts as none.
void SubjectDialog::fillPlace(const QString& code) {
    const QString state = stateCombo->currentText();
    if (!municipalityCombo->currentText().isEmpty() || !foreignPlaceEdit->text().isEmpty() ||
        (!state.isEmpty() && state != kItaly))
        return;
    const bool abroad = code.startsWith(u'Z');
    ReferenceTable& table = abroad ? program_.states : program_.municipalities;
    const qsizetype line = table.lineOfCode(code);
    if (line < 0)
        return;
    if (abroad) {
        stateCombo->setEditText(table.names().at(line));
        stateCodeEdit->setText(code);
        return;
    }
    municipalityCombo->setEditText(table.names().at(line));
    municipalityCodeEdit->setText(code);
    stateCombo->setEditText(kItaly);
    stateCodeEdit->setText(kItalyCode);
}

void SubjectDialog::openCalendar() {
    if (!calendar_) {
        calendar_ = new CalendarDialog(program_.clock.now().date());
        ownWindow(*calendar_, *this);
        calendar_->setAttribute(Qt::WA_DeleteOnClose);
        connect(calendar_, &CalendarDialog::dateChosen, this, [this](QDate date) {
            birthDateEdit->setText(date.toString(QStringLiteral("dd/MM/yyyy")));
        });
    }
    centreOver(*calendar_, *this);
    bringToFront(*calendar_);
}

void SubjectDialog::openPalette(FilteredLineEdit* field, const QWidget& opener) {
    if (!palette_) {
        palette_ = new CharacterPalette;
        ownWindow(*palette_, *this);
        palette_->setAttribute(Qt::WA_DeleteOnClose);
    }
    palette_->setTarget(field);
    placeBeside(*palette_, opener);
    bringToFront(*palette_);
}

PersonFields SubjectDialog::fields() const {
    PersonFields person;
    person.surname = surnameEdit->text();
    person.name = nameEdit->text();
    person.sex = maleRadio->isChecked()     ? QStringLiteral("M")
                 : femaleRadio->isChecked() ? QStringLiteral("F")
                                            : QString();
    person.taxCode = taxCodeEdit->text();
    person.cui = cuiEdit->text();
    person.father = fatherEdit->text();
    person.birthDate = birthDateEdit->shownText();
    person.municipality = municipalityCombo->currentText();
    person.foreignPlace = foreignPlaceEdit->text();
    person.state = stateCombo->currentText();
    person.municipalityCode = municipalityCodeEdit->text();
    person.stateCode = stateCodeEdit->text();
    return person;
}

void SubjectDialog::whitenFields() {
    for (QWidget* field :
         {static_cast<QWidget*>(surnameEdit), static_cast<QWidget*>(nameEdit),
          static_cast<QWidget*>(maleRadio), static_cast<QWidget*>(femaleRadio),
          static_cast<QWidget*>(taxCodeEdit), static_cast<QWidget*>(cuiEdit),
          static_cast<QWidget*>(fatherEdit), static_cast<QWidget*>(birthDateEdit),
          static_cast<QWidget*>(municipalityCombo), static_cast<QWidget*>(foreignPlaceEdit),
          static_cast<QWidget*>(stateCombo)})
        setBackground(*field, kUnmarked);
}

// The reason of the first rule a field fails becomes what a screen reader says of it; a field
// that passes says its format again.
void SubjectDialog::describeFields(const QList<FailedRule>& failed) {
    maleRadio->setAccessibleDescription(QString());
    for (int column = SurnameColumn; column < ColumnCount; ++column) {
        if (QWidget* field = fieldOfColumn(column))
            field->setAccessibleDescription(field == taxCodeEdit     ? kTaxCodeFormat
                                            : field == cuiEdit       ? kCuiFormat
                                            : field == birthDateEdit ? kDateFormat
                                                                     : QString());
    }
    for (auto rule = failed.crbegin(); rule != failed.crend(); ++rule) {
        QWidget* field = rule->field == SexColumn ? maleRadio : fieldOfColumn(rule->field);
        field->setAccessibleDescription(rule->line.mid(2)); // without its "- "
    }
}

void SubjectDialog::markFields(const QList<FailedRule>& failed) {
    for (const FailedRule& rule : failed) {
        if (rule.field == SexColumn) {
            setBackground(*maleRadio, kMarked);
            setBackground(*femaleRadio, kMarked);
        } else {
            setBackground(*fieldOfColumn(rule.field), kMarked);
        }
    }
}

void SubjectDialog::insert() {
    whitenFields();
    const PersonFields person = fields();
    const QList<FailedRule> failed = checkPersonFields(person, program_.clock.now());
    describeFields(failed);
    if (!failed.isEmpty()) {
        markFields(failed);
        program_.messages.show(personErrorsMessage(failed), Messages::Icon::Exclamation);
        // The operator goes on from the first field to mend.
        const FailedRule& first = failed.first();
        QWidget* field = first.field == SexColumn ? maleRadio : fieldOfColumn(first.field);
        field->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Not destructive: a No only leaves the window open for a correction.
    const QString question = insertQuestion(
        person, program_.table,
        rowToWrite(program_.addingSubject, program_.currentRow, program_.table.subjectCount()));
    if (!question.isEmpty() && !program_.messages.ask(question, Messages::Icon::Exclamation, true))
        return;
    writeRow(person);
    close();
}

void SubjectDialog::writeRow(const PersonFields& person) {
    SubjectTable& table = program_.table;
    const SubjectValues values = subjectRow(person);
    int row = rowToWrite(program_.addingSubject, program_.currentRow, table.subjectCount());
    if (row == 0) {
        program_.edits.append({SubjectRow(values)}, QStringLiteral("inserimento del soggetto"));
        row = table.subjectCount();
    } else {
        program_.edits.change(row, values);
    }
    Q_EMIT rowWritten(row);
}

void SubjectDialog::clearFields() {
    for (QLineEdit* field :
         {static_cast<QLineEdit*>(surnameEdit), static_cast<QLineEdit*>(nameEdit),
          static_cast<QLineEdit*>(taxCodeEdit), static_cast<QLineEdit*>(cuiEdit),
          static_cast<QLineEdit*>(fatherEdit), municipalityCodeEdit,
          static_cast<QLineEdit*>(foreignPlaceEdit), stateCodeEdit})
        field->clear();
    whitenFields();
    // An exclusive pair cannot be emptied by unchecking: the exclusion is lifted meanwhile.
    for (QRadioButton* option : {maleRadio, femaleRadio}) {
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
    birthDateEdit->clearMask();
    municipalityCombo->setEditText(QString());
    stateCombo->setEditText(kItaly);
    stateCodeEdit->setText(kItalyCode);
}

SubjectDialog::~SubjectDialog() {
    delete palette_.data();
    delete calendar_.data();
}

void SubjectDialog::closeEvent(QCloseEvent* event) {
    if (palette_)
        palette_->close();
    QWidget::closeEvent(event);
}

} // namespace velmora
