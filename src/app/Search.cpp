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

std::vector<char> MatchingRows(const RecordGrid& grid, const std::vector<int>& columns,
                               const QStringList& searchTexts) {
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

namespace {

// A separator no typed text holds keeps a match inside one cell.
constexpr QChar kSeparator(u'\x1f');
// More edited records than this and the whole block is built again.
constexpr size_t kMostStaleRows = 1024;

// Whether a cell holds nothing but what a number is written with: such
// cells can hold no text that has another character.
bool IsNumberText(QStringView text) {
  for (QChar c : text)
    if (!((c >= u'0' && c <= u'9') || c == u'-' || c == u'+' || c == u'.' || c == u' ')) return false;
  return true;
}

}  // namespace

void FilterIndex::invalidateRows(int first, int last) {
  if (!built_) return;
  if (first < 1 || last < first || last >= int(texts_.starts.size())) {
    built_ = false;
    return;
  }
  for (int r = first; r <= last && built_; ++r) {
    stale_.push_back(r);
    if (stale_.size() > kMostStaleRows) built_ = false;
  }
}

void FilterIndex::Block::append(const QStringList& cells, QString& into) const {
  for (int c : columns)
    if (c >= 1 && c <= int(cells.size())) {
      into += cells[c - 1];
      into += kSeparator;
    }
}

void FilterIndex::build(const RecordGrid& grid, const std::vector<int>& columns) {
  const int n = grid.recordCount();
  wanted_ = columns;
  // The columns whose every cell is a number go into a block of their own,
  // which a text with any other character need not look through.
  std::vector<char> numbers(columns.size(), char(1));
  for (int r = 1; r <= n; ++r) {
    const QStringList& cells = grid.record(r);
    for (size_t k = 0; k < columns.size(); ++k)
      if (numbers[k] && columns[k] <= int(cells.size()) && !IsNumberText(cells[columns[k] - 1])) numbers[k] = 0;
  }
  numbers_ = Block();
  texts_ = Block();
  for (size_t k = 0; k < columns.size(); ++k) (numbers[k] ? numbers_ : texts_).columns.push_back(columns[k]);
  for (Block* b : {&numbers_, &texts_}) {
    b->starts.assign(size_t(n) + 1, 0);
    for (int r = 1; r <= n; ++r) {
      b->starts[size_t(r - 1)] = b->text.size();
      b->append(grid.record(r), b->text);
    }
    b->starts[size_t(n)] = b->text.size();
    b->text.squeeze();
  }
  stale_.clear();
  built_ = true;
}

bool FilterIndex::refreshStale(const RecordGrid& grid) {
  if (stale_.empty()) return true;
  std::sort(stale_.begin(), stale_.end());
  stale_.erase(std::unique(stale_.begin(), stale_.end()), stale_.end());
  // An edit that put other text into a column of numbers moves the column.
  for (int r : stale_) {
    const QStringList& cells = grid.record(r);
    for (int c : numbers_.columns)
      if (c <= int(cells.size()) && !IsNumberText(cells[c - 1])) return false;
  }
  for (Block* b : {&numbers_, &texts_}) {
    std::vector<QString> parts(stale_.size());
    bool sameLengths = true;
    for (size_t i = 0; i < stale_.size(); ++i) {
      b->append(grid.record(stale_[i]), parts[i]);
      const size_t r = size_t(stale_[i]);
      sameLengths = sameLengths && parts[i].size() == b->starts[r] - b->starts[r - 1];
    }
    // Records whose part keeps its length (an edit in the other block's
    // columns, a number for another of as many digits) are written over in place.
    if (sameLengths) {
      for (size_t i = 0; i < stale_.size(); ++i) {
        const qsizetype at = b->starts[size_t(stale_[i]) - 1];
        if (QStringView(b->text).mid(at, parts[i].size()) != parts[i])
          std::copy(parts[i].cbegin(), parts[i].cend(), b->text.begin() + at);
      }
      continue;
    }
    // Otherwise one pass: the parts between the edited records are copied as
    // they are, each edited record's part is put in, the starts after it move along.
    QString fresh;
    fresh.reserve(b->text.size() + 256);
    qsizetype copied = 0;  // of the old block
    qsizetype shift = 0;
    size_t next = 0;
    for (size_t k = 0; k < b->starts.size(); ++k) {
      const qsizetype oldStart = b->starts[k];
      b->starts[k] += shift;
      if (next < stale_.size() && size_t(stale_[next]) == k + 1) {
        fresh += QStringView(b->text).mid(copied, oldStart - copied);
        fresh += parts[next];
        copied = b->starts[k + 1];  // the old end of the record, not moved yet
        shift = fresh.size() - copied;
        ++next;
      }
    }
    fresh += QStringView(b->text).mid(copied);
    b->text = std::move(fresh);
  }
  stale_.clear();
  return true;
}

void FilterIndex::Block::mark(QStringView t, std::vector<char>& match) const {
  const QStringView block(text);
  const QStringView rest = t.mid(1);
  const QChar first = t.front();
  const size_t n = match.size();
  // The first character is found with a fast scan of the whole block; at a
  // full match the record is marked and the scan goes on with the next record.
  qsizetype at = 0;
  size_t row = 0;
  while ((at = block.indexOf(first, at)) >= 0) {
    if (block.size() - at - 1 < rest.size()) break;
    if (block.mid(at + 1, rest.size()) != rest) {
      ++at;
      continue;
    }
    row = size_t(std::upper_bound(starts.begin() + qsizetype(row), starts.end(), at) - starts.begin()) - 1;
    match[row] = 1;
    at = starts[row + 1];
    // Records another text already matched need no second look.
    while (row + 1 < n && match[row + 1]) at = starts[++row + 1];
  }
}

std::vector<char> FilterIndex::match(const RecordGrid& grid, const std::vector<int>& columns,
                                     const QStringList& searchTexts) {
  const int n = grid.recordCount();
  if (searchTexts.isEmpty()) return std::vector<char>(size_t(n), char(1));
  std::vector<int> wanted;
  for (int c : columns)
    if (c >= 1 && c <= grid.fieldCount()) wanted.push_back(c);
  if (!built_ || wanted != wanted_ || int(texts_.starts.size()) != n + 1 || !refreshStale(grid)) build(grid, wanted);

  std::vector<char> match(size_t(n), char(0));
  for (const QString& t : searchTexts) {
    if (t.isEmpty() || t.contains(kSeparator)) continue;
    texts_.mark(t, match);
    if (IsNumberText(t)) numbers_.mark(t, match);
  }
  return match;
}

}  // namespace v3
