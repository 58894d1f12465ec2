// Undo and redo of the open table: every command is a step, undoing all of
// them gives the file's records back (and the same bytes on save), the
// captions name the steps, the keys reach them, and the saved state follows
// the stack.
#include "test_gui_support.h"

#include <QLabel>
#include <QUndoStack>

#include <random>

#include "app/GridCommands.h"
#include "app/GridView.h"

using namespace v3;
using namespace v3test;

namespace {

// Everything the grid holds: each record's id and cells.
using Content = std::vector<std::pair<quint64, QStringList>>;
Content ContentOf(const RecordGrid& g) {
  Content out;
  for (int r = 1; r <= g.recordCount(); ++r) {
    QStringList cells;
    for (int c = 1; c <= g.fieldCount(); ++c) cells << g.cell(r, c);
    out.push_back({g.recordId(r), cells});
  }
  return out;
}

QAction* EditAction(const Shell& s, const char* name) { return s.window->findChild<QAction*>(QLatin1String(name)); }

// The editor as the user works it: OK writes a value into the selected rows,
// add appends a copy of the first selected row under a new number.
struct ScriptedEditor {
  std::mt19937* random = nullptr;
  void operator()(const EditorRequest& r, RecordGrid& g) const {
    std::mt19937& rnd = *random;
    const int k = g.fieldCount();
    if (r.mode == EditorMode::Add) {
      const std::vector<int> sel = g.selectedRows();
      QStringList row = g.record(sel.empty() ? 1 : sel.front());
      row[0] = QString::number(9000 + g.recordCount());
      g.setCurrentRow(g.appendRecord(row));
      return;
    }
    // A value taken from another record of the same column stays storable.
    const int column = 2 + int(rnd() % unsigned(k - 1));
    const int from = 1 + int(rnd() % unsigned(g.recordCount()));
    const QString value = g.cell(from, column);
    for (int row : g.selectedRows()) g.setCell(row, column, value);
  }
};

}  // namespace

class UndoTest : public QObject {
  Q_OBJECT
 private slots:
  void undoingAllGivesTheFileBack_data();
  void undoingAllGivesTheFileBack();
  void captionsNameTheStep_data();
  void captionsNameTheStep();
  void keysUndoAndRedoInTheShownWindow();
  void undoBackToTheSaveClearsTheMark();
  void editorCancelLeavesNoStep();
  void loadingAnotherTableForgetsTheSteps();
  void recordsComeBackBesideTheirNeighbours();
};

void UndoTest::undoingAllGivesTheFileBack_data() {
  QTest::addColumn<QString>("file");
  QTest::addColumn<unsigned>("seed");
  for (const char* f : {"Team.dat", "CDCase.dat", "StarRole.dat", "Item.dat", "RichBa.tab"})
    for (unsigned seed : {1u, 2u, 3u}) QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(f).arg(seed))) << f << seed;
}

void UndoTest::undoingAllGivesTheFileBack() {
  QFETCH(QString, file);
  QFETCH(unsigned, seed);
  Shell s(12, seed);
  std::mt19937 rnd(seed);
  s.dialogs.onEditor = ScriptedEditor{&rnd};
  QVERIFY(s.start());
  s.open(file);
  const CatalogueEntry* entry = s.window->openEntry();
  QVERIFY(entry);
  const QByteArray original = ReadFile(s.path(file));
  std::vector<Content> states{ContentOf(s.grid())};

  QUndoStack& stack = s.window->undoStack();
  for (int i = 0; i < 30; ++i) {
    const int n = s.grid().recordCount();
    std::vector<int> rows;
    for (int r = 1; r <= n; ++r)
      if (rnd() % 4 == 0) rows.push_back(r);
    if (rows.empty() && n > 0) rows.push_back(1 + int(rnd() % unsigned(n)));
    SelectRows(s.grid(), rows);
    const int before = stack.count();
    switch (rnd() % 5) {
      case 0:
        if (rows.empty()) continue;
        s.window->editRow(rows.front());
        break;
      case 1: s.window->modifySeveral(); break;
      case 2:
        if (!entry->addAllowed) continue;
        s.window->add();
        break;
      case 3:
        if (rows.empty() || n < 4) continue;
        s.trigger(QStringLiteral("mnu_de"));
        break;
      case 4: {
        UndoScope step(s.grid(), QStringLiteral("排序"));
        const int column = 1 + int(rnd() % unsigned(s.grid().fieldCount()));
        s.grid().applyOrder(
            s.grid().sortedOrder(column, rnd() % 2 ? RecordGrid::SortOrder::Numeric : RecordGrid::SortOrder::Text));
        break;
      }
    }
    if (ContentOf(s.grid()) == states.back()) {
      QCOMPARE(stack.count(), before);  // nothing changed, no step
      continue;
    }
    QCOMPARE(stack.count(), before + 1);  // every command is exactly one step
    states.push_back(ContentOf(s.grid()));
  }
  QVERIFY(stack.count() > 5);

  // Undo one step at a time back to the loaded records, then redo all.
  for (size_t i = states.size() - 1; i > 0; --i) {
    stack.undo();
    QCOMPARE(ContentOf(s.grid()), states[i - 1]);
  }
  QVERIFY(!stack.canUndo());
  QVERIFY(!s.grid().isModified());
  for (size_t i = 1; i < states.size(); ++i) {
    stack.redo();
    QCOMPARE(ContentOf(s.grid()), states[i]);
  }
  QVERIFY(s.grid().isModified());

  // Undone all the way: the save writes the file's own bytes.
  while (stack.canUndo()) stack.undo();
  s.trigger(QStringLiteral("mnu_save"));
  QVERIFY2(s.front.messages.isEmpty(), qPrintable(s.front.texts().join('\n')));
  QCOMPARE(ReadFile(s.path(file)), original);
}

