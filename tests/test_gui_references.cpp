// The editor, driven by keys and the mouse, on references between tables:
// 转到 from a reference cell (Ctrl+click, the context menu, F12, an editor's
// field) opens the target table at the record the cell names; 被引用… lists
// the records that name a star and goes to the one chosen; deleting a star
// that teams name asks first, and a save, undo and save again gives back
// every file as it was. Expectations come from the files' bytes, read here.
#include <QTreeWidget>
#include <QtTest>

#include <set>
#include <tuple>

#include "EditorTestSupport.h"
#include "ReferenceSlots.h"
#include "TestSupport.h"
#include "app/GridView.h"
#include "app/MainWindow.h"
#include "app/ReferrersDialog.h"
#include "app/Texts.h"
#include "editors/RecordDialog.h"
#include "model/TableIo.h"
#include "text/Language.h"
#include "test_gui_support.h"

using namespace v3;
using namespace v3test;

namespace {

// Every cell that names star `position`: (table, record 1-based, column).
using Place = std::tuple<QString, int, int>;
std::set<Place> Naming(const Shell& s, qint64 position) {
  std::set<Place> found;
  for (const Slot& slot : kPositionSlots) {
    const QByteArray file = ReadFile(s.path(slot.table));
    for (int r = 0; r < Count(file); ++r)
      if (SlotValue(file, slot, r) == position) found.insert({QString::fromLatin1(slot.table), r + 1, slot.column});
  }
  return found;
}

QString L(Script script, const QString& simplified, const QString& traditional) {
  return script == Script::Traditional ? traditional : simplified;
}

// A window with the shipped language files, shown and active, the table open and the grid focused.
void Show(Shell& s, Script script, const QString& table) {
  for (const char* f : {"CHS.txt", "CHT.txt"})
    QFile::copy(QCoreApplication::applicationDirPath() + "/" + f, s.programFolder + "/" + f);
  QVERIFY(s.start(script));
  s.window->resize(1100, 700);
  s.window->show();
  s.window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
  s.open(table);
  s.window->gridView()->setFocus();
  QVERIFY(QTest::qWaitFor([&] { return s.window->gridView()->hasFocus(); }));
}

// The widget under a cell where it shows (the frozen part or the scrolled one) and the point there.
std::pair<QWidget*, QPoint> CellAt(const Shell& s, int row, int column) {
  GridView* v = s.window->gridView();
  const QModelIndex index = s.grid().index(row - 1, column);
  QCoreApplication::processEvents();  // a row just added is laid out
  v->scrollTo(index);
  const QPoint at = v->cellRect(index).center();
  QWidget* target = v->childAt(at);
  return {target, target ? target->mapFrom(v, at) : QPoint()};
}

void ClickCell(const Shell& s, int row, int column, Qt::KeyboardModifiers modifiers = {}) {
  const auto [target, at] = CellAt(s, row, column);
  QVERIFY(target);
  QTest::mouseClick(target, Qt::LeftButton, modifiers, at);
}

// Right-clicks the cell and clicks the context menu's entry.
void ContextMenuEntry(const Shell& s, int row, int column, const QString& entry) {
  const auto [target, at] = CellAt(s, row, column);
  QVERIFY(target);
  QTest::mousePress(target, Qt::RightButton, {}, at);
  QMenu* menu = s.window->contextMenu();
  QVERIFY(QTest::qWaitFor([&] { return menu->isVisible(); }));
  QAction* a = s.action(entry);
  QVERIFY(a && a->isEnabled());
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
  QVERIFY(QTest::qWaitFor([&] { return !menu->isVisible(); }));
}

// Runs `inside` on the modal dialog once one is open (polled; `owner` ends the wait).
void WhenModal(QObject* owner, const std::function<void(QWidget*)>& inside) {
  auto* poll = new QTimer(owner);
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, owner, [poll, inside] {
    QWidget* d = QApplication::activeModalWidget();
    if (!d) return;
    poll->stop();
    inside(d);
  });
  poll->start();
}

