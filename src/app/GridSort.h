#pragma once
#include <Qt>

#include <vector>

namespace v3 {

class RecordGrid;

// A column is sorted as numbers when every non-empty cell in it is a
// number; otherwise by the characters' codes (case-sensitive).
bool IsNumericColumn(const RecordGrid& grid, int column);

// The order (grid rows, as RecordGrid::applyOrder takes it) that sorts the
// records by a column, ascending or descending, with the rule a save sorts
// by (RecordGrid::sortedOrder): stable in both directions.
std::vector<int> ColumnSortOrder(const RecordGrid& grid, int column, Qt::SortOrder order);

}  // namespace v3
