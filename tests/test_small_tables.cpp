// The small balance tables, NeedEffect.tab and Nickname.tab: tables patched in
// place, the odd field placements, the unsorted and the read-only save.
#include <QtTest>

#include <cstring>

#include "tables/Producers.h"

#include "TestSupport.h"
#include "model/TableIo.h"
#include "tables/Tables.h"
#include "text/Big5.h"
#include "text/Locale.h"

using namespace v3;
using namespace v3test;

namespace {

QByteArray Big5(const char* utf8) { return EncodeBig5Text(QString::fromUtf8(utf8)).bytes; }

// Active.tab as the game ships it, with bytes the editor never reads set
// (high halves of the header slots, the name field beyond its text), and
// the size codes 1, 2, 3, 0, 7.
QByteArray ActiveFile() {
  QByteArray f = Le(1010, 2) + Hex("aabb") + Le(9, 4) + Le(36, 4);
  for (int i = 1; i <= 9; ++i) {
    QByteArray r(36, '\x55');
    Put(r, 0, Le(i, 4));
    Put(r, 4, Big5("記者會") + QByteArray(2, '\0'));
    Put(r, 24, Le(i == 9 ? 7 : i % 4, 4));
    Put(r, 28, Le(10 * i, 4));
    Put(r, 32, Le(1000 * i, 4));
    f += r;
  }
  return f;
}

// Pression.tab with the second halves of the pressure and fatigue slots set.
QByteArray PressionFile() {
  QByteArray f = Header(99, 44);
  for (int i = 1; i <= 99; ++i) {
    QByteArray r(44, '\0');
    Put(r, 0, Le(i, 2));
    Put(r, 4, Big5("流行"));
    Put(r, 24, Big5("新人"));
    Put(r, 36, Le(i, 2) + Hex("abcd"));
    Put(r, 40, Le(2 * i, 2) + Hex("1234"));
    f += r;
  }
  return f;
}

// Offsets at which two files of the same length differ.
QList<int> Differences(const QByteArray& a, const QByteArray& b) {
  QList<int> at;
  for (int i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) at << i;
  return at;
}

}  // namespace

class SmallTablesTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  QString path(const QString& file) const { return dir_.filePath(file); }

  SaveOutcome saveGrid(const TableDef& t, RecordStore& grid) {
    return SaveTable(t, dir_.path(), Script::Traditional, grid);
  }
  void load(const TableDef& t, RecordStore& grid) { QVERIFY(LoadTable(t, dir_.path(), Script::Traditional, grid)); }

 private slots:
  // Producer numbers and names both ways: the first producer (in file order)
  // of a number or a name wins, a number no producer has shows as itself, a
  // text that is no name reads as a plain number or the first name it begins.
  void producerLookups_data() {
    QTest::addColumn<QString>("name");   // looked up by name
    QTest::addColumn<qint64>("id");      // what it gives; -1: nothing
    QTest::addColumn<qint64>("byId");    // looked up by number
    QTest::addColumn<QString>("shown");  // what that gives
    QTest::addColumn<QString>("cell");   // what a cell of that number shows
    QTest::newRow("a name two carry") << "Ace" << qint64(5) << qint64(5) << "Ace"
                                      << "Ace";
    QTest::newRow("a number two carry") << "Bee" << qint64(7) << qint64(7) << "Bee"
                                        << "Bee";
    QTest::newRow("a name's later number") << "Cat" << qint64(9) << qint64(9) << "Ace"
                                           << "9";
    QTest::newRow("a plain number") << "42" << qint64(42) << qint64(42) << "42"
                                    << "42";
    QTest::newRow("the start of a name") << "Ca" << qint64(9) << qint64(0) << ""
                                         << "";
    QTest::newRow("no producer") << "Dog" << qint64(-1) << qint64(3) << "3"
                                 << "3";
    QTest::newRow("a producer without a name") << "Ace" << qint64(5) << qint64(8) << ""
                                               << "8";
    QTest::newRow("a name's trailing blanks") << "Dee" << qint64(10) << qint64(10) << "Dee"
                                              << "Dee";
  }
  void producerLookups() {
    QFETCH(QString, name);
    QFETCH(qint64, id);
    QFETCH(qint64, byId);
    QFETCH(QString, shown);
    QFETCH(QString, cell);
    // Records: 5 Ace, 7 Bee, 9 Ace, 7 Zed, 6 Ace, 9 Cat, 8 without a name, 10 "Dee  ";
    // then again with a number far from the others, which are then looked up otherwise.
    std::vector<std::pair<int32_t, const char*>> records = {{5, "Ace"}, {7, "Bee"}, {9, "Ace"}, {7, "Zed"},
                                                            {6, "Ace"}, {9, "Cat"}, {8, ""},    {10, "Dee  "}};
    for (const bool far : {false, true}) {
      if (far) records.push_back({2000000000, "Far"});
      QByteArray tab(12 + 36 * qsizetype(records.size()), '\0');
      tab[0] = char(0xF2), tab[1] = char(0x03), tab[4] = char(records.size()), tab[8] = 36;
      for (size_t k = 0; k < records.size(); ++k) {
        char* r = tab.data() + 12 + 36 * k;
        qToLittleEndian(records[k].first, r);
        std::memcpy(r + 4, records[k].second, std::strlen(records[k].second));
      }
      const ProducerDirectory producers = ProducerDirectory::fromBytes(tab);
      int64_t found = -1;
      QCOMPARE(producers.idByName(name, &found) ? found : -1, id);
      QCOMPARE(producers.nameById(byId), shown);
      const std::optional<QStringView> inCell = producers.shownName(byId);
      QCOMPARE(inCell ? inCell->toString() : QString::number(byId), cell);
    }
  }

  void producersOfACutFile_data() {
    QTest::addColumn<int>("bytes");      // of the file kept; -1: no file; -2: no directory read
    QTest::addColumn<QString>("name");   // looked up by name
    QTest::addColumn<qint64>("id");      // what it gives; -1: nothing
    QTest::addColumn<qint64>("byId");    // looked up by number
    QTest::addColumn<QString>("shown");  // what that gives
    // Records: 5 Ace, 7 Bee (84 bytes).
    QTest::newRow("no file") << -1 << "Ace" << qint64(-1) << qint64(5) << "5";
    QTest::newRow("no directory read") << -2 << "42" << qint64(42) << qint64(5) << "5";
    QTest::newRow("no file, a number") << -1 << "42" << qint64(42) << qint64(7) << "7";
    QTest::newRow("the header alone") << 12 << "Ace" << qint64(-1) << qint64(5) << "5";
    QTest::newRow("the last name cut") << 12 + 36 + 6 << "Be" << qint64(7) << qint64(7) << "Be";
    QTest::newRow("the last number cut") << 12 + 36 + 1 << "Bee" << qint64(-1) << qint64(7) << "";
    QTest::newRow("whole") << 84 << "Bee" << qint64(7) << qint64(5) << "Ace";
  }
  // A Producer.tab cut short gives the producers of the bytes it holds.
  void producersOfACutFile() {
    QFETCH(int, bytes);
    QFETCH(QString, name);
    QFETCH(qint64, id);
    QFETCH(qint64, byId);
    QFETCH(QString, shown);
    QByteArray tab(84, '\0');
    tab[0] = char(0xF2), tab[1] = char(0x03), tab[4] = 2, tab[8] = 36;
    tab[12] = 5, tab[48] = 7;
    std::memcpy(tab.data() + 16, "Ace", 3);
    std::memcpy(tab.data() + 52, "Bee", 3);
    const ProducerDirectory producers =
        bytes == -2 ? ProducerDirectory() : ProducerDirectory::fromBytes(bytes < 0 ? QByteArray() : tab.left(bytes));
    int64_t found = -1;
    QCOMPARE(producers.idByName(name, &found) ? found : -1, id);
    QCOMPARE(producers.nameById(byId), shown);
    const std::optional<QStringView> inCell = producers.shownName(byId);
    QCOMPARE(inCell ? inCell->toString() : QString::number(byId), shown.isEmpty() ? QString::number(byId) : shown);
  }

  void init() {
    for (const QString& f : QDir(dir_.path()).entryList(QDir::Files)) QFile::remove(path(f));
  }

  void activeWritesOnlyHeadCountAndCost() {
    const QByteArray original = ActiveFile();
    QVERIFY(WriteFile(path("Active.tab"), original));
    RecordStore grid;
    load(ActiveTable(), grid);
    QCOMPARE(grid.recordCount(), 9);
    QCOMPARE(grid.record(1), (QStringList{"1", "記者會", "大型", "10", "1000"}));
    QCOMPARE(grid.cell(2, 3), QStringLiteral("中型"));
    QCOMPARE(grid.cell(3, 3), QStringLiteral("小型"));
    QCOMPARE(grid.cell(4, 3), QStringLiteral("0"));
    QCOMPARE(grid.cell(9, 3), QStringLiteral("7"));
    grid.setCell(2, 4, "99");
    grid.setCell(2, 5, "-1");
    grid.setCell(5, 2, "改名");  // name, size and number are not written
    grid.setCell(5, 3, "大型");
    std::vector<int> reversed{9, 8, 7, 6, 5, 4, 3, 2, 1};
    grid.applyOrder(reversed);  // the save sorts them back
    QVERIFY(saveGrid(ActiveTable(), grid).ok());

    const QByteArray saved = ReadFile(path("Active.tab"));
    QCOMPARE(saved.size(), original.size());
    QCOMPARE(ReadFile(path("Active.tab.bak")), original);
    QCOMPARE(Differences(original, saved),
             (QList<int>{12 + 36 + 28, 12 + 36 + 32, 12 + 36 + 33, 12 + 36 + 34, 12 + 36 + 35}));
    QCOMPARE(saved.mid(12 + 36 + 28, 8), Le(99, 4) + Hex("ffffffff"));
    QCOMPARE(grid.cell(1, 1), QStringLiteral("1"));
  }

  void pressionKeepsSecondHalvesAndLength() {
    const QByteArray original = PressionFile();
    QVERIFY(WriteFile(path("Pression.tab"), original));
    RecordStore grid;
    load(PressionTable(), grid);
    QCOMPARE(grid.recordCount(), 99);
    QCOMPARE(grid.record(5), (QStringList{"5", "流行", "新人", "5", "10"}));
    grid.setCell(5, 4, "300");
    QVERIFY(saveGrid(PressionTable(), grid).ok());
    const QByteArray saved = ReadFile(path("Pression.tab"));
    QCOMPARE(saved.size(), original.size());
    const int at = 12 + 4 * 44 + 36;
    QCOMPARE(saved.mid(at, 4), Hex("2c01abcd"));
    QCOMPARE(Differences(original, saved), (QList<int>{at, at + 1}));
  }

  // A grid that no longer holds the file's records, or a value the field
  // cannot hold: refused, and neither the file nor a .bak is touched.
  void patchRefusals_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("column");
    QTest::newRow("Active, a row deleted") << "Active.tab"
                                           << "delete" << 0;
    QTest::newRow("Pression, a row deleted") << "Pression.tab"
                                             << "delete" << 0;
    QTest::newRow("Active, a row added") << "Active.tab"
                                         << "add" << 0;
    QTest::newRow("Active, a row renumbered") << "Active.tab"
                                              << "renumber" << 1;
    QTest::newRow("Pression, a row renumbered") << "Pression.tab"
                                                << "renumber" << 1;
    QTest::newRow("Active, file shorter than its records") << "Active.tab"
                                                           << "truncate" << 0;
    QTest::newRow("Active, no file") << "Active.tab"
                                     << "missing" << 0;
    QTest::newRow("Active, cost not a number") << "Active.tab"
                                               << "cost abc" << 5;
    QTest::newRow("Pression, pressure 40000") << "Pression.tab"
                                              << "pressure 40000" << 4;
  }
  void patchRefusals() {
    QFETCH(QString, file);
    QFETCH(QString, change);
    QFETCH(int, column);
    const TableDef& t = *FindTable(file);
    QByteArray original = file == "Active.tab" ? ActiveFile() : PressionFile();
    if (change == "truncate") original.truncate(200);
    if (change != "missing") QVERIFY(WriteFile(path(file), original));
    RecordStore grid;
    load(t, grid);
    if (change == "delete") grid.removeRecords({3});
    if (change == "add") grid.appendRecord({"10", "", "", "1", "1"});
    if (change == "renumber") grid.setCell(4, 1, "40");
    if (change == "cost abc") grid.setCell(2, 5, "abc");
    if (change == "pressure 40000") grid.setCell(2, 4, "40000");
    const SaveOutcome o = saveGrid(t, grid);
    QCOMPARE(o.status, SaveOutcome::Refused);
    QCOMPARE(o.column, column);
    QVERIFY(!o.reason.isEmpty());
    QCOMPARE(QFileInfo::exists(path(file)), change != "missing");
    if (change != "missing") QCOMPARE(ReadFile(path(file)), original);
    QVERIFY(!QFileInfo::exists(path(file + ".bak")));
  }

  void producerAndWorldPlacement() {
    RecordStore grid;
    grid.reset(4, {{"2", "王導演", "3", "-4"}, {"1", "李製作", "0", "5"}});
    QVERIFY(saveGrid(ProducerTable(), grid).ok());
    const QByteArray pd = ReadFile(path("Producer.tab"));
    QCOMPARE(pd.size(), 12 + 2 * 36);
    QCOMPARE(pd.mid(12 + 36 + 24, 12), Le(3, 4) + Le(-4, 2) + Le(0, 6));  // bytes 32..35 zero

    QStringList world{"3", "1", "東京"};
    for (int f = 1; f <= 9; ++f) world << QString::number(100 * f);
    world << "繁華的都市";
    grid.reset(13, {world});
    QVERIFY(saveGrid(WorldTable(), grid).ok());
    const QByteArray wd = ReadFile(path("World.tab"));
    QCOMPARE(wd.size(), 12 + 160);
    QCOMPARE(wd.mid(12, 5), Le(3, 4) + Hex("01"));
    QCOMPARE(wd.mid(12 + 5, 19), Big5("東京") + QByteArray(15, '\0'));
    QCOMPARE(wd.mid(12 + 24, 4), Le(100, 4));
    QCOMPARE(wd.mid(12 + 56, 4), Le(900, 4));
    QCOMPARE(wd.mid(12 + 60, 10), Big5("繁華的都市"));
    load(WorldTable(), grid);
    QCOMPARE(grid.record(1), world);

    grid.setCell(1, 2, "256");
    const SaveOutcome o = saveGrid(WorldTable(), grid);
    QCOMPARE(o.status, SaveOutcome::Refused);
    QCOMPARE(o.column, 2);
  }

  void needEffectKeepsGridOrder() {
    auto row = [](const char* number, const char* first) {
      QStringList r{number, "流行", "新人", first};
      while (r.size() < 28) r << QString::number(r.size());
      return r;
    };
    RecordStore grid;
    grid.reset(28, {row("9", "1"), row("7", "-1"), row("3", "32767")});
    QVERIFY(saveGrid(NeedEffectTable(), grid).ok());
    const QByteArray ne = ReadFile(path("NeedEffect.tab"));
    QCOMPARE(ne.size(), 12 + 3 * 152);
    QCOMPARE(ne.left(12), Header(3, 152));
    QCOMPARE(ne.mid(12, 4), Hex("09000000"));
    QCOMPARE(ne.mid(12 + 152, 4), Hex("07000000"));
    QCOMPARE(ne.mid(12 + 152 + 44, 4), Hex("ffffffff"));
    QCOMPARE(ne.mid(12 + 152 + 140, 12), Le(27, 4) + QByteArray(8, '\0'));
    QCOMPARE(grid.cell(1, 1), QStringLiteral("9"));
    RecordStore back;
    load(NeedEffectTable(), back);
    QCOMPARE(back.records(), grid.records());

    grid.setCell(2, 1, "256");
    QCOMPARE(saveGrid(NeedEffectTable(), grid).column, 1);
    grid.setCell(2, 1, "7");
    grid.setCell(3, 20, "高");
    QCOMPARE(saveGrid(NeedEffectTable(), grid).column, 20);
  }

  void nicknameIsNeverWritten() {
    QByteArray r(168, '\0');
    Put(r, 0, Le(1, 4));
    Put(r, 4, Big5("小天王"));
    Put(r, 24, Le(-2, 4));
    Put(r, 28, "AB");
    Put(r, 164, Le(77, 4));
    const QByteArray original = Header(2, 168) + r + r;
    QVERIFY(WriteFile(path("Nickname.tab"), original));
    RecordStore grid;
    load(NicknameTable(), grid);
    QCOMPARE(grid.recordCount(), 2);
    QCOMPARE(grid.fieldCount(), 38);
    QCOMPARE(grid.record(1).mid(0, 5), (QStringList{"1", "小天王", "-2", "AB", "0"}));
    QCOMPARE(grid.cell(1, 38), QStringLiteral("77"));
    grid.removeRecords({1});
    QCOMPARE(saveGrid(NicknameTable(), grid).status, SaveOutcome::Unchanged);
    QCOMPARE(ReadFile(path("Nickname.tab")), original);
    QVERIFY(!QFileInfo::exists(path("Nickname.tab.bak")));
  }
};

QTEST_GUILESS_MAIN(SmallTablesTest)
#include "test_small_tables.moc"