// A record of the source table whose reference cell names a record (or, for
// Team.dat, is empty), and the target's row that must be current (file order).
struct Source {
  int row = 0, column = 0;
  QString cell;
  int targetRow = 0;
};
Source FindSource(const Shell& s, const QString& table, const QString& pick) {
  Source found;
  if (table == QLatin1String("Team.dat")) {
    const QByteArray team = ReadFile(s.path("Team.dat"));
    const int stars = Count(ReadFile(s.path("StarRole.dat")));
    for (int r = 0; r < Count(team) && !found.row; ++r)
      for (const Slot& slot : kPositionSlots) {
        const qint64 p = SlotValue(team, slot, r);
        if (slot.table == table && !found.row && (pick == QLatin1String("empty") ? p == -1 : p >= 0 && p < stars))
          found = {r + 1, slot.column, QString::number(p), int(p + 1)};
      }
    return found;
  }
  // A job's code, or a producer shown by name: the first target record that holds it.
  const ReferenceDef& ref = FindTable(table)->references.front();
  const std::vector<QStringList> targets = ReadTableRows(*FindTable(ref.target), s.dataFolder, Script::Traditional);
  const std::vector<QStringList> rows = ReadTableRows(*FindTable(table), s.dataFolder, Script::Traditional);
  auto trimmed = [](QString t) { return t.remove(QChar(u'\0')).trimmed(); };
  for (size_t r = 0; r < rows.size() && !found.row; ++r) {
    const QString cell = trimmed(rows[r][ref.column - 1]);
    for (size_t k = 0; k < targets.size() && !found.row && !cell.isEmpty(); ++k)
      if (trimmed(targets[k][(ref.cellShowsName ? ref.targetName : ref.targetKey) - 1]) == cell)
        found = {int(r + 1), ref.column, cell, int(k + 1)};
  }
  return found;
}

}  // namespace

