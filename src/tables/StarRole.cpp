// StarRole.dat: the stars, 360-byte records in one of two layouts that the
// file's first record decides.
#include "tables/FixedLayout.h"
#include "tables/SampleContext.h"
#include "tables/Slots.h"
#include "tables/Tables.h"
#include "text/Big5.h"

namespace v3 {
namespace {

using W = IntWidth;

// Every number is a 4-byte slot of which only the first two bytes are used.
FieldSpec Num(int offset, int column) { return Int(offset, column, W::S16, W::S16); }
FieldSpec Name(int offset) { return Text(offset, 20, 2); }
FieldSpec Sex(int offset) { return Kind(FieldKind::SexWord, offset, 4, 3, W::S16, W::S16); }

// Layout A: the sex at offset 4, age and birthday after it, the name at 20,
// 28 bytes that no field covers, then columns 7..79 in column order from 68.
FixedLayout layoutA() {
  FixedLayout l{360, 360, 79, {Num(0, 1), Sex(4), Num(8, 4), Num(12, 5), Num(16, 6), Name(20)}};
  for (int c = 7; c <= 79; ++c) l.fields.push_back(Num(68 + 4 * (c - 7), c));
  return l;
}

// Layout B: the name at offset 4, the sex at 24; the numbers in the order
// 1, 4..6, (20 bytes), 7..20, (8 bytes), 21..28, 43, 44, 29..42, 49..79, 45..48.
FixedLayout layoutB() {
  FixedLayout l{360, 360, 79, {Num(0, 1), Name(4), Sex(24), Num(28, 4), Num(32, 5), Num(36, 6)}};
  int at = 60;
  auto run = [&](int first, int last) {
    for (int c = first; c <= last; ++c, at += 4) l.fields.push_back(Num(at, c));
  };
  run(7, 20);
  at += 8;
  run(21, 28);
  run(43, 44);
  run(29, 42);
  run(49, 79);
  run(45, 48);
  return l;
}

// Whether `count` bytes of the file from `at` can be a name field: Big5
// text without control characters, and nothing but zero bytes after it.
bool canBeName(const QByteArray& file, qint64 at, int count) {
  const ByteReader in(file);
  const QByteArray field = in.bytes(at, count);
  qsizetype end = field.indexOf('\0');
  if (end < 0) end = field.size();
  for (qsizetype i = end; i < field.size(); ++i)
    if (field[i] != '\0') return false;
  const QString text = DecodeBig5Text(field.left(end));
  for (QChar c : text)
    if (c.unicode() < 0x20 || c == QChar::ReplacementCharacter) return false;
  return true;
}

class StarRoleCodec : public FixedCodec {
 public:
  StarRoleCodec() : FixedCodec(layoutB()), a_(layoutA()) {}

  const FixedLayout& layoutFor(const QByteArray& file) const override {
    return StarRoleUsesLayoutA(file) ? a_ : layout_;
  }
  const FixedLayout& layout(bool a) const { return a ? a_ : layout_; }

  // Writes the rows in the layout of the existing file. The new file must
  // be recognised in that layout again: the record that comes first decides.
  std::optional<CellProblem> encode(const std::vector<const QStringList*>& rows, const QByteArray& existing,
                                    const CodecContext& ctx, QByteArray* out) const override {
    return encodeLayout(StarRoleUsesLayoutA(existing), rows, ctx, out);
  }

  std::optional<CellProblem> encodeLayout(bool a, const std::vector<const QStringList*>& rows, const CodecContext& ctx,
                                          QByteArray* out) const {
    QByteArray bytes;
    if (auto problem = encodeIn(layout(a), rows, ctx, &bytes)) return problem;
    if (!rows.empty() && StarRoleUsesLayoutA(bytes) != a)
      return CellProblem{0, a ? 3 : 2,
                         QStringLiteral("此行排在最前时，文件会被误认作另一种记录格式（%1）")
                             .arg(a ? QStringLiteral("女性且年龄、生日和名称皆为空")
                                    : QStringLiteral("名称以控制字符开头"))};
    *out = std::move(bytes);
    return std::nullopt;
  }

 private:
  FixedLayout a_;
};

const StarRoleCodec kStarCodec;

std::vector<QStringList> starSample(SampleContext& s) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i) {
    QStringList r{QString::number(i), s.starName(i - 1), s.chance(50) ? QStringLiteral("女") : QStringLiteral("男"),
                  QString::number(s.between(15, 40)), QString::number(s.between(1, 12)),
                  QString::number(s.between(1, 28))};
    for (int c = 7; c <= 20; ++c) r << QString::number(s.between(0, 100));   // abilities, character values
    r << QString::number(s.between(0, 500));                                 // lp7C
    for (int c = 22; c <= 28; ++c) r << QString::number(s.between(0, 1));    // flags
    for (int c = 29; c <= 34; ++c) r << QString::number(s.between(0, 20));   // announcements
    for (int c = 35; c <= 42; ++c) r << QString::number(s.between(-5, 50));  // hidden
    for (int c = 43; c <= 44; ++c) r << QString::number(s.between(0, 100));
    r << QString::number(s.between(150, 190)) << QString::number(s.between(40, 80));  // height, weight
    for (int c = 47; c <= 60; ++c) r << QString::number(s.between(-100, 1000));
    for (int c = 61; c <= 69; ++c) r << QString::number(s.between(1, 10));   // growth rates
    for (int c = 70; c <= 78; ++c) r << QString::number(s.between(100, 999));  // ceilings
    r << QString::number(s.between(0, 100));                                 // success rate
    rows.push_back(r);
  }
  return rows;
}

// The save writes a missing file in layout B; the sample folder holds odd
// seeds' stars in layout A.
QByteArray starSampleFile(SampleContext& s) {
  const std::vector<QStringList> rows = starSample(s);
  std::vector<const QStringList*> refs;
  for (const QStringList& r : rows) refs.push_back(&r);
  QByteArray bytes;
  kStarCodec.encodeLayout(s.seed() % 2 == 1, refs, CodecContext{}, &bytes);
  return bytes;
}

}  // namespace

bool StarRoleUsesLayoutA(const QByteArray& file) {
  const ByteReader in(file);
  // Record 1 at offset 4: a male star's sex (1) in layout A, the first bytes
  // of the name in layout B.
  if (in.s16(12 + 4) == 1) return true;
  // A male star in layout B (sex 1 at record offset 24) keeps the file in B.
  if (in.s16(12 + 24) == 1) return false;
  // A female first star in layout A: record offsets 4..23 (sex, age,
  // birthday, the name's first bytes) cannot be a name, offsets 20..39 can.
  return !canBeName(file, 12 + 4, 20) && canBeName(file, 12 + 20, 20);
}

int StarRoleNameOffset(const QByteArray& file) { return StarRoleUsesLayoutA(file) ? 20 : 4; }

const TableDef& StarTable() {
  static const TableDef def{QStringLiteral("StarRole.dat"), QStringLiteral("Star"), &kStarCodec, SaveOrder::Numeric,
                            {35, 36, 37, 38, 39, 40, 41, 42}, 2, false, starSample, starSampleFile};
  return def;
}

}  // namespace v3
