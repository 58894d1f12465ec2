#pragma once
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

#include "model/RecordStore.h"
#include "tables/StandaloneTables.h"
#include "tables/Table.h"
#include "text/Language.h"
#include "text/Progress.h"
#include "tools/Diff.h"
#include "tools/ToolTable.h"

namespace v3 {

// Batch edits: a few lines of instructions that pick records by their cells
// and change cells of every record picked.
//
//   # comment (a '#' at the start of a line or after a blank; \# is a '#')
//   =COL=VALUE     the cell equals VALUE (as typed or in its Traditional form;
//                  two numbers are compared as numbers)
//   !COL=VALUE     the cell differs from VALUE
//   >COL=N         the cell is a number greater than N
//   <COL=N         the cell is a number less than N
//   ~COL=TEXT      the cell contains TEXT, as typed or in its Traditional form
//   .COL=VALUE     set the cell to VALUE (\$ at its start for a leading '$')
//   .COL=$COL2     set the cell to the text of column COL2
//   .COL+=N  .COL-=N  .COL*=F
//                  arithmetic on the cell's number (an empty cell is 0); the
//                  result is rounded to an integer as a save rounds (an exact
//                  half to the even neighbour), computed exactly in decimal
//   ... !clamp     (after a set) a result the field cannot hold is brought to
//                  the nearest value it can hold instead of being refused
//
// COL is a column's header text in either script, or its number 1..K. Every
// filter must hold for a record to be picked; the sets are carried out in
// their order, each seeing the cells as the sets before it left them. Every
// changed record is encoded in memory as a save encodes it: a value it
// cannot store is refused naming the record, the column and the line.

struct BatchError {
  int line = 0;  // 1-based line of the instructions, 0 for the text as a whole
  QString reason;
  QString message() const;  // "line N: reason"
};

// A decimal number with six places, exact.
struct Decimal {
  static constexpr int kPlaces = 6;
  __int128 scaled = 0;  // the value times 10^kPlaces
  // Blanks around it, a sign, up to 12 digits before and 6 after the point;
  // an empty text is no number.
  static bool parse(const QString& text, Decimal* out);
  // Rounded to an integer, an exact half to the even neighbour.
  __int128 rounded() const;
};

struct BatchFilter {
  enum Op { Equal, Differ, Greater, Less, Contains };
  Op op = Equal;
  int column = 0;     // 1..K
  QStringList texts;  // the value as typed and in its Traditional form
  Decimal number;     // Greater, Less; Equal and Differ when hasNumber
  bool hasNumber = false;
  int line = 0;
};

struct BatchSet {
  enum Op { Assign, Copy, Add, Subtract, Multiply };
  Op op = Assign;
  int column = 0;   // 1..K
  QString text;     // Assign
  int source = 0;   // Copy: the column copied
  Decimal operand;  // Add, Subtract, Multiply
  bool clamp = false;
  int line = 0;
};

struct BatchProgram {
  std::vector<BatchFilter> filters;
  std::vector<BatchSet> sets;
};

// The names each column of a table goes by, for the instructions: its header
// in the language files of both scripts, in either script (index 0 is column 1).
std::vector<QStringList> BatchColumnNames(const LanguageFile& texts, const QString& tableFileName, int fieldCount);
// The same for any table of the tools (a standalone table's columns go by
// its window's captions, and by its design texts without a language file).
std::vector<QStringList> BatchColumnNames(const ToolTable& table);

// Reads the instructions. False, with the first wrong line, when a line is
// no instruction, names no column or a column of two names, or gives no
// number where one is needed.
bool ParseBatch(const QString& text, const std::vector<QStringList>& columnNames, int fieldCount, BatchProgram* program,
                BatchError* error);

// A change that cannot be made.
struct BatchRefusal {
  int row = 0;     // grid row 1..N
  QString key;     // the record's key, as diff names it
  int column = 0;  // 1..K
  int line = 0;    // the instruction that made the value, 0 when unknown
  QString reason;
};

struct BatchResult {
  std::vector<int> matched;                  // grid rows every filter holds for, ascending
  std::vector<RecordStore::CellEdit> edits;  // the cells whose text changes
  std::vector<BatchRefusal> refusals;
  int clamped = 0;       // cells brought into their field's range
  bool stopped = false;  // the progress stopped the run: nothing found, nothing to apply
  bool ok() const { return refusals.empty() && !stopped; }
  // "record 5 (row 3), column 人气: line 2: reason", one per refusal.
  QStringList refusalLines(const ToolTable& table) const;
};

// Carries the program out on the grid's records without changing the grid.
// `folder` gives what the table's cells need to be encoded (its producers);
// `existing` is the table's file as it is now (read from the folder when null).
// `progress` is told of the records gone through (done, total); when it says
// stop, the result is empty but for `stopped`.
BatchResult RunBatch(const BatchProgram& program, const TableDef& table, const QString& folder, Script systemScript,
                     const RecordStore& grid, const QByteArray* existing = nullptr, const Progress& progress = {});

// The same on a standalone table (its records as StandaloneRows gives
// them, numbered by position): every changed record is put into a copy of
// `table`, patched into `existing` (the file as it is) as its save patches
// it and read back, so a value the save refuses, or would not read back as
// given, is refused (or clamped) with its record, column and line.
BatchResult RunStandaloneBatch(const BatchProgram& program, const StandaloneTable& table, const QByteArray& existing);

// The changes as diff reports them (`table` names the columns).
TableDifference BatchDifference(const ToolTable& table, const RecordStore& grid, const BatchResult& result);
// The same for records given as rows (row r is rows[r - 1]).
TableDifference BatchDifference(const ToolTable& table, const std::vector<QStringList>& rows,
                                const BatchResult& result);

}  // namespace v3
