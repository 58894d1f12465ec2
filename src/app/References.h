#pragma once
#include <QHash>
#include <QString>

#include <functional>
#include <set>
#include <vector>

#include "model/ReferenceRemap.h"
#include "tables/ReferenceIndex.h"

namespace v3 {

class FileStore;
class RecordStore;

// Whom the cells of the open table mean where they refer to another table
// (the table's reference declarations say which columns and how): Team
// members and firm artists are stars by their position in StarRole.dat, a
// request's job is the job of that code in the case file of its kind.
// Read from the data folder when a table is opened; nothing here changes a cell.
class ReferenceNames {
 public:
  // What the table `fileName` refers to, read from the data folder.
  void load(const QString& fileName, const QString& dataFolder, Script systemScript, FileStore& store);
  void clear();

  // Whether the grid shows a name beside the column's cells.
  bool refers(int column) const { return noted_.contains(column); }
  // The name the cell means; empty when it means no one the tables hold.
  QString note(int column, const QString& cell) const;

  // The column's declaration; nullptr when the column refers to nothing.
  const ReferenceDef* reference(int column) const;
  // The record the cell names in the target table as read with the open
  // table: its 0-based position there, or ReferenceTargets::kEmpty / kMissing.
  int target(int column, const QString& cell) const;
  QString targetName(int column, int position) const;

  // The references the saves of this session cleared in the folder's
  // tables (see ReferenceJournal); another folder starts afresh.
  ReferenceJournal& journal(const QString& dataFolder) {
    if (dataFolder != journalFolder_) {
      journal_ = ReferenceJournal();
      journalFolder_ = dataFolder;
    }
    return journal_;
  }

 private:
  ReferenceJournal journal_;
  QString journalFolder_;
  // The index of the reference at `index` of defs_.
  const ReferenceTargets& targetsOf(int index) const { return targets_[size_t(targetOf_[size_t(index)])]; }

  std::vector<ReferenceTargets> targets_;
  std::vector<ReferenceDef> defs_;
  std::vector<int> targetOf_;  // per reference of defs_: its index into targets_ (shared by alike columns)
  QHash<int, int> columns_;    // grid column -> index into defs_
  QHash<int, int> noted_;      // the columns that show a name beside the cell
};

// The records of the open table as the folder's other tables know them: by
// their position in the table's file as it is in the folder now.
struct FileRecords {
  std::vector<int> position;      // per grid row (index row - 1): its position there, -1 for a record made anew
  std::vector<QStringList> rows;  // the file's records; decoded only when asked for (else empty lists)
  int count = 0;                  // records in the file
  QString error;                  // set when the file cannot be read
};
FileRecords OpenTableRecords(const TableDef& table, const QString& folder, Script systemScript, const RecordStore& grid,
                             FileStore& store, bool decode);

// One cell of the folder that refers to a record.
struct Referrer {
  const TableDef* table = nullptr;  // the referring table
  int row = 0;                      // its record, 1-based in the order `rowsOf` gave
  int column = 0;                   // the referring column
  int target = 0;                   // the position of the record it names
  QString key, name;                // the referring record's key (column 1, and 2 where both identify) and name
};

// Every declared reference cell of the folder that names one of the records
// `positions` of the table `target`. `targetRows` are the target's records
// by position (needed for references by number or code; by position only
// their count matters), of which the first `fileCount` are in its file (a
// reference by position names none of the others). `rowsOf` gives a
// referring table's records (nullptr when it has none to read; *error then
// says why, when it could not be read).
std::vector<Referrer> FindReferrers(const TableDef& target, const std::vector<QStringList>& targetRows, int fileCount,
                                    const std::set<int>& positions,
                                    const std::function<const std::vector<QStringList>*(const TableDef&)>& rowsOf);

// Whether any declared reference to the table is by number or code.
bool HasKeyedReferences(const QString& targetFile);

}  // namespace v3
