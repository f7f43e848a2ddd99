#pragma once

#include "core/subjects/subjecttable.h"

#include <QString>

namespace velmora {

// Text as the find bar compares it: in capitals, a letter with an accent or another mark read
// as its base letter (à as A, Ł as L is left as it is: it has no base letter).
QString searchKey(QStringView text);

// The row whose surname, name or tax code holds `text` (case and accents ignored): the first
// one after `from` going forward, or before it going back, round the end of the table to its
// other end and back to `from` itself. 0 when no row does, or `text` is blank.
int findSubject(const SubjectTable& table, QStringView text, int from, bool forward);

// How the find bar moves from the current row: as the text is typed the current row is looked
// at first (it may hold the text still); the next and previous finds move on from it.
enum class FindStep { AsTyped, Next, Previous };
int findSubject(const SubjectTable& table, QStringView text, int current, FindStep step);

// The first row after `from`, round the end of the table, that the last check refused or warned
// of; 0 when none is marked.
int nextMarkedRow(const SubjectTable& table, int from);

// The status line's count: "N soggetti" ("1 soggetto"), and when the last check marked any row,
// "K con errori, W con avvisi".
QString subjectCounts(const SubjectTable& table);

} // namespace velmora
