#include "app/BatchCommands.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/GridCommands.h"
#include "app/MainWindow.h"
#include "app/Messages.h"
#include "app/Texts.h"
#include "app/UiFront.h"
#include "storage/FileStore.h"
#include "app/Catalogue.h"
#include "text/DiskFile.h"

namespace v3 {
namespace {

QString localised(Script script, const QString& simplified) { return msg::Localised(script, simplified); }

QTreeWidget* makePreview(QWidget* owner, const QStringList& headers) {
  auto* t = new QTreeWidget(owner);
  t->setRootIsDecorated(false);
  t->setHeaderLabels(headers);
  t->setUniformRowHeights(true);
  t->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  return t;
}

QDialogButtonBox* makeButtons(QDialog* d, Script languageCode, QPushButton** ok) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, d);
  *ok = buttons->button(QDialogButtonBox::Ok);
  (*ok)->setText(localised(languageCode, QStringLiteral("确定")));
  buttons->button(QDialogButtonBox::Cancel)->setText(localised(languageCode, QStringLiteral("取消")));
  QObject::connect(buttons, &QDialogButtonBox::accepted, d, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, d, &QDialog::reject);
  return buttons;
}

QString shown(const QString& cell) { return cell.isEmpty() ? QStringLiteral("\"\"") : PatchEscape(cell); }

const TableDef* writableTable(Vantaro3& w, UiFront& front) {
  const CatalogueEntry* entry = w.openEntry();
  const TableDef* table = entry ? entry->table() : nullptr;
  if (!table || table->readOnly) {
    front.message(&w, localised(w.script(), QStringLiteral("请先打开一个可以修改的数据表。")), UiFront::Icon::Information);
    return nullptr;
  }
  return table;
}

}  // namespace

BatchDialog::BatchDialog(Vantaro3& window, const TableDef& table, QWidget* owner)
    : QDialog(owner), window_(window), table_(table) {
  const Script lc = window.script();
  setObjectName(QStringLiteral("BatchDialog"));
  setWindowTitle(localised(lc, QStringLiteral("批量修改 %1")).arg(table.fileName));
  bool exists = false;
  QString error;
  file_ = FileStore::disk().read(DataFilePath(window.dataFolder(), table.fileName), &exists, &error);
  names_ = BatchColumnNames(InterfaceLanguage(), table.fileName, table.fieldCount());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(localised(lc, QStringLiteral("每行一条指令：=列=值 !列=值 >列=n <列=n ~列=文字 筛选；"
                                                       ".列=值 .列=$列2 .列+=n .列-=n .列*=f 修改（末尾加 !clamp 取最接近的可保存值）；# 注释")),
                                this));
  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("batchText"));
  layout->addWidget(text_);
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("batchSummary"));
  summary_->setWordWrap(true);
  layout->addWidget(summary_);
  preview_ = makePreview(this, {localised(lc, QStringLiteral("记录")), localised(lc, QStringLiteral("列")), localised(lc, QStringLiteral("原值")),
                                localised(lc, QStringLiteral("新值"))});
  preview_->setObjectName(QStringLiteral("batchPreview"));
  layout->addWidget(preview_);
  layout->addWidget(makeButtons(this, lc, &ok_));
  connect(text_, &QPlainTextEdit::textChanged, this, &BatchDialog::refresh);
  resize(640, 480);
  refresh();
  text_->setFocus();
}

