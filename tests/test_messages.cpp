// The language of messages: how --lang, the environment and the locale id
// choose it, and what the command-line tool then prints.
#include <QProcess>
#include <QtTest>

#include <cerrno>

#include "TestSupport.h"
#include "text/DiskFile.h"
#include "text/Translation.h"

using namespace v3;
using namespace v3test;

namespace {

// A sample data folder, made once.
const QTemporaryDir& Data() {
  static QTemporaryDir d;
  static const bool made = RunCli({"sample", d.path()}).code == 0;
  Q_UNUSED(made);
  return d;
}

// The tool run with its locale variables set as given ("-" leaves one unset).
CliRun runIn(const QStringList& env, const QStringList& args) {
  QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
  const QStringList vars{"LC_ALL", "LC_MESSAGES", "LANG"};
  for (qsizetype i = 0; i < vars.size(); ++i) {
    e.remove(vars[i]);
    if (i < env.size() && env[i] != "-") e.insert(vars[i], env[i]);
  }
  QProcess p;
  p.setProcessEnvironment(e);
  QStringList given = args;
  given.replaceInStrings("%data", Data().path());
  p.start(QString::fromLocal8Bit(qgetenv("V3_CLI")), given);
  if (!p.waitForFinished(120000)) return {-1, {}, {}};
  return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

}  // namespace

class MessagesTest : public QObject {
  Q_OBJECT
 private slots:
  void choice_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("environment");
    QTest::addColumn<int>("localeId");
    QTest::addColumn<int>("expected");
    const int s = int(UiLanguage::Simplified), t = int(UiLanguage::Traditional), e = int(UiLanguage::English);
    QTest::newRow("nothing") << ""
                             << "" << 0 << e;
    QTest::newRow("C locale") << ""
                              << "C.UTF-8" << 0 << e;
    QTest::newRow("POSIX, locale id 2052") << ""
                                           << "POSIX" << 2052 << s;
    QTest::newRow("C, locale id 1028") << ""
                                       << "C" << 1028 << t;
    QTest::newRow("C, Hong Kong id") << ""
                                     << "C" << 3076 << t;
    QTest::newRow("C, German id") << ""
                                  << "C" << 1031 << e;
    QTest::newRow("zh_TW environment") << ""
                                       << "zh_TW.UTF-8" << 0 << t;
    QTest::newRow("zh_HK with modifier") << ""
                                         << "zh_HK.UTF-8@stroke" << 0 << t;
    QTest::newRow("zh_Hant script") << ""
                                    << "zh-Hant" << 0 << t;
    QTest::newRow("zh_SG environment") << ""
                                       << "zh_SG.GB2312" << 0 << s;
    QTest::newRow("bare zh") << ""
                             << "zh" << 0 << s;
    QTest::newRow("environment over locale id") << ""
                                                << "zh_CN.UTF-8" << 1028 << s;
    QTest::newRow("German environment") << ""
                                        << "de_DE.UTF-8" << 2052 << e;
    QTest::newRow("option over all") << "en"
                                     << "zh_TW.UTF-8" << 1028 << e;
    QTest::newRow("option zh_TW") << "zh_TW"
                                  << "en_US.UTF-8" << 0 << t;
    QTest::newRow("option zh_CN") << "zh_CN"
                                  << "" << 1028 << s;
    QTest::newRow("option not a language") << "de"
                                           << "zh_TW" << 0 << t;
  }

  void choice() {
    QFETCH(QString, option);
    QFETCH(QString, environment);
    QFETCH(int, localeId);
    QFETCH(int, expected);
    QCOMPARE(int(ChooseUiLanguage(option, environment, localeId)), expected);
  }

