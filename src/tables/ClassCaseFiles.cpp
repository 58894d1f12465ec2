// The activity files that share one record: TrainCase.dat, SpecialCase.dat,
// ReleaseCase.dat and WorkCase.dat.
#include "tables/FixedLayout.h"
#include "tables/SampleContext.h"
#include "tables/Tables.h"

namespace v3 {
namespace {

// 284-byte records; every number is a full 32-bit slot. The name and the
// level (or type) are adjacent 20-byte texts.
FixedLayout classCaseLayout() {
  FixedLayout l{284,
                284,
                39,
                {
                    Int(0, 1),        // 编号
                    Int(4, 2),        // lp4
                    Text(8, 20, 3),   // 名称
                    Text(28, 20, 4),  // 等级 / 类型
                }};
  // 花费 or 收入, 时间 (days), nine required abilities, nine effects,
  // 压力, 疲劳, nine ceilings, and the flags lpAC and lpB0: columns 5..37.
  for (int c = 5; c <= 37; ++c) l.fields.push_back(Int(48 + 4 * (c - 5), c));
  l.fields.push_back(Text(180, 100, 38));  // 简介
  l.fields.push_back(Int(280, 39));        // lp11C flag
  return l;
}

const FixedCodec kClassCaseCodec(classCaseLayout());

std::vector<QStringList> classCaseSample(SampleContext& s, bool income) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i) {
    QStringList r{QString::number(i),
                  QString::number(s.between(0, 3)),
                  s.text("course", 20),
                  s.text("level", 20),
                  QString::number(income ? s.between(100, 50000) : s.between(0, 20000)),
                  QString::number(s.between(1, 30))};
    for (int n = 0; n < 9; ++n) r << QString::number(s.between(0, 60));               // requirements
    for (int n = 0; n < 9; ++n) r << QString::number(s.between(-5, 10));              // effects
    r << QString::number(s.between(-10, 30)) << QString::number(s.between(-10, 30));  // stress, fatigue
    for (int n = 0; n < 9; ++n) r << QString::number(s.between(0, 999));              // ceilings
    r << QString::number(s.between(0, 1)) << QString::number(s.between(0, 1)) << s.text("desc", 100)
      << QString::number(s.between(0, 1));
    rows.push_back(r);
  }
  return rows;
}

std::vector<QStringList> tcSample(SampleContext& s) { return classCaseSample(s, false); }
std::vector<QStringList> scSample(SampleContext& s) { return classCaseSample(s, true); }
std::vector<QStringList> rcSample(SampleContext& s) { return classCaseSample(s, false); }
std::vector<QStringList> wcSample(SampleContext& s) { return classCaseSample(s, true); }

QList<int> range(int first, int last) {
  QList<int> v;
  for (int c = first; c <= last; ++c) v << c;
  return v;
}

}  // namespace

const TableDef& TCTable() {
  static const TableDef def{QStringLiteral("TrainCase.dat"),
                            QStringLiteral("TC"),
                            &kClassCaseCodec,
                            SaveOrder::Numeric,
                            range(7, 15),
                            4,
                            3,
                            false,
                            tcSample};
  return def;
}
const TableDef& SCTable() {
  static const TableDef def{QStringLiteral("SpecialCase.dat"),
                            QStringLiteral("SC"),
                            &kClassCaseCodec,
                            SaveOrder::Numeric,
                            {},
                            4,
                            3,
                            false,
                            scSample};
  return def;
}
const TableDef& RCTable() {
  static const TableDef def{QStringLiteral("ReleaseCase.dat"),
                            QStringLiteral("RC"),
                            &kClassCaseCodec,
                            SaveOrder::Numeric,
                            QList<int>{4} + range(7, 15),
                            3,
                            3,
                            false,
                            rcSample};
  return def;
}
const TableDef& WCTable() {
  static const TableDef def{QStringLiteral("WorkCase.dat"),
                            QStringLiteral("WC"),
                            &kClassCaseCodec,
                            SaveOrder::Numeric,
                            {6},
                            4,
                            3,
                            false,
                            wcSample};
  return def;
}

}  // namespace v3