class GuiReferencesTest : public QObject {
  Q_OBJECT
 private slots:
  // 转到 from a cell of a reference column, every way it is offered.
  void goTo_data() {
    QTest::addColumn<Script>("script");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("pick");     // names / empty / missing
    QTest::addColumn<QString>("how");      // ctrl-click / menu / F12
    QTest::addColumn<QString>("unsaved");  // the answer to the unsaved-changes question; empty: no changes
    const Script zh = Script::Simplified, tw = Script::Traditional;
    QTest::newRow("2052 Team member, Ctrl+click") << zh << "Team.dat"
                                                  << "names"
                                                  << "ctrl-click"
                                                  << "";
    QTest::newRow("1028 Team member, Ctrl+click") << tw << "Team.dat"
                                                  << "names"
                                                  << "ctrl-click"
                                                  << "";
    QTest::newRow("2052 Team member, context menu") << zh << "Team.dat"
                                                    << "names"
                                                    << "menu"
                                                    << "";
    QTest::newRow("1028 Team member, F12") << tw << "Team.dat"
                                           << "names"
                                           << "F12"
                                           << "";
    QTest::newRow("2052 request's job, context menu") << zh << "CFRequest.dat"
                                                      << "names"
                                                      << "menu"
                                                      << "";
    QTest::newRow("1028 request's job, Ctrl+click (frozen column)") << tw << "CFRequest.dat"
                                                                    << "names"
                                                                    << "ctrl-click"
                                                                    << "";
    QTest::newRow("2052 empty member: stays") << zh << "Team.dat"
                                              << "empty"
                                              << "ctrl-click"
                                              << "";
    QTest::newRow("1028 empty member: stays") << tw << "Team.dat"
                                              << "empty"
                                              << "menu"
                                              << "";
    QTest::newRow("2052 job that no case has: stays") << zh << "CFRequest.dat"
                                                      << "missing"
                                                      << "F12"
                                                      << "";
    QTest::newRow("1028 member past the last star: stays") << tw << "Team.dat"
                                                           << "missing"
                                                           << "ctrl-click"
                                                           << "";
    QTest::newRow("2052 unsaved change, cancel: stays") << zh << "Team.dat"
                                                        << "names"
                                                        << "ctrl-click" << QStringLiteral("取消");
    QTest::newRow("1028 unsaved change, don't save: goes") << tw << "Team.dat"
                                                           << "names"
                                                           << "menu" << QStringLiteral("不儲存");
  }
  void goTo() {
    QFETCH(Script, script);
    QFETCH(QString, table);
    QFETCH(QString, pick);
    QFETCH(QString, how);
    QFETCH(QString, unsaved);
    Shell s(30);
    Source source = FindSource(s, table, pick == QLatin1String("missing") ? QStringLiteral("names") : pick);
    QVERIFY2(source.row > 0, "the sample has no such record");
    Show(s, script, table);
    const QString target = table == QLatin1String("Team.dat") ? "StarRole.dat" : "CFCase.dat";
    const QByteArray before = ReadFile(s.path(table));
    if (!unsaved.isEmpty()) {
      s.grid().setCell(source.row == 1 ? 2 : 1, 2, QStringLiteral("改过"));
      s.front.answers = QStringList{unsaved};
    }
    // A reference to no record: a value past the stars, a code no case has.
    if (pick == QLatin1String("missing")) {
      source.cell = table == QLatin1String("Team.dat") ? QStringLiteral("999") : QStringLiteral("CF999");
      s.grid().setCell(source.row, source.column, source.cell);
    }
    const QString header = s.grid().headerText(source.column);
    SelectRows(s.grid(), Rows({source.row}));

    if (how == QLatin1String("ctrl-click")) {
      ClickCell(s, source.row, source.column, Qt::ControlModifier);
      QCOMPARE(s.grid().selectedRows(), Rows({source.row}));  // a followed click selects nothing
    } else if (how == QLatin1String("menu")) {
      ContextMenuEntry(s, source.row, source.column, QStringLiteral("mnu_goto2"));
    } else {
      ClickCell(s, source.row, source.column);
      QTest::keyClick(s.window->gridView(), Qt::Key_F12);
    }
    if (!unsaved.isEmpty()) {
      QVERIFY(QTest::qWaitFor([&] { return !s.front.questions.isEmpty(); }));
      QCOMPARE(s.front.questionButtons.last(),
               (QStringList{L(script, "保存", "儲存"), L(script, "不保存", "不儲存"), L(script, "取消", "取消")}));
    }
    const bool goes = pick == QLatin1String("names") && unsaved != QStringLiteral("取消");
    if (goes) {
      QVERIFY(QTest::qWaitFor([&] { return s.window->caption() == target; }));
      QCOMPARE(s.grid().currentRow(), source.targetRow);
      QCOMPARE(s.grid().selectedRows(), Rows({source.targetRow}));
      QVERIFY(s.window->gridView()->hasFocus());
      if (table == QLatin1String("Team.dat")) {
        // The star of that position in the file's bytes.
        const QByteArray stars = ReadFile(s.path("StarRole.dat"));
        QCOMPARE(s.grid().cell(source.targetRow, 1).toLongLong(), StarNumber(stars, source.targetRow - 1));
      } else {
        QCOMPARE(s.grid().cell(source.targetRow, 1).remove(QChar(u'\0')), source.cell);
      }
      const QString name = s.grid().cell(source.targetRow, 2).remove(QChar(u'\0')).trimmed();
      QCOMPARE(
          s.window->statusLine(),
          L(script, "已转到 %1 第 %2 行“%3”", "已轉到 %1 第 %2 列“%3”").arg(target).arg(source.targetRow).arg(name));
      QCOMPARE(ReadFile(s.path(table)), before);  // "don't save" wrote nothing
      return;
    }
    QTest::qWait(50);  // the follow is made once the click is over
    QCOMPARE(s.window->caption(), table);
    QCOMPARE(s.grid().selectedRows(), Rows({source.row}));
    if (pick == QLatin1String("empty"))
      QCOMPARE(s.window->statusLine(), L(script, "“%1”为空，不引用任何记录", "“%1”為空，不引用任何記錄").arg(header));
    else if (pick == QLatin1String("missing"))
      QCOMPARE(s.window->statusLine(), L(script, "“%1”的“%2”在 %3 中没有对应的记录", "“%1”的“%2”在 %3 中沒有對應的記錄")
                                           .arg(header, source.cell, target));
    else
      QCOMPARE(s.window->statusLine(), L(script, "未转到 %1", "未轉到 %1").arg(target));
    QVERIFY(s.grid().isModified() == (!unsaved.isEmpty() || pick == QLatin1String("missing")));
  }

