#include "app/FrozenView.h"

#include <QApplication>
#include <QHeaderView>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionViewItem>

namespace v3 {

namespace {

// The table's style, which leaves out the panels behind a row and a cell
// where they show nothing: a cell neither selected, hovered nor alternate,
// without a brush of its own. A style may work out its colours again on
// each call, and a grid paints two panels for each cell in view.
class CellPanelStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (element == PE_PanelItemViewRow || element == PE_PanelItemViewItem)
      if (const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option);
          item && !(item->state & (State_Selected | State_MouseOver)) &&
          !(item->features & QStyleOptionViewItem::Alternate) && item->backgroundBrush.style() == Qt::NoBrush)
        return;
    QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
};

}  // namespace

void SetUpRecordTable(QTableView* view) {
  // Over a style of the application's kind, so the table looks as the rest.
  auto* style = new CellPanelStyle(QStyleFactory::create(QApplication::style()->name()));
  style->setParent(view);
  view->setStyle(style);
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
  // The rows' least height as the header works it out, kept: left to the
  // header it is measured from the font again for every row a filter hides.
  view->verticalHeader()->setMinimumSectionSize(view->verticalHeader()->minimumSectionSize());
  view->horizontalHeader()->setHighlightSections(false);
}

UpdatesHeld::UpdatesHeld(std::initializer_list<QWidget*> widgets) {
  for (QWidget* w : widgets)
    if (!w->testAttribute(Qt::WA_ForceUpdatesDisabled)) {  // not held off by someone else
      w->setUpdatesEnabled(false);
      held_.push_back(w);
    }
}

UpdatesHeld::~UpdatesHeld() {
  for (const QPointer<QWidget>& w : held_)
    if (w) w->setUpdatesEnabled(true);
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

void FrozenView::setModel(QAbstractItemModel* model) {
  for (const QMetaObject::Connection& c : modelWatch_) disconnect(c);
  modelWatch_.clear();
  QTableView::setModel(model);
  rowsAlike_ = false;
  if (!model) return;
  // A change of the rows may leave the two views' hidden rows apart.
  const auto apart = [this] { rowsAlike_ = false; };
  modelWatch_ = {connect(model, &QAbstractItemModel::rowsInserted, this, apart),
                 connect(model, &QAbstractItemModel::rowsRemoved, this, apart),
                 connect(model, &QAbstractItemModel::rowsMoved, this, apart),
                 connect(model, &QAbstractItemModel::modelReset, this, apart),
                 connect(model, &QAbstractItemModel::layoutChanged, this, apart)};
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
  // Setting the height walks every row, even when it is the same.
  if (const int height = main_->verticalHeader()->defaultSectionSize();
      verticalHeader()->defaultSectionSize() != height)
    verticalHeader()->setDefaultSectionSize(height);
  horizontalHeader()->setFixedHeight(main_->horizontalHeader()->height());
  // Rows as the grid shows them. Each hidden row is a resize of a header
  // section, which with updates on looks up where the section starts: done
  // for thousands of rows at once (a filter) that is far too slow.
  const int rows = model()->rowCount();
  int r = rowsAlike_ ? rows : 0;
  rowsAlike_ = true;
  while (r < rows && isRowHidden(r) == main_->isRowHidden(r)) ++r;
  if (r < rows) {
    const UpdatesHeld held({viewport(), verticalHeader()});
    for (; r < rows; ++r) {
      const bool hidden = main_->isRowHidden(r);
      if (isRowHidden(r) != hidden) setRowHidden(r, hidden);
    }
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
