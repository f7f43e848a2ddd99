#include "core/subjects/gridclipboard.h"

#include <algorithm>

namespace velmora {

std::optional<QString> gridClipText(const SubjectTable& table, int startRow, int endRow,
                                    int startCol, int endCol) {
    const auto [firstRow, lastRow] = std::minmax(startRow, endRow);
    const auto [firstCol, lastCol] = std::minmax(startCol, endCol);
    if (firstRow < 0 || lastRow > table.progressivo() || firstCol < 0 || lastCol >= ColumnCount)
        return std::nullopt;
    QString text = kGridClipMarker + kGridRowEnd;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstCol; column <= lastCol; ++column)
            text += table.cell(row, column) + kGridCellEnd;
        text += kGridRowEnd;
    }
    return text;
}

bool pasteGridClipText(SubjectTable& table, const QString& text, int startRow, int startCol) {
    const QString head = kGridClipMarker + kGridRowEnd;
    if (!text.startsWith(head))
        return false;
    QStringView rest = QStringView(text).mid(head.size());
    int row = startRow;
    while (!rest.isEmpty()) {
        const qsizetype rowEnd = rest.indexOf(kGridRowEnd);
        // A last row without its form feed is pasted as far as its cells go, then refused.
        QStringView cells = rowEnd < 0 ? rest : rest.left(rowEnd);
        rest = rowEnd < 0 ? QStringView() : rest.mid(rowEnd + 1);
        int column = startCol;
        while (!cells.isEmpty()) {
            const qsizetype cellEnd = cells.indexOf(kGridCellEnd);
            if (cellEnd < 0 || !table.setCell(row, column, cells.left(cellEnd).toString()))
                return false;
            cells = cells.mid(cellEnd + 1);
            ++column;
        }
        if (rowEnd < 0)
            return false;
        ++row;
    }
    return true;
}

} // namespace velmora
