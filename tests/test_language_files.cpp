// The language files the program ships (CHS.txt, CHT.txt beside the program):
// clean in their encodings, and holding every text the program looks up.
#include <QtTest>

#include "TestSupport.h"
#include "app/Catalogue.h"
#include "text/Big5.h"
#include "text/Convert.h"
#include "text/Language.h"

using namespace v3;

namespace {

struct Shipped {
  Script script;
  const char* file;
  int codePage;
};
const Shipped kFiles[] = {{Script::Simplified, "CHS.txt", 936}, {Script::Traditional, "CHT.txt", 950}};

QString ProgramFolder() { return QCoreApplication::applicationDirPath(); }

// Every section and key that a window, a table or a list looks up.
QList<std::pair<QString, QString>> Lookups() {
  QList<std::pair<QString, QString>> keys;
  auto add = [&](const QString& section, const QStringList& names) {
    for (const QString& n : names) keys.append({section, n});
  };
  add("Vantaro3", {"Caption",    "mnu_menu1",  "mnu_save", "mnu_exit",    "mnu_menu2", "mnu_ad",     "mnu_de",
                   "mnu_all",    "mnu_null",   "mnu_fx",   "mnu_refresh", "mnu_load",  "mnu_select", "mnu_menu3",
                   "mnu_find",   "mnu_option", "mnu_path", "mnu_he",      "mnu_help",  "mnu_about",  "mnu_menu4",
                   "mnu_modify", "mnu_add",    "mnu_del",  "Label1",      "Label2",    "Label3"});
  add("Find", {"Caption", "Label1", "Label2", "cmdOK", "cmdNext", "cmdExit"});
  for (const CatalogueEntry& e : Catalogue()) {
    add("Vantaro3", {e.menuEntry});
    if (e.isStandalone()) add(e.window, {"Caption", "Cmd_Load", "Cmd_Save", "Cmd_Exit"});
    if (!e.editor.isEmpty()) add(e.editor, {"Caption", "Cmd_OK", "Cmd_Cel"});
    if (!e.editor.isEmpty() && e.addAllowed) add(e.editor, {"Cmd_add"});
    if (const TableDef* t = e.table())
      for (int k = 1; k <= t->fieldCount(); ++k) add(e.fileName, {QString::number(k)});
  }
  for (const FixedList& l : FixedLists())
    for (int k = l.firstKey; k <= l.lastKey; ++k) add(l.section, {QString::number(k)});
  for (int k = 1; k <= 20; ++k) add("StarNames", {QString::number(k)});
  return keys;
}

}  // namespace

class LanguageFilesTest : public QObject {
  Q_OBJECT

  void perFile() {
    QTest::addColumn<Script>("script");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("codePage");
    for (const Shipped& s : kFiles) QTest::newRow(s.file) << s.script << QString(s.file) << s.codePage;
  }

 private slots:
  // Decodes without replacement characters or question marks and re-encodes to the same bytes.
  void decodesCleanly_data() { perFile(); }
  void decodesCleanly() {
    QFETCH(QString, file);
    QFETCH(int, codePage);
    const QByteArray bytes = v3test::ReadFile(QDir(ProgramFolder()).filePath(file));
    QVERIFY2(bytes.size() > 1000, qPrintable(file + " is missing beside the test"));
    const QString text = DecodeCodePage(bytes, codePage);
    QVERIFY(!text.contains(QChar(0xFFFD)));
    QVERIFY(!text.contains(QLatin1Char('?')));
    QCOMPARE(EncodeCodePage(text, codePage), bytes);
    if (codePage == 950)  // the Traditional file holds no Simplified forms
      for (const QString& line : text.split(QStringLiteral("\r\n"))) QCOMPARE(ToTraditional(line), line);
  }

  // The Traditional file words its texts as a Traditional interface does,
  // not in mainland usage written in Traditional characters.
  void traditionalUsage() {
    const QString text = DecodeCodePage(v3test::ReadFile(QDir(ProgramFolder()).filePath("CHT.txt")), 950);
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
      if (line.startsWith(QLatin1Char(';'))) continue;
      for (const char* word : {"退出", "保存", "文件", "設置", "數據", "默認", "打開", "查找", "搜索", "添加", "刷新"})
        QVERIFY2(!line.contains(QString::fromUtf8(word)), qPrintable(line));
    }
  }

  // No caption, header or list entry is ever left empty.
  void coversEveryLookup_data() { perFile(); }
  void coversEveryLookup() {
    QFETCH(Script, script);
    const LanguageFile texts(script, ProgramFolder());
    const auto lookups = Lookups();
    QVERIFY(lookups.size() > 600);
    QStringList missing;
    for (const auto& [section, key] : lookups)
      if (texts.text(section, key, QString()).isEmpty()) missing << section + "/" + key;
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
    QVERIFY(texts.text("Team.dat", "12", QString()).isEmpty());
  }

  // Entries that the editors store as text must be what the tables can store.
  void listsFitTheirFields_data() {
    QTest::addColumn<Script>("script");
    QTest::addColumn<QString>("section");
    QTest::addColumn<int>("maxBytes");
    const std::pair<const char*, int> fields[] = {
        {"CDType", 10},   {"CDRequest", 10}, {"CDFirm", 20},    {"CFLv", 4},     {"CFFirm", 8},    {"CFType", 8},
        {"CFRequest", 4}, {"SHType", 10},    {"SHRequest", 10}, {"SHFirm", 20},  {"MVType", 10},   {"MVFirm", 10},
        {"MVRequest", 6}, {"TVType", 10},    {"TVFirm", 12},    {"TVLength", 6}, {"TVRequest", 6}, {"ScheduleTime", 6}};
    for (const Shipped& s : kFiles)
      for (const auto& [section, maxBytes] : fields)
        QTest::addRow("%s %s", s.file, section) << s.script << QString(section) << maxBytes;
  }
  void listsFitTheirFields() {
    QFETCH(Script, script);
    QFETCH(QString, section);
    QFETCH(int, maxBytes);
    const LanguageFile texts(script, ProgramFolder());
    for (const FixedList& l : FixedLists())
      if (l.section == section)
        for (const QString& entry : texts.list(l.section, l.firstKey, l.lastKey))
          QVERIFY2(EncodeCodePage(ToTraditional(entry), 950).size() <= maxBytes, qPrintable(entry));
  }

  // The years and the sexes are stored by their words.
  void storedWords_data() { perFile(); }
  void storedWords() {
    QFETCH(Script, script);
    const LanguageFile texts(script, ProgramFolder());
    const QStringList years = texts.list("Time", 1, 4);
    QCOMPARE(years, (QStringList{"第一年", "第二年", "第三年", "特殊"}));
    for (int k = 0; k < 4; ++k) QCOMPARE(YearTextToCode(years[k]), k + 1);
    QCOMPARE(texts.list("StarSex", 0, 1), (QStringList{"女", "男"}));
  }
};

QTEST_GUILESS_MAIN(LanguageFilesTest)
#include "test_language_files.moc"
