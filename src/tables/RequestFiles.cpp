// The roles that the jobs request: CFRequest.dat, MVRequest.dat, TVRequest.dat.
#include <algorithm>

#include "tables/FixedLayout.h"
#include "tables/SampleContext.h"
#include "tables/Tables.h"

namespace v3 {
namespace {

using W = IntWidth;
using K = FieldKind;

// One layout of 404 bytes for all three files. They differ in the width of
// 征求对象 (4 bytes for advertisements, 6 otherwise) and in how much of each
// flag and number slot the load reads; the save writes flags as 16 bits and
// numbers as 32 bits in all three. The default artist (column 5) is the last
// field of the record, after the synopsis (column 25).
FixedLayout requestLayout(int targetWidth, IntWidth slotRead) {
  FixedLayout l{404,
                404,
                25,
                {
                    Kind(K::Code, 0, 6, 1),                   // 角色编号
                    Kind(K::Code, 10, 5, 2),                  // 通告编号: the job the role belongs to
                    Kind(K::TextPadded, 20, targetWidth, 3),  // 征求对象
                    Int(32, 4, W::U8, W::U8),                 // 通告难度
                }};
  // 暴力 反派 裸露 反串 搞笑 丑化 吻戏
  for (int i = 0; i < 7; ++i) l.fields.push_back(Kind(K::Flag, 36 + 4 * i, 4, 6 + i, slotRead, W::S16));
  // 叛逆 性感 亲和
  for (int i = 0; i < 3; ++i) l.fields.push_back(Int(64 + 4 * i, 13 + i, slotRead, W::S32));
  // Eight bytes that no field covers, then the nine ability effects
  // 演技 口才 歌艺 名气 仪态 动感 体能 才智 自信.
  for (int i = 0; i < 9; ++i) l.fields.push_back(Int(84 + 4 * i, 16 + i, slotRead, W::S32));
  l.fields.push_back(Text(120, 200, 25));  // 简介
  l.fields.push_back(Text(384, 20, 5));    // 默认艺人
  return l;
}

const FixedCodec kCFRCodec(requestLayout(4, W::S16));
const FixedCodec kMVRCodec(requestLayout(6, W::S16));
const FixedCodec kTVRCodec(requestLayout(6, W::S32));

// Rows for one request file; `jobPrefix` names the jobs of its case file.
std::vector<QStringList> requestRows(SampleContext& s, const char* jobPrefix, int targetWidth) {
  std::vector<QStringList> rows;
  const QString prefix = QString::fromLatin1(jobPrefix);
  for (int i = 1; i <= s.records(); ++i) {
    // Role numbers fill their six bytes, except every fourth.
    const QString role = i % 4 == 0 ? QStringLiteral("R%1").arg(i).left(6) : s.code(QStringLiteral("R"), i, 6);
    // A job of the case file, written as the case file's sample writes its codes.
    const int job = s.between(1, s.records());
    const QString jobCode = SampleContext::jobCode(prefix, job);
    QStringList r{role, jobCode, s.filledText("target", targetWidth), QString::number(s.between(1, 5)),
                  s.starName(s.between(0, s.records() - 1))};
    for (int f = 0; f < 7; ++f) r << (s.chance(25) ? QStringLiteral("√") : QString());
    for (int n = 0; n < 3; ++n) r << QString::number(s.between(-20, 100));
    for (int n = 0; n < 9; ++n) r << QString::number(s.between(-10, 30));
    r << s.text("desc", 200);
    rows.push_back(r);
  }
  std::stable_sort(rows.begin(), rows.end(), [](const QStringList& a, const QStringList& b) {
    return QString::compare(a[0], b[0], Qt::CaseSensitive) < 0;
  });
  return rows;
}

std::vector<QStringList> cfrSample(SampleContext& s) { return requestRows(s, "CF", 4); }
std::vector<QStringList> mvrSample(SampleContext& s) { return requestRows(s, "MV", 6); }
std::vector<QStringList> tvrSample(SampleContext& s) { return requestRows(s, "TV", 6); }

// jobs: the case file whose job codes column 2 (通告编号) holds.
TableDef requestTable(const char* file, const char* code, const FixedCodec& codec,
                      std::vector<QStringList> (*sample)(SampleContext&), const char* jobs) {
  TableDef d{QString::fromLatin1(file), QString::fromLatin1(code), &codec, SaveOrder::Text, {}, 3, 0, false, sample};
  d.references.push_back({2, QString::fromLatin1(jobs), RefersBy::Code, QString()});
  return d;
}

}  // namespace

const TableDef& CFRTable() {
  static const TableDef def = requestTable("CFRequest.dat", "CFR", kCFRCodec, cfrSample, "CFCase.dat");
  return def;
}
const TableDef& MVRTable() {
  static const TableDef def = requestTable("MVRequest.dat", "MVR", kMVRCodec, mvrSample, "MVCase.dat");
  return def;
}
const TableDef& TVRTable() {
  static const TableDef def = requestTable("TVRequest.dat", "TVR", kTVRCodec, tvrSample, "TVCase.dat");
  return def;
}

}  // namespace v3
