#include "app/MainWindow.h"

#include <QAction>
#include <algorithm>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>

#include "app/CsvCommands.h"
#include "app/Dialogs.h"
#include "app/FindDialog.h"
#include "app/GridCommands.h"
#include "app/GridView.h"
#include "app/Messages.h"
#include "app/References.h"
#include "app/BatchCommands.h"
#include "app/RestoreDialog.h"
#include "app/Search.h"
#include "app/SelectMenu.h"
#include "app/StartUp.h"
#include "app/TablesOverview.h"
#include "app/FormTexts.h"
#include "app/Texts.h"
#include "app/UiFront.h"
#include "app/Catalogue.h"
#include "storage/BackupHistory.h"
#include "storage/FileStore.h"
#include "storage/SafeSave.h"
#include "model/LinkedSave.h"
#include "model/TableIo.h"
#include "text/Language.h"
#include "text/Locale.h"
#include "text/Places.h"

namespace v3 {
namespace {

// The form as designed: the grid above, the three labels in a row below it.
constexpr int kFormWidth = 960;
constexpr int kFormHeight = 600;
constexpr int kLabelTop = 578;
constexpr int kLabelHeight = 18;

QIcon MakeIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(QColor(0x2f, 0x5d, 0x9e));
  p.setPen(Qt::NoPen);
  p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
  QFont f = p.font();
  f.setBold(true);
  f.setPixelSize(15);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("V3"));
  return QIcon(pixmap);
}

QAction* AddAction(QWidget* menu, const char* name, const QString& text, const QKeySequence& shortcut = {}) {
  auto* a = new QAction(text, menu);
  a->setObjectName(QString::fromLatin1(name));
  if (!shortcut.isEmpty()) a->setShortcut(shortcut);
  menu->addAction(a);
  return a;
}

QAction* AddSeparator(QMenu* menu, const char* name) {
  QAction* a = menu->addSeparator();
  a->setObjectName(QString::fromLatin1(name));
  return a;
}

QMenu* AddMenu(QMenuBar* bar, QWidget* owner, const char* name, const QString& text) {
  auto* m = new QMenu(text, owner);
  m->setObjectName(QString::fromLatin1(name));
  if (bar) bar->addMenu(m);
  return m;
}

// A window built without dialogs opens no editor and no table window.
class NoDialogs : public DialogFactory {
 public:
  bool hasEditor(const QString&) const override { return false; }
  void showEditor(const EditorRequest&, RecordGrid&, QWidget*) override {}
  bool hasWindow(const QString&) const override { return false; }
  void showWindow(const QString&, const DialogContext&, QWidget*) override {}
};

// The folder's tables in the grid's place while no table is open; the
// grid (with the focus the overview had) once one is.
void ShowOverview(Vantaro3& window, FileStore& store) {
  auto* overview = window.findChild<TablesOverview*>();
  if (!overview) return;
  GridView* view = window.gridView();
  if (window.openEntry()) {
    const bool focused = overview->hasFocus();
    overview->hide();
    if (focused) view->setFocus();
    return;
  }
  if (const auto* select = window.findChild<QMenu*>(QStringLiteral("mnu_select")))
    overview->fill(*select, window.dataFolder(), window.script(), store);
  overview->setGeometry(view->geometry());
  overview->show();
  overview->raise();
  overview->setFocus();
}

}  // namespace

Vantaro3::Vantaro3(ShellOptions options, QWidget* parent)
    : QMainWindow(parent),
      options_(std::move(options)),
      programFolder_(options_.programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                      : options_.programFolder),
      ownDialogs_(options_.dialogs ? nullptr : std::make_unique<NoDialogs>()),
      front_(options_.front ? *options_.front : UiFront::desktop()),
      dialogs_(options_.dialogs ? *options_.dialogs : *ownDialogs_),
      store_(options_.store ? *options_.store : FileStore::disk()) {
  setObjectName(QStringLiteral("Vantaro3"));
  setWindowIcon(MakeIcon());
  localeId_ = options_.localeId ? options_.localeId : SystemLocaleNumber();
  script_ = options_.script ? *options_.script : InterfaceScript(localeId_);
  references_ = std::make_unique<ReferenceNames>();
  filterIndex_ = std::make_unique<FilterIndex>();
  undo_ = std::make_unique<GridUndo>(grid_, script_);
  baseTitle_ = QStringLiteral("Vantaro3DataEditer");
  setCaption(baseTitle_);
  buildForm();
  buildMenus();
  buildGridTools();
  buildReferenceCommands();
  // A table opens as soon as its records are found; their cells are decoded
  // when first shown, and the rest a slice at a time while nothing else is
  // waiting, so find, filter, sort and save seldom wait for it.
  decodeTimer_ = new QTimer(this);
  decodeTimer_->setInterval(0);
  connect(decodeTimer_, &QTimer::timeout, this, [this] {
    if (!grid_.decodeSome(2048)) decodeTimer_->stop();
  });
}

