// Editing in the grid's cells as a user does: keys on a shown, focused
// window, every kind of editor a column gets, the value saved to the file.
#include "test_gui_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QUndoStack>

#include "app/CellEditor.h"
#include "app/GridView.h"
#include "model/TableIo.h"

using namespace v3;
using namespace v3test;

namespace {

void Show(Shell& s, const QString& table, Script language = Script::Simplified) {
  s.programDialogs = true;
  QVERIFY(s.start(language));
  s.window->resize(1100, 700);
  s.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
  QApplication::setActiveWindow(s.window.get());
  s.open(table);
  s.window->gridView()->setFocus();
  QVERIFY(QTest::qWaitFor([&] { return s.window->gridView()->hasFocus(); }));
}

// Clicks a cell where it shows, in the frozen part or the scrolled one.
void ClickCell(const Shell& s, int row, int column) {
  GridView* v = s.window->gridView();
  const QModelIndex index = s.grid().index(row - 1, column);
  v->scrollTo(index);
  const QPoint at = v->cellRect(index).center();
  QWidget* target = v->childAt(at);
  QVERIFY(target);
  QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(v, at));
}

// Keys as they come from the keyboard or an input method: each press and
// each release to whatever has the focus at that moment.
void Keys(const QString& keys) {
  for (const QChar c : keys) {
    Qt::Key key = Qt::Key_unknown;
    if (c == u'\n') key = Qt::Key_Return;
    if (c == u'\t') key = Qt::Key_Tab;
    if (c == u'\x1b') key = Qt::Key_Escape;
    if (c == u' ') key = Qt::Key_Space;
    const QString text = key == Qt::Key_unknown || key == Qt::Key_Space ? QString(c) : QString();
    QVERIFY(QApplication::focusWidget());
    QTest::sendKeyEvent(QTest::Press, QApplication::focusWidget(), key, text, Qt::NoModifier);
    QVERIFY(QApplication::focusWidget());
    QTest::sendKeyEvent(QTest::Release, QApplication::focusWidget(), key, text, Qt::NoModifier);
  }
}

}  // namespace

class CellEditTest : public QObject {
  Q_OBJECT
 private slots:
  void typeIntoEachKindOfColumn_data();
  void typeIntoEachKindOfColumn();
  void systemScriptIsEachWindowsOwn();
};

void CellEditTest::typeIntoEachKindOfColumn_data() {
  QTest::addColumn<QString>("table");
  QTest::addColumn<int>("column");
  QTest::addColumn<QString>("keys");      // "\n" Enter, "\t" Tab, "\x1b" Escape, "~" the cell's opposite flag
  QTest::addColumn<QString>("expected");  // the cell afterwards; "=" unchanged
  QTest::addColumn<QString>("editor");    // the editor's class
  QTest::addColumn<QString>("refusal");   // part of the status line when refused
  for (const QString& lang : {QStringLiteral("Simplified"), QStringLiteral("Traditional")}) {
    auto row = [&](const char* name) { return &QTest::newRow(qPrintable(QString::fromLatin1(name) + u'/' + lang)); };
    *row("number") << "Team.dat" << 7 << "1234\n"
                   << "1234"
                   << "QLineEdit"
                   << "";
    *row("number, Tab") << "Team.dat" << 8 << "77\t"
                        << "77"
                        << "QLineEdit"
                        << "";
    *row("text") << "Team.dat" << 2 << QStringLiteral("新星\n") << QStringLiteral("新星") << "QLineEdit"
                 << "";
    *row("index list") << "Team.dat" << 3 << "2\n"
                       << "2"
                       << "QComboBox"
                       << "";
    *row("text list") << "CFCase.dat" << 4 << "A\n"
                      << "A"
                      << "QComboBox"
                      << "";
    *row("check mark") << "CFCase.dat" << 8 << " \n"
                       << "~"
                       << "QCheckBox"
                       << "";
    *row("check 0/1") << "ScheduleClass.dat" << 25 << " \n"
                      << "~"
                      << "QCheckBox"
                      << "";
    *row("Escape") << "Team.dat" << 7 << "55\x1b"
                   << "="
                   << "QLineEdit"
                   << "";
    *row("out of range") << "Team.dat" << 7 << "99999999999\n"
                         << "="
                         << "QLineEdit"
                         << "99999999999";
    *row("no Big5") << "Team.dat" << 2 << QStringLiteral("a한\n") << "="
                    << "QLineEdit"
                    << "Big5";
  }
}

