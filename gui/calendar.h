#pragma once

#include <QCalendarWidget>
#include <QDialog>

namespace velmora {

class Program;

// The calendar that fills the protocol date. Modal; it opens on today, and a click on a day
// writes that date into the main window's date field and closes it.
class Calendar : public QDialog {
    Q_OBJECT
public:
    explicit Calendar(Program& program);

    QCalendarWidget* MonthView1;

private:
    void MonthView1_DateClick(QDate date);

    Program& program_;
};

} // namespace velmora
