// The job files: CDCase.dat, CFCase.dat, MVCase.dat, TVCase.dat and SHCase.dat.
#include <algorithm>

#include "tables/FixedLayout.h"
#include "tables/SampleContext.h"
#include "tables/Tables.h"

namespace v3 {
namespace {

using W = IntWidth;
using K = FieldKind;

FieldDef Tag(int offset, const char* big5Word) {
  FieldDef f = Kind(K::TypeTag, offset, 4, 0);
  f.tag = big5Word;
  return f;
}

// CDCase.dat: record jobs, 448 bytes. The synopsis (column 13) lies before
// the default artist (column 9) in the record.
const FixedCodec kCDCodec(FixedLayout{448,
                                      448,
                                      13,
                                      {
                                          Kind(K::Code, 0, 5, 1),                       // 通告编号
                                          Text(10, 40, 2),                              // 通告名称
                                          Text(50, 10, 3),                              // 通告类型
                                          Text(70, 10, 4),                              // 征求对象
                                          Int(96, 5, W::U8, W::U8),                     // 通告难度
                                          Kind(K::Year, 100, 4, 6, W::U8, W::U8),       // 时间
                                          Kind(K::Producer, 104, 4, 7, W::U8, W::S32),  // 制作人
                                          Text(116, 20, 8),                             // 制作公司
                                          Text(146, 200, 13),                           // 简介
                                          Text(408, 20, 9),                             // 默认艺人
                                          Int(428, 10, W::S16, W::S16),                 // 叛逆
                                          Int(432, 11, W::S16, W::S16),                 // 性感
                                          Int(436, 12, W::S16, W::S16),                 // 亲和
                                      }});

// CFCase.dat: advertisement jobs, 416 bytes; every record carries the tag 廣告.
const FixedCodec kCFCodec(FixedLayout{416,
                                      416,
                                      10,
                                      {
                                          Kind(K::Code, 0, 5, 1),                                  // 通告编号
                                          Text(10, 40, 2),                                         // 通告名称
                                          Kind(K::TextPadded, 50, 4, 3),                           // 通告等级
                                          Kind(K::Code, 54, 1, 4),                                 // grade S / A / B
                                          Tag(70, "廣告"), Kind(K::Year, 96, 4, 5, W::U8, W::U8),  // 时间
                                          Kind(K::TextPadded, 108, 8, 6),                          // 制作公司
                                          Text(138, 200, 10),                                      // 简介
                                          Text(394, 8, 7),                                         // 广告类型
                                          Kind(K::Flag, 404, 4, 8, W::U8, W::U8),                  // 独家
                                          Int(408, 9, W::S16, W::U8),                              // 分组
                                      }});

// MVCase.dat: film jobs, 416 bytes; every record carries the tag 電影.
const FixedCodec kMVCodec(FixedLayout{416,
                                      416,
                                      7,
                                      {
                                          Kind(K::Code, 0, 5, 1),                                   // 通告编号
                                          Text(10, 40, 2),                                          // 通告名称
                                          Text(50, 10, 3),                                          // 通告类型
                                          Tag(70, "電影"), Kind(K::Year, 96, 4, 4, W::S32, W::U8),  // 时间
                                          Kind(K::Producer, 100, 4, 5, W::S32, W::U8),              // 制作人
                                          Text(108, 10, 6),                                         // 制作公司
                                          Text(138, 200, 7),                                        // 简介
                                      }});

// TVCase.dat: television jobs, 416 bytes.
const FixedCodec kTVCodec(FixedLayout{416,
                                      416,
                                      8,
                                      {
                                          Kind(K::Code, 0, 5, 1),                       // 通告编号
                                          Text(10, 40, 2),                              // 通告名称
                                          Text(50, 10, 3),                              // 通告类型
                                          Text(70, 6, 4),                               // 长度
                                          Kind(K::Year, 96, 4, 5, W::S16, W::U8),       // 时间
                                          Kind(K::Producer, 100, 4, 6, W::S16, W::U8),  // 制作人
                                          Text(108, 12, 7),                             // 制作公司
                                          Text(138, 200, 8),                            // 简介
                                      }});

// SHCase.dat: the CD record up to offset 428, then seven content flags and
// three image values; 476 bytes. The synopsis is column 20.
const FixedCodec kSHCodec(FixedLayout{476,
                                      476,
                                      20,
                                      {
                                          Kind(K::Code, 0, 5, 1),                        // 通告编号
                                          Text(10, 40, 2),                               // 通告名称
                                          Text(50, 10, 3),                               // 通告类型
                                          Text(70, 10, 4),                               // 征求对象
                                          Int(96, 5, W::U8, W::U8),                      // 通告难度
                                          Kind(K::Year, 100, 4, 6, W::U8, W::U8),        // 时间
                                          Kind(K::Producer, 104, 4, 7, W::S32, W::S16),  // 制作人
                                          Text(116, 20, 8),                              // 制作公司
                                          Text(146, 200, 20),                            // 简介
                                          Text(408, 20, 9),                              // 默认艺人
                                          Kind(K::Flag, 428, 4, 10, W::S16, W::S16),     // 暴力
                                          Kind(K::Flag, 432, 4, 11, W::S16, W::S16),     // 反派
                                          Kind(K::Flag, 436, 4, 12, W::S16, W::S16),     // 裸露
                                          Kind(K::Flag, 440, 4, 13, W::S16, W::S16),     // 反串
                                          Kind(K::Flag, 444, 4, 14, W::S16, W::S16),     // 搞笑
                                          Kind(K::Flag, 448, 4, 15, W::S16, W::S16),     // 丑化
                                          Kind(K::Flag, 452, 4, 16, W::S16, W::S16),     // 吻戏
                                          Int(456, 17, W::S16, W::S16),                  // 叛逆
                                          Int(460, 18, W::S16, W::S16),                  // 性感
                                          Int(464, 19, W::S16, W::S16),                  // 亲和
                                      }});

// --- Sample data -----------------------------------------------------------

// Rows in the order the save writes them: by the text of column 1.
std::vector<QStringList> inTextOrder(std::vector<QStringList> rows) {
  std::stable_sort(rows.begin(), rows.end(), [](const QStringList& a, const QStringList& b) {
    return QString::compare(a[0], b[0], Qt::CaseSensitive) < 0;
  });
  return rows;
}

QString jobCode(SampleContext&, const char* prefix, int number) {
  return SampleContext::jobCode(QString::fromLatin1(prefix), number);
}

// A producer that Producer.tab holds (numbers 1..records), or none. The
// tables that write the number as one byte take only 1..255.
QString producer(SampleContext& s) {
  if (s.chance(15)) return QString();
  return s.producerName(s.between(1, std::min(s.records(), 255)));
}

QString flag(SampleContext& s, int percent) { return s.chance(percent) ? QStringLiteral("√") : QString(); }
QString num(int v) { return QString::number(v); }

std::vector<QStringList> cdSample(SampleContext& s) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i)
    rows.push_back({jobCode(s, "CD", i), s.text("job", 40), s.text("type", 10), s.text("target", 10),
                    num(s.between(1, 5)), s.yearText(), producer(s), s.text("company", 20),
                    s.starName(s.between(0, s.records() - 1)), num(s.between(-20, 100)), num(s.between(-20, 100)),
                    num(s.between(-20, 100)), s.text("desc", 200)});
  return inTextOrder(std::move(rows));
}

