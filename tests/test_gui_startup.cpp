// Start-up and the data folder: Config.ini, the folder picker, the messages,
// the interface language, and the set-data-folder command.
#include "test_gui_support.h"

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "app/GridView.h"
#include "app/Messages.h"
#include "app/StartUp.h"
#include "app/Texts.h"
#include "text/Ini.h"
#include "text/Locale.h"

using namespace v3;
using namespace v3test;

namespace {

const QString kPathWrong = QStringLiteral("路径错误，请重新设置");
const QString kNotFound = QStringLiteral("未找到文件，设置错误");

QString ConfigPath(const Shell& s) { return s.programFolder + QStringLiteral("/Config.ini"); }

std::optional<QByteArray> ConfigEntry(const Shell& s) {
  return ini::FindValue(ReadFile(ConfigPath(s)), "Config", "Path");
}

// Whether the message is the welcome page's answer to a folder without
// CDCase.dat: it names the folder and the file looked for.
bool NamesWhatWasLookedFor(const QString& message, const QString& folder) {
  return message.contains(QDir::toNativeSeparators(folder)) && message.contains(QStringLiteral("CDCase.dat")) &&
         message.contains(QStringLiteral("StarRole.dat"));
}

// Drives the welcome page once it shows, shown and active: clicks each
// button named in turn (RecentFolders: its first entry) while the page is
// open, then leaves a page still open with Escape, as a user quitting.
// The returned timer is the driver: it goes with the test that made it.
[[nodiscard]] std::unique_ptr<QTimer> OnWelcomePage(const QStringList& clicks, int* shown) {
  auto timer = std::make_unique<QTimer>();
  timer->setSingleShot(true);
  QObject::connect(timer.get(), &QTimer::timeout, [clicks, shown] {
    auto* page = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!page || page->objectName() != QLatin1String("Welcome")) return;
    ++*shown;
    page->activateWindow();
    if (!QTest::qWaitForWindowActive(page)) QApplication::setActiveWindow(page);
    for (const QString& name : clicks) {
      if (!page->isVisible()) break;
      if (name == QLatin1String("RecentFolders")) {
        auto* list = page->findChild<QListWidget*>(name);
        if (!list) break;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
      } else if (auto* button = page->findChild<QPushButton*>(name)) {
        QTest::mouseClick(button, Qt::LeftButton);
      }
    }
    if (page->isVisible()) QTest::keyClick(page, Qt::Key_Escape);
  });
  timer->start(0);
  return timer;
}

}  // namespace

class StartUpTest : public QObject {
  Q_OBJECT
 private slots:
  void settlesTheDataFolder_data();
  void settlesTheDataFolder();
  void messagesFollowTheLanguage_data();
  void messagesFollowTheLanguage();
  void dataFilesAreFoundWithoutRegardToCase();
  void scriptFromTheSystemLocale_data();
  void scriptFromTheSystemLocale();
  void setDataFolderCommand_data();
  void setDataFolderCommand();
  void unwritableConfigIsReported();
  void welcomePage_data();
  void welcomePage();
  void reopensTheLastTable_data();
  void reopensTheLastTable();
  void tablesOverview_data();
  void tablesOverview();
};

