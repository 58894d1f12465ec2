// INI files with the Windows private-profile behaviour.
#include <QtTest>

#include "TestSupport.h"
#include "text/Ini.h"

using namespace v3;
using v3test::ReadFile;
using v3test::WriteFile;

class IniTest : public QObject {
  Q_OBJECT
 private slots:
  void find_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("plain") << QByteArray("[Config]\r\nPath=/data\r\n") << QByteArray("Config") << QByteArray("Path")
                           << true << QByteArray("/data");
    QTest::newRow("case-insensitive names")
        << QByteArray("[CONFIG]\npath=x\n") << QByteArray("config") << QByteArray("PATH") << true << QByteArray("x");
    QTest::newRow("blanks trimmed") << QByteArray("  [ Config ]  \n  Path  =   a b  \n") << QByteArray("Config")
                                    << QByteArray("Path") << true << QByteArray("a b");
    QTest::newRow("quotes removed") << QByteArray("[A]\nk=\" padded \"\n") << QByteArray("A") << QByteArray("k") << true
                                    << QByteArray(" padded ");
    QTest::newRow("single quotes") << QByteArray("[A]\nk='x'\n") << QByteArray("A") << QByteArray("k") << true
                                   << QByteArray("x");
    QTest::newRow("unbalanced quote kept")
        << QByteArray("[A]\nk=\"x\n") << QByteArray("A") << QByteArray("k") << true << QByteArray("\"x");
    QTest::newRow("comment ignored") << QByteArray("[A]\n;k=1\nk=2\n") << QByteArray("A") << QByteArray("k") << true
                                     << QByteArray("2");
    QTest::newRow("first duplicate wins")
        << QByteArray("[A]\nk=1\nk=2\n") << QByteArray("A") << QByteArray("k") << true << QByteArray("1");
    QTest::newRow("other section") << QByteArray("[B]\nk=1\n[A]\nj=2\n") << QByteArray("A") << QByteArray("k") << false
                                   << QByteArray();
    QTest::newRow("empty value") << QByteArray("[A]\nk=\n") << QByteArray("A") << QByteArray("k") << true
                                 << QByteArray();
    QTest::newRow("equals in value") << QByteArray("[A]\nk=a=b\n") << QByteArray("A") << QByteArray("k") << true
                                     << QByteArray("a=b");
    QTest::newRow("no file content") << QByteArray() << QByteArray("A") << QByteArray("k") << false << QByteArray();
    QTest::newRow("key before any section")
        << QByteArray("k=1\n[A]\n") << QByteArray("A") << QByteArray("k") << false << QByteArray();
  }
  void find() {
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(bool, found);
    QFETCH(QByteArray, value);
    const auto v = ini::FindValue(content, section, key);
    QCOMPARE(v.has_value(), found);
    if (found) QCOMPARE(*v, value);
  }

  void set_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("new file") << QByteArray() << QByteArray("[Config]\r\nPath=/new\r\n");
    QTest::newRow("replace keeps the rest")
        << QByteArray("; settings\r\n[Other]\r\nPath=keep\r\n[config]\r\nX=1\r\npath = /old\r\nY=2\r\n")
        << QByteArray("; settings\r\n[Other]\r\nPath=keep\r\n[config]\r\nX=1\r\nPath=/new\r\nY=2\r\n");
    QTest::newRow("key added to its section")
        << QByteArray("[Config]\nX=1\n\n[Z]\nq=1\n") << QByteArray("[Config]\nX=1\nPath=/new\n\n[Z]\nq=1\n");
    QTest::newRow("section appended") << QByteArray("[Z]\nq=1") << QByteArray("[Z]\nq=1\n[Config]\nPath=/new\n");
  }
  void set() {
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, expected);
    QCOMPARE(ini::SetValue(content, "Config", "Path", "/new"), expected);
  }

  void cutUtf8() {
    const QString text = QStringLiteral("ab") + QString(100, QChar(0x4E2D));  // 2 + 300 bytes
    const QString cut = ini::CutUtf8(text, 254);
    QCOMPARE(cut.toUtf8().size(), 254);  // 2 + 84 * 3
    QCOMPARE(ini::CutUtf8(text, 3), QStringLiteral("ab"));
    QCOMPARE(ini::CutUtf8(QStringLiteral("😀x"), 4), QStringLiteral("😀"));
    QCOMPARE(ini::CutUtf8(QStringLiteral("😀x"), 3), QString());
  }

  void readWritesDefaultWhenMissing() {
    QTemporaryDir dir;
    const QString file = dir.filePath("Config.ini");
    // Missing file: the default is written and returned.
    QCOMPARE(ReadIniValue("Config", "Path", "/prog", file), QStringLiteral("/prog"));
    QCOMPARE(*ini::FindValue(ReadFile(file), "Config", "Path"), QByteArray("/prog"));
    // Empty value counts as missing.
    QVERIFY(WriteFile(file, "[Config]\r\nPath=\r\nOther=1\r\n"));
    QCOMPARE(ReadIniValue("Config", "Path", "/d2", file), QStringLiteral("/d2"));
    QCOMPARE(ReadFile(file), QByteArray("[Config]\r\nPath=/d2\r\nOther=1\r\n"));
    // Present value: nothing is written.
    QVERIFY(WriteIniValue(file, "Config", "Path", QStringLiteral("/游戏/data")));
    const QByteArray before = ReadFile(file);
    QCOMPARE(ReadIniValue("Config", "Path", "/x", file), QStringLiteral("/游戏/data"));
    QCOMPARE(ReadFile(file), before);
  }

  void readCutsLongValues() {
    QTemporaryDir dir;
    const QString file = dir.filePath("a.ini");
    QVERIFY(WriteFile(file, "[A]\nk=" + QString(200, QChar(0x4E2D)).toUtf8() + "\n"));
    const QString v = ReadIniValue("A", "k", "d", file);
    QCOMPARE(v.size(), 84);
  }

  void writeFailsInMissingFolder() {
    QVERIFY(!WriteIniValue("/nonexistent-folder-v3/x/Config.ini", "Config", "Path", "x"));
  }
};

QTEST_GUILESS_MAIN(IniTest)
#include "test_ini.moc"
