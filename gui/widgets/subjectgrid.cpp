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

QColor toColor(Rgb rgb) {
    return QColor::fromRgb(QRgb(rgb));
}

// Turns the table's colours into what the view paints.
class GridColors final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        switch (role) {
        case Qt::BackgroundRole:
            return colour(index, SubjectTable::BackRole);
        case Qt::ForegroundRole:
            return colour(index, SubjectTable::TextColorRole);
        default:
            return QIdentityProxyModel::data(index, role);
        }
    }

private:
    // A row marked by the batch check tells why as the tooltip of its number.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Vertical && role == Qt::ToolTipRole) {
            const SubjectTable* table = static_cast<const SubjectTable*>(sourceModel());
            const int row = section + 1;
            if (table->colors(row).back != kLightRed)
                return {};
            return rowFaultText(checkPersonRow(*table, row, QDate::currentDate()));
        }
        return QIdentityProxyModel::headerData(section, orientation, role);
    }

private:
    QVariant colour(const QModelIndex& index, int role) const {
        const QVariant rgb = QIdentityProxyModel::data(index, role);
        return rgb.isValid() ? QVariant(toColor(rgb.value<Rgb>())) : QVariant();
    }
};

} // namespace

SubjectGrid::SubjectGrid(SubjectTable& table, QWidget* parent) : QTableView(parent), table_(table) {
    setModel(new GridColors(this));
    static_cast<GridColors*>(model())->setSourceModel(&table);
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
    if (row <= 0 || row > table_.progressivo()) {
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

void PaintGridRow(SubjectGrid& grid, Rgb back, int& row, Rgb text) {
    if (row == 0)
        row = grid.currentRow();
    if (row <= 0 || row > grid.table().progressivo())
        return;
    grid.table().setColors(row, {back, text});
}

} // namespace velmora
