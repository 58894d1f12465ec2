// 编辑 → 批量修改… and 文件 → 应用补丁… in a shown window: instructions
// typed into the dialog, its live preview, conflicts, the batch as one undo
// step of the open table, and a patch of several files as one undo step.
#include "test_gui_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>

#include "app/BatchCommands.h"
#include "app/GridCommands.h"
#include "app/GridView.h"
#include "app/Messages.h"
#include "app/Progress.h"
#include "tools/ToolTable.h"

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

// The data files of a folder (no backups, no work files) and their bytes.
QMap<QString, QByteArray> DataFiles(const QString& folder) {
  QMap<QString, QByteArray> out;
  for (const QString& f : QDir(folder).entryList(QDir::Files))
    if (!f.endsWith(".bak") && !f.endsWith(".txt") && !f.endsWith(".v3patch"))
      out.insert(f, ReadFile(folder + '/' + f));
  return out;
}

void CopyDataFiles(const QString& from, const QString& to) {
  for (const QString& f : DataFiles(from).keys()) QFile::copy(from + '/' + f, to + '/' + f);
}

// The folder's files once `vantaro3-cli apply` has applied the patch to a copy.
QMap<QString, QByteArray> AppliedByCli(const QString& folder, const QString& patch, const QStringList& options = {}) {
  QTemporaryDir copy;
  CopyDataFiles(folder, copy.path());
  const CliRun r = RunCli(QStringList{"apply", copy.path(), patch} + options);
  if (r.code != 0) qWarning() << "apply:" << r.err;
  return DataFiles(copy.path());
}

// A patch from the folder to a copy changed by `vantaro3-cli batch`, one
// "TABLE\nINSTRUCTIONS" a batch.
QString PatchOf(const QString& folder, const QStringList& batches, const QString& where) {
  QDir(where).mkpath(QStringLiteral("modded"));
  const QString modded = where + QStringLiteral("/modded");
  CopyDataFiles(folder, modded);
  for (const QString& b : batches) {
    const QString table = b.section(u'\n', 0, 0);
    WriteFile(where + "/b.txt", b.section(u'\n', 1).toUtf8());
    const CliRun r = RunCli({"batch", modded, table, where + "/b.txt"});
    if (r.code != 0) qWarning() << "batch:" << table << r.err;
  }
  const QString patch = where + QStringLiteral("/mod.v3patch");
  WriteFile(patch, RunCli({"diff", folder, modded, "--patch"}).out);
  return patch;
}

// The names of the files whose bytes differ between two sets.
QStringList Differing(const QMap<QString, QByteArray>& a, const QMap<QString, QByteArray>& b) {
  QStringList out;
  for (auto it = a.begin(); it != a.end(); ++it)
    if (b.value(it.key()) != it.value()) out << it.key();
  for (auto it = b.begin(); it != b.end(); ++it)
    if (!a.contains(it.key())) out << it.key();
  return out;
}

// What the window told and asked, for a failure's message.
QString Told(const Shell& s) { return (s.front.texts() + s.front.questions).join(u'\n'); }