void UndoTest::captionsNameTheStep_data() {
  QTest::addColumn<Script>("language");
  QTest::addColumn<QString>("command");
  QTest::addColumn<QString>("undoText");
  QTest::addColumn<QString>("redoText");
  QTest::newRow("delete") << Script::Simplified << "delete"
                          << "撤销 删除 3 项记录"
                          << "重做 删除 3 项记录";
  QTest::newRow("modify") << Script::Simplified << "modify"
                          << "撤销 修改 3 项记录"
                          << "重做 修改 3 项记录";
  QTest::newRow("add") << Script::Simplified << "add"
                       << "撤销 添加 1 项记录"
                       << "重做 添加 1 项记录";
  QTest::newRow("cell") << Script::Simplified << "cell"
                        << "撤销 修改 1 项记录"
                        << "重做 修改 1 项记录";
  QTest::newRow("sort") << Script::Simplified << "sort"
                        << "撤销 排序"
                        << "重做 排序";
  QTest::newRow("delete, Traditional") << Script::Traditional << "delete"
                                       << "復原 刪除 3 項記錄"
                                       << "重做 刪除 3 項記錄";
  QTest::newRow("add, Traditional") << Script::Traditional << "add"
                                    << "復原 新增 1 項記錄"
                                    << "重做 新增 1 項記錄";
}

void UndoTest::captionsNameTheStep() {
  QFETCH(Script, language);
  QFETCH(QString, command);
  QFETCH(QString, undoText);
  QFETCH(QString, redoText);
  Shell s(9);
  s.dialogs.onEditor = [](const EditorRequest& r, RecordGrid& g) {
    if (r.mode == EditorMode::Add) {
      g.appendRecord(g.record(1));
      return;
    }
    for (int row : g.selectedRows()) g.setCell(row, 3, QStringLiteral("77"));
  };
  QVERIFY(s.start(language));
  s.open(QStringLiteral("Team.dat"));
  QAction* undo = EditAction(s, "mnu_undo");
  QAction* redo = EditAction(s, "mnu_redo");
  QVERIFY(undo && redo);
  QVERIFY(!undo->isEnabled());
  SelectRows(s.grid(), Rows({2, 5, 7}));
  if (command == QLatin1String("delete")) s.trigger(QStringLiteral("mnu_de"));
  if (command == QLatin1String("modify")) s.trigger(QStringLiteral("mnu_modify"));
  if (command == QLatin1String("add")) s.trigger(QStringLiteral("mnu_ad"));
  if (command == QLatin1String("cell")) s.grid().setData(s.grid().index(0, 2), QStringLiteral("新名"));
  if (command == QLatin1String("sort")) {
    UndoScope step(s.grid(), QStringLiteral("排序"));
    s.grid().applyOrder(s.grid().sortedOrder(3, RecordGrid::SortOrder::Numeric));
  }
  QVERIFY(undo->isEnabled());
  QCOMPARE(undo->text(), undoText);
  undo->trigger();
  QCOMPARE(redo->text(), redoText);
  QVERIFY(!undo->isEnabled());
}

void UndoTest::keysUndoAndRedoInTheShownWindow() {
  Shell s(9);
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  s.window->show();
  s.window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
  GridView* view = s.window->gridView();
  view->setFocus();
  const Content loaded = ContentOf(s.grid());
  SelectRows(s.grid(), Rows({1, 4}));
  QTest::keyClick(view, Qt::Key_Delete);
  QCOMPARE(s.grid().recordCount(), 7);
  const Content deleted = ContentOf(s.grid());

  QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(ContentOf(s.grid()), loaded);
  QVERIFY(!s.window->isWindowModified());
  QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
  QCOMPARE(ContentOf(s.grid()), deleted);
  QVERIFY(s.window->isWindowModified());
  QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(ContentOf(s.grid()), deleted);
}

