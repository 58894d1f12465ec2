#pragma once
#include <QStyledItemDelegate>
#include <QTableView>

namespace v3 {

class RecordGrid;

// Shows cells as the user reads them: a code field's trailing zero
// characters stay in the cell but are not drawn.
class CellDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QString displayText(const QVariant& value, const QLocale& locale) const override;
};

QString DisplayedCellText(const QString& cell);

// The main window's grid: the open table, whole rows selected the usual way
// (click, Ctrl+click, Shift+click), one header row and a narrow selector
// column. Editing happens in the table's editor, never in the cells.
class GridView : public QTableView {
  Q_OBJECT
 public:
  explicit GridView(QWidget* parent = nullptr);

  // Shows the grid through its own selection of whole rows.
  void setGrid(RecordGrid* grid);
  RecordGrid* grid() const { return grid_; }

  // Grid row under a viewport position: 1..N, or -1 below the last row.
  int rowAtPosition(const QPoint& viewportPos) const;
  // The first shown row (scroll position), 1-based; 0 for an empty grid.
  int topRow() const;
  void setTopRow(int row);

  // Hidden columns of the open table; column 0 kept narrow and empty.
  void applyColumns();
  // Widths of columns 1..K fitted to their contents.
  void fitColumns();

 signals:
  void dataRowDoubleClicked(int row);
  // Right button over the grid: the row under the pointer (-1 below the last
  // row) and the pointer's screen position.
  void rightButtonPressed(int row, const QPoint& globalPos);
  // Any mouse button pressed or released over the grid, the header included.
  void mouseButtonUsed();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  RecordGrid* grid_ = nullptr;
  QList<int> savedWidths_;
  int savedTop_ = 0;
};

inline constexpr int kSelectorColumnWidth = 14;

}  // namespace v3
