// Item.dat, the office event files and RichBa.tab: slot streams whose texts carry their length.
#include <QtTest>

#include "TestSupport.h"
#include "tables/SlotStream.h"
#include "model/TableIo.h"
#include "tables/Tables.h"
#include "text/Big5.h"
#include "text/Locale.h"

using namespace v3;
using namespace v3test;

namespace {

const TableDef& Table(const QString& file) { return *FindTable(file); }
const SlotLayout& Layout(const TableDef& t) { return dynamic_cast<const SlotCodec&>(*t.codec).layout(); }

// A value in a slot of its own: `width` bytes, the rest of the slot zero.
QByteArray Slot(qint64 v, int width = 4) { return Le(v, width) + QByteArray(4 - width, '\0'); }
QByteArray TextSlots(const QByteArray& bytes) {
  QByteArray out = Slot(bytes.size(), 2);
  for (char b : bytes) out += Slot(uint8_t(b), 1);
  return out;
}

// A row as a load gives it: the listed cells, 0 in the other number columns, empty texts.
QStringList Loaded(const TableDef& t, std::initializer_list<std::pair<int, QString>> cells) {
  QStringList row(t.fieldCount());
  for (const SlotElement& e : Layout(t).elements)
    if (e.kind == SlotKind::Integer) row[e.column - 1] = "0";
  for (const auto& [column, text] : cells) row[column - 1] = text;
  return row;
}

struct Encoded {
  SaveOutcome outcome;
  QByteArray bytes;
};
Encoded Encode(const TableDef& t, std::vector<QStringList> rows) {
  RecordStore grid;
  grid.reset(t.fieldCount(), std::move(rows));
  Encoded e;
  e.outcome = EncodeTable(t, QString(), Script::Traditional, grid, SaveRowOrder(t, grid), QByteArray(), &e.bytes);
  return e;
}
std::vector<QStringList> Decode(const TableDef& t, const QByteArray& bytes) {
  std::vector<QStringList> rows;
  for (TableRecord& r : t.codec->decode(bytes, CodecContext(Script::Traditional))) rows.push_back(std::move(r.cells));
  return rows;
}

}  // namespace

class SlotTablesTest : public QObject {
  Q_OBJECT

 private slots:

  void itemRecordBytes() {
    const TableDef& item = ItemTable();
    QStringList row{"1", "3", "AB", "11", "70000", "255", "-5", "-2", "200", "3"};
    for (int c = 0; c < 20; ++c) row << QString::number(c - 1);
    row << ""
        << "";
    const Encoded e = Encode(item, {row});
    QVERIFY(e.outcome.ok());

    QByteArray expected = Header(1, 300) + Slot(1, 2) + Slot(3, 1) + TextSlots("AB") + Slot(11, 1) + Slot(70000) +
                          Slot(255, 1) + Slot(-5) + Slot(-2, 2) + Slot(200, 2) + Slot(3, 2);
    for (int c = 0; c < 20; ++c) expected += Slot(c - 1, 2);
    expected += Slot(0, 2) + Slot(0, 2);
    QCOMPARE(e.bytes.size(), 12 + 136);
    QCOMPARE(e.bytes.toHex(), expected.toHex());
    QCOMPARE(Decode(item, e.bytes), std::vector<QStringList>{row});
  }

