// Window layout, help, about and exit.
#include "test_gui_support.h"

#include <QLabel>

#include "app/GridView.h"
#include "app/Layout.h"

using namespace v3;
using namespace v3test;

class LayoutTest : public QObject {
  Q_OBJECT
 private slots:
  void scaledGeometry_data();
  void scaledGeometry();
  void extraShiftIsSeventeenTwips();
  void windowFollowsItsSize();
  void help_data();
  void help();
  void aboutAndExit();
};

void LayoutTest::scaledGeometry_data() {
  QTest::addColumn<QRectF>("start");
  QTest::addColumn<bool>("isGrid");
  QTest::addColumn<QSizeF>("size");
  QTest::addColumn<bool>("placed");
  QTest::addColumn<QRectF>("expected");
  const QRectF grid(10, 20, 300, 200);
  const QRectF label(8, 230, 100, 18);
  // The start size is 400 x 250 and the extra shift 17 throughout.
  QTest::newRow("grid, start size") << grid << true << QSizeF(400, 250) << true << grid;
  QTest::newRow("label, start size") << label << false << QSizeF(400, 250) << true << label;
  QTest::newRow("grid, doubled") << grid << true << QSizeF(800, 500) << true << QRectF(20, 40, 600, 417);
  QTest::newRow("label, doubled") << label << false << QSizeF(800, 500) << true << QRectF(16, 477, 200, 18);
  QTest::newRow("grid, wider only") << grid << true << QSizeF(800, 250) << true << QRectF(20, 20, 600, 200);
  QTest::newRow("label, taller only") << label << false << QSizeF(400, 500) << true << QRectF(8, 477, 100, 18);
  QTest::newRow("grid, halved") << grid << true << QSizeF(200, 125) << true << QRectF(5, 10, 150, 91.5);
  QTest::newRow("label, halved") << label << false << QSizeF(200, 125) << true << QRectF(4, 106.5, 50, 18);
  QTest::newRow("grid, minimised: refused") << grid << true << QSizeF(0, 0) << false << QRectF();
  QTest::newRow("label, minimised") << label << false << QSizeF(0, 0) << true << QRectF(0, -17, 0, 18);
}

void LayoutTest::scaledGeometry() {
  QFETCH(QRectF, start);
  QFETCH(bool, isGrid);
  QFETCH(QSizeF, size);
  QFETCH(bool, placed);
  QFETCH(QRectF, expected);
  QRectF out;
  QCOMPARE(ScaledGeometry(start, isGrid, QSizeF(400, 250), size, 17, &out), placed);
  if (placed) QCOMPARE(out, expected);
  // Without a start size nothing is placed.
  QVERIFY(!ScaledGeometry(start, isGrid, QSizeF(0, 250), size, 17, &out));
}

void LayoutTest::extraShiftIsSeventeenTwips() {
  QCOMPARE(ExtraShiftPixels(1440), 17.0);
  QVERIFY(qAbs(ExtraShiftPixels(96) - 17.0 / 15.0) < 1e-9);
}

void LayoutTest::windowFollowsItsSize() {
  Shell s(3);
  QVERIFY(s.start());
  s.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
  const ProportionalLayout& layout = s.window->formLayout();
  QWidget* form = s.window->centralWidget();
  const QList<QWidget*> controls{s.window->gridView(), s.window->label(1), s.window->label(2), s.window->label(3)};
  for (QWidget* c : controls) QVERIFY(!layout.startGeometry(c).isEmpty());
  QVERIFY(layout.isGrid(s.window->gridView()));
  const QSize start = layout.startSize().toSize();

  auto expectLayout = [&](const QSize& size) {
    for (QWidget* c : controls) {
      QRectF r;
      QVERIFY(ScaledGeometry(layout.startGeometry(c), layout.isGrid(c), layout.startSize(), QSizeF(size),
                             layout.extra(), &r));
      QCOMPARE(c->geometry(), r.toRect());
    }
  };
  form->resize(start * 2);
  expectLayout(start * 2);
  // Twice the height plus the extra shift, the labels below it by as much.
  QCOMPARE(s.window->gridView()->height(),
           qRound(2 * layout.startGeometry(s.window->gridView()).height() + layout.extra()));
  QCOMPARE(s.window->label(1)->height(), qRound(layout.startGeometry(s.window->label(1)).height()));

  form->resize(start);
  for (QWidget* c : controls) QCOMPARE(QRectF(c->geometry()), layout.startGeometry(c));

  // Minimised and restored: as before, whatever the minimised size did.
  form->resize(700, 450);
  QList<QRect> before;
  for (QWidget* c : controls) before << c->geometry();
  form->resize(0, 0);
  form->resize(700, 450);
  for (int i = 0; i < controls.size(); ++i) QCOMPARE(controls[i]->geometry(), before[i]);

  // Through the window itself, as the user drags it.
  s.window->resize(s.window->width() + 200, s.window->height() + 150);
  QTRY_COMPARE(form->width(), start.width() + 200);
  expectLayout(form->size());
}

void LayoutTest::help_data() {
  QTest::addColumn<QString>("readme");  // the document beside the program, "" for none
  QTest::addColumn<bool>("shipped");    // README.md beside the program
  QTest::addColumn<QString>("opened");
  QTest::newRow("Readme.doc") << "Readme.doc" << true << "Readme.doc";
  QTest::newRow("readme.DOC in another case") << "readme.DOC" << false << "readme.DOC";
  QTest::newRow("only README.md") << "" << true << "README.md";
  QTest::newRow("neither") << "" << false << "";
}

void LayoutTest::help() {
  QFETCH(QString, readme);
  QFETCH(bool, shipped);
  QFETCH(QString, opened);
  Shell s(1);
  if (!readme.isEmpty()) WriteFile(s.programFolder + QLatin1Char('/') + readme, "doc");
  if (shipped) WriteFile(s.programFolder + QStringLiteral("/README.md"), "# readme");
  QVERIFY(s.start());
  s.trigger(QStringLiteral("mnu_help"));
  if (opened.isEmpty()) {
    QVERIFY(s.front.opened.isEmpty());
    QCOMPARE(s.front.messages.size(), 1);
  } else {
    QCOMPARE(s.front.opened, QStringList{s.programFolder + QLatin1Char('/') + opened});
    QVERIFY(s.front.messages.isEmpty());
  }
}

void LayoutTest::aboutAndExit() {
  Shell s(1);
  QVERIFY(s.start());
  s.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
  s.trigger(QStringLiteral("mnu_about"));
  QCOMPARE(s.front.texts(), QStringList{QStringLiteral("Vantaro3 DataEditer 1.3")});
  QCOMPARE(s.front.messages[0].icon, UiFront::Icon::Information);
  s.open(QStringLiteral("Team.dat"));
  s.grid().setCell(1, 2, QStringLiteral("未保存"));
  s.front.answers = QStringList{QStringLiteral("不保存")};
  s.trigger(QStringLiteral("mnu_exit"));
  QVERIFY(!s.window->isVisible());  // the unsaved changes were asked about, and given up
  QCOMPARE(s.front.questions.size(), 1);
  QCOMPARE(s.front.messages.size(), 1);
}

QTEST_MAIN(LayoutTest)
#include "test_gui_layout.moc"
