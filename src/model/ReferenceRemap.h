#pragma once
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "tables/Table.h"

namespace v3 {

// A save of one table whose records may have been deleted, added or put in
// another order. Each record's identity is the position it had in the file
// as loaded; a record made anew has none.
struct TargetChange {
  const TableDef* table = nullptr;
  std::vector<QStringList> before;  // the records as loaded, in file order
  std::vector<QStringList> after;   // the records in the order the save writes them
  std::vector<int> origin;          // per record of `after`: its index in `before`, -1 when new

  int deleted() const;
  int added() const;
};

// One cell of a referring table that the save of the target changes (or,
// for a listed reference, would leave pointing at nothing).
struct ReferenceCellUpdate {
  int row = 0;     // 1-based row of the referring table's records as handed over
  int column = 0;  // grid column (1..K)
  QString before, after;
  QString rowKey;     // column 1 of the referring record
  QString targetKey;  // column 1 of the record referred to, as it was before the save
  enum Kind {
    Follows,  // the record it named moved or got another key: the cell follows it
    Cleared,  // the record it named is deleted: the cell becomes the column's empty value
    Dangling  // the record it named is deleted; the cell is left as it is (numbers, codes)
  };
  Kind kind = Follows;
};

// What one referring table gets from the save.
struct ReferenceTableUpdate {
  const TableDef* table = nullptr;
  std::vector<ReferenceCellUpdate> cells;
  int count(ReferenceCellUpdate::Kind kind) const;
  bool changesCells() const;  // any cell Follows or is Cleared
};

// Every referring table's updates for one target change.
struct ReferencePlan {
  const TableDef* target = nullptr;
  int deleted = 0, added = 0;
  bool reordered = false;                    // some kept record stands at another position
  std::vector<ReferenceTableUpdate> tables;  // only those with something to say

  bool changesCells() const;
  int count(ReferenceCellUpdate::Kind kind) const;
  // One line for the user before the save, e.g.
  // "StarRole.dat：删除 1 条；Team.dat 12 处、Firm.dat 3 处引用将随之更新；2 处引用被删除的记录将清空"
  // (Traditional characters when `traditional`). Empty when nothing refers.
  QString summary(bool traditional = false) const;
  // Every cell, one line each, for the listing after the summary.
  QStringList details(const std::function<QString(const TableDef&, int row)>& recordName = {}) const;
};

// References that saves of this session cleared because their record was
// deleted. When a record comes back under the same key (the delete undone,
// the row imported again), a later save gives them back, at the record's
// new position, where they are still empty.
class ReferenceJournal {
 public:
  void record(const ReferencePlan& plan);
  bool isEmpty() const { return cleared_.empty(); }
  struct Cleared {
    QString target, targetKey, referring, rowKey;
    int column = 0;
  };
  const std::vector<Cleared>& cleared() const { return cleared_; }

 private:
  std::vector<Cleared> cleared_;
};

// The updates a save of `change` makes to every table that declares
// references to its table. `rowsOf` gives a referring table's records (in
// file order, as the save would write them; nullptr when the table is not
// there). How each reference follows:
//  - by position: a moved record's references take its new position; those
//    of a deleted record become the empty value;
//  - by number or code: a record whose key changed takes its references
//    along; those of a deleted record are listed, and left as they are (the
//    game keeps the number, and a record added back under it is found again).
// With a journal, the references it holds for a record that the change adds
// back follow that record (Follows).
ReferencePlan PlanReferenceUpdates(
    const TargetChange& change, const std::function<const std::vector<QStringList>*(const TableDef& referring)>& rowsOf,
    const ReferenceJournal* journal = nullptr);

// Applies a table's updates to its rows.
void ApplyReferenceUpdates(const ReferenceTableUpdate& update, std::vector<QStringList>* rows);

}  // namespace v3