Vantaro3::~Vantaro3() {
  // The view goes before the grid it shows, and the undo layer lets go of the grid.
  delete view_;
  view_ = nullptr;
  undo_.reset();
}

QUndoStack& Vantaro3::undoStack() { return undo_->stack(); }

void Vantaro3::buildForm() {
  form_ = new QWidget(this);
  form_->setObjectName(QStringLiteral("Form"));
  form_->resize(kFormWidth, kFormHeight);
  setCentralWidget(form_);

  view_ = new GridView(form_);
  view_->setObjectName(QStringLiteral("VG"));
  view_->setGrid(&grid_);
  view_->setGeometry(0, 0, kFormWidth, kLabelTop - 4);
  // In the grid's place while no table is open.
  auto* overview = new TablesOverview([this](const CatalogueEntry& e) { openTable(e); }, form_);
  overview->hide();

  auto makeLabel = [&](const char* name, int left, int width) {
    auto* l = new QLabel(form_);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(left, kLabelTop, width, kLabelHeight);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
  };
  label1_ = makeLabel("Label1", 8, 180);
  label2_ = makeLabel("Label2", 196, 200);
  label3_ = makeLabel("Label3", 404, kFormWidth - 412);
  label1_->setText(msg::SelectedCount(script_, 0));

  // A line of its own, so that menu hints passing over the status bar do not wipe it.
  statusLine_ = new QLabel(this);
  statusLine_->setObjectName(QStringLiteral("StatusLine"));
  statusBar()->addWidget(statusLine_, 1);
  modifiedMark_ = new QLabel(text(QStringLiteral("● 有未保存的修改")), this);
  modifiedMark_->setObjectName(QStringLiteral("ModifiedMark"));
  modifiedMark_->setVisible(false);
  statusBar()->addPermanentWidget(modifiedMark_);
  connect(&grid_, &RecordGrid::modifiedChanged, modifiedMark_, &QWidget::setVisible);
  connect(&grid_, &RecordGrid::modifiedChanged, this, &Vantaro3::updateTitle);

  form_->installEventFilter(this);
  connect(grid_.selectionModel(), &QItemSelectionModel::selectionChanged, this, &Vantaro3::updateSelectionLabel);
  connect(grid_.selectionModel(), &QItemSelectionModel::modelChanged, this, &Vantaro3::updateSelectionLabel);
  connect(&grid_, &QAbstractItemModel::modelReset, this, &Vantaro3::updateSelectionLabel);
  connect(&grid_, &QAbstractItemModel::rowsRemoved, this, &Vantaro3::updateSelectionLabel);
  connect(view_, &GridView::dataRowDoubleClicked, this, &Vantaro3::editRow);
  connect(view_, &GridView::rightButtonPressed, this, [this](int row, const QPoint& at) { rightButton(row, at); });
  connect(view_, &GridView::mouseButtonUsed, this, &Vantaro3::updateSelectionLabel);
}