  // 被引用… on a star lists every team and firm cell that names it (read
  // from the files); Enter on an entry goes there. A star no one names says so.
  void referencedBy_data() {
    QTest::addColumn<Script>("script");
    QTest::addColumn<QString>("how");  // key / menu
    QTest::addColumn<bool>("named");
    QTest::newRow("2052 Shift+F12") << Script::Simplified << "key" << true;
    QTest::newRow("1028 context menu") << Script::Traditional << "menu" << true;
    QTest::newRow("2052 a star not saved yet") << Script::Simplified << "key" << false;
    QTest::newRow("1028 a star not saved yet") << Script::Traditional << "menu" << false;
  }
  void referencedBy() {
    QFETCH(Script, script);
    QFETCH(QString, how);
    QFETCH(bool, named);
    Shell s(30);
    int star = -1;
    std::set<Place> expected;
    const int stars = Count(ReadFile(s.path("StarRole.dat")));
    // One named by a team and a firm both.
    for (int p = 0; p < stars && star < 0 && named; ++p) {
      expected = Naming(s, p);
      bool team = false, firm = false;
      for (const Place& e : expected) (std::get<0>(e) == QLatin1String("Team.dat") ? team : firm) = true;
      if (team && firm) star = p;
    }
    QVERIFY2(star >= 0 || !named, "the sample has no such star");
    Show(s, script, QStringLiteral("StarRole.dat"));
    int row = star + 1;
    if (!named) {
      // A star added and not saved yet: no file names it.
      QStringList fresh = s.grid().record(1);
      fresh[0] = QStringLiteral("30001");
      row = s.grid().appendRecord(fresh);
    }
    const QString number = s.grid().cell(row, 1);
    const QString name = s.grid().cell(row, 2).trimmed();

    std::set<Place> listed;
    Place chosen;
    int chosenIndex = -1;
    bool seen = false;
    QObject guard;  // no check outlives the test
    WhenModal(&guard, [&](QWidget* modal) {
      auto* d = qobject_cast<ReferrersDialog*>(modal);
      if (!d) return;
      seen = true;
      if (!QTest::qWaitFor([&] { return QApplication::focusWidget() == d->list(); })) {
        qWarning("the list is not focused");
        d->reject();
        return;
      }
      for (int i = 0; i < d->list()->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = d->list()->topLevelItem(i);
        const QString file = item->text(0);
        const int record = item->text(1).toInt();
        const TableDef* t = FindTable(file);
        int column = 0;
        for (const ReferenceDef& r : t->references)
          if (s.window->texts().headers(file, t->fieldCount()).value(r.column - 1) == item->text(4)) column = r.column;
        listed.insert({file, record, column});
        // The last entry, by keys from the first.
        chosen = {file, record, column};
        chosenIndex = i;
      }
      for (int i = 0; i < chosenIndex; ++i) QTest::keyClick(d->list(), Qt::Key_Down);
      QTest::keyClick(d->list(), Qt::Key_Return);
      if (d->isVisible()) d->reject();
    });
    if (how == QLatin1String("key")) {
      ClickCell(s, row, 2);
      QTest::keyClick(s.window->gridView(), Qt::Key_F12, Qt::ShiftModifier);
    } else {
      ContextMenuEntry(s, row, 2, QStringLiteral("mnu_refby2"));
    }
    if (!named) {
      QVERIFY(!seen);
      QCOMPARE(s.front.messages.size(), 1);
      QCOMPARE(s.front.messages[0].text,
               L(script, "没有记录引用 StarRole.dat 的记录 %1“%2”。", "沒有記錄引用 StarRole.dat 的記錄 %1“%2”。")
                   .arg(number, name));
      QCOMPARE(s.window->caption(), QStringLiteral("StarRole.dat"));
      return;
    }
    QVERIFY(seen);
    QCOMPARE(listed, expected);
    QCOMPARE(s.window->caption(), std::get<0>(chosen));
    QCOMPARE(s.grid().currentRow(), std::get<1>(chosen));
    QCOMPARE(s.grid().selectionModel()->currentIndex().column(), std::get<2>(chosen));
    QCOMPARE(s.grid().cell(std::get<1>(chosen), std::get<2>(chosen)).toInt(), star);
  }

