#include "app/GridView.h"

#include <QHeaderView>
#include <algorithm>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QScrollBar>

#include "model/RecordGrid.h"

namespace v3 {

QString DisplayedCellText(const QString& cell) {
  qsizetype end = cell.size();
  while (end > 0 && cell[end - 1] == QChar(u'\0')) --end;
  return end == cell.size() ? cell : cell.left(end);
}

QString CellDelegate::displayText(const QVariant& value, const QLocale& locale) const {
  if (value.typeId() == QMetaType::QString) return DisplayedCellText(value.toString());
  return QStyledItemDelegate::displayText(value, locale);
}

GridView::GridView(QWidget* parent) : QTableView(parent) {
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setContextMenuPolicy(Qt::PreventContextMenu);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setItemDelegate(new CellDelegate(this));
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setMinimumSectionSize(kSelectorColumnWidth);
  horizontalHeader()->installEventFilter(this);
  horizontalHeader()->viewport()->installEventFilter(this);
}

void GridView::setGrid(RecordGrid* grid) {
  grid_ = grid;
  QItemSelectionModel* own = selectionModel();
  setModel(grid);
  QItemSelectionModel* made = selectionModel();
  setSelectionModel(grid->selectionModel());
  // The selection models the view made for itself are not used.
  if (own && own != grid->selectionModel()) own->deleteLater();
  if (made && made != grid->selectionModel()) made->deleteLater();

  // A reset of the same table (reload, a delete of many rows) keeps the
  // column widths, the hidden columns and the scroll position.
  connect(grid, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
    savedWidths_.clear();
    for (int c = 0; c < horizontalHeader()->count(); ++c) savedWidths_.push_back(horizontalHeader()->sectionSize(c));
    savedTop_ = topRow();
  });
  connect(grid, &QAbstractItemModel::modelReset, this, [this] {
    if (savedWidths_.size() == grid_->columnCount())
      for (int c = 0; c < int(savedWidths_.size()); ++c) horizontalHeader()->resizeSection(c, savedWidths_[c]);
    applyColumns();
    if (savedTop_ > 0) setTopRow(std::min(savedTop_, grid_->recordCount()));
  });
}

int GridView::rowAtPosition(const QPoint& viewportPos) const {
  const int r = rowAt(viewportPos.y());
  return r < 0 ? -1 : r + 1;
}

int GridView::topRow() const {
  if (!grid_ || grid_->recordCount() == 0) return 0;
  return verticalScrollBar()->value() + 1;
}

void GridView::setTopRow(int row) {
  if (row < 1) row = 1;
  // Scrolling per row: the scroll bar's value is the first shown row. The
  // range is brought up to date first, so a row just added can be shown.
  updateGeometries();
  verticalScrollBar()->setValue(row - 1);
}

void GridView::applyColumns() {
  if (!grid_) return;
  const int columns = grid_->columnCount();
  for (int c = 1; c < columns; ++c) setColumnHidden(c, grid_->hiddenColumns().contains(c));
  if (columns > 0) {
    setColumnHidden(0, false);
    horizontalHeader()->resizeSection(0, kSelectorColumnWidth);
  }
}

void GridView::fitColumns() {
  if (!grid_) return;
  const int columns = grid_->columnCount();
  for (int c = 1; c < columns; ++c) resizeColumnToContents(c);
  if (columns > 0) horizontalHeader()->resizeSection(0, kSelectorColumnWidth);
}

void GridView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    // The selection is the shell's to change on a right click (never the view's).
    emit rightButtonPressed(rowAtPosition(event->position().toPoint()), event->globalPosition().toPoint());
    emit mouseButtonUsed();
    event->accept();
    return;
  }
  QTableView::mousePressEvent(event);
  emit mouseButtonUsed();
}

void GridView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    event->accept();
    return;
  }
  QTableView::mouseReleaseEvent(event);
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event) {
  QTableView::mouseDoubleClickEvent(event);
  if (event->button() != Qt::LeftButton) return;
  const int row = rowAtPosition(event->position().toPoint());
  if (row >= 1) emit dataRowDoubleClicked(row);
}

bool GridView::eventFilter(QObject* watched, QEvent* event) {
  // The header row: no editor and no context menu, whichever button.
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
    const auto* e = static_cast<QMouseEvent*>(event);
    if (e->button() == Qt::RightButton) {
      emit rightButtonPressed(0, e->globalPosition().toPoint());
      emit mouseButtonUsed();
      return true;
    }
  }
  return QTableView::eventFilter(watched, event);
}

}  // namespace v3