void Vantaro3::buildMenus() {
  QMenuBar* bar = menuBar();

  QMenu* file = AddMenu(bar, this, "mnu_menu1", QStringLiteral("文件(&F)"));
  connect(AddAction(file, "mnu_save", QStringLiteral("保存(&S)"), QKeySequence::Save), &QAction::triggered, this,
          &Vantaro3::save);
  QAction* restore = AddAction(file, "mnu_restore", text(QStringLiteral("恢复较早的版本…")));
  restore->setEnabled(false);  // until a table is open
  connect(restore, &QAction::triggered, this, &Vantaro3::restoreEarlierVersion);
  AddCsvCommands(*this, file, front_);
  AddSeparator(file, "mnu_fcsv");
  buildRecentMenu(file);
  connect(AddAction(file, "mnu_exit", QStringLiteral("退出(&X)"), QKeySequence(Qt::CTRL | Qt::Key_Q)),
          &QAction::triggered, this, &QWidget::close);

  QMenu* edit = AddMenu(bar, this, "mnu_menu2", QStringLiteral("编辑(&E)"));
  buildUndoActions(edit);
  connect(AddAction(edit, "mnu_ad", QStringLiteral("添加(&A)")), &QAction::triggered, this, &Vantaro3::add);
  connect(AddAction(edit, "mnu_de", QStringLiteral("删除(&D)"), QKeySequence::Delete), &QAction::triggered, this,
          [this] { deleteSelected(false); });
  AddSeparator(edit, "mnu_f2");
  connect(AddAction(edit, "mnu_all", QStringLiteral("全选"), QKeySequence::SelectAll), &QAction::triggered, this,
          &Vantaro3::selectAll);
  connect(AddAction(edit, "mnu_null", QStringLiteral("取消选择")), &QAction::triggered, this, &Vantaro3::selectNone);
  connect(AddAction(edit, "mnu_fx", QStringLiteral("反向选择")), &QAction::triggered, this, &Vantaro3::invertSelection);
  AddSeparator(edit, "mnu_f3");
  connect(AddAction(edit, "mnu_refresh", QStringLiteral("刷新(&R)"), QKeySequence::Refresh), &QAction::triggered, this,
          &Vantaro3::refresh);
  connect(AddAction(edit, "mnu_load", QStringLiteral("重新载入(&L)")), &QAction::triggered, this, &Vantaro3::reload);
  AddBatchCommands(*this, file, edit, front_);

  // The catalogue, grouped by kind. A table whose routines or window the
  // program does not have yet is shown, but cannot be chosen.
  QMenu* select = AddMenu(bar, this, "mnu_select", QStringLiteral("选择(&S)"));
  BuildSelectMenu(
      select, [this](const CatalogueEntry& e) { openTable(e); },
      [this](const CatalogueEntry& e) {
        return e.isStandalone() ? dialogs_.hasWindow(e.window) : e.table() != nullptr;
      });

  QMenu* search = AddMenu(bar, this, "mnu_menu3", QStringLiteral("搜索(&F)"));
  connect(AddAction(search, "mnu_find", QStringLiteral("查找(&F)"), QKeySequence::Find), &QAction::triggered, this,
          &Vantaro3::find);

  QMenu* option = AddMenu(bar, this, "mnu_option", QStringLiteral("选项(&O)"));
  connect(AddAction(option, "mnu_path", QStringLiteral("设置Data文件路径")), &QAction::triggered, this,
          &Vantaro3::setDataFolder);

  QMenu* helpMenu = AddMenu(bar, this, "mnu_he", QStringLiteral("帮助(&H)"));
  connect(AddAction(helpMenu, "mnu_help", QStringLiteral("使用说明(&R)"), QKeySequence::HelpContents),
          &QAction::triggered, this, &Vantaro3::help);
  // The guide in English, whichever script the interface is in.
  connect(AddAction(helpMenu, "mnu_help_en", QStringLiteral("User guide in English(&E)")), &QAction::triggered, this,
          [this] { showGuide(true); });
  AddSeparator(helpMenu, "mnu_f4");
  connect(AddAction(helpMenu, "mnu_about", QStringLiteral("关于 Vantaro3 DataEditer(&A)...")), &QAction::triggered,
          this, &Vantaro3::about);

  // The grid's context menu, not on the menu bar.
  contextMenu_ = AddMenu(nullptr, this, "mnu_menu4", QStringLiteral("修改"));
  connect(AddAction(contextMenu_, "mnu_modify", QStringLiteral("多项修改")), &QAction::triggered, this,
          &Vantaro3::modifySeveral);
  AddSeparator(contextMenu_, "mnu_f1");
  connect(AddAction(contextMenu_, "mnu_add", QStringLiteral("添加")), &QAction::triggered, this, &Vantaro3::add);
  connect(AddAction(contextMenu_, "mnu_del", QStringLiteral("删除")), &QAction::triggered, this,
          [this] { deleteSelected(true); });
}

