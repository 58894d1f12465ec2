// The main window's commands on the grid itself: keys, sort by a column,
// the filter bar, the clipboard, names beside numbers, the toolbar, the
// record count and the user guide.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>

#include <algorithm>

#include "app/CellEditor.h"
#include "app/CellEdits.h"
#include "app/Clipboard.h"
#include "app/GridCommands.h"
#include "app/Dialogs.h"
#include "app/FilterBar.h"
#include "app/FrozenView.h"
#include "app/GridSort.h"
#include "app/GridView.h"
#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "app/Messages.h"
#include "app/References.h"
#include "app/ReplaceDialog.h"
#include "app/Search.h"
#include "app/UiFront.h"
#include "app/Catalogue.h"

namespace v3 {
namespace {

QIcon ThemeIcon(const QWidget* w, const char* name, QStyle::StandardPixmap fallback) {
  return QIcon::fromTheme(QString::fromLatin1(name), w->style()->standardIcon(fallback));
}

}  // namespace

void Vantaro3::buildGridTools() {
  auto find = [this](const char* name) { return findChild<QAction*>(QString::fromLatin1(name)); };
  // Keys that work while the grid has the focus (the filter's text box keeps its own).
  auto gridAction = [this](const char* name, const QString& simplified, const QList<QKeySequence>& keys) {
    auto* a = new QAction(text(simplified), this);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcuts(keys);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    view_->addAction(a);
    return a;
  };

  // Typing and F2 edit the current cell in place; Enter opens the record's dialog.
  QAction* edit = gridAction("mnu_edit", QStringLiteral("修改记录(&M)"),
                             {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
  cellEditing_ = new CellEditing(grid_, script_, this);
  view_->setCellEditing(cellEditing_);
  connect(cellEditing_, &CellEditing::message, this, [this](const QString& line) { statusLine_->setText(line); });
  connect(edit, &QAction::triggered, this, &Vantaro3::editCurrent);
  QAction* several = find("mnu_modify");
  several->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
  several->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  view_->addAction(several);
  QAction* popup = gridAction("mnu_popup", QStringLiteral("快捷菜单"),
                              {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)});
  connect(popup, &QAction::triggered, this, &Vantaro3::popupAtCurrent);
  QAction* copy = gridAction("mnu_copy", QStringLiteral("复制(&C)"), {QKeySequence::Copy});
  connect(copy, &QAction::triggered, this, [this] { copySelection(false); });
  QAction* copyHeader =
      gridAction("mnu_copyh", QStringLiteral("复制（含标题行）"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)});
  connect(copyHeader, &QAction::triggered, this, [this] { copySelection(true); });
  QAction* pasteAction = gridAction("mnu_paste", QStringLiteral("粘贴(&P)"), {QKeySequence::Paste});
  connect(pasteAction, &QAction::triggered, this, &Vantaro3::paste);
  QAction* fill = gridAction("mnu_filldown", QStringLiteral("向下填充"), {QKeySequence(Qt::CTRL | Qt::Key_D)});
  connect(fill, &QAction::triggered, this, &Vantaro3::fillDown);
  // Delete clears cells in cell mode and deletes records in row mode (see setCellSelection).
  QAction* clear = gridAction("mnu_clear", QStringLiteral("清除单元格"), {});
  connect(clear, &QAction::triggered, this, &Vantaro3::clearCells);
  auto* replaceAction = new QAction(text(QStringLiteral("替换(&R)…")), this);
  replaceAction->setObjectName(QStringLiteral("mnu_replace"));
  replaceAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
  connect(replaceAction, &QAction::triggered, this, &Vantaro3::replace);
  QAction* cells = gridAction("mnu_cells", QStringLiteral("按单元格选择"), {QKeySequence(Qt::Key_F8)});
  cells->setCheckable(true);
  cells->setShortcutContext(Qt::WindowShortcut);
  connect(cells, &QAction::toggled, this, &Vantaro3::setCellSelection);
  auto* filterAction = new QAction(text(QStringLiteral("筛选(&T)")), this);
  filterAction->setObjectName(QStringLiteral("mnu_filter"));
  filterAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));

  // The Edit menu holds every command of the grid, with its keys.
  if (auto* menu = findChild<QMenu*>(QStringLiteral("mnu_menu2"))) {
    menu->addSeparator()->setObjectName(QStringLiteral("mnu_f5"));
    menu->addAction(edit);
    menu->addAction(several);
    menu->addSeparator()->setObjectName(QStringLiteral("mnu_f6"));
    menu->addAction(copy);
    menu->addAction(copyHeader);
    menu->addAction(pasteAction);
    menu->addAction(fill);
    menu->addAction(clear);
    menu->addSeparator()->setObjectName(QStringLiteral("mnu_f7"));
    menu->addAction(cells);
  }
  if (auto* menu = findChild<QMenu*>(QStringLiteral("mnu_menu3"))) {
    menu->addAction(replaceAction);
    menu->addAction(filterAction);
  }

  // The status line tells what the last command did: a new step of the
  // table's history, or the one just undone or redone.
  connect(&undoStack(), &QUndoStack::indexChanged, this, [this](int index) {
    if (index > 0 && index == undoStack().count())
      statusLine_->setText(text(QStringLiteral("已")) + undoStack().text(index - 1));
  });
  // Commands that tell nothing of their own leave no older message standing.
  for (const char* name : {"mnu_all", "mnu_null", "mnu_fx", "mnu_refresh"})
    if (QAction* a = find(name)) connect(a, &QAction::triggered, statusLine_, &QLabel::clear);
  if (QAction* a = find("mnu_undo"))
    connect(a, &QAction::triggered, this,
            [this] { statusLine_->setText(text(QStringLiteral("已撤销：")) + undoStack().text(undoStack().index())); });
  if (QAction* a = find("mnu_redo"))
    connect(a, &QAction::triggered, this, [this] {
      statusLine_->setText(text(QStringLiteral("已重做：")) + undoStack().text(undoStack().index() - 1));
    });

  // The toolbar: the common commands.
  toolBar_ = new QToolBar(text(QStringLiteral("工具栏")), this);
  toolBar_->setObjectName(QStringLiteral("MainToolBar"));
  toolBar_->setMovable(false);
  toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  addToolBar(Qt::TopToolBarArea, toolBar_);
  struct Tool {
    const char* action;
    const char* icon;
    QStyle::StandardPixmap fallback;
  };
  const Tool tools[] = {
      {"mnu_save", "document-save", QStyle::SP_DialogSaveButton},
      {"mnu_load", "view-refresh", QStyle::SP_BrowserReload},
      {nullptr, nullptr, QStyle::SP_CustomBase},
      {"mnu_ad", "list-add", QStyle::SP_FileDialogNewFolder},
      {"mnu_edit", "document-properties", QStyle::SP_FileDialogDetailedView},
      {"mnu_modify", "document-edit", QStyle::SP_FileDialogListView},
      {"mnu_de", "edit-delete", QStyle::SP_TrashIcon},
      {nullptr, nullptr, QStyle::SP_CustomBase},
      {"mnu_copy", "edit-copy", QStyle::SP_FileLinkIcon},
      {"mnu_paste", "edit-paste", QStyle::SP_ArrowDown},
      {nullptr, nullptr, QStyle::SP_CustomBase},
      {"mnu_find", "edit-find", QStyle::SP_FileDialogContentsView},
      {"mnu_help", "help-contents", QStyle::SP_MessageBoxQuestion},
  };
  for (const Tool& t : tools) {
    if (!t.action) {
      toolBar_->addSeparator();
      continue;
    }
    QAction* a = find(t.action);
    if (!a) continue;
    a->setIcon(ThemeIcon(this, t.icon, t.fallback));
    toolBar_->addAction(a);
  }

  // The filter bar, on a line of its own above the grid.
  addToolBarBreak(Qt::TopToolBarArea);
  filterBar_ = new FilterBar(script_, this);
  addToolBar(Qt::TopToolBarArea, filterBar_);
  connect(filterBar_, &FilterBar::filterChanged, this, &Vantaro3::applyFilter);
  connect(filterAction, &QAction::triggered, this, [this] {
    filterBar_->textBox()->setFocus(Qt::ShortcutFocusReason);
    filterBar_->textBox()->selectAll();
  });

  recordCount_ = new QLabel(this);
  recordCount_->setObjectName(QStringLiteral("RecordCount"));
  statusBar()->addPermanentWidget(recordCount_);

  connect(view_, &GridView::sortRequested, this, &Vantaro3::sortByColumn);
  // The filter's texts are read again after any change of the records.
  connect(&grid_, &QAbstractItemModel::modelReset, this, [this] { filterIndex_->invalidate(); });
  connect(&grid_, &QAbstractItemModel::rowsInserted, this, [this] { filterIndex_->invalidate(); });
  connect(&grid_, &QAbstractItemModel::rowsRemoved, this, [this] { filterIndex_->invalidate(); });
  connect(&grid_, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& from, const QModelIndex& to) {
    if (from.isValid() && to.isValid())
      filterIndex_->invalidateRows(from.row() + 1, to.row() + 1);
    else
      filterIndex_->invalidate();
  });
  connect(&grid_, &QAbstractItemModel::layoutChanged, this, [this] { filterIndex_->invalidate(); });
  // The count follows every change; rows a save or an undo moved stay filtered.
  connect(&grid_, &QAbstractItemModel::rowsInserted, this, &Vantaro3::updateRecordCount);
  connect(&grid_, &QAbstractItemModel::rowsRemoved, this, &Vantaro3::updateRecordCount);
  connect(&grid_, &QAbstractItemModel::modelReset, this, &Vantaro3::updateRecordCount);
  connect(&grid_, &QAbstractItemModel::layoutChanged, this, [this] {
    if (!filterBar_->text().isEmpty()) applyFilter();
  });
  // A reset of the same table (a delete of rows all over it) shows every row
  // again: the filter in the bar is applied to what the reset left.
  connect(&grid_, &QAbstractItemModel::modelReset, this, [this] {
    if (!filterBar_->text().isEmpty()) applyFilter();
  });
  // Columns widen to what an edit wrote into them.
  connect(&grid_, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& from, const QModelIndex& to) {
    const bool first = editedColumns_.isEmpty();
    for (int c = from.column(); c <= to.column(); ++c)
      if (c > 0 && !editedColumns_.contains(c)) editedColumns_.append(c);
    if (first && !editedColumns_.isEmpty()) QTimer::singleShot(0, this, &Vantaro3::fitEditedColumns);
  });
  view_->setCellNote([this](int row, int column) { return references_->note(column, grid_.cell(row, column)); });
  updateRecordCount();
}

