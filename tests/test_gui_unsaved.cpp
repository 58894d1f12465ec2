// Work is never thrown away without a question: the unsaved-changes question
// before every command that would discard the open table's changes, a file
// changed on disk behind the program's back, the recent data folders, and
// Qt's own texts in the interface language.
#include "test_gui_support.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "app/QtTexts.h"
#include "app/StartUp.h"
#include "text/Ini.h"

using namespace v3;
using namespace v3test;

namespace {

const QStringList kSaveButtons{QStringLiteral("保存"), QStringLiteral("不保存"), QStringLiteral("取消")};

QStringList Column(const RecordGrid& g, int c) {
  QStringList out;
  for (int r = 1; r <= g.recordCount(); ++r) out << g.cell(r, c);
  return out;
}

QByteArray ConfigText(const Shell& s) { return ReadFile(s.programFolder + QStringLiteral("/Config.ini")); }

// Another program writes the file: the same records with record 1's name changed.
void WriteBehindTheProgramsBack(const Shell& s, const QString& file) {
  const QString other = s.root.filePath(QStringLiteral("elsewhere"));
  QString error;
  QVERIFY(WriteSampleFolder(other, 99, 9, &error));
  QVERIFY(WriteFile(s.path(file), ReadFile(other + QLatin1Char('/') + file)));
}

}  // namespace

class UnsavedTest : public QObject {
  Q_OBJECT
 private slots:
  void questionBeforeEachCommand_data();
  void questionBeforeEachCommand();
  void noQuestionWithoutChanges();
  void changedOnDiskBeforeSave_data();
  void changedOnDiskBeforeSave();
  void touchAloneDoesNotAsk();
  void changedOnDiskWhenTheWindowIsActiveAgain();
  void recentFolders();
  void folderPickerStartsInTheDataFolder();
  void qtTextsInTheInterfaceLanguage_data();
  void qtTextsInTheInterfaceLanguage();
};

void UnsavedTest::questionBeforeEachCommand_data() {
  QTest::addColumn<QString>("command");
  QTest::addColumn<QString>("answer");  // "保存 refused": 保存, and the save is refused
  for (const char* c : {"exit", "close", "open", "reopen", "reload", "folder", "recent"})
    for (const char* a : {"保存", "不保存", "取消", "保存 refused"})
      QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(c), QString::fromUtf8(a))))
          << QString::fromLatin1(c) << QString::fromUtf8(a);
}

