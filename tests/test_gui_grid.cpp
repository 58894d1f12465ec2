// The grid as a table editor: keys on the focused grid, the frozen
// identifying columns, sort by a header, the filter bar, the clipboard,
// names beside numbers, the record count and the user guide.
#include "test_gui_support.h"

#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStandardItemModel>
#include <QScrollBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QUndoStack>

#include <random>

#include "app/Clipboard.h"
#include "app/FilterBar.h"
#include "app/FindDialog.h"
#include "app/FrozenView.h"
#include "app/GridCommands.h"
#include "app/GridView.h"
#include "app/Messages.h"
#include "app/References.h"
#include "app/Search.h"
#include "model/TableIo.h"

using namespace v3;
using namespace v3test;

namespace {

// A shown, active window with a table open and the grid focused.
void Show(Shell& s, const QString& table, QSize size = QSize(1100, 700)) {
  QVERIFY(s.start());
  s.window->resize(size);
  s.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
  QApplication::setActiveWindow(s.window.get());
  s.open(table);
  s.window->gridView()->setFocus();
  QVERIFY(QTest::qWaitFor([&] { return s.window->gridView()->hasFocus(); }));
}

QPoint CellCenter(const Shell& s, int row, int column) {
  return s.window->gridView()->visualRect(s.grid().index(row - 1, column)).center();
}

QStringList Column(const RecordGrid& g, int column) {
  QStringList c;
  for (int r = 1; r <= g.recordCount(); ++r) c << g.cell(r, column);
  return c;
}

// Types text the way an input method delivers it: key events carrying the characters.
void Type(QWidget* w, const QString& text) {
  for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void ClickHeader(const Shell& s, int column) {
  GridView* v = s.window->gridView();
  QHeaderView* h = v->horizontalHeader();
  const QPoint at(h->sectionViewportPosition(column) + h->sectionSize(column) / 2, h->height() / 2);
  QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

class GridTest : public QObject {
  Q_OBJECT
 private slots:
  void keysReachTheCommands_data();
  void keysReachTheCommands();
  void contextMenuFromTheKeyboard_data();
  void contextMenuFromTheKeyboard();
  void frozenColumnsStayInView_data();
  void frozenColumnsStayInView();
  void sortByHeader();
  void sortByText();
  void saveClearsTheSortMark();
  void filterShowsMatchingRows();
  void commandsActOnTheShownRows();
  void findPassesOverFilteredRows();
  void filterFollowsTheSave();
  void filterCountInTraditional();
  void filterIndexMatchesAsCells();
  void filterIndexFollowsEdits_data();
  void filterIndexFollowsEdits();
  void filterThroughManyRows();
  void filterPaintsOnlyWhatChanged();
  void filterKeptThroughDeleteAndUndo_data();
  void filterKeptThroughDeleteAndUndo();
  void filterReadsEditsOfNumberColumns();
  void parseBlock_data();
  void parseBlock();
  void copyAndPasteABlock();
  void pasteThatDoesNotFitIsRefused();
  void pasteWholeRows();
  void cellsPaintAsTheStyleDoes_data();
  void cellsPaintAsTheStyleDoes();
  void cellPanelsAsTheStyleDraws_data();
  void cellPanelsAsTheStyleDraws();
  void namesBesideNumbers();
  void namesNeverChangeTheFile();
  void countFollowsDeletesAndAdds();
  void columnsFitAfterAnEdit();
  void traditionalRowsAndColumns_data();
  void traditionalRowsAndColumns();
  void guideShownInTheProgram_data();
  void guideShownInTheProgram();
  void toolbarHoldsTheCommonCommands();
};

void GridTest::keysReachTheCommands_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<int>("mode");  // -1: no editor
  QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << int(EditorMode::Edit);
  QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << int(EditorMode::Edit);
  QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << int(Qt::ControlModifier) << int(EditorMode::ModifySeveral);
}

void GridTest::keysReachTheCommands() {
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(int, mode);
  Shell s(9);
  Show(s, QStringLiteral("Team.dat"));
  GridView* v = s.window->gridView();
  QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, CellCenter(s, 3, 4));
  // Ctrl+click adds a row (on a member cell it would go to the star instead).
  QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::ControlModifier, CellCenter(s, 5, 7));
  QTest::keyClick(v, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
  QCOMPARE(s.dialogs.shownEditors.size(), 1);
  QCOMPARE(int(s.dialogs.shownEditors[0].mode), mode);
  QCOMPARE(s.dialogs.shownEditors[0].editor, QStringLiteral("Team"));
  if (mode == int(EditorMode::ModifySeveral))
    QCOMPARE(s.dialogs.shownEditors[0].disabledControls, QStringList{"Text0"});
  // The editor works on the selection as the keys left it.
  QCOMPARE(s.grid().selectedRows(), Rows({3, 5}));

  // Delete removes the selected records.
  QTest::keyClick(v, Qt::Key_Delete);
  QCOMPARE(s.grid().recordCount(), 7);
  QCOMPARE(s.window->recordCountLabel()->text(), QStringLiteral("共 7 项"));
  // Arrow keys move the current row; Enter opens the editor there.
  s.grid().setCurrentRow(1);
  QTest::keyClick(v, Qt::Key_Down);
  QTest::keyClick(v, Qt::Key_Down);
  QCOMPARE(s.grid().currentRow(), 3);
  QTest::keyClick(v, Qt::Key_Return);
  QCOMPARE(s.dialogs.shownEditors.size(), 2);
  QCOMPARE(s.grid().selectedRows(), Rows({3}));
}

void GridTest::contextMenuFromTheKeyboard_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::newRow("Menu key") << int(Qt::Key_Menu) << 0;
  QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
}

