#pragma once

#include "core/subjects/subjecttable.h"

#include <QString>
#include <optional>

namespace velmora {

// The grid clipboard text: "[GRIDCLIP]" and a form feed, then every row of a rectangle of cells
// from top to bottom, each cell followed by a vertical tab and each row by a form feed. Cell
// texts go in as they are, unescaped.
inline constexpr QChar kGridRowEnd = QChar(12);  // form feed
inline constexpr QChar kGridCellEnd = QChar(11); // vertical tab
inline const QString kGridClipMarker = QStringLiteral("[GRIDCLIP]");

// The text of rows `startRow` to `endRow` and columns `startCol` to `endCol`, each pair in either
// order; rows count from the header row 0, columns from the number column 0. Nothing when the
// rectangle leaves the table.
std::optional<QString> gridClipText(const SubjectTable& table, int startRow, int endRow,
                                    int startCol, int endCol);

// Writes grid clipboard text into the table with its first cell at `startRow`, `startCol`.
// True when every cell was written. False, at once, for text without the marker (nothing
// written), for a cell that falls outside the table's data cells, and for a cell or a row that
// lacks its separator; cells written before a failure stay written. The table never grows.
bool pasteGridClipText(SubjectTable& table, const QString& text, int startRow, int startCol);

} // namespace velmora
