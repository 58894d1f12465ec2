// The main window's commands on references between tables, all driven by
// the tables' reference declarations: 转到 (the record a cell names, in its
// table), 被引用… (the records of the folder that name one) and the question
// before records that others name are deleted.
#include <QAction>
#include <QLabel>
#include <QMenu>

#include <map>
#include <set>

#include "app/FilterBar.h"
#include "app/GridView.h"
#include "app/MainWindow.h"
#include "app/ReferrersDialog.h"
#include "app/References.h"
#include "app/Texts.h"
#include "app/UiFront.h"
#include "model/TableIo.h"
#include "app/Catalogue.h"
#include "tables/Tables.h"
#include "text/Language.h"

namespace v3 {
namespace {

// Each referring table's records once: the open table's as the grid holds
// them (its unsaved changes included), every other one's as its file is.
class FolderRows {
 public:
  FolderRows(const TableDef* open, const RecordGrid& grid, const QString& folder, Script systemScript, FileStore& store)
      : open_(open), grid_(grid), folder_(folder), systemScript_(systemScript), store_(store) {}
  const std::vector<QStringList>* operator()(const TableDef& table) {
    auto it = rows_.find(&table);
    if (it != rows_.end()) return &it->second;
    QString error;
    std::vector<QStringList> rows =
        &table == open_ ? grid_.records() : ReadTableRows(table, folder_, systemScript_, &error, store_);
    if (!error.isEmpty()) {
      errors << QStringLiteral("%1：%2").arg(table.fileName, error);
      return nullptr;
    }
    return &rows_.emplace(&table, std::move(rows)).first->second;
  }
  QStringList errors;

