#pragma once
#include <QString>

#include <memory>
#include <optional>

#include "model/RecordStore.h"
#include "tables/Table.h"

namespace v3 {

// Checks a value for one cell before it goes into the grid, with the same
// reasons the save gives, so an edit the save could not store is refused
// where it is made.
class CellChecker {
 public:
  CellChecker(const TableDef& table, const QString& folder, Script systemScript);
  ~CellChecker();
  CellChecker(const CellChecker&) = delete;
  CellChecker& operator=(const CellChecker&) = delete;

  // The reason the text cannot go into the grid's cell; nothing when it can.
  std::optional<QString> problem(const RecordStore& grid, int row, int column, const QString& text) const;
  // The same as one line: "第 5 行第 3 列（知名度）：reason".
  std::optional<QString> refusal(const RecordStore& grid, int row, int column, const QString& text) const;
  ColumnShape shape(int column) const;
  const TableDef& table() const { return table_; }

 private:
  const TableDef& table_;
  struct Context;
  std::unique_ptr<Context> context_;
};

// "第 5 行第 3 列（知名度）" for a grid cell.
QString CellPlace(const RecordStore& grid, int row, int column);

}  // namespace v3