// config: "none" (no Config.ini), "nokey" (file without the Path entry),
// "valid" (names the data folder), "wrong" (names a folder without CDCase.dat).
// answer: what the picker returns: "data", "empty" (a folder without
// CDCase.dat), or "" (cancel). probeInProgram: CDCase.dat in the program folder.
void StartUpTest::settlesTheDataFolder_data() {
  QTest::addColumn<QString>("config");
  QTest::addColumn<bool>("probeInProgram");
  QTest::addColumn<QString>("answer");
  QTest::addColumn<bool>("proceeds");
  QTest::addColumn<QStringList>("messages");
  QTest::addColumn<int>("prompts");
  QTest::addColumn<QString>("folder");       // the data folder after start-up ("data", "program", "")
  QTest::addColumn<QString>("configAfter");  // Config.ini's Path afterwards ("data", "program", "wrong", "none")

  QTest::newRow("no Config.ini, valid choice") << "none" << false << "data" << true << QStringList() << 1 << "data"
                                               << "data";
  QTest::newRow("no Config.ini, cancel") << "none" << false << "" << false << QStringList() << 1 << ""
                                         << "none";
  QTest::newRow("no Config.ini, folder without CDCase.dat")
      << "none" << false << "empty" << false << QStringList{kNotFound} << 1 << ""
      << "none";
  QTest::newRow("no Path key, program folder not a data folder, valid choice")
      << "nokey" << false << "data" << true << QStringList{kPathWrong} << 1 << "data"
      << "data";
  QTest::newRow("no Path key, program folder is a data folder")
      << "nokey" << true << "" << true << QStringList() << 0 << "program"
      << "program";
  QTest::newRow("no Path key, cancel keeps the default written")
      << "nokey" << false << "" << false << QStringList{kPathWrong} << 1 << ""
      << "program";
  QTest::newRow("valid folder: no dialog") << "valid" << false << "" << true << QStringList() << 0 << "data"
                                           << "data";
  QTest::newRow("wrong folder, valid choice")
      << "wrong" << false << "data" << true << QStringList{kPathWrong} << 1 << "data"
      << "data";
  QTest::newRow("wrong folder, cancel leaves Config.ini")
      << "wrong" << false << "" << false << QStringList{kPathWrong} << 1 << ""
      << "wrong";
  QTest::newRow("wrong folder, folder without CDCase.dat")
      << "wrong" << false << "empty" << false << (QStringList{kPathWrong, kNotFound}) << 1 << ""
      << "wrong";
}

void StartUpTest::settlesTheDataFolder() {
  QFETCH(QString, config);
  QFETCH(bool, probeInProgram);
  QFETCH(QString, answer);
  QFETCH(bool, proceeds);
  QFETCH(QStringList, messages);
  QFETCH(int, prompts);
  QFETCH(QString, folder);
  QFETCH(QString, configAfter);

  Shell s(2);
  const QString wrong = s.root.filePath(QStringLiteral("wrong"));
  const QString empty = s.root.filePath(QStringLiteral("empty"));
  QDir().mkpath(wrong);
  QDir().mkpath(empty);
  WriteFile(empty + QStringLiteral("/Team.dat"), Header(0, 60));
  QFile::remove(ConfigPath(s));
  if (config == QLatin1String("nokey")) WriteFile(ConfigPath(s), "[Config]\r\nOther=1\r\n");
  if (config == QLatin1String("valid")) WriteIniValue(ConfigPath(s), "Config", "Path", s.dataFolder);
  if (config == QLatin1String("wrong")) WriteIniValue(ConfigPath(s), "Config", "Path", wrong);
  if (probeInProgram) WriteFile(s.programFolder + QStringLiteral("/CDCase.dat"), Header(0, 448));
  const QHash<QString, QString> folders{
      {"data", s.dataFolder}, {"empty", empty}, {"program", s.programFolder}, {"wrong", wrong}, {"", QString()}};
  if (!answer.isEmpty()) s.front.folderAnswers << folders[answer];

  int pages = 0;
  const auto driver = OnWelcomePage({QStringLiteral("CmdChoose")}, &pages);
  QCOMPARE(s.start(), proceeds);
  QCOMPARE(pages, prompts);  // every picker of start-up is the welcome page's
  QStringList texts = s.front.texts();
  if (!texts.isEmpty() && NamesWhatWasLookedFor(texts.last(), empty)) texts.last() = kNotFound;
  QCOMPARE(texts, messages);
  QCOMPARE(s.front.prompts.size(), prompts);
  for (const QString& p : s.front.prompts) QCOMPARE(p, QStringLiteral("请选择Data文件所在目录"));
  if (proceeds) QCOMPARE(s.window->dataFolder(), folders[folder]);
  if (configAfter == QLatin1String("none")) {
    QVERIFY(!QFileInfo::exists(ConfigPath(s)));
  } else {
    const auto entry = ConfigEntry(s);
    QVERIFY(entry.has_value());
    QCOMPARE(QString::fromUtf8(*entry), folders[configAfter]);
  }
  // The start-up messages carry no icon.
  for (const FakeFront::Message& m : s.front.messages) QCOMPARE(m.icon, UiFront::Icon::None);
}

