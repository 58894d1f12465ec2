#include "app/GridCommands.h"

#include <QSet>

#include <algorithm>

#include "app/Messages.h"

namespace v3 {

// ---------------------------------------------------------------- GridUndo

GridUndo::GridUndo(RecordGrid& grid, Script script, QObject* parent) : QObject(parent), grid_(grid), script_(script) {
  grid_.setObserver(this);
  connect(&stack_, &QUndoStack::cleanChanged, this, [this](bool clean) {
    // Back at the saved state: the table is unmodified again.
    if (clean) grid_.markSaved();
    emit modifiedChanged(!clean);
  });
}

GridUndo::~GridUndo() {
  if (grid_.observer() == this) grid_.setObserver(nullptr);
  delete open_;
}

GridUndo* GridUndo::of(RecordGrid& grid) { return dynamic_cast<GridUndo*>(grid.observer()); }

void GridUndo::gridChanged(RecordStore& records, const GridChange& change) {
  if (applying_ || &records != &grid_.store()) return;
  if (change.kind == GridChange::Kind::Reset) {
    // Another table, or the same one read again: nothing before it can be undone.
    if (open_) {
      delete open_;
      open_ = new GridStep(*this);
    }
    stack_.clear();
    return;
  }
  if (quiet_ > 0) return;
  GridStep* step = open_ ? open_ : new GridStep(*this);
  switch (change.kind) {
    case GridChange::Kind::Cells: new SetCellsCommand(grid_, change.cells, step); break;
    case GridChange::Kind::Inserted: new RecordsCommand(grid_, change.records, true, step); break;
    case GridChange::Kind::Removed: new RecordsCommand(grid_, change.records, false, step); break;
    case GridChange::Kind::Reordered: new ReorderCommand(grid_, change.orderBefore, change.orderAfter, step); break;
    case GridChange::Kind::Reset: break;
  }
  if (!open_) {
    step->setText(captionFor(*step));
    stack_.push(step);
  }
}

void GridUndo::openScope(const QString& caption) {
  if (depth_++ > 0) return;
  open_ = new GridStep(*this);
  openCaption_ = caption;
}

void GridUndo::closeScope() {
  if (--depth_ > 0) return;
  GridStep* step = open_;
  open_ = nullptr;
  if (!step || step->childCount() == 0) {
    delete step;
    return;
  }
  step->setText(openCaption_.isEmpty() ? captionFor(*step) : msg::Localised(script_, openCaption_));
  stack_.push(step);
}

QString GridUndo::captionFor(const QUndoCommand& step) const {
  QSet<quint64> modified;
  size_t added = 0, removed = 0;
  bool reordered = false;
  for (int i = 0; i < step.childCount(); ++i) {
    const QUndoCommand* c = step.child(i);
    if (auto* cells = dynamic_cast<const SetCellsCommand*>(c)) {
      for (const GridChange::Cell& cell : cells->cells()) modified.insert(cell.id);
    } else if (auto* records = dynamic_cast<const RecordsCommand*>(c)) {
      (records->inserted() ? added : removed) += records->count();
    } else if (dynamic_cast<const ReorderCommand*>(c)) {
      reordered = true;
    }
  }
  QStringList parts;
  if (!modified.isEmpty()) parts << QStringLiteral("修改 %1 项").arg(modified.size());
  if (added > 0) parts << QStringLiteral("添加 %1 项").arg(added);
  if (removed > 0) parts << QStringLiteral("删除 %1 项").arg(removed);
  const QString caption = parts.isEmpty() ? (reordered ? QStringLiteral("排序") : QStringLiteral("修改"))
                                          : parts.join(QStringLiteral("、")) + QStringLiteral("记录");
  return msg::Localised(script_, caption);
}

// ---------------------------------------------------------------- scopes

UndoScope::UndoScope(RecordGrid& grid, const QString& caption) : UndoScope(GridUndo::of(grid), caption) {}

UndoScope::UndoScope(GridUndo* undo, const QString& caption) : undo_(undo) {
  if (undo_) undo_->openScope(caption);
}

UndoScope::~UndoScope() {
  if (undo_) undo_->closeScope();
}

UnrecordedScope::UnrecordedScope(RecordGrid& grid) : undo_(GridUndo::of(grid)) {
  if (undo_) ++undo_->quiet_;
}

UnrecordedScope::~UnrecordedScope() {
  if (undo_) --undo_->quiet_;
}

HistoryKeptScope::HistoryKeptScope(GridUndo& undo) : undo_(undo), was_(undo.applying_) { undo_.applying_ = true; }

HistoryKeptScope::~HistoryKeptScope() { undo_.applying_ = was_; }

// ---------------------------------------------------------------- commands

GridStep::GridStep(GridUndo& undo) : undo_(undo) {}

void GridStep::undo() {
  const bool was = undo_.applying_;
  undo_.applying_ = true;
  QUndoCommand::undo();
  undo_.applying_ = was;
  done_ = false;
}

void GridStep::redo() {
  if (done_) return;  // made already when it was pushed
  const bool was = undo_.applying_;
  undo_.applying_ = true;
  QUndoCommand::redo();
  undo_.applying_ = was;
  done_ = true;
}

SetCellsCommand::SetCellsCommand(RecordGrid& grid, std::vector<GridChange::Cell> cells, QUndoCommand* parent)
    : QUndoCommand(parent), grid_(grid), cells_(std::move(cells)) {}

void SetCellsCommand::put(bool after) {
  std::vector<RecordGrid::CellEdit> edits;
  edits.reserve(cells_.size());
  // Undone last first, so a cell set twice in one change ends at its first text.
  if (after) {
    for (const GridChange::Cell& c : cells_) edits.push_back({grid_.rowOfId(c.id), c.column, c.after});
  } else {
    for (auto it = cells_.rbegin(); it != cells_.rend(); ++it)
      edits.push_back({grid_.rowOfId(it->id), it->column, it->before});
  }
  grid_.setCells(edits);
}

RecordsCommand::RecordsCommand(RecordGrid& grid, std::vector<RecordGrid::PlacedRecord> records, bool inserted,
                               QUndoCommand* parent)
    : QUndoCommand(parent), grid_(grid), records_(std::move(records)), inserted_(inserted) {
  if (inserted_) return;
  // Just removed from their rows (ascending): the record a removed one
  // followed is now at its old row less the removed rows up to it.
  after_.resize(records_.size());
  for (size_t i = 0; i < records_.size(); ++i) {
    const int at = records_[i].row - int(i + 1);
    after_[i] = at >= 1 && at <= grid_.recordCount() ? grid_.recordId(at) : 0;
  }
}

void RecordsCommand::put() {
  if (after_.size() == records_.size()) {
    // Each after the record it followed, those after the same one in their
    // order; a row counts the records put back above it.
    std::vector<std::pair<int, size_t>> at;  // the followed record's row now, index
    for (size_t i = 0; i < records_.size(); ++i) {
      const int row = after_[i] == 0 ? 0 : grid_.rowOfId(after_[i]);
      if (after_[i] != 0 && row == 0) {
        at.clear();  // that record is gone: the rows as they were
        break;
      }
      at.push_back({row, i});
    }
    if (!at.empty()) {
      std::stable_sort(at.begin(), at.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
      std::vector<RecordGrid::PlacedRecord> placed;
      placed.reserve(records_.size());
      for (size_t k = 0; k < at.size(); ++k) {
        RecordGrid::PlacedRecord p = records_[at[k].second];
        p.row = at[k].first + int(k) + 1;
        placed.push_back(std::move(p));
      }
      grid_.insertRecords(std::move(placed));
      return;
    }
  }
  grid_.insertRecords(records_);
}

void RecordsCommand::take() {
  noteNeighbours();
  std::vector<int> rows;
  rows.reserve(records_.size());
  for (const RecordGrid::PlacedRecord& r : records_)
    if (const int row = grid_.rowOfId(r.id)) rows.push_back(row);
  grid_.removeRecords(rows);
}

void RecordsCommand::noteNeighbours() {
  // The records in their rows now, each with the nearest row above it that stays.
  std::vector<std::pair<int, size_t>> rows;
  for (size_t i = 0; i < records_.size(); ++i)
    if (const int row = grid_.rowOfId(records_[i].id)) rows.push_back({row, i});
  if (rows.size() != records_.size()) {
    after_.clear();
    return;
  }
  std::sort(rows.begin(), rows.end());
  std::vector<RecordGrid::PlacedRecord> sorted;
  after_.assign(records_.size(), 0);
  quint64 above = 0;
  int previous = 0;
  for (size_t k = 0; k < rows.size(); ++k) {
    if (rows[k].first != previous + 1 || k == 0) above = rows[k].first > 1 ? grid_.recordId(rows[k].first - 1) : 0;
    previous = rows[k].first;
    RecordGrid::PlacedRecord p = records_[rows[k].second];
    p.row = rows[k].first;
    sorted.push_back(std::move(p));
    after_[k] = above;
  }
  records_ = std::move(sorted);
}

ReorderCommand::ReorderCommand(RecordGrid& grid, std::vector<quint64> before, std::vector<quint64> after,
                               QUndoCommand* parent)
    : QUndoCommand(parent), grid_(grid), before_(std::move(before)), after_(std::move(after)) {}

void ReorderCommand::put(const std::vector<quint64>& ids) {
  // The records named come first in that order; any other keeps its place after them.
  const int n = grid_.recordCount();
  std::vector<bool> placed(size_t(n) + 1, false);
  std::vector<int> order;
  order.reserve(size_t(n));
  for (quint64 id : ids) {
    const int row = grid_.rowOfId(id);
    if (row > 0 && !placed[size_t(row)]) {
      placed[size_t(row)] = true;
      order.push_back(row);
    }
  }
  for (int r = 1; r <= n; ++r)
    if (!placed[size_t(r)]) order.push_back(r);
  grid_.applyOrder(order);
}

}  // namespace v3
