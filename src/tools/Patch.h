#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

#include "model/RecordStore.h"
#include "tools/Diff.h"
#include "tools/ToolTable.h"

namespace v3 {

// Mod patches: the differences between two data folders as a small UTF-8
// text, and that text applied to another folder, change by change.
//
//   Vantaro3 patch<TAB>1
//   tables<TAB>Team.dat<TAB>Level.tab
//   Team.dat<TAB>changed<TAB>KEY<TAB>OCCURRENCE<TAB>COLUMN<TAB>NAME<TAB>OLD<TAB>NEW
//   Team.dat<TAB>added<TAB>KEY<TAB>OCCURRENCE<TAB>ROW<TAB>CELL 1<TAB>...<TAB>CELL K
//   Team.dat<TAB>removed<TAB>KEY<TAB>OCCURRENCE<TAB>ROW<TAB>CELL 1<TAB>...<TAB>CELL K
//   NeedEffect.tab<TAB>order<TAB>KEY#OCCURRENCE KEY#OCCURRENCE ...<TAB>KEY#OCCURRENCE ...
//
// The first line gives the format's version, the second the tables the
// patch changes. A record is named as diff names it: its key (column 1; the
// request tables "role/job"; the standalone tables their position) and the
// occurrence of that key. NAME (the column's header) is for the reader and
// not read back. ROW is where an added record stands in the patched table
// (a removed one in the original). Every field is escaped as a CSV cell is
// (\xHH for a byte that is no character, \\ for a backslash), and so is
// every control character (a tab is \x09), so each change is one line.
// Blank lines and lines starting with '#' are comments. A table that a save
// writes in the grid's order (not sorted) has an order line when the order
// of its records differs: the records of the original, then those of the
// patched table, each named KEY#OCCURRENCE (a blank in a key as \x20, a '#'
// as \x23). Applying puts the records the second list names in its order,
// the others after them as they were.

constexpr int kPatchVersion = 1;

struct PatchChange {
  enum Kind { Changed, Added, Removed };
  Kind kind = Changed;
  ToolTable table;
  QString key;
  int occurrence = 1;
  int column = 0;            // Changed: 1..K
  QString oldText, newText;  // Changed
  int row = 0;               // Added: its row in the patched table; Removed: in the original
  QStringList cells;         // Added, Removed: the whole record
  int line = 0;              // where the change stands in the patch text
};

// The order of a table's records before and after, as KEY#OCCURRENCE.
struct PatchOrder {
  ToolTable table;
  QStringList before, after;
};

struct Patch {
  std::vector<ToolTable> tables;
  std::vector<PatchChange> changes;
  std::vector<PatchOrder> orders;
};

// A record's name in an order line, and the records of rows as such names.
QString OrderName(const QString& key, int occurrence);
QStringList OrderNames(const ToolTable& table, const std::vector<QStringList>& rows);

struct PatchError {
  int line = 0;  // 1-based, 0 for the text as a whole
  QString reason;
  QString message(const QString& patchName) const;  // "NAME: line N: reason"
};

// A field as the patch text carries it, and back.
QString PatchEscape(const QString& cell);
QString PatchUnescape(const QString& text);

// The patch from the folders' differences (tables without any left out);
// `orders` gives the record orders of the tables written in grid order
// (an order whose lists are equal is left out).
QByteArray WritePatch(const std::vector<TableDifference>& diffs, const std::vector<PatchOrder>& orders = {});
// `texts` names the columns of the tables read. False, naming the first line that is wrong, for a text that is not a
// patch of a version this program reads, a table that is unknown or not in the header, a change word, number or field
// count that is wrong.
bool ReadPatch(const QByteArray& text, Patch* patch, PatchError* error, const LanguageFile& texts = LanguageFile());
// The patch that undoes it: old and new swapped, added and removed swapped.
Patch ReversedPatch(const Patch& patch);

// A change whose record or cell is no longer what the patch expects.
struct PatchConflict {
  QString table;
  QString record;  // "record 5", with its occurrence when not the first and its name where it has one
  int column = 0;  // 0 for the record as a whole
  QString columnName;
  QString expected, found, wanted;  // as the patch text writes them
  bool forced = false;              // the patch's value was taken (--force)
  QString text() const;
};

// One table's share of a patch, worked out against its records as they are.
struct TablePatchPlan {
  ToolTable table;
  int applied = 0;  // changes that find what they expect
  int already = 0;  // changes whose result is there already
  std::vector<PatchConflict> conflicts;
  std::vector<RecordStore::CellEdit> edits;        // rows as they are now
  std::vector<int> removed;                        // rows as they are now, ascending
  std::vector<std::pair<int, QStringList>> added;  // rows once done, ascending
  QStringList order;                               // the records' order once done (OrderName), if given
  bool reorders = false;                           // the order differs from the records' order now
  bool changesAnything() const { return !edits.empty() || !removed.empty() || !added.empty() || reorders; }
  // Conflicts that --force cannot settle (the record is not there).
  int unsettled() const;
};

// `changes` are the patch's changes of the table; `rows` its records now.
// With `force`, a conflict takes the patch's value where the record is there.
// `order` (when given) is the order the records take once the changes are made.
TablePatchPlan PlanTablePatch(const ToolTable& table, const std::vector<QStringList>& rows,
                              const std::vector<const PatchChange*>& changes, bool force,
                              const QStringList& order = {});

// Carries the plan out through the grid's mutators (cells, then removals, then additions).
void ApplyTablePatch(const TablePatchPlan& plan, RecordStore& grid);
// The same on rows (the standalone tables, whose records are fixed).
void ApplyTablePatch(const TablePatchPlan& plan, std::vector<QStringList>& rows);

}  // namespace v3