void BatchDialog::refresh() {
  const Script lc = window_.script();
  const RecordGrid& grid = window_.grid();
  preview_->clear();
  result_ = BatchResult{};
  BatchProgram program;
  BatchError error;
  if (!ParseBatch(text_->toPlainText(), names_, table_.fieldCount(), &program, &error)) {
    summary_->setText(localised(lc, QStringLiteral("第 %1 行：%2")).arg(error.line).arg(error.reason));
    ok_->setEnabled(false);
    return;
  }
  result_ = RunBatch(program, table_, window_.dataFolder(), grid, &file_);
  if (!result_.ok()) {
    summary_->setText(result_.refusalLines(ToolTable{&table_, nullptr, InterfaceLanguage()}).join(u'\n'));
    ok_->setEnabled(false);
    return;
  }
  const TableDifference d = BatchDifference(ToolTable{&table_, nullptr, InterfaceLanguage()}, grid, result_);
  for (const RecordDifference& r : d.records)
    for (const CellChange& c : r.changes)
      new QTreeWidgetItem(preview_, {r.key, grid.headerText(c.column), shown(c.oldText), shown(c.newText)});
  summary_->setText(localised(lc, QStringLiteral("选中 %1 条记录，修改 %2 个单元格"))
                        .arg(result_.matched.size())
                        .arg(result_.edits.size()) +
                    (result_.clamped ? localised(lc, QStringLiteral("（%1 个取了最接近的可保存值）")).arg(result_.clamped) : QString()));
  ok_->setEnabled(!result_.edits.empty());
}

PatchDialog::PatchDialog(Vantaro3& window, const ToolTable& table, Patch patch, const QString& patchName,
                         QWidget* owner)
    : QDialog(owner), window_(window), table_(table), patch_(std::move(patch)) {
  const Script lc = window.script();
  setObjectName(QStringLiteral("PatchDialog"));
  setWindowTitle(localised(lc, QStringLiteral("应用补丁 %1")).arg(patchName));
  for (const ToolTable& t : patch_.tables)
    if (t.fileName() != table.fileName()) others_ << t.fileName();
  auto* layout = new QVBoxLayout(this);
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("patchSummary"));
  summary_->setWordWrap(true);
  layout->addWidget(summary_);
  preview_ = makePreview(this, {localised(lc, QStringLiteral("记录")), localised(lc, QStringLiteral("列")), localised(lc, QStringLiteral("期望")),
                                localised(lc, QStringLiteral("实际")), localised(lc, QStringLiteral("补丁的值"))});
  preview_->setObjectName(QStringLiteral("patchPreview"));
  layout->addWidget(preview_);
  force_ = new QCheckBox(localised(lc, QStringLiteral("冲突处使用补丁的值")), this);
  force_->setObjectName(QStringLiteral("patchForce"));
  layout->addWidget(force_);
  reverse_ = new QCheckBox(localised(lc, QStringLiteral("撤回补丁（反向应用）")), this);
  reverse_->setObjectName(QStringLiteral("patchReverse"));
  layout->addWidget(reverse_);
  layout->addWidget(makeButtons(this, lc, &ok_));
  connect(force_, &QCheckBox::toggled, this, &PatchDialog::refresh);
  connect(reverse_, &QCheckBox::toggled, this, &PatchDialog::refresh);
  resize(720, 480);
  refresh();
}

