#include "app/Search.h"

#include <algorithm>

#include "model/RecordGrid.h"
#include "text/Big5.h"

namespace v3 {

QString SearchTextFor(const QString& typed) { return ToTraditional(typed); }

bool CellMatches(const QString& cell, const QString& searchText) {
  return !searchText.isEmpty() && cell.contains(searchText, Qt::CaseSensitive);
}

int FindRow(const RecordGrid& grid, int column, const QString& searchText, int startRow) {
  if (searchText.isEmpty() || column < 1 || column > grid.fieldCount()) return 0;
  const int last = grid.recordCount();
  for (int r = std::max(startRow, 1); r <= last; ++r)
    if (CellMatches(grid.record(r)[column - 1], searchText)) return r;
  return 0;
}

}  // namespace v3
