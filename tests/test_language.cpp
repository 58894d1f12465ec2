// Language-file lookups: file choice, encodings, the value limit, the cache.
#include <QtTest>

#include "TestSupport.h"
#include "model/RecordGrid.h"
#include "text/Big5.h"
#include "text/Language.h"

using namespace v3;
using v3test::WriteFile;

namespace {
// A language file in the code page of its language.
QByteArray InCodePage(const QString& utf8, int codePage) { return EncodeCodePage(utf8, codePage); }
}  // namespace

class LanguageTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  QString chs() const { return dir_.filePath("CHS.txt"); }
  QString cht() const { return dir_.filePath("CHT.txt"); }

 private slots:
  void init() {
    QFile::remove(chs());
    QFile::remove(cht());
  }

  // Each script reads its own file in its own encoding, never the other one.
  void fileByScript_data() {
    QTest::addColumn<int>("script");  // -1: no file
    QTest::addColumn<bool>("withChs");
    QTest::addColumn<bool>("withCht");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("header");
    QTest::newRow("Simplified reads CHS.txt")
        << int(Script::Simplified) << true << true << QStringLiteral("保存") << QStringLiteral("编号");
    QTest::newRow("Traditional reads CHT.txt")
        << int(Script::Traditional) << true << true << QStringLiteral("儲存") << QStringLiteral("編號");
    QTest::newRow("Traditional with only CHS.txt")
        << int(Script::Traditional) << true << false << QStringLiteral("design") << QString();
    QTest::newRow("Simplified with only CHT.txt")
        << int(Script::Simplified) << false << true << QStringLiteral("design") << QString();
    QTest::newRow("none") << -1 << true << true << QStringLiteral("design") << QString();
  }
  void fileByScript() {
    QFETCH(int, script);
    QFETCH(bool, withChs);
    QFETCH(bool, withCht);
    QFETCH(QString, expected);
    QFETCH(QString, header);
    if (withChs) WriteFile(chs(), InCodePage("[W]\r\nCmd=保存\r\n[Team.dat]\r\n1=编号\r\n", 936));
    if (withCht) WriteFile(cht(), InCodePage("[W]\r\nCmd=儲存\r\n[Team.dat]\r\n1=編號\r\n", 950));
    const v3::LanguageFile texts = script < 0 ? v3::LanguageFile() : v3::LanguageFile(Script(script), dir_.path());
    QCOMPARE(texts.text("W", "Cmd", "design"), expected);
    QCOMPARE(texts.headers("Team.dat", 2), (QStringList{header, QString()}));
    QCOMPARE(texts.path().isEmpty(), script < 0);
    // The file of the other script in the same folder reads that one.
    if (script >= 0) {
      const bool simplified = Script(script) == Script::Simplified;
      const v3::LanguageFile other = texts.withScript(simplified ? Script::Traditional : Script::Simplified);
      const QString otherText = simplified ? QStringLiteral("儲存") : QStringLiteral("保存");
      QCOMPARE(other.text("W", "Cmd", "design"),
               (simplified ? withCht : withChs) ? otherText : QStringLiteral("design"));
    }
  }

  // Values: only their first 126 bytes count, cut at a character boundary;
  // an empty value is as good as a missing one.
  void value_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    const QString cjk64(64, QChar(0x6F14));  // 演 x 64 = 128 bytes
    QTest::newRow("plain") << "k=演技" << QStringLiteral("演技");
    QTest::newRow("empty value gives the default") << "k=" << QStringLiteral("default");
    QTest::newRow("blank value gives the default") << "k=   " << QStringLiteral("default");
    QTest::newRow("missing key") << "j=x" << QStringLiteral("default");
    QTest::newRow("ascii cut at 126") << "k=" + QString(130, 'a') << QString(126, 'a');
    QTest::newRow("exactly 126 bytes") << "k=" + cjk64.left(63) << cjk64.left(63);
    QTest::newRow("double-byte cut whole") << "k=" + cjk64 << cjk64.left(63);
    QTest::newRow("no half character") << "k=a" + cjk64 << "a" + cjk64.left(62);
  }
  void value() {
    QFETCH(QString, line);
    QFETCH(QString, expected);
    WriteFile(chs(), InCodePage("[S]\r\n" + line + "\r\n", 936));
    QCOMPARE(v3::LanguageFile(Script::Simplified, dir_.path()).text("S", "k", "default"), expected);
  }

  // A file edited, deleted or created while the program runs counts from the next lookup.
  void followsEdits() {
    const v3::LanguageFile texts(Script::Simplified, dir_.path());
    const v3::LanguageFile copy = texts;  // copies share what was read and follow the file alike
    QCOMPARE(texts.text("S", "k", "default"), QStringLiteral("default"));
    QVERIFY(WriteFile(chs(), InCodePage("[S]\nk=甲\n", 936)));
    QCOMPARE(copy.text("S", "k", "default"), QStringLiteral("甲"));
    // Same size, later modification time.
    QVERIFY(WriteFile(chs(), InCodePage("[S]\nk=乙\n", 936)));
    QFile f(chs());
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
    f.close();
    QCOMPARE(texts.text("S", "k", "default"), QStringLiteral("乙"));
    QVERIFY(WriteFile(chs(), InCodePage("[S]\nk=丙丁\n", 936)));
    QCOMPARE(texts.text("S", "k", "default"), QStringLiteral("丙丁"));
    QVERIFY(QFile::remove(chs()));
    QCOMPARE(texts.text("S", "k", "default"), QStringLiteral("default"));
  }

  // Header texts and lists keep their length whatever the file holds.
  void fixedCounts() {
    QString file = "[Team.dat]\r\n";
    for (int k = 1; k <= 12; ++k) file += QStringLiteral("%1=H%1\r\n").arg(k);
    file += "[CFType]\r\n";
    for (int k = 1; k <= 10; ++k) file += QStringLiteral("%1=T%1\r\n").arg(k);
    WriteFile(chs(), InCodePage(file, 936));
    const v3::LanguageFile texts(Script::Simplified, dir_.path());

    RecordGrid grid;
    grid.reset(11, {});
    grid.setHeaderTexts(texts.headers("Team.dat", grid.fieldCount()));
    QCOMPARE(grid.headerText(1), QStringLiteral("H1"));
    QCOMPARE(grid.headerText(11), QStringLiteral("H11"));
    grid.setHeaderTexts(texts.headers("Vantaro3DataEditer", grid.fieldCount()));  // no table open: empty headers
    QCOMPARE(grid.headerText(1), QString());

    const QStringList types = texts.list("CFType", 1, 19);
    QCOMPARE(types.size(), 19);
    QCOMPARE(types[9], QStringLiteral("T10"));
    QCOMPARE(types.mid(10), QStringList(9, QString()));
  }
};

QTEST_GUILESS_MAIN(LanguageTest)
#include "test_language.moc"