// Whether the grid shows the table's file as a load reads it.
bool GridShowsFile(const RecordGrid& g, const QString& folder, const QString& table) {
  ToolTable t;
  std::vector<QStringList> rows;
  bool exists = false;
  return FindToolTable(table, &t) && t.read(folder, Script::Traditional, &rows, &exists, nullptr) &&
         g.records() == rows;
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
      QVERIFY2(d.summary()->text().contains(QStringLiteral("选中 %1 条记录").arg(big)),
               qPrintable(d.summary()->text()));
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

  // A patch of the open table and others, or of others only: the dialog
  // previews every table, OK writes every file as vantaro3-cli apply does,
  // and Ctrl+Z / Ctrl+Y write the files back and forth as one step. A file
  // changed since refuses the undo and leaves every file as it is.
  void patchOfSeveralTablesIsOneUndoStep_data() {
    QTest::addColumn<Script>("script");
    QTest::addColumn<QString>("open");
    QTest::addColumn<QStringList>("batches");
    QTest::addColumn<QString>("answer");  // to the question about the open table's unsaved edit; empty: none asked
    QTest::addColumn<bool>("rereads");
    QTest::newRow("open table and two others")
        << Script::Simplified << "Team.dat"
        << QStringList{"Team.dat\n=编号=3\n.人气=1111\n", "CDCase.dat\n>叛逆=50\n.叛逆-=7\n",
                       "Level.tab\n=能力值=480\n.能力值=450\n"}
        << "不保存" << true;
    QTest::newRow("Producer.tab and the open case table")
        << Script::Traditional << "CDCase.dat"
        << QStringList{"Producer.tab\n=1=1\n.3=9\n", "CDCase.dat\n<叛逆=50\n.叛逆=1\n"} << "保存" << true;
    QTest::newRow("other tables only") << Script::Simplified << "Team.dat"
                                       << QStringList{"CDCase.dat\n.叛逆=2\n", "Length.tab\n.通告期限+=1\n"} << ""
                                       << false;
  }

  void patchOfSeveralTablesIsOneUndoStep() {
    QFETCH(Script, script);
    QFETCH(QString, open);
    QFETCH(QStringList, batches);
    QFETCH(QString, answer);
    QFETCH(bool, rereads);
    Shell s(8);
    CopyLanguageFiles(s.programFolder);
    QTemporaryDir work;
    const QString patch = PatchOf(s.dataFolder, batches, work.path());
    QVERIFY(s.start(script));
    s.window->show();
    s.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
    s.open(open);
    RecordGrid& g = s.grid();
    const QString edited = g.cell(2, 2) + QStringLiteral("x");
    g.setCell(2, 2, edited);  // an unsaved edit of a cell the patch leaves alone
    if (!answer.isEmpty()) s.front.answers << msg::Localised(script, answer);
    s.front.fileAnswers << patch;

    QMap<QString, QByteArray> before, after;  // the files when the dialog shows, and as the tool applies the patch
    const auto preview = [&](PatchDialog& d) {
      before = DataFiles(s.dataFolder);
      after = AppliedByCli(s.dataFolder, patch);
      QCOMPARE(d.preview()->topLevelItemCount(), int(batches.size()));
      const QString tables = msg::Localised(script, QStringLiteral("补丁修改 %1 个表：")).arg(batches.size());
      QVERIFY2(d.summary()->text().contains(tables) &&
                   d.summary()->text().contains(msg::Localised(script, QStringLiteral("0 处冲突"))),
               qPrintable(d.summary()->text()));
      QVERIFY(d.okButton()->isEnabled());
      QTest::mouseClick(d.okButton(), Qt::LeftButton);
    };
    QVERIFY2(WithDialog<PatchDialog>(s, QStringLiteral("mnu_patch"), preview), qPrintable(Told(s)));
    QCOMPARE(s.front.questions.size(), answer.isEmpty() ? 0 : 1);
    const QStringList changed = Differing(before, after);
    QCOMPARE(changed.size(), int(batches.size()));
    QCOMPARE(Differing(DataFiles(s.dataFolder), after), QStringList{});
    QUndoStack& stack = s.window->undo().stack();
    if (rereads) {
      // The open table shows its file; the patch is its only step.
      QVERIFY(GridShowsFile(g, s.dataFolder, open));
      QCOMPARE(stack.count(), 1);
      QVERIFY(!s.window->isWindowModified());
    } else {
      QCOMPARE(g.cell(2, 2), edited);  // the unsaved edit stays, and stays unsaved
      QCOMPARE(stack.count(), 2);
      QVERIFY(s.window->isWindowModified());
    }

    // An edit made after the patch: undone before it, and replayed after it
    // only where the table was not read again (its records are others then).
    const QString later = g.cell(3, 2) + QStringLiteral("y");
    g.setCell(3, 2, later);
    s.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
    GridView* view = s.window->gridView();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Differing(DataFiles(s.dataFolder), before), QStringList{});
    if (rereads) QVERIFY(GridShowsFile(g, s.dataFolder, open));
    QCOMPARE(g.cell(2, 2), rereads && answer != QStringLiteral("保存") ? edited.chopped(1) : edited);
    QCOMPARE(s.window->isWindowModified(), !rereads);
    QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(Differing(DataFiles(s.dataFolder), after), QStringList{});
    if (rereads) QVERIFY(GridShowsFile(g, s.dataFolder, open));
    QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(g.cell(3, 2) == later, !rereads);
    if (rereads) {
      QVERIFY(GridShowsFile(g, s.dataFolder, open));
      QCOMPARE(stack.count(), 1);
    } else {
      QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);  // the edit again, down to the patch
    }
    QVERIFY(QDir(s.path("Vantaro3Backups")).exists(changed.first()));

    // A file changed since: the undo writes none of them and says why.
    const QString other = changed.last();
    QByteArray touched = after.value(other);
    touched[touched.size() - 1] = char(touched.back() ^ 1);
    QVERIFY(WriteFile(s.path(other), touched));
    const int steps = stack.count();
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    QMap<QString, QByteArray> expected = after;
    expected.insert(other, touched);
    QCOMPARE(Differing(DataFiles(s.dataFolder), expected), QStringList{});
    QCOMPARE(stack.count(), steps - 1);
    QTRY_VERIFY(!s.front.messages.isEmpty());
    QVERIFY2(s.front.texts().last().startsWith(msg::Localised(script, QStringLiteral("无法撤销应用补丁："))),
             qPrintable(s.front.texts().join('\n')));
  }

  // Another data folder starts a history of its own: the patch's step, which
  // writes the files of the folder it was applied to, is gone from it.
  void anotherFolderEndsThePatchStep() {
    Shell s(8);
    CopyLanguageFiles(s.programFolder);
    QTemporaryDir work, other;
    const QString patch = PatchOf(s.dataFolder, {"CDCase.dat\n.叛逆=2\n"}, work.path());
    const QMap<QString, QByteArray> files = DataFiles(s.dataFolder);
    for (auto it = files.begin(); it != files.end(); ++it) QVERIFY(WriteFile(other.filePath(it.key()), it.value()));
    QVERIFY(s.start(Script::Simplified));
    s.window->show();  // no table open: nothing else ends the history
    s.front.fileAnswers << patch;
    QVERIFY2(WithDialog<PatchDialog>(s, QStringLiteral("mnu_patch"),
                                     [](PatchDialog& d) { QTest::mouseClick(d.okButton(), Qt::LeftButton); }),
             qPrintable(Told(s)));
    const QMap<QString, QByteArray> patched = DataFiles(s.dataFolder);
    QCOMPARE(Differing(patched, files), QStringList{"CDCase.dat"});
    QCOMPARE(s.window->undo().stack().count(), 1);
    s.window->openRecentFolder(other.path());
    QCOMPARE(s.window->dataFolder(), other.path());
    QCOMPARE(s.window->undo().stack().count(), 0);
    QCOMPARE(Differing(DataFiles(s.dataFolder), patched), QStringList{});
  }

  // A batch that goes through the records past the delay shows a progress
  // dialog: 取消 leaves nothing to apply (OK disabled, the table as it was);
  // left alone, the batch previews and applies as it does without one.
  void batchRunCanBeCancelled_data() {
    QTest::addColumn<Script>("script");
    QTest::addColumn<bool>("cancel");
    QTest::newRow("取消") << Script::Simplified << true;
    QTest::newRow("取消, Traditional") << Script::Traditional << true;
    QTest::newRow("left to finish, Traditional") << Script::Traditional << false;
  }
  void batchRunCanBeCancelled() {
    QFETCH(Script, script);
    QFETCH(bool, cancel);
    SetProgressDelay(0);
    auto delay = qScopeGuard([] { SetProgressDelay(1000); });
    Shell s(3000);
    QVERIFY(s.start(script));
    s.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    s.open(QStringLiteral("Team.dat"));
    const std::vector<QStringList> before = s.grid().records();

    QString label, summary;
    bool okEnabled = true, typed = false;
    QTimer progressPoll, dialogPoll;
    connect(&progressPoll, &QTimer::timeout, [&] {
      auto* p = s.window->findChild<QProgressDialog*>("batchProgress");
      if (!typed || !p || !p->isVisible() || !label.isEmpty()) return;
      label = p->labelText();
      if (cancel) QTest::mouseClick(p->findChild<QPushButton*>("progressCancel"), Qt::LeftButton);
    });
    connect(&dialogPoll, &QTimer::timeout, [&] {
      auto* d = qobject_cast<BatchDialog*>(QApplication::activeModalWidget());
      if (!d || !d->isVisible()) return;
      dialogPoll.stop();
      // The last key makes the program that is run (".7=" alone is one too).
      QTest::keyClicks(d->instructions(), QStringLiteral(".7="));
      typed = true;
      QTest::keyClick(d->instructions(), Qt::Key_1);
      summary = d->summary()->text();
      okEnabled = d->okButton()->isEnabled();
      if (okEnabled)
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
      else
        d->reject();
    });
    progressPoll.start(0);
    dialogPoll.start(0);
    s.trigger(QStringLiteral("mnu_batch"));
    QCOMPARE(label, msg::Localised(script, QStringLiteral("正在执行批量修改…")));
    QCOMPARE(okEnabled, !cancel);
    if (cancel) {
      QCOMPARE(summary, msg::Localised(script, QStringLiteral("已取消：没有修改任何记录。")));
      QCOMPARE(s.grid().records(), before);
      QVERIFY(!s.grid().isModified());
    } else {
      for (int r = 1; r <= s.grid().recordCount(); ++r) QCOMPARE(s.grid().cell(r, 7), QStringLiteral("1"));
    }
  }

  // Reading the patch's tables and making their contents shows a progress
  // dialog once it goes on past the delay: 取消 there leaves the patch
  // unapplied (OK disabled, nothing written when the dialog closes); left
  // alone, the patch is applied as the tool applies it.
  void patchReadingCanBeCancelled_data() {
    QTest::addColumn<Script>("script");
    QTest::addColumn<bool>("cancel");
    QTest::newRow("取消") << Script::Simplified << true;
    QTest::newRow("取消, Traditional") << Script::Traditional << true;
    QTest::newRow("left to finish") << Script::Simplified << false;
  }
  void patchReadingCanBeCancelled() {
    QFETCH(Script, script);
    QFETCH(bool, cancel);
    SetProgressDelay(0);  // as if the tables were large or the disk slow
    auto delay = qScopeGuard([] { SetProgressDelay(1000); });
    Shell s(8);
    CopyLanguageFiles(s.programFolder);
    QTemporaryDir work;
    const QString patch = PatchOf(
        s.dataFolder, {"CDCase.dat\n.叛逆=2\n", "Team.dat\n=编号=3\n.人气=1111\n", "Length.tab\n.通告期限+=1\n"},
        work.path());
    const QMap<QString, QByteArray> before = DataFiles(s.dataFolder);
    const QMap<QString, QByteArray> after = AppliedByCli(s.dataFolder, patch);
    QCOMPARE(Differing(before, after).size(), 3);
    QVERIFY(s.start(script));
    s.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    s.open(QStringLiteral("Item.dat"));
    s.front.fileAnswers << patch;

    QString label, summary;
    bool okEnabled = true;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
      auto* progress = s.window->findChild<QProgressDialog*>("patchProgress");
      if (progress && progress->isVisible() && label.isEmpty()) {
        label = progress->labelText();
        if (cancel) QTest::mouseClick(progress->findChild<QPushButton*>("progressCancel"), Qt::LeftButton);
        return;
      }
      auto* d = qobject_cast<PatchDialog*>(QApplication::activeModalWidget());
      if (!d || !d->isVisible()) return;
      poll.stop();
      summary = d->summary()->text();
      okEnabled = d->okButton()->isEnabled();
      if (okEnabled)
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
      else
        d->reject();
    });
    poll.start(0);
    s.trigger(QStringLiteral("mnu_patch"));
    poll.stop();
    QCOMPARE(label, msg::Localised(script, QStringLiteral("正在读取补丁所改的表…")));
    QCOMPARE(okEnabled, !cancel);
    if (cancel) QCOMPARE(summary, msg::Localised(script, QStringLiteral("已取消：补丁未应用，没有写入任何文件。")));
    QCOMPARE(DataFiles(s.dataFolder), cancel ? before : after);
  }

  // A conflict writes nothing until "use the patch's values" is chosen; the
  // unsaved edit that makes it is saved first when the user says so.
  void patchConflictWritesNothingUntilForced_data() {
    QTest::addColumn<Script>("script");
    QTest::newRow("Simplified") << Script::Simplified;
    QTest::newRow("Traditional") << Script::Traditional;
  }

  void patchConflictWritesNothingUntilForced() {
    QFETCH(Script, script);
    Shell s(8);
    CopyLanguageFiles(s.programFolder);
    QTemporaryDir work;
    const QString patch = PatchOf(s.dataFolder, {"Team.dat\n=编号=3\n.人气=1111\n.通告数量=5\n"}, work.path());
    QVERIFY(s.start(script));
    s.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    s.open(QStringLiteral("Team.dat"));
    RecordGrid& g = s.grid();
    const int row3 = 3;
    QCOMPARE(g.cell(row3, 1), QStringLiteral("3"));
    g.setCell(row3, 7, QStringLiteral("2222"));  // changed here since: a conflict once saved

    const QString conflicts = msg::Localised(script, QStringLiteral("1 处修改可以应用，0 处已经应用，1 处冲突"));
    s.front.answers << msg::Localised(script, QStringLiteral("保存"));
    s.front.fileAnswers << patch;
    QByteArray saved;
    const auto conflicting = [&](PatchDialog& d) {
      saved = ReadFile(s.path("Team.dat"));
      QVERIFY2(d.summary()->text().contains(conflicts), qPrintable(d.summary()->text()));
      // The way out named as the check box is.
      QVERIFY2(d.summary()->text().contains(d.forceBox()->text()) &&
                   d.forceBox()->text() == msg::Localised(script, QStringLiteral("冲突处使用补丁的值")),
               qPrintable(d.summary()->text()));
      const QTreeWidgetItem* conflict = d.preview()->topLevelItem(0)->child(0);
      QCOMPARE(conflict->text(0), QStringLiteral("Team.dat"));
      QCOMPARE(conflict->text(4), QStringLiteral("2222"));
      QCOMPARE(conflict->text(5), QStringLiteral("1111"));
      QVERIFY(!d.okButton()->isEnabled());
    };
    QVERIFY2(WithDialog<PatchDialog>(s, QStringLiteral("mnu_patch"), conflicting), qPrintable(Told(s)));
    QCOMPARE(ReadFile(s.path("Team.dat")), saved);  // cancelled: nothing written
    QVERIFY(!s.window->isWindowModified());

    s.front.fileAnswers << patch;
    QMap<QString, QByteArray> forced;
    QVERIFY(WithDialog<PatchDialog>(s, QStringLiteral("mnu_patch"), [&](PatchDialog& d) {
      forced = AppliedByCli(s.dataFolder, patch, {"--force"});
      QTest::mouseClick(d.forceBox(), Qt::LeftButton, {}, QPoint(8, d.forceBox()->height() / 2));
      QVERIFY(d.okButton()->isEnabled());
      QTest::mouseClick(d.okButton(), Qt::LeftButton);
    }));
    QCOMPARE(ReadFile(s.path("Team.dat")), forced.value("Team.dat"));
    QCOMPARE(g.cell(row3, 7), QStringLiteral("1111"));
    QCOMPARE(g.cell(row3, 11), QStringLiteral("5"));
    QUndoStack& stack = s.window->undo().stack();
    QCOMPARE(stack.count(), 1);
    stack.undo();
    QCOMPARE(ReadFile(s.path("Team.dat")), saved);
    QCOMPARE(g.cell(row3, 7), QStringLiteral("2222"));

    // Changed on disk since the undo: the redo writes nothing and says why.
    QByteArray touched = saved;
    touched[touched.size() - 1] = char(touched.back() ^ 1);
    QVERIFY(WriteFile(s.path("Team.dat"), touched));
    stack.redo();
    QCOMPARE(ReadFile(s.path("Team.dat")), touched);
    QCOMPARE(stack.count(), 0);
    QTRY_VERIFY(!s.front.messages.isEmpty());
    QVERIFY2(s.front.texts().last().startsWith(msg::Localised(script, QStringLiteral("无法重做应用补丁："))),
             qPrintable(Told(s)));
    saved = touched;

    // A file that is no patch is refused naming its line; nothing changes.
    QVERIFY(WriteFile(work.filePath("bad.v3patch"), "Vantaro3 patch\t1\ntables\tTeam.dat\nTeam.dat\tmoved\n"));
    s.front.fileAnswers << work.filePath("bad.v3patch");
    s.trigger(QStringLiteral("mnu_patch"));
    QVERIFY2(s.front.texts().last().contains(QStringLiteral("bad.v3patch: line 3: ")),
             qPrintable(s.front.texts().join('\n')));
    QCOMPARE(ReadFile(s.path("Team.dat")), saved);
  }
};

QTEST_MAIN(GuiBatchTest)
#include "test_gui_batch.moc"
