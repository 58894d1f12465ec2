#include "tools/CsvMatch.h"

#include "tools/CsvCells.h"

#include <QHash>

#include <algorithm>

namespace v3 {

void ReplaceRecords(RecordGrid& grid, const std::vector<QStringList>& records,
                    const std::function<void(int done)>& progress) {
  constexpr int kChunk = 2000;
  const int k = grid.fieldCount();
  const int n = grid.recordCount();
  std::vector<std::optional<QString>> keys;
  keys.reserve(size_t(n));
  for (int r = 1; r <= n; ++r) keys.push_back(grid.cell(r, 1));
  const std::vector<int> matched = MatchCsvRows(records, keys);
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
  std::vector<RecordGrid::PlacedRecord> extra;
  for (size_t j = 0; j < records.size(); ++j)
    if (from[j] == 0) extra.push_back({int(j) + 1, RecordGrid::Row(records[j]), 0});
  if (!extra.empty()) grid.insertRecords(std::move(extra));

  // Then only the cells whose text differs are set.
  const int total = int(records.size());
  for (int first = 0; first < total; first += kChunk) {
    std::vector<RecordGrid::CellEdit> edits;
    for (int r = first; r < std::min(total, first + kChunk); ++r) {
      if (from[size_t(r)] == 0) continue;  // went in as it is
      for (int c = 1; c <= k; ++c) {
        const QString text = records[size_t(r)].value(c - 1);
        // A cell the CSV gives back as it was exported (a code without its
        // trailing zero bytes) is left as it is.
        const QString now = grid.cell(r + 1, c);
        if (now != text && CsvUnescapeCell(CsvEscapeCell(now)) != text) edits.push_back({r + 1, c, text});
      }
    }
    if (!edits.empty()) grid.setCells(edits);
    if (progress) progress(std::min(total, first + kChunk));
  }
  if (progress) progress(total);
}
std::vector<int> MatchCsvRows(const std::vector<QStringList>& rows, const std::vector<std::optional<QString>>& keys) {
  QHash<QString, std::vector<int>> byKey;
  for (size_t i = 0; i < keys.size(); ++i)
    if (keys[i]) byKey[CsvUnescapeCell(CsvEscapeCell(*keys[i]))].push_back(int(i));
  QHash<QString, size_t> seen;
  std::vector<int> from(rows.size(), -1);
  std::vector<bool> used(keys.size(), false);
  for (size_t j = 0; j < rows.size(); ++j) {
    const QString key = rows[j].value(0);
    const size_t occurrence = seen[key]++;
    const auto it = byKey.constFind(key);
    if (it != byKey.constEnd() && occurrence < it->size()) used[size_t(from[j] = (*it)[occurrence])] = true;
  }
  for (size_t j = 0; j < rows.size() && j < keys.size(); ++j)
    if (from[j] < 0 && keys[j] && !used[j]) {
      from[j] = int(j);
      used[j] = true;
    }
  return from;
}

std::vector<TableRecord> MatchCsvRecords(std::vector<QStringList> rows, const std::vector<TableRecord>& existing) {
  // Only a record read from the file has bytes worth finding.
  std::vector<std::optional<QString>> keys;
  keys.reserve(existing.size());
  for (const TableRecord& r : existing) keys.push_back(r.isKept() ? std::optional<QString>(r.cell(1)) : std::nullopt);
  const std::vector<int> from = MatchCsvRows(rows, keys);
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
      const QString& now = record.cells[c];
      if (cells[c] == now || cells[c] == CsvUnescapeCell(CsvEscapeCell(now))) continue;
      record.cells[c] = cells[c];
    }
    out.push_back(std::move(record));
  }
  return out;
}
}  // namespace v3
