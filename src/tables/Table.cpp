#include "tables/Table.h"

#include "text/Convert.h"

namespace v3 {
namespace {

// The grid's cells: numbers share their text, lasting texts are shared.
class GridCells final : public CellSink {
 public:
  explicit GridCells(QStringList* cells) : cells_(cells) {}
  void number(int column, int64_t value) override { at(column) = IntegerText(value); }
  void numbers(int first, const int64_t* values, int count) override {
    QString* cell = &at(first);
    for (int i = 0; i < count; ++i) cell[i] = IntegerText(values[i]);
  }
  void text(int column, QStringView text) override { at(column) = text.toString(); }
  void word(int column, const QString& text) override { at(column) = text; }

 private:
  QString& at(int column) { return (*cells_)[column - 1]; }
  QStringList* cells_;
};

// One cell of the record; the others are passed over.
class OneCell final : public CellSink {
 public:
  explicit OneCell(int column) : column_(column) {}
  void number(int column, int64_t value) override {
    if (column == column_) cell = IntegerText(value);
  }
  void numbers(int first, const int64_t* values, int count) override {
    if (column_ >= first && column_ < first + count) cell = IntegerText(values[column_ - first]);
  }
  void text(int column, QStringView text) override {
    if (column == column_) cell = text.toString();
  }
  void word(int column, const QString& text) override {
    if (column == column_) cell = text;
  }
  QString cell;

 private:
  int column_;
};

}  // namespace

QString TableCodec::decodeCell(const KeptBytes& record, const CodecContext& ctx, int column) const {
  OneCell sink(column);
  if (column >= 1 && column <= fieldCount()) decodeInto(record, ctx, sink);
  return sink.cell;
}

QStringList TableCodec::decodeRecord(const KeptBytes& record, const CodecContext& ctx) const {
  QStringList cells;
  // Exactly K cells: growing by resize() alone would leave room for more.
  cells.reserve(fieldCount());
  cells.resize(fieldCount());
  GridCells sink(&cells);
  decodeInto(record, ctx, sink);
  return cells;
}

std::vector<TableRecord> TableCodec::decode(const QByteArray& file, const CodecContext& ctx) const {
  const std::vector<KeptBytes> located = locate(file);
  std::vector<TableRecord> rows;
  rows.reserve(located.size());
  QStringList cells;
  GridCells sink(&cells);
  for (const KeptBytes& bytes : located) {
    cells = QStringList();
    cells.reserve(fieldCount());
    cells.resize(fieldCount());
    decodeInto(bytes, ctx, sink);
    TableRecord& row = rows.emplace_back(std::move(cells));
    if (!bytes.isEmpty()) row.keep(bytes);
  }
  return rows;
}

}  // namespace v3
