// Start-up and the data folder: Config.ini, the folder picker, the messages,
// the interface language, and the set-data-folder command.
#include "test_gui_support.h"

#include <QLabel>

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
  QTest::newRow("no Config.ini, cancel") << "none" << false << "" << false << QStringList() << 1 << "" << "none";
  QTest::newRow("no Config.ini, folder without CDCase.dat")
      << "none" << false << "empty" << false << QStringList{kNotFound} << 1 << "" << "none";
  QTest::newRow("no Path key, program folder not a data folder, valid choice")
      << "nokey" << false << "data" << true << QStringList{kPathWrong} << 1 << "data" << "data";
  QTest::newRow("no Path key, program folder is a data folder")
      << "nokey" << true << "" << true << QStringList() << 0 << "program" << "program";
  QTest::newRow("no Path key, cancel keeps the default written")
      << "nokey" << false << "" << false << QStringList{kPathWrong} << 1 << "" << "program";
  QTest::newRow("valid folder: no dialog") << "valid" << false << "" << true << QStringList() << 0 << "data"
                                           << "data";
  QTest::newRow("wrong folder, valid choice") << "wrong" << false << "data" << true << QStringList{kPathWrong} << 1
                                              << "data" << "data";
  QTest::newRow("wrong folder, cancel leaves Config.ini") << "wrong" << false << "" << false
                                                          << QStringList{kPathWrong} << 1 << "" << "wrong";
  QTest::newRow("wrong folder, folder without CDCase.dat")
      << "wrong" << false << "empty" << false << (QStringList{kPathWrong, kNotFound}) << 1 << "" << "wrong";
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
  const QHash<QString, QString> folders{{"data", s.dataFolder}, {"empty", empty}, {"program", s.programFolder},
                                        {"wrong", wrong}, {"", QString()}};
  if (!answer.isEmpty()) s.front.folderAnswers << folders[answer];

  QCOMPARE(s.start(), proceeds);
  QCOMPARE(s.front.texts(), messages);
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
  QVERIFY(!s.start(script));
  QCOMPARE(s.front.texts(), messages);
  QCOMPARE(s.front.prompts, QStringList{prompt});
  // The label's design text is in the interface language too.
  QCOMPARE(s.window->label(1)->text(), script == Script::Traditional ? QStringLiteral("共0項被選擇")
                                                                  : QStringLiteral("共0项被选择"));
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
  SetSystemLocaleOverride(locale);
  Shell s(1);
  QVERIFY(s.start(std::nullopt));
  SetSystemLocaleOverride(0);
  QCOMPARE(s.window->script(), script);
  QCOMPARE(QFileInfo(InterfaceLanguage().path()).fileName(), LanguageFileName(script));
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
  QVERIFY(s.start());
  QCOMPARE(s.window->dataFolder(), s.dataFolder);
  QCOMPARE(s.front.messages.size(), 1);
  QVERIFY(s.front.messages[0].text.contains(QStringLiteral("Config.ini")));
}

QTEST_MAIN(StartUpTest)
#include "test_gui_startup.moc"