  // One text in an otherwise empty record: its length slot, one slot per byte, the record's size.
  void textItem_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lengthSlot");  // slot of the text's length within the record
    QTest::addColumn<int>("emptySlots");  // slots of the record when every text is empty
    QTest::newRow("Item name") << "Item.dat" << 3 << "AB" << 2 << 32;
    QTest::newRow("Item effect, 255 bytes") << "Item.dat" << 32 << QString(255, 'x') << 31 << 32;
    QTest::newRow("OfficeCom star 1") << "OfficeCom.dat" << 2 << "你好嗎" << 1 << 21;
    QTest::newRow("OfficeCom all empty") << "OfficeCom.dat" << 2 << "" << 1 << 21;
    QTest::newRow("OfficeEmo agent") << "OfficeEmo.dat" << 3 << "辛苦了" << 3 << 24;
    QTest::newRow("OfficeEmo star 20") << "OfficeEmo.dat" << 23 << "嗯" << 23 << 24;
    QTest::newRow("OfficeEmo all empty") << "OfficeEmo.dat" << 3 << "" << 3 << 24;
    QTest::newRow("RichBa question, 10 bytes") << "RichBa.tab" << 3 << "一二三四五" << 2 << 9;
    QTest::newRow("RichBa wrong answer 3") << "RichBa.tab" << 9 << "火" << 8 << 9;
    QTest::newRow("RichBa long line") << "RichBa.tab" << 9 << QString(32767, 'z') << 8 << 9;
  }
  void textItem() {
    QFETCH(QString, file);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(int, lengthSlot);
    QFETCH(int, emptySlots);
    const TableDef& t = Table(file);
    const QStringList row = Loaded(t, {{1, "1"}, {column, text}});
    const Encoded e = Encode(t, {row});
    QVERIFY2(e.outcome.ok(), qPrintable(e.outcome.reason));
    const QByteArray big5 = EncodeBig5Text(text).bytes;
    QCOMPARE(e.bytes.size(), 12 + 4 * (emptySlots + big5.size()));
    QCOMPARE(e.bytes.mid(12 + 4 * lengthSlot, 4 * (1 + big5.size())), TextSlots(big5));
    QCOMPARE(Decode(t, e.bytes), std::vector<QStringList>{row});
  }

  void officeEmoSkippedSlotIsZeroAfterSave() {
    const TableDef& t = OfficeEmoTable();
    QByteArray file = Header(1, 2700) + Slot(4) + Slot(-7, 2) + Hex("ffffffff");
    for (int k = 0; k < 21; ++k) file += TextSlots(k == 0 ? QByteArray("ok") : QByteArray());
    const std::vector<QStringList> rows = Decode(t, file);
    QCOMPARE(rows, std::vector<QStringList>{Loaded(t, {{1, "4"}, {2, "-7"}, {3, "ok"}})});
    const Encoded e = Encode(t, rows);
    QVERIFY(e.outcome.ok());
    QCOMPARE(e.bytes.mid(20, 4), Slot(0));
    QCOMPARE(e.bytes.size(), file.size());
    QCOMPARE(e.bytes.left(20), file.left(20));
    QCOMPARE(e.bytes.mid(24), file.mid(24));
  }

  void saveOrder_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("grid");     // number/second column of each row, top to bottom
    QTest::addColumn<QString>("written");  // the same, in the order written
    QTest::newRow("OfficeCom numeric") << "OfficeCom.dat"
                                       << "5/0 2/0 9/0"
                                       << "2/0 5/0 9/0";
    QTest::newRow("RichBa by number, then question number") << "RichBa.tab"
                                                            << "3/2 1/2 2/1 4/1"
                                                            << "2/1 4/1 1/2 3/2";
  }
  void saveOrder() {
    QFETCH(QString, file);
    QFETCH(QString, grid);
    QFETCH(QString, written);
    const TableDef& t = Table(file);
    std::vector<QStringList> rows;
    for (const QString& pair : grid.split(' ')) {
      const QStringList v = pair.split('/');
      rows.push_back(Loaded(t, {{1, v[0]}, {2, v[1]}}));
    }
    const Encoded e = Encode(t, rows);
    QVERIFY(e.outcome.ok());
    QStringList order;
    for (const QStringList& r : Decode(t, e.bytes)) order << r[0] + "/" + r[1];
    QCOMPARE(order.join(' '), written);
  }

  // A cell the file cannot hold refuses the whole save and names its grid row and column.
  void refusals_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("refused");
    QTest::newRow("Item name of 256 bytes") << "Item.dat" << 3 << QString(256, 'a') << true;
    QTest::newRow("Item name of 255 bytes") << "Item.dat" << 3 << QString(255, 'a') << false;
    QTest::newRow("Item name of 128 Big5 characters") << "Item.dat" << 3 << QString(128, u'星') << true;
    QTest::newRow("Item certificate 256 (read back as a byte)") << "Item.dat" << 9 << "256" << true;
    QTest::newRow("Item recipient -1") << "Item.dat" << 10 << "-1" << true;
    QTest::newRow("Item certificate 255") << "Item.dat" << 9 << "255" << false;
    QTest::newRow("Item type not a number") << "Item.dat" << 2 << "禮物" << true;
    QTest::newRow("OfficeCom event 32768") << "OfficeCom.dat" << 1 << "32768" << true;
    QTest::newRow("OfficeCom line of 32768 bytes") << "OfficeCom.dat" << 5 << QString(32768, 'q') << true;
    QTest::newRow("OfficeEmo unknown not a number") << "OfficeEmo.dat" << 2 << "abc" << true;
  }
  void refusals() {
    QFETCH(QString, file);
    QFETCH(int, column);
    QFETCH(QString, cell);
    QFETCH(bool, refused);
    const TableDef& t = Table(file);
    // Grid row 2 sorts first; the refusal must still name grid row 2.
    QStringList bad = Loaded(t, {{1, "1"}});
    bad[column - 1] = cell;
    const Encoded e = Encode(t, {Loaded(t, {{1, "20000"}}), bad});
    if (!refused) {
      QVERIFY2(e.outcome.ok(), qPrintable(e.outcome.reason));
      QCOMPARE(Decode(t, e.bytes)[0][column - 1], cell);
      return;
    }
    QCOMPARE(e.outcome.status, SaveOutcome::Refused);
    QCOMPARE(e.outcome.row, 2);
    QCOMPARE(e.outcome.column, column);
    QVERIFY(!e.outcome.reason.isEmpty());
  }

  // Short or hostile files: the walker stops reading at the end of the file.
  void shortFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("first");  // "column=text" of row 1 besides zeros and empty texts
    QTest::newRow("length promises 32767, two bytes there")
        << "OfficeCom.dat" << QByteArray(Header(2, 804) + Slot(1) + Slot(32767) + Slot('A') + Slot('B')) << 2
        << QStringList{"1=1", "2=AB"};
    QTest::newRow("file ends inside a byte slot")
        << "RichBa.tab" << QByteArray(Header(1, 320) + Slot(5) + Slot(6) + Slot(3) + "Q") << 1
        << QStringList{"1=5", "2=6", "3=Q"};
    QTest::newRow("negative length is an empty text")
        << "RichBa.tab" << QByteArray(Header(1, 320) + Slot(1) + Slot(2) + Hex("ffffffff") + TextSlots("AB")) << 1
        << QStringList{"1=1", "2=2", "4=AB"};
    QTest::newRow("Item length read as one byte")
        << "Item.dat" << QByteArray(Header(1, 300) + Slot(7) + Slot(1) + Hex("02ff0000") + Slot('O') + Slot('K')) << 1
        << QStringList{"1=7", "2=1", "3=OK"};
    QTest::newRow("count 32767 in a 12-byte file") << "OfficeEmo.dat" << Header(32767, 2700) << 32767 << QStringList{};
    QTest::newRow("negative count") << "Item.dat" << QByteArray(Header(-3, 300) + Slot(1)) << 0 << QStringList{};
  }
  void shortFiles() {
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(int, rows);
    QFETCH(QStringList, first);
    const TableDef& t = Table(file);
    const std::vector<QStringList> loaded = Decode(t, bytes);
    QCOMPARE(int(loaded.size()), rows);
    if (rows == 0) return;
    QStringList expected = Loaded(t, {});
    for (const QString& c : first) expected[c.section('=', 0, 0).toInt() - 1] = c.section('=', 1);
    QCOMPARE(loaded.front(), expected);
    QCOMPARE(loaded.back(), rows > 1 ? Loaded(t, {}) : expected);
  }
};

QTEST_GUILESS_MAIN(SlotTablesTest)
#include "test_slot_tables.moc"
