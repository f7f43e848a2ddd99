#pragma once

#include "core/subjects/subjecttable.h"

#include <QPointer>
#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStringListModel;
class QToolButton;

namespace velmora {

class CharacterPalette;
class CalendarDialog;
class FilteredLineEdit;
class MaskedDateEdit;
class Program;
struct FailedRule;
struct PersonFields;

// The subject dialog: one person's twelve values, typed or changed, checked and then
// written into the subject table. It does not block the main window.
class SubjectDialog : public QWidget {
    Q_OBJECT
public:
    explicit SubjectDialog(Program& program);
    ~SubjectDialog() override;

    // Shows the window, loading it first when it is not open yet. False when it cannot open:
    // a reference table is missing or unreadable, and the operator has been told which.
    bool open();
    // The focus in the field of a table column; none for the sex column.
    void focusColumn(int column);
    // The values of a table row into the fields, as a modification starts.
    void fillFromRow(const SubjectValues& row);

Q_SIGNALS:
    // The subject was saved in this data row of the table.
    void rowWritten(int row);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    bool load();
    void setCaption();
    QComboBox* placeList(QStringListModel*& names, const char* name);
    void connectMarkRemoval();
    bool lookUpMunicipality();
    bool lookUpState();
    void municipalityChosen();
    void municipalityLeft();
    void stateChosen();
    void stateLeft();
    void sexClicked(QRadioButton* clicked);
    void fillTaxCode();
    void fillFromTaxCode();
    void fillPlace(const QString& code);
    // The special-character palette this window owns, made on first use, typing into `field`.
    void openPalette(FilteredLineEdit* field, const QWidget& opener);
    void openCalendar();
    PersonFields fields() const;
    void whitenFields();
    void markFields(const QList<FailedRule>& failed);
    void describeFields(const QList<FailedRule>& failed);
    QWidget* fieldOfColumn(int column) const;
    void insert();
    void writeRow(const PersonFields& person);
    void clearFields();

    Program& program_;
    QStringListModel* municipalityNames_ = nullptr;
    QStringListModel* stateNames_ = nullptr;
    QPointer<CharacterPalette> palette_;
    QPointer<CalendarDialog> calendar_;

    FilteredLineEdit* surnameEdit;
    FilteredLineEdit* nameEdit;
    QRadioButton* maleRadio;
    QRadioButton* femaleRadio;
    FilteredLineEdit* taxCodeEdit;
    QPushButton* computeTaxCodeButton;
    FilteredLineEdit* cuiEdit;
    FilteredLineEdit* fatherEdit;
    MaskedDateEdit* birthDateEdit;
    QComboBox* municipalityCombo;
    QLineEdit* municipalityCodeEdit; // display only
    FilteredLineEdit* foreignPlaceEdit;
    QComboBox* stateCombo;
    QLineEdit* stateCodeEdit; // display only
    QPushButton* insertButton;
    QPushButton* clearButton;
    QPushButton* cancelButton;
    QToolButton* birthCalendarButton;
    QToolButton* surnamePaletteButton;
    QToolButton* namePaletteButton;
    QToolButton* fatherPaletteButton;
    QToolButton* foreignPlacePaletteButton;
};

} // namespace velmora
