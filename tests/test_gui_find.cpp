// The find dialog and the search beneath it.
#include "test_gui_support.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/FindDialog.h"
#include "app/GridView.h"
#include "app/Search.h"
#include "text/Locale.h"

using namespace v3;
using namespace v3test;

class FindTest : public QObject {
  Q_OBJECT
 private slots:
  void matchRule_data();
  void matchRule();
  void searchTextIsTraditional();
  void findRowBounds();
  void findThenFindNext();
  void notFoundMessageByLocale_data();
  void notFoundMessageByLocale();
  void emptySearchTextCloses();
  void emptyTableFindsNothing();
  void findNextWithoutSelectionStartsAtRowOne();
  void columnListFromTheHeader();
  void throughTheMenu();
};

void FindTest::matchRule_data() {
  QTest::addColumn<QString>("cell");
  QTest::addColumn<QString>("search");
  QTest::addColumn<bool>("matches");
  QTest::newRow("whole cell") << "飛輪海"
                              << "飛輪海" << true;
  QTest::newRow("inside") << "東方神話"
                          << "方神" << true;
  QTest::newRow("at the end") << "東方神話"
                              << "神話" << true;
  QTest::newRow("cut short by the end") << "東方神話"
                                        << "神話團" << false;
  QTest::newRow("longer than the cell") << "ab"
                                        << "abc" << false;
  QTest::newRow("not contiguous") << "abc"
                                  << "ac" << false;
  QTest::newRow("case differs") << "Star"
                                << "star" << false;
  QTest::newRow("upper for lower") << "abc"
                                   << "B" << false;
  QTest::newRow("numbers as text: 1 in 10") << "10"
                                            << "1" << true;
  QTest::newRow("numbers as text: 1 in 21") << "21"
                                            << "1" << true;
  QTest::newRow("no trimming") << "a b"
                               << " b" << true;
  QTest::newRow("blank not trimmed away") << "ab"
                                          << "b " << false;
  QTest::newRow("no wildcards") << "abc"
                                << "a*" << false;
  QTest::newRow("empty cell") << ""
                              << "a" << false;
}

void FindTest::matchRule() {
  QFETCH(QString, cell);
  QFETCH(QString, search);
  QFETCH(bool, matches);
  QCOMPARE(CellMatches(cell, search), matches);
}

void FindTest::searchTextIsTraditional() {
  QCOMPARE(SearchTextFor(QStringLiteral("东方神话")), QStringLiteral("東方神話"));
  QCOMPARE(SearchTextFor(QStringLiteral("東方")), QStringLiteral("東方"));
  QCOMPARE(SearchTextFor(QStringLiteral("abc")), QStringLiteral("abc"));
}

void FindTest::findRowBounds() {
  RecordGrid g;
  g.reset(2, {{"a", "x"}, {"b", "y"}, {"a", "z"}});
  QCOMPARE(FindRow(g, 1, "a"), 1);
  QCOMPARE(FindRow(g, 1, "a", 2), 3);
  QCOMPARE(FindRow(g, 1, "a", 4), 0);  // no wrap-around
  QCOMPARE(FindRow(g, 2, "z"), 3);
  QCOMPARE(FindRow(g, 2, "a"), 0);
  QCOMPARE(FindRow(g, 0, "a"), 0);
  QCOMPARE(FindRow(g, 3, "a"), 0);
  QCOMPARE(FindRow(g, 1, ""), 0);
  QCOMPARE(FindRow(g, 1, "b", -5), 2);
}

namespace {

// Team.dat with `records` rows whose column 2 holds "某某" only in the given rows.
void PrepareTeam(Shell& s, const std::vector<int>& hits) {
  QVERIFY(s.start());
  s.window->resize(900, 500);
  s.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
  s.open(QStringLiteral("Team.dat"));
  for (int r = 1; r <= s.grid().recordCount(); ++r) s.grid().setCell(r, 2, QStringLiteral("團%1").arg(r));
  for (int r : hits) s.grid().setCell(r, 2, QStringLiteral("前某某後"));
}

}  // namespace

void FindTest::findThenFindNext() {
  Shell s(100);
  s.localeId = 2052;
  PrepareTeam(s, {3, 48});
  FindDialog d(s.grid(), s.window->gridView(), s.front, s.window->texts(), s.window->localeId(), s.window.get());
  d.show();
  d.columnList()->setCurrentIndex(1);            // column 2
  d.textBox()->setText(QStringLiteral("某某"));  // Simplified, found as Traditional
  d.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
  QCOMPARE(s.grid().currentRow(), 3);
  QCOMPARE(s.grid().selectedRows(), Rows({3}));
  QCOMPARE(s.window->gridView()->topRow(), 3);
  QVERIFY(d.isVisible());

  d.findChild<QPushButton*>(QStringLiteral("cmdNext"))->click();
  QCOMPARE(s.grid().currentRow(), 48);
  QCOMPARE(s.grid().selectedRows(), Rows({48}));
  QCOMPARE(s.window->gridView()->topRow(), 48);
  QVERIFY(d.isVisible());
  QVERIFY(s.front.messages.isEmpty());

  d.findChild<QPushButton*>(QStringLiteral("cmdNext"))->click();
  QCOMPARE(s.front.texts(), QStringList{QStringLiteral("未找到搜索项")});
  QCOMPARE(s.front.messages[0].icon, UiFront::Icon::Information);
  QVERIFY(!d.isVisible());
  QCOMPARE(s.grid().selectedRows(), Rows({48}));

  // Find starts from row 1 again, whatever is selected.
  d.show();
  d.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
  QCOMPARE(s.grid().currentRow(), 3);
}