void UndoTest::undoBackToTheSaveClearsTheMark() {
  Shell s(9);
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  QCOMPARE(s.window->windowTitle(), QStringLiteral("Team.dat[*] - Vantaro3DataEditer"));
  QVERIFY(!s.window->isWindowModified());
  QUndoStack& stack = s.window->undoStack();
  // The number of record 1 goes last: the save moves it, without a step of its own.
  s.grid().setCell(1, 1, QStringLiteral("99"));
  QVERIFY(s.window->isWindowModified());
  QVERIFY(s.window->modifiedMark()->isVisibleTo(s.window.get()));
  s.trigger(QStringLiteral("mnu_save"));
  QCOMPARE(s.grid().cell(9, 1), QStringLiteral("99"));
  QCOMPARE(stack.count(), 1);  // the save's reorder is no step, and the stack stays
  QVERIFY(stack.canUndo());
  QVERIFY(!s.window->isWindowModified());
  const QByteArray saved = ReadFile(s.path(QStringLiteral("Team.dat")));

  s.grid().setCell(3, 2, QStringLiteral("之后"));
  QVERIFY(s.window->isWindowModified());
  stack.undo();  // back to the save
  QVERIFY(!s.window->isWindowModified());
  QVERIFY(!s.grid().isModified());
  QVERIFY(!s.window->modifiedMark()->isVisibleTo(s.window.get()));
  stack.undo();  // before the save: found by id although the save moved the row
  QCOMPARE(s.grid().cell(9, 1), QStringLiteral("1"));
  QVERIFY(s.window->isWindowModified());
  stack.redo();
  QVERIFY(!s.window->isWindowModified());
  // Nothing to save: no question on exit.
  s.window->show();
  QVERIFY(s.window->close());
  QVERIFY(s.front.questions.isEmpty());
  QCOMPARE(ReadFile(s.path(QStringLiteral("Team.dat"))), saved);
}

void UndoTest::editorCancelLeavesNoStep() {
  Shell s(9);
  s.dialogs.onEditor = [](const EditorRequest&, RecordGrid&) {};
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  SelectRows(s.grid(), Rows({2}));
  s.window->editRow(2);
  s.trigger(QStringLiteral("mnu_modify"));
  QCOMPARE(s.window->undoStack().count(), 0);
  QVERIFY(!EditAction(s, "mnu_undo")->isEnabled());
}

void UndoTest::loadingAnotherTableForgetsTheSteps() {
  Shell s(9);
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  SelectRows(s.grid(), Rows({2}));
  s.trigger(QStringLiteral("mnu_de"));
  s.front.answers = QStringList{QStringLiteral("不保存")};
  s.open(QStringLiteral("Item.dat"));
  QCOMPARE(s.window->caption(), QStringLiteral("Item.dat"));
  QCOMPARE(s.window->undoStack().count(), 0);
  QVERIFY(!s.window->isWindowModified());
}

// A save sorts the rows without a step of its own; records that an undo or
// a redo puts back still go beside the records they were beside.
void UndoTest::recordsComeBackBesideTheirNeighbours() {
  Shell s(9);
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  QUndoStack& stack = s.window->undoStack();
  auto numbers = [&] {
    QStringList n;
    for (int r = 1; r <= s.grid().recordCount(); ++r) n << s.grid().cell(r, 1);
    return n.join(' ');
  };
  s.grid().removeRecords({4, 5, 7});
  s.grid().setCell(1, 1, QStringLiteral("99"));  // the save moves it to the end, and all rows up one
  s.trigger(QStringLiteral("mnu_save"));
  QCOMPARE(numbers(), QStringLiteral("2 3 6 8 9 99"));
  stack.undo();
  QCOMPARE(numbers(), QStringLiteral("2 3 6 8 9 1"));
  stack.undo();
  QCOMPARE(numbers(), QStringLiteral("2 3 4 5 6 7 8 9 1"));
  stack.redo();
  QCOMPARE(numbers(), QStringLiteral("2 3 6 8 9 1"));
  stack.undo();
  QCOMPARE(numbers(), QStringLiteral("2 3 4 5 6 7 8 9 1"));

  // A record added at the end that the save moved to the top comes back there.
  stack.redo();
  stack.redo();
  s.grid().appendRecord({QStringLiteral("0"), QStringLiteral("新")});
  s.trigger(QStringLiteral("mnu_save"));
  QCOMPARE(numbers(), QStringLiteral("0 2 3 6 8 9 99"));
  stack.undo();
  QCOMPARE(numbers(), QStringLiteral("2 3 6 8 9 99"));
  stack.redo();
  QCOMPARE(numbers(), QStringLiteral("0 2 3 6 8 9 99"));
}

QTEST_MAIN(UndoTest)
#include "test_gui_undo.moc"
