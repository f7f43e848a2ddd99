#include "core/subjects/subjecttable.h"

#include <algorithm>

namespace velmora {

QString SubjectTable::cell(int row, int column) const {
    if (row == 0)
        return kColumnHeaders.at(column);
    if (column == NumberColumn)
        return QString::number(row);
    return values_.at(row - 1).at(column);
}

void SubjectTable::layOut() {
    beginResetModel();
    values_.clear();
    colors_.clear();
    endResetModel();
}

int SubjectTable::appendRows(QList<SubjectValues> subjects) {
    const int first = progressivo() + 1;
    if (subjects.isEmpty())
        return first;
    beginInsertRows({}, first - 1, first - 1 + int(subjects.size()) - 1);
    for (SubjectValues& subject : subjects)
        subject[NumberColumn].clear(); // the number is the row's place, never stored
    // No reserve of the exact size here: it would make every one-row append copy the table.
    if (values_.isEmpty())
        values_ = std::move(subjects);
    else
        values_.append(std::move(subjects));
    colors_.resize(values_.size());
    endInsertRows();
    return first;
}

void SubjectTable::setValues(int row, const SubjectValues& subject) {
    auto& cells = values_[row - 1];
    for (int column = SurnameColumn; column < ColumnCount; ++column)
        cells[column] = subject[column];
    Q_EMIT dataChanged(index(row - 1, SurnameColumn), index(row - 1, ColumnCount - 1));
}

void SubjectTable::setColors(int row, RowColors colors) {
    colors_[row - 1] = colors;
    Q_EMIT dataChanged(index(row - 1, SurnameColumn), index(row - 1, ColumnCount - 1),
                       {BackRole, TextColorRole});
}

bool SubjectTable::setCell(int row, int column, const QString& text) {
    if (row < 1 || row > progressivo() || column < SurnameColumn || column >= ColumnCount)
        return false;
    values_[row - 1][column] = text;
    const QModelIndex changed = index(row - 1, column);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
    return true;
}

void SubjectTable::removeRow(int row) {
    if (row < 1 || row > progressivo())
        return;
    const int last = progressivo();
    beginRemoveRows({}, row - 1, row - 1);
    values_.removeAt(row - 1);
    colors_.removeAt(row - 1);
    endRemoveRows();
    // The rows below now show the numbers one less.
    if (row < last)
        Q_EMIT headerDataChanged(Qt::Vertical, row - 1, last - 2);
}

void SubjectTable::keepRows(int count) {
    count = std::max(count, 0);
    if (count >= progressivo())
        return;
    beginRemoveRows({}, count, progressivo() - 1);
    values_.resize(count);
    colors_.resize(count);
    endRemoveRows();
}

int SubjectTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : progressivo();
}

int SubjectTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SubjectTable::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        // The row number is the row's header, not a value that moves with the row.
        return index.column() == NumberColumn ? QVariant()
                                              : QVariant(values_.at(row).at(index.column()));
    case BackRole:
        return index.column() == NumberColumn ? QVariant() : QVariant(colors_.at(row).back);
    case TextColorRole:
        return index.column() == NumberColumn ? QVariant() : QVariant(colors_.at(row).text);
    default:
        return {};
    }
}

QVariant SubjectTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < ColumnCount ? kColumnHeaders.at(section) : QVariant();
    return section >= 0 && section < progressivo() ? QVariant(QString::number(section + 1))
                                                   : QVariant();
}

Qt::ItemFlags SubjectTable::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    // The number column is fixed: never selected, never coloured.
    if (index.column() == NumberColumn)
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace velmora
