#include "gui/calendar.h"

#include <QVBoxLayout>

namespace velmora {

Calendar::Calendar(QDate today) {
    setWindowTitle(QStringLiteral(" Calendario"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    MonthView1 = new QCalendarWidget(this);
    MonthView1->setGridVisible(true);
    MonthView1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    MonthView1->setSelectedDate(today);
    MonthView1->setCurrentPage(today.year(), today.month());
    layout->addWidget(MonthView1);
    // Only a day picked with the mouse is taken; turning the months keeps the window open.
    connect(MonthView1, &QCalendarWidget::clicked, this, &Calendar::MonthView1_DateClick);
}

void Calendar::MonthView1_DateClick(QDate date) {
    Q_EMIT dateChosen(date);
    close();
}

} // namespace velmora
