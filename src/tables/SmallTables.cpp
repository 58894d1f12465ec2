// The small balance tables, NeedEffect.tab and Nickname.tab.
#include <algorithm>

#include <QCoreApplication>

#include "tables/FixedLayout.h"
#include "tables/SampleContext.h"
#include "tables/Slots.h"
#include "tables/Tables.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Tables)
};

using W = IntWidth;

// A table of a fixed set of records whose identity never changes. Its save
// overwrites, in place, only the fields of `written` columns in records
// 1..records whose cells changed since the load; the header, the other
// fields, any other byte and the file's length keep what the file holds. The grid must still hold exactly those
// records, in the file's order of numbers, or the save is refused.
class PatchCodec : public FixedCodec {
 public:
  PatchCodec(FixedLayout layout, int records, QList<int> written)
      : FixedCodec(std::move(layout)), records_(records), written_(std::move(written)) {}

  bool writesRecordsAlone() const override { return false; }
  // The file is patched as a whole (it is small), then handed on in one piece.
  std::optional<CellProblem> encodeTo(const RowList& rows, const QByteArray& existing, const CodecContext& ctx,
                                      ByteSink& sink) const override {
    const int n = int(rows.size());
    if (n != records_)
      return CellProblem{std::min(n, records_), 0,
                         Texts::tr("此表固定有 %1 条记录，表中现有 %2 条；请重新载入后再保存").arg(records_).arg(n)};
    const qint64 needed = 12 + qint64(records_) * layout_.recordSize;
    if (existing.size() < needed)
      return CellProblem{
          int((std::max<qint64>(existing.size(), 12) - 12) / layout_.recordSize), 0,
          Texts::tr("文件只有 %1 字节，容不下 %2 条记录（需 %3 字节）").arg(existing.size()).arg(records_).arg(needed)};
    const ByteReader in(existing);
    const FieldDef* number = field(1);
    for (int k = 0; k < n; ++k) {
      const qint64 base = 12 + qint64(k) * layout_.recordSize;
      const int64_t stored = in.read(base + number->offset, number->read);
      const QString cell = rows[size_t(k)]->cell(1);
      int64_t v = 0;
      if (!CellToInteger(cell, number->read, &v, nullptr) || v != stored)
        return CellProblem{k, 1,
                           Texts::tr("文件第 %1 条记录的编号是 %2，此行是“%3”：此表的记录不能增删或改号")
                               .arg(k + 1)
                               .arg(stored)
                               .arg(cell)};
    }
    ByteWriter w(existing);
    for (int k = 0; k < n; ++k) {
      const qint64 base = 12 + qint64(k) * layout_.recordSize;
      for (int column : written_) {
        if (rows[size_t(k)]->unchanged(column)) continue;  // the file keeps its bytes
        const FieldDef* f = field(column);
        if (auto problem = encodeField(*f, rows[size_t(k)]->cell(column), w, base, ctx))
          return CellProblem{k, column, *problem};
      }
    }
    sink.appendArray(w.take());
    return std::nullopt;
  }

  // The whole file for the rows, every field written: the sample data folder.
  QByteArray wholeFile(const std::vector<QStringList>& cells) const {
    std::vector<TableRecord> rows(cells.begin(), cells.end());
    std::vector<const TableRecord*> refs;
    for (const TableRecord& r : rows) refs.push_back(&r);
    ArraySink bytes;
    if (FixedCodec::encodeTo(refs, QByteArray(), CodecContext(Script::Traditional), bytes)) return QByteArray();
    return bytes.take();
  }

 private:
  const FieldDef* field(int column) const {
    for (const FieldDef& f : layout_.fields)
      if (f.column == column) return &f;
    return nullptr;
  }

  int records_;
  QList<int> written_;
};

// Producer.tab: 36-byte records; the name is read from its first 12 bytes;
// bytes 32..35 are not read and are zero after a save.
const FixedCodec kProducerCodec(FixedLayout{36,
                                            36,
                                            4,
                                            {
                                                Int(0, 1, W::S16, W::S16),   // 编号
                                                Text(4, 20, 2, 12),          // 导演名称
                                                Int(24, 3, W::S16, W::S16),  // 唱片分组
                                                Int(28, 4, W::S16, W::S16),  // 戏剧分组
                                            }});

