#include "model/RecordGrid.h"

#include "text/Big5.h"
#include "text/Convert.h"
#include "text/Language.h"

#include <QSet>

#include <algorithm>
#include <numeric>

namespace v3 {

RecordGrid::RecordGrid(QObject* parent) : QAbstractTableModel(parent), selection_(this) {}

namespace {
void fitList(QStringList& list, int size) {
  if (list.size() == size) return;
  while (list.size() < size) list.append(QString());
  if (list.size() > size) list = list.mid(0, size);
}
}  // namespace

void RecordGrid::fitRow(Row& row) const {
  fitList(row.cells, fieldCount_);
  if (row.isKept()) fitList(row.original, fieldCount_);
}

void RecordGrid::reset(int fieldCount, std::vector<QStringList> rows) {
  std::vector<TableRecord> records;
  records.reserve(rows.size());
  for (QStringList& r : rows) records.emplace_back(std::move(r));
  resetRecords(fieldCount, std::move(records));
}

void RecordGrid::startContent(int fieldCount) {
  beginResetModel();
  fieldCount_ = fieldCount;
  rows_.clear();
  source_.reset();
  pending_ = 0;
  scan_ = 0;
}

void RecordGrid::resetRecords(int fieldCount, std::vector<TableRecord> records) {
  startContent(fieldCount);
  rows_.reserve(records.size());
  for (TableRecord& r : records) rows_.emplace_back(std::move(r));
  for (Row& r : rows_) fitRow(r);
  finishContent();
}

void RecordGrid::resetKept(int fieldCount, std::vector<KeptBytes> records, std::shared_ptr<const RecordSource> source) {
  startContent(fieldCount);
  source_ = std::move(source);
  rows_.resize(records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    rows_[i].kept = std::move(records[i]);
    rows_[i].pending = true;
    rows_[i].source = source_.get();
  }
  pending_ = rows_.size();
  finishContent();
}

void RecordGrid::decodeRow(Row& row) const {
  row.cells = source_ ? source_->cells(row.kept) : QStringList();
  row.source = nullptr;
  fitList(row.cells, fieldCount_);
  // A record beyond the end of the file has no bytes: it counts as new.
  if (row.isKept()) row.original = row.cells;
  row.pending = false;
  --pending_;
}

void RecordGrid::decodeAll() const {
  if (pending_ == 0) return;
  for (size_t i = scan_; i < rows_.size() && pending_ > 0; ++i)
    if (rows_[i].pending) decodeRow(rows_[i]);
  scan_ = rows_.size();
}

bool RecordGrid::decodeSome(int count) {
  for (; scan_ < rows_.size() && pending_ > 0 && count > 0; ++scan_)
    if (rows_[scan_].pending) {
      decodeRow(rows_[scan_]);
      --count;
    }
  return pending_ > 0;
}

void RecordGrid::finishContent() {
  ids_.resize(rows_.size());
  for (size_t i = 0; i < rows_.size(); ++i) ids_[i] = takeId();
  indexChanged();
  header_ = QStringList();
  hidden_.clear();
  leading_ = 0;
  endResetModel();
  selection_.clear();
  setModified(false);
  if (observer_) {
    GridChange change;
    change.kind = GridChange::Kind::Reset;
    observer_->gridChanged(*this, change);
  }
}

int RecordGrid::rowOfId(quint64 id) const {
  if (!rowIndexValid_) {
    rowOfId_.clear();
    rowOfId_.reserve(qsizetype(ids_.size()));
    for (size_t i = 0; i < ids_.size(); ++i) rowOfId_.insert(ids_[i], int(i + 1));
    rowIndexValid_ = true;
  }
  return rowOfId_.value(id, 0);
}

QString RecordGrid::cell(int row, int column) const {
  if (column <= 0 || column > fieldCount_) return QString();
  if (row == 0) return headerText(column);
  if (row < 0 || row > recordCount()) return QString();
  return decoded(size_t(row - 1)).cells[column - 1];
}

bool RecordGrid::isCellUnchanged(int row, int column) const {
  return row >= 1 && row <= recordCount() && decoded(size_t(row - 1)).unchanged(column);
}

std::vector<QStringList> RecordGrid::records() const {
  decodeAll();
  std::vector<QStringList> out;
  out.reserve(rows_.size());
  for (const Row& r : rows_) out.push_back(r.cells);
  return out;
}

void RecordGrid::setCell(int row, int column, const QString& text) {
  if (row <= 0 || row > recordCount() || column <= 0 || column > fieldCount_) return;
  setCells({{row, column, text}});
}

void RecordGrid::setCells(const std::vector<CellEdit>& edits) {
  GridChange change;
  change.kind = GridChange::Kind::Cells;
  int top = 0, bottom = 0, left = 0, right = 0;
  for (const CellEdit& e : edits) {
    if (e.row <= 0 || e.row > recordCount() || e.column <= 0 || e.column > fieldCount_) continue;
    QString& c = decoded(size_t(e.row - 1)).cells[e.column - 1];
    if (c == e.text) continue;
    change.cells.push_back({ids_[size_t(e.row - 1)], e.column, c, e.text});
    c = e.text;
    if (change.cells.size() == 1) {
      top = bottom = e.row;
      left = right = e.column;
    } else {
      top = std::min(top, e.row);
      bottom = std::max(bottom, e.row);
      left = std::min(left, e.column);
      right = std::max(right, e.column);
    }
  }
  if (change.cells.empty()) return;
  emit dataChanged(index(top - 1, left), index(bottom - 1, right), {Qt::DisplayRole, Qt::EditRole});
  setModified(true);
  if (observer_) observer_->gridChanged(*this, change);
}

void RecordGrid::setHeaderTexts(const QStringList& texts) {
  header_ = texts;
  if (fieldCount_ > 0) emit headerDataChanged(Qt::Horizontal, 1, fieldCount_);
}

QString RecordGrid::headerText(int column) const {
  return column >= 1 && column <= header_.size() ? header_[column - 1] : QString();
}

int RecordGrid::appendRecord(QStringList fields) {
  insertRecords({{recordCount() + 1, Row(std::move(fields)), 0}});
  return recordCount();
}

void RecordGrid::insertRecords(std::vector<PlacedRecord> records) {
  if (records.empty()) return;
  std::stable_sort(records.begin(), records.end(),
                   [](const PlacedRecord& a, const PlacedRecord& b) { return a.row < b.row; });
  QSet<quint64> taken;
  for (PlacedRecord& p : records) {
    if (p.record.pending) {
      ++pending_;  // decodeRow counts it off again
      decodeRow(p.record);
    }
    fitRow(p.record);
    if (p.id == 0 || p.id >= nextId_ || rowOfId(p.id) != 0 || taken.contains(p.id)) p.id = takeId();
    taken.insert(p.id);
  }
  // In ascending order each record goes to its final row: the rows above it
  // are already in their places.
  for (size_t i = 0; i < records.size();) {
    PlacedRecord& first = records[i];
    first.row = std::clamp(first.row, 1, recordCount() + 1);
    size_t j = i + 1;
    while (j < records.size() && records[j].row <= first.row + int(j - i)) {
      records[j].row = first.row + int(j - i);
      ++j;
    }
    const int at = first.row - 1;
    beginInsertRows(QModelIndex(), at, at + int(j - i) - 1);
    for (size_t k = i; k < j; ++k) {
      rows_.insert(rows_.begin() + at + int(k - i), records[k].record);
      ids_.insert(ids_.begin() + at + int(k - i), records[k].id);
    }
    indexChanged();
    endInsertRows();
    i = j;
  }
  setModified(true);
  if (observer_) {
    GridChange change;
    change.kind = GridChange::Kind::Inserted;
    change.records = std::move(records);
    observer_->gridChanged(*this, change);
  }
}

void RecordGrid::removeRecords(std::vector<int> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  rows.erase(std::remove_if(rows.begin(), rows.end(), [&](int r) { return r < 1 || r > recordCount(); }), rows.end());
  if (rows.empty()) return;
  GridChange change;
  change.kind = GridChange::Kind::Removed;
  if (observer_) {
    change.records.reserve(rows.size());
    for (int r : rows) change.records.push_back({r, decoded(size_t(r - 1)), ids_[size_t(r - 1)]});
  }
  for (int r : rows)
    if (rows_[size_t(r - 1)].pending) --pending_;
  scan_ = 0;
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
      ids_.erase(ids_.begin() + (it->first - 1), ids_.begin() + it->second);
      indexChanged();
      endRemoveRows();
    }
  } else {
    // Many runs: one compaction pass instead of one shift per run.
    beginResetModel();
    std::vector<bool> drop(rows_.size(), false);
    for (int r : rows) drop[size_t(r - 1)] = true;
    size_t out = 0;
    for (size_t i = 0; i < rows_.size(); ++i)
      if (!drop[i]) {
        ids_[out] = ids_[i];
        rows_[out++] = std::move(rows_[i]);
      }
    rows_.resize(out);
    ids_.resize(out);
    indexChanged();
    endResetModel();
  }
  setModified(true);
  if (observer_) observer_->gridChanged(*this, change);
}