void FindTest::notFoundMessageByLocale_data() {
  QTest::addColumn<int>("locale");
  QTest::addColumn<QStringList>("messages");
  QTest::newRow("2052") << 2052 << QStringList{QStringLiteral("未找到搜索项")};
  QTest::newRow("1028") << 1028 << QStringList{QStringLiteral("未找到搜索項")};
  QTest::newRow("1033: no message") << 1033 << QStringList();
}

void FindTest::notFoundMessageByLocale() {
  QFETCH(int, locale);
  QFETCH(QStringList, messages);
  Shell s(5);
  s.localeId = locale;
  PrepareTeam(s, {});
  s.grid().setRowSelected(2, true);
  FindDialog d(s.grid(), s.window->gridView(), s.front, s.window->texts(), s.window->localeId(), s.window.get());
  d.show();
  d.textBox()->setText(QStringLiteral("一個長得誰都沒有的名字"));
  d.findFirst();
  QCOMPARE(s.front.texts(), messages);
  QVERIFY(!d.isVisible());
  QCOMPARE(d.result(), int(QDialog::Rejected));
  QCOMPARE(s.grid().selectedRows(), Rows({2}));
}

void FindTest::emptySearchTextCloses() {
  Shell s(5);
  s.localeId = 2052;
  PrepareTeam(s, {1});
  FindDialog d(s.grid(), s.window->gridView(), s.front, s.window->texts(), s.window->localeId(), s.window.get());
  d.show();
  d.findNext();
  QVERIFY(!d.isVisible());
  QVERIFY(s.front.messages.isEmpty());
  QCOMPARE(s.grid().selectedCount(), 0);
}

void FindTest::emptyTableFindsNothing() {
  Shell s(1);
  s.localeId = 2052;
  WriteFile(s.path(QStringLiteral("Team.dat")), Header(0, 60));
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  QCOMPARE(s.grid().recordCount(), 0);
  FindDialog d(s.grid(), s.window->gridView(), s.front, s.window->texts(), s.window->localeId(), s.window.get());
  d.show();
  QCOMPARE(d.columnList()->count(), 11);
  d.textBox()->setText(QStringLiteral("1"));
  d.findFirst();
  QCOMPARE(s.front.texts(), QStringList{QStringLiteral("未找到搜索项")});
  QVERIFY(!d.isVisible());
}

void FindTest::findNextWithoutSelectionStartsAtRowOne() {
  Shell s(5);
  PrepareTeam(s, {1, 4});
  FindDialog d(s.grid(), s.window->gridView(), s.front, s.window->texts(), s.window->localeId(), s.window.get());
  d.show();
  d.columnList()->setCurrentIndex(1);
  d.textBox()->setText(QStringLiteral("某某"));
  d.findNext();
  QCOMPARE(s.grid().currentRow(), 1);
  d.findNext();
  QCOMPARE(s.grid().currentRow(), 4);
}

void FindTest::columnListFromTheHeader() {
  Shell s(6);
  QString ini = QStringLiteral("[Team.dat]\r\n");
  for (int c = 1; c <= 11; ++c) ini += QStringLiteral("%1=欄%1\r\n").arg(c);
  ini += QStringLiteral("[Find]\r\nCaption=搜寻\r\ncmdNext=下一个(&N)\r\n");
  WriteLanguageFile(s.programFolder, QStringLiteral("CHS.txt"), ini);
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  FindDialog d(s.grid(), s.window->gridView(), s.front, s.window->texts(), s.window->localeId(), s.window.get());
  QCOMPARE(d.objectName(), QStringLiteral("Find"));
  QCOMPARE(d.windowTitle(), QStringLiteral("搜寻"));
  QCOMPARE(d.findChild<QPushButton*>(QStringLiteral("cmdNext"))->text(), QStringLiteral("下一个(&N)"));
  QCOMPARE(d.findChild<QPushButton*>(QStringLiteral("cmdOK"))->text(), QStringLiteral("确定"));
  QCOMPARE(d.findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("类别"));
  QCOMPARE(d.columnList()->count(), 11);
  for (int p = 0; p < 11; ++p) QCOMPARE(d.columnList()->itemText(p), QStringLiteral("欄%1").arg(p + 1));
  QCOMPARE(d.columnList()->currentIndex(), 0);
  // The second entry searches column 2: a name, not a number.
  const QString name = s.grid().cell(5, 2);
  d.columnList()->setCurrentIndex(1);
  d.textBox()->setText(name);
  d.findFirst();
  QCOMPARE(s.grid().cell(s.grid().currentRow(), 2), name);
  QVERIFY(!d.windowIcon().isNull());
}

void FindTest::throughTheMenu() {
  Shell s(20);
  PrepareTeam(s, {7});
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<FindDialog*>(QApplication::activeModalWidget());
    QVERIFY(d);
    seen = true;
    d->columnList()->setCurrentIndex(1);
    d->textBox()->setText(QStringLiteral("某某"));
    d->findFirst();
    QCOMPARE(s.grid().currentRow(), 7);
    d->findChild<QPushButton*>(QStringLiteral("cmdExit"))->click();
  });
  s.trigger(QStringLiteral("mnu_find"));
  QVERIFY(seen);
  QCOMPARE(s.grid().selectedRows(), Rows({7}));
  QCOMPARE(s.window->label(1)->text(), QStringLiteral("共1项被选择"));
}

QTEST_MAIN(FindTest)
#include "test_gui_find.moc"
