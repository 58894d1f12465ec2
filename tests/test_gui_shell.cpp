// The main window as a person uses it: menus and the catalogue, opening a
// table, the grid's mouse rules, the record commands and save.
#include "test_gui_support.h"

#include <QCursor>
#include <QGuiApplication>
#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QDialog>

#include "app/GridView.h"
#include "model/TableIo.h"

using namespace v3;
using namespace v3test;

namespace {

QString Counter(int n) { return QStringLiteral("共%1项被选择").arg(n); }

std::vector<QStringList> Records(const RecordGrid& g) { return g.records(); }

QPoint RowCenter(const Shell& s, int row) {
  const GridView* v = s.window->gridView();
  return v->visualRect(s.grid().index(row - 1, 2)).center();
}

// Fails the save at a chosen step, the way a full or read-only disk does.
class FailingStore : public FileStore {
 public:
  bool failCopy = false;
  bool failReplace = false;
  bool backUp(const QString& from, const QByteArray& content, const QString& to, QString* error) override {
    if (failCopy) {
      *error = QStringLiteral("permission denied");
      return false;
    }
    return FileStore::backUp(from, content, to, error);
  }
  bool replace(const QString& path, const QByteArray& bytes, QString* error) override {
    if (failReplace && !path.endsWith(QLatin1String(".bak"))) {
      *error = QStringLiteral("no space left on device");
      return false;
    }
    return FileStore::replace(path, bytes, error);
  }
};

// Notes which reads and writes of the files happen under the wait cursor.
class CursorWatch : public FileStore {
 public:
  QStringList calls, busy;
  static bool waiting() {
    const QCursor* c = QGuiApplication::overrideCursor();
    return c && c->shape() == Qt::WaitCursor;
  }
  void note(const QString& what) {
    calls << what;
    if (waiting()) busy << what;
  }
  QByteArray read(const QString& path, bool* exists, QString* error) override {
    note(QStringLiteral("read"));
    return FileStore::read(path, exists, error);
  }
  bool readSame(const QString& path, const QByteArray& expected, bool* exists, bool* same, QString* error) override {
    note(QStringLiteral("read"));
    return FileStore::readSame(path, expected, exists, same, error);
  }
  bool stage(const QString& path, const QByteArray& bytes, disk::StagedReplace* staged, QString* error) override {
    note(QStringLiteral("write"));
    return FileStore::stage(path, bytes, staged, error);
  }
  bool replace(const QString& path, const QByteArray& bytes, QString* error) override {
    note(QStringLiteral("write"));
    return FileStore::replace(path, bytes, error);
  }
};

}  // namespace

class ShellTest : public QObject {
  Q_OBJECT
 private slots:
  void menusCarryTheLanguageFileKeys_data();
  void menusCarryTheLanguageFileKeys();
  void catalogueEntries();
  void standaloneWindowLeavesTheGridAlone();
  void programWindowsOpenFromTheCatalogue();
  void openingTeam();
  void openingNicknameUsesTheBareCaption();
  void hiddenColumnsStayHidden();
  void menuTextsAndHeadersFromTheLanguageFile();
  void codeCellsShowWithoutTrailingZeros();
  void mouseSelectsWholeRows();
  void rightButton_data();
  void rightButton();
  void doubleClick_data();
  void doubleClick();
  void editorCommands_data();
  void editorCommands();
  void programEditorsOpenInTheirMode_data();
  void programEditorsOpenInTheirMode();
  void deleteRows_data();
  void deleteRows();
  void selectAllAndInvert();
  void keyboardShortcuts();
  void reloadDiscardsEditsAndRefreshKeepsThem();
  void saveShowsTheWrittenOrder_data();
  void saveShowsTheWrittenOrder();
  void saveKeepsTheSelectionOnItsRecords();
  void nicknameSaveWritesNothing();
  void refusedSaveNamesTheCell();
  void failedSaveKeepsTheBackup_data();
  void failedSaveKeepsTheBackup();
  void waitCursorWhileFilesAreReadAndWritten();
  void readOnlyDataFolder();
  void backupBlockedOnDisk();
  void unreadableFileIsReportedAndKept();
  void commandsWithoutATableDoNothing();
  void modelStaysConsistent();
};

void ShellTest::menusCarryTheLanguageFileKeys_data() {
  QTest::addColumn<QString>("menu");
  QTest::addColumn<QString>("title");
  QTest::addColumn<QStringList>("entries");  // object name = text; separators by name alone
  QTest::newRow("File") << "mnu_menu1"
                        << "文件(&F)"
                        << QStringList{"mnu_save=保存(&S)",
                                       "mnu_restore=恢复较早的版本…",
                                       "mnu_csvExport=导出表格文件(&E)…",
                                       "mnu_csvImport=导入表格文件(&I)…",
                                       "mnu_patch=应用补丁(&P)…",
                                       "mnu_fcsv",
                                       "mnu_recent=最近的数据目录(&R)",
                                       "mnu_exit=退出(&X)"};
  QTest::newRow("Edit") << "mnu_menu2"
                        << "编辑(&E)"
                        << QStringList{"mnu_undo=撤销", "mnu_redo=重做", "mnu_f5", "mnu_ad=添加(&A)", "mnu_de=删除(&D)",
                                       "mnu_f2", "mnu_all=全选", "mnu_null=取消选择", "mnu_fx=反向选择", "mnu_f3",
                                       "mnu_refresh=刷新(&R)", "mnu_load=重新载入(&L)", "mnu_batch=批量修改(&B)…",
                                       // The grid's own commands follow, each with its keys.
                                       "mnu_f5", "mnu_edit=修改记录(&M)", "mnu_modify=多项修改", "mnu_goto=转到(&G)",
                                       "mnu_refby=被引用(&U)…", "mnu_f6", "mnu_copy=复制(&C)",
                                       "mnu_copyh=复制（含标题行）", "mnu_paste=粘贴(&P)", "mnu_filldown=向下填充",
                                       "mnu_clear=清除单元格", "mnu_f7", "mnu_cells=按单元格选择"};
  QTest::newRow("Search") << "mnu_menu3"
                          << "搜索(&F)"
                          << QStringList{"mnu_find=查找(&F)", "mnu_replace=替换(&R)…", "mnu_filter=筛选(&T)"};
  QTest::newRow("Options") << "mnu_option"
                           << "选项(&O)" << QStringList{"mnu_path=设置Data文件路径"};
  QTest::newRow("Help") << "mnu_he"
                        << "帮助(&H)"
                        << QStringList{"mnu_help=使用说明(&R)", "mnu_help_en=User guide in English(&E)", "mnu_f4",
                                       "mnu_about=关于 Vantaro3 DataEditer(&A)..."};
  QTest::newRow("context") << "mnu_menu4"
                           << "修改" << QStringList{"mnu_modify=多项修改", "mnu_f1", "mnu_add=添加",
                                                    "mnu_del=删除",        "mnu_f8", "mnu_goto2=转到",
                                                    "mnu_refby2=被引用…"};
}

