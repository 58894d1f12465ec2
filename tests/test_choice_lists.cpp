// The producer, star and team lists read from the game's own tables.
#include <QtTest>

#include "TestSupport.h"
#include "tables/ChoiceLists.h"
#include "tools/Sample.h"
#include "model/TableIo.h"
#include "tables/Tables.h"
#include "text/Big5.h"
#include "text/Ini.h"
#include "text/Locale.h"

using namespace v3;
using namespace v3test;

namespace {

QByteArray big5(const QString& text) { return EncodeBig5Text(text).bytes; }

QByteArray producer(int number, const QString& name) {
  QByteArray r;
  Put(r, 0, Le(number, 4));
  Put(r, 4, big5(name));
  Put(r, 35, QByteArray(1, '\0'));
  return r;
}

QByteArray producers(const QList<int>& numbers) {
  QByteArray f = Header(int(numbers.size()), 36);
  for (int n : numbers) f += producer(n, QStringLiteral("P%1").arg(n));
  return f;
}

// A StarRole.dat record: layout A has the sex at 4 and the name at 20, layout B the name at 4.
QByteArray star(bool layoutA, const QString& name, int sex) {
  QByteArray r(360, '\0');
  Put(r, layoutA ? 4 : 24, Le(sex, 2));
  Put(r, layoutA ? 20 : 4, big5(name));
  return r;
}

QByteArray stars(bool layoutA, int count) {
  QByteArray f = Header(count, 360);
  for (int k = 0; k < count; ++k) f += star(layoutA, QStringLiteral("S%1").arg(k), k == 0 ? 1 : k % 2);
  return f;
}

QByteArray team(const QString& name) {
  QByteArray r(60, '\0');
  Put(r, 4, big5(name));
  return r;
}

}  // namespace

class ChoiceListsTest : public QObject {
  Q_OBJECT

 private slots:

  // Entry p is the producer numbered p, gaps empty; 16-bit numbers bound the list.
  void producerList_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("0, 1, 3") << producers({0, 1, 3}) << QStringList{"P0", "P1", "", "P3"};
    QTest::newRow("starting at 2") << producers({2, 3}) << QStringList{"", "", "P2", "P3"};
    QTest::newRow("not ascending") << producers({3, 1}) << QStringList{"", "P1", "", "P3"};
    QTest::newRow("duplicate keeps the first")
        << Header(2, 36) + producer(1, "A") + producer(1, "B") << QStringList{"", "A"};
    QTest::newRow("negative number left out") << producers({-5, 1}) << QStringList{"", "P1"};
    QTest::newRow("trailing blanks removed") << Header(1, 36) + producer(0, "王 導  ") << QStringList{"王 導"};
    QTest::newRow("no records") << Header(0, 36) << QStringList();
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("negative count") << Header(-3, 36) + producer(0, "A") << QStringList();
    QTest::newRow("count beyond the file") << Header(30000, 36) + producer(1, "A") << QStringList{"", "A"};
    QTest::newRow("last record cut short") << Header(2, 36) + producer(0, "A") + Le(1, 2) << QStringList{"A", ""};
  }
  void producerList() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);
    QCOMPARE(ProducerListFromFile(file), expected);
  }

  // More producers than a 16-bit record offset can reach.
  void producerListLong() {
    QList<int> numbers;
    for (int n = 0; n < 1200; ++n) numbers << n;
    const QStringList list = ProducerListFromFile(producers(numbers));
    QCOMPARE(list.size(), 1200);
    QCOMPARE(list[1199], QStringLiteral("P1199"));
  }

  // The name sits where the file's layout puts it, whatever the record count.
  void starList_data() {
    QTest::addColumn<bool>("layoutA");
    QTest::addColumn<int>("count");
    for (int count : {75, 76, 77}) {
      QTest::addRow("layout A, %d records", count) << true << count;
      QTest::addRow("layout B, %d records", count) << false << count;
    }
  }
  void starList() {
    QFETCH(bool, layoutA);
    QFETCH(int, count);
    const QByteArray file = stars(layoutA, count);
    QCOMPARE(StarRoleUsesLayoutA(file), layoutA);
    const QStringList list = StarListFromFile(file);
    QCOMPARE(list.size(), count);
    QCOMPARE(list.first(), QStringLiteral("S0"));
    QCOMPARE(list.last(), QStringLiteral("S%1").arg(count - 1));
  }

  // The first 8 bytes of a name, never half a character; hostile counts read nothing past the file.
  void teamList_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("10 characters") << Header(1, 60) + team("一二三四五六七八九十") << QStringList{"一二三四"};
    QTest::newRow("cut at a character") << Header(1, 60) + team("A一二三四") << QStringList{"A一二三"};
    QTest::newRow("short name") << Header(2, 60) + team("星 ") + team("") << QStringList{"星", ""};
    QTest::newRow("count beyond the file") << Header(32767, 60) + team("甲") << QStringList{"甲"};
    QTest::newRow("header only") << Header(5, 60) << QStringList();
  }
  void teamList() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);
    QCOMPARE(TeamListFromFile(file), expected);
  }

  // The star list agrees with the table's own load in both layouts.
  void starListMatchesTable_data() {
    QTest::addColumn<unsigned>("seed");
    QTest::newRow("seed 1") << 1u;
    QTest::newRow("seed 2") << 2u;
  }
  void starListMatchesTable() {
    QFETCH(unsigned, seed);
    QTemporaryDir dir;
    QString error;
    QVERIFY2(WriteSampleFolder(dir.path(), seed, 12, &error), qPrintable(error));
    const std::vector<QStringList> rows = ReadTableRows(StarTable(), dir.path(), Script::Traditional, &error);
    const QStringList list = StarListFromFile(ReadFile(dir.filePath("StarRole.dat")));
    QCOMPARE(list.size(), int(rows.size()));
    for (int k = 0; k < list.size(); ++k)
      QVERIFY2(rows[size_t(k)][1].startsWith(list[k]) && !list[k].isEmpty(), qPrintable(rows[size_t(k)][1]));
  }

  // The data folder comes from Config.ini; nothing is ever created.
  void dataFolder() {
    QTemporaryDir program, data;
    QVERIFY(WriteFile(data.filePath("Team.dat"), Header(1, 60) + team("甲")));
    QVERIFY(WriteFile(program.filePath("Team.dat"), Header(1, 60) + team("乙")));
    QCOMPARE(TeamList(program.path()), QStringList{"乙"});
    QVERIFY(!QFile::exists(program.filePath("Config.ini")));
    QVERIFY(WriteIniValue(program.filePath("Config.ini"), "Config", "Path", data.path()));
    QCOMPARE(TeamList(program.path()), QStringList{"甲"});
    QCOMPARE(ProducerList(program.path()), QStringList());
    QCOMPARE(StarList(program.path()), QStringList());
    QVERIFY(!QFile::exists(data.filePath("Producer.tab")));
    QVERIFY(!QFile::exists(data.filePath("StarRole.dat")));
  }
};

QTEST_GUILESS_MAIN(ChoiceListsTest)
#include "test_choice_lists.moc"
