// File → 恢复较早的版本…: the open table's backup history in a dialog, the
// differences a restore would make, the restore itself as a save, and what
// keeps it from overwriting work: the unsaved-changes question and a file
// changed by another program.
#include "test_gui_support.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>

#include "app/GridView.h"
#include "app/RestoreDialog.h"
#include "storage/BackupHistory.h"

using namespace v3;
using namespace v3test;

namespace {

const QString kTeam = QStringLiteral("Team.dat");
constexpr int kRow = 2, kColumn = 2;  // the cell every save here changes: a team's name

void CopyLanguageFiles(const QString& programFolder) {
  for (const char* f : {"CHS.txt", "CHT.txt"})
    QFile::copy(QCoreApplication::applicationDirPath() + "/" + f, programFolder + "/" + f);
}

// A shown window with Team.dat open; the editor that F2 opens writes
// `edit` into the selected rows' name.
struct Window {
  Shell s{20};
  QString edit;

  explicit Window(Script language = Script::Simplified) {
    CopyLanguageFiles(s.programFolder);
    s.dialogs.onEditor = [this](const EditorRequest&, RecordGrid& g) {
      for (int row : g.selectedRows()) g.setCell(row, kColumn, edit);
    };
    if (!s.start(language)) qWarning("the window did not start");
    s.window->show();
    if (!QTest::qWaitForWindowExposed(s.window.get())) qWarning("not shown");
    s.open(kTeam);
  }
  GridView* view() const { return s.window->gridView(); }
  QString file() const { return s.path(kTeam); }

  // Row kRow's name becomes `value` through the editor, as the user edits it.
  void editCell(const QString& value) {
    edit = value;
    QApplication::setActiveWindow(s.window.get());  // back from a dialog
    view()->setFocus();
    const QRect cell = view()->visualRect(s.grid().index(kRow - 1, kColumn));
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::keyClick(view(), Qt::Key_Return);
    QCOMPARE(s.grid().cell(kRow, kColumn), value);
  }
  void editAndSave(const QString& value) {
    editCell(value);
    QTest::keyClick(view(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY2(!s.window->isWindowModified(), qPrintable(s.front.texts().join('\n')));
  }
};

// Opens the dialog through the menu; `inside` runs while it is shown, as
// the user looking at it and pressing keys.
void WithDialog(Window& w, const std::function<void(RestoreDialog&)>& inside) {
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<RestoreDialog*>(QApplication::activeModalWidget());
    if (!d) return;
    seen = true;
    // The keys go to the list, focused in the active dialog.
    if (QTest::qWaitFor(
            [&] { return QApplication::activeWindow() == d && QApplication::focusWidget() == d->versionList(); }))
      inside(*d);
    else
      qWarning("the list is not focused in the active dialog");
    if (d->isVisible()) d->reject();  // a failed check must not leave the dialog open
  });
  w.s.trigger(QStringLiteral("mnu_restore"));
  QVERIFY(seen);
}

QStringList Ids(const RestoreDialog& d) {
  QStringList ids;
  for (int i = 0; i < d.versionList()->topLevelItemCount(); ++i) ids << d.versionList()->topLevelItem(i)->text(0);
  return ids;
}

}  // namespace

class RestoreTest : public QObject {
  Q_OBJECT
 private slots:
  void restoresTheChosenVersion_data();
  void restoresTheChosenVersion();
  void nothingIsOverwrittenUnasked_data();
  void nothingIsOverwrittenUnasked();
  void emptyHistoryAndNoTable();
};

void RestoreTest::restoresTheChosenVersion_data() {
  QTest::addColumn<Script>("language");
  QTest::addColumn<int>("down");  // Down presses in the list: 0 the newest version
  QTest::newRow("newest") << Script::Simplified << 0;
  QTest::newRow("older") << Script::Simplified << 1;
  QTest::newRow("older, Traditional") << Script::Traditional << 1;
}

void RestoreTest::restoresTheChosenVersion() {
  QFETCH(Script, language);
  QFETCH(int, down);
  Window w(language);
  const bool traditional = language == Script::Traditional;
  QCOMPARE(w.s.action(QStringLiteral("mnu_restore"))->text(),
           traditional ? QStringLiteral("恢復較早的版本…") : QStringLiteral("恢复较早的版本…"));
  const QString original = w.s.grid().cell(kRow, kColumn);
  const QByteArray bytes0 = ReadFile(w.file());
  w.editAndSave(QStringLiteral("第一次"));
  const QByteArray bytes1 = ReadFile(w.file());
  w.editAndSave(QStringLiteral("第二次"));
  const QByteArray bytes2 = ReadFile(w.file());
  const QByteArray chosen = down == 0 ? bytes1 : bytes0;
  const QString chosenName = down == 0 ? QStringLiteral("第一次") : original;

  WithDialog(w, [&](RestoreDialog& d) {
    QCOMPARE(Ids(d), QStringList({"2", "1"}));  // newest first
    QCOMPARE(d.versionList()->topLevelItem(0)->text(2), QString::number(bytes1.size()));
    for (int i = 0; i < down; ++i) QTest::keyClick(d.versionList(), Qt::Key_Down);
    QCOMPARE(d.chosenId(), 2 - down);
    // That cell alone, from what the file holds now to what the version holds.
    QCOMPARE(d.preview()->toPlainText(),
             QStringLiteral("%1%2：%3：第二次 → %4")
                 .arg(traditional ? QStringLiteral("記錄 ") : QStringLiteral("记录 "), w.s.grid().cell(kRow, 1),
                      w.s.grid().headerText(kColumn), chosenName));
    QTest::keyClick(d.versionList(), Qt::Key_Return);
    QVERIFY(!d.isVisible());
  });

  QVERIFY2(w.s.front.messages.isEmpty(), qPrintable(w.s.front.texts().join('\n')));
  QCOMPARE(ReadFile(w.file()), chosen);
  QCOMPARE(w.s.grid().cell(kRow, kColumn), chosenName);
  QVERIFY(!w.s.window->isWindowModified());
  QVERIFY(!w.s.window->undoStack().canUndo());
  QVERIFY(w.s.window->statusLine().startsWith(traditional ? QStringLiteral("已恢復") : QStringLiteral("已恢复")));
  // The replaced file is the newest version now.
  const std::vector<BackupVersion> history = BackupVersions(w.file());
  QByteArray replaced;
  QString error;
  QVERIFY(history.size() == 3 && ReadBackupVersion(history.front(), &replaced, &error));
  QCOMPARE(replaced, bytes2);
  // What the window restored it saves over without a question.
  w.editAndSave(QStringLiteral("之后"));
  QVERIFY(w.s.front.questions.isEmpty());
}

