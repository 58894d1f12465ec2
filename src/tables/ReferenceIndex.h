#pragma once
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

#include "tables/Table.h"

namespace v3 {

// A referring column of some table: the table and its declaration.
struct ReferringColumn {
  const TableDef* table = nullptr;
  const ReferenceDef* reference = nullptr;
};

// Every declared column, of every table, that refers to the table `targetFile`.
std::vector<ReferringColumn> ReferencesTo(const QString& targetFile);

// The text a reference cell compares by: trailing zero characters (codes are
// read with them) and blanks removed.
QString ReferenceKeyText(const QString& cell);

// The records of one target table as one reference column sees them: which
// record (its 0-based position in the file) a cell names.
class ReferenceTargets {
 public:
  static constexpr int kEmpty = -1;    // the cell is the column's empty value
  static constexpr int kMissing = -2;  // no record of the target has it

  ReferenceTargets() = default;
  ReferenceTargets(const ReferenceDef& reference, const std::vector<QStringList>& targetRows);

  // Whether two references see their target's records alike (the same
  // target, read the same way; the referring column may differ): the
  // columns of a run (a team's members) can share one index.
  static bool alike(const ReferenceDef& a, const ReferenceDef& b);
  // The target's columns (1-based) an index reads: its names, and its keys
  // where the reference goes by number or code.
  static QList<int> columnsRead(const ReferenceDef& reference);

  int find(const QString& cell) const;
  // How many target records hold the key that names `position` (Number, Code:
  // more than one makes the reference ambiguous; Position: always 1).
  int holders(int position) const;
  int count() const { return int(names_.size()); }
  QString name(int position) const { return position >= 0 && position < count() ? names_[position] : QString(); }
  // What the cell is stored as for the record at `position` (its position
  // or key; for a column that shows names, the name).
  QString cellFor(int position) const;
  // The key (Number, Code) or the position's text of the record at `position`.
  QString key(int position) const;

 private:
  ReferenceDef ref_;
  QString emptyKey_;              // ReferenceKeyText(ref_.empty)
  qlonglong emptyNumber_ = 0;     // ref_.empty as a number (Position)
  QStringList names_;             // by position
  QStringList keys_;              // by position (Number, Code)
  QHash<QString, int> byKey_;     // key -> first position
  QHash<QString, int> keyCount_;  // key -> records holding it
  QHash<QString, int> byName_;    // name -> first position (columns that show names)
};

}  // namespace v3
