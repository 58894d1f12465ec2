#include "app/GridView.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <algorithm>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolTip>

#include "app/CellEditor.h"
#include "app/FrozenView.h"
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

QString CellDelegate::noteFor(const QModelIndex& index) const {
  if (!note_ || !index.isValid() || index.column() < 1) return QString();
  return note_(index.row() + 1, index.column());
}

void CellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  const QString note = noteFor(index);
  if (!note.isEmpty()) option->text += QStringLiteral("  ") + note;
}

bool CellDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                             const QModelIndex& index) {
  if (event && event->type() == QEvent::ToolTip) {
    const QString note = noteFor(index);
    if (!note.isEmpty()) {
      QToolTip::showText(event->globalPos(), DisplayedCellText(index.data().toString()) + QStringLiteral(" = ") + note,
                         view);
      return true;
    }
  }
  return QStyledItemDelegate::helpEvent(event, view, option, index);
}

namespace {

// Texts laid out and kept at most; then the store starts again.
constexpr qsizetype kMostLaidOutTexts = 8192;

// Text drawn on one line as it stands: no line breaks, tabs or other
// control characters the style's own layout would treat otherwise.
bool IsSingleLine(const QString& text) {
  for (QChar c : text)
    if (c.unicode() < 0x20 || c.unicode() == 0x7f || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
      return false;
  return true;
}

}  // namespace

const QStaticText& CellDelegate::laidOut(const QString& text, const QFont& font, int cutTo) const {
  if (font != laidOutFont_) {
    laidOut_.clear();
    laidOutFont_ = font;
  }
  // A text cut short to a width is kept apart from the whole text: its key
  // starts with the width and a character that no text drawn here holds.
  const QString key = cutTo < 0 ? text : QString::number(cutTo) + QChar(1) + text;
  auto it = laidOut_.find(key);
  if (it == laidOut_.end()) {
    if (laidOut_.size() >= kMostLaidOutTexts) laidOut_.clear();
    // Cut as the style cuts a text too wide for its cell: an ellipsis at its end.
    QStaticText laid(cutTo < 0 ? text : QFontMetrics(font).elidedText(text, Qt::ElideRight, cutTo));
    laid.setTextFormat(Qt::PlainText);
    laid.prepare(QTransform(), font);
    it = laidOut_.emplace(key, laid).first;
  }
  return it->second;
}

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  const bool plain = !(opt.state & (QStyle::State_HasFocus | QStyle::State_Editing)) &&
                     !(opt.features & (QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasCheckIndicator |
                                       QStyleOptionViewItem::WrapText)) &&
                     IsSingleLine(opt.text);
  if (!plain) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  const QWidget* widget = opt.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  // As the style places the text: inside a margin on either side.
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  const QRect textRect = opt.rect.adjusted(margin, 0, -margin, 0);
  const QStaticText* text = opt.text.isEmpty() ? nullptr : &laidOut(opt.text, opt.font);
  if (text && text->size().width() > textRect.width()) {
    // Cut short with an ellipsis. The style places the cut text on the
    // whole text's line: where what is cut away was of a taller font (a
    // name's characters after a number), the style draws it.
    // (Laying out the cut text may let go of the whole text's layout.)
    const qreal height = text->size().height();
    const QStaticText* cut =
        opt.textElideMode == Qt::ElideRight ? &laidOut(opt.text, opt.font, textRect.width()) : nullptr;
    if (!cut || cut->size().height() != height) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    text = cut;
  }
  style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
  if (!text) return;
  QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
  if (group == QPalette::Normal && !(opt.state & QStyle::State_Active)) group = QPalette::Inactive;
  const QSize size(int(text->size().width()), int(text->size().height()));
  const QRect at = QStyle::alignedRect(opt.direction, opt.displayAlignment, size, textRect);
  painter->save();
  // The text is as wide as its room at most; a row made lower than its text cuts it.
  if (size.height() > opt.rect.height()) painter->setClipRect(opt.rect);
  painter->setFont(opt.font);
  painter->setPen(
      opt.palette.color(group, opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
  painter->drawStaticText(at.topLeft(), *text);
  painter->restore();
}

GridView::GridView(QWidget* parent) : QTableView(parent) {
  SetUpRecordTable(this);
  delegate_ = new CellEditDelegate(this);
  setItemDelegate(delegate_);
  delegate_->setPlacer([this](const QModelIndex& index) { return cellRect(index); });
  connect(delegate_, &CellEditDelegate::moveAfterEdit, this, &GridView::moveAfterEdit);
  // As a spreadsheet's: the grid keeps its width whether a filter shows
  // a screenful of rows or fewer.
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  // Fitting a column to its contents measures the rows in view and those
  // around them up to this many, not every row of a 32767-record table.
  verticalHeader()->setResizeContentsPrecision(kFitRows);
  horizontalHeader()->setResizeContentsPrecision(kFitRows);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setMinimumSectionSize(kSelectorColumnWidth);
  horizontalHeader()->installEventFilter(this);
  horizontalHeader()->viewport()->installEventFilter(this);
  if (QWidget* down = verticalScrollBar()->parentWidget(); down && down != this) down->installEventFilter(this);

  frozen_ = new FrozenView(this);
  frozenDelegate_ = new CellDelegate(frozen_);
  frozen_->setItemDelegate(frozenDelegate_);
  frozen_->viewport()->installEventFilter(this);
  frozen_->horizontalHeader()->viewport()->installEventFilter(this);
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
    if (column <= frozenCount_) {
      frozen_->setColumnWidth(column, size);
      frozen_->updateFrozenGeometry();
    }
  });
}