  // What the tool prints for a folder that is not there, by language.
  void toolSpeaksTheChosenLanguage_data() {
    QTest::addColumn<QStringList>("env");  // LC_ALL, LC_MESSAGES, LANG
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("absent");
    const QStringList lint{"lint", "/no/such/folder"};
    QTest::newRow("C.UTF-8") << QStringList{"-", "-", "C.UTF-8"} << lint << "no such folder"
                             << "文件夹";
    QTest::newRow("LANG zh_CN") << QStringList{"-", "-", "zh_CN.UTF-8"} << lint << "文件夹不存在"
                                << "no such";
    QTest::newRow("LC_ALL over LANG") << QStringList{"zh_TW.UTF-8", "-", "zh_CN.UTF-8"} << lint << "資料夾不存在"
                                      << "文件夹";
    QTest::newRow("LC_MESSAGES over LANG") << QStringList{"-", "en_GB.UTF-8", "zh_CN.UTF-8"} << lint << "no such"
                                           << "文件夹";
    QTest::newRow("--lang first") << QStringList{"-", "-", "zh_CN.UTF-8"} << (QStringList{"--lang", "en"} + lint)
                                  << "no such folder"
                                  << "文件夹";
    QTest::newRow("--lang= among options")
        << QStringList{"-", "-", "C"} << (lint + QStringList{"--lang=zh_TW"}) << "資料夾不存在"
        << "no such";
    QTest::newRow("--locale 1028 under C")
        << QStringList{"-", "-", "C"} << (QStringList{"--locale", "1028"} + lint) << "資料夾不存在"
        << "no such";
    // The system's reason follows the language as well.
    QTest::newRow("reason in English") << QStringList{"-", "-", "C"}
                                       << QStringList{"import", "%data", "Team.dat", "/no/such.csv"}
                                       << "No such file or directory"
                                       << "不存在";
    QTest::newRow("reason in Traditional") << QStringList{"-", "-", "zh_TW.UTF-8"}
                                           << QStringList{"import", "%data", "Team.dat", "/no/such.csv"} << "不存在"
                                           << "No such";
    QTest::newRow("Qt's parser in Simplified")
        << QStringList{"-", "-", "zh_CN.UTF-8"} << QStringList{"tables", "--bogus"} << "未知选项"
        << "Unknown";
    QTest::newRow("unknown --lang") << QStringList{"-", "-", "C"} << QStringList{"tables", "--lang", "fr"}
                                    << "unknown language \"fr\""
                                    << "\n\n";
  }

  void toolSpeaksTheChosenLanguage() {
    QFETCH(QStringList, env);
    QFETCH(QStringList, args);
    QFETCH(QString, expected);
    QFETCH(QString, absent);
    const CliRun r = runIn(env, args);
    const QString err = QString::fromUtf8(r.err);
    QVERIFY2(r.code == 2 || r.code == 3, r.err.constData());
    QVERIFY2(err.contains(expected), qPrintable(err));
    QVERIFY2(!err.contains(absent), qPrintable(err));
  }

  // One record and several, in each language's plural forms.
  void pluralForms_data() {
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("one");
    QTest::addColumn<QString>("two");
    QTest::newRow("en") << "en"
                        << "Team.dat: 1 record saved\n"
                        << "Team.dat: 2 records saved\n";
    QTest::newRow("zh_CN") << "zh_CN"
                           << "Team.dat：已保存 1 条记录\n"
                           << "Team.dat：已保存 2 条记录\n";
    QTest::newRow("zh_TW") << "zh_TW"
                           << "Team.dat：已儲存 1 筆記錄\n"
                           << "Team.dat：已儲存 2 筆記錄\n";
  }

  void pluralForms() {
    QFETCH(QString, lang);
    QFETCH(QString, one);
    QFETCH(QString, two);
    QTemporaryDir d;
    QVERIFY(RunCli({"sample", d.path()}).code == 0);
    const QString csv = d.filePath("t.csv");
    for (const auto& [rows, expected] : {std::pair{1, one}, std::pair{2, two}}) {
      QByteArray text;
      for (int i = 1; i <= rows; ++i) text += QByteArray::number(i) + ",X,0,0,0,0,0,0,0,0,0\n";
      QVERIFY(WriteFile(csv, text));
      const CliRun r = RunCli({"import", d.path(), "Team.dat", csv, "--lang", lang, "--allow-removal"});
      QCOMPARE(r.code, 0);
      QCOMPARE(QString::fromUtf8(r.err).section(u'\n', 1), expected);  // after the summary
    }
  }

  // In-process, without translations installed: the texts as written; in
  // English the system's own words, never the two mixed.
  void systemReasons_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("words");
    const int s = int(UiLanguage::Simplified), e = int(UiLanguage::English);
    QTest::newRow("ENOSPC, Simplified") << s << ENOSPC << QStringLiteral("磁盘已满");
    QTest::newRow("ENOSPC, English") << e << ENOSPC << QStringLiteral("No space left on device");
    QTest::newRow("EHWPOISON, Simplified (no text of its own)")
        << s << EHWPOISON << QStringLiteral("系统错误 133（EHWPOISON）");
    QTest::newRow("EHWPOISON, English") << e << EHWPOISON << QStringLiteral("Memory page has hardware error");
    QTest::newRow("not an errno, Simplified") << s << 9999 << QStringLiteral("系统错误 9999");
    QTest::newRow("not an errno, English") << e << 9999 << QStringLiteral("system error 9999");
  }

  void systemReasons() {
    QFETCH(int, language);
    QFETCH(int, code);
    QFETCH(QString, words);
    InstallUiLanguage(UiLanguage(language));
    const QString reason = disk::SystemReason(code);
    InstallUiLanguage(UiLanguage::Simplified);
    QCOMPARE(reason, words);
  }
};

QTEST_GUILESS_MAIN(MessagesTest)
#include "test_messages.moc"
