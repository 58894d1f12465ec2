#include "tools/CsvMatch.h"

#include "tools/CsvCells.h"

#include <QHash>

#include <algorithm>

namespace v3 {

namespace {

// Whether the CSV gives the cell back as it is (as exported: a code without
// its trailing zero bytes).
bool sameCell(const QString& csv, const QString& now) {
  return csv == now || csv == CsvUnescapeCell(CsvEscapeCell(now));
}

// Which grid row (0-based, -1 for none) each record came from.
std::vector<int> matchGrid(const RecordStore& grid, const std::vector<QStringList>& records, int* ambiguous) {
  const int k = grid.fieldCount();
  const int n = grid.recordCount();
  std::vector<std::optional<QString>> keys;
  keys.reserve(size_t(n));
  for (int r = 1; r <= n; ++r) keys.push_back(grid.cell(r, 1));
  return MatchCsvRows(
      records, keys,
      [&](size_t row, size_t record) {
        for (int c = 1; c <= k; ++c)
          if (!sameCell(records[row].value(c - 1), grid.cell(int(record) + 1, c))) return false;
        return true;
      },
      ambiguous);
}

ImportCounts countMatches(const std::vector<int>& from, size_t existing,
                          const std::function<bool(size_t row, size_t record)>& sameContent) {
  ImportCounts counts;
  int matched = 0;
  for (size_t j = 0; j < from.size(); ++j) {
    if (from[j] < 0) {
      ++counts.added;
      continue;
    }
    ++matched;
    if (sameContent(j, size_t(from[j])))
      ++counts.unchanged;
    else
      ++counts.changed;
  }
  counts.removed = int(existing) - matched;
  return counts;
}

}  // namespace

ImportCounts CountReplace(const RecordStore& grid, const std::vector<QStringList>& records, int* ambiguous) {
  const std::vector<int> from = matchGrid(grid, records, ambiguous);
  const int k = grid.fieldCount();
  return countMatches(from, size_t(grid.recordCount()), [&](size_t row, size_t record) {
    for (int c = 1; c <= k; ++c)
      if (!sameCell(records[row].value(c - 1), grid.cell(int(record) + 1, c))) return false;
    return true;
  });
}

void ReplaceRecords(RecordStore& grid, const std::vector<QStringList>& records,
                    const std::function<void(int done)>& progress) {
  constexpr int kChunk = 2000;
  const int k = grid.fieldCount();
  const int n = grid.recordCount();
  const std::vector<int> matched = matchGrid(grid, records, nullptr);
  std::vector<int> from(records.size(), 0);  // grid rows, 0 for none
  std::vector<bool> used(size_t(n) + 1, false);
  for (size_t j = 0; j < records.size(); ++j)
    if (matched[j] >= 0) used[size_t(from[j] = matched[j] + 1)] = true;
  std::vector<quint64> ids(records.size(), 0);
  for (size_t j = 0; j < records.size(); ++j)
    if (from[j] > 0) ids[j] = grid.recordId(from[j]);

  // The records no CSV row came from go; the others take the CSV's order;
  // the new ones go in at their places.
  std::vector<int> surplus;
  for (int r = 1; r <= n; ++r)
    if (!used[size_t(r)]) surplus.push_back(r);
  if (!surplus.empty()) grid.removeRecords(std::move(surplus));
  std::vector<int> order;
  for (quint64 id : ids)
    if (id != 0) order.push_back(grid.rowOfId(id));
  grid.applyOrder(order);
  std::vector<RecordStore::PlacedRecord> extra;
  for (size_t j = 0; j < records.size(); ++j)
    if (from[j] == 0) extra.push_back({int(j) + 1, RecordStore::Row(records[j]), 0});
  if (!extra.empty()) grid.insertRecords(std::move(extra));

  // Then only the cells whose text differs are set.
  const int total = int(records.size());
  for (int first = 0; first < total; first += kChunk) {
    std::vector<RecordStore::CellEdit> edits;
    for (int r = first; r < std::min(total, first + kChunk); ++r) {
      if (from[size_t(r)] == 0) continue;  // went in as it is
      for (int c = 1; c <= k; ++c) {
        const QString text = records[size_t(r)].value(c - 1);
        // A cell the CSV gives back as it was exported (a code without its
        // trailing zero bytes) is left as it is.
        if (!sameCell(text, grid.cell(r + 1, c))) edits.push_back({r + 1, c, text});
      }
    }
    if (!edits.empty()) grid.setCells(edits);
    if (progress) progress(std::min(total, first + kChunk));
  }
  if (progress) progress(total);
}
std::vector<int> MatchCsvRows(const std::vector<QStringList>& rows, const std::vector<std::optional<QString>>& keys,
                              const std::function<bool(size_t row, size_t record)>& sameContent, int* ambiguous) {
  if (ambiguous) *ambiguous = -1;
  QHash<QString, std::vector<int>> byKey;
  for (size_t i = 0; i < keys.size(); ++i)
    if (keys[i]) byKey[CsvUnescapeCell(CsvEscapeCell(*keys[i]))].push_back(int(i));
  std::vector<int> from(rows.size(), -1);
  std::vector<bool> used(keys.size(), false);
  // The rows of each number, in the CSV's order.
  QHash<QString, std::vector<size_t>> rowsOf;
  std::vector<QString> order;
  for (size_t j = 0; j < rows.size(); ++j) {
    const QString key = rows[j].value(0);
    if (!byKey.contains(key)) continue;
    std::vector<size_t>& list = rowsOf[key];
    if (list.empty()) order.push_back(key);
    list.push_back(j);
  }
  for (const QString& key : order) {
    const std::vector<int>& records = *byKey.constFind(key);
    const std::vector<size_t>& list = rowsOf[key];
    std::vector<size_t> left;
    // Rows and records are compared pairwise: a number shared by thousands
    // of records is matched by occurrence only.
    const bool compare = records.size() > 1 && sameContent && double(records.size()) * double(list.size()) <= 4e6;
    if (compare) {
      // The records given back whole first.
      for (size_t j : list) {
        for (int r : records)
          if (!used[size_t(r)] && sameContent(j, size_t(r))) {
            used[size_t(from[j] = r)] = true;
            break;
          }
        if (from[j] < 0) left.push_back(j);
      }
    } else {
      left = list;
    }
    std::vector<int> free;
    for (int r : records)
      if (!used[size_t(r)]) free.push_back(r);
    if (ambiguous && *ambiguous < 0 && compare && !left.empty() && free.size() > 1) *ambiguous = int(left.front());
    for (size_t i = 0; i < left.size() && i < free.size(); ++i) used[size_t(from[left[i]] = free[i])] = true;
  }
  for (size_t j = 0; j < rows.size() && j < keys.size(); ++j)
    if (from[j] < 0 && keys[j] && !used[j]) {
      from[j] = int(j);
      used[j] = true;
    }
  return from;
}

std::vector<TableRecord> MatchCsvRecords(std::vector<QStringList> rows, const std::vector<TableRecord>& existing,
                                         ImportCounts* counts, int* ambiguous) {
  // Only a record read from the file has bytes worth finding.
  std::vector<std::optional<QString>> keys;
  keys.reserve(existing.size());
  for (const TableRecord& r : existing) keys.push_back(r.isKept() ? std::optional<QString>(r.cell(1)) : std::nullopt);
  auto sameContent = [&](size_t row, size_t record) {
    const QStringList& cells = existing[record].cells;
    const QStringList& given = rows[row];
    if (given.size() != cells.size()) return false;
    for (qsizetype c = 0; c < cells.size(); ++c)
      if (!sameCell(given.at(c), cells.at(c))) return false;
    return true;
  };
  const std::vector<int> from = MatchCsvRows(rows, keys, sameContent, ambiguous);
  if (counts) *counts = countMatches(from, existing.size(), sameContent);
  std::vector<TableRecord> out;
  out.reserve(rows.size());
  for (size_t j = 0; j < rows.size(); ++j) {
    QStringList& cells = rows[j];
    if (from[j] < 0) {
      out.emplace_back(std::move(cells));
      continue;
    }
    TableRecord record = existing[size_t(from[j])];
    for (qsizetype c = 0; c < cells.size() && c < record.cells.size(); ++c) {
      // A cell the CSV gives back as it was exported stays as it is (as
      // read, for a record not edited since), as ReplaceRecords leaves it.
      // The record's cells are shared with `existing` until one is set.
      if (sameCell(cells.at(c), record.cells.at(c))) continue;
      record.cells[c] = std::move(cells[c]);
    }
    out.push_back(std::move(record));
  }
  return out;
}
}  // namespace v3