void GridTest::contextMenuFromTheKeyboard() {
  QFETCH(int, key);
  QFETCH(int, modifiers);
  Shell s(30);
  Show(s, QStringLiteral("Team.dat"));
  GridView* v = s.window->gridView();
  s.grid().setCurrentRow(20);
  v->scrollTo(s.grid().index(19, 1));
  QTest::keyClick(v, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
  QMenu* menu = s.window->contextMenu();
  QVERIFY(QTest::qWaitFor([&] { return menu->isVisible(); }));
  // At the current row, which is in view.
  const QRect row = v->visualRect(s.grid().index(19, 1));
  QVERIFY(v->viewport()->rect().intersects(row));
  const QPoint rowOnScreen = v->viewport()->mapToGlobal(row.bottomLeft());
  QVERIFY(qAbs(menu->geometry().top() - rowOnScreen.y()) < 40);
  QCOMPARE(s.grid().selectedRows(), Rows({20}));
  menu->hide();
  // With several rows selected they stay selected.
  SelectRows(s.grid(), Rows({2, 4, 6}));
  QTest::keyClick(v, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
  QVERIFY(QTest::qWaitFor([&] { return menu->isVisible(); }));
  QCOMPARE(s.grid().selectedRows(), Rows({2, 4, 6}));
  menu->hide();
}

void GridTest::frozenColumnsStayInView_data() {
  QTest::addColumn<QString>("table");
  QTest::addColumn<int>("frozen");  // columns 1..frozen stay
  QTest::newRow("StarRole.dat") << "StarRole.dat" << 2;
  QTest::newRow("CFRequest.dat") << "CFRequest.dat" << 3;
  QTest::newRow("TrainCase.dat") << "TrainCase.dat" << 4;  // its own count of leading columns
}

void GridTest::frozenColumnsStayInView() {
  QFETCH(QString, table);
  QFETCH(int, frozen);
  if (!FindTable(table)) QSKIP("table not built yet");
  Shell s(40);
  Show(s, table, QSize(640, 480));
  GridView* v = s.window->gridView();
  FrozenView* f = v->frozenView();
  QCOMPARE(f->frozenCount(), frozen);
  QVERIFY(f->isVisible());
  QScrollBar* h = v->horizontalScrollBar();
  QVERIFY(h->maximum() > 0);
  h->setValue(h->maximum());
  QApplication::processEvents();
  // The grid's own first columns went out of view; the frozen ones did not.
  QVERIFY(v->visualRect(s.grid().index(0, 1)).right() < 0);
  QVERIFY(f->isVisible());
  QCOMPARE(f->geometry().left(), v->frameWidth());
  for (int c = 1; c <= frozen; ++c) {
    QVERIFY(!f->isColumnHidden(c));
    const QRect cell = f->visualRect(s.grid().index(0, c));
    QVERIFY(f->viewport()->rect().contains(cell.center()));
  }
  QVERIFY(f->isColumnHidden(frozen + 1));
  // The last column is in view beside them, not under them.
  const int last = s.grid().columnCount() - 1;
  QVERIFY(v->visualRect(s.grid().index(0, last)).left() >= v->frozenWidth() - 2);
  // Down the grid: the frozen part follows the rows.
  v->verticalScrollBar()->setValue(10);
  QCOMPARE(f->verticalScrollBar()->value(), 10);
  QCOMPARE(f->rowAt(1), v->rowAt(1));
  // A click on a frozen cell selects that row; a double-click opens its editor.
  const QPoint onFrozen = f->visualRect(s.grid().index(12, 1)).center();
  QTest::mouseClick(f->viewport(), Qt::LeftButton, {}, onFrozen);
  QCOMPARE(s.grid().selectedRows(), Rows({13}));
  QCOMPARE(s.window->label(1)->text(), QStringLiteral("共1项被选择"));
  QTest::mouseDClick(f->viewport(), Qt::LeftButton, {}, onFrozen);
  QCOMPARE(s.dialogs.shownEditors.size(), 1);
  // Moving left from a scrolled-out column brings it out from under the frozen part.
  s.grid().selectionModel()->setCurrentIndex(s.grid().index(12, frozen + 3), QItemSelectionModel::NoUpdate);
  v->scrollTo(s.grid().index(12, frozen + 3));
  QTest::keyClick(v, Qt::Key_Left);
  const QModelIndex current = s.grid().selectionModel()->currentIndex();
  QCOMPARE(current.column(), frozen + 2);
  QVERIFY(v->visualRect(current).left() >= v->frozenWidth() - 2);
}

void GridTest::sortByHeader() {
  Shell s(6);
  Show(s, QStringLiteral("Team.dat"));
  const QStringList numbers{"10", "9", "2", "-1", "33", "9"};
  for (int r = 1; r <= 6; ++r) {
    s.grid().setCell(r, 1, numbers[r - 1]);
    s.grid().setCell(r, 2, QStringLiteral("团%1").arg(r));
  }
  SelectRows(s.grid(), Rows({1, 5}));  // "10" and "33"
  ClickHeader(s, 1);
  QCOMPARE(Column(s.grid(), 1), (QStringList{"-1", "2", "9", "9", "10", "33"}));
  // Equal keys keep their order: the first 9 (row 2) before the second (row 6).
  QCOMPARE(s.grid().cell(3, 2), QStringLiteral("团2"));
  QCOMPARE(s.grid().cell(4, 2), QStringLiteral("团6"));
  QCOMPARE(s.grid().selectedRows(), Rows({5, 6}));
  QCOMPARE(s.window->gridView()->sortColumn(), 1);
  QCOMPARE(s.window->gridView()->horizontalHeader()->sortIndicatorSection(), 1);
  ClickHeader(s, 1);
  QCOMPARE(Column(s.grid(), 1), (QStringList{"33", "10", "9", "9", "2", "-1"}));
  QCOMPARE(s.grid().cell(3, 2), QStringLiteral("团2"));
  QCOMPARE(s.grid().selectedRows(), Rows({1, 2}));
  QCOMPARE(s.window->gridView()->sortOrder(), Qt::DescendingOrder);
  // The record commands act on the records that moved.
  s.trigger(QStringLiteral("mnu_de"));
  QCOMPARE(Column(s.grid(), 1), (QStringList{"9", "9", "2", "-1"}));
  QVERIFY(s.grid().isModified());
}

void GridTest::sortByText() {
  Shell s(5);
  Show(s, QStringLiteral("Team.dat"));
  const QStringList names{"b", "B", "a", "10", "9"};
  for (int r = 1; r <= 5; ++r) s.grid().setCell(r, 2, names[r - 1]);
  ClickHeader(s, 2);
  // By character codes: digits, then upper case, then lower case; "10" before "9".
  QCOMPARE(Column(s.grid(), 2), (QStringList{"10", "9", "B", "a", "b"}));
}

void GridTest::saveClearsTheSortMark() {
  Shell s(6);
  Show(s, QStringLiteral("Team.dat"));
  ClickHeader(s, 1);
  ClickHeader(s, 1);  // descending: the save writes (and shows) ascending again
  QCOMPARE(s.window->gridView()->sortColumn(), 1);
  s.trigger(QStringLiteral("mnu_save"));
  QVERIFY(s.window->statusLine().startsWith(QStringLiteral("已保存")));
  QCOMPARE(s.window->gridView()->sortColumn(), 0);
  QVERIFY(!s.window->gridView()->horizontalHeader()->isSortIndicatorShown());
  // An edit of the sorted column also makes the mark untrue.
  ClickHeader(s, 2);
  QCOMPARE(s.window->gridView()->sortColumn(), 2);
  s.grid().setCell(1, 3, QStringLiteral("5"));
  QCOMPARE(s.window->gridView()->sortColumn(), 2);
  s.grid().setCell(1, 2, QStringLiteral("zz"));
  QCOMPARE(s.window->gridView()->sortColumn(), 0);
}

void GridTest::filterShowsMatchingRows() {
  Shell s(9);
  Show(s, QStringLiteral("Team.dat"));
  // Team names as the game stores them, in Traditional characters.
  s.grid().setCell(2, 2, QStringLiteral("飛鑫輪海"));
  s.grid().setCell(5, 2, QStringLiteral("飛鑫樂團"));
  s.grid().setCell(7, 3, QStringLiteral("飛鑫"));
  FilterBar* bar = s.window->filterBar();
  GridView* v = s.window->gridView();
  // Typed in Simplified, found in Traditional, in every column.
  Type(bar->textBox(), QStringLiteral("飞鑫"));
  QCOMPARE(v->shownRows(), Rows({2, 5, 7}));
  QCOMPARE(s.window->recordCountLabel()->text(), QStringLiteral("显示 3 / 9 项"));
  for (int r = 1; r <= 9; ++r) QCOMPARE(v->isRowHidden(r - 1), r != 2 && r != 5 && r != 7);
  QCOMPARE(v->frozenView()->isRowHidden(0), true);
  QCOMPARE(v->frozenView()->isRowHidden(1), false);
  // One column only.
  bar->columnList()->setCurrentIndex(bar->columnList()->findData(2));
  QCOMPARE(v->shownRows(), Rows({2, 5}));
  Type(bar->textBox(), QStringLiteral("轮"));
  QCOMPARE(v->shownRows(), Rows({2}));
  // Case-sensitive, as find is.
  s.grid().setCell(8, 2, QStringLiteral("Abc"));
  bar->textBox()->setText(QStringLiteral("abc"));
  QCOMPARE(v->shownCount(), 0);
  QCOMPARE(s.window->recordCountLabel()->text(), QStringLiteral("显示 0 / 9 项"));
  // An edit is seen by the next filter.
  s.grid().setCell(9, 4, QStringLiteral("飛鑫"));
  bar->columnList()->setCurrentIndex(0);
  bar->textBox()->setText(QStringLiteral("飞鑫"));
  QCOMPARE(v->shownRows(), Rows({2, 5, 7, 9}));
  bar->textBox()->clear();
  QCOMPARE(v->shownCount(), 9);
  QCOMPARE(s.window->recordCountLabel()->text(), QStringLiteral("共 9 项"));
  // Typing in the filter box never reaches the grid's commands.
  bar->textBox()->setFocus();
  QTest::keyClick(bar->textBox(), Qt::Key_X);
  QTest::keyClick(bar->textBox(), Qt::Key_Backspace);
  SelectRows(s.grid(), Rows({1}));
  QTest::keyClick(bar->textBox(), Qt::Key_Delete);
  QCOMPARE(s.grid().recordCount(), 9);
  // Another table starts without a filter, with its own columns.
  bar->textBox()->setText(QStringLiteral("飛"));
  s.front.answers = QStringList{QStringLiteral("不保存")};  // the edit above
  s.open(QStringLiteral("Firm.dat"));
  QCOMPARE(bar->text(), QString());
  QCOMPARE(v->shownCount(), s.grid().recordCount());
  QCOMPARE(bar->columnList()->count(), s.grid().fieldCount() + 1);
}

void GridTest::commandsActOnTheShownRows() {
  Shell s(9);
  Show(s, QStringLiteral("Team.dat"));
  for (int r : {3, 4, 8}) s.grid().setCell(r, 2, QStringLiteral("選中%1").arg(r));
  s.window->filterBar()->textBox()->setText(QStringLiteral("选中"));
  GridView* v = s.window->gridView();
  QCOMPARE(v->shownRows(), Rows({3, 4, 8}));
  // Select all: the rows in view only.
  s.trigger(QStringLiteral("mnu_all"));
  QCOMPARE(s.grid().selectedRows(), Rows({3, 4, 8}));
  QCOMPARE(s.window->label(1)->text(), QStringLiteral("共3项被选择"));
  // Shift+click over rows left out does not select them.
  s.trigger(QStringLiteral("mnu_null"));
  QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, CellCenter(s, 3, 2));
  QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::ShiftModifier, CellCenter(s, 8, 2));
  QCOMPARE(s.grid().selectedRows(), Rows({3, 4, 8}));
  // Invert: among the rows in view.
  SelectRows(s.grid(), Rows({4}));
  s.trigger(QStringLiteral("mnu_fx"));
  QCOMPARE(s.grid().selectedRows(), Rows({3, 8}));
  // Modify several hands the editor the shown, selected rows.
  std::vector<int> seen;
  s.dialogs.onEditor = [&](const EditorRequest&, RecordGrid& g) { seen = g.selectedRows(); };
  s.trigger(QStringLiteral("mnu_modify"));
  QCOMPARE(seen, Rows({3, 8}));
  // Delete removes those and nothing else.
  const QString kept = s.grid().cell(4, 2);
  s.trigger(QStringLiteral("mnu_de"));
  QCOMPARE(s.grid().recordCount(), 7);
  QCOMPARE(v->shownRows(), Rows({3}));
  QCOMPARE(s.grid().cell(3, 2), kept);
  QCOMPARE(s.window->recordCountLabel()->text(), QStringLiteral("显示 1 / 7 项"));
}

