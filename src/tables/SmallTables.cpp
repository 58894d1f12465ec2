#include "tables/Tables.h"

#include "tables/FixedLayout.h"
#include "tables/Sample.h"

namespace v3 {
namespace {

using W = IntWidth;

// Producer.tab: 36-byte records; the name is read from its first 12 bytes.
const FixedCodec kProducerCodec(FixedLayout{36, 36, 4, {
    Int(0, 1, W::S16, W::S16),   // 编号
    Text(4, 20, 2, 12),          // 导演名称
    Int(24, 3, W::S16, W::S16),  // 唱片分组
    Int(28, 4, W::S16, W::S16),  // 戏剧分组
}});

std::vector<QStringList> producerSample(SampleContext& s) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i)
    rows.push_back({QString::number(i), s.producerName(i), QString::number(s.between(0, 5)),
                    QString::number(s.between(0, 5))});
  return rows;
}

}  // namespace

const TableDef& ProducerTable() {
  static const TableDef def{QStringLiteral("Producer.tab"), QStringLiteral("PD"), &kProducerCodec, SaveOrder::Numeric,
                            {}, 2, false, producerSample};
  return def;
}

}  // namespace v3
