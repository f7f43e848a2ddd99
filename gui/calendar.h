#pragma once

#include <QCalendarWidget>
#include <QDialog>

namespace velmora {

// The calendar that picks the protocol date. Modal; it opens on `today`, and a click on a day
// tells that date and closes it.
class Calendar : public QDialog {
    Q_OBJECT
public:
    explicit Calendar(QDate today);

    QCalendarWidget* MonthView1;

Q_SIGNALS:
    void dateChosen(QDate date);

private:
    void MonthView1_DateClick(QDate date);
};

} // namespace velmora
