#include "gui/calendar.h"

#include "core/clock.h"
#include "gui/principale.h"
#include "gui/program.h"
#include "gui/widgets/maskeddateedit.h"

#include <QVBoxLayout>

namespace velmora {
namespace {
const QString kDateFormat = QStringLiteral("dd/MM/yyyy");
} // namespace

Calendar::Calendar(Program& program) : program_(program) {
    setWindowTitle(QStringLiteral(" Calendario"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    MonthView1 = new QCalendarWidget(this);
    MonthView1->setGridVisible(true);
    MonthView1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    const QDate today = program_.clock.now().date();
    MonthView1->setSelectedDate(today);
    MonthView1->setCurrentPage(today.year(), today.month());
    layout->addWidget(MonthView1);
    // Only a day picked with the mouse is taken; turning the months keeps the window open.
    connect(MonthView1, &QCalendarWidget::clicked, this, &Calendar::MonthView1_DateClick);
}

void Calendar::MonthView1_DateClick(QDate date) {
    program_.principale().MaskEdBox1->setText(date.toString(kDateFormat));
    close();
}

} // namespace velmora
