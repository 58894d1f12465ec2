// The editor, driven by keys: deleting a star that teams name asks before
// the save what changes in Team.dat and Firm.dat; cancelling writes nothing;
// undoing the delete and saving again gives back every file as it was.
#include <QtTest>

#include "TestSupport.h"
#include "app/GridView.h"
#include "app/MainWindow.h"
#include "test_gui_support.h"

using namespace v3;
using namespace v3test;

class GuiReferencesTest : public QObject {
  Q_OBJECT
 private slots:
  void deleteSaveUndoSave() {
    Shell s(30);
    QVERIFY(s.start());
    const QStringList files{"StarRole.dat", "Team.dat", "Firm.dat"};
    std::map<QString, QByteArray> original;
    for (const QString& f : files) original[f] = ReadFile(s.path(f));
    // The star that Team.dat's first team names first (bytes 24..25 of record 1).
    const QByteArray team = original["Team.dat"];
    const int position = qint16(quint8(team[12 + 24]) | quint8(team[12 + 25]) << 8);
    QVERIFY(position >= 0);

    s.open(QStringLiteral("StarRole.dat"));
    s.window->show();
    s.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
    GridView* view = s.window->gridView();
    view->setFocus();
    SelectRows(s.grid(), Rows({position + 1}));
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(s.grid().recordCount(), 29);

    // Cancelled: nothing written.
    QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(s.front.questions.size(), 1);
    QVERIFY2(s.front.questions[0].startsWith("StarRole.dat：删除 1 条") && s.front.questions[0].contains("Team.dat"),
             qPrintable(s.front.questions[0]));
    for (const QString& f : files) QCOMPARE(ReadFile(s.path(f)), original[f]);

    s.front.answers = QStringList{QStringLiteral("保存")};
    QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(s.front.questions.size(), 2);
    QVERIFY(s.front.messages.isEmpty());
    const QByteArray newTeam = ReadFile(s.path("Team.dat"));
    QCOMPARE(newTeam.mid(12 + 24, 4), QByteArray("\xFF\xFF\xFF\xFF", 4));  // the deleted star's place is empty

    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(s.grid().recordCount(), 30);
    s.front.answers = QStringList{QStringLiteral("保存")};
    QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(s.front.questions.size(), 3);
    QVERIFY2(s.front.questions[2].startsWith("StarRole.dat：新增 1 条"), qPrintable(s.front.questions[2]));
    QVERIFY2(s.front.messages.isEmpty(), qPrintable(s.front.texts().join('\n')));
    for (const QString& f : files) QVERIFY2(ReadFile(s.path(f)) == original[f], qPrintable(f));
  }
};

QTEST_MAIN(GuiReferencesTest)
#include "test_gui_references.moc"
