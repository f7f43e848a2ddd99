#include "gui/widgets/subjectgrid.h"

#include "core/request/requestcheck.h"

#include <QColor>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>

namespace velmora {
namespace {

constexpr int kTwipsPerPixel = 15;

int pixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// A row the batch check refused: light red, its text black.
const QColor kRefusedBack(0xFF, 0xC0, 0xC0);
const QColor kRefusedText(Qt::black);

RowFault faultOf(const QModelIndex& index) {
    return RowFault(index.data(SubjectTable::FaultRole).toInt());
}

// Paints the rows the batch check refused; the number of such a row tells why as its tooltip.
class RefusedRows final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::BackgroundRole && role != Qt::ForegroundRole)
            return QIdentityProxyModel::data(index, role);
        if (index.column() == NumberColumn || faultOf(index) == RowFault::None)
            return {};
        return role == Qt::BackgroundRole ? kRefusedBack : kRefusedText;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Vertical && role == Qt::ToolTipRole) {
            const RowFault fault = faultOf(index(section, SurnameColumn));
            return fault == RowFault::None ? QVariant() : QVariant(rowFaultText(fault));
        }
        return QIdentityProxyModel::headerData(section, orientation, role);
    }
};

} // namespace

SubjectGrid::SubjectGrid(SubjectTable& table, QWidget* parent) : QTableView(parent), table_(table) {
    auto* refused = new RefusedRows(this);
    refused->setSourceModel(&table);
    setModel(refused);
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
