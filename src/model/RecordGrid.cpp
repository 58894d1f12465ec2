#include "model/RecordGrid.h"

#include "text/Convert.h"
#include "text/Language.h"

#include <algorithm>
#include <numeric>

namespace v3 {

RecordGrid::RecordGrid(QObject* parent) : QAbstractTableModel(parent), selection_(this) {}

void RecordGrid::reset(int fieldCount, std::vector<Row> rows) {
  beginResetModel();
  fieldCount_ = fieldCount;
  rows_ = std::move(rows);
  for (Row& r : rows_) {
    while (r.size() < fieldCount_) r.append(QString());
    if (r.size() > fieldCount_) r = r.mid(0, fieldCount_);
  }
  header_ = QStringList();
  hidden_.clear();
  leading_ = 0;
  endResetModel();
  selection_.clear();
  setModified(false);
}

QString RecordGrid::cell(int row, int column) const {
  if (column <= 0 || column > fieldCount_) return QString();
  if (row == 0) return headerText(column);
  if (row < 0 || row > recordCount()) return QString();
  return rows_[size_t(row - 1)][column - 1];
}

void RecordGrid::setCell(int row, int column, const QString& text) {
  if (row <= 0 || row > recordCount() || column <= 0 || column > fieldCount_) return;
  QString& c = rows_[size_t(row - 1)][column - 1];
  if (c == text) return;
  c = text;
  const QModelIndex i = index(row - 1, column);
  emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
  setModified(true);
}

void RecordGrid::setHeaderTexts(const QStringList& texts) {
  header_ = texts;
  if (fieldCount_ > 0) emit headerDataChanged(Qt::Horizontal, 1, fieldCount_);
}

QString RecordGrid::headerText(int column) const {
  return column >= 1 && column <= header_.size() ? header_[column - 1] : QString();
}

int RecordGrid::appendRecord(Row row) {
  while (row.size() < fieldCount_) row.append(QString());
  if (row.size() > fieldCount_) row = row.mid(0, fieldCount_);
  const int n = recordCount();
  beginInsertRows(QModelIndex(), n, n);
  rows_.push_back(std::move(row));
  endInsertRows();
  setModified(true);
  return n + 1;
}

void RecordGrid::removeRecords(std::vector<int> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  rows.erase(std::remove_if(rows.begin(), rows.end(), [&](int r) { return r < 1 || r > recordCount(); }), rows.end());
  if (rows.empty()) return;
  // Contiguous runs, removed from the bottom up so the row numbers above stay valid.
  std::vector<std::pair<int, int>> runs;
  for (int r : rows) {
    if (!runs.empty() && runs.back().second + 1 == r)
      runs.back().second = r;
    else
      runs.push_back({r, r});
  }
  if (runs.size() <= 32) {
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
      beginRemoveRows(QModelIndex(), it->first - 1, it->second - 1);
      rows_.erase(rows_.begin() + (it->first - 1), rows_.begin() + it->second);
      endRemoveRows();
    }
  } else {
    // Many runs: one compaction pass instead of one shift per run.
    beginResetModel();
    std::vector<bool> drop(rows_.size(), false);
    for (int r : rows) drop[size_t(r - 1)] = true;
    size_t out = 0;
    for (size_t i = 0; i < rows_.size(); ++i)
      if (!drop[i]) rows_[out++] = std::move(rows_[i]);
    rows_.resize(out);
    endResetModel();
  }
  setModified(true);
}

std::vector<int> RecordGrid::sortedOrder(int column, SortOrder order) const {
  std::vector<int> start(rows_.size());
  std::iota(start.begin(), start.end(), 1);
  return sortedOrder(start, column, order);
}