void GridView::setGrid(RecordGrid* grid) {
  grid_ = grid;
  QItemSelectionModel* own = selectionModel();
  setModel(grid);
  QItemSelectionModel* made = selectionModel();
  setSelectionModel(grid->selectionModel());
  // The selection models the views made for themselves are not used.
  if (own && own != grid->selectionModel()) own->deleteLater();
  if (made && made != grid->selectionModel()) made->deleteLater();
  QItemSelectionModel* frozenOwn = frozen_->selectionModel();
  frozen_->setModel(grid);
  QItemSelectionModel* frozenMade = frozen_->selectionModel();
  frozen_->setSelectionModel(grid->selectionModel());
  if (frozenOwn && frozenOwn != grid->selectionModel()) frozenOwn->deleteLater();
  if (frozenMade && frozenMade != grid->selectionModel()) frozenMade->deleteLater();

  // A reset of the same table (reload, a delete of many rows) keeps the
  // column widths, the hidden columns and the scroll position.
  connect(grid, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
    savedWidths_.clear();
    for (int c = 0; c < horizontalHeader()->count(); ++c) savedWidths_.push_back(horizontalHeader()->sectionSize(c));
    savedTop_ = topRow();
  });
  for (auto rowsMoved : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
    connect(grid, rowsMoved, this, [this] { shownKnown_ = false; });
  connect(grid, &QAbstractItemModel::layoutChanged, this, [this] { shownKnown_ = false; });
  connect(grid, &QAbstractItemModel::modelReset, this, [this] {
    shown_.clear();
    shownKnown_ = false;  // the header may still leave rows out
    clearSortIndicator();
    if (savedWidths_.size() == grid_->columnCount())
      for (int c = 0; c < int(savedWidths_.size()); ++c) horizontalHeader()->resizeSection(c, savedWidths_[c]);
    applyColumns();
    if (savedTop_ > 0) setTopRow(std::min(savedTop_, grid_->recordCount()));
  });
  // The header's sort mark says what the rows' order is; anything else that
  // reorders them (a save, an undo) or changes the sorted column clears it.
  connect(grid, &QAbstractItemModel::layoutChanged, this, [this] { clearSortIndicator(); });
  connect(grid, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
    clearSortIndicator();
    if (!shown_.empty()) shown_.insert(shown_.begin() + first, size_t(last - first + 1), char(1));
  });
  connect(grid, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex&, int first, int last) {
    if (!shown_.empty() && last < int(shown_.size())) shown_.erase(shown_.begin() + first, shown_.begin() + last + 1);
  });
  connect(grid, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& from, const QModelIndex& to) {
    if (sortColumn_ > 0 && from.column() <= sortColumn_ && to.column() >= sortColumn_) clearSortIndicator();
  });
  connect(grid->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { rowsLeftOut(); });
}

