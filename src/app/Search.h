#pragma once
#include <QString>
#include <QStringList>

namespace v3 {

class RecordGrid;

// The text the find dialog looks for: the typed text in its Traditional
// form, since the grid holds the game's texts as stored.
QString SearchTextFor(const QString& typed);

// Whether the cell holds the search text as one contiguous part, compared
// character by character (case-sensitive, no wildcards, no trimming).
bool CellMatches(const QString& cell, const QString& searchText);

// The first grid row from `startRow` on whose cell in `column` matches;
// 0 when none does. No wrap-around.
int FindRow(const RecordGrid& grid, int column, const QString& searchText, int startRow = 1);

}  // namespace v3

#include <vector>

namespace v3 {

// The filter: for every record (grid row r at index r - 1) whether one of
// the given columns holds one of the search texts, matched as find matches
// (contiguous, case-sensitive). No search text matches every record.
std::vector<char> MatchingRows(const RecordGrid& grid, const std::vector<int>& columns, const QStringList& searchTexts);

// The filter's texts of every record: the cells of the chosen columns
// joined into one block of text, record after record, so that each
// keystroke scans one block for each search text instead of every cell on
// its own. Built on first use; stale once the grid changes: invalidate()
// for a change of the rows, invalidateRows() for an edit of some records.
class FilterIndex {
 public:
  void invalidate() { built_ = false; }
  // Records first..last (1-based) are read again on the next match.
  void invalidateRows(int first, int last);
  // As MatchingRows(grid, columns, searchTexts).
  std::vector<char> match(const RecordGrid& grid, const std::vector<int>& columns, const QStringList& searchTexts);

 private:
  void build(const RecordGrid& grid, const std::vector<int>& columns);
  void refreshStale(const RecordGrid& grid);
  void appendRecord(const RecordGrid& grid, int row, QString& into) const;

  bool built_ = false;
  std::vector<int> columns_;
  QString text_;                // every record's cells, each followed by a separator
  std::vector<qsizetype> starts_;  // record r starts at starts_[r - 1]; one more entry: the end
  std::vector<int> stale_;      // records edited since the build
};

// What the filter looks for: the typed text as typed and in its Traditional
// form, so that Simplified and Traditional input find the game's texts and
// texts typed into the grid alike.
QStringList FilterTextsFor(const QString& typed);

}  // namespace v3