bool Vantaro3::startUp() {
  const StartUpResult settled = SettleDataFolder(programFolder_, script_, front_, this);
  if (!settled.proceed) return false;
  dataFolder_ = settled.dataFolder;

  RememberRecentDataFolder(programFolder_, dataFolder_);

  texts_ = ProgramLanguageFile(script_, programFolder_);
  setWindowTitle(baseTitle_);
  ApplyFormTexts(this, texts_);
  ShowCatalogueDescriptions(findChild<QMenu*>(QStringLiteral("mnu_select")), texts_, script_);
  baseTitle_ = windowTitle();
  setCaption(baseTitle_);

  // The start layout, from the form as designed.
  form_->resize(kFormWidth, kFormHeight);
  layout_.record(form_, {view_, label1_, label2_, label3_}, view_, ExtraShiftPixels(logicalDpiY()));
  int bars = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
  for (QToolBar* t : findChildren<QToolBar*>()) bars += t->sizeHint().height();
  resize(minimumSizeHint().expandedTo(QSize(kFormWidth, kFormHeight + bars)));
  updateCommandStates();

  view_->setTopRow(1);
  // The table of the last session, when this folder has its file.
  const CatalogueEntry* last = nullptr;
  const QString lastTable = LastOpenTable(programFolder_);
  for (const CatalogueEntry& e : Catalogue())
    if (!e.isStandalone() && e.table() && e.fileName == lastTable) last = &e;
  if (last && DataFileExists(dataFolder_, last->fileName))
    openTable(*last);
  else
    ShowOverview(*this, store_);
  return true;
}

bool Vantaro3::eventFilter(QObject* watched, QEvent* event) {
  if (watched == form_ && event->type() == QEvent::Resize) {
    layout_.apply();
    if (auto* overview = form_->findChild<TablesOverview*>()) overview->setGeometry(view_->geometry());
  }
  return QMainWindow::eventFilter(watched, event);
}

QLabel* Vantaro3::label(int n) const { return n == 1 ? label1_ : n == 2 ? label2_ : n == 3 ? label3_ : nullptr; }

QString Vantaro3::text(const QString& simplified) const { return msg::Localised(script_, simplified); }

void Vantaro3::status(const QString& simplified) { statusLine_->setText(text(simplified)); }

QString Vantaro3::statusLine() const { return statusLine_->text(); }

const CatalogueEntry* Vantaro3::openEntry() const { return CatalogueEntryByCaption(caption_); }

// ---------------------------------------------------------------- title and undo

void Vantaro3::setCaption(const QString& caption) {
  caption_ = caption;
  updateTitle();
}

void Vantaro3::updateTitle() {
  // "Team.dat[*] - 演艺编辑器": the table, its modified mark, the program.
  const bool table = openEntry() != nullptr;
  setWindowTitle(table ? caption_ + QStringLiteral("[*] - ") + baseTitle_ : caption_);
  setWindowModified(table && grid_.isModified());
}

void Vantaro3::buildUndoActions(QMenu* edit) {
  // The captions name the step: "撤销 修改 3 项记录".
  QAction* undo = undoStack().createUndoAction(edit, text(QStringLiteral("撤销")));
  undo->setObjectName(QStringLiteral("mnu_undo"));
  undo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
  QAction* redo = undoStack().createRedoAction(edit, text(QStringLiteral("重做")));
  redo->setObjectName(QStringLiteral("mnu_redo"));
  redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  edit->addAction(undo);
  edit->addAction(redo);
  AddSeparator(edit, "mnu_f5");
  connect(&undoStack(), &QUndoStack::indexChanged, this, &Vantaro3::updateSelectionLabel);
}

bool Vantaro3::hasUnsavedChanges() const {
  const CatalogueEntry* entry = openEntry();
  // A read-only table's save writes nothing, so there is nothing to keep.
  return entry && entry->table() && !entry->table()->readOnly && grid_.isModified();
}

bool Vantaro3::settleUnsavedChanges() {
  if (!hasUnsavedChanges()) return true;
  const QString question = text(QStringLiteral("%1 有未保存的修改，是否保存？").arg(caption_));
  const int answer = front_.ask(
      this, question, {text(QStringLiteral("保存")), text(QStringLiteral("不保存")), text(QStringLiteral("取消"))});
  if (answer == 0) {
    save();
    // A refused or failed save keeps everything, and the command stops.
    return !hasUnsavedChanges();
  }
  return answer == 1;
}