int GridView::rowAtPosition(const QPoint& viewportPos) const {
  const int r = rowAt(viewportPos.y());
  return r < 0 ? -1 : r + 1;
}

int GridView::topRow() const {
  if (!grid_ || grid_->recordCount() == 0) return 0;
  // Scrolling per row counts the rows shown; the filter may leave some out.
  const int value = verticalScrollBar()->value();
  if (shown_.empty()) return value + 1;
  const int r = rowAt(0);
  return r < 0 ? value + 1 : r + 1;
}

void GridView::setTopRow(int row) {
  if (row < 1) row = 1;
  // Scrolling per row: the scroll bar's value is the first shown row. The
  // range is brought up to date first, so a row just added can be shown.
  updateGeometries();
  if (shown_.empty()) {
    verticalScrollBar()->setValue(row - 1);
    return;
  }
  // With rows left out, the value counts the shown rows above.
  int value = 0;
  for (int r = 1; r < row && r <= int(shown_.size()); ++r)
    if (shown_[size_t(r - 1)]) ++value;
  verticalScrollBar()->setValue(value);
}

void GridView::applyColumns() {
  if (!grid_) return;
  const int columns = grid_->columnCount();
  for (int c = 1; c < columns; ++c) setColumnHidden(c, grid_->hiddenColumns().contains(c));
  if (columns > 0) {
    setColumnHidden(0, false);
    horizontalHeader()->resizeSection(0, kSelectorColumnWidth);
  }
  syncFrozen();
}

void GridView::fitColumns() {
  if (!grid_) return;
  const int columns = grid_->columnCount();
  // As wide as the header and the widest cell of the rows from the top row
  // on (kFitRows of them), as resizeColumnToContents() makes it, but a cell
  // of one line is measured with the font alone: the style's margins around
  // the text are taken once per column, from its first measured cell.
  auto* delegate = qobject_cast<CellDelegate*>(itemDelegate());
  const int top = std::max(0, rowAt(0));
  const int end = std::min(grid_->rowCount(), top + kFitRows);
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  const QFontMetrics metrics(option.font);
  QHash<QString, int> advances;  // the same numbers and names come again and again
  for (int c = 1; c < columns; ++c) {
    if (isColumnHidden(c)) continue;
    int content = 0;
    int margins = -1;
    for (int r = top; r < end; ++r) {
      if (isRowHidden(r)) continue;
      const QModelIndex index = grid_->index(r, c);
      QString shown = DisplayedCellText(index.data().toString());
      if (delegate) {
        const QString note = delegate->noteFor(index);
        if (!note.isEmpty()) shown += QStringLiteral("  ") + note;
      }
      if (!delegate || !IsSingleLine(shown)) {
        content = std::max(content, itemDelegateForIndex(index)->sizeHint(option, index).width());
        continue;
      }
      auto known = advances.constFind(shown);
      if (known == advances.constEnd()) known = advances.insert(shown, metrics.horizontalAdvance(shown));
      const int advance = *known;
      if (margins < 0) margins = delegate->sizeHint(option, index).width() - advance;
      content = std::max(content, advance + margins);
    }
    if (showGrid() && end > top) ++content;
    const int header = horizontalHeader()->isHidden() ? 0 : horizontalHeader()->sectionSizeHint(c);
    horizontalHeader()->resizeSection(c, std::max(content, header));
  }
  if (columns > 0) horizontalHeader()->resizeSection(0, kSelectorColumnWidth);
  syncFrozen();
}

void GridView::widenColumnToContents(int column) {
  const int header = horizontalHeader()->isHidden() ? 0 : horizontalHeader()->sectionSizeHint(column);
  if (const int wanted = std::max(sizeHintForColumn(column), header); wanted > columnWidth(column))
    setColumnWidth(column, wanted);
}