void Vantaro3::tableShown() {
  const CatalogueEntry* entry = openEntry();
  const QString table = entry ? entry->fileName : QString();
  cellEditing_->setTable(entry ? entry->table() : nullptr, dataFolder_, systemScript(), [this, entry] {
    return entry && !entry->editor.isEmpty() ? dialogs_.cellEditors(entry->editor, dialogContext()) : CellEditorDefs();
  });
  if (entry) {
    // The identifying columns and the name stay in view.
    const int name = entry->table() ? entry->table()->nameColumn : 0;
    view_->setFrozenColumns(std::min(grid_.fieldCount(), std::max({grid_.leadingColumns(), name, 1})));
    references_->load(table, dataFolder_, systemScript(), store_);
    // Wide enough for the names beside the numbers.
    for (int c = 1; c <= grid_.fieldCount(); ++c)
      if (references_->refers(c)) view_->resizeColumnToContents(c);
  } else {
    view_->setFrozenColumns(0);
    references_->clear();
  }
  if (table != shownTable_) {
    // Another table: its own columns, no filter.
    shownTable_ = table;
    filterBar_->clearFilter();
    QStringList header;
    for (int c = 1; c <= grid_.fieldCount(); ++c) header << grid_.headerText(c);
    filterBar_->setColumns(header, grid_.hiddenColumns());
  }
  applyFilter();
  updateCommandStates();
  view_->viewport()->update();
}