void RestoreTest::nothingIsOverwrittenUnasked_data() {
  QTest::addColumn<QString>("answer");     // to the unsaved-changes question; empty: no unsaved changes
  QTest::addColumn<bool>("otherProgram");  // another program writes the file while the dialog is open
  QTest::addColumn<bool>("restored");
  QTest::addColumn<int>("versionsAfter");
  QTest::newRow("unsaved, 取消") << "取消" << false << false << 1;
  QTest::newRow("unsaved, 不保存") << "不保存" << false << true << 2;
  QTest::newRow("unsaved, 保存") << "保存" << false << true << 3;  // the edit is a version too
  QTest::newRow("changed on disk") << "" << true << false << 1;
}

void RestoreTest::nothingIsOverwrittenUnasked() {
  QFETCH(QString, answer);
  QFETCH(bool, otherProgram);
  QFETCH(bool, restored);
  QFETCH(int, versionsAfter);
  Window w;
  const QString original = w.s.grid().cell(kRow, kColumn);
  const QByteArray bytes0 = ReadFile(w.file());
  w.editAndSave(QStringLiteral("已保存"));
  QByteArray onDisk = ReadFile(w.file());
  if (!answer.isEmpty()) {
    w.editCell(QStringLiteral("未保存"));
    w.s.front.answers = QStringList{answer};
  }

  WithDialog(w, [&](RestoreDialog& d) {
    if (otherProgram) {
      // The same records, the edited name changed once more.
      const QByteArray mine = EncodeBig5Text(QStringLiteral("已保存")).bytes;
      onDisk.replace(onDisk.indexOf(mine), mine.size(), EncodeBig5Text(QStringLiteral("别人写")).bytes);
      QVERIFY(WriteFile(w.file(), onDisk));
    }
    QTest::keyClick(d.versionList(), Qt::Key_Return);
  });

  if (!answer.isEmpty()) {
    QCOMPARE(w.s.front.questions.size(), 1);
    QVERIFY(w.s.front.questions[0].contains(kTeam));
    QCOMPARE(w.s.front.questionButtons[0], QStringList({"保存", "不保存", "取消"}));
  }
  if (otherProgram) {
    QCOMPARE(w.s.front.messages.size(), 1);
    QVERIFY(w.s.front.messages[0].icon == UiFront::Icon::Warning && w.s.front.messages[0].text.contains(kTeam));
    QVERIFY(w.s.window->statusLine().contains(QStringLiteral("未恢复")));
  } else {
    QVERIFY2(w.s.front.messages.isEmpty(), qPrintable(w.s.front.texts().join('\n')));
  }
  QCOMPARE(ReadFile(w.file()), restored ? bytes0 : onDisk);
  const QString shown = restored ? original : answer.isEmpty() ? QStringLiteral("已保存") : QStringLiteral("未保存");
  QCOMPARE(w.s.grid().cell(kRow, kColumn), shown);
  QCOMPARE(w.s.window->isWindowModified(), answer == QStringLiteral("取消"));
  QCOMPARE(int(BackupVersions(w.file()).size()), versionsAfter);
}

void RestoreTest::emptyHistoryAndNoTable() {
  Shell s(20);
  QVERIFY(s.start());
  QAction* restore = s.action(QStringLiteral("mnu_restore"));
  QVERIFY(!restore->isEnabled());
  s.open(QStringLiteral("Nickname.tab"));  // a table the window never writes
  QVERIFY(!restore->isEnabled());

  Window w;
  const QByteArray before = ReadFile(w.file());
  WithDialog(w, [&](RestoreDialog& d) {
    QCOMPARE(d.versionList()->topLevelItemCount(), 0);
    QVERIFY(d.noteLabel()->text().contains(QStringLiteral("没有较早的版本")));
    QVERIFY(!d.restoreButton()->isEnabled());
    QTest::keyClick(d.versionList(), Qt::Key_Return);  // nothing to restore: the dialog stays
    QVERIFY(d.isVisible());
    QTest::keyClick(d.versionList(), Qt::Key_Escape);
    QVERIFY(!d.isVisible());
  });
  QCOMPARE(ReadFile(w.file()), before);
  QVERIFY(w.s.front.messages.isEmpty() && w.s.front.questions.isEmpty());
  QVERIFY(!QFileInfo::exists(BackupHistoryFolder(w.file())));
}

QTEST_MAIN(RestoreTest)
#include "test_gui_restore.moc"
