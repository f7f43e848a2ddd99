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

// A row the batch check refused: light red, its text black, a cross beside its number. A row it
// warned of: light amber, a warning sign beside its number. Neither tells by colour alone.
const QColor kRefusedBack(0xFF, 0xC0, 0xC0);
const QColor kWarnedBack(0xFF, 0xE8, 0xA0);
const QColor kMarkedText(Qt::black);
const QString kRefusedSign = QStringLiteral(" \u2716");
const QString kWarnedSign = QStringLiteral(" \u26A0");

// The table's rows and its columns from the surname on: the row number is the grid's row header,
// and neither the grid nor a screen reader has an empty column before it. Paints the rows the
// batch check refused or warned of; the reason is the tooltip of the row's number and the
// description a screen reader gives of its cells.
class VerdictRows final : public QIdentityProxyModel {
public:
    VerdictRows(SubjectTable& table, QObject* parent) : QIdentityProxyModel(parent), table_(table) {
        setSourceModel(&table);
    }

    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : ColumnCount - 1;
    }
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override {
        return hasIndex(row, column, parent) ? createIndex(row, column) : QModelIndex();
    }
    QModelIndex mapToSource(const QModelIndex& index) const override {
        return index.isValid() ? table_.index(index.row(), index.column() + 1) : QModelIndex();
    }
    QModelIndex mapFromSource(const QModelIndex& index) const override {
        return index.isValid() && index.column() > NumberColumn
                   ? createIndex(index.row(), index.column() - 1)
                   : QModelIndex();
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::BackgroundRole && role != Qt::ForegroundRole &&
            role != Qt::AccessibleDescriptionRole)
            return QIdentityProxyModel::data(index, role);
        const int row = index.row() + 1;
        if (role == Qt::AccessibleDescriptionRole)
            return rowReason(table_, row);
        if (table_.fault(row) != RowFault::None)
            return role == Qt::BackgroundRole ? kRefusedBack : kMarkedText;
        if (!table_.warnings(row).isEmpty())
            return role == Qt::BackgroundRole ? kWarnedBack : kMarkedText;
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal)
            return table_.headerData(section + 1, orientation, role);
        if (section < 0 || section >= table_.subjectCount() ||
            (role != Qt::ToolTipRole && role != Qt::DisplayRole))
            return QIdentityProxyModel::headerData(section, orientation, role);
        const int row = section + 1;
        if (role == Qt::ToolTipRole)
            return rowReason(table_, row);
        const QString number = QString::number(row);
        if (table_.fault(row) != RowFault::None)
            return number + kRefusedSign;
        return table_.warnings(row).isEmpty() ? number : number + kWarnedSign;
    }

private:
    SubjectTable& table_;
};

} // namespace

QString rowReason(const SubjectTable& table, int row) {
    const RowFault fault = table.fault(row);
    return fault != RowFault::None ? rowFaultText(fault, table.subject(row)) : table.warnings(row);
}

SubjectGrid::SubjectGrid(SubjectTable& table, QWidget* parent) : QTableView(parent), table_(table) {
    setModel(new VerdictRows(table, this));
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setWordWrap(false);
    // Tab leaves the grid; the arrows move inside it.
    setTabKeyNavigation(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    // Widths follow the system's type: the designed widths were drawn for a line 13 pixels high;
    // a date and a tax code are never cut, nor a header.
    const QFontMetrics metrics = fontMetrics();
    const auto scaled = [&](int twips) { return pixels(twips) * metrics.height() / 13; };
    verticalHeader()->setFixedWidth(
        std::max(scaled(kColumnTwips[NumberColumn]),
                 metrics.horizontalAdvance(QStringLiteral("32767") + kWarnedSign) + 12));
    for (int column = SurnameColumn; column < ColumnCount; ++column) {
        int width =
            std::max(scaled(kColumnTwips[column]), horizontalHeader()->sectionSizeHint(column - 1));
        if (column == BirthDateColumn || column == TaxCodeColumn)
            width = std::max(width,
                             metrics.horizontalAdvance(column == BirthDateColumn
                                                           ? QStringLiteral("00/00/0000")
                                                           : QStringLiteral("RSSMRA70A05H501W")) +
                                 16);
        setColumnWidth(column - 1, width);
    }
}

int SubjectGrid::currentRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

int SubjectGrid::currentColumn() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() + 1 : 0; // the grid starts at the surname
}

void SubjectGrid::setCurrentCell(int row, int column) {
    if (row <= 0 || row > table_.subjectCount()) {
        setCurrentIndex({});
        return;
    }
    setCurrentIndex(model()->index(row - 1, std::max(column, int(SurnameColumn)) - 1));
    scrollTo(currentIndex());
}

void SubjectGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Q_EMIT enterPressed();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Delete && currentRow() > 0) {
        Q_EMIT deletePressed();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace velmora
