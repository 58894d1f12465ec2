#pragma once
#include <QString>
#include <QUndoCommand>
#include <QUndoStack>

#include <vector>

#include "model/RecordGrid.h"

#include "text/Script.h"

namespace v3 {

// Undo and redo of the open table.
//
// GridUndo watches the grid: every change made through the grid's mutators
// becomes an undo step on its stack, so nothing can change the table behind
// the stack's back. A change made on its own is a step of its own, named by
// what it did ("修改 3 项记录"). Changes that belong together (an editor's OK,
// a sort, a paste, an import, a fill) are made inside an UndoScope:
//
//     {
//       UndoScope step(grid, QStringLiteral("粘贴"));   // or no caption: named by what it did
//       grid.setCells(...);
//       grid.appendRecord(...);
//     }                                                 // one step, undone as one
//
// A scope that changed nothing leaves no step. Scopes may nest; the outermost
// one makes the step. Changes made inside an UnrecordedScope (the save's
// reorder) are no step; the commands find their records by id, so rows moved
// that way do not confuse them. A reset of the grid (a load) clears the stack.
//
// The stack's clean state is the table's saved state: call markSaved() after
// a save, and undoing back to it makes the table unmodified again.
class GridUndo : public QObject, public RecordGridObserver {
  Q_OBJECT
 public:
  // Attaches itself as the grid's observer; script picks the captions' script.
  GridUndo(RecordGrid& grid, Script script, QObject* parent = nullptr);
  ~GridUndo() override;

  QUndoStack& stack() { return stack_; }
  RecordGrid& grid() { return grid_; }
  bool isModified() const { return !stack_.isClean(); }
  void markSaved() { stack_.setClean(); }

  // The undo layer of a grid, or nullptr when the grid has none.
  static GridUndo* of(RecordGrid& grid);

  void gridChanged(RecordStore& records, const GridChange& change) override;

  // The caption of a step from what it did, in the interface language.
  QString captionFor(const QUndoCommand& step) const;
  Script script() const { return script_; }

 signals:
  void modifiedChanged(bool modified);

 private:
  friend class UndoScope;
  friend class UnrecordedScope;
  friend class HistoryKeptScope;
  friend class GridStep;
  void openScope(const QString& caption);
  void closeScope();

  RecordGrid& grid_;
  Script script_ = Script::Simplified;
  QUndoStack stack_;
  class GridStep* open_ = nullptr;  // the step the changes of the outermost scope go into
  QString openCaption_;
  int depth_ = 0;
  int quiet_ = 0;          // UnrecordedScope depth
  bool applying_ = false;  // an undo or redo is changing the grid
};

// All changes to the grid while the scope lives are one undo step.
class UndoScope {
 public:
  explicit UndoScope(RecordGrid& grid, const QString& caption = QString());
  explicit UndoScope(GridUndo* undo, const QString& caption = QString());
  ~UndoScope();
  UndoScope(const UndoScope&) = delete;
  UndoScope& operator=(const UndoScope&) = delete;

 private:
  GridUndo* undo_;
};

// Changes to the grid while the scope lives are no undo step.
class UnrecordedScope {
 public:
  explicit UnrecordedScope(RecordGrid& grid);
  ~UnrecordedScope();
  UnrecordedScope(const UnrecordedScope&) = delete;
  UnrecordedScope& operator=(const UnrecordedScope&) = delete;

 private:
  GridUndo* undo_;
};

// While the scope lives a step of the stack changes the grid itself (reads
// the table again): nothing is recorded, and a reset keeps the history.
class HistoryKeptScope {
 public:
  explicit HistoryKeptScope(GridUndo& undo);
  ~HistoryKeptScope();
  HistoryKeptScope(const HistoryKeptScope&) = delete;
  HistoryKeptScope& operator=(const HistoryKeptScope&) = delete;

 private:
  GridUndo& undo_;
  bool was_;
};

// One undo step: the grid changes it holds as children, undone last first.
// Its first redo does nothing, since the changes were made before it was pushed.
class GridStep : public QUndoCommand {
 public:
  explicit GridStep(GridUndo& undo);
  void undo() override;
  void redo() override;

 private:
  GridUndo& undo_;
  bool done_ = true;
};

// The commands, one per kind of grid change; each undoes exactly what it did.

// Cells of records set from one text to another.
class SetCellsCommand : public QUndoCommand {
 public:
  SetCellsCommand(RecordGrid& grid, std::vector<GridChange::Cell> cells, QUndoCommand* parent);
  void undo() override { put(false); }
  void redo() override { put(true); }
  const std::vector<GridChange::Cell>& cells() const { return cells_; }

 private:
  void put(bool after);
  RecordGrid& grid_;
  std::vector<GridChange::Cell> cells_;
};

// Whole records (their kept bytes too) put in at their rows or taken out.
class RecordsCommand : public QUndoCommand {
 public:
  RecordsCommand(RecordGrid& grid, std::vector<RecordGrid::PlacedRecord> records, bool inserted, QUndoCommand* parent);
  void undo() override { inserted_ ? take() : put(); }
  void redo() override { inserted_ ? put() : take(); }
  bool inserted() const { return inserted_; }
  size_t count() const { return records_.size(); }

 private:
  void put();
  void take();
  void noteNeighbours();
  RecordGrid& grid_;
  std::vector<RecordGrid::PlacedRecord> records_;
  // For each record out of the grid, the id of the record it followed when
  // it was taken out (0: it was on top), so that it comes back after that
  // one even when a save has moved the rows since.
  std::vector<quint64> after_;
  bool inserted_;
};

// The records rearranged: the order of ids before and after.
class ReorderCommand : public QUndoCommand {
 public:
  ReorderCommand(RecordGrid& grid, std::vector<quint64> before, std::vector<quint64> after, QUndoCommand* parent);
  void undo() override { put(before_); }
  void redo() override { put(after_); }

 private:
  void put(const std::vector<quint64>& ids);
  RecordGrid& grid_;
  std::vector<quint64> before_;
  std::vector<quint64> after_;
};

}  // namespace v3