void Vantaro3::closeEvent(QCloseEvent* event) {
  if (settleUnsavedChanges())
    event->accept();
  else
    event->ignore();
}

// ---------------------------------------------------------------- the file on disk

QString Vantaro3::openFilePath() const {
  const CatalogueEntry* entry = openEntry();
  return entry && entry->table() ? DataFilePath(dataFolder_, entry->table()->fileName) : QString();
}

void Vantaro3::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) checkFileOnDisk();
}

void Vantaro3::checkFileOnDisk() {
  const QString path = openFilePath();
  if (path.isEmpty() || checkingDisk_) return;
  FileStamp now;
  if (!document_.changedOnDisk(&now)) return;
  const FileStamp& declined = document_.declinedStamp();
  if (declined.taken && declined.sameFileAs(now)) return;  // asked about this one already
  checkingDisk_ = true;
  const QString question =
      hasUnsavedChanges() ? text(QStringLiteral("%1 已被其他程序修改。重新载入将放弃你未保存的修改。").arg(caption_))
                          : text(QStringLiteral("%1 已被其他程序修改。是否重新载入？").arg(caption_));
  const int answer =
      front_.ask(this, question, {text(QStringLiteral("重新载入")), text(QStringLiteral("保留当前内容"))});
  if (answer == 0) {
    readOpenTableAgain();
  } else {
    // The grid stays as it is; a save still asks before it overwrites the file.
    document_.declineChangeOnDisk(now);
  }
  checkingDisk_ = false;
}

bool Vantaro3::confirmOverwrite(FileStamp* overwritten) {
  const QString path = openFilePath();
  *overwritten = document_.stamp();
  if (path.isEmpty() || !document_.changedOnDisk(overwritten)) return true;
  const QString question = text(QStringLiteral("%1 在载入后已被其他程序修改。覆盖它，还是重新载入？").arg(caption_));
  const int answer = front_.ask(
      this, question, {text(QStringLiteral("覆盖")), text(QStringLiteral("重新载入")), text(QStringLiteral("取消"))});
  if (answer == 1) readOpenTableAgain();
  return answer == 0;
}

// ---------------------------------------------------------------- the grid

void Vantaro3::openTable(const CatalogueEntry& entry) {
  if (entry.isStandalone()) {
    if (dialogs_.hasWindow(entry.window)) dialogs_.showWindow(entry.window, dialogContext(), this);
    return;
  }
  if (!entry.table()) return;
  if (!settleUnsavedChanges()) return;
  selectNone();
  view_->setTopRow(1);
  setCaption(entry.caption);
  loadOpenTable();
  RememberLastOpenTable(programFolder_, entry.fileName);
  fillGridHeader();
  view_->fitColumns();
  view_->setTopRow(1);
  updateFileLabels();
  tableShown();
  ShowOverview(*this, store_);
}

void Vantaro3::loadOpenTable() {
  const CatalogueEntry* entry = openEntry();
  if (!entry || !entry->table()) return;
  const TableDef& table = *entry->table();
  QString error;
  const bool exists = DataFileExists(dataFolder_, table.fileName);
  bool ok = false;
  {
    BusyCursor busy;
    ok = document_.open(table, dataFolder_, systemScript(), &error);
  }
  if (!grid_.allDecoded()) decodeTimer_->start();
  view_->applyColumns();
  if (!ok) {
    // The grid is empty now; a save refuses to overwrite a file it could not read.
    const QString message = text(QStringLiteral("无法读取 %1：%2").arg(table.fileName, error));
    status(QStringLiteral("无法读取 %1").arg(table.fileName));
    front_.message(this, message, UiFront::Icon::Warning);
  } else if (!exists) {
    status(QStringLiteral("未找到 %1，表格为空").arg(table.fileName));
  } else {
    // The count stands beside, kept up to date with every change.
    status(QStringLiteral("已载入 %1").arg(table.fileName));
  }
}

void Vantaro3::fillGridHeader() { grid_.setHeaderTexts(texts_.headers(caption_, grid_.fieldCount())); }

void Vantaro3::reload() {
  if (!settleUnsavedChanges()) return;
  readOpenTableAgain();
}