// Active.tab: nine activities; a save writes only the head count and the cost.
const PatchCodec kActiveCodec(FixedLayout{36,
                                          36,
                                          5,
                                          {
                                              Int(0, 1),                            // 编号
                                              Text(4, 20, 2, 8),                    // 名称
                                              Kind(FieldKind::SizeCode, 24, 4, 3),  // 规模
                                              Int(28, 4),                           // 人数
                                              Int(32, 5),                           // 费用
                                          }},
                              9, {4, 5});

// Pression.tab: 99 kinds of announcement; a save writes only the first halves
// of the pressure and fatigue slots.
const PatchCodec kPressionCodec(FixedLayout{44,
                                            44,
                                            5,
                                            {
                                                Int(0, 1, W::S16, W::S16),   // 编号
                                                Text(4, 20, 2, 5),           // 通告类型
                                                Text(24, 12, 3, 4),          // 征求对象
                                                Int(36, 4, W::S16, W::S16),  // 压力
                                                Int(40, 5, W::S16, W::S16),  // 疲劳
                                            }},
                                99, {4, 5});

// World.tab: a one-byte flag at offset 4, the name right after it, nine fares.
FixedLayout worldLayout() {
  FixedLayout l{160,
                160,
                13,
                {
                    Int(0, 1, W::S16, W::S16),                        // 编号
                    Kind(FieldKind::Integer, 4, 1, 2, W::U8, W::U8),  // 开启: 0 or 1
                    Text(5, 19, 3, 8),                                // 名称
                }};
  for (int c = 4; c <= 12; ++c) l.fields.push_back(Int(24 + 4 * (c - 4), c));  // 据点, 长城 ... 开罗
  l.fields.push_back(Text(60, 100, 13, 48));                                   // 简介
  return l;
}
const FixedCodec kWorldCodec(worldLayout());

// NeedEffect.tab: the number is written as one byte, every value is read as
// 16 bits and written as 32; bytes 144..151 are not read.
FixedLayout needEffectLayout() {
  FixedLayout l{152,
                152,
                28,
                {
                    Int(0, 1, W::S16, W::U8),  // 编号 0..255
                    Text(4, 20, 2, 5),         // 通告类型
                    Text(24, 20, 3, 4),        // 征求对象
                }};
  // 能力需求 (4..12), 特殊要求 (13..19), 能力影响 (20..28).
  for (int c = 4; c <= 28; ++c) l.fields.push_back(Int(44 + 4 * (c - 4), c, W::S16, W::S32));
  return l;
}
const FixedCodec kNeedEffectCodec(needEffectLayout());

// Nickname.tab: shown, never written.
FixedLayout nicknameLayout() {
  FixedLayout l{168,
                168,
                38,
                {
                    Int(0, 1),
                    Text(4, 20, 2, 10),
                    Int(24, 3),
                    Kind(FieldKind::LocalText, 28, 4, 4),
                }};
  for (int c = 5; c <= 38; ++c) l.fields.push_back(Int(32 + 4 * (c - 5), c));
  return l;
}
const FixedCodec kNicknameCodec(nicknameLayout());

QString num(int v) { return QString::number(v); }

std::vector<QStringList> producerSample(SampleContext& s) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i)
    rows.push_back({num(i), s.producerName(i), num(s.between(0, 5)), num(s.between(0, 5))});
  return rows;
}

QByteArray activeSample(SampleContext& s) {
  static const QString sizes[] = {QStringLiteral("大型"), QStringLiteral("中型"), QStringLiteral("小型")};
  std::vector<QStringList> rows;
  for (int i = 1; i <= 9; ++i)
    rows.push_back(
        {num(i), s.text("activity", 8), sizes[s.between(0, 2)], num(s.between(1, 50)), num(s.between(0, 200000))});
  return kActiveCodec.wholeFile(rows);
}