void UnsavedTest::questionBeforeEachCommand() {
  QFETCH(QString, command);
  QFETCH(QString, answer);
  Shell s(9);
  const QString other = s.root.filePath(QStringLiteral("other"));
  QString error;
  QVERIFY(WriteSampleFolder(other, 3, 4, &error));
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  s.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
  const QByteArray onDisk = ReadFile(s.path(QStringLiteral("Team.dat")));
  const bool refused = answer.endsWith(QLatin1String("refused"));
  s.grid().setCell(2, 2, QStringLiteral("改好"));
  if (refused) s.grid().setCell(3, 3, QStringLiteral("不是数字"));  // a number field that cannot be stored
  const QStringList edited = Column(s.grid(), 2);
  if (command == QLatin1String("recent")) RememberRecentDataFolder(s.programFolder, other);
  s.front.answers = QStringList{answer.section(QLatin1Char(' '), 0, 0)};
  s.front.folderAnswers = QStringList{other};

  bool closed = false;
  if (command == QLatin1String("exit")) {
    s.trigger(QStringLiteral("mnu_exit"));
    closed = !s.window->isVisible();
  } else if (command == QLatin1String("close")) {
    closed = s.window->close();  // the window system's close button
  } else if (command == QLatin1String("open")) {
    s.open(QStringLiteral("Item.dat"));
  } else if (command == QLatin1String("reopen")) {
    s.open(QStringLiteral("Team.dat"));
  } else if (command == QLatin1String("reload")) {
    s.trigger(QStringLiteral("mnu_load"));
  } else if (command == QLatin1String("folder")) {
    s.trigger(QStringLiteral("mnu_path"));
  } else {
    QMenu* recent = s.window->findChild<QMenu*>(QStringLiteral("mnu_recent"));
    QVERIFY(recent);
    emit recent->aboutToShow();
    QAction* first = s.window->findChild<QAction*>(QStringLiteral("mnu_recent1"));
    QVERIFY(first);
    QCOMPARE(first->data().toString(), other);
    first->trigger();
  }

  QCOMPARE(s.front.questions.size(), 1);
  QCOMPARE(s.front.questionButtons[0], kSaveButtons);
  QVERIFY(s.front.questions[0].contains(QStringLiteral("Team.dat")));
  const bool goesOn = answer == QStringLiteral("保存") || answer == QStringLiteral("不保存");
  const bool saved = answer == QStringLiteral("保存");
  if (refused) {
    QCOMPARE(s.front.messages.size(), 1);  // why the save was refused
    QVERIFY(s.front.messages[0].text.contains(QStringLiteral("Team.dat")));
  }
  // The file: written only by a save that went through.
  QCOMPARE(ReadFile(s.path(QStringLiteral("Team.dat"))) == onDisk, !saved);
  if (saved)
    QVERIFY(ReadFile(s.path(QStringLiteral("Team.dat"))).contains(EncodeBig5Text(QStringLiteral("改好")).bytes));
  if (!goesOn) {
    // Nothing was discarded and the command stopped.
    QVERIFY(!closed);
    QCOMPARE(s.window->caption(), QStringLiteral("Team.dat"));
    QCOMPARE(s.window->dataFolder(), s.dataFolder);
    QCOMPARE(Column(s.grid(), 2).size(), edited.size());
    QVERIFY(Column(s.grid(), 2).contains(QStringLiteral("改好")));
    QVERIFY(s.window->isWindowModified());
    return;
  }
  if (command == QLatin1String("exit") || command == QLatin1String("close")) QVERIFY(closed);
  if (command == QLatin1String("open")) QCOMPARE(s.window->caption(), QStringLiteral("Item.dat"));
  if (command == QLatin1String("folder") || command == QLatin1String("recent")) {
    // The same table, read from the new folder.
    QCOMPARE(s.window->dataFolder(), other);
    QCOMPARE(s.window->caption(), QStringLiteral("Team.dat"));
    QCOMPARE(s.grid().recordCount(), 4);
  }
  if (command == QLatin1String("reload") || command == QLatin1String("reopen")) {
    QCOMPARE(s.grid().recordCount(), 9);
    QCOMPARE(s.grid().cell(2, 2) == QStringLiteral("改好"), saved);
  }
  QVERIFY(!s.window->isWindowModified() || command == QLatin1String("exit") || command == QLatin1String("close"));
}

void UnsavedTest::noQuestionWithoutChanges() {
  Shell s(9);
  QVERIFY(s.start());
  s.window->show();
  QVERIFY(s.window->close());  // no table open
  s.window->show();
  s.open(QStringLiteral("Team.dat"));
  s.trigger(QStringLiteral("mnu_load"));
  s.open(QStringLiteral("Item.dat"));
  // The read-only nickname table: its rows can be deleted, but a save writes nothing.
  s.open(QStringLiteral("Nickname.tab"));
  SelectRows(s.grid(), Rows({1}));
  s.trigger(QStringLiteral("mnu_de"));
  QVERIFY(s.window->close());
  QVERIFY(s.front.questions.isEmpty());
}

void UnsavedTest::changedOnDiskBeforeSave_data() {
  QTest::addColumn<QString>("answer");
  QTest::newRow("覆盖") << "覆盖";
  QTest::newRow("重新载入") << "重新载入";
  QTest::newRow("取消") << "取消";
}