void GridView::setFrozenColumns(int count) {
  frozenCount_ = std::max(0, count);
  syncFrozen();
}

void GridView::syncFrozen() {
  if (!grid_) return;
  frozen_->setFrozenCount(grid_->columnCount() > 1 ? std::min(frozenCount_, grid_->columnCount() - 1) : 0);
  if (sortColumn_ > 0) showSortIndicator(sortColumn_, sortOrder_);
}

int GridView::frozenWidth() const { return frozen_->frozenWidth(); }

void GridView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  frozen_->updateFrozenGeometry();
}

void GridView::updateGeometries() {
  QTableView::updateGeometries();
  if (frozen_) frozen_->updateFrozenGeometry();
}

QModelIndex GridView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
  const QModelIndex current = QTableView::moveCursor(cursorAction, modifiers);
  // Moving left into the part under the frozen columns scrolls it into view.
  const int frozen = frozenWidth();
  if (frozen > 0 && cursorAction == MoveLeft && current.column() > frozen_->frozenCount()) {
    const int left = visualRect(current).left();
    if (left < frozen) horizontalScrollBar()->setValue(horizontalScrollBar()->value() + left - frozen);
  }
  return current;
}

void GridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (!index.isValid() || frozenWidth() <= 0 || index.column() > frozen_->frozenCount()) {
    QTableView::scrollTo(index, hint);
    if (index.isValid() && frozenWidth() > 0) {
      const int left = visualRect(index).left();
      if (left < frozenWidth()) horizontalScrollBar()->setValue(horizontalScrollBar()->value() + left - frozenWidth());
    }
    return;
  }
  // A frozen column is always in view: scroll up or down only.
  const int column = std::max(columnAt(frozenWidth() + 1), frozen_->frozenCount() + 1);
  const int keep = horizontalScrollBar()->value();
  QTableView::scrollTo(model()->index(index.row(), std::min(column, model()->columnCount() - 1)), hint);
  horizontalScrollBar()->setValue(keep);
}

void GridView::showSortIndicator(int column, Qt::SortOrder order) {
  sortColumn_ = column;
  sortOrder_ = order;
  for (QHeaderView* h : {horizontalHeader(), frozen_->horizontalHeader()}) {
    h->setSortIndicatorShown(true);
    h->setSortIndicator(column, order);
  }
  // The mark takes room of its own: the column widens until its header's text fits beside it.
  QHeaderView* header = horizontalHeader();
  if (column > 0 && column < header->count()) {
    const int needed = header->sectionSizeHint(column);
    if (header->sectionSize(column) < needed) header->resizeSection(column, needed);
  }
}

void GridView::clearSortIndicator() {
  sortColumn_ = 0;
  for (QHeaderView* h : {horizontalHeader(), frozen_->horizontalHeader()}) {
    h->setSortIndicatorShown(false);
    h->setSortIndicator(-1, Qt::AscendingOrder);
  }
}

void GridView::setRowsShown(const std::vector<char>& shown) {
  if (!grid_) return;
  const int n = grid_->recordCount();
  const bool all = shown.empty() || std::all_of(shown.begin(), shown.end(), [](char c) { return c != 0; });
  if (all && shown_.empty()) return;
  {
    // Each hidden row is a resize of a row header's section, which with
    // updates on looks up where the sections start, and tells the view of it
    // row by row. The views are told once after, and only the cells are
    // painted again, not the headers, scroll bars and frame around them.
    const UpdatesHeld held({viewport(), verticalHeader(), frozen_->viewport(), frozen_->verticalHeader()});
    const QSignalBlocker rows(verticalHeader()), frozenRows(frozen_->verticalHeader());
    // What the rows show now is known from the last call while the row count
    // is the same (only this hides rows); otherwise each row is asked.
    const bool known = shownKnown_ && (shown_.empty() || int(shown_.size()) == n);
    for (int r = 0; r < n; ++r) {
      const bool hide = !all && r < int(shown.size()) && !shown[size_t(r)];
      const bool hidden = known ? !shown_.empty() && !shown_[size_t(r)] : isRowHidden(r);
      if (hidden != hide) {
        setRowHidden(r, hide);
        frozen_->setRowHiddenWithMain(r, hide);
      }
    }
  }
  updateGeometries();
  frozen_->rowsHidden();
  shownKnown_ = true;
  shown_ = all ? std::vector<char>() : shown;
  shown_.resize(all ? 0 : size_t(n), char(1));
  rowsLeftOut();
  syncFrozen();
}