std::vector<QStringList> cfSample(SampleContext& s) {
  static const QString grades[] = {"S", "A", "B"};
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i)
    rows.push_back({jobCode(s, "CF", i), s.text("job", 40), s.filledText("level", 4), grades[s.between(0, 2)],
                    s.yearText(), s.filledText("company", 8), s.text("type", 8), flag(s, 30), num(s.between(0, 255)),
                    s.text("desc", 200)});
  return inTextOrder(std::move(rows));
}

std::vector<QStringList> mvSample(SampleContext& s) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i)
    rows.push_back({jobCode(s, "MV", i), s.text("job", 40), s.text("type", 10), s.yearText(), producer(s),
                    s.text("company", 10), s.text("desc", 200)});
  return inTextOrder(std::move(rows));
}

std::vector<QStringList> tvSample(SampleContext& s) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i)
    rows.push_back({jobCode(s, "TV", i), s.text("job", 40), s.text("type", 10), s.text("length", 6), s.yearText(),
                    producer(s), s.text("company", 12), s.text("desc", 200)});
  return inTextOrder(std::move(rows));
}

std::vector<QStringList> shSample(SampleContext& s) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i) {
    QStringList r{jobCode(s, "SH", i),  s.text("job", 40),     s.text("type", 10),
                  s.text("target", 10), num(s.between(1, 5)),  s.yearText(),
                  producer(s),          s.text("company", 20), s.starName(s.between(0, s.records() - 1))};
    for (int f = 0; f < 7; ++f) r << flag(s, 25);
    r << num(s.between(-20, 100)) << num(s.between(-20, 100)) << num(s.between(-20, 100)) << s.text("desc", 200);
    rows.push_back(r);
  }
  return inTextOrder(std::move(rows));
}

// producerColumn: the column that shows a producer of Producer.tab by name (0: none).
TableDef caseTable(const char* file, const char* code, const FixedCodec& codec,
                   std::vector<QStringList> (*sample)(SampleContext&), int producerColumn) {
  TableDef d{QString::fromLatin1(file), QString::fromLatin1(code), &codec, SaveOrder::Text, {}, 2, 2, false, sample};
  if (producerColumn > 0)
    d.references.push_back({producerColumn, QStringLiteral("Producer.tab"), RefersBy::Number, QString(), 1, 2, true});
  return d;
}

}  // namespace

const TableDef& CDTable() {
  static const TableDef def = caseTable("CDCase.dat", "CD", kCDCodec, cdSample, 7);
  return def;
}
const TableDef& CFTable() {
  static const TableDef def = caseTable("CFCase.dat", "CF", kCFCodec, cfSample, 0);
  return def;
}
const TableDef& MVTable() {
  static const TableDef def = caseTable("MVCase.dat", "MV", kMVCodec, mvSample, 5);
  return def;
}
const TableDef& TVTable() {
  static const TableDef def = caseTable("TVCase.dat", "TV", kTVCodec, tvSample, 6);
  return def;
}
const TableDef& SHTable() {
  static const TableDef def = caseTable("SHCase.dat", "SH", kSHCodec, shSample, 7);
  return def;
}

}  // namespace v3
