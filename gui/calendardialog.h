#pragma once

#include <QDate>
#include <QDialog>

class QCalendarWidget;

namespace velmora {

// The calendar that picks the protocol date. Modal; it opens on `today`, and a click on a day
// tells that date and closes it.
class CalendarDialog : public QDialog {
    Q_OBJECT
public:
    explicit CalendarDialog(QDate today);

Q_SIGNALS:
    void dateChosen(QDate date);

private:
    void dayClicked(QDate date);

    QCalendarWidget* monthView;
};

} // namespace velmora