bool GridView::isRowShown(int row) const {
  if (!grid_ || row < 1 || row > grid_->recordCount()) return false;
  return shown_.empty() || shown_[size_t(row - 1)];
}

std::vector<int> GridView::shownRows() const {
  std::vector<int> rows;
  if (!grid_) return rows;
  const int n = grid_->recordCount();
  rows.reserve(size_t(n));
  for (int r = 1; r <= n; ++r)
    if (shown_.empty() || shown_[size_t(r - 1)]) rows.push_back(r);
  return rows;
}

int GridView::shownCount() const {
  if (!grid_) return 0;
  if (shown_.empty()) return grid_->recordCount();
  return int(std::count(shown_.begin(), shown_.end(), char(1)));
}

std::vector<int> GridView::shownColumns() const {
  std::vector<int> columns;
  if (!grid_) return columns;
  for (int c = 1; c <= grid_->fieldCount(); ++c)
    if (!grid_->hiddenColumns().contains(c)) columns.push_back(c);
  return columns;
}

void GridView::rowsLeftOut() {
  // The record commands act on the selected rows: a row the filter leaves
  // out is never one of them, however it was selected (Shift+click, select all).
  if (shown_.empty() || !grid_) return;
  QItemSelection drop;
  for (const QItemSelectionRange& range : grid_->selectionModel()->selection()) {
    for (int r = range.top(); r <= range.bottom(); ++r) {
      if (r < int(shown_.size()) && !shown_[size_t(r)]) {
        int last = r;
        while (last + 1 <= range.bottom() && !shown_[size_t(last + 1)]) ++last;
        drop.append(QItemSelectionRange(grid_->index(r, range.left()), grid_->index(last, range.right())));
        r = last;
      }
    }
  }
  if (!drop.isEmpty()) grid_->selectionModel()->select(drop, QItemSelectionModel::Deselect);
}

void GridView::setCellSelection(bool on) {
  cellSelection_ = on;
  const auto behavior = on ? QAbstractItemView::SelectItems : QAbstractItemView::SelectRows;
  setSelectionBehavior(behavior);
  frozen_->setSelectionBehavior(behavior);
}

void GridView::setCellNote(CellNote note) {
  delegate_->setNote(note);
  frozenDelegate_->setNote(std::move(note));
  viewport()->update();
  frozen_->viewport()->update();
}

void GridView::setCellEditing(CellEditing* editing) {
  delegate_->setEditing(editing);
  // A key that types starts editing the current cell, F2 too; the record
  // dialog has Enter and the double-click.
  setEditTriggers(editing ? QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed
                          : QAbstractItemView::NoEditTriggers);
}

QRect GridView::cellRect(const QModelIndex& index) const {
  if (frozenWidth() > 0 && index.column() <= frozen_->frozenCount()) {
    const QRect r = frozen_->visualRect(index);
    return QRect(frozen_->viewport()->mapTo(this, r.topLeft()), r.size());
  }
  const QRect r = visualRect(index);
  return QRect(viewport()->mapTo(this, r.topLeft()), r.size());
}

