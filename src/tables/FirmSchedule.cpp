// Firm.dat (the agencies) and ScheduleClass.dat (the kinds of schedule entry).
#include <algorithm>

#include "tables/FixedLayout.h"
#include "tables/SampleContext.h"
#include "tables/Tables.h"

namespace v3 {
namespace {

// Firm.dat: 112-byte records, 32-bit numbers; the last four bytes are not used.
const FixedCodec kFirmCodec(FixedLayout{
    112,
    112,
    12,
    {
        Int(0, 1),        // 编号
        Text(4, 20, 2),   // 公司名称
        Text(24, 20, 3),  // 经纪人
        Int(44, 4),       // 旗下艺人1..6: positions in StarRole.dat, -1 for none
        Int(48, 5), Int(52, 6), Int(56, 7), Int(60, 8), Int(64, 9), Text(68, 32, 10),  // 公司形象
        Int(100, 11),                                                                  // 知名度
        Int(104, 12),                                                                  // 公关
    }});

// ScheduleClass.dat: 288-byte records, 32-bit numbers. Name and type start
// at odd offsets with one unused byte after each; the time follows the type.
FixedLayout scheduleLayout() {
  FixedLayout l{288,
                288,
                26,
                {
                    Int(0, 1),        // 编号
                    Text(4, 14, 2),   // 名称
                    Text(19, 14, 3),  // 类型
                    Text(34, 6, 4),   // 时间
                }};
  // Nine ability effects, 压力, 疲劳, nine ceilings and the flag lpB8: columns 5..25.
  for (int c = 5; c <= 25; ++c) l.fields.push_back(Int(104 + 4 * (c - 5), c));
  l.fields.push_back(Text(188, 100, 26));  // 简介
  return l;
}

const FixedCodec kSchCodec(scheduleLayout());

std::vector<QStringList> firmSample(SampleContext& s) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i) {
    QStringList r{QString::number(i), s.text("company", 20), s.text("agent", 20)};
    for (int a = 0; a < 6; ++a) r << QString::number(s.chance(30) ? -1 : s.between(0, s.records() - 1));
    r << s.text("desc", 32) << QString::number(s.between(0, 100)) << QString::number(s.between(0, 100));
    rows.push_back(r);
  }
  // The save writes the firms in the text order of their numbers: 1, 10, 11, ..., 2.
  std::stable_sort(rows.begin(), rows.end(), [](const QStringList& a, const QStringList& b) {
    return QString::compare(a[0], b[0], Qt::CaseSensitive) < 0;
  });
  return rows;
}

std::vector<QStringList> schSample(SampleContext& s) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i) {
    QStringList r{QString::number(i), s.text("course", 14), s.text("type", 14), s.text("time", 6)};
    for (int n = 0; n < 9; ++n) r << QString::number(s.between(-5, 10));              // effects
    r << QString::number(s.between(-10, 30)) << QString::number(s.between(-10, 30));  // stress, fatigue
    for (int n = 0; n < 9; ++n) r << QString::number(s.between(0, 999));              // ceilings
    r << QString::number(s.between(0, 1)) << s.text("desc", 100);
    rows.push_back(r);
  }
  return rows;
}

}  // namespace

const TableDef& FirmTable() {
  static const TableDef def = [] {
    TableDef d{
        QStringLiteral("Firm.dat"), QStringLiteral("Firm"), &kFirmCodec, SaveOrder::Text, {}, 0, 2, false, firmSample};
    // 旗下艺人1..6: stars by their position in StarRole.dat.
    d.references = ReferenceRun(4, 9, {0, QStringLiteral("StarRole.dat"), RefersBy::Position, QStringLiteral("-1")});
    return d;
  }();
  return def;
}

const TableDef& SchTable() {
  static const TableDef def{QStringLiteral("ScheduleClass.dat"),
                            QStringLiteral("Sch"),
                            &kSchCodec,
                            SaveOrder::Numeric,
                            {},
                            2,
                            2,
                            false,
                            schSample};
  return def;
}

}  // namespace v3