void ShellTest::menusCarryTheLanguageFileKeys() {
  QFETCH(QString, menu);
  QFETCH(QString, title);
  QFETCH(QStringList, entries);
  Shell s(1);
  QVERIFY(s.start());
  auto* m = s.window->findChild<QMenu*>(menu);
  QVERIFY(m);
  QCOMPARE(m->title(), title);
  QStringList actual;
  for (QAction* a : m->actions())
    actual << (a->isSeparator() ? a->objectName() : a->objectName() + QLatin1Char('=') + a->text());
  QCOMPARE(actual, entries);
}

void ShellTest::catalogueEntries() {
  Shell s(1);
  QVERIFY(s.start());
  QStringList bar;
  for (QAction* a : s.window->menuBar()->actions()) bar << a->menu()->objectName();
  QCOMPARE(bar, (QStringList{"mnu_menu1", "mnu_menu2", "mnu_select", "mnu_menu3", "mnu_option", "mnu_he"}));

  auto* select = s.window->findChild<QMenu*>(QStringLiteral("mnu_select"));
  QCOMPARE(select->title(), QStringLiteral("选择(&S)"));
  // Grouped by kind; every table in exactly one group, under its own name.
  QStringList groups;
  QHash<QString, QAction*> entries;
  for (QAction* g : select->actions()) {
    QVERIFY(g->menu());
    groups << g->menu()->objectName() + QLatin1Char('=') + g->text();
    for (QAction* a : g->menu()->actions()) {
      QVERIFY2(!entries.contains(a->objectName()), qPrintable(a->objectName()));
      entries.insert(a->objectName(), a);
    }
  }
  QCOMPARE(groups, (QStringList{"mnu_grpJobs=通告(&J)", "mnu_grpRequests=角色征求(&Q)", "mnu_grpClasses=行程与活动(&C)",
                                "mnu_grpStars=艺人与团体(&T)", "mnu_grpItems=道具(&I)", "mnu_grpOffice=事务所对话(&O)",
                                "mnu_grpBalance=平衡数值(&B)", "mnu_grpWindows=独立窗口(&W)"}));
  QCOMPARE(entries.size(), 30);
  for (const CatalogueEntry& e : Catalogue()) {
    QAction* a = entries.value(e.menuEntry);
    QVERIFY2(a, qPrintable(e.menuEntry));
    // The file name, then its description where shortcuts stand.
    const QStringList parts = a->text().split(QLatin1Char('\t'));
    QCOMPARE(parts.size(), 2);
    QCOMPARE(parts[0], e.menuText);
    QVERIFY(!parts[1].isEmpty());
    // What the program cannot open yet is disabled, never a stub.
    QCOMPARE(a->isEnabled(), e.isStandalone() ? false : e.table() != nullptr);
  }
  QCOMPARE(entries.value("mnu_NN")->text(), QStringLiteral("Nickname.tab (Readonly)\t昵称（只读）"));
  QCOMPARE(entries.value("mnu_Star")->text(), QStringLiteral("StarRole.dat\t艺人资料"));
  QCOMPARE(entries.value("mnu_Team")->parent(), s.window.get());
}

void ShellTest::standaloneWindowLeavesTheGridAlone() {
  Shell s(3);
  s.dialogs.windows = true;
  QVERIFY(s.start());
  QVERIFY(s.action(QStringLiteral("mnu_Cons"))->isEnabled());
  s.open(QStringLiteral("Team.dat"));
  s.grid().setRowSelected(2, true);
  s.trigger(QStringLiteral("mnu_Cons"));
  QCOMPARE(s.dialogs.shownWindows, QStringList{"Cons"});
  QCOMPARE(s.window->caption(), QStringLiteral("Team.dat"));
  QCOMPARE(s.grid().recordCount(), 3);
  QCOMPARE(s.grid().selectedRows(), Rows({2}));
  QCOMPARE(s.window->label(2)->text(), QStringLiteral("Team.dat"));
}

void ShellTest::programWindowsOpenFromTheCatalogue() {
  Shell s(3);
  s.programDialogs = true;
  QVERIFY(s.start());
  for (const CatalogueEntry& e : Catalogue())
    if (e.isStandalone()) QVERIFY2(s.action(e.menuEntry)->isEnabled(), qPrintable(e.menuEntry));
  s.open(QStringLiteral("Team.dat"));
  QString seen;
  QTimer::singleShot(0, [&] {
    QWidget* d = QApplication::activeModalWidget();
    QVERIFY(d);
    seen = d->objectName();
    qobject_cast<QDialog*>(d)->reject();
  });
  s.trigger(QStringLiteral("mnu_Level"));
  QCOMPARE(seen, QStringLiteral("Level"));
  QCOMPARE(s.window->caption(), QStringLiteral("Team.dat"));
  QCOMPARE(s.grid().recordCount(), 3);
}

