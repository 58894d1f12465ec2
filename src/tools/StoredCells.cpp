#include "tools/StoredCells.h"

#include <QCoreApplication>

#include "tables/Producers.h"
#include "text/Big5.h"
#include "tools/CsvTable.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Batch)
};
}  // namespace

std::optional<CellProblem> FirstCellNotStored(const TableDef& table, const QString& folder, const RecordGrid& grid,
                                              const std::vector<int>& order, const QByteArray& encoded,
                                              const ProducerDirectory* producers) {
  if (!table.codec) return std::nullopt;
  CodecContext ctx;
  ctx.dataFolder = folder;
  ProducerDirectory read;
  if (table.codec->needsProducers()) {
    if (!producers) read = ProducerDirectory::load(folder);
    ctx.producers = producers ? producers : &read;
  }
  std::vector<KeptBytes> stored;  // located only when a cell needs looking at
  for (size_t i = 0; i < order.size(); ++i) {
    const TableRecord& row = grid.rowAsRead(order[i]);
    for (int c = 1; c <= grid.fieldCount(); ++c) {
      if (row.unchanged(c)) continue;
      if (stored.empty()) stored = table.codec->locate(encoded);
      const QString wanted = CsvEscapeCell(row.cell(c));
      const QString read = i < stored.size() ? CsvEscapeCell(table.codec->decodeCell(stored[i], ctx, c)) : QString();
      if (read == wanted || read == ToTraditional(wanted)) continue;
      const QString reason = i < stored.size() ? Texts::tr("a save does not store %1 here: the file would read %2")
                                                     .arg(wanted.isEmpty() ? QStringLiteral("\"\"") : wanted,
                                                          read.isEmpty() ? QStringLiteral("\"\"") : read)
                                               : Texts::tr("a save does not store this record");
      return CellProblem{order[i], c, reason};
    }
  }
  return std::nullopt;
}

}  // namespace v3