void GridView::moveAfterEdit(int rows, int columns) {
  if (!grid_) return;
  const QModelIndex current = currentIndex();
  if (!current.isValid()) return;
  int row = current.row() + 1, column = current.column();
  if (rows != 0) {
    const std::vector<int> shown = shownRows();
    const auto at = std::find(shown.begin(), shown.end(), row);
    if (at != shown.end()) {
      const auto i = at - shown.begin() + rows;
      if (i >= 0 && i < std::ssize(shown)) row = shown[size_t(i)];
    }
  }
  if (columns != 0) {
    const std::vector<int> shown = shownColumns();
    const auto at = std::find(shown.begin(), shown.end(), column);
    if (at != shown.end()) {
      const auto i = at - shown.begin() + columns;
      if (i >= 0 && i < std::ssize(shown)) column = shown[size_t(i)];
    }
  }
  const QModelIndex next = grid_->index(row - 1, column);
  if (next != current) setCurrentIndex(next);
  scrollTo(next);
  setFocus(Qt::OtherFocusReason);
}

bool GridView::followClick(const QMouseEvent* event, int row, int column) {
  if (event->button() != Qt::LeftButton || event->modifiers() != Qt::ControlModifier || !followed_) return false;
  if (row < 1 || column < 1 || !followed_(column)) return false;
  // The second press of a double-click is no second follow, and opens no editor.
  if (event->type() == QEvent::MouseButtonPress) emit referenceClicked(row, column);
  return true;
}

int GridView::columnAtGlobal(const QPoint& globalPos) const {
  if (frozen_ && frozen_->isActive()) {
    const QPoint at = frozen_->viewport()->mapFromGlobal(globalPos);
    if (frozen_->viewport()->rect().contains(at)) return std::max(0, frozen_->columnAt(at.x()));
  }
  return std::max(0, columnAt(viewport()->mapFromGlobal(globalPos).x()));
}

void GridView::reset() {
  pressedSinceReset_ = false;
  QTableView::reset();
}

bool GridView::ownDoubleClick(QMouseEvent* event, QWidget* target) {
  if (pressedSinceReset_) return true;
  QMouseEvent press(QEvent::MouseButtonPress, event->position(), event->scenePosition(), event->globalPosition(),
                    event->button(), event->buttons(), event->modifiers(), event->pointingDevice());
  press.setTimestamp(event->timestamp());
  QCoreApplication::sendEvent(target, &press);
  return false;
}

void GridView::mousePressEvent(QMouseEvent* event) {
  pressedSinceReset_ = true;
  const QPoint pos = event->position().toPoint();
  if (followClick(event, rowAtPosition(pos), columnAt(pos.x()))) {
    event->accept();
    return;
  }
  if (event->button() == Qt::RightButton) {
    // The selection is the shell's to change on a right click (never the view's).
    emit rightButtonPressed(rowAtPosition(event->position().toPoint()), event->globalPosition().toPoint());
    emit mouseButtonUsed();
    event->accept();
    return;
  }
  // In cell mode the selector column still selects whole rows.
  rowPress_ = cellSelection_ && event->button() == Qt::LeftButton && columnAt(int(event->position().x())) == 0;
  if (rowPress_) setSelectionBehavior(QAbstractItemView::SelectRows);
  QTableView::mousePressEvent(event);
  emit mouseButtonUsed();
}

void GridView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    event->accept();
    return;
  }
  QTableView::mouseReleaseEvent(event);
  if (rowPress_) {
    rowPress_ = false;
    setSelectionBehavior(QAbstractItemView::SelectItems);
  }
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!ownDoubleClick(event, viewport())) return;
  const QPoint pos = event->position().toPoint();
  if (followClick(event, rowAtPosition(pos), columnAt(pos.x()))) {
    event->accept();
    return;
  }
  QTableView::mouseDoubleClickEvent(event);
  if (event->button() != Qt::LeftButton) return;
  const int row = rowAtPosition(event->position().toPoint());
  if (row >= 1) emit dataRowDoubleClicked(row);
}