void ShellTest::openingTeam() {
  Shell s(9);
  QVERIFY(s.start());
  QCOMPARE(s.window->label(1)->text(), Counter(0));
  s.open(QStringLiteral("Team.dat"));
  QCOMPARE(s.window->caption(), QStringLiteral("Team.dat"));
  QCOMPARE(s.grid().columnCount(), 12);
  QCOMPARE(s.grid().recordCount(), 9);
  QCOMPARE(s.window->label(2)->text(), QStringLiteral("Team.dat"));
  QCOMPARE(s.window->label(3)->text(), QDir::toNativeSeparators(s.path(QStringLiteral("Team.dat"))));
  QCOMPARE(s.window->label(1)->text(), Counter(0));
  QCOMPARE(s.grid().selectedCount(), 0);
  QCOMPARE(s.window->gridView()->topRow(), 1);
  QVERIFY(s.window->statusLine().contains(QStringLiteral("Team.dat")));
  QVERIFY(!s.window->modifiedMark()->isVisibleTo(s.window.get()));
  // The selector column is narrow and empty.
  QCOMPARE(s.window->gridView()->columnWidth(0), kSelectorColumnWidth);
  QCOMPARE(s.grid().data(s.grid().index(0, 0)).toString(), QString());
}

void ShellTest::openingNicknameUsesTheBareCaption() {
  V3_REQUIRE_TABLE("Nickname.tab");
  Shell s(3);
  QVERIFY(s.start());
  s.open(QStringLiteral("Nickname.tab"));
  QCOMPARE(s.window->caption(), QStringLiteral("Nickname.tab"));
  QCOMPARE(s.grid().columnCount(), 39);
  QCOMPARE(s.window->label(2)->text(), QStringLiteral("Nickname.tab"));
}

void ShellTest::hiddenColumnsStayHidden() {
  V3_REQUIRE_TABLE("TrainCase.dat");
  Shell s(80);
  QVERIFY(s.start());
  s.open(QStringLiteral("TrainCase.dat"));
  GridView* v = s.window->gridView();
  auto hidden = [&] {
    QList<int> h;
    for (int c = 0; c < s.grid().columnCount(); ++c)
      if (v->isColumnHidden(c)) h << c;
    return h;
  };
  const QList<int> expected{7, 8, 9, 10, 11, 12, 13, 14, 15};
  QCOMPARE(hidden(), expected);
  v->setColumnWidth(3, 91);
  // Deleting many scattered rows rebuilds the grid's rows in one pass.
  std::vector<int> everySecond;
  for (int r = 1; r <= 80; r += 2) everySecond.push_back(r);
  SelectRows(s.grid(), everySecond);
  s.trigger(QStringLiteral("mnu_de"));
  QCOMPARE(s.grid().recordCount(), 40);
  QCOMPARE(hidden(), expected);
  QCOMPARE(v->columnWidth(3), 91);
  s.front.answers = QStringList{QStringLiteral("不保存")};
  s.trigger(QStringLiteral("mnu_load"));
  QCOMPARE(hidden(), expected);
  // Another table shows all of its columns.
  s.open(QStringLiteral("Team.dat"));
  QCOMPARE(hidden(), QList<int>());
}

void ShellTest::menuTextsAndHeadersFromTheLanguageFile() {
  Shell s(2);
  QString ini =
      QStringLiteral("[Vantaro3]\r\nCaption=演艺编辑器\r\nmnu_save=存盘(&S)\r\nmnu_Team=团体\r\n[Team.dat]\r\n");
  for (int c = 1; c <= 12; ++c) ini += QStringLiteral("%1=列%1\r\n").arg(c);
  WriteLanguageFile(s.programFolder, QStringLiteral("CHS.txt"), ini);
  QVERIFY(s.start());
  QCOMPARE(s.window->caption(), QStringLiteral("演艺编辑器"));
  QCOMPARE(s.action(QStringLiteral("mnu_save"))->text(), QStringLiteral("存盘(&S)"));
  QCOMPARE(s.action(QStringLiteral("mnu_Team"))->text().section(QLatin1Char('\t'), 0, 0), QStringLiteral("团体"));
  // The language file's caption names no table: the record commands do nothing.
  QVERIFY(!s.window->openEntry());
  s.open(QStringLiteral("Team.dat"));
  QCOMPARE(s.window->caption(), QStringLiteral("Team.dat"));
  for (int c = 1; c <= 11; ++c) QCOMPARE(s.grid().headerText(c), QStringLiteral("列%1").arg(c));
  QCOMPARE(s.grid().headerText(12), QString());
  // Reload fills the header again, from the file as it is now.
  WriteLanguageFile(s.programFolder, QStringLiteral("CHS.txt"), QStringLiteral("[Team.dat]\r\n1=编号\r\n"));
  s.trigger(QStringLiteral("mnu_load"));
  QCOMPARE(s.grid().headerText(1), QStringLiteral("编号"));
  QCOMPARE(s.grid().headerText(2), QString());
}

void ShellTest::codeCellsShowWithoutTrailingZeros() {
  QCOMPARE(DisplayedCellText(QStringLiteral("A01")), QStringLiteral("A01"));
  QCOMPARE(DisplayedCellText(QString::fromUtf16(u"A01\0\0", 5)), QStringLiteral("A01"));
  QCOMPARE(DisplayedCellText(QString::fromUtf16(u"A\0"
                                                "1",
                                                3)),
           QString::fromUtf16(u"A\0"
                              "1",
                              3));
  QCOMPARE(DisplayedCellText(QString::fromUtf16(u"\0\0", 2)), QString());

  Shell s(2);
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  const QString stored = QString::fromUtf16(u"T9\0\0", 4);
  s.grid().setCell(1, 2, stored);
  QCOMPARE(s.grid().cell(1, 2), stored);
  QCOMPARE(s.grid().data(s.grid().index(0, 2)).toString(), stored);
  auto* delegate = qobject_cast<QStyledItemDelegate*>(s.window->gridView()->itemDelegate());
  QVERIFY(delegate);
  QCOMPARE(delegate->displayText(s.grid().data(s.grid().index(0, 2)), QLocale()), QStringLiteral("T9"));
}

