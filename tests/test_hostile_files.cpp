// Every table against short, garbage and hostile files; generated sample
// folders surviving a load and a save byte for byte.
#include <QtTest>

#include <random>

#include "TestSupport.h"
#include "tools/Sample.h"
#include "model/TableIo.h"
#include "tables/Tables.h"
#include "text/Locale.h"

using namespace v3;
using namespace v3test;

namespace {

// Seeded garbage after a header whose count is `count`.
QByteArray Garbage(int count, int bytes, unsigned seed) {
  std::mt19937 rng(seed);
  QByteArray g = Header(count, 1234);
  for (int i = 0; i < bytes; ++i) g += char(rng() & 0xFF);
  return g;
}

const QStringList kSampledHere = {"Producer.tab", "Item.dat",   "OfficeCom.dat", "OfficeEmo.dat", "Active.tab",
                                  "Pression.tab", "RichBa.tab", "World.tab",     "NeedEffect.tab"};

}  // namespace

class HostileFilesTest : public QObject {
  Q_OBJECT

 private slots:

  void hostileLoad_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    const QList<QPair<const char*, QByteArray>> inputs = {
        {"empty", QByteArray()},
        {"five bytes", Hex("f203000009")},
        {"count 32767 in a 12-byte file", Header(32767, 300)},
        {"count 50, every byte 0xff", Header(50, 300) + QByteArray(4096, '\xff')},
        {"every byte 0x05", QByteArray(3000, '\x05')},
        {"negative count", Header(-1, 36) + QByteArray(64, '\x01')},
        {"lengths of 32767 all along",
         [] {
           QByteArray b = Header(300, 804);
           for (int i = 0; i < 200; ++i) b += Le(32767, 4);
           return b;
         }()},
        {"garbage, count 40", Garbage(40, 5000, 1)},
        {"garbage, count 700", Garbage(700, 20000, 2)},
    };
    for (const TableDef* t : AllTables())
      for (const auto& [name, bytes] : inputs)
        QTest::addRow("%s, %s", qPrintable(t->fileName), name) << t->fileName << bytes;
  }
  void hostileLoad() {
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    const TableDef& t = *FindTable(file);
    std::vector<TableRecord> rows = t.codec->decode(bytes, CodecContext(Script::Traditional));
    QVERIFY(rows.size() <= 32767);
    for (const TableRecord& r : rows) QCOMPARE(int(r.cells.size()), t.fieldCount());
    // Whatever the load made of it, encoding it either works or names a cell.
    if (rows.size() > 1000) return;  // the empty rows of a bare header say nothing new
    RecordStore grid;
    grid.resetRecords(t.fieldCount(), std::move(rows));
    QByteArray out;
    const SaveOutcome o = EncodeTable(t, QString(), Script::Traditional, grid, SaveRowOrder(t, grid), bytes, &out);
    if (!o.ok()) QVERIFY(!o.reason.isEmpty());
  }

  void sampleSurvivesLoadAndSave_data() {
    QTest::addColumn<unsigned>("seed");
    QTest::addColumn<int>("locale");
    QTest::addColumn<int>("records");
    for (unsigned seed : {1u, 7u, 2024u})
      for (int locale : {1028, 2052}) QTest::addRow("seed %u, locale %d", seed, locale) << seed << locale << 25;
    QTest::newRow("one record") << 3u << 1028 << 1;
    QTest::newRow("300 records") << 4u << 1028 << 300;
  }
  void sampleSurvivesLoadAndSave() {
    QFETCH(unsigned, seed);
    QFETCH(int, locale);
    QFETCH(int, records);
    const Script script = SystemTextScript(locale);
    QTemporaryDir dir;
    QString error;
    QVERIFY2(WriteSampleFolder(dir.path(), seed, records, &error), qPrintable(error));
    for (const QString& name : kSampledHere) {
      const TableDef& t = *FindTable(name);
      const QByteArray bytes = ReadFile(dir.filePath(name));
      RecordStore grid;
      QVERIFY(LoadTable(t, dir.path(), script, grid));
      QVERIFY2(grid.recordCount() > 0, qPrintable(name));
      QByteArray saved;
      const SaveOutcome o = EncodeTable(t, dir.path(), script, grid, SaveRowOrder(t, grid), bytes, &saved);
      QVERIFY2(o.ok(), qPrintable(o.message(name)));
      QVERIFY2(saved == bytes, qPrintable(name));
    }
    RecordStore nicknames;
    QVERIFY(LoadTable(NicknameTable(), dir.path(), script, nicknames));
    QCOMPARE(nicknames.recordCount(), records);
  }
};

QTEST_GUILESS_MAIN(HostileFilesTest)
#include "test_hostile_files.moc"
