#pragma once
#include <QFont>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace v3 {

class CellEditing;
class CellEditDelegate;
class FrozenView;
class RecordGrid;

// What a cell refers to, shown beside its stored text ("33" -> "林心怡");
// empty when the cell refers to nothing. Grid row and column.
using CellNote = std::function<QString(int row, int column)>;

// Shows cells as the user reads them: a code field's trailing zero
// characters stay in the cell but are not drawn; a cell that refers to
// another table shows whom it means beside its number (and as its tooltip).
// The stored text never changes.
class CellDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QString displayText(const QVariant& value, const QLocale& locale) const override;
  void setNote(CellNote note) { note_ = std::move(note); }
  QString noteFor(const QModelIndex& index) const;
  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;
  // A cell of plain text draws its text laid out once and kept (cut short
  // with an ellipsis where it is too wide, as the style cuts it): a grid
  // scrolled through thousands of rows shows the same numbers and names
  // again and again. The rest (the focused cell, text of several lines)
  // the style draws as always.
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  // The text laid out, or cut short to `cutTo` pixels when that is given.
  const QStaticText& laidOut(const QString& text, const QFont& font, int cutTo = -1) const;

  // A short hash for short texts: the cells' numbers and names.
  struct TextHash {
    size_t operator()(const QString& text) const noexcept {
      return std::hash<std::u16string_view>()(
          std::u16string_view(reinterpret_cast<const char16_t*>(text.constData()), size_t(text.size())));
    }
  };

  CellNote note_;
  mutable std::unordered_map<QString, QStaticText, TextHash> laidOut_;
  mutable QFont laidOutFont_;
};

QString DisplayedCellText(const QString& cell);

// The main window's grid: the open table, whole rows selected the usual way
// (click, Ctrl+click, Shift+click), one header row and a narrow selector
// column. Typing or F2 edits the current cell in place (see CellEditing);
// the table's editor dialog edits whole records.
// The identifying columns stay in view while the rest scrolls sideways; a
// click on a column's header asks for a sort by that column; rows can be
// kept out of view by a filter; a block of cells can be selected in cell mode.
class GridView : public QTableView {
  Q_OBJECT
 public:
  explicit GridView(QWidget* parent = nullptr);
  // A new content (a table opened): the next double-click needs its first click here.
  void reset() override;

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
  // The column made as wide as the rows in view need, never narrower: as a
  // spreadsheet's column after an edit.
  void widenColumnToContents(int column);

  // Columns 1..count stay in view on the left (0: none).
  void setFrozenColumns(int count);
  FrozenView* frozenView() const { return frozen_; }
  int frozenWidth() const;

  // The header's sort mark; cleared whenever the rows' order changes otherwise.
  void showSortIndicator(int column, Qt::SortOrder order);
  void clearSortIndicator();
  int sortColumn() const { return sortColumn_; }  // 0 when none
  Qt::SortOrder sortOrder() const { return sortOrder_; }

  // Rows shown: shown[r - 1] for grid row r; an empty list shows every row.
  void setRowsShown(const std::vector<char>& shown);
  bool isRowShown(int row) const;  // grid row
  std::vector<int> shownRows() const;
  int shownCount() const;
  // Data columns 1..K that are not hidden, in order.
  std::vector<int> shownColumns() const;

  // Cell mode: a click selects a cell and a drag a block of cells; a click
  // in the selector column still selects the whole row. Off: rows only.
  void setCellSelection(bool on);
  bool cellSelection() const { return cellSelection_; }

  void setCellNote(CellNote note);
  // Editing in the cells; nullptr: none.
  void setCellEditing(CellEditing* editing);
  CellEditDelegate* cellDelegate() const { return delegate_; }
  // The cell's place in the view's own coordinates, in the frozen part where it shows there.
  QRect cellRect(const QModelIndex& index) const;

  // Scrolls the cell into view; the frozen columns never scroll sideways.
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

  // The data column (1..K) under a screen position, in the frozen part where
  // it shows there; 0 for none.
  int columnAtGlobal(const QPoint& globalPos) const;
  // The columns whose cells a Ctrl+click follows (referenceClicked) instead of selecting.
  void setFollowedColumns(std::function<bool(int column)> followed) { followed_ = std::move(followed); }

 signals:
  void dataRowDoubleClicked(int row);
  // Right button over the grid: the row under the pointer (-1 below the last
  // row) and the pointer's screen position.
  void rightButtonPressed(int row, const QPoint& globalPos);
  // Any mouse button pressed or released over the grid, the header included.
  void mouseButtonUsed();
  // A left click on the header of a data column.
  void sortRequested(int column);
  // Ctrl+click on a data cell of a followed column (the selection stays).
  void referenceClicked(int row, int column);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void updateGeometries() override;
  QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

 private:
  bool headerEvent(QHeaderView* header, QEvent* event);
  // A Ctrl+click on a followed cell: told, and not taken as a selection.
  bool followClick(const QMouseEvent* event, int row, int column);
  // Whether the double-click's first press was on these rows; when not, the
  // event is handed to `target` as the press it is, and false.
  bool ownDoubleClick(QMouseEvent* event, QWidget* target);
  void rowsLeftOut();  // keeps rows kept out of view out of the selection
  void syncFrozen();
  void moveAfterEdit(int rows, int columns);

  RecordGrid* grid_ = nullptr;
  FrozenView* frozen_ = nullptr;
  CellEditDelegate* delegate_ = nullptr;
  CellDelegate* frozenDelegate_ = nullptr;
  QList<int> savedWidths_;
  int savedTop_ = 0;
  int frozenCount_ = 0;
  int sortColumn_ = 0;
  Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
  std::vector<char> shown_;  // empty: all rows
  bool shownKnown_ = true;   // shown_ says what every row shows (no row added, removed or moved since)
  bool cellSelection_ = false;
  bool rowPress_ = false;  // a press in the selector column while in cell mode
  // A press on these rows since they were put in: a double-click whose first
  // click opened the table (in the overview over the grid) is only a click.
  bool pressedSinceReset_ = false;
  int headerPressed_ = -1;
  QPoint headerPressPos_;
  std::function<bool(int column)> followed_;
};

inline constexpr int kSelectorColumnWidth = 14;
// Rows that fitting a column to its contents measures at most.
inline constexpr int kFitRows = 200;

}  // namespace v3
