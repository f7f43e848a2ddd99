#include "gui/widgets/subjectgrid.h"

#include "core/request/requestcheck.h"

#include <QColor>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QStyle>

namespace velmora {
namespace {

constexpr int kTwipsPerPixel = 15;

int pixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// A row the batch check refused: light red, its text black. A row it warned of: light amber,
// with a warning sign beside its number, so that it does not tell by colour alone.
const QColor kRefusedBack(0xFF, 0xC0, 0xC0);
const QColor kWarnedBack(0xFF, 0xE8, 0xA0);
const QColor kMarkedText(Qt::black);

// Paints the rows the batch check refused or warned of; the number of such a row tells why as
// its tooltip.
class VerdictRows final : public QIdentityProxyModel {
public:
    VerdictRows(SubjectTable& table, const QIcon& warningSign, QObject* parent)
        : QIdentityProxyModel(parent), table_(table), warningSign_(warningSign) {
        setSourceModel(&table);
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::BackgroundRole && role != Qt::ForegroundRole)
            return QIdentityProxyModel::data(index, role);
        if (index.column() == NumberColumn)
            return {};
        const int row = index.row() + 1;
        if (table_.fault(row) != RowFault::None)
            return role == Qt::BackgroundRole ? kRefusedBack : kMarkedText;
        if (!table_.warnings(row).isEmpty())
            return role == Qt::BackgroundRole ? kWarnedBack : kMarkedText;
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Vertical || section < 0 || section >= table_.subjectCount() ||
            (role != Qt::ToolTipRole && role != Qt::DecorationRole))
            return QIdentityProxyModel::headerData(section, orientation, role);
        const int row = section + 1;
        const RowFault fault = table_.fault(row);
        if (fault != RowFault::None)
            return role == Qt::ToolTipRole ? QVariant(rowFaultText(fault, table_.subject(row)))
                                           : QVariant();
        if (table_.warnings(row).isEmpty())
            return {};
        return role == Qt::ToolTipRole ? QVariant(table_.warnings(row)) : QVariant(warningSign_);
    }

private:
    const SubjectTable& table_;
    QIcon warningSign_;
};

} // namespace

SubjectGrid::SubjectGrid(SubjectTable& table, QWidget* parent) : QTableView(parent), table_(table) {
    setModel(new VerdictRows(table, style()->standardIcon(QStyle::SP_MessageBoxWarning), this));
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setWordWrap(false);
    // The row number is shown as the fixed column at the left, in place of column 0.
    setColumnHidden(NumberColumn, true);
    // The column widths were chosen for a small 8-point type; keep it so the headers fit.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    horizontalHeader()->setFont(small);
    verticalHeader()->setFont(small);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(pixels(kColumnTwips[NumberColumn]));
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    // The designed width, or the header's own when today's font needs more.
    for (int column = SurnameColumn; column < ColumnCount; ++column)
        setColumnWidth(column, std::max(pixels(kColumnTwips[column]),
                                        horizontalHeader()->sectionSizeHint(column)));
}

int SubjectGrid::currentRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

int SubjectGrid::currentColumn() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : 0;
}

void SubjectGrid::setCurrentCell(int row, int column) {
    if (row <= 0 || row > table_.subjectCount()) {
        setCurrentIndex({});
        return;
    }
    setCurrentIndex(model()->index(row - 1, std::max(column, int(SurnameColumn))));
    scrollTo(currentIndex());
}

void SubjectGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Q_EMIT enterPressed();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace velmora
