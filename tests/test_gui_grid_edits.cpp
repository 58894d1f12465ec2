// Edits of many cells at once, as a user makes them: paste, fill down,
// clearing cells, find and replace, each one undo step; the commands that
// need an open table. Shown, focused windows, keys and clicks, both scripts.
#include "test_gui_support.h"

#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QTimer>
#include <QUndoStack>

#include "app/GridView.h"
#include "app/Messages.h"
#include "app/ReplaceDialog.h"
#include "model/TableIo.h"

using namespace v3;
using namespace v3test;

namespace {

void Show(Shell& s, const QString& table, Script script) {
  QVERIFY(s.start(script));
  s.window->resize(1100, 700);
  s.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
  QApplication::setActiveWindow(s.window.get());
  if (!table.isEmpty()) s.open(table);
  s.window->gridView()->setFocus();
  QVERIFY(QTest::qWaitFor([&] { return s.window->gridView()->hasFocus(); }));
}

// "r,c" or "r,c-r2,c2": a press on the first cell, a drag to the second,
// on the part of the grid that shows them (the frozen columns or the rest).
void SelectCells(const Shell& s, const QString& cells) {
  GridView* v = s.window->gridView();
  const QStringList ends = cells.split(u'-');
  auto at = [&](const QString& cell) {
    const QModelIndex index = s.grid().index(cell.section(u',', 0, 0).toInt() - 1, cell.section(u',', 1, 1).toInt());
    v->scrollTo(index);
    return v->cellRect(index).center();
  };
  const QPoint from = at(ends.first()), to = at(ends.last());
  QWidget* target = v->childAt(from);
  QVERIFY(target);
  QTest::mousePress(target, Qt::LeftButton, {}, target->mapFrom(v, from));
  QTest::mouseMove(target, target->mapFrom(v, to));
  QTest::mouseRelease(target, Qt::LeftButton, {}, target->mapFrom(v, to));
}

// Text as an input method delivers it: key events carrying the characters.
void Type(QWidget* w, const QString& text) {
  for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

using Cells = QMap<QString, QString>;  // "r,c" -> text; "@r,c" as text: that cell's text before

}  // namespace

class GridEditsTest : public QObject {
  Q_OBJECT
 private slots:
  void editManyCells_data();
  void editManyCells();
  void commandsFollowTheOpenTable_data();
  void commandsFollowTheOpenTable();
};

void GridEditsTest::editManyCells_data() {
  QTest::addColumn<QString>("table");
  QTest::addColumn<bool>("cellMode");
  QTest::addColumn<QString>("cells");        // where the user clicks and drags
  QTest::addColumn<QString>("clipboard");    // Ctrl+V; "" none
  QTest::addColumn<int>("key");              // with Ctrl unless Delete
  QTest::addColumn<QStringList>("replace");  // the replace dialog: find, replace with, column (0: all)
  QTest::addColumn<Cells>("changed");        // every cell that changes
  QTest::addColumn<QString>("status");       // part of the status line (Simplified)
  for (const Script script : {Script::Simplified, Script::Traditional}) {
    auto row = [&](const char* name) {
      return &QTest::newRow(
          qPrintable(QString::fromLatin1(name) + (script == Script::Traditional ? "/1028" : "/2052")));
    };
    const QStringList none;
    *row("paste at a non-first column") << "Firm.dat" << false << "5,11"
                                        << "11\t22\n33\t44\n"
                                        << int(Qt::Key_V) << none
                                        << Cells{{"5,11", "11"}, {"5,12", "22"}, {"6,11", "33"}, {"6,12", "44"}}
                                        << "已粘贴 2 行 2 列";
    *row("paste over the identifying columns") << "Firm.dat" << true << "5,1"
                                               << "99\t新名\t7\n"
                                               << int(Qt::Key_V) << none << Cells{{"5,3", "7"}} << "未改动：";
    *row("one value into a selection") << "Team.dat" << true << "2,7-4,8"
                                       << "5" << int(Qt::Key_V) << none
                                       << Cells{{"2,7", "5"}, {"3,7", "5"}, {"4,7", "5"},
                                                {"2,8", "5"}, {"3,8", "5"}, {"4,8", "5"}}
                                       << "6 个单元格";
    *row("one value, identifying column kept")
        << "Team.dat" << true << "2,1-3,2"
        << "8" << int(Qt::Key_V) << none << Cells{{"2,2", "8"}, {"3,2", "8"}} << "未改动：";
    // A copied record pasted whole over another: two records with one number, said at once.
    *row("whole row repeats a number") << "Team.dat" << false << "3,2"
                                       << "@copy 5,2" << int(Qt::Key_V) << none << Cells{{"3,*", "@5,*"}}
                                       << "注意：编号 5 重复";
    *row("paste refused") << "Team.dat" << false << "3,7"
                          << "5\t99999999999\n"
                          << int(Qt::Key_V) << none << Cells{} << "不能存入";
    *row("fill down") << "Team.dat" << true << "3,7-6,8"
                      << "" << int(Qt::Key_D) << none << Cells{{"4,7", "@3,7"}, {"5,7", "@3,7"}, {"6,7", "@3,7"},
                                                               {"4,8", "@3,8"}, {"5,8", "@3,8"}, {"6,8", "@3,8"}}
                      << "已向下填充 6 个单元格";
    *row("fill down one row from above") << "Team.dat" << false << "4,7"
                                         << "" << int(Qt::Key_D) << none << Cells{{"4,7", "@3,7"}}
                                         << "已向下填充 1 个单元格";
    *row("Delete clears numbers") << "Team.dat" << true << "2,7-3,8"
                                  << "" << int(Qt::Key_Delete) << none
                                  << Cells{{"2,7", "0"}, {"3,7", "0"}, {"2,8", "0"}, {"3,8", "0"}}
                                  << "已清除 4 个单元格";
    *row("Delete clears texts") << "Team.dat" << true << "4,2-5,2"
                                << "" << int(Qt::Key_Delete) << none << Cells{{"4,2", ""}, {"5,2", ""}}
                                << "已清除 2 个单元格";
    // The names are stored as 團隊..; the Simplified 团队 finds them.
    *row("replace all, typed Simplified")
        << "Team.dat" << false << "1,2"
        << "" << int(Qt::Key_H) << QStringList{QStringLiteral("团队"), QStringLiteral("樂"), "2"}
        << Cells{{"2,2", QStringLiteral("樂甲")}, {"4,2", QStringLiteral("樂乙")}, {"7,2", QStringLiteral("樂丙")}}
        << "已替换 3 个单元格";
    *row("replace all refused") << "Team.dat" << false << "1,2"
                                << "" << int(Qt::Key_H) << QStringList{QStringLiteral("隊"), QStringLiteral("한"), "0"}
                                << Cells{} << "3 个不能存入";
  }
}

void GridEditsTest::editManyCells() {
  QFETCH(QString, table);
  QFETCH(bool, cellMode);
  QFETCH(QString, cells);
  QFETCH(QString, clipboard);
  QFETCH(int, key);
  QFETCH(QStringList, replace);
  QFETCH(Cells, changed);
  QFETCH(QString, status);
  const Script script =
      QByteArray(QTest::currentDataTag()).endsWith("/1028") ? Script::Traditional : Script::Simplified;
  Shell s(9);
  Show(s, table, script);
  GridView* v = s.window->gridView();
  if (!replace.isEmpty()) {
    // Names to look for, saved and read again as the file stores them.
    s.grid().setCell(2, 2, QStringLiteral("團隊甲"));
    s.grid().setCell(4, 2, QStringLiteral("團隊乙"));
    s.grid().setCell(7, 2, QStringLiteral("團隊丙"));
    s.trigger(QStringLiteral("mnu_save"));
    s.trigger(QStringLiteral("mnu_load"));
    QCOMPARE(s.grid().cell(2, 2), QStringLiteral("團隊甲"));
  }
  const QByteArray bytesBefore = ReadFile(s.path(table));
  const std::vector<QStringList> before = s.grid().records();
  QUndoStack& undo = s.window->undoStack();
  const int steps = undo.count();

  if (cellMode) QTest::keyClick(v, Qt::Key_F8);
  QCOMPARE(v->cellSelection(), cellMode);
  if (clipboard.startsWith(u'@')) {  // a cell's record copied with Ctrl+C first
    SelectCells(s, clipboard.section(u' ', 1));
    QTest::keyClick(v, Qt::Key_C, Qt::ControlModifier);
  } else if (!clipboard.isEmpty()) {
    QApplication::clipboard()->setText(clipboard);
  }
  SelectCells(s, cells);
  if (!replace.isEmpty()) {
    // The dialog as the user fills it in: the texts, the column, Enter.
    QTimer::singleShot(0, this, [&] {
      auto* dialog = qobject_cast<ReplaceDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      QApplication::setActiveWindow(dialog);
      QVERIFY(QTest::qWaitForWindowActive(dialog));
      QVERIFY(dialog->findBox()->hasFocus());
      Type(dialog->findBox(), replace[0]);
      Type(dialog->replaceBox(), replace[1]);
      dialog->columnList()->setCurrentIndex(dialog->columnList()->findData(replace[2].toInt()));
      QTest::keyClick(dialog->replaceBox(), Qt::Key_Return);
      if (dialog->isVisible()) dialog->reject();  // not accepted: the test fails below, without hanging
    });
  }
  QTest::keyClick(v, Qt::Key(key), key == Qt::Key_Delete ? Qt::NoModifier : Qt::ControlModifier);
  // Back in the main window once a dialog has closed.
  QApplication::setActiveWindow(s.window.get());
  QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
  v->setFocus();
  QVERIFY2(s.window->statusLine().contains(msg::Localised(script, status)), qPrintable(s.window->statusLine()));

  std::vector<QStringList> expected = before;
  for (auto it = changed.begin(); it != changed.end(); ++it) {
    const int r = it.key().section(u',', 0, 0).toInt(), c = it.key().section(u',', 1, 1).toInt();
    QString text = it.value();
    if (it.key().endsWith(u'*')) {  // the whole record as another one was
      expected[size_t(r - 1)] = before[size_t(text.mid(1).section(u',', 0, 0).toInt() - 1)];
      continue;
    }
    if (text.startsWith(u'@'))
      text = before[size_t(text.mid(1).section(u',', 0, 0).toInt() - 1)][text.section(u',', 1, 1).toInt() - 1];
    expected[size_t(r - 1)][c - 1] = text;
  }
  QCOMPARE(s.grid().records(), expected);
  // One undo step or none; a refusal changes nothing and says why.
  QCOMPARE(undo.count(), steps + (expected == before ? 0 : 1));
  if (changed.isEmpty()) QCOMPARE(s.front.messages.size(), 1);

  // Saved, the file holds exactly that.
  s.trigger(QStringLiteral("mnu_save"));
  QString error;
  // The save puts records in number order, the grid's too; the undo then
  // mends each record where it stands.
  const bool reordered = clipboard.startsWith(u'@');
  auto inOrder = [reordered](std::vector<QStringList> records) {
    if (reordered) std::sort(records.begin(), records.end());
    return records;
  };
  QCOMPARE(inOrder(ReadTableRows(*FindTable(table), s.dataFolder, Script::Traditional, &error)), inOrder(expected));
  // Undone and saved again, the file is as it was to the byte.
  if (expected != before) {
    QTest::keyClick(v, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(inOrder(s.grid().records()), inOrder(before));
    QVERIFY2(s.window->statusLine().startsWith(msg::Localised(script, QStringLiteral("已撤销"))),
             qPrintable(s.window->statusLine()));
    s.trigger(QStringLiteral("mnu_save"));
    QCOMPARE(ReadFile(s.path(table)), bytesBefore);
  }
}

void GridEditsTest::commandsFollowTheOpenTable_data() {
  QTest::addColumn<QString>("table");
  QTest::addColumn<QStringList>("enabled");
  const QStringList all{"mnu_save",  "mnu_de",       "mnu_edit",  "mnu_modify", "mnu_copy",
                        "mnu_paste", "mnu_filldown", "mnu_clear", "mnu_replace"};
  for (const char* script : {"2052", "1028"}) {
    auto row = [&](const char* name) { return &QTest::newRow(qPrintable(QStringLiteral("%1/%2").arg(name, script))); };
    *row("no table") << "" << QStringList{};
    *row("Team.dat") << "Team.dat" << all;
    // Read-only: its rows can be deleted in the grid, its cells not changed.
    *row("read-only") << "Nickname.tab" << QStringList{"mnu_save", "mnu_de", "mnu_copy"};
  }
}

void GridEditsTest::commandsFollowTheOpenTable() {
  QFETCH(QString, table);
  QFETCH(QStringList, enabled);
  const Script script =
      QByteArray(QTest::currentDataTag()).endsWith("/1028") ? Script::Traditional : Script::Simplified;
  Shell s(4);
  Show(s, table, script);
  for (const char* name : {"mnu_save", "mnu_de", "mnu_edit", "mnu_modify", "mnu_copy", "mnu_paste", "mnu_filldown",
                           "mnu_clear", "mnu_replace"}) {
    QAction* a = s.action(QString::fromLatin1(name));
    QVERIFY2(a, name);
    QVERIFY2(a->isEnabled() == enabled.contains(QLatin1String(name)), name);
  }
  if (table != QLatin1String("Team.dat")) return;
  // A status message gives way to the next command's.
  QApplication::clipboard()->setText(QStringLiteral("3"));
  SelectCells(s, QStringLiteral("2,7"));
  QTest::keyClick(s.window->gridView(), Qt::Key_V, Qt::ControlModifier);
  QVERIFY(s.window->statusLine().contains(msg::Localised(script, QStringLiteral("已粘贴"))));
  QTest::keyClick(s.window->gridView(), Qt::Key_A, Qt::ControlModifier);
  QCOMPARE(s.window->statusLine(), QString());
  // The sort mark beside a header leaves its text room.
  QHeaderView* header = s.window->gridView()->horizontalHeader();
  header->resizeSection(2, 20);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(2) + 10, header->height() / 2));
  QCOMPARE(s.window->gridView()->sortColumn(), 2);
  QVERIFY(header->sectionSize(2) >= header->sectionSizeHint(2));
}

QTEST_MAIN(GridEditsTest)
#include "test_gui_grid_edits.moc"
