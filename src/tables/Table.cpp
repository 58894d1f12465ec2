#include "tables/Table.h"

#include "tables/Slots.h"
#include "text/Big5.h"
#include "text/Convert.h"

#include <algorithm>
#include <cstring>

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

}  // namespace

void ArraySink::append(const char* data, qint64 size) {
  if (size > 0) bytes_.append(data, size);
}

void ArraySink::appendArray(const QByteArray& bytes) {
  if (bytes_.isEmpty())
    bytes_ = bytes;  // shared until either changes
  else
    bytes_.append(bytes);
}

void ArraySink::expect(qint64 size) {
  if (size <= bytes_.capacity()) return;
  bytes_.reserve(size);
}

void ComparingSink::append(const char* data, qint64 size) {
  if (size <= 0) return;
  if (difference_ < 0 && size_ < file_.size()) {
    const qint64 n = std::min(size, qint64(file_.size()) - size_);
    const char* in = file_.constData() + size_;
    // The file's own bytes handed back (a patched table unchanged) are equal without a look.
    if (in != data && std::memcmp(in, data, size_t(n)) != 0) {
      qint64 i = 0;
      while (in[i] == data[i]) ++i;
      difference_ = size_ + i;
    }
  }
  size_ += size;
}

std::optional<CellProblem> TableCodec::encode(const std::vector<const TableRecord*>& rows, const QByteArray& existing,
                                              const CodecContext& ctx, QByteArray* out) const {
  ArraySink sink;
  if (auto problem = encodeTo(rows, existing, ctx, sink)) return problem;
  *out = sink.take();
  return std::nullopt;
}

void CellSink::big5(int column, QByteArrayView bytes, Big5Kind kind, int padTo) {
  QString& t = scratchText;
  if (kind == Big5Kind::Bytes) {
    DecodeBig5BytesInto(bytes, &t);
    text(column, t);
    return;
  }
  DecodeBig5TextInto(bytes, &t);
  if (kind == Big5Kind::Padded) {
    if (t.size() < padTo) t.append(QString(padTo - t.size(), u' '));
    text(column, t);
    return;
  }
  text(column, TrimmedRight(t));
}

void OneCellSink::number(int column, int64_t value) {
  if (column == column_) cell = IntegerText(value);
}
void OneCellSink::numbers(int first, const int64_t* values, int count) {
  if (column_ >= first && column_ < first + count) cell = IntegerText(values[column_ - first]);
}
void OneCellSink::text(int column, QStringView text) {
  if (column == column_) cell = text.toString();
}
void OneCellSink::word(int column, const QString& text) {
  if (column == column_) cell = text;
}

QString TableCodec::decodeCell(const KeptBytes& record, const CodecContext& ctx, int column) const {
  OneCellSink sink(column);
  if (column >= 1 && column <= fieldCount()) decodeInto(record, ctx, sink);
  return sink.cell;
}

std::optional<RecordRun> TableCodec::recordsInPieces(qint64, const ReadPiece&, bool) const { return std::nullopt; }
std::optional<RecordStream> TableCodec::streamInPieces(qint64, const ReadPiece&) const { return std::nullopt; }
std::optional<LayoutVote> TableCodec::pieceVote(const QByteArray&, qint64) const { return std::nullopt; }
int TableCodec::votedVariant(const LayoutVote&, const QByteArray&) const { return 0; }

std::optional<QString> TableCodec::cellProblem(int, const QString&, QStringView, const CodecContext&) const {
  return std::nullopt;
}

ColumnShape TableCodec::columnShape(int) const { return {}; }

QStringList TableCodec::decodeRecord(const KeptBytes& record, const CodecContext& ctx) const {
  QStringList cells;
  // Exactly K cells: growing by resize() alone would leave room for more.
  cells.reserve(fieldCount());
  cells.resize(fieldCount());
  GridCells sink(&cells);
  decodeInto(record, ctx, sink);
  return cells;
}

void TableCodec::forEachRecord(const QByteArray& file, const std::function<void(const KeptBytes&)>& visit) const {
  for (const KeptBytes& record : locate(file)) visit(record);
}

RecordPlaces::RecordPlaces(const TableCodec& codec, const QByteArray& file) : file_(file) {
  codec.forEachRecord(file, [&](const KeptBytes& k) {
    const bool none = !k.file().isSharedWith(file) || k.file().size() != file.size();
    const qint64 n = count_++;
    if (!runs_.empty()) {
      Run& last = runs_.back();
      const qint64 next = last.offset + (n - last.first) * last.size;
      if (last.none == none && last.variant == k.variant() && last.size == k.size() && (none || next == k.offset()))
        return;
    }
    runs_.push_back({n, k.offset(), k.size(), k.variant(), none});
  });
  // Records of many sizes (a run each): found without a search.
  if (runs_.size() > 16) {
    runOf_.resize(size_t(count_));
    for (size_t i = 0; i < runs_.size(); ++i) {
      const qint64 end = i + 1 < runs_.size() ? runs_[i + 1].first : count_;
      std::fill(runOf_.begin() + runs_[i].first, runOf_.begin() + end, int(i));
    }
  }
}

void RecordPlaces::put(qsizetype k, KeptBytes* kept) const {
  const Run& r =
      !runOf_.empty()
          ? runs_[size_t(runOf_[size_t(k)])]
          : *(std::upper_bound(runs_.begin(), runs_.end(), k, [](qsizetype at, const Run& x) { return at < x.first; }) -
              1);
  const qint64 offset = r.offset + (k - r.first) * r.size;
  if (r.none)
    *kept = KeptBytes();
  else if (kept->file().isSharedWith(file_))
    kept->moveTo(offset, r.size, r.variant);
  else
    *kept = KeptBytes(file_, offset, r.size, r.variant);
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

std::vector<ReferenceDef> ReferenceRun(int first, int last, const ReferenceDef& like) {
  std::vector<ReferenceDef> run;
  for (int c = first; c <= last; ++c) {
    run.push_back(like);
    run.back().column = c;
  }
  return run;
}

const ReferenceDef* TableDef::referenceAt(int column) const {
  for (const ReferenceDef& r : references)
    if (r.column == column) return &r;
  return nullptr;
}

}  // namespace v3