void Vantaro3::updateCommandStates() {
  const CatalogueEntry* entry = openEntry();
  const bool open = entry && entry->table();
  const bool editor = open && dialogs_.hasEditor(entry->editor);
  const bool editable = editableTable();
  auto enable = [this](std::initializer_list<const char*> names, bool on) {
    for (const char* name : names)
      if (QAction* a = findChild<QAction*>(QString::fromLatin1(name))) a->setEnabled(on);
  };
  // Add only where the table can add a record.
  enable({"mnu_ad", "mnu_add"}, editor && entry->addAllowed);
  enable({"mnu_save", "mnu_de", "mnu_del", "mnu_copy", "mnu_copyh"}, open);
  enable({"mnu_edit", "mnu_modify"}, editor);
  // Edits of the cells where the table's cells can change.
  enable({"mnu_paste", "mnu_filldown", "mnu_clear", "mnu_replace"}, editable);
  // Earlier versions of a table the window may write.
  enable({"mnu_restore"}, editable);
  updateReferenceCommands();
}

bool Vantaro3::editableTable() const {
  const CatalogueEntry* entry = openEntry();
  return entry && entry->table() && !entry->table()->readOnly;
}

void Vantaro3::updateRecordCount() {
  if (!recordCount_) return;
  if (!openEntry()) {
    recordCount_->clear();
    return;
  }
  const int all = grid_.recordCount();
  const int shown = view_->shownCount();
  recordCount_->setText(filterBar_ && !filterBar_->text().isEmpty()
                            ? text(QStringLiteral("显示 %1 / %2 项").arg(shown).arg(all))
                            : text(QStringLiteral("共 %1 项").arg(all)));
}

