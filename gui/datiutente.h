#pragma once

#include "core/officedata.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace velmora {

class FilteredLineEdit;
class FilteredTextEdit;
class Program;

// The office-data window: asks for the office's data on a first start, and changes them later.
class datiUtente : public QWidget {
    Q_OBJECT
public:
    explicit datiUtente(Program& program);

    // First-run mode: "Esci" ends the program; OK saves and shows the main window.
    void openForFirstRun();
    // Modify mode, filled from the main window's fields and the office seat.
    void openForChange(const QString& officeType, const QString& purpose);

    void Command1_Click();
    void Command2_Click();

Q_SIGNALS:
    // The office data are in the configuration and written; firstRun: asked for at start.
    void saved(bool firstRun);
    // Left without saving on a first start: the program cannot go on.
    void firstRunLeft();

public:
    bool modifica = false;
    QLabel* Label1;
    QLabel* Label2;
    FilteredLineEdit* Text1; // office type
    FilteredLineEdit* Text2; // office seat
    FilteredTextEdit* Text3; // purpose
    QPushButton* Command1;   // "OK"
    QPushButton* Command2;   // "Annulla", or "Esci" on a first start

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* fieldOf(MissingOfficeData::Field field) const;

    Program& program_;
    bool saved_ = false;
};

} // namespace velmora