void ShellTest::mouseSelectsWholeRows() {
  Shell s(9);
  QVERIFY(s.start());
  s.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
  s.open(QStringLiteral("Team.dat"));
  QWidget* vp = s.window->gridView()->viewport();
  QTest::mouseClick(vp, Qt::LeftButton, {}, RowCenter(s, 2));
  QCOMPARE(s.grid().selectedRows(), Rows({2}));
  QCOMPARE(s.grid().currentRow(), 2);
  QTest::mouseClick(vp, Qt::LeftButton, Qt::ControlModifier, RowCenter(s, 5));
  QCOMPARE(s.grid().selectedRows(), Rows({2, 5}));
  QTest::mouseClick(vp, Qt::LeftButton, Qt::ControlModifier, RowCenter(s, 2));
  QCOMPARE(s.grid().selectedRows(), Rows({5}));
  // Shift+click: the rows from the one last clicked to this one.
  QTest::mouseClick(vp, Qt::LeftButton, Qt::ShiftModifier, RowCenter(s, 4));
  QCOMPARE(s.grid().selectedRows(), Rows({2, 3, 4, 5}));
  QTest::mouseClick(vp, Qt::LeftButton, {}, RowCenter(s, 6));
  QTest::mouseClick(vp, Qt::LeftButton, Qt::ShiftModifier, RowCenter(s, 8));
  QCOMPARE(s.grid().selectedRows(), Rows({6, 7, 8}));
  QCOMPARE(s.window->label(1)->text(), Counter(3));
  // Whole rows: every column of a selected row is selected.
  QVERIFY(s.grid().selectionModel()->isRowSelected(6, QModelIndex()));
}

void ShellTest::rightButton_data() {
  QTest::addColumn<std::vector<int>>("selected");
  QTest::addColumn<int>("row");  // 0: the header row
  QTest::addColumn<std::vector<int>>("after");
  QTest::addColumn<bool>("menu");
  QTest::newRow("three selected stay selected") << Rows({1, 4, 6}) << 8 << Rows({1, 4, 6}) << true;
  QTest::newRow("two selected stay selected") << Rows({3, 4}) << 8 << Rows({3, 4}) << true;
  QTest::newRow("one selected: the clicked row instead") << Rows({3}) << 8 << Rows({8}) << true;
  QTest::newRow("none selected: the clicked row") << Rows({}) << 5 << Rows({5}) << true;
  QTest::newRow("the header row: no menu") << Rows({3}) << 0 << Rows({3}) << false;
  QTest::newRow("below the last row: no menu") << Rows({3}) << -1 << Rows({3}) << false;
}

void ShellTest::rightButton() {
  QFETCH(std::vector<int>, selected);
  QFETCH(int, row);
  QFETCH(std::vector<int>, after);
  QFETCH(bool, menu);
  Shell s(9);
  QVERIFY(s.start());
  s.window->resize(900, 700);
  s.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
  s.open(QStringLiteral("Team.dat"));
  SelectRows(s.grid(), selected);
  GridView* v = s.window->gridView();
  if (row == 0) {
    QTest::mousePress(v->horizontalHeader()->viewport(), Qt::RightButton, {}, QPoint(40, 5));
  } else if (row < 0) {
    const QRect last = v->visualRect(s.grid().index(8, 2));
    QVERIFY(last.bottom() + 20 < v->viewport()->height());
    QTest::mousePress(v->viewport(), Qt::RightButton, {}, QPoint(last.center().x(), last.bottom() + 10));
  } else {
    QTest::mousePress(v->viewport(), Qt::RightButton, {}, RowCenter(s, row));
  }
  QCOMPARE(s.grid().selectedRows(), after);
  QCOMPARE(s.window->contextMenu()->isVisible(), menu);
  QCOMPARE(s.window->label(1)->text(), Counter(int(after.size())));
  s.window->contextMenu()->hide();
}

void ShellTest::doubleClick_data() {
  QTest::addColumn<QString>("table");
  QTest::addColumn<int>("row");
  QTest::addColumn<QString>("editor");  // empty: none opens
  QTest::addColumn<bool>("ctrl");       // with Ctrl held, on a row already selected (the press deselects it)
  QTest::newRow("data row of Team") << "Team.dat" << 3 << "Team" << false;
  QTest::newRow("Ctrl on the selected row") << "Team.dat" << 3 << "Team" << true;
  QTest::newRow("header row") << "Team.dat" << 0 << "" << false;
  QTest::newRow("Nickname has no editor") << "Nickname.tab" << 2 << "" << false;
}

void ShellTest::doubleClick() {
  QFETCH(QString, table);
  QFETCH(int, row);
  QFETCH(QString, editor);
  QFETCH(bool, ctrl);
  if (!FindTable(table)) QSKIP("table not built yet");
  Shell s(5);
  QVERIFY(s.start());
  s.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
  s.open(table);
  GridView* v = s.window->gridView();
  if (row == 0)
    QTest::mouseDClick(v->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(40, 5));
  else if (ctrl) {
    SelectRows(s.grid(), {row});
    QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::ControlModifier, RowCenter(s, row));
    QCOMPARE(s.grid().selectedCount(), 0);
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, Qt::ControlModifier, RowCenter(s, row));
  } else
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, RowCenter(s, row));
  if (editor.isEmpty()) {
    QVERIFY(s.dialogs.shownEditors.isEmpty());
    return;
  }
  QCOMPARE(s.dialogs.shownEditors.size(), 1);
  QCOMPARE(s.dialogs.shownEditors[0].editor, editor);
  QCOMPARE(s.dialogs.shownEditors[0].mode, EditorMode::Edit);
  QVERIFY(s.dialogs.shownEditors[0].disabledControls.isEmpty());
  QCOMPARE(s.grid().selectedRows(), Rows({row}));
}