void Vantaro3::fitEditedColumns() {
  const QList<int> columns = std::exchange(editedColumns_, {});
  for (int c : columns)
    if (c < grid_.columnCount()) view_->widenColumnToContents(c);
  view_->applyColumns();
}

void Vantaro3::applyFilter() {
  const QString typed = filterBar_->text();
  if (typed.isEmpty() || !openEntry()) {
    view_->setRowsShown({});
  } else {
    const int column = filterBar_->column();
    const std::vector<int> columns = column > 0 ? std::vector<int>{column} : view_->shownColumns();
    view_->setRowsShown(filterIndex_->match(grid_, columns, FilterTextsFor(typed)));
  }
  updateRecordCount();
  updateSelectionLabel();
}

int Vantaro3::keyboardRow() const {
  // The current row where it is in view, otherwise the first selected row.
  const int row = grid_.currentRow();
  if (row >= 1 && view_->isRowShown(row)) return row;
  const std::vector<int> rows = grid_.selectedRows();
  return rows.empty() ? 0 : rows.front();
}

void Vantaro3::editCurrent() {
  const int row = keyboardRow();
  if (row < 1) return;
  editRow(row);  // as a double-click
}

void Vantaro3::popupAtCurrent() {
  const int row = keyboardRow();
  if (row < 1) return;
  const int column = std::max(1, grid_.selectionModel()->currentIndex().column());
  view_->scrollTo(grid_.index(row - 1, column));
  const QRect cell = view_->visualRect(grid_.index(row - 1, 1));
  const QPoint at = view_->viewport()->mapToGlobal(QPoint(std::max(cell.left(), 0) + 8, cell.bottom()));
  rightButton(row, at, column);
}