std::vector<int> RecordGrid::sortedOrder(const std::vector<int>& start, int column, SortOrder order) const {
  std::vector<int> result = start;
  if (column < 1 || column > fieldCount_) return result;
  if (order == SortOrder::Numeric) {
    std::vector<double> keys(rows_.size() + 1);
    for (size_t i = 0; i < rows_.size(); ++i) keys[i + 1] = NumericSortKey(rows_[i][column - 1]);
    std::stable_sort(result.begin(), result.end(), [&](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
  } else {
    std::stable_sort(result.begin(), result.end(), [&](int a, int b) {
      return QString::compare(rows_[size_t(a - 1)][column - 1], rows_[size_t(b - 1)][column - 1], Qt::CaseSensitive) < 0;
    });
  }
  return result;
}

void RecordGrid::applyOrder(const std::vector<int>& order) {
  if (order.size() != rows_.size()) return;
  bool identity = true;
  for (size_t i = 0; i < order.size(); ++i)
    if (order[i] != int(i + 1)) identity = false;
  if (identity) return;
  // The selection and the current row follow their records to their new rows.
  std::vector<int> newRow(rows_.size() + 1, 0);
  for (size_t i = 0; i < order.size(); ++i) newRow[size_t(order[i])] = int(i + 1);
  std::vector<int> moved;
  for (int r : selectedRows()) moved.push_back(newRow[size_t(r)]);
  std::sort(moved.begin(), moved.end());
  const int current = currentRow();

  emit layoutAboutToBeChanged();
  std::vector<Row> sorted;
  sorted.reserve(rows_.size());
  for (int r : order) sorted.push_back(std::move(rows_[size_t(r - 1)]));
  rows_ = std::move(sorted);
  emit layoutChanged();

  selection_.clearSelection();
  QItemSelection sel;
  for (size_t i = 0; i < moved.size();) {
    size_t j = i;
    while (j + 1 < moved.size() && moved[j + 1] == moved[j] + 1) ++j;
    sel.append(QItemSelectionRange(index(moved[i] - 1, 0), index(moved[j] - 1, fieldCount_)));
    i = j + 1;
  }
  if (!sel.isEmpty()) selection_.select(sel, QItemSelectionModel::Select);
  if (current > 0) selection_.setCurrentIndex(index(newRow[size_t(current)] - 1, 1), QItemSelectionModel::NoUpdate);
  setModified(true);
}

std::vector<int> RecordGrid::selectedRows() const {
  std::vector<int> result;
  for (const QItemSelectionRange& range : selection_.selection()) {
    if (!range.isValid()) continue;
    for (int r = range.top(); r <= range.bottom(); ++r) result.push_back(r + 1);
  }
  std::sort(result.begin(), result.end());
  result.erase(std::unique(result.begin(), result.end()), result.end());
  return result;
}

int RecordGrid::selectedCount() const { return int(selectedRows().size()); }

bool RecordGrid::isRowSelected(int row) const {
  return row >= 1 && row <= recordCount() && selection_.isRowSelected(row - 1, QModelIndex());
}

QItemSelection RecordGrid::rowsSelection(int firstRow, int lastRow) const {
  return QItemSelection(index(firstRow - 1, 0), index(lastRow - 1, fieldCount_));
}

void RecordGrid::setRowSelected(int row, bool selected) {
  if (row < 1 || row > recordCount()) return;
  selection_.select(rowsSelection(row, row), selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

void RecordGrid::selectRange(int firstRow, int lastRow) {
  firstRow = std::max(firstRow, 1);
  lastRow = std::min(lastRow, recordCount());
  if (firstRow > lastRow) return;
  selection_.select(rowsSelection(firstRow, lastRow), QItemSelectionModel::Select);
}

void RecordGrid::selectAll() { selectRange(1, recordCount()); }

void RecordGrid::clearSelection() { selection_.clearSelection(); }

void RecordGrid::invertSelection() {
  const int n = recordCount();
  if (n == 0) return;
  std::vector<bool> selected(size_t(n) + 2, false);
  for (int r : selectedRows()) selected[size_t(r)] = true;
  QItemSelection inverted;
  int r = 1;
  while (r <= n) {
    if (selected[size_t(r)]) {
      ++r;
      continue;
    }
    int last = r;
    while (last + 1 <= n && !selected[size_t(last + 1)]) ++last;
    inverted.append(QItemSelectionRange(index(r - 1, 0), index(last - 1, fieldCount_)));
    r = last + 1;
  }
  // Clear first, then select the runs: replacing a selection of many runs by
  // another in one step makes the selection model compare every run with every other.
  selection_.clearSelection();
  if (!inverted.isEmpty()) selection_.select(inverted, QItemSelectionModel::Select);
}

void RecordGrid::setCurrentRow(int row) {
  if (row < 1 || row > recordCount()) return;
  selection_.setCurrentIndex(index(row - 1, 1), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int RecordGrid::currentRow() const {
  const QModelIndex i = selection_.currentIndex();
  return i.isValid() ? i.row() + 1 : 0;
}

void RecordGrid::setModified(bool m) {
  if (modified_ == m) return;
  modified_ = m;
  emit modifiedChanged(m);
}

int RecordGrid::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : recordCount(); }

int RecordGrid::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || fieldCount_ == 0 ? 0 : fieldCount_ + 1;
}

QVariant RecordGrid::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return QVariant();
  return cell(index.row() + 1, index.column());
}

bool RecordGrid::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || index.column() == 0) return false;
  setCell(index.row() + 1, index.column(), value.toString());
  return true;
}

QVariant RecordGrid::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QVariant();
  if (orientation == Qt::Horizontal) return headerText(section);
  return section + 1;
}

Qt::ItemFlags RecordGrid::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() > 0) f |= Qt::ItemIsEditable;
  return f;
}

void FillGridHeader(RecordGrid& grid, const QString& caption) {
  grid.setHeaderTexts(HeaderTexts(caption, grid.fieldCount()));
}

}  // namespace v3
