#pragma once

#include "core/subjects/subjecttable.h"

#include <QTableView>

namespace velmora {

// MSFlexGrid1: the subject table as the operator sees it. A read-only grid with a fixed header
// row and a fixed row-number column; a selection never spans more than the current row.
// Rows and columns are counted as in the table: data rows from 1, 0 meaning "none".
class SubjectGrid : public QTableView {
    Q_OBJECT
public:
    explicit SubjectGrid(SubjectTable& table, QWidget* parent = nullptr);

    SubjectTable& table() const { return table_; }
    int currentRow() const;
    int currentColumn() const;
    // The far corner of the selection. A selection is always the current row, whole.
    int selectionEndRow() const { return currentRow(); }
    int selectionEndColumn() const { return currentRow() > 0 ? ColumnCount - 1 : 0; }
    // Row 0 clears the current cell (the header row is never current).
    void setCurrentCell(int row, int column);

Q_SIGNALS:
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    SubjectTable& table_;
};

// Colours one row: the back and text colours over every column but the row number.
// Row 0 means the current row, and the row painted is given back through `row`.
void PaintGridRow(SubjectGrid& grid, Rgb back, int& row, Rgb text);

} // namespace velmora
