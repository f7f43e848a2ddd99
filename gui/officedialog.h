#pragma once

#include "core/officedata.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace velmora {

class FilteredLineEdit;
class FilteredTextEdit;
class Program;

// The office-data window: asks for the office's data on a first start, and changes them later.
class OfficeDialog : public QWidget {
    Q_OBJECT
public:
    explicit OfficeDialog(Program& program);

    // First-run mode: "Esci" ends the program; OK saves and shows the main window.
    void openForFirstRun();
    // Change mode, filled from the main window's fields and the office seat.
    void openForChange(const QString& officeType, const QString& purpose);

Q_SIGNALS:
    // The office data are in the configuration and written; firstRun: asked for at start.
    void saved(bool firstRun);
    // Left without saving on a first start: the program cannot go on.
    void firstRunLeft();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* fieldOf(MissingOfficeData::Field field) const;
    void save();

    Program& program_;
    bool changing_ = false; // opened from the menu, not at a first start
    bool saved_ = false;

    QLabel* bannerLabel;
    FilteredLineEdit* officeTypeEdit;
    FilteredLineEdit* officeSeatEdit;
    FilteredTextEdit* purposeEdit;
    QPushButton* okButton;
    QPushButton* cancelButton; // "Annulla", or "Esci" on a first start
};

} // namespace velmora