  // Deleting stars that teams and firms name asks first, naming the counts;
  // cancelled, nothing is deleted. Deleted, saved, undone and saved again,
  // every file is as it was.
  void deleteReferenced_data() {
    QTest::addColumn<Script>("script");
    QTest::addColumn<int>("stars");  // how many named stars are deleted at once
    QTest::newRow("2052 one star") << Script::Simplified << 1;
    QTest::newRow("1028 one star") << Script::Traditional << 1;
    QTest::newRow("2052 two stars") << Script::Simplified << 2;
    QTest::newRow("1028 two stars") << Script::Traditional << 2;
  }
  void deleteReferenced() {
    QFETCH(Script, script);
    QFETCH(int, stars);
    Shell s(30);
    const QStringList files{"StarRole.dat", "Team.dat", "Firm.dat"};
    std::map<QString, QByteArray> original;
    for (const QString& f : files) original[f] = ReadFile(s.path(f));
    // The first stars that teams and firms name; the count of their cells per table.
    std::vector<int> rows;
    std::map<QString, int> cells;
    for (int p = 0; p < Count(original["StarRole.dat"]) && int(rows.size()) < stars; ++p) {
      const std::set<Place> naming = Naming(s, p);
      if (naming.empty()) continue;
      rows.push_back(p + 1);
      for (const Place& n : naming) cells[std::get<0>(n)] += 1;
    }
    QCOMPARE(int(rows.size()), stars);
    QStringList where;
    for (const char* t : {"Team.dat", "Firm.dat"})
      if (cells[t]) where << L(script, "%1 %2 处", "%1 %2 處").arg(t).arg(cells[t]);
    const QString question =
        stars == 1 ? L(script, "该记录被 %1引用；删除后这些引用将在保存时清空。仍要删除吗？",
                       "該記錄被 %1引用；刪除後這些引用將在儲存時清空。仍要刪除嗎？")
                         .arg(where.join(QStringLiteral("、")))
                   : L(script, "所选 2 条记录中有 2 条被引用（%1）；删除后这些引用将在保存时清空。仍要删除吗？",
                       "所選 2 條記錄中有 2 條被引用（%1）；刪除後這些引用將在儲存時清空。仍要刪除嗎？")
                         .arg(where.join(QStringLiteral("、")));

    Show(s, script, QStringLiteral("StarRole.dat"));
    GridView* view = s.window->gridView();
    SelectRows(s.grid(), rows);
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(s.front.questions, QStringList{question});
    QCOMPARE(s.front.questionButtons[0], (QStringList{L(script, "删除", "刪除"), QStringLiteral("取消")}));
    QCOMPARE(s.grid().recordCount(), 30);
    QVERIFY(!s.grid().isModified());
    QCOMPARE(s.grid().selectedRows(), rows);

    s.front.answers = QStringList{L(script, "删除", "刪除")};
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(s.front.questions.size(), 2);
    QCOMPARE(s.grid().recordCount(), 30 - stars);

    // The save tells what changes in the other files; cancelled, nothing is written.
    QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(s.front.questions.size(), 3);
    QVERIFY2(
        s.front.questions[2].startsWith(L(script, "StarRole.dat：删除 %1 条", "StarRole.dat：刪除 %1 條").arg(stars)) &&
            s.front.questions[2].contains("Team.dat"),
        qPrintable(s.front.questions[2]));
    for (const QString& f : files) QCOMPARE(ReadFile(s.path(f)), original[f]);

    s.front.answers = QStringList{L(script, "保存", "儲存")};
    QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(s.front.questions.size(), 4);
    QVERIFY2(s.front.messages.isEmpty(), qPrintable(s.front.texts().join('\n')));
    // Every cell that named a deleted star is empty now.
    int emptyBefore = 0, emptyAfter = 0, named = 0;
    for (const auto& [table, n] : cells) named += n;
    for (const Slot& slot : kPositionSlots)
      for (int r = 0; r < Count(original[slot.table]); ++r) {
        emptyBefore += SlotValue(original[slot.table], slot, r) == -1;
        emptyAfter += SlotValue(ReadFile(s.path(slot.table)), slot, r) == -1;
      }
    QCOMPARE(emptyAfter, emptyBefore + named);

    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(s.grid().recordCount(), 30);
    s.front.answers = QStringList{L(script, "保存", "儲存")};
    QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
    QVERIFY2(s.front.questions.last().startsWith(
                 L(script, "StarRole.dat：新增 %1 条", "StarRole.dat：新增 %1 條").arg(stars)),
             qPrintable(s.front.questions.last()));
    QVERIFY2(s.front.messages.isEmpty(), qPrintable(s.front.texts().join('\n')));
    for (const QString& f : files) QVERIFY2(ReadFile(s.path(f)) == original[f], qPrintable(f));
  }

