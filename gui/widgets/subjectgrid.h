#pragma once

#include "core/subjects/subjecttable.h"

#include <QTableView>

namespace velmora {

// The subject table as the operator sees it. A read-only grid with a fixed header
// row and a fixed row-number column; a selection never spans more than the current row.
// Rows and columns are counted as in the table: data rows from 1, 0 meaning "none".
class SubjectGrid : public QTableView {
    Q_OBJECT
public:
    explicit SubjectGrid(SubjectTable& table, QWidget* parent = nullptr);

    int currentRow() const;
    int currentColumn() const;
    // Row 0 clears the current cell (the header row is never current).
    void setCurrentCell(int row, int column);

Q_SIGNALS:
    void enterPressed();
    void deletePressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    SubjectTable& table_;
};

// Why the last check marked the row: its fault, or its warnings one a line; empty when unmarked.
QString rowReason(const SubjectTable& table, int row);

} // namespace velmora
