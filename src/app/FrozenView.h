#pragma once
#include <QPointer>
#include <QTableView>

#include <initializer_list>
#include <vector>

namespace v3 {

// Holds off the updates of the widgets given while it lives; each is
// updated whole after. One already held off by its owner is left so.
class UpdatesHeld {
 public:
  explicit UpdatesHeld(std::initializer_list<QWidget*> widgets);
  ~UpdatesHeld();
  UpdatesHeld(const UpdatesHeld&) = delete;
  UpdatesHeld& operator=(const UpdatesHeld&) = delete;

 private:
  std::vector<QPointer<QWidget>> held_;
};

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

  void setModel(QAbstractItemModel* model) override;
  // Columns 0..count stay in view; 0 hides the overlay.
  void setFrozenCount(int count);
  int frozenCount() const { return count_; }
  // Width of the frozen part (0 when it is not shown).
  int frozenWidth() const;
  bool isActive() const { return active_; }
  // Takes the main grid's column widths, hidden columns and hidden rows.
  void syncWithMain();
  void updateFrozenGeometry();
  // The grid hides or shows row r in both views at once: the rows stay
  // alike, and syncWithMain() need not compare them until the model's rows
  // change.
  void setRowHiddenWithMain(int row, bool hide) {
    setRowHidden(row, hide);
    rowsAlike_ = true;
  }
  // Rows were hidden or shown while the row header's signals were held back.
  void rowsHidden() { updateGeometries(); }

 private:
  int columnsWidth() const;

  QTableView* main_;
  int count_ = 0;
  bool active_ = false;     // shown over the grid
  bool rowsAlike_ = false;  // see setRowHiddenWithMain
  std::vector<QMetaObject::Connection> modelWatch_;
};

}  // namespace v3
