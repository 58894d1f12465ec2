#include "app/CellEdits.h"

#include <QHash>

#include <algorithm>
#include <map>

#include "app/GridView.h"

namespace v3 {
namespace {

// Adds one cell to the plan unless its column is kept. A cell that holds
// the text already (or shows as it, unless `exact`) is reached, not edited.
void Put(const RecordGrid& grid, CellPlan& plan, int row, int column, const QString& text, const QList<int>& kept,
         bool exact = false) {
  if (kept.contains(column)) {
    if (!plan.skipped.contains(column)) plan.skipped.append(column);
    return;
  }
  ++plan.cells;
  const QString cell = grid.cell(row, column);
  if (exact ? cell == text : DisplayedCellText(cell) == text) return;
  plan.edits.push_back({row, column, text});
}

void Finish(CellPlan& plan) { std::sort(plan.skipped.begin(), plan.skipped.end()); }

}  // namespace

CellPlan PlanPaste(const RecordGrid& grid, const QList<QStringList>& block, const std::vector<int>& rows,
                   const std::vector<int>& columns, const QList<int>& kept) {
  CellPlan plan;
  for (qsizetype i = 0; i < block.size() && size_t(i) < rows.size(); ++i) {
    const QStringList& line = block[i];
    for (qsizetype j = 0; j < line.size() && size_t(j) < columns.size(); ++j)
      Put(grid, plan, rows[size_t(i)], columns[size_t(j)], line[j], kept);
  }
  Finish(plan);
  return plan;
}

CellPlan PlanFill(const RecordGrid& grid, const std::vector<GridCell>& cells, const QString& text,
                  const QList<int>& kept) {
  CellPlan plan;
  for (const auto& [row, column] : cells) Put(grid, plan, row, column, text, kept);
  Finish(plan);
  return plan;
}

CellPlan PlanFillDown(const RecordGrid& grid, const std::vector<GridCell>& cells, int above, const QList<int>& kept) {
  std::map<int, std::vector<int>> byColumn;
  for (const auto& [row, column] : cells) byColumn[column].push_back(row);
  CellPlan plan;
  for (auto& [column, rows] : byColumn) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    int source = rows.front();
    size_t first = 1;
    if (rows.size() == 1) {
      if (above < 1) continue;
      source = above;
      first = 0;
    }
    // The top cell's text as it stands, a code's trailing zeros too.
    const QString text = grid.cell(source, column);
    for (size_t i = first; i < rows.size(); ++i) Put(grid, plan, rows[i], column, text, kept, true);
  }
  Finish(plan);
  return plan;
}

CellPlan PlanClear(const RecordGrid& grid, const std::vector<GridCell>& cells,
                   const std::function<QString(int column)>& emptyText, const QList<int>& kept) {
  CellPlan plan;
  for (const auto& [row, column] : cells) Put(grid, plan, row, column, emptyText(column), kept);
  Finish(plan);
  return plan;
}

QString ReplacedText(const QString& cell, const QStringList& searchTexts, const QString& replacement) {
  QString out;
  qsizetype i = 0;
  bool any = false;
  while (i < cell.size()) {
    qsizetype matched = 0;
    for (const QString& t : searchTexts)
      if (!t.isEmpty() && QStringView(cell).mid(i).startsWith(t)) {
        matched = t.size();
        break;
      }
    if (matched > 0) {
      out += replacement;
      i += matched;
      any = true;
    } else {
      out += cell[i++];
    }
  }
  return any ? out : cell;
}

CellPlan PlanReplace(const RecordGrid& grid, const std::vector<int>& rows, const std::vector<int>& columns,
                     const QStringList& searchTexts, const QString& replacement) {
  CellPlan plan;
  for (int r : rows)
    for (int c : columns) {
      const QString cell = grid.cell(r, c);
      const QString replaced = ReplacedText(cell, searchTexts, replacement);
      if (replaced == cell) continue;
      ++plan.cells;
      plan.edits.push_back({r, c, replaced});
    }
  return plan;
}

void DropRefused(CellPlan& plan, const CellRefusal& refusal) {
  if (!refusal) return;
  std::erase_if(plan.edits, [&](const RecordGrid::CellEdit& e) {
    if (auto why = refusal(e.row, e.column, e.text)) {
      plan.refusals.append(*why);
      return true;
    }
    return false;
  });
}

QStringList RepeatedValues(const RecordGrid& grid, int column, const std::vector<int>& rows) {
  QHash<QString, int> count;
  for (int r = 1; r <= grid.recordCount(); ++r) ++count[grid.cell(r, column)];
  QStringList repeated;
  for (int r : rows) {
    const QString value = grid.cell(r, column);
    if (count.value(value) > 1 && !repeated.contains(value)) repeated << value;
  }
  return repeated;
}

}  // namespace v3
