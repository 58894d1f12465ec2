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
// joined into blocks of text, record after record, so that each keystroke
// scans a block for each search text instead of every cell on its own. The
// columns of numbers have a block of their own, scanned only for a text
// that could be part of a number. Built on first use; stale once the grid changes: invalidate()
// for a change of the rows, invalidateRows() for an edit of some records.
class FilterIndex {
 public:
  void invalidate() { built_ = false; }
  // Records first..last (1-based) are read again on the next match.
  void invalidateRows(int first, int last);
  // As MatchingRows(grid, columns, searchTexts).
  std::vector<char> match(const RecordGrid& grid, const std::vector<int>& columns, const QStringList& searchTexts);

 private:
  // Some of the columns' cells, record after record, each followed by a separator.
  struct Block {
    std::vector<int> columns;
    QString text;
    std::vector<qsizetype> starts;  // record r starts at starts[r - 1]; one more entry: the end
    void append(const QStringList& cells, QString& into) const;
    void mark(QStringView searchText, std::vector<char>& match) const;  // the records that hold it
  };
  void build(const RecordGrid& grid, const std::vector<int>& columns);
  // Reads the edited records again; false when one of them no longer fits
  // its blocks (a cell of a column of numbers that is none now).
  bool refreshStale(const RecordGrid& grid);

  bool built_ = false;
  std::vector<int> wanted_;  // the columns asked for
  Block numbers_;            // the columns whose every cell is a number
  Block texts_;              // the others
  std::vector<int> stale_;   // records edited since the build
};

// What the filter looks for: the typed text as typed and in its Traditional
// form, so that Simplified and Traditional input find the game's texts and
// texts typed into the grid alike.
QStringList FilterTextsFor(const QString& typed);

}  // namespace v3