void GridTest::findPassesOverFilteredRows() {
  Shell s(9);
  Show(s, QStringLiteral("Team.dat"));
  for (int r : {2, 4, 7}) s.grid().setCell(r, 2, QStringLiteral("尋%1").arg(r));
  s.grid().setCell(4, 3, QStringLiteral("留"));
  s.grid().setCell(7, 3, QStringLiteral("留"));
  s.window->filterBar()->textBox()->setText(QStringLiteral("留"));
  FindDialog d(s.grid(), s.window->gridView(), s.front, s.window->texts(), s.window->localeId(), s.window.get());
  d.columnList()->setCurrentIndex(1);
  d.textBox()->setText(QStringLiteral("寻"));
  d.findFirst();
  QCOMPARE(s.grid().selectedRows(), Rows({4}));
  d.findNext();
  QCOMPARE(s.grid().selectedRows(), Rows({7}));
}

void GridTest::filterFollowsTheSave() {
  Shell s(6);
  Show(s, QStringLiteral("Team.dat"));
  const QStringList numbers{"50", "40", "30", "20", "10", "5"};
  for (int r = 1; r <= 6; ++r) s.grid().setCell(r, 1, numbers[r - 1]);
  s.grid().setCell(1, 2, QStringLiteral("留下"));
  s.grid().setCell(3, 2, QStringLiteral("留下"));
  s.window->filterBar()->textBox()->setText(QStringLiteral("留下"));
  s.trigger(QStringLiteral("mnu_save"));
  // The save wrote (and shows) the rows by number; the filter kept its records.
  QCOMPARE(Column(s.grid(), 1), (QStringList{"5", "10", "20", "30", "40", "50"}));
  QCOMPARE(s.window->gridView()->shownRows(), Rows({4, 6}));
}

void GridTest::filterCountInTraditional() {
  Shell s(5);
  Show(s, QStringLiteral("Team.dat"));
  s.window.reset();
  Shell t(5);
  QVERIFY(t.start(Script::Traditional));
  t.open(QStringLiteral("Team.dat"));
  QCOMPARE(t.window->recordCountLabel()->text(), QStringLiteral("共 5 項"));
  t.grid().setCell(2, 2, QStringLiteral("找到"));
  t.window->filterBar()->textBox()->setText(QStringLiteral("找到"));
  QCOMPARE(t.window->recordCountLabel()->text(), QStringLiteral("顯示 1 / 5 項"));
}

