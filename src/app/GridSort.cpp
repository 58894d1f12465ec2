#include "app/GridSort.h"

#include <QStringView>

#include <cmath>

#include "model/RecordGrid.h"

namespace v3 {
namespace {

bool NumberCell(const QString& cell, double* value) {
  bool ok = false;
  const double d = QStringView(cell).trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(d)) return false;
  *value = d;
  return true;
}

}  // namespace

bool IsNumericColumn(const RecordGrid& grid, int column) {
  if (column < 1 || column > grid.fieldCount()) return false;
  bool any = false;
  for (int r = 1; r <= grid.recordCount(); ++r) {
    const QString& cell = grid.record(r)[column - 1];
    if (QStringView(cell).trimmed().isEmpty()) continue;
    double d = 0;
    if (!NumberCell(cell, &d)) return false;
    any = true;
  }
  return any;
}

std::vector<int> ColumnSortOrder(const RecordGrid& grid, int column, Qt::SortOrder order) {
  using O = RecordGrid::SortOrder;
  return grid.sortedOrder(column, IsNumericColumn(grid, column) ? O::Numeric : O::Text, order == Qt::DescendingOrder);
}

}  // namespace v3
