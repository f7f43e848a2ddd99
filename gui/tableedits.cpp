#include "gui/tableedits.h"

namespace velmora {
namespace {

// A step over the table; `show` is told the row to make current after it.
class TableStep : public QUndoCommand {
public:
    TableStep(SubjectTable& table, const TableEdits::ShowRow& show, const QString& what)
        : QUndoCommand(what), table_(table), show_(show) {}

protected:
    void showRow(int row) const {
        if (show_)
            show_(row);
    }
    SubjectTable& table_;

private:
    TableEdits::ShowRow show_;
};

class AppendRows final : public TableStep {
public:
    AppendRows(SubjectTable& table, const TableEdits::ShowRow& show, QList<SubjectRow> rows,
               const QString& what)
        : TableStep(table, show, what), rows_(std::move(rows)) {}
    void redo() override {
        first_ = table_.appendRows(std::move(rows_));
        showRow(table_.subjectCount());
    }
    void undo() override {
        rows_ = table_.takeRows(first_);
        showRow(table_.subjectCount());
    }

private:
    QList<SubjectRow> rows_; // while the step is undone
    int first_ = 0;
};

class ChangeRow final : public TableStep {
public:
    ChangeRow(SubjectTable& table, const TableEdits::ShowRow& show, int row,
              const SubjectValues& values)
        : TableStep(table, show, QStringLiteral("modifica della riga %1").arg(row)), row_(row),
          other_(values) {}
    // Each way the row's values and the other ones change places.
    void redo() override { swap(); }
    void undo() override { swap(); }

private:
    void swap() {
        const SubjectValues current = table_.values(row_);
        table_.setValues(row_, other_);
        other_ = current;
        showRow(row_);
    }
    int row_;
    SubjectValues other_;
};

class RemoveRow final : public TableStep {
public:
    RemoveRow(SubjectTable& table, const TableEdits::ShowRow& show, int row)
        : TableStep(table, show, QStringLiteral("eliminazione della riga %1").arg(row)), row_(row),
          removed_(table.subject(row)) {}
    void redo() override {
        table_.removeRow(row_);
        showRow(std::min(row_, table_.subjectCount()));
    }
    void undo() override {
        table_.insertRow(row_, removed_);
        showRow(row_);
    }

private:
    int row_;
    SubjectRow removed_;
};

class EmptyTable final : public TableStep {
public:
    EmptyTable(SubjectTable& table, const TableEdits::ShowRow& show)
        : TableStep(table, show, QStringLiteral("cancellazione della tabella")) {}
    void redo() override {
        rows_ = table_.takeRows(1);
        showRow(0);
    }
    void undo() override {
        table_.appendRows(std::move(rows_));
        showRow(1);
    }

private:
    QList<SubjectRow> rows_; // while the step is done
};

} // namespace

void TableEdits::append(QList<SubjectRow> rows, const QString& what) {
    stack_.push(new AppendRows(table_, show_, std::move(rows), what));
}

void TableEdits::change(int row, const SubjectValues& values) {
    stack_.push(new ChangeRow(table_, show_, row, values));
}

void TableEdits::remove(int row) {
    stack_.push(new RemoveRow(table_, show_, row));
}

void TableEdits::empty() {
    stack_.push(new EmptyTable(table_, show_));
}

} // namespace velmora
