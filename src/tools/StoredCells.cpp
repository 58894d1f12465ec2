#include "tools/StoredCells.h"

#include <QCoreApplication>

#include "tables/Producers.h"
#include "text/Big5.h"
#include "tools/CsvTable.h"
#include "tools/ToolTable.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Batch)
};
}  // namespace

std::optional<CellProblem> FirstCellNotStored(const TableDef& table, const QString& folder, Script systemScript,
                                              const RecordStore& grid, const std::vector<int>& order,
                                              const QByteArray& encoded, const ProducerDirectory* producers) {
  if (!table.codec) return std::nullopt;
  CodecContext ctx(systemScript, folder);
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

bool EncodeChecked(const TableDocument& document, const ProducerDirectory* producers, QByteArray* bytes, QString* error,
                   const LanguageFile& texts) {
  const TableDef& table = document.table();
  QByteArray encoded;
  std::vector<int> order;
  SaveOutcome o = document.encode(&encoded, &order, producers);
  if (o.ok()) {
    if (const std::optional<CellProblem> p = FirstCellNotStored(table, document.folder(), document.systemScript(),
                                                                document.records(), order, encoded, producers)) {
      o.status = SaveOutcome::Refused;
      o.row = p->record;
      o.column = p->column;
      o.reason = p->reason;
    }
  }
  if (o.ok()) {
    if (bytes) *bytes = encoded;
    return true;
  }
  const ToolTable t{&table, nullptr, texts};
  if (error) *error = o.message(table.fileName, t.columnName(o.column)) + Texts::tr("; nothing written");
  return false;
}

}  // namespace v3