bool GridView::headerEvent(QHeaderView* header, QEvent* event) {
  const auto* e = static_cast<QMouseEvent*>(event);
  const QPoint pos = e->position().toPoint();
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
    // The header row: no editor and no context menu, whichever button.
    if (e->button() == Qt::RightButton) {
      emit rightButtonPressed(0, e->globalPosition().toPoint());
      emit mouseButtonUsed();
      return true;
    }
    headerPressed_ = -1;
    if (e->button() != Qt::LeftButton || event->type() != QEvent::MouseButtonPress) return false;
    // A press on the edge between two headers resizes a column; elsewhere it is a click.
    const int column = header->logicalIndexAt(pos);
    if (column < 1) return false;
    const int grip = header->style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, header) + 1;
    const int left = header->sectionViewportPosition(column);
    const int right = left + header->sectionSize(column);
    if (pos.x() < left + grip || pos.x() > right - grip) return false;
    headerPressed_ = column;
    headerPressPos_ = pos;
    return false;
  }
  if (event->type() == QEvent::MouseButtonRelease && e->button() == Qt::LeftButton && headerPressed_ > 0) {
    const int column = headerPressed_;
    headerPressed_ = -1;
    if (header->logicalIndexAt(pos) == column && (pos - headerPressPos_).manhattanLength() < 6) {
      emit sortRequested(column);
      emit mouseButtonUsed();
    }
  }
  return false;
}

bool GridView::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::ZOrderChange && watched == verticalScrollBar()->parentWidget()) {
    // Laying out the grid raises its horizontal scroll bar, then the vertical
    // one, and a bar raised over a sibling is painted again: both bars on
    // every change of the rows. With the vertical bar put back under the
    // horizontal one, the horizontal bar is on top already the next time.
    QWidget* across = horizontalScrollBar()->parentWidget();
    if (across && across->parentWidget() == this && watched->parent() == this)
      static_cast<QWidget*>(watched)->stackUnder(across);
    return false;
  }
  const bool mouse =
      type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick || type == QEvent::MouseButtonRelease;
  if (mouse && watched == horizontalHeader()->viewport()) return headerEvent(horizontalHeader(), event);
  if (mouse && watched == frozen_->horizontalHeader()->viewport())
    return headerEvent(frozen_->horizontalHeader(), event);
  if (watched == horizontalHeader() && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)) {
    const auto* e = static_cast<QMouseEvent*>(event);
    if (e->button() == Qt::RightButton) {
      emit rightButtonPressed(0, e->globalPosition().toPoint());
      emit mouseButtonUsed();
      return true;
    }
  }
  if (watched == frozen_->viewport() && mouse) {
    // The frozen columns answer the mouse as the grid does.
    auto* e = static_cast<QMouseEvent*>(event);
    if (type == QEvent::MouseButtonPress) pressedSinceReset_ = true;
    if (type == QEvent::MouseButtonDblClick && !ownDoubleClick(e, frozen_->viewport())) return true;
    const int row = frozen_->rowAt(int(e->position().y()));
    const int gridRow = row < 0 ? -1 : row + 1;
    if (e->button() == Qt::RightButton) {
      if (type == QEvent::MouseButtonPress) emit rightButtonPressed(gridRow, e->globalPosition().toPoint());
      emit mouseButtonUsed();
      return true;
    }
    if (type != QEvent::MouseButtonRelease && followClick(e, gridRow, frozen_->columnAt(int(e->position().x())))) {
      emit mouseButtonUsed();
      return true;
    }
    if (type == QEvent::MouseButtonPress) {
      setFocus(Qt::MouseFocusReason);
      if (cellSelection_ && frozen_->columnAt(int(e->position().x())) == 0) {
        rowPress_ = true;
        frozen_->setSelectionBehavior(QAbstractItemView::SelectRows);
      }
    }
    if (type == QEvent::MouseButtonRelease && rowPress_) {
      rowPress_ = false;
      QMetaObject::invokeMethod(
          this,
          [this] {
            if (cellSelection_) frozen_->setSelectionBehavior(SelectItems);
          },
          Qt::QueuedConnection);
    }
    if (type == QEvent::MouseButtonDblClick && e->button() == Qt::LeftButton && gridRow >= 1) {
      emit dataRowDoubleClicked(gridRow);
      emit mouseButtonUsed();
      return true;
    }
    if (type != QEvent::MouseButtonDblClick)
      QMetaObject::invokeMethod(this, &GridView::mouseButtonUsed, Qt::QueuedConnection);
  }
  return QTableView::eventFilter(watched, event);
}

}  // namespace v3
