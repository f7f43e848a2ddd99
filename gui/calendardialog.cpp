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
    // A day clicked, or chosen with the arrows and Enter, is taken; turning the months keeps the
    // window open, and Esc closes it.
    connect(monthView, &QCalendarWidget::clicked, this, &CalendarDialog::dayClicked);
    connect(monthView, &QCalendarWidget::activated, this, &CalendarDialog::dayClicked);
}

void CalendarDialog::dayClicked(QDate date) {
    Q_EMIT dateChosen(date);
    close();
}

} // namespace velmora
