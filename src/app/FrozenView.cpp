#include "app/FrozenView.h"

#include <QHeaderView>
#include <QScrollBar>

namespace v3 {

void SetUpRecordTable(QTableView* view) {
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  view->setContextMenuPolicy(Qt::PreventContextMenu);
  view->setWordWrap(false);
  view->setCornerButtonEnabled(false);
  view->verticalHeader()->hide();
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->horizontalHeader()->setHighlightSections(false);
}

FrozenView::FrozenView(QTableView* main) : QTableView(main), main_(main) {
  setObjectName(QStringLiteral("FrozenColumns"));
  SetUpRecordTable(this);
  setFocusPolicy(Qt::NoFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFrameShape(QFrame::NoFrame);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setMinimumSectionSize(1);
  horizontalHeader()->setSectionsClickable(false);
  // A thin rule where the frozen part ends.
  setStyleSheet(QStringLiteral("QTableView#FrozenColumns { border: none; border-right: 2px solid palette(mid); }"));
  main_->viewport()->stackUnder(this);

  connect(verticalScrollBar(), &QAbstractSlider::valueChanged, main_->verticalScrollBar(), &QAbstractSlider::setValue);
  connect(main_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(), &QAbstractSlider::setValue);
  hide();
}

void FrozenView::setFrozenCount(int count) {
  count_ = count;
  syncWithMain();
}

int FrozenView::frozenWidth() const { return active_ ? columnsWidth() : 0; }

int FrozenView::columnsWidth() const {
  if (count_ <= 0) return 0;
  int w = 0;
  for (int c = 0; c <= count_ && c < horizontalHeader()->count(); ++c)
    if (!main_->isColumnHidden(c)) w += main_->columnWidth(c);
  return w;
}

void FrozenView::syncWithMain() {
  if (!model()) return;
  const int columns = model()->columnCount();
  if (count_ <= 0 || columns <= 1) {
    active_ = false;
    hide();
    return;
  }
  for (int c = 0; c < columns; ++c) {
    const bool hidden = c > count_ || main_->isColumnHidden(c);
    setColumnHidden(c, hidden);
    if (!hidden) setColumnWidth(c, main_->columnWidth(c));
  }
  verticalHeader()->setDefaultSectionSize(main_->verticalHeader()->defaultSectionSize());
  horizontalHeader()->setFixedHeight(main_->horizontalHeader()->height());
  // Rows as the grid shows them. Each hidden row is a resize of a header
  // section, which with updates on looks up where the section starts: done
  // for thousands of rows at once (a filter) that is far too slow.
  const int rows = model()->rowCount();
  int r = rowsAlike_ ? rows : 0;
  rowsAlike_ = false;
  while (r < rows && isRowHidden(r) == main_->isRowHidden(r)) ++r;
  if (r < rows) {
    const bool updates = updatesEnabled();
    if (updates) setUpdatesEnabled(false);
    for (; r < rows; ++r) {
      const bool hidden = main_->isRowHidden(r);
      if (isRowHidden(r) != hidden) setRowHidden(r, hidden);
    }
    if (updates) setUpdatesEnabled(true);
  }
  verticalScrollBar()->setValue(main_->verticalScrollBar()->value());
  updateFrozenGeometry();
}

void FrozenView::updateFrozenGeometry() {
  const int width = columnsWidth();
  // Never more than most of the grid's width: the rest has to stay usable.
  active_ = count_ > 0 && model() && width > 0 && width <= main_->viewport()->width() * 3 / 4;
  setVisible(active_);
  if (!active_) return;
  const int frame = main_->frameWidth();
  const int left = main_->verticalHeader()->isHidden() ? 0 : main_->verticalHeader()->width();
  setGeometry(frame + left, frame, width + 2, main_->viewport()->height() + main_->horizontalHeader()->height());
}

}  // namespace v3
