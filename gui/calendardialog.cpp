#include "gui/calendardialog.h"

#include "gui/widgets/widgets.h"

#include <QCalendarWidget>
#include <QVBoxLayout>

namespace velmora {

CalendarDialog::CalendarDialog(QDate today) {
    setWindowTitle(QStringLiteral(" Calendario"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    monthView = named(new QCalendarWidget(this), "monthView");
    monthView->setGridVisible(true);
    monthView->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    monthView->setSelectedDate(today);
    monthView->setCurrentPage(today.year(), today.month());
    layout->addWidget(monthView);
    // Only a day picked with the mouse is taken; turning the months keeps the window open.
    connect(monthView, &QCalendarWidget::clicked, this, &CalendarDialog::dayClicked);
}

void CalendarDialog::dayClicked(QDate date) {
    Q_EMIT dateChosen(date);
    close();
}

} // namespace velmora