void StartUpTest::messagesFollowTheLanguage_data() {
  QTest::addColumn<Script>("script");
  QTest::addColumn<QStringList>("messages");
  QTest::addColumn<QString>("prompt");
  QTest::newRow("Simplified") << Script::Simplified << QStringList{kPathWrong, kNotFound} << "请选择Data文件所在目录";
  QTest::newRow("Traditional") << Script::Traditional
                               << QStringList{QStringLiteral("路徑錯誤，請重新設置"),
                                              QStringLiteral("未找到文件，設置錯誤")}
                               << "請選擇Data文件所在目錄";
}

void StartUpTest::messagesFollowTheLanguage() {
  QFETCH(Script, script);
  QFETCH(QStringList, messages);
  QFETCH(QString, prompt);
  Shell s(1);
  WriteIniValue(ConfigPath(s), "Config", "Path", s.root.filePath(QStringLiteral("nowhere")));
  s.front.folderAnswers << s.root.path();  // holds no CDCase.dat
  int pages = 0;
  const auto driver = OnWelcomePage({QStringLiteral("CmdChoose")}, &pages);
  QVERIFY(!s.start(script));
  QCOMPARE(pages, 1);
  QStringList texts = s.front.texts();
  QCOMPARE(texts.size(), 2);
  QVERIFY2(NamesWhatWasLookedFor(texts[1], s.root.path()), qPrintable(texts[1]));
  QVERIFY2(texts[1].contains(script == Script::Traditional ? QStringLiteral("不是遊戲的資料夾")
                                                           : QStringLiteral("不是游戏的数据文件夹")),
           qPrintable(texts[1]));
  texts[1] = messages[1];
  QCOMPARE(texts, messages);
  QCOMPARE(s.front.prompts, QStringList{prompt});
  // The label's design text is in the interface language too.
  QCOMPARE(s.window->label(1)->text(),
           script == Script::Traditional ? QStringLiteral("共0項被選擇") : QStringLiteral("共0项被选择"));
}

void StartUpTest::dataFilesAreFoundWithoutRegardToCase() {
  Shell s(1);
  const QString folder = s.root.filePath(QStringLiteral("lower"));
  QDir().mkpath(folder);
  QVERIFY(QFile::copy(s.path(QStringLiteral("CDCase.dat")), folder + QStringLiteral("/cdcase.DAT")));
  WriteIniValue(ConfigPath(s), "Config", "Path", folder);
  QVERIFY(s.start());
  QVERIFY(s.front.messages.isEmpty());
  QCOMPARE(s.window->dataFolder(), folder);
}

void StartUpTest::scriptFromTheSystemLocale_data() {
  QTest::addColumn<int>("locale");
  QTest::addColumn<Script>("script");
  QTest::newRow("2052") << 2052 << Script::Simplified;
  QTest::newRow("1033") << 1033 << Script::Simplified;
  QTest::newRow("1028") << 1028 << Script::Traditional;
  QTest::newRow("3076 (Hong Kong)") << 3076 << Script::Simplified;
}

void StartUpTest::scriptFromTheSystemLocale() {
  QFETCH(int, locale);
  QFETCH(Script, script);
  Shell s(1);
  s.localeId = locale;
  QVERIFY(s.start(std::nullopt));
  QCOMPARE(s.window->script(), script);
  QCOMPARE(QFileInfo(s.window->texts().path()).fileName(), LanguageFileName(script));
}

void StartUpTest::setDataFolderCommand_data() {
  QTest::addColumn<QString>("answer");  // "other" (a second data folder), "empty", "" (cancel)
  QTest::addColumn<bool>("changes");
  QTest::addColumn<QStringList>("messages");
  QTest::newRow("valid folder") << "other" << true << QStringList();
  QTest::newRow("folder without CDCase.dat") << "empty" << false << QStringList{kNotFound};
  QTest::newRow("cancel") << "" << false << QStringList();
}

