#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

#include "tools/ToolTable.h"

namespace v3 {

// Record-level differences between two versions of a table. Records are
// matched by their number (grid column 1; the request tables by role and job
// number, columns 1 and 2) and, where a number occurs more than once, by its
// occurrence: the second record numbered 5 in A goes with the second in B.
// The standalone tables have a fixed set of records, matched by position.
struct CellChange {
  int column = 0;  // 1..K
  QString oldText, newText;
  // The cell's bytes are the same: it reads differently only because of
  // another table (a producer's name shown from Producer.tab, say).
  bool displayOnly = false;
};

struct RecordDifference {
  enum Kind { Added, Removed, Changed };
  Kind kind = Changed;
  QString key;                      // the record's number ("5", "12/3"), or its position for the standalone tables
  int occurrence = 1;               // 1 for the first record with this key
  int rowA = 0, rowB = 0;           // grid rows (1..N), 0 where the record is not there
  QStringList cells;                // Added: the record in B; Removed: the record in A
  std::vector<CellChange> changes;  // Changed
  QString name;  // the record's name (its name column in B, else in A), empty for a table without one
  // Changed: bytes of the record that no cell shows differ (bytes after a
  // text's end, reserved bytes), every cell reading the same.
  bool outsideFields = false;
  // Whether the record's bytes are the same and only what it shows of other tables differs.
  bool displayOnly() const;
};

struct TableDifference {
  ToolTable table;
  bool inA = true, inB = true;  // whether each folder has the file
  QString errorA, errorB;       // a file that is there but cannot be read
  std::vector<RecordDifference> records;
  // The files' bytes differ where no record difference tells: the records
  // are in another order, or bytes outside every record (the header, the
  // end of the file) changed.
  bool reordered = false, outsideRecords = false;
  // Nothing differs but what the records show of other tables.
  bool same() const;
};

std::vector<RecordDifference> DiffRecords(const ToolTable& table, const std::vector<QStringList>& a,
                                          const std::vector<QStringList>& b);

// Two contents of one grid table's file (the file now and an earlier version
// of it, say), decoded as a load of the table in `folder` would decode them.
// errorA and errorB are set when what the records need besides the bytes
// (the folder's producers) cannot be read.
// Column names come from texts.
TableDifference DiffTableBytes(const TableDef& table, const QString& folder, Script systemScript, const QByteArray& a,
                               const QByteArray& b, const LanguageFile& texts = LanguageFile());

// The tables given (every table when none), skipping those missing in both
// folders. Grid tables are compared by their records' bytes as well as
// their cells: a cell that differs only in what it shows of another table
// is marked display-only, a record whose bytes differ with every cell the
// same is marked outsideFields.
std::vector<TableDifference> DiffFolders(const QString& folderA, const QString& folderB, Script systemScript,
                                         const std::vector<ToolTable>& tables,
                                         const LanguageFile& texts = LanguageFile());

// For a reader: one line per added or removed record and per changed cell,
// "Team.dat: record 5 (飛輪海): 人气: 10 → 12"; column names from the
// language file; keys, names and cells escaped as export escapes them.
QString DiffReport(const std::vector<TableDifference>& diffs);
// Machine-readable, UTF-8 CSV with a header line:
// table,record,occurrence,change,column,column name,old,new,record name
// change: added, removed, changed, display only, bytes outside the fields,
// reordered, bytes outside the records, file added, file removed, unreadable.
QByteArray DiffCsv(const std::vector<TableDifference>& diffs);

}  // namespace v3