void ShellTest::editorCommands_data() {
  QTest::addColumn<QString>("table");
  QTest::addColumn<QString>("command");
  QTest::addColumn<QString>("editor");  // empty: nothing opens
  QTest::addColumn<int>("mode");
  QTest::addColumn<QStringList>("disabled");
  QTest::newRow("modify several on Team") << "Team.dat"
                                          << "mnu_modify"
                                          << "Team" << int(EditorMode::ModifySeveral) << QStringList{"Text0"};
  QTest::newRow("modify several on CFRequest")
      << "CFRequest.dat"
      << "mnu_modify"
      << "CFR" << int(EditorMode::ModifySeveral) << QStringList{"Text0", "Text1"};
  QTest::newRow("add on Team (menu)") << "Team.dat"
                                      << "mnu_ad"
                                      << "Team" << int(EditorMode::Add) << QStringList();
  QTest::newRow("add on Team (context)") << "Team.dat"
                                         << "mnu_add"
                                         << "Team" << int(EditorMode::Add) << QStringList();
  QTest::newRow("add on OfficeCom") << "OfficeCom.dat"
                                    << "mnu_ad"
                                    << "" << 0 << QStringList();
  QTest::newRow("add on ScheduleClass") << "ScheduleClass.dat"
                                        << "mnu_add"
                                        << "" << 0 << QStringList();
  QTest::newRow("modify several on Nickname") << "Nickname.tab"
                                              << "mnu_modify"
                                              << "" << 0 << QStringList();
}

void ShellTest::editorCommands() {
  QFETCH(QString, table);
  QFETCH(QString, command);
  QFETCH(QString, editor);
  QFETCH(int, mode);
  QFETCH(QStringList, disabled);
  if (!FindTable(table)) QSKIP("table not built yet");
  Shell s(4);
  QVERIFY(s.start());
  s.open(table);
  SelectRows(s.grid(), Rows({1, 3}));
  // The "editor" adds a row the way an editor's add button does.
  s.dialogs.onEditor = [](const EditorRequest& r, RecordGrid& g) {
    if (r.mode == EditorMode::Add) g.setCurrentRow(g.appendRecord({QStringLiteral("99")}));
  };
  QAction* action = s.action(command);
  QVERIFY(action);
  // A table that cannot add offers no add command.
  if (command.startsWith(QLatin1String("mnu_ad"))) QCOMPARE(action->isEnabled(), !editor.isEmpty());
  action->trigger();
  if (editor.isEmpty()) {
    if (command.startsWith(QLatin1String("mnu_ad"))) s.window->add();
    QVERIFY(s.dialogs.shownEditors.isEmpty());
    QCOMPARE(s.grid().recordCount(), 4);
    return;
  }
  QCOMPARE(s.dialogs.shownEditors.size(), 1);
  QCOMPARE(s.dialogs.shownEditors[0].editor, editor);
  QCOMPARE(int(s.dialogs.shownEditors[0].mode), mode);
  QCOMPARE(s.dialogs.shownEditors[0].disabledControls, disabled);
  if (mode == int(EditorMode::Add)) {
    QCOMPARE(s.grid().recordCount(), 5);
    QCOMPARE(s.grid().currentRow(), 5);
    QCOMPARE(s.window->label(1)->text(), Counter(1));
    QVERIFY(s.window->modifiedMark()->isVisibleTo(s.window.get()));
  }
}

void ShellTest::programEditorsOpenInTheirMode_data() {
  QTest::addColumn<QString>("how");
  QTest::addColumn<bool>("numberEnabled");
  QTest::addColumn<bool>("okShown");
  QTest::newRow("modify several") << "mnu_modify" << false << true;
  QTest::newRow("double-click") << "double-click" << true << true;
  QTest::newRow("add") << "mnu_ad" << true << false;
}

void ShellTest::programEditorsOpenInTheirMode() {
  QFETCH(QString, how);
  QFETCH(bool, numberEnabled);
  QFETCH(bool, okShown);
  Shell s(5);
  s.programDialogs = true;
  QVERIFY(s.start());
  s.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
  s.open(QStringLiteral("Team.dat"));
  SelectRows(s.grid(), Rows({2}));
  const std::vector<QStringList> before = Records(s.grid());
  QString seen;
  QTimer::singleShot(0, [&] {
    QWidget* d = QApplication::activeModalWidget();
    QVERIFY(d);
    seen = d->objectName();
    auto* number = d->findChild<QWidget*>(QStringLiteral("Text0"));
    QVERIFY(number);
    QCOMPARE(number->isEnabled(), numberEnabled);
    QCOMPARE(d->findChild<QWidget*>(QStringLiteral("Cmd_OK"))->isVisibleTo(d), okShown);
    QCOMPARE(d->findChild<QWidget*>(QStringLiteral("Cmd_add"))->isVisibleTo(d), !okShown);
    qobject_cast<QDialog*>(d)->reject();
  });
  if (how == QLatin1String("double-click"))
    QTest::mouseDClick(s.window->gridView()->viewport(), Qt::LeftButton, {}, RowCenter(s, 2));
  else
    s.trigger(how);
  QCOMPARE(seen, QStringLiteral("Team"));
  QCOMPARE(Records(s.grid()), before);  // cancelled: nothing written
}

void ShellTest::deleteRows_data() {
  QTest::addColumn<QString>("command");
  QTest::addColumn<std::vector<int>>("selected");
  QTest::addColumn<std::vector<int>>("remaining");  // original row numbers
  QTest::newRow("rows 2, 5, 7 of 9 (menu)") << "mnu_de" << Rows({2, 5, 7}) << Rows({1, 3, 4, 6, 8, 9});
  QTest::newRow("rows 2, 5, 7 of 9 (context)") << "mnu_del" << Rows({2, 5, 7}) << Rows({1, 3, 4, 6, 8, 9});
  QTest::newRow("nothing selected") << "mnu_de" << Rows({}) << Rows({1, 2, 3, 4, 5, 6, 7, 8, 9});
  QTest::newRow("every row") << "mnu_de" << Rows({1, 2, 3, 4, 5, 6, 7, 8, 9}) << Rows({});
  QTest::newRow("a run at the end") << "mnu_del" << Rows({7, 8, 9}) << Rows({1, 2, 3, 4, 5, 6});
}

