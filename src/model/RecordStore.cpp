#include "model/RecordStore.h"

#include "text/Convert.h"
#include "text/Language.h"

#include <QSet>

#include <algorithm>
#include <numeric>

namespace v3 {

namespace {
void fitList(QStringList& list, int size) {
  if (list.size() == size) return;
  while (list.size() < size) list.append(QString());
  if (list.size() > size) list = list.mid(0, size);
}
}  // namespace

void RecordStore::fitRow(Row& row) const {
  fitList(row.cells, fieldCount_);
  if (row.isKept()) fitList(row.original, fieldCount_);
}

void RecordStore::reset(int fieldCount, std::vector<QStringList> rows) {
  std::vector<TableRecord> records;
  records.reserve(rows.size());
  for (QStringList& r : rows) records.emplace_back(std::move(r));
  resetRecords(fieldCount, std::move(records));
}

void RecordStore::startContent(int fieldCount) {
  if (view_) view_->aboutToReset();
  fieldCount_ = fieldCount;
  rows_.clear();
  source_.reset();
  pending_ = 0;
  scan_ = 0;
}

void RecordStore::resetRecords(int fieldCount, std::vector<TableRecord> records) {
  startContent(fieldCount);
  rows_.reserve(records.size());
  for (TableRecord& r : records) rows_.emplace_back(std::move(r));
  for (Row& r : rows_) fitRow(r);
  finishContent();
}

void RecordStore::resetKept(int fieldCount, std::vector<KeptBytes> records,
                            std::shared_ptr<const RecordSource> source) {
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

void RecordStore::decodeRow(Row& row) const {
  row.cells = source_ ? source_->cells(row.kept) : QStringList();
  row.source = nullptr;
  fitList(row.cells, fieldCount_);
  // A record beyond the end of the file has no bytes: it counts as new.
  if (row.isKept()) row.original = row.cells;
  row.pending = false;
  --pending_;
}

void RecordStore::decodeAll() const {
  if (pending_ == 0) return;
  for (size_t i = scan_; i < rows_.size() && pending_ > 0; ++i)
    if (rows_[i].pending) decodeRow(rows_[i]);
  scan_ = rows_.size();
}

bool RecordStore::decodeSome(int count) {
  for (; scan_ < rows_.size() && pending_ > 0 && count > 0; ++scan_)
    if (rows_[scan_].pending) {
      decodeRow(rows_[scan_]);
      --count;
    }
  return pending_ > 0;
}

void RecordStore::finishContent() {
  ids_.resize(rows_.size());
  for (size_t i = 0; i < rows_.size(); ++i) ids_[i] = takeId();
  indexChanged();
  header_ = QStringList();
  hidden_.clear();
  leading_ = 0;
  if (view_) view_->wasReset();
  setModified(false);
  if (observer_) {
    GridChange change;
    change.kind = GridChange::Kind::Reset;
    observer_->gridChanged(*this, change);
  }
}

int RecordStore::rowOfId(quint64 id) const {
  if (!rowIndexValid_) {
    rowOfId_.clear();
    rowOfId_.reserve(qsizetype(ids_.size()));
    for (size_t i = 0; i < ids_.size(); ++i) rowOfId_.insert(ids_[i], int(i + 1));
    rowIndexValid_ = true;
  }
  return rowOfId_.value(id, 0);
}

QString RecordStore::cell(int row, int column) const {
  if (column <= 0 || column > fieldCount_) return QString();
  if (row == 0) return headerText(column);
  if (row < 0 || row > recordCount()) return QString();
  return decoded(size_t(row - 1)).cells[column - 1];
}

bool RecordStore::isCellUnchanged(int row, int column) const {
  return row >= 1 && row <= recordCount() && decoded(size_t(row - 1)).unchanged(column);
}

std::vector<QStringList> RecordStore::records() const {
  decodeAll();
  std::vector<QStringList> out;
  out.reserve(rows_.size());
  for (const Row& r : rows_) out.push_back(r.cells);
  return out;
}

void RecordStore::setCell(int row, int column, const QString& text) {
  if (row <= 0 || row > recordCount() || column <= 0 || column > fieldCount_) return;
  setCells({{row, column, text}});
}

void RecordStore::setCells(const std::vector<CellEdit>& edits) {
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
  if (view_) view_->cellsChanged(top, left, bottom, right);
  setModified(true);
  if (observer_) observer_->gridChanged(*this, change);
}

void RecordStore::setHeaderTexts(const QStringList& texts) {
  header_ = texts;
  if (fieldCount_ > 0 && view_) view_->headerChanged();
}

QString RecordStore::headerText(int column) const {
  return column >= 1 && column <= header_.size() ? header_[column - 1] : QString();
}

int RecordStore::appendRecord(QStringList fields) {
  insertRecords({{recordCount() + 1, Row(std::move(fields)), 0}});
  return recordCount();
}

void RecordStore::insertRecords(std::vector<PlacedRecord> records) {
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
    if (view_) view_->aboutToInsert(at + 1, at + int(j - i));
    for (size_t k = i; k < j; ++k) {
      rows_.insert(rows_.begin() + at + int(k - i), records[k].record);
      ids_.insert(ids_.begin() + at + int(k - i), records[k].id);
    }
    indexChanged();
    if (view_) view_->wasInserted();
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

void RecordStore::removeRecords(std::vector<int> rows) {
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
      if (view_) view_->aboutToRemove(it->first, it->second);
      rows_.erase(rows_.begin() + (it->first - 1), rows_.begin() + it->second);
      ids_.erase(ids_.begin() + (it->first - 1), ids_.begin() + it->second);
      indexChanged();
      if (view_) view_->wasRemoved();
    }
  } else {
    // Many runs: one compaction pass instead of one shift per run.
    if (view_) view_->aboutToReset();
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
    if (view_) view_->wasReset();
  }
  setModified(true);
  if (observer_) observer_->gridChanged(*this, change);
}

std::vector<int> RecordStore::sortedOrder(int column, SortOrder order, bool descending) const {
  std::vector<int> start(rows_.size());
  std::iota(start.begin(), start.end(), 1);
  return sortedOrder(start, column, order, descending);
}

std::vector<int> RecordStore::sortedOrder(const std::vector<int>& start, int column, SortOrder order,
                                          bool descending) const {
  if (column < 1 || column > fieldCount_) return start;
  // The column's texts, of records not decoded yet without decoding the rest
  // of them; read through a const view, as a mutable cell list would detach.
  const std::vector<Row>& rows = rows_;
  return SortedRows(
      start, int(rows.size()), [&](int row) { return rows[size_t(row - 1)].cell(column); }, order, descending,
      [&](int row) { return rows[size_t(row - 1)].number(column); });
}

std::vector<int> SortedRows(const std::vector<int>& start, int count, const std::function<QString(int row)>& cell,
                            RecordStore::SortOrder order, bool descending, const RowNumber& number) {
  std::vector<int> result = start;
  if (order == RecordStore::SortOrder::Numeric) {
    const std::vector<double> keys = NumericSortKeys(count, cell, number);
    const auto before = [&](int a, int b) {
      return descending ? keys[size_t(b)] < keys[size_t(a)] : keys[size_t(a)] < keys[size_t(b)];
    };
    // A file saved in its order (the common case) needs no sorting.
    if (!std::is_sorted(result.begin(), result.end(), before)) std::stable_sort(result.begin(), result.end(), before);
  } else {
    std::vector<QString> texts(size_t(count) + 1);
    for (int r = 1; r <= count; ++r) texts[size_t(r)] = cell(r);
    const auto before = [&](int a, int b) {
      const int c = QString::compare(texts[size_t(a)], texts[size_t(b)], Qt::CaseSensitive);
      return descending ? c > 0 : c < 0;
    };
    if (!std::is_sorted(result.begin(), result.end(), before)) std::stable_sort(result.begin(), result.end(), before);
  }
  return result;
}

std::vector<double> NumericSortKeys(int count, const std::function<QString(int row)>& cell, const RowNumber& number) {
  // Only the keys are kept, not the texts they come from.
  std::vector<double> keys(size_t(std::max(count, 0)) + 1);
  for (int r = 1; r <= count; ++r) {
    const std::optional<int64_t> n = number ? number(r) : std::nullopt;
    keys[size_t(r)] = n ? double(*n) : NumericSortKey(cell(r));
  }
  return keys;
}

void RecordStore::applyOrder(const std::vector<int>& order) {
  if (order.size() != rows_.size()) return;
  bool identity = true;
  for (size_t i = 0; i < order.size(); ++i)
    if (order[i] != int(i + 1)) identity = false;
  if (identity) return;
  std::vector<int> newRow(rows_.size() + 1, 0);
  for (size_t i = 0; i < order.size(); ++i) {
    const int r = order[i];
    if (r < 1 || r > recordCount() || newRow[size_t(r)] != 0) return;  // not an order of these rows
    newRow[size_t(r)] = int(i + 1);
  }

  GridChange change;
  change.kind = GridChange::Kind::Reordered;
  if (observer_) change.orderBefore = ids_;

  if (view_) view_->aboutToReorder(newRow);
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
  if (view_) view_->wasReordered();
  setModified(true);
  if (observer_) {
    change.orderAfter = ids_;
    observer_->gridChanged(*this, change);
  }
}

void RecordStore::setModified(bool m) {
  if (modified_ == m) return;
  modified_ = m;
  if (view_) view_->modificationChanged(m);
}

}  // namespace v3