void StartUpTest::setDataFolderCommand() {
  QFETCH(QString, answer);
  QFETCH(bool, changes);
  QFETCH(QStringList, messages);
  Shell s(4);
  const QString other = s.root.filePath(QStringLiteral("other"));
  QString error;
  QVERIFY(WriteSampleFolder(other, 3, 2, &error));
  QDir().mkpath(s.root.filePath(QStringLiteral("empty")));
  QVERIFY(s.start());
  s.open(QStringLiteral("Team.dat"));
  const QString label2 = s.window->label(2)->text();
  const QString label3 = s.window->label(3)->text();
  const QString cell = s.grid().cell(1, 2);

  if (!answer.isEmpty()) s.front.folderAnswers << s.root.filePath(answer);
  s.trigger(QStringLiteral("mnu_path"));

  const QString expected = changes ? other : s.dataFolder;
  QCOMPARE(s.window->dataFolder(), expected);
  QCOMPARE(QString::fromUtf8(ConfigEntry(s).value_or(QByteArray())), expected);
  QCOMPARE(s.front.texts(), messages);
  // The open table is read from the new folder: the grid never holds one
  // folder's records under another folder's file.
  QCOMPARE(s.window->caption(), QStringLiteral("Team.dat"));
  const QByteArray otherTeam = ReadFile(other + QStringLiteral("/Team.dat"));
  QCOMPARE(s.grid().recordCount(), changes ? 2 : 4);
  if (!changes) QCOMPARE(s.grid().cell(1, 2), cell);
  QCOMPARE(s.window->label(2)->text(), label2);
  QCOMPARE(s.window->label(3)->text(),
           changes ? QDir::toNativeSeparators(other + QStringLiteral("/Team.dat")) : label3);
  // The next save writes into the folder chosen last, and says where.
  s.trigger(QStringLiteral("mnu_save"));
  QVERIFY(s.window->statusLine().endsWith(QDir::toNativeSeparators(expected + QStringLiteral("/Team.dat"))));
  QCOMPARE(QFileInfo::exists(other + QStringLiteral("/Team.dat.bak")), changes);
  QCOMPARE(ReadFile(other + QStringLiteral("/Team.dat")), otherTeam);
}

void StartUpTest::unwritableConfigIsReported() {
  // The chosen folder is used for this run even when Config.ini cannot keep
  // it; the user is told that the next start will ask again.
  Shell s(1);
  QFile::remove(ConfigPath(s));
  QDir().mkpath(ConfigPath(s));  // a folder where the file should go
  s.front.folderAnswers << s.dataFolder;
  int pages = 0;
  const auto driver = OnWelcomePage({QStringLiteral("CmdChoose")}, &pages);
  QVERIFY(s.start());
  QCOMPARE(pages, 1);
  QCOMPARE(s.window->dataFolder(), s.dataFolder);
  QCOMPARE(s.front.messages.size(), 1);
  QVERIFY(s.front.messages[0].text.contains(QStringLiteral("Config.ini")));
}

// The welcome page in both languages: what the data folder is, a picker
// cancelled back to the page, a wrong folder named with the file looked for
// and chosen again, a sample folder written and opened, a recent folder.
void StartUpTest::welcomePage_data() {
  QTest::addColumn<Script>("script");
  QTest::addColumn<QString>("config");       // "none", or "wrong" (with the data folder among the recent ones)
  QTest::addColumn<QStringList>("clicks");   // on the page, in turn
  QTest::addColumn<QStringList>("answers");  // the pickers' answers: "data", "empty", "samples", "" (cancel)
  QTest::addColumn<QString>("folder");       // the data folder afterwards: "data", "sample", "" (the program ends)
  QTest::addColumn<int>("messages");
  const QString choose = QStringLiteral("CmdChoose"), sample = QStringLiteral("CmdSample");
  for (Script script : {Script::Simplified, Script::Traditional}) {
    const QString t = script == Script::Traditional ? QStringLiteral(", 1028") : QStringLiteral(", 2052");
    QTest::newRow(qPrintable("sample folder" + t))
        << script << "none" << QStringList{sample} << QStringList{"samples"} << "sample" << 0;
    QTest::newRow(qPrintable("cancel, then a wrong folder, then the right one" + t))
        << script << "none" << QStringList{choose, choose, choose} << QStringList{"", "empty", "data"} << "data" << 1;
    QTest::newRow(qPrintable("cancelled sample, then leaving" + t))
        << script << "none" << QStringList{sample} << QStringList{""} << "" << 0;
    QTest::newRow(qPrintable("recent folder" + t))
        << script << "wrong" << QStringList{"RecentFolders"} << QStringList() << "data" << 1;
  }
}