 private:
  const TableDef* open_;
  const RecordGrid& grid_;
  QString folder_;
  Script systemScript_;
  FileStore& store_;
  std::map<const TableDef*, std::vector<QStringList>> rows_;
};

}  // namespace

void Vantaro3::buildReferenceCommands() {
  // In the Edit menu with their keys (while the grid has the focus): on the current cell.
  auto gridAction = [this](const char* name, const QString& simplified, const QKeySequence& key) {
    auto* a = new QAction(text(simplified), this);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(key);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    view_->addAction(a);
    return a;
  };
  QAction* go = gridAction("mnu_goto", QStringLiteral("转到(&G)"), QKeySequence(Qt::Key_F12));
  QAction* users = gridAction("mnu_refby", QStringLiteral("被引用(&U)…"), QKeySequence(Qt::SHIFT | Qt::Key_F12));
  connect(go, &QAction::triggered, this, [this] {
    const QModelIndex current = grid_.selectionModel()->currentIndex();
    const bool shown = current.isValid() && view_->isRowShown(current.row() + 1);
    goToReference(shown ? current.row() + 1 : 0, current.column());
  });
  connect(users, &QAction::triggered, this, [this] { showReferrers(keyboardRow()); });
  if (auto* menu = findChild<QMenu*>(QStringLiteral("mnu_menu2"))) {
    // After the record commands (before the clipboard's).
    QAction* before = nullptr;
    for (QAction* a : menu->actions())
      if (a->objectName() == QLatin1String("mnu_f6")) before = a;
    menu->insertAction(before, go);
    menu->insertAction(before, users);
  }

  // In the context menu: on the cell it was opened on.
  contextMenu_->addSeparator()->setObjectName(QStringLiteral("mnu_f8"));
  auto* go2 = new QAction(text(QStringLiteral("转到")), this);
  go2->setObjectName(QStringLiteral("mnu_goto2"));
  auto* users2 = new QAction(text(QStringLiteral("被引用…")), this);
  users2->setObjectName(QStringLiteral("mnu_refby2"));
  contextMenu_->addAction(go2);
  contextMenu_->addAction(users2);
  connect(go2, &QAction::triggered, this, [this] { goToReference(contextCell_.y(), contextCell_.x()); });
  connect(users2, &QAction::triggered, this, [this] { showReferrers(contextCell_.y()); });
  connect(contextMenu_, &QMenu::aboutToShow, this,
          [this, go2] { go2->setEnabled(openEntry() && references_->reference(contextCell_.x())); });

  // Ctrl+click on a reference cell goes there (once the click is over).
  view_->setFollowedColumns([this](int column) { return openEntry() && references_->reference(column); });
  connect(view_, &GridView::referenceClicked, this, &Vantaro3::goToReference, Qt::QueuedConnection);
}

void Vantaro3::updateReferenceCommands() {
  const CatalogueEntry* entry = openEntry();
  const TableDef* table = entry ? entry->table() : nullptr;
  const bool refers = table && !table->references.empty();
  const bool referred = table && !ReferencesTo(table->fileName).empty();
  for (const char* name : {"mnu_goto", "mnu_goto2"})
    if (QAction* a = findChild<QAction*>(QString::fromLatin1(name))) a->setEnabled(refers);
  for (const char* name : {"mnu_refby", "mnu_refby2"})
    if (QAction* a = findChild<QAction*>(QString::fromLatin1(name))) a->setEnabled(referred);
}

void Vantaro3::goToReference(int row, int column) {
  const CatalogueEntry* entry = openEntry();
  if (!entry || !entry->table()) return;
  if (row < 1 || row > grid_.recordCount() || column < 1 || column > grid_.fieldCount()) {
    status(QStringLiteral("请先选择一个引用其他表格的单元格"));
    return;
  }
  const ReferenceDef* reference = references_->reference(column);
  if (!reference) {
    const QString header = grid_.headerText(column).isEmpty() ? QString::number(column) : grid_.headerText(column);
    status(QStringLiteral("“%1”一栏不引用其他表格的记录").arg(header));
    return;
  }
  followReference(*reference, column, grid_.cell(row, column));
}

void Vantaro3::followReference(const ReferenceDef& reference, int column, const QString& cell) {
  const QString header = grid_.headerText(column).isEmpty() ? QString::number(column) : grid_.headerText(column);
  const TableDef* target = FindTable(reference.target);
  const int position = references_->target(column, cell);
  if (position == ReferenceTargets::kEmpty) {
    status(QStringLiteral("“%1”为空，不引用任何记录").arg(header));
    return;
  }
  if (position < 0 || !target) {
    status(QStringLiteral("“%1”的“%2”在 %3 中没有对应的记录").arg(header, ReferenceKeyText(cell), reference.target));
    return;
  }
  std::function<int(bool)> rowOf;
  if (reference.by == RefersBy::Position) {
    // A table just read shows its records in file order; one open already is
    // asked which of its rows the file's record is.
    rowOf = [this, target, position](bool fresh) {
      if (fresh) return position < grid_.recordCount() ? position + 1 : 0;
      const FileRecords file = OpenTableRecords(*target, dataFolder_, systemScript(), grid_, store_, false);
      for (size_t r = 0; r < file.position.size(); ++r)
        if (file.position[r] == position) return int(r + 1);
      return 0;
    };
  } else {
    // The record that holds the key in the table as it is now.
    const ReferenceDef ref = reference;
    rowOf = [this, ref, cell](bool) {
      const int at = ReferenceTargets(ref, grid_.records()).find(cell);
      return at >= 0 ? at + 1 : 0;
    };
  }
  goToRecord(*target, rowOf, 0);
}

bool Vantaro3::goToRecord(const TableDef& table, const std::function<int(bool fresh)>& rowOf, int column) {
  const CatalogueEntry* entry = nullptr;
  for (const CatalogueEntry& e : Catalogue())
    if (!e.isStandalone() && e.table() == &table) entry = &e;
  if (!entry) {
    status(QStringLiteral("%1 不能在表格中打开").arg(table.fileName));
    return false;
  }
  bool fresh = false;
  if (openEntry() != entry) {
    // As the Select menu opens it: the open table's changes are settled first.
    openTable(*entry);
    if (openEntry() != entry) {
      status(QStringLiteral("未转到 %1").arg(table.fileName));
      return false;
    }
    fresh = true;
  }
  const int row = rowOf(fresh);
  if (row < 1 || row > grid_.recordCount()) {
    status(QStringLiteral("%1 中没有所引用的记录").arg(table.fileName));
    return false;
  }
  // Shown even where the filter had left it out.
  if (!view_->isRowShown(row)) {
    filterBar_->clearFilter();
    applyFilter();
  }
  if (column < 1) column = table.nameColumn > 0 ? table.nameColumn : 1;
  grid_.setCurrentRow(row);
  grid_.selectionModel()->setCurrentIndex(grid_.index(row - 1, column), QItemSelectionModel::NoUpdate);
  view_->scrollTo(grid_.index(row - 1, column), QAbstractItemView::PositionAtCenter);
  view_->setFocus(Qt::OtherFocusReason);
  updateSelectionLabel();
  const QString name = table.nameColumn > 0 ? ReferenceKeyText(grid_.cell(row, table.nameColumn)) : QString();
  status(name.isEmpty() ? QStringLiteral("已转到 %1 第 %2 行").arg(table.fileName).arg(row)
                        : QStringLiteral("已转到 %1 第 %2 行“%3”").arg(table.fileName).arg(row).arg(name));
  return true;
}

QString Vantaro3::referenceTarget(int column, const QString& cell) const {
  const ReferenceDef* reference = references_->reference(column);
  const int position = reference ? references_->target(column, cell) : ReferenceTargets::kMissing;
  if (position < 0) return QString();
  const QString name = references_->targetName(column, position);
  return text(QStringLiteral("%1 第 %2 行").arg(reference->target).arg(position + 1)) +
         (name.isEmpty() ? QString() : QStringLiteral("“%1”").arg(name));
}

void Vantaro3::showReferrers(int row) {
  const CatalogueEntry* entry = openEntry();
  if (!entry || !entry->table()) return;
  const TableDef& table = *entry->table();
  if (row < 1 || row > grid_.recordCount()) {
    status(QStringLiteral("请先选择一条记录"));
    return;
  }
  const QString key = ReferenceKeyText(grid_.cell(row, 1));
  const QString name = table.nameColumn > 0 ? ReferenceKeyText(grid_.cell(row, table.nameColumn)) : QString();
  const QString what = name.isEmpty() ? QStringLiteral("%1 的记录 %2").arg(table.fileName, key)
                                      : QStringLiteral("%1 的记录 %2“%3”").arg(table.fileName, key, name);
  if (ReferencesTo(table.fileName).empty()) {
    status(QStringLiteral("没有表格引用 %1 的记录").arg(table.fileName));
    front_.message(this, text(QStringLiteral("没有表格引用 %1 的记录。").arg(table.fileName)),
                   UiFront::Icon::Information);
    return;
  }
  // The record as the other tables know it: by its place in the file, or
  // (a record not saved yet) by its key where they refer by key.
  const bool keyed = HasKeyedReferences(table.fileName);
  const FileRecords file = OpenTableRecords(table, dataFolder_, systemScript(), grid_, store_, keyed);
  if (!file.error.isEmpty()) {
    front_.message(this, text(QStringLiteral("无法读取 %1：%2").arg(table.fileName, file.error)),
                   UiFront::Icon::Warning);
    return;
  }
  std::vector<QStringList> targetRows = file.rows;
  std::set<int> positions;
  if (const int p = file.position[size_t(row - 1)]; p >= 0) {
    positions.insert(p);
  } else if (keyed) {
    targetRows.push_back(grid_.record(row));
    positions.insert(int(targetRows.size()) - 1);
  }
  FolderRows rows(&table, grid_, dataFolder_, systemScript(), store_);
  std::vector<Referrer> found = FindReferrers(table, targetRows, file.count, positions, std::ref(rows));
  if (!rows.errors.isEmpty())
    front_.message(this, text(QStringLiteral("以下表格无法读取，未列出它们的引用：\n") + rows.errors.join(u'\n')),
                   UiFront::Icon::Warning);
  if (found.empty()) {
    status(QStringLiteral("没有记录引用 %1").arg(what));
    front_.message(this, text(QStringLiteral("没有记录引用 %1。").arg(what)), UiFront::Icon::Information);
    return;
  }
  status(QStringLiteral("%1 处引用 %2").arg(found.size()).arg(what));
  Referrer chosen;
  {
    const auto headerOf = [this](const TableDef& table, int column) {
      return texts_.headers(table.fileName, table.fieldCount()).value(column - 1);
    };
    ReferrersDialog dialog(text(what), std::move(found), headerOf, script_, this);
    if (dialog.exec() != QDialog::Accepted || !dialog.chosen()) return;
    chosen = *dialog.chosen();
  }
  // The open table's rows are its grid's; any other's are in file order.
  const auto rowOf = [chosen](bool) { return chosen.row; };
  goToRecord(*chosen.table, rowOf, chosen.column);
}

bool Vantaro3::confirmReferencedDelete(const std::vector<int>& rows) {
  const CatalogueEntry* entry = openEntry();
  const TableDef* table = entry ? entry->table() : nullptr;
  if (!table || table->readOnly || ReferencesTo(table->fileName).empty()) return true;
  const bool keyed = HasKeyedReferences(table->fileName);
  const FileRecords file = OpenTableRecords(*table, dataFolder_, systemScript(), grid_, store_, keyed);
  // A file that cannot be read: the save says so, and keeps every reference.
  if (!file.error.isEmpty()) return true;
  std::set<int> positions;
  for (int r : rows)
    if (r >= 1 && size_t(r) <= file.position.size() && file.position[size_t(r - 1)] >= 0)
      positions.insert(file.position[size_t(r - 1)]);
  FolderRows folderRows(table, grid_, dataFolder_, systemScript(), store_);
  const std::vector<Referrer> found = FindReferrers(*table, file.rows, file.count, positions, std::ref(folderRows));
  if (found.empty()) return true;

  // "Team.dat 3 处、Firm.dat 1 处", in the order the declarations come.
  std::vector<std::pair<QString, int>> perTable;
  std::set<int> referenced;
  bool cleared = false, kept = false;
  for (const Referrer& f : found) {
    referenced.insert(f.target);
    const ReferenceDef* ref = f.table->referenceAt(f.column);
    (ref && ref->by == RefersBy::Position ? cleared : kept) = true;
    if (perTable.empty() || perTable.back().first != f.table->fileName) perTable.emplace_back(f.table->fileName, 0);
    perTable.back().second += 1;
  }
  QStringList where;
  for (const auto& [file, n] : perTable) where << QStringLiteral("%1 %2 处").arg(file).arg(n);
  QString question = rows.size() == 1 ? QStringLiteral("该记录被 %1引用").arg(where.join(QStringLiteral("、")))
                                      : QStringLiteral("所选 %1 条记录中有 %2 条被引用（%3）")
                                            .arg(rows.size())
                                            .arg(referenced.size())
                                            .arg(where.join(QStringLiteral("、")));
  if (cleared && kept)
    question += QStringLiteral("；删除后，按位置的引用将在保存时清空，按编号的引用保持原值但不再指向任何记录");
  else if (cleared)
    question += QStringLiteral("；删除后这些引用将在保存时清空");
  else
    question += QStringLiteral("；删除后这些引用保持原值，但不再指向任何记录");
  question += QStringLiteral("。仍要删除吗？");
  if (front_.ask(this, text(question), {text(QStringLiteral("删除")), text(QStringLiteral("取消"))}) == 0) return true;
  status(QStringLiteral("未删除"));
  return false;
}

}  // namespace v3