void ShellTest::deleteRows() {
  QFETCH(QString, command);
  QFETCH(std::vector<int>, selected);
  QFETCH(std::vector<int>, remaining);
  Shell s(9);
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  const std::vector<QStringList> before = Records(s.grid());
  const QByteArray file = ReadFile(s.path(QStringLiteral("Team.dat")));
  SelectRows(s.grid(), selected);
  s.trigger(command);
  std::vector<QStringList> expected;
  for (int r : remaining) expected.push_back(before[size_t(r - 1)]);
  QCOMPARE(Records(s.grid()), expected);
  QCOMPARE(s.window->label(1)->text(), Counter(0));
  QCOMPARE(s.window->modifiedMark()->isVisibleTo(s.window.get()), !selected.empty());
  // Nothing reaches the file before save.
  QCOMPARE(ReadFile(s.path(QStringLiteral("Team.dat"))), file);
}

void ShellTest::selectAllAndInvert() {
  Shell s(9);
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  s.trigger(QStringLiteral("mnu_all"));
  QCOMPARE(s.window->label(1)->text(), Counter(9));
  s.trigger(QStringLiteral("mnu_fx"));
  QCOMPARE(s.window->label(1)->text(), Counter(0));
  s.trigger(QStringLiteral("mnu_fx"));
  QCOMPARE(s.window->label(1)->text(), Counter(9));
  SelectRows(s.grid(), Rows({1, 2, 5}));
  s.trigger(QStringLiteral("mnu_fx"));
  QCOMPARE(s.grid().selectedRows(), Rows({3, 4, 6, 7, 8, 9}));
  s.trigger(QStringLiteral("mnu_null"));
  QCOMPARE(s.grid().selectedCount(), 0);
  QCOMPARE(s.window->label(1)->text(), Counter(0));
}

void ShellTest::keyboardShortcuts() {
  Shell s(9);
  QVERIFY(s.start());
  s.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
  QApplication::setActiveWindow(s.window.get());
  s.open(QStringLiteral("Team.dat"));
  GridView* v = s.window->gridView();
  v->setFocus();
  QTest::keyClick(v, Qt::Key_A, Qt::ControlModifier);
  QCOMPARE(s.grid().selectedCount(), 9);
  QCOMPARE(s.window->label(1)->text(), Counter(9));
  SelectRows(s.grid(), Rows({4}));
  QTest::keyClick(v, Qt::Key_Delete);
  QCOMPARE(s.grid().recordCount(), 8);
  s.grid().setCell(1, 1, QStringLiteral("20"));
  QTest::keyClick(v, Qt::Key_S, Qt::ControlModifier);
  QVERIFY(s.window->statusLine().startsWith(QStringLiteral("已保存 Team.dat")));
  SelectRows(s.grid(), Rows({2}));
  QTest::keyClick(v, Qt::Key_F5);
  QCOMPARE(s.grid().selectedCount(), 0);
}

void ShellTest::reloadDiscardsEditsAndRefreshKeepsThem() {
  Shell s(60);
  QVERIFY(s.start());
  s.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
  s.open(QStringLiteral("Team.dat"));
  const std::vector<QStringList> original = Records(s.grid());
  GridView* v = s.window->gridView();
  v->setColumnWidth(2, 177);

  // Refresh: the edits stay, the selection goes, row 1 is shown first.
  s.grid().setCell(4, 2, QStringLiteral("改过"));
  SelectRows(s.grid(), Rows({10, 11}));
  s.grid().removeRecords({30});
  v->setTopRow(20);
  s.trigger(QStringLiteral("mnu_refresh"));
  QCOMPARE(s.grid().cell(4, 2), QStringLiteral("改过"));
  QCOMPARE(s.grid().recordCount(), 59);
  QCOMPARE(s.grid().selectedCount(), 0);
  QCOMPARE(v->topRow(), 1);
  QCOMPARE(s.window->label(1)->text(), Counter(0));
  QVERIFY(s.window->modifiedMark()->isVisibleTo(s.window.get()));

  // Reload: the file's contents again; widths and scroll position stay.
  SelectRows(s.grid(), Rows({2}));
  v->setTopRow(15);
  s.front.answers = QStringList{QStringLiteral("不保存")};
  s.trigger(QStringLiteral("mnu_load"));
  QCOMPARE(Records(s.grid()), original);
  QCOMPARE(s.grid().selectedCount(), 0);
  QCOMPARE(s.window->label(1)->text(), Counter(0));
  QCOMPARE(v->columnWidth(2), 177);
  QCOMPARE(v->topRow(), 15);
  QCOMPARE(s.window->caption(), QStringLiteral("Team.dat"));
  QVERIFY(!s.window->modifiedMark()->isVisibleTo(s.window.get()));
}

void ShellTest::saveShowsTheWrittenOrder_data() {
  QTest::addColumn<QString>("table");
  QTest::addColumn<QStringList>("column1");
  QTest::addColumn<QStringList>("shown");
  QTest::newRow("Team.dat: by number") << "Team.dat" << QStringList{"10", "9", "2"} << QStringList{"2", "9", "10"};
  QTest::newRow("CDCase.dat: by text") << "CDCase.dat" << QStringList{"10", "9", "2"} << QStringList{"10", "2", "9"};
}

void ShellTest::saveShowsTheWrittenOrder() {
  QFETCH(QString, table);
  QFETCH(QStringList, column1);
  QFETCH(QStringList, shown);
  if (!FindTable(table)) QSKIP("table not built yet");
  Shell s(3);
  QVERIFY(s.start());
  s.open(table);
  for (int r = 1; r <= 3; ++r) s.grid().setCell(r, 1, column1[r - 1]);
  const QString second = s.grid().cell(3, 2);
  s.trigger(QStringLiteral("mnu_save"));
  QVERIFY2(s.front.messages.isEmpty(), qPrintable(s.front.texts().join('\n')));
  QStringList after;
  for (int r = 1; r <= 3; ++r) after << DisplayedCellText(s.grid().cell(r, 1));
  QCOMPARE(after, shown);
  QCOMPARE(s.grid().cell(shown.indexOf(column1[2]) + 1, 2), second);  // the rows move whole
  QVERIFY(QFileInfo::exists(s.path(table) + QStringLiteral(".bak")));
  QVERIFY(s.window->statusLine().startsWith(QStringLiteral("已保存 ") + table));
  QVERIFY(!s.window->modifiedMark()->isVisibleTo(s.window.get()));
  // Reading the file back gives what the grid shows.
  s.trigger(QStringLiteral("mnu_load"));
  QStringList reread;
  for (int r = 1; r <= 3; ++r) reread << DisplayedCellText(s.grid().cell(r, 1));
  QCOMPARE(reread, shown);
}

