#include "tables/Tables.h"

#include "tables/FixedLayout.h"
#include "tables/SampleContext.h"

namespace v3 {
namespace {

using W = IntWidth;

// Team.dat: 60-byte records; every number is read as 16 bits and written as 32.
const FixedCodec kTeamCodec(FixedLayout{
    60,
    60,
    11,
    {
        Int(0, 1, W::S16),   // 编号
        Text(4, 20, 2),      // 团体名称
        Int(24, 3, W::S16),  // 成员1..4: positions in StarRole.dat, -1 for none
        Int(28, 4, W::S16), Int(32, 5, W::S16), Int(36, 6, W::S16), Int(40, 7, W::S16),  // 人气
        Int(44, 8, W::S16),                                                              // three unknown attributes
        Int(48, 9, W::S16), Int(52, 10, W::S16), Int(56, 11, W::S16),                    // 通告数量
    }});

std::vector<QStringList> teamSample(SampleContext& s) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i) {
    QStringList r{QString::number(i), s.text("team", 20)};
    for (int m = 0; m < 4; ++m) r << QString::number(s.chance(25) ? -1 : s.between(0, s.records() - 1));
    r << QString::number(s.between(0, 9999)) << QString::number(s.between(0, 100)) << QString::number(s.between(-5, 50))
      << QString::number(s.between(0, 3)) << QString::number(s.between(0, 30));
    rows.push_back(r);
  }
  return rows;
}

}  // namespace

const TableDef& TeamTable() {
  static const TableDef def = [] {
    TableDef d{QStringLiteral("Team.dat"),
               QStringLiteral("Team"),
               &kTeamCodec,
               SaveOrder::Numeric,
               {},
               2,
               2,
               false,
               teamSample};
    // 成员1..4: stars by their position in StarRole.dat.
    d.references = ReferenceRun(3, 6, {0, QStringLiteral("StarRole.dat"), RefersBy::Position, QStringLiteral("-1")});
    return d;
  }();
  return def;
}

}  // namespace v3
