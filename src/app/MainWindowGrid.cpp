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

#include <algorithm>

#include "app/CellEditor.h"
#include "app/Clipboard.h"
#include "app/Dialogs.h"
#include "app/FilterBar.h"
#include "app/FrozenView.h"
#include "app/GridSort.h"
#include "app/GridView.h"
#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "app/Messages.h"
#include "app/References.h"
#include "app/Search.h"
#include "app/UiFront.h"
#include "tables/Catalogue.h"

namespace v3 {
namespace {

// The column that names a record, where it is not column 2.
int NameColumn(const QString& fileName) {
  static const QHash<QString, int> columns{
      {QStringLiteral("ReleaseCase.dat"), 3}, {QStringLiteral("SpecialCase.dat"), 3},
      {QStringLiteral("TrainCase.dat"), 3},   {QStringLiteral("WorkCase.dat"), 3},
      {QStringLiteral("Item.dat"), 3},        {QStringLiteral("World.tab"), 3},
      {QStringLiteral("RichBa.tab"), 3},      {QStringLiteral("OfficeCom.dat"), 1},
      {QStringLiteral("OfficeEmo.dat"), 1},
  };
  return columns.value(fileName, 2);
}

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
    menu->addSeparator()->setObjectName(QStringLiteral("mnu_f7"));
    menu->addAction(cells);
  }
  if (auto* menu = findChild<QMenu*>(QStringLiteral("mnu_menu3"))) menu->addAction(filterAction);

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
  // Columns are fitted again to what an edit wrote into them.
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
  cellEditing_->setTable(entry ? entry->table() : nullptr, dataFolder_, [this, entry] {
    return entry && !entry->editor.isEmpty() ? dialogs_.cellEditors(entry->editor) : CellEditorDefs();
  });
  if (entry) {
    view_->setFrozenColumns(std::min(grid_.fieldCount(), std::max(grid_.leadingColumns(), NameColumn(table))));
    references_->load(table, dataFolder_, store_);
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
  // Add only where the table can add a record.
  const CatalogueEntry* entry = openEntry();
  const bool canAdd = entry && entry->addAllowed && dialogs_.hasEditor(entry->editor);
  for (const char* name : {"mnu_ad", "mnu_add"})
    if (QAction* a = findChild<QAction*>(QString::fromLatin1(name))) a->setEnabled(canAdd);
  // Earlier versions of a table the window may write.
  if (QAction* a = findChild<QAction*>(QStringLiteral("mnu_restore")))
    a->setEnabled(entry && entry->table() && !entry->table()->readOnly);
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
    if (c < grid_.columnCount()) view_->resizeColumnToContents(c);
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
  // As a double-click: the editor reads the selection, so the row is one of it.
  if (!grid_.isRowSelected(row)) grid_.setCurrentRow(row);
  editRow(row);
}

void Vantaro3::popupAtCurrent() {
  const int row = keyboardRow();
  if (row < 1) return;
  view_->scrollTo(grid_.index(row - 1, std::max(1, grid_.selectionModel()->currentIndex().column())));
  const QRect cell = view_->visualRect(grid_.index(row - 1, 1));
  const QPoint at = view_->viewport()->mapToGlobal(QPoint(std::max(cell.left(), 0) + 8, cell.bottom()));
  rightButton(row, at);
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
  status(QStringLiteral("已按“%1”%2排序").arg(grid_.headerText(column).isEmpty() ? QString::number(column)
                                                                                      : grid_.headerText(column),
                                               order == Qt::AscendingOrder ? QStringLiteral("升序")
                                                                           : QStringLiteral("降序")));
}

void Vantaro3::setCellSelection(bool on) {
  view_->setCellSelection(on);
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

void Vantaro3::paste() {
  const CatalogueEntry* entry = openEntry();
  if (!entry || !entry->table()) return;
  if (entry->table()->readOnly) {
    front_.message(this, text(QStringLiteral("%1 为只读，不能粘贴。").arg(entry->fileName)), UiFront::Icon::Information);
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
  // From the current cell on (whole rows: from the row's first column),
  // over the rows and columns in view.
  const int startRow = current.row() + 1;
  const int startColumn = view_->cellSelection() ? std::max(1, current.column()) : 1;
  std::vector<int> rows;
  for (int r : view_->shownRows())
    if (r >= startRow) rows.push_back(r);
  std::vector<int> columns;
  for (int c : view_->shownColumns())
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
  const int changed = PasteBlock(grid_, block, rows, columns);
  status(QStringLiteral("已粘贴 %1 行 %2 列（改动 %3 个单元格）").arg(block.size()).arg(width).arg(changed));
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
