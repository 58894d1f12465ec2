#include "model/CellCheck.h"

#include <QCoreApplication>

#include "tables/Producers.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Tables)
};
}  // namespace

struct CellChecker::Context {
  explicit Context(Script systemScript, const QString& folder) : ctx(systemScript, folder) {}
  CodecContext ctx;
  ProducerDirectory producers;
};

CellChecker::CellChecker(const TableDef& table, const QString& folder, Script systemScript)
    : table_(table), context_(std::make_unique<Context>(systemScript, folder)) {
  if (table.codec && table.codec->needsProducers()) {
    context_->producers = ProducerDirectory::load(folder);
    context_->ctx.producers = &context_->producers;
  }
}

CellChecker::~CellChecker() = default;

std::optional<QString> CellChecker::problem(const RecordStore& grid, int row, int column, const QString& text) const {
  if (table_.readOnly) return Texts::tr("%1 为只读").arg(table_.fileName);
  if (!table_.codec || column < 1 || column > grid.fieldCount()) return std::nullopt;
  // Putting back what the cell was read as always goes: it is saved from its bytes.
  QString asRead;
  if (row >= 1 && row <= grid.recordCount()) {
    const TableRecord& record = grid.rowAt(row);
    if (record.isKept() && column <= record.original.size()) {
      asRead = record.original[column - 1];
      if (text == asRead) return std::nullopt;
    }
  }
  return table_.codec->cellProblem(column, text, asRead, context_->ctx);
}

std::optional<QString> CellChecker::refusal(const RecordStore& grid, int row, int column, const QString& text) const {
  if (auto reason = problem(grid, row, column, text))
    return Texts::tr("%1：%2").arg(CellPlace(grid, row, column), *reason);
  return std::nullopt;
}

ColumnShape CellChecker::shape(int column) const {
  return table_.codec ? table_.codec->columnShape(column) : ColumnShape{};
}

QString CellPlace(const RecordStore& grid, int row, int column) {
  const QString header = grid.headerText(column);
  if (header.isEmpty()) return Texts::tr("第 %1 行第 %2 列").arg(row).arg(column);
  return Texts::tr("第 %1 行第 %2 列（%3）").arg(row).arg(column).arg(header);
}

}  // namespace v3
