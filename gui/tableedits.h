#pragma once

#include "core/subjects/subjecttable.h"

#include <QUndoStack>
#include <functional>

namespace velmora {

// The changes of the subject table that Modifica > Annulla takes back and Ripeti makes again:
// each is one step of `stack`, done as it is pushed. After each step, done or undone, `show`
// hears which row to make current (0: none).
class TableEdits {
public:
    using ShowRow = std::function<void(int row)>;

    TableEdits(SubjectTable& table, QUndoStack& stack) : table_(table), stack_(stack) {}
    void setShowRow(ShowRow show) { show_ = std::move(show); }

    // Rows appended after the last one: a subject inserted, or an import.
    void append(QList<SubjectRow> rows, const QString& what);
    // Row `row` takes `values`.
    void change(int row, const SubjectValues& values);
    void remove(int row);
    // The whole table emptied.
    void empty();

private:
    SubjectTable& table_;
    QUndoStack& stack_;
    ShowRow show_;
};

} // namespace velmora
