#include "app/GridSort.h"

#include <QStringView>

#include <algorithm>
#include <cmath>
#include <numeric>

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
  const int n = grid.recordCount();
  std::vector<int> rows(static_cast<size_t>(n));
  std::iota(rows.begin(), rows.end(), 1);
  if (column < 1 || column > grid.fieldCount()) return rows;
  const bool descending = order == Qt::DescendingOrder;
  if (IsNumericColumn(grid, column)) {
    // Empty cells count as the smallest value.
    std::vector<double> keys(size_t(n) + 1, -HUGE_VAL);
    for (int r = 1; r <= n; ++r) {
      double d = 0;
      if (NumberCell(grid.record(r)[column - 1], &d)) keys[size_t(r)] = d;
    }
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
      return descending ? keys[size_t(b)] < keys[size_t(a)] : keys[size_t(a)] < keys[size_t(b)];
    });
  } else {
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
      const int c = QString::compare(grid.record(a)[column - 1], grid.record(b)[column - 1], Qt::CaseSensitive);
      return descending ? c > 0 : c < 0;
    });
  }
  return rows;
}

}  // namespace v3
