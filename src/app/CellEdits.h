#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "model/RecordGrid.h"

namespace v3 {

// Edits of many cells at once (paste, fill, clear, replace), worked out
// before anything changes: which cells get which text, which columns are
// left alone, and which values the save could not store.
struct CellPlan {
  std::vector<RecordGrid::CellEdit> edits;  // the cells whose text changes
  int cells = 0;                            // cells the command reached, unchanged ones included
  QList<int> skipped;                       // columns left alone, ascending
  QStringList refusals;                     // why values could not go in, one line each
};

// (row, column) of the grid.
using GridCell = std::pair<int, int>;
// The reason a text cannot go into a cell; nothing when it can.
using CellRefusal = std::function<std::optional<QString>(int row, int column, const QString& text)>;

// The block's cell (i, j) into (rows[i], columns[j]); a short line leaves
// the cells after its end alone, and so do the columns in `kept`. A cell
// that shows as the pasted text already is no edit.
CellPlan PlanPaste(const RecordGrid& grid, const QList<QStringList>& block, const std::vector<int>& rows,
                   const std::vector<int>& columns, const QList<int>& kept);

// One text into every cell but those of the columns in `kept`.
CellPlan PlanFill(const RecordGrid& grid, const std::vector<GridCell>& cells, const QString& text,
                  const QList<int>& kept);

// Each column's topmost cell of `cells` into its other cells. A column of
// one cell takes the text of `above` (the row shown above it; 0 for none).
CellPlan PlanFillDown(const RecordGrid& grid, const std::vector<GridCell>& cells, int above, const QList<int>& kept);

// Every cell to its column's empty text.
CellPlan PlanClear(const RecordGrid& grid, const std::vector<GridCell>& cells,
                   const std::function<QString(int column)>& emptyText, const QList<int>& kept);

// Every place where a cell holds one of the search texts, replaced by
// `replacement`, in one pass from the left (a replacement is never searched again).
QString ReplacedText(const QString& cell, const QStringList& searchTexts, const QString& replacement);
CellPlan PlanReplace(const RecordGrid& grid, const std::vector<int>& rows, const std::vector<int>& columns,
                     const QStringList& searchTexts, const QString& replacement);

// The texts of `column` in `rows` that another record holds as well, each
// once, in the order of `rows`.
QStringList RepeatedValues(const RecordGrid& grid, int column, const std::vector<int>& rows);

// Takes out of the plan the edits the save could not store, with their reasons.
void DropRefused(CellPlan& plan, const CellRefusal& refusal);

}  // namespace v3
