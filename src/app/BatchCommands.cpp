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
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include <memory>

#include "app/GridCommands.h"
#include "app/MainWindow.h"
#include "app/Messages.h"
#include "app/Progress.h"
#include "app/Texts.h"
#include "app/UiFront.h"
#include "storage/FileStore.h"
#include "app/Catalogue.h"
#include "storage/SafeSave.h"
#include "tables/Tables.h"
#include "text/DiskFile.h"
#include "text/Places.h"

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
    front.message(&w, localised(w.script(), QStringLiteral("请先打开一个可以修改的数据表。")),
                  UiFront::Icon::Information);
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
  names_ = BatchColumnNames(window.texts(), table.fileName, table.fieldCount());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(
      localised(
          lc, QStringLiteral("每行一条指令：=列=值 !列=值 >列=n <列=n ~列=文字 筛选；"
                             ".列=值 .列=$列2 .列+=n .列-=n .列*=f 修改（末尾加 !clamp 取最接近的可保存值）；# 注释")),
      this));
  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("batchText"));
  layout->addWidget(text_);
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("batchSummary"));
  summary_->setWordWrap(true);
  layout->addWidget(summary_);
  preview_ = makePreview(this, {localised(lc, QStringLiteral("记录")), localised(lc, QStringLiteral("列")),
                                localised(lc, QStringLiteral("原值")), localised(lc, QStringLiteral("新值"))});
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
  {
    // Every record goes through the program: a large table takes a while.
    BusyCursor busy;
    ProgressDialogRun progress(&window_, lc, QStringLiteral("正在执行批量修改…"), QStringLiteral("batchProgress"));
    result_ =
        RunBatch(program, table_, window_.dataFolder(), window_.systemScript(), grid, &file_, progress.callback());
  }
  if (result_.stopped) {
    summary_->setText(localised(lc, QStringLiteral("已取消：没有修改任何记录。")));
    ok_->setEnabled(false);
    return;
  }
  if (!result_.ok()) {
    summary_->setText(result_.refusalLines(ToolTable{&table_, nullptr, window_.texts()}).join(u'\n'));
    ok_->setEnabled(false);
    return;
  }
  const TableDifference d = BatchDifference(ToolTable{&table_, nullptr, window_.texts()}, grid, result_);
  for (const RecordDifference& r : d.records)
    for (const CellChange& c : r.changes)
      new QTreeWidgetItem(preview_, {r.key, grid.headerText(c.column), shown(c.oldText), shown(c.newText)});
  summary_->setText(localised(lc, QStringLiteral("选中 %1 条记录，修改 %2 个单元格"))
                        .arg(result_.matched.size())
                        .arg(result_.edits.size()) +
                    (result_.clamped
                         ? localised(lc, QStringLiteral("（%1 个取了最接近的可保存值）")).arg(result_.clamped)
                         : QString()));
  ok_->setEnabled(!result_.edits.empty());
}

PatchDialog::PatchDialog(Vantaro3& window, Patch patch, const QString& patchName, QWidget* owner)
    : QDialog(owner), window_(window), patch_(std::move(patch)) {
  const Script lc = window.script();
  setObjectName(QStringLiteral("PatchDialog"));
  setWindowTitle(localised(lc, QStringLiteral("应用补丁 %1")).arg(patchName));
  auto* layout = new QVBoxLayout(this);
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("patchSummary"));
  summary_->setWordWrap(true);
  layout->addWidget(summary_);
  preview_ = makePreview(this, {localised(lc, QStringLiteral("表")), localised(lc, QStringLiteral("记录")),
                                localised(lc, QStringLiteral("列")), localised(lc, QStringLiteral("期望")),
                                localised(lc, QStringLiteral("实际")), localised(lc, QStringLiteral("补丁的值"))});
  preview_->setObjectName(QStringLiteral("patchPreview"));
  preview_->setRootIsDecorated(true);
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
  resize(800, 520);
  refresh();
}

