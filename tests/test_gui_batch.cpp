// 编辑 → 批量修改… and 文件 → 应用补丁… in a shown window: instructions
// typed into the dialog, its live preview, conflicts, and the changes as one
// undo step of the open table.
#include "test_gui_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>

#include "app/BatchCommands.h"
#include "app/GridCommands.h"

using namespace v3;
using namespace v3test;

namespace {

// Runs `inside` on the dialog of type D once the menu entry has opened it.
template <class D>
bool WithDialog(Shell& s, const QString& action, const std::function<void(D&)>& inside) {
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
    if (!d) return;
    seen = true;
    inside(*d);
    if (d->isVisible()) d->reject();
  });
  s.trigger(action);
  return seen;
}

void CopyLanguageFiles(const QString& programFolder) {
  for (const char* f : {"CHS.txt", "CHT.txt"})
    QFile::copy(QCoreApplication::applicationDirPath() + "/" + f, programFolder + "/" + f);
}

}  // namespace

class GuiBatchTest : public QObject {
  Q_OBJECT

 private slots:
  void batchDialogPreviewsAndAppliesAsOneStep() {
    Shell s(12);
    CopyLanguageFiles(s.programFolder);
    QVERIFY(s.start());
    s.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    s.open(QStringLiteral("Team.dat"));
    RecordGrid& g = s.grid();
    std::vector<QString> before;
    for (int r = 1; r <= g.recordCount(); ++r) before.push_back(g.cell(r, 7));
    int big = 0, copies = 0;  // records over 5000, and those of them whose column 11 changes
    for (int r = 1; r <= g.recordCount(); ++r)
      if (before[size_t(r - 1)].toInt() > 5000) {
        ++big;
        copies += g.cell(r, 11) != g.cell(r, 1);
      }
    QVERIFY(big > 0 && big < g.recordCount());

    QVERIFY(WithDialog<BatchDialog>(s, QStringLiteral("mnu_batch"), [&](BatchDialog& d) {
      QTest::keyClicks(d.instructions(), QStringLiteral("x"));
      QVERIFY2(d.summary()->text().contains(QStringLiteral("第 1 行")), qPrintable(d.summary()->text()));
      QVERIFY(!d.okButton()->isEnabled());
      d.instructions()->clear();
      for (const char* line : {">7=5000", ".7+=40000 !clamp", ".11=$1"}) {
        QTest::keyClicks(d.instructions(), QString::fromLatin1(line));
        QTest::keyClick(d.instructions(), Qt::Key_Return);
      }
      QCOMPARE(d.preview()->topLevelItemCount(), big + copies);
      QVERIFY2(d.summary()->text().contains(QStringLiteral("选中 %1 条记录").arg(big)), qPrintable(d.summary()->text()));
      QVERIFY(d.okButton()->isEnabled());
      QTest::mouseClick(d.okButton(), Qt::LeftButton);
    }));
    for (int r = 1; r <= g.recordCount(); ++r)
      QCOMPARE(g.cell(r, 7), before[size_t(r - 1)].toInt() > 5000 ? QStringLiteral("32767") : before[size_t(r - 1)]);
    QUndoStack& stack = s.window->undo().stack();
    QCOMPARE(stack.count(), 1);
    stack.undo();
    for (int r = 1; r <= g.recordCount(); ++r) QCOMPARE(g.cell(r, 7), before[size_t(r - 1)]);
    QVERIFY(!s.window->isWindowModified());
  }

  // The patch's changes of the open table; a cell changed since is a
  // conflict that keeps OK disabled until the patch's values are chosen.
  void patchDialogShowsConflictsAndAppliesAsOneStep() {
    Shell s(8);
    CopyLanguageFiles(s.programFolder);
    QTemporaryDir modded;
    for (const QString& f : QDir(s.dataFolder).entryList(QDir::Files)) QFile::copy(s.path(f), modded.filePath(f));
    QVERIFY(WriteFile(modded.filePath("b.txt"), "=编号=3\n.人气=1111\n.通告数量=5\n"));
    QCOMPARE(RunCli({"batch", modded.path(), "Team.dat", modded.filePath("b.txt")}).code, 0);
    const QString patch = modded.filePath("mod.v3patch");
    QVERIFY(WriteFile(patch, RunCli({"diff", s.dataFolder, modded.path(), "--patch"}).out));
    QVERIFY(s.start());
    s.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    s.open(QStringLiteral("Team.dat"));
    RecordGrid& g = s.grid();
    const int row3 = 3;
    QCOMPARE(g.cell(row3, 1), QStringLiteral("3"));
    g.setCell(row3, 7, QStringLiteral("2222"));  // changed here since: a conflict

    s.front.fileAnswers << patch;
    QVERIFY(WithDialog<PatchDialog>(s, QStringLiteral("mnu_patch"), [&](PatchDialog& d) {
      QVERIFY2(d.summary()->text().contains(QStringLiteral("1 处修改可以应用，0 处已经应用，1 处冲突")),
               qPrintable(d.summary()->text()));
      QCOMPARE(d.preview()->topLevelItem(0)->text(3), QStringLiteral("2222"));
      QCOMPARE(d.preview()->topLevelItem(0)->text(4), QStringLiteral("1111"));
      QVERIFY(!d.okButton()->isEnabled());
      QTest::mouseClick(d.forceBox(), Qt::LeftButton, {}, QPoint(8, d.forceBox()->height() / 2));
      QVERIFY(d.okButton()->isEnabled());
      QTest::mouseClick(d.okButton(), Qt::LeftButton);
    }));
    QCOMPARE(g.cell(row3, 7), QStringLiteral("1111"));
    QCOMPARE(g.cell(row3, 11), QStringLiteral("5"));
    QUndoStack& stack = s.window->undo().stack();
    const int steps = stack.count();
    stack.undo();
    QCOMPARE(stack.count(), steps);
    QCOMPARE(g.cell(row3, 7), QStringLiteral("2222"));

    // A file that is no patch is refused naming its line; nothing changes.
    QVERIFY(WriteFile(modded.filePath("bad.v3patch"), "Vantaro3 patch\t1\ntables\tTeam.dat\nTeam.dat\tmoved\n"));
    s.front.fileAnswers << modded.filePath("bad.v3patch");
    s.trigger(QStringLiteral("mnu_patch"));
    QVERIFY2(s.front.texts().last().contains(QStringLiteral("bad.v3patch: line 3: ")), qPrintable(s.front.texts().join('\n')));
    QCOMPARE(g.cell(row3, 7), QStringLiteral("2222"));
  }
};

QTEST_MAIN(GuiBatchTest)
#include "test_gui_batch.moc"