  // 转到 in a record editor: the context menu of a reference field closes the
  // dialog and goes to the record the field names; with changes in the
  // dialog it is offered but cannot be chosen.
  void editorGoTo_data() {
    QTest::addColumn<Script>("script");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("changed");
    QTest::newRow("2052 Team member list") << Script::Simplified << "Team.dat"
                                           << "Combo(0)" << false;
    QTest::newRow("1028 Team member list") << Script::Traditional << "Team.dat"
                                           << "Combo(0)" << false;
    QTest::newRow("1028 request's job code") << Script::Traditional << "CFRequest.dat"
                                             << "Text1" << false;
    QTest::newRow("2052 job's producer") << Script::Simplified << "MVCase.dat"
                                         << "Combo4" << false;
    QTest::newRow("2052 changed dialog: not offered") << Script::Simplified << "Team.dat"
                                                      << "Combo(0)" << true;
  }
  void editorGoTo() {
    QFETCH(Script, script);
    QFETCH(QString, table);
    QFETCH(QString, control);
    QFETCH(bool, changed);
    Shell s(30);
    s.programDialogs = true;
    Source source = FindSource(s, table, QStringLiteral("names"));
    if (table == QLatin1String("Team.dat") && source.column != 3)
      QSKIP("the sample's first named member is not the first");
    QVERIFY(source.row > 0);
    Show(s, script, table);
    const QString target = FindTable(table)->references.front().target;
    ClickCell(s, source.row, 1);
    QString entry;
    bool enabled = true, seen = false;
    QObject guard;  // no check outlives the test
    WhenModal(&guard, [&](QWidget* modal) {
      auto* d = qobject_cast<RecordDialog*>(modal);
      if (!d || !QTest::qWaitForWindowActive(d)) return;
      seen = true;
      QWidget* field = d->control(control);
      if (changed) {
        QLineEdit* other = qobject_cast<QLineEdit*>(d->control(QStringLiteral("Text1")));
        if (table != QLatin1String("Team.dat")) other = qobject_cast<QLineEdit*>(d->control(QStringLiteral("Text0")));
        ClickInto(other);
        QTest::keyClicks(other, QStringLiteral("x"));
      }
      QTimer::singleShot(0, &guard, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        QAction* go = nullptr;
        for (QAction* a : menu->actions())
          if (a->objectName() == QLatin1String("mnu_goto")) go = a;
        if (!go) {
          menu->close();
          return;
        }
        entry = go->text();
        enabled = go->isEnabled();
        if (enabled)
          QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(go).center());
        else
          menu->close();
      });
      // The right button over the field, as the window system gives it.
      QWidget* at = field;
      if (auto* box = qobject_cast<QComboBox*>(field); box && box->lineEdit()) at = box->lineEdit();
      const QPoint pos(8, at->height() / 2);
      QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, pos, at->mapToGlobal(pos));
      QApplication::sendEvent(at, &menuEvent);
      if (d->isVisible()) d->reject();
    });
    QTest::keyClick(s.window->gridView(), Qt::Key_Return);
    QVERIFY(seen);
    QVERIFY2(
        entry.startsWith(L(script, "转到(&G) %1 第 %2 行", "轉到(&G) %1 第 %2 列").arg(target).arg(source.targetRow)),
        qPrintable(entry));
    if (changed) {
      QVERIFY(!enabled);
      QVERIFY(entry.endsWith(L(script, "（请先确定或取消修改）", "（請先確定或取消修改）")));
      QCOMPARE(s.window->caption(), table);
      return;
    }
    QVERIFY(QTest::qWaitFor([&] { return s.window->caption() == target; }));
    QCOMPARE(s.grid().currentRow(), source.targetRow);
    QVERIFY(!s.grid().isModified());
  }
};

QTEST_MAIN(GuiReferencesTest)
#include "test_gui_references.moc"