void Vantaro3::readOpenTableAgain() {
  selectNone();
  loadOpenTable();
  fillGridHeader();
  tableShown();
  updateSelectionLabel();
}

void Vantaro3::refresh() {
  view_->setTopRow(1);
  selectNone();
  view_->viewport()->update();
  updateSelectionLabel();
}

void Vantaro3::updateSelectionLabel() { label1_->setText(msg::SelectedCount(script_, grid_.selectedCount())); }

void Vantaro3::updateFileLabels() {
  label2_->setText(caption_);
  label3_->setText(QDir::toNativeSeparators(DataFilePath(dataFolder_, caption_)));
}

void Vantaro3::rightButton(int row, const QPoint& globalPos, int column) {
  if (row >= 1) {
    if (grid_.selectedCount() < 2) grid_.setCurrentRow(row);
    // The cell the menu's 转到 and 被引用… act on.
    contextCell_ = QPoint(column >= 0 ? column : view_->columnAtGlobal(globalPos), row);
    contextMenu_->popup(globalPos);
  }
  updateSelectionLabel();
}

// ---------------------------------------------------------------- records

void Vantaro3::showEditor(const CatalogueEntry& entry, EditorMode mode) {
  // Every editor is opened here, in one of its three ways.
  if (entry.editor.isEmpty() || !dialogs_.hasEditor(entry.editor)) return;
  EditorRequest request;
  request.editor = entry.editor;
  request.context = dialogContext();
  request.mode = mode;
  if (mode == EditorMode::ModifySeveral) request.disabledControls = entry.disabledForModify;
  // 转到 on a reference field closes the dialog first, then goes.
  std::optional<std::pair<int, QString>> goTo;
  if (const TableDef* table = entry.table())
    for (const ReferenceDef& r : table->references) request.referenceColumns << r.column;
  request.referenceTarget = [this](int column, const QString& cell) { return referenceTarget(column, cell); };
  request.goTo = [&goTo](int column, const QString& cell) { goTo.emplace(column, cell); };
  const int records = grid_.recordCount();
  {
    // All that the editor wrote is one step, named by what it did.
    UndoScope step(grid_);
    dialogs_.showEditor(request, grid_, this);
  }
  if (goTo) {
    if (const ReferenceDef* r = references_->reference(goTo->first)) followReference(*r, goTo->first, goTo->second);
    return;
  }
  // A record added by the editor is the current row; it is shown first.
  if (grid_.recordCount() > records && grid_.currentRow() > 0) view_->setTopRow(grid_.currentRow());
}

void Vantaro3::editRow(int row) {
  if (row < 1) return;
  // The editor reads the selection: the row double-clicked is one of it,
  // whatever the clicks before (Ctrl held, say) did to the selection.
  if (!grid_.isRowSelected(row)) grid_.setCurrentRow(row);
  if (const CatalogueEntry* entry = openEntry()) showEditor(*entry, EditorMode::Edit);
  updateSelectionLabel();
}

void Vantaro3::modifySeveral() {
  if (const CatalogueEntry* entry = openEntry()) showEditor(*entry, EditorMode::ModifySeveral);
}

void Vantaro3::add() {
  const CatalogueEntry* entry = openEntry();
  if (entry && entry->addAllowed) showEditor(*entry, EditorMode::Add);
  updateSelectionLabel();
}

void Vantaro3::deleteSelected(bool) {
  const std::vector<int> rows = grid_.selectedRows();
  if (!rows.empty() && !confirmReferencedDelete(rows)) return;
  if (!rows.empty()) {
    const int top = view_->topRow();
    grid_.removeRecords(rows);
    view_->setTopRow(std::min(top, grid_.recordCount()));
  }
  updateSelectionLabel();
}

void Vantaro3::selectAll() {
  grid_.selectAll();
  updateSelectionLabel();
}

void Vantaro3::selectNone() {
  grid_.clearSelection();
  updateSelectionLabel();
}

void Vantaro3::invertSelection() {
  grid_.invertSelection();
  updateSelectionLabel();
}