void ShellTest::saveKeepsTheSelectionOnItsRecords() {
  Shell s(3);
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  for (int r = 1; r <= 3; ++r) s.grid().setCell(r, 1, QString::number(10 * (4 - r)));  // 30, 20, 10
  SelectRows(s.grid(), Rows({1}));
  s.trigger(QStringLiteral("mnu_save"));
  QCOMPARE(s.grid().cell(3, 1), QStringLiteral("30"));
  QCOMPARE(s.grid().selectedRows(), Rows({3}));
  QCOMPARE(s.window->label(1)->text(), Counter(1));
}

void ShellTest::nicknameSaveWritesNothing() {
  V3_REQUIRE_TABLE("Nickname.tab");
  Shell s(5);
  QVERIFY(s.start());
  const QByteArray bytes = ReadFile(s.path(QStringLiteral("Nickname.tab")));
  s.open(QStringLiteral("Nickname.tab"));
  SelectRows(s.grid(), Rows({1, 2}));
  s.trigger(QStringLiteral("mnu_de"));
  QCOMPARE(s.grid().recordCount(), 3);
  s.trigger(QStringLiteral("mnu_save"));
  QVERIFY(s.front.messages.isEmpty());
  QCOMPARE(ReadFile(s.path(QStringLiteral("Nickname.tab"))), bytes);
  QVERIFY(!QFileInfo::exists(s.path(QStringLiteral("Nickname.tab.bak"))));
  QCOMPARE(s.grid().recordCount(), 3);
}

void ShellTest::refusedSaveNamesTheCell() {
  Shell s(4);
  WriteLanguageFile(s.programFolder, QStringLiteral("CHS.txt"), QStringLiteral("[Team.dat]\r\n7=人气\r\n"));
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  const QByteArray file = ReadFile(s.path(QStringLiteral("Team.dat")));
  s.grid().setCell(1, 1, QStringLiteral("40"));  // would move to the end
  s.grid().setCell(2, 7, QStringLiteral("很多"));
  SelectRows(s.grid(), Rows({1}));
  const std::vector<QStringList> before = Records(s.grid());
  s.trigger(QStringLiteral("mnu_save"));
  QCOMPARE(s.front.messages.size(), 1);
  const QString text = s.front.messages[0].text;
  QVERIFY2(text.contains(QStringLiteral("Team.dat")) && text.contains(QStringLiteral("第 2 行")) &&
               text.contains(QStringLiteral("第 7 列")) && text.contains(QStringLiteral("人气")),
           qPrintable(text));
  QCOMPARE(Records(s.grid()), before);
  QCOMPARE(s.grid().selectedRows(), Rows({1}));
  QCOMPARE(ReadFile(s.path(QStringLiteral("Team.dat"))), file);
  QVERIFY(!QFileInfo::exists(s.path(QStringLiteral("Team.dat.bak"))));
  QVERIFY(s.window->modifiedMark()->isVisibleTo(s.window.get()));
}

void ShellTest::failedSaveKeepsTheBackup_data() {
  QTest::addColumn<bool>("failCopy");
  QTest::addColumn<bool>("backupMade");
  QTest::addColumn<Script>("script");
  QTest::addColumn<QString>("says");
  QTest::newRow("write fails after the backup") << false << true << Script::Simplified << "保存失败";
  QTest::newRow("backup fails") << true << false << Script::Simplified << "保存失败";
  QTest::newRow("Traditional message") << false << true << Script::Traditional << "儲存失敗";
}

void ShellTest::failedSaveKeepsTheBackup() {
  QFETCH(bool, failCopy);
  QFETCH(bool, backupMade);
  QFETCH(Script, script);
  QFETCH(QString, says);
  FailingStore store;
  store.failCopy = failCopy;
  store.failReplace = true;
  Shell s(4);
  s.store = &store;
  QVERIFY(s.start(script));
  s.open(QStringLiteral("Team.dat"));
  const QByteArray file = ReadFile(s.path(QStringLiteral("Team.dat")));
  s.grid().setCell(1, 1, QStringLiteral("40"));
  const std::vector<QStringList> before = Records(s.grid());
  s.trigger(QStringLiteral("mnu_save"));
  QCOMPARE(s.front.messages.size(), 1);
  QVERIFY2(s.front.messages[0].text.contains(says), qPrintable(s.front.messages[0].text));
  QCOMPARE(ReadFile(s.path(QStringLiteral("Team.dat"))), file);
  QCOMPARE(QFileInfo::exists(s.path(QStringLiteral("Team.dat.bak"))), backupMade);
  if (backupMade) QCOMPARE(ReadFile(s.path(QStringLiteral("Team.dat.bak"))), file);
  QCOMPARE(Records(s.grid()), before);
  QVERIFY(s.window->modifiedMark()->isVisibleTo(s.window.get()));
}

// Opening and saving a table show the wait cursor while the files are read
// and written; the question about the tables that refer to it, and all that
// comes after, the usual one.
void ShellTest::waitCursorWhileFilesAreReadAndWritten() {
  CursorWatch store;
  Shell s(6);
  s.store = &store;
  QVERIFY(s.start());
  s.open(QStringLiteral("StarRole.dat"));
  QVERIFY(store.busy.contains(QStringLiteral("read")));
  QVERIFY(!QGuiApplication::overrideCursor());
  s.front.answers = QStringList{QStringLiteral("删除"), QStringLiteral("保存")};
  SelectRows(s.grid(), Rows({2}));
  s.trigger(QStringLiteral("mnu_de"));
  const qsizetype asked = s.front.questions.size();  // the delete question, when a team or firm holds the star
  if (asked == 0) s.front.answers.removeFirst();
  bool waitedInTheQuestion = true;
  s.front.onQuestion = [&] { waitedInTheQuestion = CursorWatch::waiting(); };
  store.calls.clear();
  store.busy.clear();
  s.trigger(QStringLiteral("mnu_save"));
  QCOMPARE(s.front.questions.size(), asked + 1);  // Team.dat and Firm.dat follow the deleted star
  QVERIFY(!waitedInTheQuestion);
  QVERIFY(store.calls.contains(QStringLiteral("write")));
  QCOMPARE(store.busy, store.calls);
  QVERIFY(!QGuiApplication::overrideCursor());
}

