// The fixed-record tables: job, request, activity, firm and schedule files.
// Field positions and conversions, the saved file's shape and order, reserved
// bytes, refusals, codes through CSV, and generated folders round trip.
#include <QProcess>
#include <QtTest>

#include <array>
#include <random>

#include "TestSupport.h"
#include "tools/Sample.h"
#include "model/TableIo.h"
#include "tables/FixedLayout.h"
#include "tables/Slots.h"
#include "tables/Tables.h"
#include "text/Big5.h"
#include "text/Locale.h"

using namespace v3;
using namespace v3test;

namespace {

using Puts = std::initializer_list<std::pair<int, QByteArray>>;

const QStringList kFixedFiles{"CDCase.dat",      "CFCase.dat",      "MVCase.dat",       "TVCase.dat",
                              "SHCase.dat",      "CFRequest.dat",   "MVRequest.dat",    "TVRequest.dat",
                              "ReleaseCase.dat", "SpecialCase.dat", "WorkCase.dat",     "TrainCase.dat",
                              "StarRole.dat",    "Firm.dat",        "ScheduleClass.dat"};

const TableDef& table(const QString& file) {
  const TableDef* t = FindTable(file);
  if (!t) qFatal("no table %s", qPrintable(file));
  return *t;
}

int recordSize(const QString& file) {
  static const QHash<QString, int> sizes{{"CDCase.dat", 448},      {"CFCase.dat", 416},    {"MVCase.dat", 416},
                                         {"TVCase.dat", 416},      {"SHCase.dat", 476},    {"CFRequest.dat", 404},
                                         {"MVRequest.dat", 404},   {"TVRequest.dat", 404}, {"ReleaseCase.dat", 284},
                                         {"SpecialCase.dat", 284}, {"WorkCase.dat", 284},  {"TrainCase.dat", 284},
                                         {"StarRole.dat", 360},    {"Firm.dat", 112},      {"ScheduleClass.dat", 288}};
  return sizes.value(file);
}

QByteArray big5(const char* utf8) { return EncodeBig5Text(QString::fromUtf8(utf8)).bytes; }

QByteArray record(int size, Puts puts) {
  QByteArray r(size, '\0');
  for (const auto& [offset, bytes] : puts) Put(r, offset, bytes);
  return r;
}

// Producer.tab with 5 王導演, 300 李製作, 7 陳監製.
QByteArray producerTab() {
  QByteArray f = Header(3, 36);
  const std::pair<int, const char*> entries[] = {{5, "王導演"}, {300, "李製作"}, {7, "陳監製"}};
  for (const auto& [id, name] : entries) f += record(36, {{0, Le(id, 4)}, {4, big5(name)}});
  return f;
}

// A row whose column 1 is `key` and every other cell empty; StarRole rows name a male star.
QStringList keyRow(const QString& file, const QString& key) {
  QStringList r(table(file).fieldCount());
  r[0] = key;
  if (file == "StarRole.dat") r[2] = QStringLiteral("男");
  return r;
}

using Run = CliRun;
inline Run cli(const QStringList& args) { return RunCli(args); }

}  // namespace

class FixedTablesTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  QString sample_;  // a generated folder, seed 5, 6 records
  int folders_ = 0;

  QString freshFolder() {
    const QString f = dir_.filePath(QStringLiteral("f%1").arg(++folders_));
    QDir().mkpath(f);
    return f;
  }

 private slots:
  // A record writer against a plain array: the same bytes after any mix of
  // numbers, bytes and kept copies (at its end, past it, over what is
  // there), cuts, and, with `flushed`, flushes to a sink.
  void writerIsAPlainArray_data() {
    QTest::addColumn<unsigned>("seed");
    QTest::addColumn<bool>("flushed");
    for (unsigned seed = 1; seed <= 12; ++seed) QTest::addRow("seed %u", seed) << seed << bool(seed % 2);
  }
  void writerIsAPlainArray() {
    QFETCH(unsigned, seed);
    QFETCH(bool, flushed);
    std::mt19937 rng(seed);
    QByteArray file(500, '\0');
    for (char& c : file) c = char(rng());
    const KeptBytes kept(file, 300, 260);  // the file ends 60 bytes before the record does
    ByteWriter w(qint64(rng() % 2) * 64);
    ArraySink sink;
    QByteArray model;   // the whole content
    qint64 origin = 0;  // what was flushed
    const auto write = [&](qint64 at, const QByteArray& bytes) {
      model.append(QByteArray(std::max<qint64>(0, at + bytes.size() - model.size()), '\0'));
      model.replace(at, bytes.size(), bytes);
    };
    for (int step = 0; step < 400; ++step) {
      const qint64 at = origin + qint64(rng() % 40) + (rng() % 4 == 0 ? w.size() - origin : 0);
      if (const unsigned op = rng() % 5; op == 0) {
        const int64_t v = int64_t(rng());
        const int n = 1 << (rng() % 3);
        w.put(at, v, n == 1 ? IntWidth::U8 : n == 2 ? IntWidth::S16 : IntWidth::S32);
        write(at, Le(v, n));
      } else if (op == 1) {
        const QByteArray bytes(int(rng() % 9), char(rng()));
        w.putBytes(at, bytes);
        write(at, bytes);
      } else if (op == 2) {
        // At the content's end half the time: the copy is all its new bytes.
        const qint64 where = rng() % 2 ? w.size() : at, from = rng() % 280, count = rng() % 50;
        w.putKept(where, kept, from, count);
        if (count > 0)
          write(where, file.mid(300 + from, std::min<qint64>(count, 200 - from)).leftJustified(count, '\0'));
      } else if (op == 3) {
        const qint64 size = std::max(origin, w.size() + qint64(rng() % 30) - 20);
        w.resize(size);
        write(size, {});
        model.truncate(size);
      } else if (flushed) {
        const qint64 end = std::min(w.size(), origin + qint64(rng() % 60));
        w.flush(sink, end);
        origin = std::max(origin, end);
      }
      QCOMPARE(w.size(), qint64(model.size()));
    }
    if (flushed) w.flush(sink, w.size());
    QCOMPARE(flushed ? sink.take() : w.take(), model);
  }

  void initTestCase() {
    sample_ = dir_.filePath("sample");
    QString error;
    QVERIFY2(WriteSampleFolder(sample_, 5, 6, &error), qPrintable(error));
  }

  void registered() {
    // Producer.tab stays first; every fixed table is there once, under its code.
    QCOMPARE(AllTables().front()->fileName, QStringLiteral("Producer.tab"));
    const QStringList codes{"CD", "CF", "MV", "TV", "SH",   "CFR",  "MVR", "TVR",
                            "RC", "SC", "WC", "TC", "Star", "Firm", "Sch"};
    for (int i = 0; i < kFixedFiles.size(); ++i) {
      int seen = 0;
      for (const TableDef* t : AllTables()) seen += t->fileName == kFixedFiles[i];
      QCOMPARE(seen, 1);
      QCOMPARE(table(kFixedFiles[i]).code, codes[i]);
    }
  }

  // One field of record 1: how the load shows it; a save without an edit
  // gives back the file's bytes (apart from the type tags and the bytes no
  // field covers), and `saved` is what the cell's text is written as when
  // it is encoded anew (the record copied as a new one).
  void fields_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("rec");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("saved");
    const QString nul(1, QChar(0));
    auto row = [](const char* name, const char* file, Puts puts, int column, const QString& shown, int offset,
                  const QByteArray& saved) {
      QTest::newRow(name) << QString(file) << record(recordSize(file), puts) << column << shown << offset << saved;
    };
    // Job files.
    row("CD short code keeps its zeros", "CDCase.dat", {{0, "A1"}}, 1, "A1" + nul + nul + nul, 0,
        QByteArray("A1", 2) + QByteArray(8, '\0'));
    row("CD producer byte 5", "CDCase.dat", {{104, Hex("05")}}, 7, "王導演", 104, Hex("05000000"));
    row("CD producer reads one byte", "CDCase.dat", {{104, Hex("05010000")}}, 7, "王導演", 104, Hex("05000000"));
    row("CD unknown producer stays a number", "CDCase.dat", {{104, Hex("09")}}, 7, "9", 104, Hex("09000000"));
    row("CD difficulty 200", "CDCase.dat", {{96, Hex("c8")}}, 5, "200", 96, Hex("c8000000"));
    row("CD year 2", "CDCase.dat", {{100, Hex("02")}}, 6, "第二年", 100, Hex("02000000"));
    row("CD year 0 shows 特殊, written anew as 4", "CDCase.dat", {{100, Hex("00")}}, 6, "特殊", 100, Hex("04000000"));
    row("CD year 7 shows its number", "CDCase.dat", {{100, Hex("07")}}, 6, "7", 100, Hex("07000000"));
    row("CD year 255 shows its number", "CDCase.dat", {{100, Hex("ff")}}, 6, "255", 100, Hex("ff000000"));
    row("MV year 300 shows its number", "MVCase.dat", {{96, Le(300, 4)}}, 4, "300", 96, QByteArray());
    row("CD rebellious -1", "CDCase.dat", {{428, Hex("ffff")}}, 10, "-1", 428, Hex("ffff0000"));
    row("CD synopsis is column 13", "CDCase.dat", {{146, big5("年度大戲")}}, 13, "年度大戲", 146, big5("年度大戲"));
    row("CD default artist at 408", "CDCase.dat", {{408, big5("林心怡")}}, 9, "林心怡", 408,
        big5("林心怡") + QByteArray(14, '\0'));
    row("CD blanks trimmed", "CDCase.dat", {{116, "AB  "}}, 8, "AB", 116, QByteArray("AB\0\0", 4));
    row("CF flag byte 3", "CFCase.dat", {{404, Hex("03")}}, 8, "√", 404, Hex("01000000"));
    row("CF flag reads one byte", "CFCase.dat", {{404, Hex("0001")}}, 8, "", 404, Hex("00000000"));
    row("CF group 255", "CFCase.dat", {{408, Hex("ff00")}}, 9, "255", 408, Hex("ff000000"));
    row("CF level kept untrimmed", "CFCase.dat", {{50, big5("初")}}, 3, "初 ", 50,
        big5("初") + " " + QByteArray(1, '\0'));
    row("CF grade", "CFCase.dat", {{54, "S"}}, 4, "S", 54, QByteArray("S\0", 2));
    row("CF company untrimmed", "CFCase.dat", {{108, big5("華納唱片")}}, 6, "華納唱片", 108, big5("華納唱片"));
    row("CF ad type at 394", "CFCase.dat", {{394, big5("飲料")}}, 7, "飲料", 394, big5("飲料") + QByteArray(4, '\0'));
    row("CF tag replaces old bytes", "CFCase.dat", {{70, "XXXX"}}, 2, "", 70, Hex("bc73a769"));
    row("MV tag", "MVCase.dat", {}, 2, "", 70, Hex("b971bc76"));
    row("MV year read as 32 bits", "MVCase.dat", {{96, Hex("03000000")}}, 4, "第三年", 96, Hex("03000000"));
    row("MV producer written as a byte", "MVCase.dat", {{100, Hex("05000000")}}, 5, "王導演", 100, Hex("05000000"));
    row("TV producer read as 16 bits", "TVCase.dat", {{100, Hex("07000100")}}, 6, "陳監製", 100, Hex("07000000"));
    row("TV length", "TVCase.dat", {{70, big5("一小時")}}, 4, "一小時", 70, big5("一小時"));
    row("TV company at 108", "TVCase.dat", {{108, big5("三立電視")}}, 7, "三立電視", 108, big5("三立電視"));
    row("SH producer 300", "SHCase.dat", {{104, Hex("2c010000")}}, 7, "李製作", 104, Hex("2c010000"));
    row("SH violence 5", "SHCase.dat", {{428, Hex("0500")}}, 10, "√", 428, Hex("01000000"));
    row("SH kiss -1", "SHCase.dat", {{452, Hex("ffff")}}, 16, "√", 452, Hex("01000000"));
    row("SH affinity -100", "SHCase.dat", {{464, Hex("9cff")}}, 19, "-100", 464, Hex("9cff0000"));
    row("SH synopsis is column 20", "SHCase.dat", {{146, big5("需要清新")}}, 20, "需要清新", 146, big5("需要清新"));
    // Request files.
    row("CFR flag 2", "CFRequest.dat", {{36, Hex("0200")}}, 6, "√", 36, Hex("01000000"));
    row("CFR flag reads 16 bits", "CFRequest.dat", {{36, Hex("00000100")}}, 6, "", 36, Hex("00000000"));
    row("TVR flag reads 32 bits", "TVRequest.dat", {{36, Hex("00000100")}}, 6, "√", 36, Hex("01000000"));
    row("TVR flag -1", "TVRequest.dat", {{60, Hex("ffffffff")}}, 12, "√", 60, Hex("01000000"));
    row("TVR 70000", "TVRequest.dat", {{64, Le(70000, 4)}}, 13, "70000", 64, Le(70000, 4));
    row("CFR 70000 reads 4464", "CFRequest.dat", {{64, Le(70000, 4)}}, 13, "4464", 64, Le(4464, 4));
    row("MVR 70000 reads 4464", "MVRequest.dat", {{116, Le(70000, 4)}}, 24, "4464", 116, Le(4464, 4));
    row("CFR negative written as 32 bits", "CFRequest.dat", {{84, Hex("fbff")}}, 16, "-5", 84, Hex("fbffffff"));
    row("CFR six-byte role number", "CFRequest.dat", {{0, "R00001"}, {10, "CF001"}}, 1, "R00001", 0,
        QByteArray("R00001\0\0\0\0CF001", 15));
    row("CFR target four bytes", "CFRequest.dat", {{20, big5("團體")}, {24, "ZZ"}}, 3, "團體", 20,
        big5("團體") + QByteArray(8, '\0'));
    row("MVR target six bytes padded", "MVRequest.dat", {{20, big5("團體")}}, 3, "團體 ", 20,
        big5("團體") + " " + QByteArray(7, '\0'));
    row("CFR difficulty", "CFRequest.dat", {{32, Hex("04ffffff")}}, 4, "4", 32, Hex("04000000"));
    row("CFR synopsis at 120", "CFRequest.dat", {{120, big5("反派角色")}}, 25, "反派角色", 120, big5("反派角色"));
    row("CFR default artist last", "CFRequest.dat", {{384, big5("林心怡")}}, 5, "林心怡", 384,
        big5("林心怡") + QByteArray(14, '\0'));
    // Activity files.
    row("RC stress -5", "ReleaseCase.dat", {{128, Le(-5, 4)}}, 25, "-5", 128, Hex("fbffffff"));
    row("TC last flag", "TrainCase.dat", {{280, Le(1, 4)}}, 39, "1", 280, Le(1, 4));
    row("SC level next to name", "SpecialCase.dat", {{8, big5("一二三四五六七八九十")}, {28, big5("高級")}}, 4, "高級",
        8, big5("一二三四五六七八九十") + big5("高級"));
    row("WC number uses 32 bits", "WorkCase.dat", {{0, Le(70000, 4)}}, 1, "70000", 0, Le(70000, 4));
    row("WC description", "WorkCase.dat", {{180, big5("簽名會")}}, 38, "簽名會", 180, big5("簽名會"));
    // Firms and schedules.
    row("Firm artist -1", "Firm.dat", {{44, Le(-1, 4)}}, 4, "-1", 44, Hex("ffffffff"));
    row("Firm artist 6", "Firm.dat", {{64, Le(12, 4)}}, 9, "12", 64, Le(12, 4));
    row("Firm image", "Firm.dat", {{68, big5("年輕有活力")}}, 10, "年輕有活力", 68, big5("年輕有活力"));
    row("Firm public relations", "Firm.dat", {{104, Le(77, 4)}, {108, Hex("ffffffff")}}, 12, "77", 104,
        Le(77, 4) + Le(0, 4));
    row("Sch 14-byte name", "ScheduleClass.dat", {{4, big5("一二三四五六七")}, {19, big5("課程")}}, 2, "一二三四五六七",
        4, big5("一二三四五六七") + QByteArray(1, '\0') + big5("課程"));
    row("Sch time after type", "ScheduleClass.dat", {{19, big5("一二三四五六七")}, {34, big5("上午")}}, 4, "上午", 19,
        big5("一二三四五六七") + QByteArray(1, '\0') + big5("上午"));
    row("Sch flag", "ScheduleClass.dat", {{184, Le(1, 4)}}, 25, "1", 184, Le(1, 4));
    row("Sch description", "ScheduleClass.dat", {{188, big5("休息一天")}}, 26, "休息一天", 188, big5("休息一天"));
  }
  void fields() {
    QFETCH(QString, file);
    QFETCH(QByteArray, rec);
    QFETCH(int, column);
    QFETCH(QString, shown);
    QFETCH(int, offset);
    QFETCH(QByteArray, saved);
    const QString folder = freshFolder();
    QVERIFY(WriteFile(folder + "/Producer.tab", producerTab()));
    QVERIFY(WriteFile(folder + "/" + file, Header(1, recordSize(file)) + rec));
    RecordStore grid;
    QVERIFY(LoadTable(table(file), folder, Script::Traditional, grid));
    QCOMPARE(grid.recordCount(), 1);
    QCOMPARE(grid.cell(1, column), shown);
    SaveOutcome out = SaveTable(table(file), folder, Script::Traditional, grid);
    QVERIFY2(out.ok(), qPrintable(out.message(file)));
    QByteArray bytes = ReadFile(folder + "/" + file);
    QCOMPARE(bytes.size(), 12 + recordSize(file));
    // Unchanged: every byte of every field as it was, the type tags written,
    // the bytes no field covers zero.
    QCOMPARE(bytes.mid(12).toHex(), KeptRecord(table(file).codec, Header(1, recordSize(file)) + rec, 0).toHex());

    // Encoded from its text.
    grid.reset(grid.fieldCount(), grid.records());
    out = SaveTable(table(file), folder, Script::Traditional, grid);
    if (saved.isEmpty()) {
      QCOMPARE(out.status, SaveOutcome::Refused);
      QCOMPARE(out.column, column);
      return;
    }
    QVERIFY2(out.ok(), qPrintable(out.message(file)));
    bytes = ReadFile(folder + "/" + file);
    QCOMPARE(bytes.mid(12 + offset, saved.size()).toHex(), saved.toHex());
  }

  // Every saved file: the header 1010, N, record size, then exactly N records.
  void savedFileShape_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("count");
    for (const QString& f : kFixedFiles) {
      QTest::newRow(qPrintable(f + " empty")) << f << 0;
      QTest::newRow(qPrintable(f + " three")) << f << 3;
    }
  }
  void savedFileShape() {
    QFETCH(QString, file);
    QFETCH(int, count);
    const QString folder = freshFolder();
    RecordStore grid;
    std::vector<QStringList> rows;
    for (int i = count; i >= 1; --i) rows.push_back(keyRow(file, QString::number(i)));
    grid.reset(table(file).fieldCount(), rows);
    const SaveOutcome out = SaveTable(table(file), folder, Script::Traditional, grid);
    QVERIFY2(out.ok(), qPrintable(out.message(file)));
    const QByteArray bytes = ReadFile(folder + "/" + file);
    QCOMPARE(bytes.size(), 12 + count * recordSize(file));
    QCOMPARE(bytes.left(12), Header(count, recordSize(file)));
  }

  // Column 1 decides the order written: as text for the job and request
  // files and the firms, as a number for the rest.
  void saveOrder_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QStringList>("written");
    QTest::newRow("SH text order") << "SHCase.dat" << QStringList{"A10", "A2", "A1"} << QStringList{"A1", "A10", "A2"};
    QTest::newRow("CD text order") << "CDCase.dat" << QStringList{"b", "B", "A2", "A10"}
                                   << QStringList{"A10", "A2", "B", "b"};
    QTest::newRow("CFR text order") << "CFRequest.dat" << QStringList{"R10", "R9", "R1"}
                                    << QStringList{"R1", "R10", "R9"};
    QTest::newRow("Firm numbers as text") << "Firm.dat" << QStringList{"10", "2", "1"} << QStringList{"1", "10", "2"};
    QTest::newRow("Sch numbers") << "ScheduleClass.dat" << QStringList{"10", "2", "1"} << QStringList{"1", "2", "10"};
    QTest::newRow("TC numbers") << "TrainCase.dat" << QStringList{"10", "-3", "2"} << QStringList{"-3", "2", "10"};
    QTest::newRow("Star numbers") << "StarRole.dat" << QStringList{"10", "2", "1"} << QStringList{"1", "2", "10"};
  }
  void saveOrder() {
    QFETCH(QString, file);
    QFETCH(QStringList, keys);
    QFETCH(QStringList, written);
    const QString folder = freshFolder();
    std::vector<QStringList> rows;
    for (const QString& k : keys) rows.push_back(keyRow(file, k));
    RecordStore grid;
    grid.reset(table(file).fieldCount(), rows);
    QVERIFY(SaveTable(table(file), folder, Script::Traditional, grid).ok());
    RecordStore back;
    LoadTable(table(file), folder, Script::Traditional, back);
    QStringList got, shown;
    for (int r = 1; r <= back.recordCount(); ++r) {
      got << QString(back.cell(r, 1)).remove(QChar(0));
      shown << grid.cell(r, 1);
    }
    QCOMPARE(got, written);
    QCOMPARE(shown, written);  // the grid shows the order written
  }

  // Bytes that no field covers, and the parts of a slot the load does not
  // read, are neither shown nor kept: whatever they hold, the save writes zeros.
  void reservedBytes_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QList<int>>("ranges");  // first, last, first, last ...
    QTest::newRow("CD") << "CDCase.dat" << QList<int>{5,   9,   60,  69,  80,  95,  97,  99,  101, 103, 105,
                                                      115, 136, 145, 346, 407, 430, 431, 434, 435, 438, 447};
    QTest::newRow("CF") << "CFCase.dat" << QList<int>{5,   9,   55,  69,  70,  73,  74,  95,  97,  107,
                                                      116, 137, 338, 393, 402, 403, 405, 407, 410, 415};
    QTest::newRow("MV") << "MVCase.dat" << QList<int>{5, 9, 60, 69, 70, 73, 74, 95, 104, 107, 118, 137, 338, 415};
    QTest::newRow("TV") << "TVCase.dat" << QList<int>{5, 9, 60, 69, 76, 95, 98, 99, 102, 107, 120, 137, 338, 415};
    QTest::newRow("SH") << "SHCase.dat" << QList<int>{5,   9,   60,  69,  80,  95,  97,  99,  101, 103,
                                                      108, 115, 136, 145, 346, 407, 430, 431, 466, 475};
    QTest::newRow("CFR") << "CFRequest.dat"
                         << QList<int>{6, 9, 15, 19, 24, 31, 33, 35, 38, 39, 66, 67, 76, 83, 320, 383};
    QTest::newRow("MVR") << "MVRequest.dat"
                         << QList<int>{6, 9, 15, 19, 26, 31, 33, 35, 62, 63, 76, 83, 118, 119, 320, 383};
    QTest::newRow("TVR") << "TVRequest.dat" << QList<int>{6, 9, 15, 19, 26, 31, 33, 35, 76, 83, 320, 383};
    QTest::newRow("Firm") << "Firm.dat" << QList<int>{108, 111};
    QTest::newRow("Sch") << "ScheduleClass.dat" << QList<int>{18, 18, 33, 33, 40, 103};
  }
  void reservedBytes() {
    QFETCH(QString, file);
    QFETCH(QList<int>, ranges);
    const QByteArray original = ReadFile(sample_ + "/" + file);
    const int size = recordSize(file);
    const int n = (int(original.size()) - 12) / size;
    QVERIFY(n > 0);
    QByteArray dirty = original;
    for (int k = 0; k < n; ++k)
      for (int i = 0; i + 1 < ranges.size(); i += 2)
        for (int b = ranges[i]; b <= ranges[i + 1]; ++b) dirty[12 + k * size + b] = char(0xEE);
    const QString folder = freshFolder();
    QVERIFY(QFile::copy(sample_ + "/Producer.tab", folder + "/Producer.tab"));
    QVERIFY(WriteFile(folder + "/" + file, dirty));
    RecordStore grid;
    LoadTable(table(file), folder, Script::Traditional, grid);
    QByteArray saved;
    const SaveOutcome out =
        EncodeTable(table(file), folder, Script::Traditional, grid, SaveRowOrder(table(file), grid), dirty, &saved);
    QVERIFY2(out.ok(), qPrintable(out.message(file)));
    // Bytes no field covers are zero again; the unread parts of a field's
    // slot are the field's and stay.
    QByteArray expected = saved.left(12);
    for (int k = 0; k < n; ++k) expected += KeptRecord(table(file).codec, dirty, k);
    QCOMPARE(saved.toHex(), expected.toHex());
    for (int k = 0; k < n; ++k)
      for (int i = 0; i + 1 < ranges.size(); i += 2)
        for (int b = ranges[i]; b <= ranges[i + 1]; ++b) {
          bool inField = false;
          for (const FieldDef& f : dynamic_cast<const FixedCodec*>(table(file).codec)->layoutFor(dirty).fields)
            inField = inField || (b >= f.offset && b < f.offset + f.width);
          if (!inField) QCOMPARE(int(uchar(saved[12 + k * size + b])), 0);
        }
  }

  // Whatever cannot be stored refuses the save: the row as the grid showed it,
  // the column, a reason; the file, its .bak and the grid stay as they were.
  void refusals_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("cell");
    QTest::newRow("CD code longer than its field") << "CDCase.dat" << 1 << 1 << "ABCDEF";
    QTest::newRow("CD code not single bytes") << "CDCase.dat" << 2 << 1 << "通告";
    QTest::newRow("CD difficulty 256") << "CDCase.dat" << 2 << 5 << "256";
    QTest::newRow("CD producer unknown") << "CDCase.dat" << 1 << 7 << "無名氏";
    QTest::newRow("CD producer beyond the byte read") << "CDCase.dat" << 3 << 7 << "李製作";
    QTest::newRow("CD producer number beyond the byte read") << "CDCase.dat" << 3 << 7 << "256";
    QTest::newRow("CD rebellious 40000") << "CDCase.dat" << 2 << 10 << "40000";
    QTest::newRow("CD rebellious not a number") << "CDCase.dat" << 2 << 11 << "高";
    QTest::newRow("CD name 42 bytes") << "CDCase.dat" << 1 << 2 << QString(21, QChar(0x661F));
    QTest::newRow("CF group 300") << "CFCase.dat" << 1 << 9 << "300";
    QTest::newRow("CF group -1") << "CFCase.dat" << 2 << 9 << "-1";
    QTest::newRow("CF grade two letters") << "CFCase.dat" << 2 << 4 << "SS";
    QTest::newRow("CF level 6 bytes") << "CFCase.dat" << 2 << 3 << "一二三";
    QTest::newRow("MV producer 300") << "MVCase.dat" << 1 << 5 << "李製作";
    QTest::newRow("MV year 256") << "MVCase.dat" << 3 << 4 << "256";
    QTest::newRow("TV producer number 256") << "TVCase.dat" << 2 << 6 << "256";
    QTest::newRow("TV length 8 bytes") << "TVCase.dat" << 2 << 4 << "一二三四";
    QTest::newRow("SH producer number 40000") << "SHCase.dat" << 1 << 7 << "40000";
    QTest::newRow("SH rebellious -40000") << "SHCase.dat" << 3 << 17 << "-40000";
    QTest::newRow("CFR role 7 characters") << "CFRequest.dat" << 1 << 1 << "R000001";
    QTest::newRow("CFR job 6 characters") << "CFRequest.dat" << 1 << 2 << "CF0001";
    QTest::newRow("CFR target 6 bytes") << "CFRequest.dat" << 2 << 3 << "男歌手";
    QTest::newRow("CFR difficulty 256") << "CFRequest.dat" << 2 << 4 << "256";
    QTest::newRow("CFR 70000 read back as 16 bits") << "CFRequest.dat" << 3 << 13 << "70000";
    QTest::newRow("MVR effect not a number") << "MVRequest.dat" << 2 << 20 << "x";
    QTest::newRow("TVR beyond 32 bits") << "TVRequest.dat" << 1 << 24 << "2147483648";
    QTest::newRow("RC name into level") << "ReleaseCase.dat" << 1 << 3 << "一二三四五六七八九十甲";
    QTest::newRow("SC level 22 bytes") << "SpecialCase.dat" << 2 << 4 << "一二三四五六七八九十甲";
    QTest::newRow("WC hidden column not a number") << "WorkCase.dat" << 3 << 6 << "三天";
    QTest::newRow("TC description 102 bytes") << "TrainCase.dat" << 2 << 38 << QString(51, QChar(0x661F));
    QTest::newRow("Star 40000") << "StarRole.dat" << 2 << 4 << "40000";
    QTest::newRow("Star name 22 bytes") << "StarRole.dat" << 1 << 2 << "一二三四五六七八九十甲";
    QTest::newRow("Firm image 34 bytes") << "Firm.dat" << 2 << 10 << QString(17, QChar(0x661F));
    QTest::newRow("Firm number 2^31") << "Firm.dat" << 1 << 1 << "2147483648";
    QTest::newRow("Sch name into type") << "ScheduleClass.dat" << 1 << 2 << "一二三四五六七八";
    QTest::newRow("Sch type into time") << "ScheduleClass.dat" << 2 << 3 << "ABCDEFGHIJKLMNO";
    QTest::newRow("Sch time 7 bytes") << "ScheduleClass.dat" << 3 << 4 << "上午ABC";
  }
  void refusals() {
    QFETCH(QString, file);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, cell);
    const QString folder = freshFolder();
    const QString path = folder + "/" + file;
    QVERIFY(WriteFile(folder + "/Producer.tab", producerTab()));
    // Rows in reverse order, so that the refused row is not where the save would write it.
    const QStringList keys{"3", "2", "1"};
    std::vector<QStringList> rows;
    for (const QString& k : keys) rows.push_back(keyRow(file, k));
    RecordStore grid;
    grid.reset(table(file).fieldCount(), rows);
    QVERIFY(SaveTable(table(file), folder, Script::Traditional, grid).ok());
    const QByteArray file0 = ReadFile(path);
    QVERIFY(WriteFile(path + ".bak", "older backup"));
    grid.reset(table(file).fieldCount(), rows);
    grid.setCell(row, column, cell);
    const std::vector<QStringList> before = grid.records();
    const SaveOutcome out = SaveTable(table(file), folder, Script::Traditional, grid);
    QCOMPARE(out.status, SaveOutcome::Refused);
    QCOMPARE(out.row, row);
    QCOMPARE(out.column, column);
    QVERIFY(!out.reason.isEmpty());
    QCOMPARE(ReadFile(path), file0);
    QCOMPARE(ReadFile(path + ".bak"), QByteArray("older backup"));
    QCOMPARE(grid.records(), before);
  }

  // What the save accepts at the edges of the widths it writes.
  void limits_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("CF group 255") << "CFCase.dat" << 9 << "255" << 408 << Hex("ff000000");
    QTest::newRow("CD code of 5") << "CDCase.dat" << 1 << "ABCDE" << 0 << QByteArray("ABCDE\0\0\0\0\0", 10);
    QTest::newRow("CD producer as a number") << "CDCase.dat" << 7 << "255" << 104 << Hex("ff000000");
    QTest::newRow("SH producer 32767") << "SHCase.dat" << 7 << "32767" << 104 << Hex("ff7f0000");
    QTest::newRow("MV producer by name") << "MVCase.dat" << 5 << "陳監製" << 100 << Hex("07000000");
    QTest::newRow("CD producer by a name's beginning") << "CDCase.dat" << 7 << "王" << 104 << Hex("05000000");
    QTest::newRow("CD empty producer") << "CDCase.dat" << 7 << "" << 104 << Hex("00000000");
    QTest::newRow("CF flag other text") << "CFCase.dat" << 8 << "v" << 404 << Hex("00000000");
    QTest::newRow("CFR -32768") << "CFRequest.dat" << 15 << "-32768" << 72 << Hex("0080ffff");
    QTest::newRow("TVR 70000") << "TVRequest.dat" << 15 << "70000" << 72 << Le(70000, 4);
    QTest::newRow("Sch time 6 bytes") << "ScheduleClass.dat" << 4 << "全天AB" << 34 << big5("全天AB");
    QTest::newRow("RC name 20 bytes") << "ReleaseCase.dat" << 3 << "一二三四五六七八九十" << 8
                                      << big5("一二三四五六七八九十");
  }
  void limits() {
    QFETCH(QString, file);
    QFETCH(int, column);
    QFETCH(QString, cell);
    QFETCH(int, offset);
    QFETCH(QByteArray, saved);
    const QString folder = freshFolder();
    QVERIFY(WriteFile(folder + "/Producer.tab", producerTab()));
    QStringList r = keyRow(file, "1");
    r[column - 1] = cell;
    RecordStore grid;
    grid.reset(table(file).fieldCount(), {r});
    const SaveOutcome out = SaveTable(table(file), folder, Script::Traditional, grid);
    QVERIFY2(out.ok(), qPrintable(out.message(file)));
    QCOMPARE(ReadFile(folder + "/" + file).mid(12 + offset, saved.size()).toHex(), saved.toHex());
  }

  // The load hides the columns the table names and sets its leading columns;
  // hidden columns are saved like any other.
  void gridSettings_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QList<int>>("hidden");
    QTest::addColumn<int>("leading");
    QTest::newRow("CD") << "CDCase.dat" << QList<int>{} << 2;
    QTest::newRow("SH") << "SHCase.dat" << QList<int>{} << 2;
    QTest::newRow("TVR") << "TVRequest.dat" << QList<int>{} << 3;
    QTest::newRow("TC") << "TrainCase.dat" << QList<int>{7, 8, 9, 10, 11, 12, 13, 14, 15} << 4;
    QTest::newRow("SC") << "SpecialCase.dat" << QList<int>{} << 4;
    QTest::newRow("RC") << "ReleaseCase.dat" << QList<int>{4, 7, 8, 9, 10, 11, 12, 13, 14, 15} << 3;
    QTest::newRow("WC") << "WorkCase.dat" << QList<int>{6} << 4;
    QTest::newRow("Star") << "StarRole.dat" << QList<int>{35, 36, 37, 38, 39, 40, 41, 42} << 2;
    QTest::newRow("Firm") << "Firm.dat" << QList<int>{} << 0;
    QTest::newRow("Sch") << "ScheduleClass.dat" << QList<int>{} << 2;
  }
  void gridSettings() {
    QFETCH(QString, file);
    QFETCH(QList<int>, hidden);
    QFETCH(int, leading);
    const QString folder = freshFolder();
    for (const QString& f : {QStringLiteral("Producer.tab"), file})
      QVERIFY(QFile::copy(sample_ + "/" + f, folder + "/" + f));
    const QByteArray original = ReadFile(folder + "/" + file);
    RecordStore grid;
    QVERIFY(LoadTable(table(file), folder, Script::Traditional, grid));
    QCOMPARE(grid.hiddenColumns(), hidden);
    QCOMPARE(grid.leadingColumns(), leading);
    // Change a hidden column's value: the save writes it where it belongs.
    for (int c : hidden) grid.setCell(1, c, QString::number(100 + c));
    QVERIFY(SaveTable(table(file), folder, Script::Traditional, grid).ok());
    RecordStore back;
    LoadTable(table(file), folder, Script::Traditional, back);
    for (int c : hidden) QCOMPARE(back.cell(1, c), QString::number(100 + c));
    if (hidden.isEmpty()) QCOMPARE(ReadFile(folder + "/" + file), original);
  }

  // A generated folder loads and saves byte for byte, table by table.
  void sampleRoundTrip_data() {
    QTest::addColumn<uint>("seed");
    QTest::addColumn<int>("records");
    QTest::newRow("seed 1") << 1u << 25;
    QTest::newRow("seed 2") << 2u << 25;
    QTest::newRow("seed 3, one record") << 3u << 1;
    QTest::newRow("seed 4") << 4u << 40;
    QTest::newRow("seed 77") << 77u << 12;
  }
  void sampleRoundTrip() {
    QFETCH(uint, seed);
    QFETCH(int, records);
    const QString folder = freshFolder();
    QString error;
    QVERIFY2(WriteSampleFolder(folder, seed, records, &error), qPrintable(error));
    for (const QString& file : kFixedFiles) {
      const QByteArray bytes = ReadFile(folder + "/" + file);
      QCOMPARE(bytes.size(), 12 + records * recordSize(file));
      RecordStore grid;
      grid.reset(table(file).fieldCount(), ReadTableRows(table(file), folder, Script::Traditional));
      QByteArray saved;
      const SaveOutcome out =
          EncodeTable(table(file), folder, Script::Traditional, grid, SaveRowOrder(table(file), grid), bytes, &saved);
      QVERIFY2(out.ok(), qPrintable(out.message(file)));
      QVERIFY2(saved == bytes, qPrintable(file));
    }
    // Odd seeds write the stars in layout A, even ones in layout B.
    QCOMPARE(StarRoleUsesLayoutA(ReadFile(folder + "/StarRole.dat")), seed % 2 == 1);
  }

  // A code's trailing zero bytes never reach CSV, and the bytes still round trip.
  void codesThroughCsv_data() {
    QTest::addColumn<QString>("file");
    for (const char* f : {"CDCase.dat", "CFCase.dat", "SHCase.dat", "CFRequest.dat", "TVRequest.dat"})
      QTest::newRow(f) << QString(f);
  }
  void codesThroughCsv() {
    QFETCH(QString, file);
    if (qgetenv("V3_CLI").isEmpty()) QSKIP("V3_CLI is set by CTest");
    const QString folder = freshFolder();
    QVERIFY(cli({"sample", folder, "--seed", "8", "--records", "12"}).code == 0);
    const QByteArray before = ReadFile(folder + "/" + file);
    bool shortCode = false;
    for (const QStringList& r : ReadTableRows(table(file), folder, Script::Traditional))
      shortCode = shortCode || r[0].contains(QChar(0));
    QVERIFY(shortCode);  // the sample holds codes shorter than their field
    const Run e = cli({"export", folder, file});
    QCOMPARE(e.code, 0);
    QVERIFY(!e.out.contains('\0'));
    const QString csv = folder + "/table.csv";
    QVERIFY(WriteFile(csv, e.out));
    const Run i = cli({"import", folder, file, csv});
    QVERIFY2(i.code == 0, i.err.constData());
    QCOMPARE(ReadFile(folder + "/" + file).toHex(), before.toHex());
    const Run c = cli({"check", folder, file});
    QCOMPARE(c.code, 0);
    QVERIFY(c.out.contains("identical"));
  }
};

QTEST_GUILESS_MAIN(FixedTablesTest)
#include "test_fixed_tables.moc"