void PatchDialog::refresh() {
  const Script lc = window_.script();
  const Patch patch = reverse_->isChecked() ? ReversedPatch(patch_) : patch_;
  preview_->clear();
  ok_->setEnabled(false);
  // The files as they are now: every table of the patch read again, then
  // every new content made, under one progress dialog (half each); 取消
  // leaves the patch unapplied.
  BusyCursor busy;
  ProgressDialogRun progress(&window_, lc, QStringLiteral("正在读取补丁所改的表…"), QStringLiteral("patchProgress"));
  const auto half = [&progress](int which) {
    return [&progress, which](qint64 done, qint64 total) { return progress.report(which * total + done, 2 * total); };
  };
  const QString stopped = localised(lc, QStringLiteral("已取消：补丁未应用，没有写入任何文件。"));
  QString error;
  if (!PlanFolderPatch(patch, window_.dataFolder(), window_.systemScript(), force_->isChecked(), &plan_, &error,
                       half(0))) {
    summary_->setText(progress.cancelled() ? stopped : error);
    return;
  }
  // One item per table with its count, its conflicts and its changes below it.
  for (const PatchTarget& t : plan_.targets) {
    auto* table = new QTreeWidgetItem(
        preview_, {t.table.fileName(), localised(lc, QStringLiteral("%1 处修改可以应用，%2 处已经应用，%3 处冲突"))
                                           .arg(t.plan.applied)
                                           .arg(t.plan.already)
                                           .arg(t.plan.conflicts.size())});
    for (const PatchConflict& c : t.plan.conflicts) {
      auto* item = new QTreeWidgetItem(table, {c.table, c.record, c.columnName, c.expected, c.found, c.wanted});
      for (int column = 0; column < item->columnCount(); ++column)
        item->setForeground(column, c.forced ? Qt::darkYellow : Qt::red);
    }
    std::vector<QStringList> after = t.rows;
    ApplyTablePatch(t.plan, after);
    for (const RecordDifference& r : DiffRecords(t.table, t.rows, after)) {
      if (r.kind == RecordDifference::Changed) {
        for (const CellChange& c : r.changes)
          new QTreeWidgetItem(
              table, {QString(), r.key, t.table.columnName(c.column), shown(c.oldText), QString(), shown(c.newText)});
      } else {
        QStringList cells;
        for (const QString& c : r.cells) cells << PatchEscape(c);
        new QTreeWidgetItem(table, {QString(), r.key,
                                    r.kind == RecordDifference::Added ? localised(lc, QStringLiteral("（增加）"))
                                                                      : localised(lc, QStringLiteral("（删除）")),
                                    QString(), QString(), cells.join(QStringLiteral(", "))});
      }
    }
  }
  preview_->expandAll();
  QString text = localised(lc, QStringLiteral("补丁修改 %1 个表：%2 处修改可以应用，%3 处已经应用，%4 处冲突"))
                     .arg(plan_.targets.size())
                     .arg(plan_.applied)
                     .arg(plan_.already)
                     .arg(plan_.conflicts);
  if (plan_.unsettled > 0) {
    text += u'\n' +
            (force_->isChecked()
                 ? localised(lc, QStringLiteral("有 %1 处冲突找不到要修改的记录，补丁不能应用。")).arg(plan_.unsettled)
                 : localised(lc, QStringLiteral("有冲突时不写入任何文件；勾选“%1”可以应用。")).arg(force_->text()));
    summary_->setText(text);
    return;
  }
  // Every new content made in memory as the save makes it: a value that
  // cannot be stored refuses the whole patch before OK.
  if (!MakePatchedContents(plan_, nullptr, &error, half(1))) {
    summary_->setText(text + u'\n' + (progress.cancelled() ? stopped : error));
    return;
  }
  if (PatchSaveEntries(plan_).empty()) text += u'\n' + localised(lc, QStringLiteral("没有需要写入的文件。"));
  summary_->setText(text);
  ok_->setEnabled(!PatchSaveEntries(plan_).empty());
}

namespace {

// Whether writing these files changes what the open table shows: its own
// file, or Producer.tab when its cells name producers.
bool touchesOpenTable(Vantaro3& w, const QStringList& fileNames) {
  const CatalogueEntry* entry = w.openEntry();
  const TableDef* table = entry ? entry->table() : nullptr;
  if (!table) return false;
  const bool names = table->codec && table->codec->needsProducers();
  for (const QString& f : fileNames)
    if (f.compare(table->fileName, Qt::CaseInsensitive) == 0 ||
        (names && f.compare(ProducerTable().fileName, Qt::CaseInsensitive) == 0))
      return true;
  return false;
}

// Marks the history clean once the stack has moved to the step's other side.
void cleanAfterMove(QUndoStack& stack) {
  auto connection = std::make_shared<QMetaObject::Connection>();
  *connection = QObject::connect(&stack, &QUndoStack::indexChanged, &stack, [&stack, connection] {
    QObject::disconnect(*connection);
    stack.setClean();
  });
}

}  // namespace

FolderPatchStep::FolderPatchStep(Vantaro3& window, UiFront& front, std::vector<File> files, bool rereads,
                                 int historyDepth)
    : window_(window), front_(front), files_(std::move(files)), rereads_(rereads), historyDepth_(historyDepth) {
  setText(localised(window.script(), QStringLiteral("应用补丁")));
}

void FolderPatchStep::redo() {
  if (!pushed_) {
    pushed_ = true;  // the files were written before the step was pushed
    return;
  }
  put(true);
}