void UnsavedTest::changedOnDiskBeforeSave() {
  QFETCH(QString, answer);
  Shell s(9);
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  s.grid().setCell(1, 2, QStringLiteral("我的"));
  WriteBehindTheProgramsBack(s, QStringLiteral("Team.dat"));
  const QByteArray theirs = ReadFile(s.path(QStringLiteral("Team.dat")));
  s.front.answers = QStringList{answer};
  s.trigger(QStringLiteral("mnu_save"));
  QCOMPARE(s.front.questions.size(), 1);
  QCOMPARE(s.front.questionButtons[0],
           (QStringList{QStringLiteral("覆盖"), QStringLiteral("重新载入"), QStringLiteral("取消")}));
  const QByteArray now = ReadFile(s.path(QStringLiteral("Team.dat")));
  if (answer == QStringLiteral("覆盖")) {
    QVERIFY(now != theirs);
    QVERIFY(now.contains(EncodeBig5Text(QStringLiteral("我的")).bytes));
    QCOMPARE(ReadFile(s.path(QStringLiteral("Team.dat.bak"))), theirs);
    QVERIFY(!s.window->isWindowModified());
    // Written by the program: the next save does not ask.
    s.grid().setCell(2, 2, QStringLiteral("又改"));
    s.trigger(QStringLiteral("mnu_save"));
    QCOMPARE(s.front.questions.size(), 1);
  } else {
    QCOMPARE(now, theirs);
    QVERIFY(!QFileInfo::exists(s.path(QStringLiteral("Team.dat.bak"))));
    if (answer == QStringLiteral("重新载入")) {
      QVERIFY(!Column(s.grid(), 2).contains(QStringLiteral("我的")));
      QVERIFY(!s.window->isWindowModified());
    } else {
      QCOMPARE(s.grid().cell(1, 2), QStringLiteral("我的"));
      QVERIFY(s.window->isWindowModified());
    }
  }
}

void UnsavedTest::touchAloneDoesNotAsk() {
  Shell s(9);
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  s.grid().setCell(1, 2, QStringLiteral("我的"));
  QFile f(s.path(QStringLiteral("Team.dat")));
  QVERIFY(f.open(QIODevice::ReadWrite));
  QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(120), QFileDevice::FileModificationTime));
  f.close();
  s.trigger(QStringLiteral("mnu_save"));
  QVERIFY(s.front.questions.isEmpty());
  QVERIFY(!s.window->isWindowModified());
}

void UnsavedTest::changedOnDiskWhenTheWindowIsActiveAgain() {
  Shell s(9);
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  s.window->show();
  s.window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
  s.grid().setCell(1, 2, QStringLiteral("我的"));

  QWidget elsewhere;  // the user works in another program meanwhile
  elsewhere.show();
  elsewhere.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
  WriteBehindTheProgramsBack(s, QStringLiteral("Team.dat"));
  s.window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
  QCOMPARE(s.front.questions.size(), 1);  // answered: keep my changes
  QCOMPARE(s.grid().cell(1, 2), QStringLiteral("我的"));
  QVERIFY(s.window->isWindowModified());

  // The same change is not asked about again; a save still asks before it overwrites.
  elsewhere.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
  s.window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
  QCOMPARE(s.front.questions.size(), 1);
  s.trigger(QStringLiteral("mnu_save"));  // answered 取消
  QCOMPARE(s.front.questions.size(), 2);
  QCOMPARE(s.grid().cell(1, 2), QStringLiteral("我的"));

  // A newer change, answered 重新载入: the file's records.
  WriteFile(s.path(QStringLiteral("Team.dat")), ReadFile(s.path(QStringLiteral("Team.dat"))) + QByteArray(4, '\0'));
  const QByteArray theirs = ReadFile(s.path(QStringLiteral("Team.dat")));
  s.front.answers = QStringList{QStringLiteral("重新载入")};
  elsewhere.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
  s.window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
  QCOMPARE(s.front.questions.size(), 3);
  QVERIFY(s.grid().cell(1, 2) != QStringLiteral("我的"));
  QVERIFY(!s.window->isWindowModified());
  QCOMPARE(ReadFile(s.path(QStringLiteral("Team.dat"))), theirs);
}