void Vantaro3::sortByColumn(int column) {
  if (!openEntry() || column < 1 || column > grid_.fieldCount()) return;
  // Ascending first, then descending on the next click of the same header.
  const Qt::SortOrder order = view_->sortColumn() == column && view_->sortOrder() == Qt::AscendingOrder
                                  ? Qt::DescendingOrder
                                  : Qt::AscendingOrder;
  grid_.applyOrder(ColumnSortOrder(grid_, column, order));
  view_->showSortIndicator(column, order);
  const int current = grid_.currentRow();
  if (current > 0) view_->scrollTo(grid_.index(current - 1, column));
  status(QStringLiteral("已按“%1”%2排序")
             .arg(grid_.headerText(column).isEmpty() ? QString::number(column) : grid_.headerText(column),
                  order == Qt::AscendingOrder ? QStringLiteral("升序") : QStringLiteral("降序")));
}

void Vantaro3::setCellSelection(bool on) {
  view_->setCellSelection(on);
  // Delete clears the selected cells in cell mode; in row mode it deletes the records.
  if (QAction* a = findChild<QAction*>(QStringLiteral("mnu_de")))
    a->setShortcut(on ? QKeySequence() : QKeySequence(QKeySequence::Delete));
  if (QAction* a = findChild<QAction*>(QStringLiteral("mnu_clear")))
    a->setShortcut(on ? QKeySequence(QKeySequence::Delete) : QKeySequence());
  if (QAction* a = findChild<QAction*>(QStringLiteral("mnu_cells")); a && a->isChecked() != on) a->setChecked(on);
}

void Vantaro3::copySelection(bool headerRow) {
  if (!openEntry()) return;
  std::vector<int> rows = grid_.selectedRows();
  std::vector<int> columns = view_->shownColumns();
  const QModelIndex current = grid_.selectionModel()->currentIndex();
  if (rows.empty() && current.isValid() && view_->isRowShown(current.row() + 1)) rows.push_back(current.row() + 1);
  if (rows.empty()) return;
  if (view_->cellSelection()) {
    // The columns that hold selected cells (all of them for whole rows).
    std::vector<char> used(size_t(grid_.columnCount()), 0);
    bool any = false;
    for (const QItemSelectionRange& r : grid_.selectionModel()->selection())
      for (int c = r.left(); c <= r.right(); ++c) used[size_t(c)] = 1, any = true;
    if (!any && current.isValid()) used[size_t(current.column())] = 1, any = true;
    if (any && !used[0]) std::erase_if(columns, [&](int c) { return !used[size_t(c)]; });
  }
  if (columns.empty()) return;
  QApplication::clipboard()->setText(BlockText(grid_, rows, columns, headerRow));
  status(QStringLiteral("已复制 %1 行 %2 列").arg(rows.size()).arg(columns.size()));
}

std::vector<std::pair<int, int>> Vantaro3::selectedCells() {
  std::vector<std::pair<int, int>> cells;
  const int columns = grid_.columnCount();
  for (const QItemSelectionRange& range : grid_.selectionModel()->selection())
    for (int r = range.top(); r <= range.bottom(); ++r) {
      if (!view_->isRowShown(r + 1)) continue;
      for (int c = std::max(1, range.left()); c <= range.right() && c < columns; ++c)
        if (!grid_.hiddenColumns().contains(c)) cells.push_back({r + 1, c});
    }
  std::sort(cells.begin(), cells.end());
  cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
  const QModelIndex current = grid_.selectionModel()->currentIndex();
  if (cells.empty() && current.isValid() && current.column() >= 1 && view_->isRowShown(current.row() + 1))
    cells.push_back({current.row() + 1, current.column()});
  return cells;
}