void Vantaro3::save() {
  const CatalogueEntry* entry = openEntry();
  if (!entry || !entry->table()) return;
  const TableDef& table = *entry->table();
  // The file the save may replace: as read, or as it was when the user chose
  // to overwrite another program's change. Any other is refused.
  FileStamp expected;
  if (!document_.isOpen()) return;
  if (!table.readOnly && !confirmOverwrite(&expected)) return;
  TableSaveRequest request;
  request.options.expected = &expected;
  request.options.historyDepth = HistoryDepthSetting(ConfigFolder(programFolder_));

  // The save shows the rows in the order written; the selection and the
  // current row follow their records there. That move is no undo step, and
  // undoing back to this point makes the table unmodified again.
  SaveOutcome outcome;
  ReferencePlan plan;
  bool cancelled = false;
  {
    UnrecordedScope quiet(grid_);
    BusyCursor busy;
    // A save that deletes, adds or moves records that other tables refer
    // to updates them in the same save; the user sees what first.
    request.proceed = [&](const ReferencePlan& p) {
      if (p.tables.empty()) return true;
      QStringList lines = p.details();
      if (lines.size() > 20) lines = lines.mid(0, 20) << QStringLiteral("……");
      const QString question = p.summary() + QStringLiteral("\n\n") + lines.join(u'\n');
      cancelled = busy.asking([&] {
        return front_.ask(this, text(question), {text(QStringLiteral("保存")), text(QStringLiteral("取消"))});
      }) != 0;
      return !cancelled;
    };
    request.plan = &plan;
    request.journal = &references_->journal(dataFolder_);
    outcome = document_.save(request);
  }
  if (cancelled) {
    status(QStringLiteral("%1 未保存（已取消）").arg(table.fileName));
    return;
  }
  switch (outcome.status) {
    case SaveOutcome::Saved: {
      undo_->markSaved();
      // Where it went: the folder chosen last, which may differ from the path label.
      status(QStringLiteral("已保存 %1（%2 项）：%3")
                 .arg(table.fileName)
                 .arg(grid_.recordCount())
                 .arg(QDir::toNativeSeparators(DataFilePath(dataFolder_, table.fileName))));
      if (plan.changesCells()) {
        QStringList others;
        for (const ReferenceTableUpdate& u : plan.tables)
          if (u.changesCells()) others << u.table->fileName;
        status(QStringLiteral("已保存 %1（%2 项），引用它的 %3 已随之更新")
                   .arg(table.fileName)
                   .arg(grid_.recordCount())
                   .arg(others.join(QStringLiteral("、"))));
      }
      if (!outcome.notices.isEmpty())
        front_.message(this, text(outcome.notices.join(QLatin1Char('\n'))), UiFront::Icon::Information);
      break;
    }
    case SaveOutcome::Unchanged: status(QStringLiteral("%1 为只读，未写入").arg(table.fileName)); break;
    case SaveOutcome::Refused:
    case SaveOutcome::Failed: {
      const QString columnName = outcome.column > 0 ? grid_.headerText(outcome.column) : QString();
      status(QStringLiteral("%1 未保存").arg(table.fileName));
      front_.message(this, text(outcome.message(table.fileName, columnName)), UiFront::Icon::Warning);
      break;
    }
  }
  updateSelectionLabel();
}

