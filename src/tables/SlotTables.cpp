// The slot-stream tables: Item.dat, the office event files and RichBa.tab.
#include <algorithm>
#include <initializer_list>

#include "tables/SampleContext.h"
#include "tables/SlotStream.h"
#include "tables/Tables.h"

namespace v3 {
namespace {

using W = IntWidth;

// `count` elements like `first` in the columns that follow its own.
std::vector<SlotElement> Run(SlotElement first, int count) {
  std::vector<SlotElement> v;
  for (int i = 0; i < count; ++i) {
    v.push_back(first);
    v.back().column = first.column + i;
  }
  return v;
}

std::vector<SlotElement> Join(std::initializer_list<std::vector<SlotElement>> parts) {
  std::vector<SlotElement> v;
  for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
  return v;
}

// Item.dat: the lengths and several numbers are read as one byte; columns 9
// and 10 are written as 16 bits but read back as a byte, so they hold 0..255.
const SlotCodec kItemCodec(SlotLayout{300, 32,
                                      Join({
                                          {SlotInt(1, W::S16, W::S16),           // 编号
                                           SlotInt(2, W::U8, W::U8),             // 种类
                                           SlotText(3, W::U8),                   // 名称
                                           SlotInt(4, W::U8, W::U8),             // 商店: 0..4 or 11
                                           SlotInt(5, W::S32, W::S32),           // 图片编号
                                           SlotInt(6, W::U8, W::U8),             // 系统数量
                                           SlotInt(7, W::S32, W::S32),           // 价格
                                           SlotInt(8, W::S16, W::S16),           // 拥有数量
                                           SlotInt(9, W::U8, W::S16),            // 证书编号
                                           SlotInt(10, W::U8, W::S16)},          // 可赠送对象
                                          Run(SlotInt(11, W::S16, W::S16), 20),  // 友好度 towards twenty characters
                                          {SlotText(31, W::U8),                  // 物品简介
                                           SlotText(32, W::U8)},                 // 物品作用
                                      })});

// OfficeCom.dat: the event number, then one line for each of the twenty stars.
const SlotCodec kOfficeComCodec(SlotLayout{804, 21,
                                           Join({
                                               {SlotInt(1)},
                                               Run(SlotText(2), 20),
                                           })});

// OfficeEmo.dat: the event number, an unnamed number, one unused slot, the
// agent's line and the twenty stars' lines.
const SlotCodec kOfficeEmoCodec(SlotLayout{2700, 23,
                                           Join({
                                               {SlotInt(1), SlotInt(2), SlotSkip(), SlotText(3)},
                                               Run(SlotText(4), 20),
                                           })});

// RichBa.tab: number, question number, the question, three right and three wrong answers.
const SlotCodec kRichCodec(SlotLayout{320, 9,
                                      Join({
                                          {SlotInt(1), SlotInt(2)},
                                          Run(SlotText(3), 7),
                                      })});

QString num(int v) { return QString::number(v); }

std::vector<QStringList> itemSample(SampleContext& s) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i) {
    const int shop = s.between(0, 5);
    QStringList r{num(i),
                  num(s.between(0, 3)),
                  s.text("item", 255),
                  num(shop == 5 ? 11 : shop),
                  num(s.between(0, 500)),
                  num(s.between(0, 255)),
                  num(s.between(0, 200000)),
                  num(s.between(0, 99)),
                  num(s.between(0, 255)),
                  num(s.between(0, 3))};
    for (int c = 0; c < 20; ++c) r << num(s.between(-50, 100));
    r << (s.chance(80) ? s.text("desc", 255) : QString()) << (s.chance(70) ? s.text("effect", 255) : QString());
    rows.push_back(r);
  }
  return rows;
}

QString line(SampleContext& s) { return s.chance(70) ? s.text("line", 200) : QString(); }

std::vector<QStringList> officeComSample(SampleContext& s) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i) {
    QStringList r{num(i)};
    for (int k = 0; k < 20; ++k) r << line(s);
    rows.push_back(r);
  }
  return rows;
}

std::vector<QStringList> officeEmoSample(SampleContext& s) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i) {
    QStringList r{num(i), num(s.between(0, 10)), line(s)};
    for (int k = 0; k < 20; ++k) r << line(s);
    rows.push_back(r);
  }
  return rows;
}

std::vector<QStringList> richSample(SampleContext& s) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i) {
    QStringList r{num(i), num(s.between(1, 5)), s.text("question", 250)};
    for (int a = 0; a < 6; ++a) r << (a == 0 || s.chance(75) ? s.text("answer", 40) : QString());
    rows.push_back(r);
  }
  // A save orders the rows by number and then, keeping that order among equals, by question number.
  std::stable_sort(rows.begin(), rows.end(),
                   [](const QStringList& a, const QStringList& b) { return a[1].toInt() < b[1].toInt(); });
  return rows;
}

}  // namespace

const TableDef& ItemTable() {
  static const TableDef def{
      QStringLiteral("Item.dat"), QStringLiteral("Item"), &kItemCodec, SaveOrder::Numeric, {}, 3, 3, false, itemSample};
  return def;
}

const TableDef& OfficeComTable() {
  static const TableDef def{QStringLiteral("OfficeCom.dat"),
                            QStringLiteral("OC"),
                            &kOfficeComCodec,
                            SaveOrder::Numeric,
                            {},
                            0,
                            0,
                            false,
                            officeComSample};
  return def;
}

const TableDef& OfficeEmoTable() {
  static const TableDef def{QStringLiteral("OfficeEmo.dat"),
                            QStringLiteral("OE"),
                            &kOfficeEmoCodec,
                            SaveOrder::Numeric,
                            {},
                            3,
                            0,
                            false,
                            officeEmoSample};
  return def;
}

const TableDef& RichTable() {
  static const TableDef def{QStringLiteral("RichBa.tab"),
                            QStringLiteral("Rich"),
                            &kRichCodec,
                            SaveOrder::NumericThenSecond,
                            {},
                            3,
                            3,
                            false,
                            richSample};
  return def;
}

}  // namespace v3
