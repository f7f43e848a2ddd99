#pragma once

#include "core/subjects/subjecttable.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

class QStringListModel;

namespace velmora {

class ClickableLabel;
class FilteredLineEdit;
class MaskedDateEdit;
class Program;
class diacritici;
struct FailedRule;
struct PersonFields;

// The subject entry window: one person's twelve values, typed or changed, checked and then
// written into the subject table. It does not block the main window.
class InsertPersona : public QWidget {
    Q_OBJECT
public:
    explicit InsertPersona(Program& program);
    ~InsertPersona() override;

    // Shows the window, loading it first when it is not open yet. False when it cannot open:
    // a reference table is missing or unreadable, and the operator has been told which.
    bool open();
    // The focus in the field of a table column; none for the sex column.
    void focusColumn(int column);
    // The values of a table row into the fields, as a modification starts.
    void fillFromRow(const SubjectValues& row);
    // The field the special-character palette types into for its CurrentBox, or none.
    FilteredLineEdit* paletteField(int box) const;

    bool Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    bool RifComune();
    bool RifStato();
    // The special-character palette this window owns, made on first use.
    diacritici& palette();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;
    FilteredLineEdit* Text1; // surname
    FilteredLineEdit* Text2; // first name(s)
    QRadioButton* Option1;   // "M"
    QRadioButton* Option2;   // "F"
    FilteredLineEdit* Text3; // tax code
    FilteredLineEdit* Text4; // CUI
    FilteredLineEdit* Text5; // father's name
    MaskedDateEdit* MaskEdBox1;
    QComboBox* Combo1;       // Italian municipality of birth
    QLineEdit* Text6;        // its code, display only
    FilteredLineEdit* Text7; // foreign place of birth
    QComboBox* Combo2;       // state of birth
    QLineEdit* Text8;        // its code, display only
    QPushButton* Command1;   // "Inserisci"
    QPushButton* Command2;   // "Cancella"
    QPushButton* Command3;   // "Annulla"
    ClickableLabel* Image1;  // palette for Text1
    ClickableLabel* Image2;  // palette for Text2
    ClickableLabel* Image3;  // palette for Text5
    ClickableLabel* Image4;  // palette for Text7

Q_SIGNALS:
    // The subject was saved in this data row of the table.
    void rowWritten(int row);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void setCaption();
    QComboBox* placeList(QStringListModel*& names);
    void connectMarkRemoval();
    void Combo1_Click();
    void Combo1_LostFocus();
    void Combo2_Click();
    void Combo2_LostFocus();
    void optionClicked(QRadioButton* clicked);
    void openPalette(int box);
    PersonFields fields() const;
    void whitenFields();
    void markFields(const QList<FailedRule>& failed);
    QWidget* fieldOfColumn(int column) const;
    void writeRow(const PersonFields& person);

    Program& program_;
    QStringListModel* municipalityNames_ = nullptr;
    QStringListModel* stateNames_ = nullptr;
    QPointer<diacritici> palette_;
};

} // namespace velmora