void Vantaro3::restoreEarlierVersion() {
  const CatalogueEntry* entry = openEntry();
  if (!entry || !entry->table() || entry->table()->readOnly) return;
  const TableDef& table = *entry->table();
  const QString path = openFilePath();
  int id = 0;
  {
    RestoreDialog dialog(table, dataFolder_, texts_, script_, systemScript(), store_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    id = dialog.chosenId();
  }
  if (id <= 0) return;
  // The grid's changes are saved (the file then is another version) or given
  // up; either way the restore replaces what the grid shows.
  if (!settleUnsavedChanges()) return;

  // Looked up again: a save just now may have let the oldest version go.
  BackupVersion version;
  QString error;
  if (!FindBackupVersion(path, QString::number(id), &version, &error)) {
    status(QStringLiteral("%1 未恢复").arg(table.fileName));
    front_.message(this, text(QStringLiteral("无法恢复 %1 的版本 %2：%3").arg(table.fileName).arg(id).arg(error)),
                   UiFront::Icon::Warning);
    return;
  }
  // Only over the file as the window read or wrote it: one that another
  // program changed since is refused, not overwritten.
  SaveFileOptions options;
  options.expected = &document_.stamp();
  options.historyDepth = HistoryDepthSetting(ConfigFolder(programFolder_));
  const SaveFileResult result = [&] {
    BusyCursor busy;
    return RestoreBackupVersion(path, version, options, store_);
  }();
  if (!result.ok()) {
    status(QStringLiteral("%1 未恢复").arg(table.fileName));
    front_.message(this,
                   text(QStringLiteral("无法恢复 %1 的版本 %2：%3").arg(table.fileName).arg(id).arg(result.error)),
                   UiFront::Icon::Warning);
    return;
  }
  readOpenTableAgain();
  // A load that went wrong has said so, in the status line too.
  if (document_.stamp().readable)
    status(QStringLiteral("已恢复 %1 的版本 %2（%3）")
               .arg(table.fileName)
               .arg(id)
               .arg(version.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
  if (!result.notices.isEmpty())
    front_.message(this, text(result.notices.join(QLatin1Char('\n'))), UiFront::Icon::Information);
}

// ---------------------------------------------------------------- other commands

void Vantaro3::find() {
  FindDialog dialog(grid_, view_, front_, texts_, localeId_, this);
  dialog.exec();
  updateSelectionLabel();
}

void Vantaro3::setDataFolder() {
  if (!settleUnsavedChanges()) return;
  switchDataFolder(ChangeDataFolder(programFolder_, script_, dataFolder_, front_, this));
}

void Vantaro3::openRecentFolder(const QString& folder) {
  if (!settleUnsavedChanges()) return;
  switchDataFolder(UseDataFolder(programFolder_, script_, folder, dataFolder_, front_, this));
}

void Vantaro3::switchDataFolder(const QString& folder) {
  if (folder.isEmpty()) return;
  RememberRecentDataFolder(programFolder_, folder);
  if (folder == dataFolder_) return;
  dataFolder_ = folder;
  // Undo steps belong to the folder they were made in (a patch's step writes
  // that folder's files): another folder starts a history of its own.
  undoStack().clear();
  ShowOverview(*this, store_);  // the new folder's counts
  // The open table is read from the new folder (empty when it has none there):
  // the grid never holds one folder's records while it names another's file.
  if (!openEntry()) return;
  readOpenTableAgain();
  view_->fitColumns();
  view_->setTopRow(1);
  updateFileLabels();
}

QStringList Vantaro3::recentFolders() const { return RecentDataFolders(programFolder_); }

void Vantaro3::buildRecentMenu(QMenu* file) {
  recentMenu_ = new QMenu(text(QStringLiteral("最近的数据目录(&R)")), this);
  recentMenu_->setObjectName(QStringLiteral("mnu_recent"));
  recentMenu_->menuAction()->setObjectName(QStringLiteral("mnu_recent"));
  file->addMenu(recentMenu_);
  connect(recentMenu_, &QMenu::aboutToShow, this, &Vantaro3::fillRecentMenu);
  fillRecentMenu();
}

void Vantaro3::fillRecentMenu() {
  recentMenu_->clear();
  const QStringList folders = recentFolders();
  int n = 0;
  for (const QString& folder : folders) {
    ++n;
    QAction* a = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(n).arg(QDir::toNativeSeparators(folder)));
    a->setObjectName(QStringLiteral("mnu_recent%1").arg(n));
    a->setData(folder);
    a->setCheckable(true);
    a->setChecked(folder == dataFolder_);
    connect(a, &QAction::triggered, this, [this, folder] { openRecentFolder(folder); });
  }
  recentMenu_->setEnabled(n > 0);
}

void Vantaro3::help() {
  const QString readme = DataFilePath(programFolder_, QStringLiteral("Readme.doc"));
  if (QFileInfo(readme).isFile()) {
    front_.openDocument(this, readme);
    return;
  }
  // The user guide shipped with the program, shown in the program.
  if (showGuide()) return;
  // Beside the program, or in share/vantaro3 of an installed one.
  const QString shipped = QDir(LanguageFolder(programFolder_)).filePath(QStringLiteral("README.md"));
  if (QFileInfo(shipped).isFile()) {
    front_.openDocument(this, shipped);
    return;
  }
  front_.message(this, text(QStringLiteral("未找到使用说明 Readme.doc")), UiFront::Icon::Information);
}

void Vantaro3::about() { front_.message(this, QString::fromUtf16(kAboutText), UiFront::Icon::Information); }

}  // namespace v3