void FolderPatchStep::put(bool after) {
  QUndoStack& stack = window_.undoStack();
  const bool wasClean = stack.cleanIndex() == stack.index();
  // Each file only as this step left it.
  std::vector<FileStamp> expected(files_.size());
  std::vector<SaveFileEntry> entries;
  for (size_t i = 0; i < files_.size(); ++i) {
    expected[i].taken = expected[i].exists = expected[i].readable = true;
    expected[i].content = after ? files_[i].before : files_[i].after;
    expected[i].size = expected[i].content.size();
    entries.push_back({files_[i].path, after ? files_[i].after : files_[i].before, &expected[i]});
  }
  const SaveFileResult result = [&] {
    BusyCursor busy;
    return SaveDataFiles(entries, historyDepth_);
  }();
  Vantaro3* w = &window_;
  UiFront* front = &front_;
  if (!result.ok()) {
    // Nothing changed: the step leaves the history, the grid and the other steps stay as they are.
    setObsolete(true);
    // A refused undo moves the stack below the dropped step (and Qt forgets
    // the clean index past it); a refused redo leaves the index as it is.
    if (wasClean && !after) cleanAfterMove(stack);
    const QString message =
        localised(window_.script(), after ? QStringLiteral("无法重做应用补丁：%1\n这一步已从撤销记录中移除。")
                                          : QStringLiteral("无法撤销应用补丁：%1\n这一步已从撤销记录中移除。"))
            .arg(localised(window_.script(), result.error));
    // Told once the stack is done: a message box must not run inside its undo.
    QTimer::singleShot(0, w, [w, front, message] { front->message(w, message, UiFront::Icon::Warning); });
    return;
  }
  if (rereads_) {
    // The steps above this one were made on the records as read before.
    for (int i = after ? stack.index() + 1 : stack.index(); i < stack.count(); ++i)
      const_cast<QUndoCommand*>(stack.command(i))->setObsolete(true);
    HistoryKeptScope keep(window_.undo());
    window_.readOpenTableAgain();
  }
  // The grid shows the files as they now are.
  if (rereads_ || wasClean) cleanAfterMove(stack);
  if (!result.notices.isEmpty()) {
    const QString notices = localised(window_.script(), result.notices.join(u'\n'));
    QTimer::singleShot(0, w, [w, front, notices] { front->message(w, notices, UiFront::Icon::Information); });
  }
}

bool ApplyFolderPatch(Vantaro3& window, UiFront& front, const FolderPatch& plan) {
  const std::vector<SaveFileEntry> entries = PatchSaveEntries(plan);
  if (entries.empty()) return false;
  const int depth = HistoryDepthSetting(ConfigFolder(window.programFolder()));
  const SaveFileResult result = [&] {
    BusyCursor busy;
    return SaveDataFiles(entries, depth);
  }();
  if (!result.ok()) {
    front.message(&window, localised(window.script(), QStringLiteral("补丁未应用：%1").arg(result.error)),
                  UiFront::Icon::Warning);
    return false;
  }
  std::vector<FolderPatchStep::File> files;
  QStringList names;
  for (const PatchTarget& t : plan.targets)
    if (t.writes()) {
      files.push_back({t.path, t.content(), t.bytes});
      names << t.table.fileName();
    }
  const bool rereads = touchesOpenTable(window, names);
  QUndoStack& stack = window.undoStack();
  const bool wasClean = stack.isClean();
  // Read again, the open table starts a history of its own (as a reload
  // does), the patch its first step.
  if (rereads) window.readOpenTableAgain();
  stack.push(new FolderPatchStep(window, front, std::move(files), rereads, depth));
  if (rereads || wasClean) stack.setClean();
  if (!result.notices.isEmpty())
    front.message(&window, localised(window.script(), result.notices.join(u'\n')), UiFront::Icon::Information);
  return true;
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
    const QString path =
        front.chooseFile(w, localised(w->script(), QStringLiteral("应用补丁")),
                         localised(w->script(), QStringLiteral("补丁 (*.v3patch);;所有文件 (*)")), false);
    if (path.isEmpty()) return;
    QByteArray bytes;
    bool exists = false;
    QString error;
    bytes = FileStore::disk().read(path, &exists, &error);
    if (error.isEmpty() && !exists) error = localised(w->script(), QStringLiteral("文件不存在"));
    Patch parsed;
    PatchError bad;
    if (!error.isEmpty() || !ReadPatch(bytes, &parsed, &bad, w->texts())) {
      const QString name = QFileInfo(path).fileName();
      front.message(w, error.isEmpty() ? bad.message(name) : QStringLiteral("%1: %2").arg(name, error),
                    UiFront::Icon::Warning);
      return;
    }
    // The open table is read again when the patch writes it: its unsaved
    // changes are saved or given up first, and the preview is of the files.
    QStringList names;
    for (const ToolTable& t : parsed.tables) names << t.fileName();
    if (touchesOpenTable(*w, names) && !w->settleUnsavedChanges()) return;
    PatchDialog dialog(*w, std::move(parsed), QFileInfo(path).fileName(), w);
    if (dialog.exec() != QDialog::Accepted) return;
    ApplyFolderPatch(*w, front, dialog.plan());
  });
}

}  // namespace v3