void StartUpTest::welcomePage() {
  QFETCH(Script, script);
  QFETCH(QString, config);
  QFETCH(QStringList, clicks);
  QFETCH(QStringList, answers);
  QFETCH(QString, folder);
  QFETCH(int, messages);
  Shell s(3);
  const QString empty = s.root.filePath(QStringLiteral("empty"));
  const QString samples = s.root.filePath(QStringLiteral("samples"));
  QDir().mkpath(empty);
  QDir().mkpath(samples);
  QFile::remove(ConfigPath(s));
  if (config == QLatin1String("wrong")) {
    RememberRecentDataFolder(s.programFolder, s.dataFolder);
    WriteIniValue(ConfigPath(s), "Config", "Path", empty);
  }
  const QHash<QString, QString> folders{
      {"data", s.dataFolder}, {"empty", empty}, {"samples", samples}, {"", QString()}};
  for (const QString& a : answers) s.front.folderAnswers << folders[a];

  QString what, chooseText, sampleText;
  int pages = 0;
  QTimer::singleShot(0, [&] {  // what the page says, before it is driven
    if (QWidget* page = QApplication::activeModalWidget()) {
      what = page->findChild<QLabel*>(QStringLiteral("LbWhat"))->text();
      chooseText = page->findChild<QPushButton*>(QStringLiteral("CmdChoose"))->text();
      sampleText = page->findChild<QPushButton*>(QStringLiteral("CmdSample"))->text();
    }
  });
  const auto driver = OnWelcomePage(clicks, &pages);
  const bool proceeds = s.start(script);
  QCOMPARE(pages, 1);
  QCOMPARE(proceeds, !folder.isEmpty());
  QVERIFY2(what.contains(QStringLiteral("CDCase.dat")) && what.contains(QStringLiteral("StarRole.dat")),
           qPrintable(what));
  const bool traditional = script == Script::Traditional;
  QCOMPARE(chooseText,
           traditional ? QStringLiteral("選擇遊戲的 Data 資料夾…") : QStringLiteral("选择游戏的 Data 文件夹…"));
  QCOMPARE(sampleText, traditional ? QStringLiteral("創建示例資料夾…") : QStringLiteral("创建示例数据文件夹…"));
  QCOMPARE(s.front.prompts.size(), int(answers.size()));
  QCOMPARE(s.front.messages.size(), messages);
  if (config == QLatin1String("none") && messages == 1) QVERIFY(NamesWhatWasLookedFor(s.front.texts()[0], empty));
  if (folder.isEmpty()) {
    QVERIFY(!QFileInfo::exists(ConfigPath(s)));
    QVERIFY(QDir(samples).isEmpty());
    return;
  }
  const QString expected =
      folder == QLatin1String("sample") ? samples + QStringLiteral("/Vantaro3Sample") : s.dataFolder;
  QCOMPARE(s.window->dataFolder(), expected);
  QCOMPARE(QString::fromUtf8(ConfigEntry(s).value_or(QByteArray())), expected);
  // The folder opens like any other: a table of it in the grid.
  s.open(QStringLiteral("StarRole.dat"));
  QVERIFY(s.grid().recordCount() > 0);
  QCOMPARE(s.window->caption(), QStringLiteral("StarRole.dat"));
}

QTEST_MAIN(StartUpTest)
#include "test_gui_startup.moc"

// A restart opens the table last opened, from the folder as it is now; the
// Config.ini entries the game's tools read keep their meaning.
void StartUpTest::reopensTheLastTable_data() {
  QTest::addColumn<Script>("script");
  QTest::addColumn<QString>("opened");    // the tables opened in the first run, in turn
  QTest::addColumn<bool>("removeFile");   // its file gone before the restart
  QTest::addColumn<QString>("reopened");  // the caption after the restart; "" none
  for (const Script script : {Script::Simplified, Script::Traditional}) {
    const char* tag = script == Script::Traditional ? "/1028" : "/2052";
    QTest::newRow(qPrintable(QStringLiteral("last of two%1").arg(tag)))
        << script << "Firm.dat,Team.dat" << false << "Team.dat";
    QTest::newRow(qPrintable(QStringLiteral("file gone%1").arg(tag))) << script << "Team.dat" << true << "";
    QTest::newRow(qPrintable(QStringLiteral("none opened%1").arg(tag))) << script << "" << false << "";
  }
}

