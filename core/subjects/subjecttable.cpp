#include "core/subjects/subjecttable.h"

#include <algorithm>
#include <utility>

namespace velmora {

SubjectRow::SubjectRow(const Views& values) {
    qsizetype size = 0;
    for (int column = SurnameColumn; column < ColumnCount; ++column)
        size += values[column].size();
    text_ = QString(size, Qt::Uninitialized);
    QChar* out = text_.data();
    qsizetype end = 0;
    for (int column = SurnameColumn; column < ColumnCount; ++column) {
        // Values are short: a dozen characters copied one by one cost less than a call.
        for (const QChar c : values[column])
            out[end++] = c;
        ends_[column] = end;
    }
}

SubjectRow::SubjectRow(const SubjectValues& values)
    : SubjectRow([&values] {
          Views views;
          for (int column = SurnameColumn; column < ColumnCount; ++column)
              views[column] = values[column];
          return views;
      }()) {}

SubjectValues SubjectRow::values() const {
    SubjectValues values;
    for (int column = SurnameColumn; column < ColumnCount; ++column)
        values[column] = (*this)[Column(column)].toString();
    return values;
}

void SubjectTable::layOut() {
    beginResetModel();
    rows_.clear();
    verdicts_.clear();
    endResetModel();
}

int SubjectTable::appendRows(QList<SubjectRow> subjects) {
    const int first = subjectCount() + 1;
    if (subjects.isEmpty())
        return first;
    // Into an empty table (an import, an emptying undone) the list itself is taken, and the
    // views start again in one reset instead of hearing of each row.
    if (rows_.isEmpty()) {
        beginResetModel();
        rows_ = std::move(subjects);
        verdicts_.resize(rows_.size()); // new rows carry no mark
        endResetModel();
        return first;
    }
    beginInsertRows({}, first - 1, first - 1 + int(subjects.size()) - 1);
    // No reserve of the exact size here: it would make every one-row append copy the table.
    rows_.append(std::move(subjects));
    verdicts_.resize(rows_.size()); // new rows carry no mark
    endInsertRows();
    return first;
}

void SubjectTable::setValues(int row, const SubjectValues& subject) {
    rows_[row - 1] = SubjectRow(subject);
    Q_EMIT dataChanged(index(row - 1, SurnameColumn), index(row - 1, ColumnCount - 1));
}

void SubjectTable::setFault(int row, RowFault fault) {
    verdicts_[row - 1].fault = fault;
    Q_EMIT dataChanged(index(row - 1, SurnameColumn), index(row - 1, ColumnCount - 1), {FaultRole});
}

void SubjectTable::setWarnings(int row, const QString& warnings) {
    if (verdicts_[row - 1].warnings == warnings)
        return;
    verdicts_[row - 1].warnings = warnings;
    Q_EMIT dataChanged(index(row - 1, SurnameColumn), index(row - 1, ColumnCount - 1),
                       {WarningRole});
    Q_EMIT headerDataChanged(Qt::Vertical, row - 1, row - 1);
}

void SubjectTable::removeRow(int row) {
    if (row < 1 || row > subjectCount())
        return;
    const int last = subjectCount();
    beginRemoveRows({}, row - 1, row - 1);
    rows_.removeAt(row - 1);
    verdicts_.removeAt(row - 1);
    endRemoveRows();
    // The rows below now show the numbers one less.
    if (row < last)
        Q_EMIT headerDataChanged(Qt::Vertical, row - 1, last - 2);
}

void SubjectTable::keepRows(int count) {
    count = std::max(count, 0);
    if (count >= subjectCount())
        return;
    beginRemoveRows({}, count, subjectCount() - 1);
    rows_.resize(count);
    verdicts_.resize(count);
    endRemoveRows();
}

QList<SubjectRow> SubjectTable::takeRows(int from) {
    if (from < 1 || from > subjectCount())
        return {};
    QList<SubjectRow> taken;
    if (from == 1) {
        beginResetModel();
        taken = std::exchange(rows_, {});
        verdicts_.clear();
        endResetModel();
        return taken;
    }
    taken = rows_.mid(from - 1);
    keepRows(from - 1);
    return taken;
}

void SubjectTable::insertRow(int row, SubjectRow subject) {
    row = std::clamp(row, 1, subjectCount() + 1);
    beginInsertRows({}, row - 1, row - 1);
    rows_.insert(row - 1, std::move(subject));
    verdicts_.insert(row - 1, Verdict());
    endInsertRows();
    // The rows below now show the numbers one more.
    if (row < subjectCount())
        Q_EMIT headerDataChanged(Qt::Vertical, row, subjectCount() - 1);
}

int SubjectTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : subjectCount();
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
        return index.column() == NumberColumn
                   ? QVariant()
                   : QVariant(rows_.at(row)[Column(index.column())].toString());
    case FaultRole:
        return index.column() == NumberColumn ? QVariant() : QVariant(int(verdicts_.at(row).fault));
    case WarningRole:
        return index.column() == NumberColumn ? QVariant() : QVariant(verdicts_.at(row).warnings);
    default:
        return {};
    }
}

QVariant SubjectTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < ColumnCount ? kColumnHeaders.at(section) : QVariant();
    return section >= 0 && section < subjectCount() ? QVariant(QString::number(section + 1))
                                                    : QVariant();
}

Qt::ItemFlags SubjectTable::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    // The number column is fixed: never selected, never marked.
    if (index.column() == NumberColumn)
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace velmora