QByteArray pressionSample(SampleContext& s) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= 99; ++i)
    rows.push_back({num(i), s.text("type", 5), s.text("target", 4), num(s.between(0, 100)), num(s.between(0, 100))});
  return kPressionCodec.wholeFile(rows);
}

std::vector<QStringList> worldSample(SampleContext& s) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i) {
    QStringList r{num(i), num(s.chance(70) ? 1 : 0), s.text("place", 8)};
    for (int f = 0; f < 9; ++f) r << num(s.between(0, 60000));
    r << s.text("desc", 48);
    rows.push_back(r);
  }
  return rows;
}

std::vector<QStringList> needEffectSample(SampleContext& s) {
  std::vector<QStringList> rows;
  // The number is one byte: at most 255 records, each its own number.
  for (int i = 1; i <= std::min(s.records(), 255); ++i) {
    QStringList r{num(i), s.text("type", 5), s.text("target", 4)};
    for (int c = 4; c <= 12; ++c) r << num(s.between(0, 5));
    for (int c = 13; c <= 19; ++c) r << num(s.chance(30) ? 1 : 0);
    for (int c = 20; c <= 28; ++c) r << num(s.between(-10, 10));
    rows.push_back(r);
  }
  // The save keeps the grid's order, so the sample need not be sorted.
  std::shuffle(rows.begin(), rows.end(), s.rng());
  return rows;
}

QByteArray nicknameSample(SampleContext& s) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i) {
    QStringList r{num(i), s.starName(i - 1), num(s.between(0, 20)), s.code(QStringLiteral("N"), i % 1000, 4)};
    for (int c = 5; c <= 38; ++c) r << num(s.between(0, 100));
    rows.push_back(r);
  }
  std::vector<TableRecord> records(rows.begin(), rows.end());
  std::vector<const TableRecord*> refs;
  for (const TableRecord& r : records) refs.push_back(&r);
  QByteArray bytes;
  kNicknameCodec.encode(refs, QByteArray(), CodecContext(Script::Traditional), &bytes);
  return bytes;
}

}  // namespace

const TableDef& ProducerTable() {
  static const TableDef def{QStringLiteral("Producer.tab"),
                            QStringLiteral("PD"),
                            &kProducerCodec,
                            SaveOrder::Numeric,
                            {},
                            2,
                            2,
                            false,
                            producerSample};
  return def;
}

const TableDef& ActiveTable() {
  static const TableDef def{QStringLiteral("Active.tab"),
                            QStringLiteral("Active"),
                            &kActiveCodec,
                            SaveOrder::Numeric,
                            {},
                            0,
                            2,
                            false,
                            nullptr,
                            activeSample};
  return def;
}

const TableDef& PressionTable() {
  static const TableDef def{QStringLiteral("Pression.tab"),
                            QStringLiteral("PS"),
                            &kPressionCodec,
                            SaveOrder::Numeric,
                            {},
                            3,
                            0,
                            false,
                            nullptr,
                            pressionSample};
  return def;
}

const TableDef& WorldTable() {
  static const TableDef def{QStringLiteral("World.tab"),
                            QStringLiteral("World"),
                            &kWorldCodec,
                            SaveOrder::Numeric,
                            {},
                            3,
                            3,
                            false,
                            worldSample};
  return def;
}

const TableDef& NeedEffectTable() {
  static const TableDef def{QStringLiteral("NeedEffect.tab"),
                            QStringLiteral("NE"),
                            &kNeedEffectCodec,
                            SaveOrder::GridOrder,
                            {},
                            3,
                            0,
                            false,
                            needEffectSample};
  return def;
}

const TableDef& NicknameTable() {
  static const TableDef def{QStringLiteral("Nickname.tab"),
                            QStringLiteral("NN"),
                            &kNicknameCodec,
                            SaveOrder::GridOrder,
                            {},
                            2,
                            2,
                            true,
                            nullptr,
                            nicknameSample};
  return def;
}

}  // namespace v3
