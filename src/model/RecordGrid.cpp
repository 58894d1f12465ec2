#include "model/RecordGrid.h"

#include "text/Big5.h"

#include <algorithm>

namespace v3 {

RecordGrid::RecordGrid(QObject* parent) : RecordGrid(*new RecordStore, parent) { own_.reset(store_); }

RecordGrid::RecordGrid(RecordStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(&store), selection_(this) {
  store_->setView(this);
}

RecordGrid::~RecordGrid() {
  if (store_->view() == this) store_->setView(nullptr);
}

// ---------------------------------------------------------------- the store's changes

void RecordGrid::aboutToReset() { beginResetModel(); }

void RecordGrid::wasReset() {
  endResetModel();
  selection_.clear();
}

void RecordGrid::cellsChanged(int top, int left, int bottom, int right) {
  emit dataChanged(index(top - 1, left), index(bottom - 1, right), {Qt::DisplayRole, Qt::EditRole});
}

void RecordGrid::headerChanged() { emit headerDataChanged(Qt::Horizontal, 1, fieldCount()); }

void RecordGrid::aboutToInsert(int first, int last) { beginInsertRows(QModelIndex(), first - 1, last - 1); }

void RecordGrid::wasInserted() { endInsertRows(); }

void RecordGrid::aboutToRemove(int first, int last) { beginRemoveRows(QModelIndex(), first - 1, last - 1); }

void RecordGrid::wasRemoved() { endRemoveRows(); }

void RecordGrid::aboutToReorder(const std::vector<int>& newRow) {
  // The selection and the current row follow their records to their new rows.
  movedSelection_.clear();
  for (int r : selectedRows()) movedSelection_.push_back(newRow[size_t(r)]);
  std::sort(movedSelection_.begin(), movedSelection_.end());
  const int current = currentRow();
  movedCurrent_ = current > 0 ? newRow[size_t(current)] : 0;
  emit layoutAboutToBeChanged();
}

void RecordGrid::wasReordered() {
  emit layoutChanged();
  selection_.clearSelection();
  QItemSelection sel;
  const std::vector<int>& moved = movedSelection_;
  for (size_t i = 0; i < moved.size();) {
    size_t j = i;
    while (j + 1 < moved.size() && moved[j + 1] == moved[j] + 1) ++j;
    sel.append(QItemSelectionRange(index(moved[i] - 1, 0), index(moved[j] - 1, fieldCount())));
    i = j + 1;
  }
  if (!sel.isEmpty()) selection_.select(sel, QItemSelectionModel::Select);
  if (movedCurrent_ > 0) selection_.setCurrentIndex(index(movedCurrent_ - 1, 1), QItemSelectionModel::NoUpdate);
  movedSelection_.clear();
}

// ---------------------------------------------------------------- selection

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
  return QItemSelection(index(firstRow - 1, 0), index(lastRow - 1, fieldCount()));
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
    inverted.append(QItemSelectionRange(index(r - 1, 0), index(last - 1, fieldCount())));
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

// ---------------------------------------------------------------- QAbstractItemModel

int RecordGrid::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : recordCount(); }

int RecordGrid::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || fieldCount() == 0 ? 0 : fieldCount() + 1;
}

QVariant RecordGrid::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return QVariant();
  // Bytes that are no Big5 character show as U+FFFD; editing keeps them.
  if (role == Qt::DisplayRole) return ShowByteCharacters(cell(index.row() + 1, index.column()));
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

}  // namespace v3
