#pragma once
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "tables/Table.h"

namespace v3 {

// What is wrong with one reference cell.
struct ReferenceProblem {
  int row = 0;     // 1-based, in the order of the rows handed over
  int column = 0;  // grid column (1..K)
  QString reason;
};

// Checks every declared reference of `table` in its rows: a position past
// the end of its target (or below it), a number or code that no target
// record holds, a target record that is empty (no name) and a key that
// several target records hold. `targetRows` gives a target table's records
// in file order (nullptr: the table is not in the folder, which is reported
// as no records).
std::vector<ReferenceProblem> CheckReferences(
    const TableDef& table, const std::vector<QStringList>& rows,
    const std::function<const std::vector<QStringList>*(const QString& targetFile)>& targetRows);

}  // namespace v3