std::vector<int> RecordGrid::sortedOrder(int column, SortOrder order, bool descending) const {
  std::vector<int> start(rows_.size());
  std::iota(start.begin(), start.end(), 1);
  return sortedOrder(start, column, order, descending);
}

std::vector<int> RecordGrid::sortedOrder(const std::vector<int>& start, int column, SortOrder order,
                                         bool descending) const {
  std::vector<int> result = start;
  if (column < 1 || column > fieldCount_) return result;
  // The column's texts, of records not decoded yet without decoding the rest
  // of them; read through a const view, as a mutable cell list would detach.
  const std::vector<Row>& rows = rows_;
  std::vector<QString> texts(rows.size() + 1);
  for (size_t i = 0; i < rows.size(); ++i) texts[i + 1] = rows[i].cell(column);
  if (order == SortOrder::Numeric) {
    std::vector<double> keys(rows.size() + 1);
    for (size_t i = 1; i < texts.size(); ++i) keys[i] = NumericSortKey(texts[i]);
    const auto before = [&](int a, int b) {
      return descending ? keys[size_t(b)] < keys[size_t(a)] : keys[size_t(a)] < keys[size_t(b)];
    };
    // A file saved in its order (the common case) needs no sorting.
    if (!std::is_sorted(result.begin(), result.end(), before)) std::stable_sort(result.begin(), result.end(), before);
  } else {
    std::stable_sort(result.begin(), result.end(), [&](int a, int b) {
      const int c = QString::compare(texts[size_t(a)], texts[size_t(b)], Qt::CaseSensitive);
      return descending ? c > 0 : c < 0;
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
  for (size_t i = 0; i < order.size(); ++i) {
    const int r = order[i];
    if (r < 1 || r > recordCount() || newRow[size_t(r)] != 0) return;  // not an order of these rows
    newRow[size_t(r)] = int(i + 1);
  }
  std::vector<int> moved;
  for (int r : selectedRows()) moved.push_back(newRow[size_t(r)]);
  std::sort(moved.begin(), moved.end());
  const int current = currentRow();

  GridChange change;
  change.kind = GridChange::Kind::Reordered;
  if (observer_) change.orderBefore = ids_;

  emit layoutAboutToBeChanged();
  std::vector<Row> sorted;
  std::vector<quint64> sortedIds;
  sorted.reserve(rows_.size());
  sortedIds.reserve(rows_.size());
  for (int r : order) {
    sorted.push_back(std::move(rows_[size_t(r - 1)]));
    sortedIds.push_back(ids_[size_t(r - 1)]);
  }
  rows_ = std::move(sorted);
  ids_ = std::move(sortedIds);
  scan_ = 0;
  indexChanged();
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
  if (observer_) {
    change.orderAfter = ids_;
    observer_->gridChanged(*this, change);
  }
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