void UnsavedTest::recentFolders() {
  Shell s(3);
  QStringList folders;
  for (int i = 0; i < 7; ++i) {
    folders << s.root.filePath(QStringLiteral("f%1").arg(i));
    QString error;
    QVERIFY(WriteSampleFolder(folders.last(), unsigned(i), 2, &error));
  }
  QVERIFY(s.start());
  QCOMPARE(s.window->recentFolders(), QStringList{s.dataFolder});
  for (const QString& f : folders) {
    s.front.folderAnswers = QStringList{f};
    s.trigger(QStringLiteral("mnu_path"));
  }
  // Newest first, five at most; the data folder entry is the one the game's tools read.
  const QStringList expected{folders[6], folders[5], folders[4], folders[3], folders[2]};
  QCOMPARE(s.window->recentFolders(), expected);
  QCOMPARE(QString::fromUtf8(ini::FindValue(ConfigText(s), "Config", "Path").value_or(QByteArray())), folders[6]);

  // Choosing one again moves it to the top; the list keeps no duplicates.
  s.window->openRecentFolder(folders[3]);
  QCOMPARE(s.window->dataFolder(), folders[3]);
  QCOMPARE(s.window->recentFolders(), (QStringList{folders[3], folders[6], folders[5], folders[4], folders[2]}));
  QCOMPARE(QString::fromUtf8(ini::FindValue(ConfigText(s), "Config", "Path").value_or(QByteArray())), folders[3]);

  // A folder that no longer holds the game's files is refused, as the picker's would be.
  QFile::remove(folders[5] + QStringLiteral("/CDCase.dat"));
  s.window->openRecentFolder(folders[5]);
  QCOMPARE(s.window->dataFolder(), folders[3]);
  QCOMPARE(s.front.texts().last(), QStringLiteral("未找到文件，设置错误"));

  // The menu lists them, the current one checked.
  QMenu* recent = s.window->findChild<QMenu*>(QStringLiteral("mnu_recent"));
  emit recent->aboutToShow();
  QStringList shown;
  for (QAction* a : recent->actions()) shown << a->data().toString();
  QCOMPARE(shown, s.window->recentFolders());
  QVERIFY(recent->actions().first()->isChecked());
  QVERIFY(!recent->actions().last()->isChecked());
}

void UnsavedTest::folderPickerStartsInTheDataFolder() {
  Shell s(3);
  QVERIFY(s.start());
  s.trigger(QStringLiteral("mnu_path"));
  QCOMPARE(s.front.folderStarts, QStringList{s.dataFolder});
}

void UnsavedTest::qtTextsInTheInterfaceLanguage_data() {
  QTest::addColumn<Script>("language");
  QTest::addColumn<QString>("ok");
  QTest::addColumn<QString>("cancel");
  QTest::addColumn<QString>("copy");
  QTest::addColumn<QString>("lookIn");
  QTest::newRow("Simplified") << Script::Simplified << "确定"
                              << "取消"
                              << "复制"
                              << "查找范围";
  QTest::newRow("Traditional") << Script::Traditional << "確定"
                               << "取消"
                               << "複製"
                               << "尋找於";
}

void UnsavedTest::qtTextsInTheInterfaceLanguage() {
  QFETCH(Script, language);
  QFETCH(QString, ok);
  QFETCH(QString, cancel);
  QFETCH(QString, copy);
  QFETCH(QString, lookIn);
  QVERIFY(InstallQtTranslations(language));
  QMessageBox box;
  box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
  QCOMPARE(box.button(QMessageBox::Ok)->text(), ok);
  QCOMPARE(box.button(QMessageBox::Cancel)->text(), cancel);
  QLineEdit edit;
  std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
  QStringList texts;
  for (QAction* a : menu->actions()) texts << a->text();
  QVERIFY2(texts.join(' ').contains(copy), qPrintable(texts.join(' ')));
  QFileDialog picker(nullptr, QString(), QDir::tempPath());
  picker.setOption(QFileDialog::DontUseNativeDialog);
  picker.setFileMode(QFileDialog::Directory);
  auto* label = picker.findChild<QLabel*>(QStringLiteral("lookInLabel"));
  QVERIFY(label);
  QVERIFY2(label->text().startsWith(lookIn), qPrintable(label->text()));
}

QTEST_MAIN(UnsavedTest)
#include "test_gui_unsaved.moc"
