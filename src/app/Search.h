#pragma once
#include <QString>

namespace v3 {

class RecordGrid;

// The text the find dialog looks for: the typed text in its Traditional
// form, since the grid holds the game's texts as stored.
QString SearchTextFor(const QString& typed);

// Whether the cell holds the search text as one contiguous part, compared
// character by character (case-sensitive, no wildcards, no trimming).
bool CellMatches(const QString& cell, const QString& searchText);

// The first grid row from `startRow` on whose cell in `column` matches;
// 0 when none does. No wrap-around.
int FindRow(const RecordGrid& grid, int column, const QString& searchText, int startRow = 1);

}  // namespace v3