void CellEditTest::typeIntoEachKindOfColumn() {
  QFETCH(QString, table);
  QFETCH(int, column);
  QFETCH(QString, keys);
  QFETCH(QString, expected);
  QFETCH(QString, editor);
  QFETCH(QString, refusal);
  const Script lang = QString::fromLatin1(QTest::currentDataTag()).section(u'/', 1) == QLatin1String("Traditional")
                          ? Script::Traditional
                          : Script::Simplified;
  Shell s(9);
  Show(s, table, lang);
  const int row = 4;
  const QString before = s.grid().cell(row, column);
  const std::vector<QStringList> recordsBefore = s.grid().records();
  if (expected == QLatin1String("~"))
    expected = before == QStringLiteral("√")   ? QString()
               : before.isEmpty()              ? QStringLiteral("√")
               : before == QStringLiteral("1") ? QStringLiteral("0")
                                               : QStringLiteral("1");
  if (expected == QLatin1String("=")) expected = before;
  QUndoStack& undo = s.window->undoStack();
  const int steps = undo.count();

  ClickCell(s, row, column);
  QCOMPARE(s.grid().selectionModel()->currentIndex(), s.grid().index(row - 1, column));
  // The first key opens the editor the column needs, and goes into it.
  Keys(keys.left(1));
  QWidget* open = s.window->gridView()->findChild<QWidget*>(QStringLiteral("CellEditor"));
  QVERIFY(open);
  QVERIFY2(open->inherits(qPrintable(editor)), open->metaObject()->className());
  Keys(keys.mid(1));
  QCOMPARE(s.grid().cell(row, column), expected);
  QCOMPARE(undo.count(), steps + (expected == before ? 0 : 1));
  if (!refusal.isEmpty()) {
    // Refused at once: the editor stays open with the text, the reason shows.
    QVERIFY2(s.window->statusLine().contains(refusal), qPrintable(s.window->statusLine()));
    QVERIFY(s.window->gridView()->findChild<QWidget*>(QStringLiteral("CellEditor")));
    Keys(QStringLiteral("\x1b"));
  }
  QTRY_VERIFY(!s.window->gridView()->findChild<QWidget*>(QStringLiteral("CellEditor")));
  const QModelIndex current = s.grid().selectionModel()->currentIndex();
  if (keys.endsWith(u'\n') && refusal.isEmpty()) QCOMPARE(current.row() + 1, row + 1);  // Enter moves down
  if (keys.endsWith(u'\t')) QVERIFY(current.column() > column);                         // Tab right

  // The file holds the edit and nothing else changed.
  s.trigger(QStringLiteral("mnu_save"));
  QString error;
  const std::vector<QStringList> saved = ReadTableRows(*FindTable(table), s.dataFolder, Script::Traditional, &error);
  QVERIFY(error.isEmpty());
  std::vector<QStringList> wanted = recordsBefore;
  wanted[size_t(row - 1)][column - 1] = expected;
  QCOMPARE(saved, wanted);
}

// The script of the system the game runs on belongs to each window, not to
// the process: two windows at once, a name typed in Simplified. On a
// Simplified system it is written as its Traditional Big5; on a Traditional
// one Big5 has no 团, so the cell refuses it and the file stays as it was.
void CellEditTest::systemScriptIsEachWindowsOwn() {
  Shell simplified(9), traditional(9);
  simplified.localeId = 2052;
  traditional.localeId = 1028;
  const QString file = QStringLiteral("Team.dat");
  const QByteArray before = ReadFile(traditional.path(file));
  for (Shell* s : {&simplified, &traditional}) {
    Show(*s, file);
    ClickCell(*s, 4, 2);
    Keys(QStringLiteral("星光团\n"));
    if (s == &traditional) {
      QVERIFY2(s->window->statusLine().contains(QStringLiteral("Big5")), qPrintable(s->window->statusLine()));
      Keys(QStringLiteral("\x1b"));
    }
    s->trigger(QStringLiteral("mnu_save"));
  }
  QString error;
  const std::vector<QStringList> saved = ReadTableRows(TeamTable(), simplified.dataFolder, Script::Traditional, &error);
  QVERIFY2(error.isEmpty(), qPrintable(error));
  QCOMPARE(saved[3][1], QStringLiteral("星光團"));
  QCOMPARE(ReadFile(traditional.path(file)), before);
}

QTEST_MAIN(CellEditTest)
#include "test_gui_cell_edit.moc"
