#pragma once
#include <QTableView>

namespace v3 {

// What the grid and its frozen part share: rows selected whole by default,
// no editing in the cells, one row per scroll step, no row numbers.
void SetUpRecordTable(QTableView* view);

// The identifying columns (number and name) of the open table, laid over
// the left edge of the main grid and kept there while the rest of the grid
// scrolls sideways. It shows the same model through the same selection,
// scrolls up and down with the grid and never takes the keyboard focus.
class FrozenView : public QTableView {
  Q_OBJECT
 public:
  explicit FrozenView(QTableView* main);

  // Columns 0..count stay in view; 0 hides the overlay.
  void setFrozenCount(int count);
  int frozenCount() const { return count_; }
  // Width of the frozen part (0 when it is not shown).
  int frozenWidth() const;
  bool isActive() const { return active_; }
  // Takes the main grid's column widths, hidden columns and hidden rows.
  void syncWithMain();
  void updateFrozenGeometry();
  // The grid hides or shows row r in both views at once: the rows are then
  // known to be alike, and the next syncWithMain() need not compare them.
  void setRowHiddenWithMain(int row, bool hide) {
    setRowHidden(row, hide);
    rowsAlike_ = true;
  }

 private:
  int columnsWidth() const;

  QTableView* main_;
  int count_ = 0;
  bool active_ = false;     // shown over the grid
  bool rowsAlike_ = false;  // see setRowHiddenWithMain
};

}  // namespace v3