bool Vantaro3::wholeRowsSelected() {
  const QItemSelection selection = grid_.selectionModel()->selection();
  if (selection.isEmpty()) return false;
  for (const QItemSelectionRange& range : selection)
    if (range.left() > 0 || range.right() < grid_.columnCount() - 1) return false;
  return true;
}

QList<int> Vantaro3::keptColumns(bool wholeRows) const {
  QList<int> kept;
  const CatalogueEntry* entry = openEntry();
  if (entry && !wholeRows) kept = entry->identifyingColumns();
  for (int c = 1; c <= grid_.fieldCount(); ++c)
    if (!cellEditing_->editable(c) && !kept.contains(c)) kept.append(c);
  std::sort(kept.begin(), kept.end());
  return kept;
}

QString Vantaro3::emptyText(int column) const {
  const CatalogueEntry* entry = openEntry();
  if (entry && entry->table())
    for (const ReferenceDef& ref : entry->table()->references)
      if (ref.column == column) return ref.empty;  // refers to nothing
  switch (cellEditing_->editorFor(column).kind) {
    case CellEditorDef::Kind::Check01: return QStringLiteral("0");
    case CellEditorDef::Kind::CheckMark: return QString();
    default: break;
  }
  const ColumnShape shape = cellEditing_->shape(column);
  if (shape.kind == ColumnShape::Kind::Number) return QString::number(shape.min <= 0 && shape.max >= 0 ? 0 : shape.min);
  return QString();
}

QString Vantaro3::columnNames(const QList<int>& columns) const {
  QStringList names;
  for (int c : columns) names << (grid_.headerText(c).isEmpty() ? QString::number(c) : grid_.headerText(c));
  return names.join(QStringLiteral("、"));
}

bool Vantaro3::applyAllOrNothing(CellPlan& plan, const QString& caption) {
  DropRefused(plan,
              [this](int row, int column, const QString& value) { return cellEditing_->refusal(row, column, value); });
  if (!plan.refusals.isEmpty()) {
    // Not a cell of it changes: the first reason is the one the cell's editor gives.
    QString why = plan.refusals.first();
    statusLine_->setText(why);
    if (plan.refusals.size() > 1) why += text(QStringLiteral("\n（共 %1 个值不能存入）").arg(plan.refusals.size()));
    front_.message(this, why + QLatin1Char('\n') + text(QStringLiteral("未作任何修改。")), UiFront::Icon::Warning);
    return false;
  }
  UndoScope step(grid_, caption);
  if (!plan.edits.empty()) grid_.setCells(plan.edits);
  return true;
}