void ShellTest::readOnlyDataFolder() {
  Shell s(4);
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  const QByteArray file = ReadFile(s.path(QStringLiteral("Team.dat")));
  QFile::setPermissions(s.dataFolder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
  QFile probe(s.dataFolder + QStringLiteral("/probe"));
  if (probe.open(QIODevice::WriteOnly)) {
    probe.close();
    probe.remove();
    QFile::setPermissions(s.dataFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QSKIP("file permissions do not bind this user (root)");
  }
  s.grid().setCell(1, 1, QStringLiteral("40"));
  s.trigger(QStringLiteral("mnu_save"));
  QFile::setPermissions(s.dataFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QCOMPARE(s.front.messages.size(), 1);
  QVERIFY(s.front.messages[0].text.contains(QStringLiteral("保存失败")));
  QCOMPARE(ReadFile(s.path(QStringLiteral("Team.dat"))), file);
}

void ShellTest::backupBlockedOnDisk() {
  // A real disk failure that binds every user: where the backup copy should
  // go there is a folder.
  Shell s(4);
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  const QByteArray file = ReadFile(s.path(QStringLiteral("Team.dat")));
  QVERIFY(QDir().mkpath(s.path(QStringLiteral("Team.dat.bak"))));
  s.grid().setCell(1, 1, QStringLiteral("40"));
  s.trigger(QStringLiteral("mnu_save"));
  QCOMPARE(s.front.messages.size(), 1);
  QVERIFY2(s.front.messages[0].text.contains(QStringLiteral("保存失败")), qPrintable(s.front.messages[0].text));
  QCOMPARE(ReadFile(s.path(QStringLiteral("Team.dat"))), file);
  QCOMPARE(s.grid().cell(1, 1), QStringLiteral("40"));
}

void ShellTest::unreadableFileIsReportedAndKept() {
  // A Team.dat that cannot be read shows an empty grid and says so; saving
  // that empty grid must not replace what is there.
  Shell s(3);
  QVERIFY(s.start());
  QFile::remove(s.path(QStringLiteral("Team.dat")));
  QVERIFY(QDir().mkpath(s.path(QStringLiteral("Team.dat"))));
  s.open(QStringLiteral("Team.dat"));
  QCOMPARE(s.window->caption(), QStringLiteral("Team.dat"));
  QCOMPARE(s.grid().recordCount(), 0);
  QCOMPARE(s.front.messages.size(), 1);
  QVERIFY(s.front.messages[0].text.contains(QStringLiteral("无法读取 Team.dat")));
  s.trigger(QStringLiteral("mnu_save"));
  QCOMPARE(s.front.messages.size(), 2);
  QVERIFY(s.front.messages[1].text.contains(QStringLiteral("保存失败")));
  QVERIFY(QFileInfo(s.path(QStringLiteral("Team.dat"))).isDir());
}

void ShellTest::commandsWithoutATableDoNothing() {
  Shell s(3);
  QVERIFY(s.start());
  const QString caption = s.window->caption();
  for (const char* c : {"mnu_load", "mnu_refresh", "mnu_all", "mnu_fx", "mnu_null", "mnu_popup"})
    s.trigger(QString::fromLatin1(c));
  // The commands on a table's records cannot be chosen (the called ones do nothing).
  for (const char* c : {"mnu_save", "mnu_modify", "mnu_de", "mnu_edit", "mnu_copy", "mnu_paste"})
    QVERIFY2(!s.action(QString::fromLatin1(c))->isEnabled(), c);
  s.window->save();
  s.window->modifySeveral();
  s.window->deleteSelected(false);
  s.window->paste();
  // Without a table there is nothing to add to.
  QVERIFY(!s.action(QStringLiteral("mnu_ad"))->isEnabled());
  QVERIFY(!s.action(QStringLiteral("mnu_add"))->isEnabled());
  s.window->add();
  s.window->editRow(1);
  QVERIFY(s.dialogs.shownEditors.isEmpty());
  QVERIFY(s.front.messages.isEmpty());
  QCOMPARE(s.window->caption(), caption);
  QCOMPARE(s.grid().columnCount(), 0);
  QCOMPARE(s.window->label(1)->text(), Counter(0));
  QStringList files = QDir(s.dataFolder).entryList(QDir::Files);
  QVERIFY(!files.join(',').contains(QStringLiteral(".bak")));
}

void ShellTest::modelStaysConsistent() {
  Shell s(40);
  QVERIFY(s.start());
  QAbstractItemModelTester tester(&s.grid(), QAbstractItemModelTester::FailureReportingMode::QtTest);
  s.open(QStringLiteral("Team.dat"));
  SelectRows(s.grid(), Rows({2, 5, 7}));
  s.trigger(QStringLiteral("mnu_de"));
  std::vector<int> everySecond;
  for (int r = 1; r <= s.grid().recordCount(); r += 2) everySecond.push_back(r);
  SelectRows(s.grid(), everySecond);
  s.trigger(QStringLiteral("mnu_de"));
  for (int r = 1; r <= s.grid().recordCount(); ++r) s.grid().setCell(r, 1, QString::number(100 - r));
  s.trigger(QStringLiteral("mnu_save"));
  s.trigger(QStringLiteral("mnu_load"));
  s.open(QStringLiteral("Producer.tab"));
  s.grid().setCurrentRow(s.grid().appendRecord({}));
  s.trigger(QStringLiteral("mnu_refresh"));
  QCOMPARE(s.grid().columnCount(), 5);
}

QTEST_MAIN(ShellTest)
#include "test_gui_shell.moc"
