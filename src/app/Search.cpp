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


#include <limits>

namespace v3 {

QStringList FilterTextsFor(const QString& typed) {
  QStringList texts;
  if (typed.isEmpty()) return texts;
  texts << typed;
  const QString traditional = SearchTextFor(typed);
  if (traditional != typed) texts << traditional;
  return texts;
}

std::vector<char> MatchingRows(const RecordGrid& grid, const std::vector<int>& columns, const QStringList& searchTexts) {
  const int n = grid.recordCount();
  std::vector<char> match(size_t(n), searchTexts.isEmpty() ? char(1) : char(0));
  if (searchTexts.isEmpty()) return match;
  // The same contiguous, case-sensitive test as CellMatches. Cells are
  // short: a scan for the first character beats building a matcher's table.
  std::vector<QStringView> texts;
  qsizetype shortest = std::numeric_limits<qsizetype>::max();
  for (const QString& t : searchTexts) {
    if (t.isEmpty()) continue;
    texts.emplace_back(t);
    shortest = std::min(shortest, t.size());
  }
  if (texts.empty()) return std::vector<char>(size_t(n), char(1));
  std::vector<int> fields;
  for (int c : columns)
    if (c >= 1 && c <= grid.fieldCount()) fields.push_back(c - 1);
  for (int r = 0; r < n; ++r) {
    const QStringList& row = grid.record(r + 1);
    for (int f : fields) {
      const QString& cell = row[f];
      if (cell.size() < shortest) continue;
      bool hit = false;
      for (QStringView t : texts)
        if (QStringView(cell).contains(t, Qt::CaseSensitive)) {
          hit = true;
          break;
        }
      if (hit) {
        match[size_t(r)] = 1;
        break;
      }
    }
  }
  return match;
}

std::vector<char> FilterIndex::match(const RecordGrid& grid, const std::vector<int>& columns,
                                     const QStringList& searchTexts) {
  const int n = grid.recordCount();
  if (searchTexts.isEmpty()) return std::vector<char>(size_t(n), char(1));
  if (!built_ || columns != columns_ || int(rows_.size()) != n) {
    // A separator no typed text holds keeps a match inside one cell.
    constexpr QChar kSeparator(u'\x1f');
    columns_ = columns;
    rows_.assign(size_t(n), QString());
    for (int r = 0; r < n; ++r) {
      QString& joined = rows_[size_t(r)];
      const QStringList& row = grid.record(r + 1);
      for (int c : columns)
        if (c >= 1 && c <= grid.fieldCount()) {
          joined += row[c - 1];
          joined += kSeparator;
        }
    }
    built_ = true;
  }
  std::vector<QStringView> texts;
  for (const QString& t : searchTexts)
    if (!t.isEmpty() && !t.contains(QChar(u'\x1f'))) texts.emplace_back(t);
  std::vector<char> match(size_t(n), char(0));
  for (int r = 0; r < n; ++r)
    for (QStringView t : texts)
      if (QStringView(rows_[size_t(r)]).contains(t, Qt::CaseSensitive)) {
        match[size_t(r)] = 1;
        break;
      }
  return match;
}

}  // namespace v3