void Vantaro3::paste() {
  const CatalogueEntry* entry = openEntry();
  if (!entry || !entry->table()) return;
  if (entry->table()->readOnly) {
    front_.message(this, text(QStringLiteral("%1 为只读，不能粘贴。").arg(entry->fileName)),
                   UiFront::Icon::Information);
    return;
  }
  const QList<QStringList> block = ParseBlock(QApplication::clipboard()->text());
  int width = 0;
  for (const QStringList& line : block) width = std::max(width, int(line.size()));
  if (block.isEmpty() || width == 0) {
    status(QStringLiteral("剪贴板中没有可粘贴的文字"));
    return;
  }
  const QModelIndex current = grid_.selectionModel()->currentIndex();
  if (!current.isValid() || !view_->isRowShown(current.row() + 1)) {
    front_.message(this, text(QStringLiteral("请先选择要粘贴到的单元格。")), UiFront::Icon::Information);
    return;
  }
  const bool wholeRows = wholeRowsSelected();
  const std::vector<int> shownColumns = view_->shownColumns();

  // One value into a selection of several cells (several rows' current column in row mode).
  std::vector<std::pair<int, int>> targets;
  if (block.size() == 1 && width == 1) {
    if (view_->cellSelection() && !wholeRows) {
      targets = selectedCells();
    } else if (current.column() >= 1) {
      for (int r : grid_.selectedRows())
        if (view_->isRowShown(r)) targets.push_back({r, current.column()});
    }
  }
  if (targets.size() > 1) {
    CellPlan plan = PlanFill(grid_, targets, block[0][0], keptColumns(false));
    if (!applyAllOrNothing(plan, QStringLiteral("粘贴"))) return;
    QString line = QStringLiteral("已将“%1”粘贴到 %2 个单元格（改动 %3 个）")
                       .arg(block[0][0])
                       .arg(plan.cells)
                       .arg(plan.edits.size());
    if (!plan.skipped.isEmpty()) line += QStringLiteral("；未改动：%1").arg(columnNames(plan.skipped));
    status(line);
    return;
  }

  // Whole rows copied onto selected whole rows go in whole, from the first
  // column; anything else from the current cell on, right and down, and the
  // columns that identify a record are left alone.
  const bool rowsWhole = wholeRows && size_t(width) == shownColumns.size();
  const std::vector<int> selected = grid_.selectedRows();
  const int startRow =
      rowsWhole && !selected.empty() ? std::min(selected.front(), current.row() + 1) : current.row() + 1;
  const int startColumn = rowsWhole ? 1 : std::max(1, current.column());
  std::vector<int> rows;
  for (int r : view_->shownRows())
    if (r >= startRow) rows.push_back(r);
  std::vector<int> columns;
  for (int c : shownColumns)
    if (c >= startColumn) columns.push_back(c);
  if (!BlockFits(int(block.size()), width, rows.size(), columns.size())) {
    const int firstColumn = columns.empty() ? startColumn : columns.front();
    front_.message(this,
                   text(QStringLiteral("粘贴的内容有 %1 行 %2 列，从第 %3 行第 %4 列起只放得下 %5 行 %6 列。未粘贴。")
                            .arg(block.size())
                            .arg(width)
                            .arg(startRow)
                            .arg(firstColumn)
                            .arg(rows.size())
                            .arg(columns.size())),
                   UiFront::Icon::Warning);
    return;
  }
  CellPlan plan = PlanPaste(grid_, block, rows, columns, keptColumns(rowsWhole));
  if (!applyAllOrNothing(plan, QStringLiteral("粘贴"))) return;
  QString line =
      QStringLiteral("已粘贴 %1 行 %2 列（改动 %3 个单元格）").arg(block.size()).arg(width).arg(plan.edits.size());
  if (!plan.skipped.isEmpty()) line += QStringLiteral("；未改动：%1").arg(columnNames(plan.skipped));
  if (rowsWhole) {
    // Whole rows carry their numbers along; two records with one number are
    // the user's to settle, but they should know at once.
    const QList<int> identifying = entry->identifyingColumns();
    const QStringList repeated =
        identifying.isEmpty()
            ? QStringList()
            : RepeatedValues(grid_, identifying.first(), std::vector<int>(rows.begin(), rows.begin() + block.size()));
    if (!repeated.isEmpty()) line += QStringLiteral("；注意：编号 %1 重复").arg(repeated.join(QStringLiteral("、")));
  }
  status(line);
}

void Vantaro3::fillDown() {
  if (!editableTable()) return;
  std::vector<std::pair<int, int>> cells;
  const QModelIndex current = grid_.selectionModel()->currentIndex();
  if (view_->cellSelection() && !wholeRowsSelected()) {
    cells = selectedCells();
  } else if (current.isValid() && current.column() >= 1) {
    // Rows: the current column of the selected rows.
    for (int r : grid_.selectedRows())
      if (view_->isRowShown(r)) cells.push_back({r, current.column()});
    if (cells.empty() && view_->isRowShown(current.row() + 1)) cells.push_back({current.row() + 1, current.column()});
  }
  if (cells.empty()) return;
  // A single row takes the row shown above it.
  int above = 0;
  const int top = cells.front().first;
  for (int r : view_->shownRows()) {
    if (r >= top) break;
    above = r;
  }
  CellPlan plan = PlanFillDown(grid_, cells, above, keptColumns(false));
  if (!applyAllOrNothing(plan, QStringLiteral("向下填充"))) return;
  QString line = QStringLiteral("已向下填充 %1 个单元格（改动 %2 个）").arg(plan.cells).arg(plan.edits.size());
  if (!plan.skipped.isEmpty()) line += QStringLiteral("；未改动：%1").arg(columnNames(plan.skipped));
  status(line);
}