void PatchDialog::refresh() {
  const Script lc = window_.script();
  const Patch patch = reverse_->isChecked() ? ReversedPatch(patch_) : patch_;
  std::vector<const PatchChange*> changes;
  for (const PatchChange& c : patch.changes)
    if (c.table.fileName() == table_.fileName()) changes.push_back(&c);
  QStringList order;
  for (const PatchOrder& o : patch.orders)
    if (o.table.fileName() == table_.fileName()) order = o.after;
  const std::vector<QStringList> rows = window_.grid().records();
  plan_ = PlanTablePatch(table_, rows, changes, force_->isChecked(), order);
  preview_->clear();
  for (const PatchConflict& c : plan_.conflicts) {
    auto* item = new QTreeWidgetItem(preview_, {c.record, c.columnName, c.expected, c.found, c.wanted});
    item->setForeground(0, c.forced ? Qt::darkYellow : Qt::red);
  }
  std::vector<QStringList> after = rows;
  ApplyTablePatch(plan_, after);
  for (const RecordDifference& r : DiffRecords(table_, rows, after)) {
    if (r.kind == RecordDifference::Changed) {
      for (const CellChange& c : r.changes)
        new QTreeWidgetItem(preview_, {r.key, table_.columnName(c.column), shown(c.oldText), QString(), shown(c.newText)});
    } else {
      QStringList cells;
      for (const QString& c : r.cells) cells << PatchEscape(c);
      new QTreeWidgetItem(preview_, {r.key,
                                     r.kind == RecordDifference::Added ? localised(lc, QStringLiteral("（增加）"))
                                                                       : localised(lc, QStringLiteral("（删除）")),
                                     QString(), QString(), cells.join(QStringLiteral(", "))});
    }
  }
  QString text = localised(lc, QStringLiteral("%1：%2 处修改可以应用，%3 处已经应用，%4 处冲突"))
                     .arg(table_.fileName())
                     .arg(plan_.applied)
                     .arg(plan_.already)
                     .arg(plan_.conflicts.size());
  if (!others_.isEmpty())
    text += u'\n' + localised(lc, QStringLiteral("补丁还修改 %1：请打开这些表再应用，或用 vantaro3-cli apply 一次应用全部。"))
                        .arg(others_.join(QStringLiteral("、")));
  summary_->setText(text);
  ok_->setEnabled(plan_.unsettled() == 0 && plan_.changesAnything());
}

void AddBatchCommands(Vantaro3& window, QMenu* fileMenu, QMenu* editMenu, UiFront& front) {
  const Script lc = window.script();
  QAction* batch = editMenu->addAction(localised(lc, QStringLiteral("批量修改(&B)…")));
  batch->setObjectName(QStringLiteral("mnu_batch"));
  // Beside the CSV commands, before the separator that ends them.
  auto* patch = new QAction(localised(lc, QStringLiteral("应用补丁(&P)…")), fileMenu);
  patch->setObjectName(QStringLiteral("mnu_patch"));
  QAction* before = nullptr;
  for (QAction* a : fileMenu->actions())
    if (a->objectName() == QLatin1String("mnu_fcsv")) before = a;
  fileMenu->insertAction(before, patch);
  Vantaro3* w = &window;
  QObject::connect(batch, &QAction::triggered, w, [w, &front] {
    const TableDef* table = writableTable(*w, front);
    if (!table) return;
    BatchDialog dialog(*w, *table, w);
    if (dialog.exec() != QDialog::Accepted || dialog.result().edits.empty()) return;
    UndoScope step(w->grid(), localised(w->script(), QStringLiteral("批量修改")));
    w->grid().setCells(dialog.result().edits);
  });
  QObject::connect(patch, &QAction::triggered, w, [w, &front] {
    const TableDef* table = writableTable(*w, front);
    if (!table) return;
    const QString path = front.chooseFile(w, localised(w->script(), QStringLiteral("应用补丁")),
                                          localised(w->script(), QStringLiteral("补丁 (*.v3patch);;所有文件 (*)")), false);
    if (path.isEmpty()) return;
    QByteArray bytes;
    bool exists = false;
    QString error;
    bytes = FileStore::disk().read(path, &exists, &error);
    if (error.isEmpty() && !exists) error = localised(w->script(), QStringLiteral("文件不存在"));
    Patch parsed;
    PatchError bad;
    if (!error.isEmpty() || !ReadPatch(bytes, &parsed, &bad, InterfaceLanguage())) {
      const QString name = QFileInfo(path).fileName();
      front.message(w, error.isEmpty() ? bad.message(name) : QStringLiteral("%1: %2").arg(name, error),
                    UiFront::Icon::Warning);
      return;
    }
    PatchDialog dialog(*w, ToolTable{table, nullptr, InterfaceLanguage()}, std::move(parsed), QFileInfo(path).fileName(), w);
    if (dialog.exec() != QDialog::Accepted || !dialog.plan().changesAnything()) return;
    UndoScope step(w->grid(), localised(w->script(), QStringLiteral("应用补丁")));
    ApplyTablePatch(dialog.plan(), w->grid());
  });
}

}  // namespace v3