void GridTest::filterIndexMatchesAsCells() {
  RecordGrid g;
  g.reset(3, {{"ab", "cd", "x"}, {"abc", "", ""}, {"", "b", "c"}, {"B", "C", ""}});
  FilterIndex index;
  for (const QString& text : {QStringLiteral("bc"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("B")}) {
    for (const std::vector<int>& columns : {std::vector<int>{1, 2, 3}, std::vector<int>{2}}) {
      // Never across two cells; the same answer as cell by cell.
      QCOMPARE(index.match(g, columns, {text}), MatchingRows(g, columns, {text}));
    }
  }
  QCOMPARE(index.match(g, {1, 2, 3}, {QStringLiteral("bc")}), (std::vector<char>{0, 1, 0, 0}));
  g.setCell(4, 1, QStringLiteral("abcd"));
  index.invalidate();
  QCOMPARE(index.match(g, {1, 2, 3}, {QStringLiteral("bc")}), (std::vector<char>{0, 1, 0, 1}));
}

void GridTest::filterIndexFollowsEdits_data() {
  QTest::addColumn<int>("records");
  QTest::addColumn<int>("edits");  // between two filters
  QTest::addColumn<unsigned>("seed");
  QTest::addColumn<bool>("sameLength");  // each edit keeps the cell's length
  QTest::newRow("one record") << 1 << 1 << 1u << false;
  QTest::newRow("few edits") << 300 << 3 << 2u << false;
  QTest::newRow("first and last rows") << 50 << 2 << 3u << false;
  QTest::newRow("many edits") << 400 << 60 << 4u << false;
  QTest::newRow("more edits than kept") << 600 << 2000 << 5u << false;
  QTest::newRow("edits of the same length") << 300 << 9 << 6u << true;
}

void GridTest::filterIndexFollowsEdits() {
  // Random short cells over a small alphabet (Traditional, Simplified,
  // ASCII, empty): many partial matches, matches at the ends of cells, and
  // records whose texts grow and shrink with each edit.
  QFETCH(int, records);
  QFETCH(int, edits);
  QFETCH(unsigned, seed);
  QFETCH(bool, sameLength);
  std::mt19937 random(seed);
  const QString alphabet = QStringLiteral("ab飛飞鑫1 ");
  auto text = [&](int length = -1) {
    QString t;
    for (int k = length >= 0 ? length : int(random() % 5); k > 0; --k) t += alphabet[int(random() % alphabet.size())];
    return t;
  };
  constexpr int kColumns = 4;
  std::vector<QStringList> rows(static_cast<size_t>(records));
  for (QStringList& row : rows)
    for (int c = 0; c < kColumns; ++c) row << text();
  RecordGrid g;
  g.reset(kColumns, rows);
  FilterIndex index;
  const std::vector<std::vector<int>> columnSets{{1, 2, 3, 4}, {2}, {4, 1}};
  auto compare = [&](const std::vector<int>& columns) {
    for (int k = 0; k < 8; ++k) {
      const QStringList texts = FilterTextsFor(text());
      QCOMPARE(index.match(g, columns, texts), MatchingRows(g, columns, texts));
    }
  };
  for (int round = 0; round < 6; ++round) {
    const std::vector<int>& columns = columnSets[size_t(round) % columnSets.size()];
    compare(columns);
    if (QTest::currentTestFailed()) return;
    // Edits as the grid reports them: a record at a time, or a block of records.
    for (int e = 0; e < edits; ++e) {
      const int row = e % 7 == 0 ? (e % 2 ? 1 : records) : 1 + int(random() % unsigned(records));
      const int column = 1 + int(random() % kColumns);
      g.setCell(row, column, text(sameLength ? int(g.cell(row, column).size()) : -1));
      index.invalidateRows(row, row);
    }
    const int from = 1 + int(random() % unsigned(records));
    const int to = std::min(records, from + 3);
    for (int r = from; r <= to; ++r)
      g.setCell(r, 2, sameLength ? text(int(g.cell(r, 2).size())) : text() + QStringLiteral("飛"));
    index.invalidateRows(from, to);
    compare(columns);
    if (QTest::currentTestFailed()) return;
  }
  // Rows out of range: the index is built again rather than trusted.
  g.setCell(1, 1, QStringLiteral("zz"));
  index.invalidateRows(1, records + 5);
  QCOMPARE(index.match(g, {1}, {QStringLiteral("zz")}), MatchingRows(g, {1}, {QStringLiteral("zz")}));
}

namespace {

// Whether the frozen columns show exactly the rows the grid shows.
bool FrozenAgrees(GridView* v) {
  for (int r = 0; r < v->model()->rowCount(); ++r)
    if (v->frozenView()->isRowHidden(r) != v->isRowHidden(r) || v->isRowHidden(r) == v->isRowShown(r + 1)) {
      qWarning("row %d: grid %d, frozen %d, shown %d", r + 1, v->isRowHidden(r), v->frozenView()->isRowHidden(r),
               v->isRowShown(r + 1));
      return false;
    }
  return true;
}

}  // namespace

void GridTest::filterThroughManyRows() {
  Shell s(2000);
  Show(s, QStringLiteral("Team.dat"));
  GridView* v = s.window->gridView();
  FrozenView* f = v->frozenView();
  QVERIFY(f->isActive());
  FilterBar* bar = s.window->filterBar();
  std::vector<int> marked;
  for (int r = 5; marked.size() < 120; r += 16) {
    s.grid().setCell(r, 2, QStringLiteral("標記%1").arg(r));
    marked.push_back(r);
  }
  Type(bar->textBox(), QStringLiteral("标记"));
  QCOMPARE(v->shownRows(), marked);
  QCOMPARE(s.window->recordCountLabel()->text(), QStringLiteral("显示 120 / 2000 项"));
  QVERIFY(FrozenAgrees(v));
  // Down to the last shown row: the frozen part follows.
  v->verticalScrollBar()->setValue(v->verticalScrollBar()->maximum());
  QApplication::processEvents();
  QCOMPARE(f->verticalScrollBar()->value(), v->verticalScrollBar()->value());
  QCOMPARE(f->rowAt(2), v->rowAt(2));
  const QRect last = v->visualRect(s.grid().index(marked.back() - 1, 3));
  QVERIFY(v->viewport()->rect().contains(last.center()));
  QCOMPARE(v->rowAtPosition(last.center()), marked.back());
  // Narrower, then wider again as the text is typed and taken back.
  Type(bar->textBox(), QStringLiteral("1"));
  std::vector<int> narrower;
  for (int r : marked)
    if (QString::number(r).startsWith(u'1')) narrower.push_back(r);
  QCOMPARE(v->shownRows(), narrower);
  QVERIFY(FrozenAgrees(v));
  QTest::keyClick(bar->textBox(), Qt::Key_Backspace);
  QCOMPARE(v->shownRows(), marked);
  QVERIFY(FrozenAgrees(v));
  // An edit while filtered, and its undo, are seen by the next keystroke.
  {
    UndoScope step(s.grid());
    s.grid().setCell(1000, 3, QStringLiteral("标记"));  // as typed, in Simplified
    s.grid().setCell(marked[7], 2, QStringLiteral("別的"));
  }
  bar->textBox()->setText(QStringLiteral("标"));
  Type(bar->textBox(), QStringLiteral("记"));
  std::vector<int> edited = marked;
  edited.erase(edited.begin() + 7);
  edited.insert(std::upper_bound(edited.begin(), edited.end(), 1000), 1000);
  QCOMPARE(v->shownRows(), edited);
  QCOMPARE(s.window->recordCountLabel()->text(), QStringLiteral("显示 120 / 2000 项"));
  s.window->undoStack().undo();
  QTest::keyClick(bar->textBox(), Qt::Key_Backspace);
  Type(bar->textBox(), QStringLiteral("记"));
  QCOMPARE(v->shownRows(), marked);
  QVERIFY(FrozenAgrees(v));
  // Taking the filter away shows every row in both parts.
  bar->textBox()->clear();
  QCOMPARE(v->shownCount(), 2000);
  QVERIFY(FrozenAgrees(v));
  QCOMPARE(s.window->recordCountLabel()->text(), QStringLiteral("共 2000 项"));
}

namespace {

// Counts the paint events of the widgets it watches.
class PaintCount : public QObject {
 public:
  explicit PaintCount(std::initializer_list<QWidget*> watched) {
    for (QWidget* w : watched) w->installEventFilter(this);
  }
  int of(QObject* w) const { return counts_.value(w); }
  void clear() { counts_.clear(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++counts_[watched];
    return false;
  }

 private:
  QHash<QObject*, int> counts_;
};

}  // namespace

void GridTest::filterPaintsOnlyWhatChanged() {
  // Typed into the filter box (Ctrl+Shift+F), each key paints the cells again,
  // and the vertical scroll bar whose range changed, but not the horizontal
  // bar or the column headers; the vertical bar stays when a screenful of
  // rows or fewer is left, so the columns keep their room.
  Shell s(600);
  Show(s, QStringLiteral("Team.dat"), QSize(480, 500));  // narrower than its columns
  GridView* v = s.window->gridView();
  for (int r = 7; r <= 600; r += 50) s.grid().setCell(r, 2, QStringLiteral("標記%1").arg(r));
  QTest::keyClick(v, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
  QLineEdit* box = s.window->filterBar()->textBox();
  QVERIFY(QTest::qWaitFor([&] { return box->hasFocus(); }));
  QTest::qWait(50);
  const int width = v->viewport()->width();
  QVERIFY(v->horizontalScrollBar()->isVisible());
  PaintCount paints(
      {v->viewport(), v->horizontalScrollBar(), v->horizontalHeader()->viewport(), v->verticalScrollBar()});
  const struct {
    const char* step;
    QString keys;  // typed; empty: Backspace
    int shown;
  } steps[] = {{"narrower", QStringLiteral("标记"), 12},
               {"one row", QStringLiteral("57"), 1},
               {"wider again", QString(), 3},
               {"every row", QString(), 600}};
  for (const auto& step : steps) {
    paints.clear();
    if (step.keys.isEmpty())
      QTest::keyClick(box, Qt::Key_Backspace);
    else
      Type(box, step.keys);
    if (step.shown == 600) box->clear();
    QTest::qWait(50);
    QVERIFY2(v->shownCount() == step.shown, step.step);
    QVERIFY2(paints.of(v->viewport()) > 0, step.step);
    QVERIFY2(paints.of(v->horizontalScrollBar()) == 0, step.step);
    QVERIFY2(paints.of(v->horizontalHeader()->viewport()) == 0, step.step);
    QVERIFY2(v->verticalScrollBar()->isVisible() && v->viewport()->width() == width, step.step);
  }
}

void GridTest::filterKeptThroughDeleteAndUndo() {
  QFETCH(int, runs);
  // Rows deleted while filtered, a few (removed one run at a time) or
  // scattered over the table (the grid is reset): the filter stays, the
  // rows it left out stay out, and undo brings the deleted rows back shown.
  Shell s(1000);
  Show(s, QStringLiteral("Team.dat"));
  GridView* v = s.window->gridView();
  std::vector<int> marked;
  for (int r = 3; r <= 1000; r += 7) {
    s.grid().setCell(r, 2, QStringLiteral("刪%1").arg(r));
    marked.push_back(r);
  }
  s.window->filterBar()->textBox()->setText(QStringLiteral("删"));
  QCOMPARE(v->shownRows(), marked);
  const std::vector<int> doomed(marked.begin(), marked.begin() + runs);
  const std::vector<int> left(marked.begin() + runs, marked.end());
  SelectRows(s.grid(), doomed);
  s.trigger(QStringLiteral("mnu_de"));
  QCOMPARE(s.grid().recordCount(), 1000 - runs);
  std::vector<int> shifted;
  for (int k = 0; k < int(left.size()); ++k) shifted.push_back(left[size_t(k)] - runs);
  QCOMPARE(v->shownRows(), shifted);
  QCOMPARE(s.window->recordCountLabel()->text(), QStringLiteral("显示 %1 / %2 项").arg(left.size()).arg(1000 - runs));
  QVERIFY(FrozenAgrees(v));
  s.window->undoStack().undo();
  QCOMPARE(s.grid().recordCount(), 1000);
  QCOMPARE(v->shownRows(), marked);
  QCOMPARE(s.window->recordCountLabel()->text(), QStringLiteral("显示 %1 / 1000 项").arg(marked.size()));
  QVERIFY(FrozenAgrees(v));
}

// The filter looks through the columns of numbers only for what a number
// can hold; a column that an edit gives other text is looked through for
// any text from then on, and an edited number is found again.
void GridTest::filterReadsEditsOfNumberColumns() {
  RecordGrid g;
  g.reset(3, {{"1", "甲", "5"}, {"2", "乙", "6"}, {"3", "丙", "-7"}});
  FilterIndex index;
  const std::vector<int> all{1, 2, 3};
  using Rows = std::vector<char>;
  QCOMPARE(index.match(g, all, {"-7"}), (Rows{0, 0, 1}));
  QCOMPARE(index.match(g, all, {"乙"}), (Rows{0, 1, 0}));
  g.setCell(2, 3, QStringLiteral("6丁"));
  index.invalidateRows(2, 2);
  QCOMPARE(index.match(g, all, {"丁"}), (Rows{0, 1, 0}));
  g.setCell(1, 3, QStringLiteral("66"));
  index.invalidateRows(1, 1);
  QCOMPARE(index.match(g, all, {"66"}), (Rows{1, 0, 0}));
  QCOMPARE(index.match(g, all, {"6"}), (Rows{1, 1, 0}));
}

void GridTest::filterKeptThroughDeleteAndUndo_data() {
  QTest::addColumn<int>("runs");
  QTest::newRow("a few rows") << 3;
  QTest::newRow("rows all over the table") << 100;
}

void GridTest::parseBlock_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QList<QStringList>>("rows");
  QTest::newRow("one cell") << "7" << QList<QStringList>{{"7"}};
  QTest::newRow("final line break ends the row") << "a\tb\n" << QList<QStringList>{{"a", "b"}};
  QTest::newRow("CR LF") << "a\tb\r\nc\td\r\n" << QList<QStringList>{{"a", "b"}, {"c", "d"}};
  QTest::newRow("empty cells kept") << "\t\tx\n\t\n" << QList<QStringList>{{"", "", "x"}, {"", ""}};
  QTest::newRow("quoted tab and line break") << "\"a\tb\"\t\"c\nd\"\n" << QList<QStringList>{{"a\tb", "c\nd"}};
  QTest::newRow("doubled quote") << "\"say \"\"hi\"\"\"\tx" << QList<QStringList>{{"say \"hi\"", "x"}};
  QTest::newRow("quote inside a cell is text") << "5\"\tx" << QList<QStringList>{{"5\"", "x"}};
  QTest::newRow("empty line in the middle") << "a\n\nb" << QList<QStringList>{{"a"}, {""}, {"b"}};
  QTest::newRow("nothing") << "" << QList<QStringList>{};
}

void GridTest::parseBlock() {
  QFETCH(QString, text);
  QFETCH(QList<QStringList>, rows);
  QCOMPARE(ParseBlock(text), rows);
}

void GridTest::copyAndPasteABlock() {
  Shell s(9);
  Show(s, QStringLiteral("Team.dat"));
  s.grid().setCell(2, 2, QStringLiteral("有\t制表"));
  s.grid().setCell(3, 3, QStringLiteral("12"));
  s.grid().setCell(2, 4, QString::fromUtf16(u"A1\0\0", 4));  // a code shown without its trailing zeros
  GridView* v = s.window->gridView();
  // Cell mode: a drag selects a block; the selector column still selects rows.
  QTest::keyClick(v, Qt::Key_F8);
  QVERIFY(v->cellSelection());
  QTest::mousePress(v->viewport(), Qt::LeftButton, {}, CellCenter(s, 2, 2));
  QTest::mouseMove(v->viewport(), CellCenter(s, 3, 3));
  QTest::mouseMove(v->viewport(), CellCenter(s, 3, 4));
  QTest::mouseRelease(v->viewport(), Qt::LeftButton, {}, CellCenter(s, 3, 4));
  QCOMPARE(s.grid().selectedRows(), Rows({2, 3}));
  QCOMPARE(s.window->label(1)->text(), QStringLiteral("共2项被选择"));
  QTest::keyClick(v, Qt::Key_C, Qt::ControlModifier);
  const QString copied = QApplication::clipboard()->text();
  QCOMPARE(copied, QStringLiteral("\"有\t制表\"\t%1\tA1\n%2\t12\t%3\n")
                       .arg(s.grid().cell(2, 3), s.grid().cell(3, 2), s.grid().cell(3, 4)));
  // With the header row.
  QTest::keyClick(v, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  QVERIFY(QApplication::clipboard()->text().startsWith(s.grid().headerText(2) + QLatin1Char('\t') +
                                                       s.grid().headerText(3) + QLatin1Char('\t') +
                                                       s.grid().headerText(4) + QLatin1Char('\n')));
  QApplication::clipboard()->setText(copied);

  // Paste from the current cell on: a block with a value the save could not
  // store (the code in a number column) changes nothing; without it, the
  // block comes back as it was.
  QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, CellCenter(s, 7, 2));
  QCOMPARE(s.grid().selectedRows(), Rows({7}));
  const std::vector<QStringList> before = s.grid().records();
  QTest::keyClick(v, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(s.grid().records(), before);
  QCOMPARE(s.front.messages.size(), 1);
  QVERIFY(s.front.messages[0].text.contains(QStringLiteral("不能存入")));
  s.front.messages.clear();
  s.grid().setCell(2, 4, QStringLiteral("3"));
  QApplication::clipboard()->setText(QString(copied).replace(QStringLiteral("A1"), QStringLiteral("3")));
  QTest::keyClick(v, Qt::Key_V, Qt::ControlModifier);
  for (int c = 2; c <= 4; ++c) {
    QCOMPARE(DisplayedCellText(s.grid().cell(7, c)), DisplayedCellText(s.grid().cell(2, c)));
    QCOMPARE(s.grid().cell(8, c), s.grid().cell(3, c));
  }
  QVERIFY(s.front.messages.isEmpty());
  s.grid().setCell(2, 4, QString::fromUtf16(u"A1\0\0", 4));
  QApplication::clipboard()->setText(copied);
  // Pasting a copy over itself changes nothing, not even a code's trailing zeros.
  QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, CellCenter(s, 2, 2));
  QTest::keyClick(v, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(s.grid().cell(2, 4), QString::fromUtf16(u"A1\0\0", 4));
  // The selector column selects whole rows in cell mode too.
  QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, CellCenter(s, 5, 0));
  QCOMPARE(s.grid().selectedRows(), Rows({5}));
  QVERIFY(s.grid().selectionModel()->isRowSelected(4, QModelIndex()));
}

void GridTest::pasteThatDoesNotFitIsRefused() {
  Shell s(4);
  Show(s, QStringLiteral("Team.dat"));
  GridView* v = s.window->gridView();
  const std::vector<QStringList> before = s.grid().records();
  QTest::keyClick(v, Qt::Key_F8);
  QApplication::clipboard()->setText(QStringLiteral("1\t2\n3\t4\n"));
  // Two rows from the last row on: one row short.
  QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, CellCenter(s, 4, 3));
  QTest::keyClick(v, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(s.front.messages.size(), 1);
  QVERIFY(s.front.messages[0].text.contains(QStringLiteral("2 行 2 列")));
  QVERIFY(s.front.messages[0].text.contains(QStringLiteral("第 4 行第 3 列")));
  QCOMPARE(s.grid().records(), before);
  // Two columns from the last column on: one column short.
  QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, CellCenter(s, 1, 11));
  QTest::keyClick(v, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(s.front.messages.size(), 2);
  QCOMPARE(s.grid().records(), before);
  QVERIFY(!s.grid().isModified());
  // Where it fits it goes in.
  QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, CellCenter(s, 3, 10));
  QTest::keyClick(v, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(s.front.messages.size(), 2);
  QCOMPARE(s.grid().cell(3, 10), QStringLiteral("1"));
  QCOMPARE(s.grid().cell(4, 11), QStringLiteral("4"));
}

void GridTest::pasteWholeRows() {
  // Rows copied whole go back whole, from the first column, over the rows in view.
  Shell s(6);
  Show(s, QStringLiteral("Team.dat"));
  GridView* v = s.window->gridView();
  s.grid().setCell(6, 2, QStringLiteral("目标"));
  s.grid().setCell(4, 2, QStringLiteral("目标"));
  SelectRows(s.grid(), Rows({1, 2}));
  QTest::keyClick(v, Qt::Key_C, Qt::ControlModifier);
  const QStringList first = s.grid().record(1);
  const QStringList second = s.grid().record(2);
  s.window->filterBar()->textBox()->setText(QStringLiteral("目标"));
  s.grid().setCurrentRow(4);
  v->setFocus();
  QTest::keyClick(v, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(s.grid().record(4), first);
  QCOMPARE(s.grid().record(6), second);
  QVERIFY(s.front.messages.isEmpty());
}

namespace {

// A table view whose item options a test can ask for.
class OptionView : public QTableView {
 public:
  using QTableView::QTableView;
  QStyleOptionViewItem option() const {
    QStyleOptionViewItem o;
    initViewItemOption(&o);
    return o;
  }
};

}  // namespace

void GridTest::cellsPaintAsTheStyleDoes_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("width");
  QTest::addColumn<int>("state");  // added to the view's own
  QTest::addColumn<bool>("active");
  QTest::addColumn<QString>("note");
  QTest::newRow("number") << QStringLiteral("449") << 60 << 0 << true << QString();
  QTest::newRow("name") << QStringLiteral("王美玲") << 90 << 0 << true << QString();
  QTest::newRow("selected") << QStringLiteral("王美玲") << 90 << int(QStyle::State_Selected) << true << QString();
  QTest::newRow("selected, window inactive")
      << QStringLiteral("37") << 40 << int(QStyle::State_Selected) << false << QString();
  QTest::newRow("focused") << QStringLiteral("37") << 40 << int(QStyle::State_HasFocus | QStyle::State_Selected) << true
                           << QString();
  QTest::newRow("too long: cut short") << QStringLiteral("陳志明陳志明陳志明") << 40 << 0 << true << QString();
  QTest::newRow("cut short, Latin") << QStringLiteral("Wonderland Wonderland") << 50 << 0 << true << QString();
  QTest::newRow("cut short, selected") << QStringLiteral("陳志明陳志明") << 45 << int(QStyle::State_Selected) << false
                                       << QString();
  QTest::newRow("cut short, name beside") << QStringLiteral("33") << 50 << 0 << true << QStringLiteral("林心怡林心怡");
  QTest::newRow("cut short to nothing") << QStringLiteral("陳志明") << 8 << 0 << true << QString();
  QTest::newRow("just fits") << QStringLiteral("WWWW") << 0 << 0 << true << QString();
  QTest::newRow("empty") << QString() << 40 << int(QStyle::State_Selected) << true << QString();
  QTest::newRow("trailing zero characters") << QStringLiteral("ab\0\0") << 40 << 0 << true << QString();
  QTest::newRow("tab inside") << QStringLiteral("a\tb") << 80 << 0 << true << QString();
  QTest::newRow("line break inside") << QStringLiteral("a\nb") << 80 << 0 << true << QString();
  QTest::newRow("name beside the number") << QStringLiteral("33") << 120 << 0 << true << QStringLiteral("林心怡");
  QTest::newRow("disabled") << QStringLiteral("12") << 40 << -int(QStyle::State_Enabled) << true << QString();
}

void GridTest::cellsPaintAsTheStyleDoes() {
  // Pixel for pixel what the style draws for the same cell, the kept
  // layouts of texts drawn before included.
  QFETCH(QString, text);
  QFETCH(int, width);
  QFETCH(int, state);
  QFETCH(bool, active);
  QFETCH(QString, note);
  QStandardItemModel model(1, 2);
  model.setData(model.index(0, 1), text);
  OptionView view;
  SetUpRecordTable(&view);  // as the grid: one line per cell
  view.setModel(&model);
  CellDelegate delegate;
  if (!note.isEmpty()) delegate.setNote([note](int, int) { return note; });
  QStyleOptionViewItem option = view.option();
  option.widget = &view;
  if (width == 0)
    width =
        option.fontMetrics.horizontalAdvance(text) + 2 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
  option.rect = QRect(3, 2, width, option.fontMetrics.height() + 6);
  if (state > 0) option.state |= QStyle::StateFlag(state);
  if (state < 0) option.state &= ~QStyle::StateFlag(-state);
  if (active)
    option.state |= QStyle::State_Active;
  else
    option.state &= ~QStyle::State_Active;
  const QModelIndex index = model.index(0, 1);
  auto render = [&](bool styleOnly) {
    QImage image(width + 6, option.rect.height() + 4, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    if (styleOnly)
      delegate.QStyledItemDelegate::paint(&p, option, index);
    else
      delegate.paint(&p, option, index);
    return image;
  };
  const QImage expected = render(true);
  QCOMPARE(render(false), expected);
  QCOMPARE(render(false), expected);  // the second time from the kept layout
}

void GridTest::cellPanelsAsTheStyleDraws_data() {
  QTest::addColumn<int>("state");  // added to the view's own
  QTest::addColumn<bool>("active");
  QTest::addColumn<bool>("alternate");
  QTest::addColumn<bool>("brush");
  QTest::newRow("plain") << 0 << true << false << false;
  QTest::newRow("selected") << int(QStyle::State_Selected) << true << false << false;
  QTest::newRow("selected, window inactive") << int(QStyle::State_Selected) << false << false << false;
  QTest::newRow("hovered") << int(QStyle::State_MouseOver) << true << false << false;
  QTest::newRow("alternate row") << 0 << true << true << false;
  QTest::newRow("own background") << 0 << true << false << true;
  QTest::newRow("focused") << int(QStyle::State_HasFocus) << true << false << false;
}

void GridTest::cellPanelsAsTheStyleDraws() {
  // The panels behind a row and a cell, which the grid's style leaves out
  // where they show nothing: as the application's style draws them.
  QFETCH(int, state);
  QFETCH(bool, active);
  QFETCH(bool, alternate);
  QFETCH(bool, brush);
  QStandardItemModel model(1, 2);
  OptionView view;
  SetUpRecordTable(&view);
  view.setModel(&model);
  QVERIFY(view.style() != QApplication::style());
  QStyleOptionViewItem o = view.option();
  o.widget = &view;
  o.rect = QRect(2, 2, 60, 24);
  o.state |= QStyle::StateFlag(state);
  o.state.setFlag(QStyle::State_Active, active);
  o.features.setFlag(QStyleOptionViewItem::Alternate, alternate);
  if (brush) o.backgroundBrush = QBrush(QColor(250, 230, 120));
  for (const QStyle::PrimitiveElement panel : {QStyle::PE_PanelItemViewRow, QStyle::PE_PanelItemViewItem}) {
    auto draw = [&](const QStyle* style) {
      QImage image(64, 28, QImage::Format_ARGB32);
      image.fill(Qt::white);
      QPainter p(&image);
      style->drawPrimitive(panel, &o, &p, &view);
      return image;
    };
    QCOMPARE(draw(view.style()), draw(QApplication::style()));
  }
}

void GridTest::namesBesideNumbers() {
  V3_REQUIRE_TABLE("StarRole.dat");
  Shell s(9);
  Show(s, QStringLiteral("Team.dat"));
  const std::vector<QStringList> stars =
      ReadTableRows(*FindTable(QStringLiteral("StarRole.dat")), s.dataFolder, Script::Traditional);
  QVERIFY(stars.size() >= 5);
  s.grid().setCell(1, 3, QStringLiteral("4"));
  s.grid().setCell(1, 4, QStringLiteral("-1"));
  s.grid().setCell(1, 5, QStringLiteral("99999"));
  GridView* v = s.window->gridView();
  auto* delegate = qobject_cast<CellDelegate*>(v->itemDelegate());
  QVERIFY(delegate);
  // Member 1: the star at position 4 of StarRole.dat (from 0).
  QCOMPARE(delegate->noteFor(s.grid().index(0, 3)), stars[4][1].trimmed());
  QStyleOptionViewItem option;
  option.initFrom(v);
  const QSize plain = QFontMetrics(v->font()).size(0, QStringLiteral("4"));
  QVERIFY(delegate->sizeHint(option, s.grid().index(0, 3)).width() > plain.width() + 10);
  // No one: nothing beside it.
  QCOMPARE(delegate->noteFor(s.grid().index(0, 4)), QString());
  QCOMPARE(delegate->noteFor(s.grid().index(0, 5)), QString());
  QCOMPARE(delegate->noteFor(s.grid().index(0, 2)), QString());
  // The cell itself holds the number.
  QCOMPARE(s.grid().cell(1, 3), QStringLiteral("4"));
  QCOMPARE(s.grid().data(s.grid().index(0, 3)).toString(), QStringLiteral("4"));
  // Sort and filter go by the number, not the name.
  QVERIFY(!s.window->references().note(3, QStringLiteral("0")).isEmpty());
  // Every member column names its own star (the columns share one index of the stars).
  for (int c = 3; c <= 6; ++c)
    QCOMPARE(s.window->references().note(c, QString::number(c - 2)), stars[size_t(c - 2)][1].trimmed());

  // A firm's artists and a request's job (the edits here are not kept).
  s.front.answers = QStringList{QStringLiteral("不保存")};
  s.open(QStringLiteral("Firm.dat"));
  s.grid().setCell(1, 4, QStringLiteral("0"));
  QCOMPARE(s.window->references().note(4, s.grid().cell(1, 4)), stars[0][1].trimmed());
  for (int c = 4; c <= 9; ++c) QCOMPARE(s.window->references().target(c, QString::number(c - 4)), c - 4);
  if (FindTable(QStringLiteral("CFRequest.dat"))) {
    s.front.answers = QStringList{QStringLiteral("不保存")};
    s.open(QStringLiteral("CFRequest.dat"));
    const std::vector<QStringList> jobs =
        ReadTableRows(*FindTable(QStringLiteral("CFCase.dat")), s.dataFolder, Script::Traditional);
    QVERIFY(!jobs.empty());
    s.grid().setCell(1, 2, jobs[0][0]);
    QCOMPARE(delegate->noteFor(s.grid().index(0, 2)), jobs[0][1].trimmed());
  }
}

void GridTest::namesNeverChangeTheFile() {
  // Open, look (paint, fit, tooltips), save: the same bytes.
  for (const QString& table :
       {QStringLiteral("Team.dat"), QStringLiteral("Firm.dat"), QStringLiteral("TVRequest.dat")}) {
    if (!FindTable(table)) continue;
    Shell s(12);
    Show(s, table);
    const QByteArray before = ReadFile(s.path(table));
    s.window->gridView()->fitColumns();
    s.window->gridView()->viewport()->repaint();
    s.window->gridView()->frozenView()->viewport()->repaint();
    QVERIFY(!s.grid().isModified());
    s.trigger(QStringLiteral("mnu_save"));
    QCOMPARE(ReadFile(s.path(table)), before);
  }
}

void GridTest::countFollowsDeletesAndAdds() {
  Shell s(9);
  Show(s, QStringLiteral("Team.dat"));
  QCOMPARE(s.window->recordCountLabel()->text(), QStringLiteral("共 9 项"));
  QCOMPARE(s.window->statusLine(), QStringLiteral("已载入 Team.dat"));
  SelectRows(s.grid(), Rows({1, 2}));
  s.trigger(QStringLiteral("mnu_de"));
  QCOMPARE(s.window->recordCountLabel()->text(), QStringLiteral("共 7 项"));
  s.dialogs.onEditor = [](const EditorRequest&, RecordGrid& g) { g.setCurrentRow(g.appendRecord({"99"})); };
  s.trigger(QStringLiteral("mnu_ad"));
  QCOMPARE(s.window->recordCountLabel()->text(), QStringLiteral("共 8 项"));
  s.front.answers = QStringList{QStringLiteral("不保存")};
  s.trigger(QStringLiteral("mnu_load"));
  QCOMPARE(s.window->recordCountLabel()->text(), QStringLiteral("共 9 项"));
}

void GridTest::columnsFitAfterAnEdit() {
  Shell s(3);
  Show(s, QStringLiteral("Team.dat"));
  GridView* v = s.window->gridView();
  const int before = v->columnWidth(8);
  s.grid().setCell(2, 8, QStringLiteral("1234567890123456789012345"));
  QVERIFY(QTest::qWaitFor([&] { return v->columnWidth(8) > before + 40; }));
  // A shorter value, and the undo of the long one, leave the width as it is.
  const int wide = v->columnWidth(8);
  s.grid().setCell(2, 8, QStringLiteral("1"));
  s.window->undoStack().undo();
  s.window->undoStack().undo();
  QTest::qWait(20);
  QCOMPARE(v->columnWidth(8), wide);
}

void GridTest::traditionalRowsAndColumns_data() {
  QTest::addColumn<QString>("simplified");
  QTest::addColumn<QString>("traditional");
  QTest::newRow("cell") << "第 3 行第 7 列（名称）"
                        << "第 3 列第 7 欄（名稱）";
  QTest::newRow("no blanks") << "第3行第7列"
                             << "第3列第7欄";
  QTest::newRow("a block") << "有 2 行 5 列"
                           << "有 2 列 5 欄";
  QTest::newRow("words keep their 行") << "行程与银行"
                                       << "行程與銀行";
  QTest::newRow("this row") << "此行是空的"
                            << "此列是空的";
  QTest::newRow("copy") << "复制(&C)"
                        << "複製(&C)";
  QTest::newRow("all columns") << "所有列"
                               << "所有欄";
  QTest::newRow("click") << "单击或按 Enter 打开"
                         << "按一下或按 Enter 開啟";
}

void GridTest::traditionalRowsAndColumns() {
  QFETCH(QString, simplified);
  QFETCH(QString, traditional);
  QCOMPARE(msg::Localised(Script::Traditional, simplified), traditional);
  QCOMPARE(msg::Localised(Script::Simplified, simplified), simplified);
}

void GridTest::guideShownInTheProgram_data() {
  QTest::addColumn<Script>("script");
  QTest::addColumn<bool>("readme");
  QTest::addColumn<QString>("shown");  // a text of the guide shown; empty: the readme is opened
  QTest::addColumn<QString>("action");
  QTest::newRow("Simplified") << Script::Simplified << false << "数据文件夹"
                              << "mnu_help";
  QTest::newRow("Traditional") << Script::Traditional << false << "資料夾"
                               << "mnu_help";
  QTest::newRow("English from Simplified") << Script::Simplified << false << "data folder"
                                           << "mnu_help_en";
  QTest::newRow("English from Traditional") << Script::Traditional << false << "data folder"
                                            << "mnu_help_en";
  QTest::newRow("Readme.doc wins") << Script::Simplified << true << ""
                                   << "mnu_help";
}

void GridTest::guideShownInTheProgram() {
  QFETCH(Script, script);
  QFETCH(bool, readme);
  QFETCH(QString, shown);
  QFETCH(QString, action);
  Shell s(2);
  // The guides as the build puts them beside the program.
  for (const char* name : {"guide-zh_CN.html", "guide-zh_TW.html", "guide-en.html"}) {
    const QString shipped = QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(name);
    QVERIFY2(QFile::exists(shipped), name);
    QFile::copy(shipped, s.programFolder + QLatin1Char('/') + QLatin1String(name));
  }
  if (readme) WriteFile(s.programFolder + QStringLiteral("/Readme.doc"), "doc");
  QVERIFY(s.start(script));
  s.trigger(action);
  if (readme) {
    QCOMPARE(s.front.opened.size(), 1);
    QVERIFY(s.front.opened[0].endsWith(QStringLiteral("Readme.doc")));
    QVERIFY(!s.window->helpWindow());
    return;
  }
  QVERIFY(s.front.opened.isEmpty());
  QWidget* help = s.window->helpWindow();
  QVERIFY(help);
  QVERIFY(help->isVisible());
  auto* browser = help->findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
  QVERIFY(browser);
  const QString text = browser->toPlainText();
  QVERIFY2(text.contains(shown), qPrintable(text.left(200)));
  // What the guide covers.
  for (const char* topic : {".bak", "CSV", "vantaro3-cli"}) QVERIFY2(text.contains(QLatin1String(topic)), topic);
  // Each guide links to the other two.
  const QString html = browser->toHtml();
  int links = 0;
  for (const char* other : {"guide-zh_CN.html", "guide-zh_TW.html", "guide-en.html"})
    links += html.contains(QLatin1String(other));
  QCOMPARE(links, 2);
  // Pressing help again shows the same window; the other guide shows in it.
  s.trigger(action);
  QCOMPARE(s.window->helpWindow(), help);
  s.trigger(action == "mnu_help" ? QStringLiteral("mnu_help_en") : QStringLiteral("mnu_help"));
  QCOMPARE(s.window->helpWindow(), help);
  QVERIFY(browser->toPlainText() != text);
}

void GridTest::toolbarHoldsTheCommonCommands() {
  Shell s(2);
  QVERIFY(s.start());
  QToolBar* bar = s.window->toolBar();
  QVERIFY(bar);
  QStringList names;
  for (QAction* a : bar->actions())
    if (!a->isSeparator()) {
      names << a->objectName();
      QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
    }
  for (const char* n : {"mnu_save", "mnu_ad", "mnu_de", "mnu_copy", "mnu_paste", "mnu_find", "mnu_help"})
    QVERIFY2(names.contains(QLatin1String(n)), n);
}

QTEST_MAIN(GridTest)
#include "test_gui_grid.moc"