void Vantaro3::clearCells() {
  if (!editableTable()) return;
  // Whole rows in cell mode (the selector column) are the records' delete.
  if (!view_->cellSelection() || wholeRowsSelected()) {
    deleteSelected(false);
    return;
  }
  const std::vector<std::pair<int, int>> cells = selectedCells();
  if (cells.empty()) return;
  CellPlan plan = PlanClear(
      grid_, cells, [this](int column) { return emptyText(column); }, keptColumns(false));
  if (!applyAllOrNothing(plan, QStringLiteral("清除单元格"))) return;
  QString line = QStringLiteral("已清除 %1 个单元格（改动 %2 个）").arg(plan.cells).arg(plan.edits.size());
  if (!plan.skipped.isEmpty()) line += QStringLiteral("；未改动：%1").arg(columnNames(plan.skipped));
  status(line);
}

void Vantaro3::replace() {
  if (!editableTable()) return;
  const std::vector<int> shown = view_->shownColumns();
  QStringList headers;
  for (int c : shown) headers << grid_.headerText(c);
  const QModelIndex current = grid_.selectionModel()->currentIndex();
  ReplaceDialog dialog(shown, headers, current.isValid() ? current.column() : 0, script_, this);
  if (dialog.exec() != QDialog::Accepted || dialog.findText().isEmpty()) return;
  // One column as chosen; all of them but those that identify a record.
  const int chosen = dialog.column();
  std::vector<int> columns;
  const QList<int> kept = keptColumns(false);
  for (int c : shown)
    if (chosen > 0 ? c == chosen && cellEditing_->editable(c) : !kept.contains(c)) columns.push_back(c);
  // The text as typed and in its Traditional form, as the filter finds it.
  CellPlan plan =
      PlanReplace(grid_, view_->shownRows(), columns, FilterTextsFor(dialog.findText()), dialog.replacement());
  DropRefused(plan,
              [this](int row, int column, const QString& value) { return cellEditing_->refusal(row, column, value); });
  {
    UndoScope step(grid_, QStringLiteral("替换"));
    if (!plan.edits.empty()) grid_.setCells(plan.edits);
  }
  if (plan.refusals.isEmpty()) {
    status(QStringLiteral("已替换 %1 个单元格").arg(plan.edits.size()));
    return;
  }
  status(QStringLiteral("已替换 %1 个单元格，%2 个不能存入，未替换").arg(plan.edits.size()).arg(plan.refusals.size()));
  QStringList lines = plan.refusals;
  if (lines.size() > 20) lines = lines.mid(0, 20) << QStringLiteral("……");
  front_.message(this,
                 text(QStringLiteral("已替换 %1 个单元格。以下 %2 个单元格替换后不能存入，保持原样：")
                          .arg(plan.edits.size())
                          .arg(plan.refusals.size())) +
                     QLatin1Char('\n') + lines.join(QLatin1Char('\n')),
                 UiFront::Icon::Warning);
}

bool Vantaro3::showGuide(bool english) {
  const QString guide = english ? EnglishGuidePath(programFolder_) : GuidePath(programFolder_, script_);
  if (guide.isEmpty()) return false;
  if (auto* shown = qobject_cast<HelpWindow*>(helpWindow_.data()))
    shown->setGuide(guide);
  else
    helpWindow_ = new HelpWindow(guide, script_, this);
  helpWindow_->show();
  helpWindow_->raise();
  helpWindow_->activateWindow();
  return true;
}

}  // namespace v3