void StartUpTest::reopensTheLastTable() {
  QFETCH(Script, script);
  QFETCH(QString, opened);
  QFETCH(bool, removeFile);
  QFETCH(QString, reopened);
  Shell s(4);
  QVERIFY(s.start(script));
  const QString baseTitle = s.window->caption();
  const QStringList tables = opened.split(u',', Qt::SkipEmptyParts);
  for (const QString& t : tables) s.open(t);
  s.window.reset();
  if (removeFile) QVERIFY(QFile::remove(s.path(tables.last())));
  QVERIFY(s.start(script));
  QCOMPARE(s.window->caption(), reopened.isEmpty() ? baseTitle : reopened);
  if (!reopened.isEmpty()) QCOMPARE(s.grid().recordCount(), 4);
  QCOMPARE(ConfigEntry(s), std::optional<QByteArray>(s.dataFolder.toUtf8()));
  QVERIFY(s.front.messages.isEmpty());
}

// With no table open the grid's place lists the folder's tables by group,
// with descriptions and the record counts of the files present; a click or
// Enter opens one, and the grid takes the overview's place.
void StartUpTest::tablesOverview_data() {
  QTest::addColumn<Script>("script");
  QTest::addColumn<bool>("byKeyboard");
  for (const Script script : {Script::Simplified, Script::Traditional}) {
    const char* tag = script == Script::Traditional ? "/1028" : "/2052";
    QTest::newRow(qPrintable(QStringLiteral("click%1").arg(tag))) << script << false;
    QTest::newRow(qPrintable(QStringLiteral("Enter%1").arg(tag))) << script << true;
  }
}

void StartUpTest::tablesOverview() {
  QFETCH(Script, script);
  QFETCH(bool, byKeyboard);
  Shell s(4);
  QVERIFY(QFile::remove(s.path(QStringLiteral("Firm.dat"))));
  QVERIFY(s.start(script));
  s.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
  QApplication::setActiveWindow(s.window.get());
  auto* overview = s.window->findChild<QTreeWidget*>(QStringLiteral("TablesOverview"));
  QVERIFY(overview && overview->isVisible());
  QVERIFY(QTest::qWaitFor([&] { return overview->hasFocus(); }));
  QCOMPARE(overview->topLevelItemCount(), 8);
  QCOMPARE(overview->topLevelItem(0)->text(0), msg::Localised(script, QStringLiteral("通告")));
  QMap<QString, QTreeWidgetItem*> rows;
  for (int g = 0; g < overview->topLevelItemCount(); ++g)
    for (int i = 0; i < overview->topLevelItem(g)->childCount(); ++i)
      rows[overview->topLevelItem(g)->child(i)->text(0)] = overview->topLevelItem(g)->child(i);
  QVERIFY(rows.contains(QStringLiteral("Team.dat")));
  QCOMPARE(rows[QStringLiteral("Team.dat")]->text(1), msg::Localised(script, QStringLiteral("团体")));
  QCOMPARE(rows[QStringLiteral("Team.dat")]->text(2), QStringLiteral("4"));
  QCOMPARE(rows[QStringLiteral("Firm.dat")]->text(2), QString());  // no file, no count

  QTreeWidgetItem* team = rows[QStringLiteral("Team.dat")];
  if (byKeyboard) {
    for (int i = 0; i < 40 && overview->currentItem() != team; ++i) QTest::keyClick(overview, Qt::Key_Down);
    QCOMPARE(overview->currentItem(), team);
    QTest::keyClick(overview, Qt::Key_Return);
  } else {
    overview->scrollToItem(team);
    QTest::mouseClick(overview->viewport(), Qt::LeftButton, {}, overview->visualItemRect(team).center());
  }
  QCOMPARE(s.window->caption(), QStringLiteral("Team.dat"));
  QCOMPARE(s.grid().recordCount(), 4);
  QVERIFY(!overview->isVisible());
  QVERIFY(s.window->gridView()->isVisible());
  QVERIFY(QTest::qWaitFor([&] { return s.window->gridView()->hasFocus(); }));
}
