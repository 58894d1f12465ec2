#include "model/TableIo.h"

#include <algorithm>
#include <numeric>

#include <QCoreApplication>
#include <atomic>
#include <cstring>
#include <memory>

#include "tables/FixedLayout.h"
#include "tables/RunPieces.h"
#include "tables/SlotStream.h"
#include "tables/Slots.h"
#include "text/DiskFile.h"
#include "text/TwoHalves.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(TableSave)
};

struct Context {
  CodecContext ctx;
  ProducerDirectory producers;
  // Given producers are used as they are; otherwise read from the folder when the codec needs them.
  Context(const TableDef& table, const QString& folder, Script systemScript, const ProducerDirectory* given = nullptr)
      : ctx(systemScript, folder) {
    if (table.codec && table.codec->needsProducers()) {
      if (!given) producers = ProducerDirectory::load(folder);
      ctx.producers = given ? given : &producers;
    }
  }
  const QString& producersError() const { return ctx.producers ? ctx.producers->readError() : producers.readError(); }
  Context(const Context&) = delete;
};

// Decodes the grid's records on first use, with the producers of the load.
class CodecSource : public RecordSource {
 public:
  CodecSource(const TableDef& table, const QString& folder, Script systemScript, const ProducerDirectory* producers)
      : context(table, folder, systemScript, producers), codec_(table.codec) {}
  QStringList cells(const KeptBytes& record) const override { return codec_->decodeRecord(record, context.ctx); }
  QString cell(const KeptBytes& record, int column) const override {
    return codec_->decodeCell(record, context.ctx, column);
  }
  std::optional<int64_t> number(const KeptBytes& record, int column) const override {
    return codec_->decodeNumber(record, column);
  }
  const Context context;

 private:
  const TableCodec* codec_;
};

// The table's file and what its records are decoded with; false, with
// *error, when either cannot be read. Nothing of a file that could not be
// read whole is shown, so nothing of it can be saved over the file.
bool ReadTableFile(const TableDef& table, const QString& folder, Script systemScript, FileStore& store,
                   QByteArray* bytes, std::shared_ptr<CodecSource>* source, QString* error,
                   const ProducerDirectory* producers = nullptr) {
  bool exists = false;
  *bytes = store.read(DataFilePath(folder, table.fileName), &exists, error);
  if (!error->isEmpty() || !table.codec) return false;
  *source = std::make_shared<CodecSource>(table, folder, systemScript, producers);
  *error = (*source)->context.producersError();
  return error->isEmpty();
}

}  // namespace

std::vector<TableRecord> ReadTableRecords(const TableDef& table, const QString& folder, Script systemScript,
                                          QString* error, FileStore& store, QByteArray* content) {
  QByteArray bytes;
  std::shared_ptr<CodecSource> source;
  QString readError;
  const bool ok = ReadTableFile(table, folder, systemScript, store, &bytes, &source, &readError);
  if (error) *error = readError;
  if (content) *content = bytes;
  if (!ok) return {};
  return table.codec->decode(bytes, source->context.ctx);
}

std::vector<QStringList> ReadTableRows(const TableDef& table, const QString& folder, Script systemScript,
                                       QString* error, FileStore& store) {
  std::vector<QStringList> rows;
  for (TableRecord& r : ReadTableRecords(table, folder, systemScript, error, store)) rows.push_back(std::move(r.cells));
  return rows;
}

std::vector<QStringList> ReadTableColumns(const TableDef& table, const QString& folder, Script systemScript,
                                          const QList<int>& columns, QString* error, FileStore& store) {
  QByteArray bytes;
  std::shared_ptr<CodecSource> source;
  QString readError;
  const bool ok = ReadTableFile(table, folder, systemScript, store, &bytes, &source, &readError);
  if (error) *error = readError;
  if (!ok) return {};
  const int width = columns.isEmpty() ? 0 : *std::max_element(columns.begin(), columns.end());
  std::vector<QStringList> rows;
  for (const KeptBytes& record : table.codec->locate(bytes)) {
    QStringList& row = rows.emplace_back();
    row.resize(width);
    for (int c : columns)
      if (c >= 1) row[c - 1] = source->cell(record, c);
  }
  return rows;
}

bool LoadTable(const TableDef& table, const QString& folder, Script systemScript, RecordStore& grid, QString* error,
               FileStore& store, QByteArray* content, const ProducerDirectory* producers) {
  QByteArray bytes;
  std::shared_ptr<CodecSource> source;
  QString readError;
  if (ReadTableFile(table, folder, systemScript, store, &bytes, &source, &readError, producers)) {
    grid.resetKept(table.fieldCount(), table.codec->locate(bytes), std::move(source));
    grid.setFileOrder(bytes);
  } else
    grid.resetRecords(table.fieldCount(), {});
  if (content) *content = bytes;
  grid.setHiddenColumns(table.hiddenColumns);
  grid.setLeadingColumns(table.leadingColumns);
  if (error) *error = readError;
  return readError.isEmpty();
}

namespace {

// The rows 1..count in the order the table's sort rule gives; `sorted(start,
// column, order)` sorts rows already in `start`'s order by one column.
template <typename Sorted>
std::vector<int> OrderedBySaveRule(const TableDef& table, int count, const Sorted& sorted) {
  using O = RecordStore::SortOrder;
  std::vector<int> order(size_t(std::max(count, 0)));
  std::iota(order.begin(), order.end(), 1);
  const int fields = table.fieldCount();
  switch (table.order) {
    case SaveOrder::Text: return fields >= 1 ? sorted(order, 1, O::Text) : order;
    case SaveOrder::Numeric: return fields >= 1 ? sorted(order, 1, O::Numeric) : order;
    case SaveOrder::NumericThenSecond:
      if (fields >= 1) order = sorted(order, 1, O::Numeric);
      return fields >= 2 ? sorted(order, 2, O::Numeric) : order;
    case SaveOrder::GridOrder: break;
  }
  return order;
}

}  // namespace

std::vector<int> SaveRowOrder(const TableDef& table, const RecordStore& grid) {
  return OrderedBySaveRule(table, grid.recordCount(), [&grid](const std::vector<int>& start, int column, auto order) {
    return grid.sortedOrder(start, column, order);
  });
}

std::vector<int> SaveRowOrder(const TableDef& table, int count, const std::function<QString(int row, int column)>& cell,
                              const std::function<std::optional<int64_t>(int row, int column)>& number) {
  // Records a save wrote are in its order already (the common case): told
  // by one pass over the keys of both columns instead of two sorts.
  if (table.order == SaveOrder::NumericThenSecond && table.fieldCount() >= 2) {
    const auto keys = [&](int column) {
      RowNumber inColumn;
      if (number) inColumn = [&number, column](int row) { return number(row, column); };
      return NumericSortKeys(
          count, [&cell, column](int row) { return cell(row, column); }, inColumn);
    };
    const std::vector<double> first = keys(1), second = keys(2);
    bool ordered = true;
    for (size_t r = 2; r < first.size() && ordered; ++r)
      ordered = second[r - 1] < second[r] || (second[r - 1] == second[r] && first[r - 1] <= first[r]);
    if (ordered) {
      std::vector<int> order(size_t(std::max(count, 0)));
      std::iota(order.begin(), order.end(), 1);
      return order;
    }
  }
  return OrderedBySaveRule(table, count, [&](const std::vector<int>& start, int column, auto order) {
    RowNumber inColumn;
    if (number) inColumn = [&number, column](int row) { return number(row, column); };
    return SortedRows(
        start, count, [&cell, column](int row) { return cell(row, column); }, order, false, inColumn);
  });
}

QString SaveOutcome::message(const QString& fileName, const QString& columnName) const {
  switch (status) {
    case Saved:
    case Unchanged: return QString();
    case Refused: {
      QString where = Texts::tr("第 %1 行").arg(row);
      if (column > 0)
        where += columnName.isEmpty() ? Texts::tr("第 %1 列").arg(column)
                                      : Texts::tr("第 %1 列（%2）").arg(column).arg(columnName);
      return Texts::tr("%1 未保存：%2：%3").arg(fileName, where, reason);
    }
    case Failed: return Texts::tr("%1 保存失败：%2").arg(fileName, reason);
  }
  return QString();
}

SaveOutcome EncodeTable(const TableDef& table, const QString& folder, Script systemScript, const RecordStore& grid,
                        const std::vector<int>& order, const QByteArray& existing, QByteArray* out) {
  return EncodeTable(table, folder, systemScript, grid, order, existing, out, nullptr);
}

std::vector<TableRecord> DecodeTableRecords(const TableDef& table, const QString& folder, Script systemScript,
                                            const QByteArray& bytes, const ProducerDirectory* producers) {
  if (!table.codec) return {};
  const Context c(table, folder, systemScript, producers);
  return table.codec->decode(bytes, c.ctx);
}

namespace {

SaveOutcome CannotSave() {
  SaveOutcome outcome;
  outcome.status = SaveOutcome::Failed;
  outcome.reason = Texts::tr("此表不能保存");
  return outcome;
}

// A cell that cannot be stored, told by its grid row (`order` gives the row of each encoded record).
SaveOutcome Refusal(const CellProblem& problem, const std::vector<int>& order) {
  SaveOutcome outcome;
  outcome.status = SaveOutcome::Refused;
  outcome.row =
      problem.record >= 0 && size_t(problem.record) < order.size() ? order[size_t(problem.record)] : problem.record + 1;
  outcome.column = problem.column;
  outcome.reason = problem.reason;
  return outcome;
}

// The rows of the grid in `order` handed to `encode` (the codec's encode
// into an array, or into a sink), its problem told as the save tells it.
template <typename Encode>
SaveOutcome EncodeRows(const TableDef& table, const QString& folder, Script systemScript, const RecordStore& grid,
                       const std::vector<int>& order, const ProducerDirectory* producers, const Encode& encode) {
  SaveOutcome outcome;
  if (!table.codec) return CannotSave();
  std::vector<const TableRecord*> rows;
  rows.reserve(order.size());
  // Records not decoded yet are written from their kept bytes as they are.
  for (int r : order) rows.push_back(&grid.rowAsRead(r));
  const Context c(table, folder, systemScript, producers);
  if (!c.producersError().isEmpty()) {
    // Producer names cannot be turned into numbers without the directory.
    outcome.status = SaveOutcome::Failed;
    outcome.reason = c.producersError();
    return outcome;
  }
  if (auto problem = encode(rows, c.ctx)) return Refusal(*problem, order);
  return outcome;
}

}  // namespace

SaveOutcome EncodeTable(const TableDef& table, const QString& folder, Script systemScript, const RecordStore& grid,
                        const std::vector<int>& order, const QByteArray& existing, QByteArray* out,
                        const ProducerDirectory* producers) {
  return EncodeRows(table, folder, systemScript, grid, order, producers,
                    [&](const std::vector<const TableRecord*>& rows, const CodecContext& ctx) {
                      return table.codec->encode(rows, existing, ctx, out);
                    });
}

SaveOutcome EncodeTableTo(const TableDef& table, const QString& folder, Script systemScript, const RecordStore& grid,
                          const std::vector<int>& order, const QByteArray& existing, ByteSink& sink,
                          const ProducerDirectory* producers) {
  return EncodeRows(table, folder, systemScript, grid, order, producers,
                    [&](const std::vector<const TableRecord*>& rows, const CodecContext& ctx) {
                      return table.codec->encodeTo(rows, existing, ctx, sink);
                    });
}

SaveOutcome EncodeAsRead(const TableDef& table, const QString& folder, Script systemScript, const QByteArray& bytes,
                         ByteSink& sink, int* records, const ProducerDirectory* producers) {
  if (records) *records = 0;
  if (!table.codec) return CannotSave();
  const CodecSource source(table, folder, systemScript, producers);
  if (const QString& error = source.context.producersError(); !error.isEmpty()) {
    SaveOutcome outcome;
    outcome.status = SaveOutcome::Failed;
    outcome.reason = error;
    return outcome;
  }
  // Where each record lies: all of a loaded grid's record that a save of it unchanged reads.
  const RecordPlaces places(*table.codec, bytes);
  const int count = places.size();
  if (records) *records = count;
  KeptBytes sorted;
  const std::vector<int> order = SaveRowOrder(
      table, count,
      [&](int row, int column) {
        places.put(row - 1, &sorted);
        return source.cell(sorted, column);
      },
      [&](int row, int column) {
        places.put(row - 1, &sorted);
        return source.number(sorted, column);
      });
  // Each record as a grid holds it before any of its cells is looked at.
  TableRecord made;
  made.source = &source;
  const std::function<const TableRecord*(size_t)> make = [&](size_t k) {
    places.put(order[k] - 1, &made.kept);
    return &made;
  };
  if (auto problem = table.codec->encodeTo(RowList(order.size(), make), bytes, source.context.ctx, sink))
    return Refusal(*problem, order);
  return SaveOutcome();
}

namespace {

// Compares the bytes of a content from `at` to `end`, as they are made,
// with the file's: each stretch with the piece of the file the records being
// written were read into when it holds the stretch, otherwise with the
// file's bytes read anew.
class PieceComparingSink final : public ByteSink {
 public:
  PieceComparingSink(qint64 at, qint64 end, const ReadPiece& read, const QByteArray& piece, const qint64& pieceAt)
      : at_(at), end_(end), read_(read), piece_(piece), pieceAt_(pieceAt) {}
  void append(const char* data, qint64 size) override {
    if (size <= 0 || !same_) return;
    const qint64 at = at_;
    at_ += size;
    if (at_ > end_) {
      same_ = false;
    } else if (at >= pieceAt_ && at + size <= pieceAt_ + piece_.size() - RunPieces::kBlank) {
      same_ = std::memcmp(piece_.constData() + RunPieces::kBlank + (at - pieceAt_), data, size_t(size)) == 0;
    } else {
      same_ = read_(at, size, &other_, 0) && other_.size() == size &&
              std::memcmp(other_.constData(), data, size_t(size)) == 0;
    }
  }
  bool same() const { return same_ && at_ == end_; }

 private:
  qint64 at_;
  const qint64 end_;
  const ReadPiece& read_;
  const QByteArray& piece_;  // records behind RunPieces::kBlank bytes
  const qint64& pieceAt_;    // where its first record starts in the file
  QByteArray other_;
  bool same_ = true;
};

}  // namespace

bool ForEachRecordInFile(const TableCodec& codec, const QString& path,
                         const std::function<void(const KeptBytes&)>& visit, QString* error) {
  disk::PieceReader reader;
  bool exists = false;
  if (!reader.open(path, &exists, error)) return false;
  if (!exists) return true;
  const ReadPiece read = [&reader](qint64 from, qint64 count, QByteArray* into, qsizetype at) {
    return reader.read(from, count, into, at);
  };
  if (std::optional<RunPieces> pieces = PiecesOfFile(codec, reader.size(), read)) {
    QByteArray piece;
    KeptBytes record;
    for (qint64 p = 0; p < pieces->count(); ++p) {
      record = KeptBytes();  // lets go of the piece before, which is read over
      if (!pieces->read(p, &piece)) break;
      for (qint64 k = pieces->first(p); k < pieces->end(p); ++k) {
        pieces->moveTo(piece, pieces->first(p), k, &record);
        visit(record);
      }
    }
    return reader.finish(error);
  }
  if (!reader.finish(error)) return false;
  const QByteArray file = FileStore::disk().read(path, &exists, error);
  if (!error->isEmpty()) return false;
  codec.forEachRecord(file, visit);
  return true;
}

std::optional<int> SavedAsReadInPieces(const TableDef& table, const QString& folder, Script systemScript,
                                       qint64 fileSize, const ReadPiece& read, const ProducerDirectory* producers) {
  // Records of one size, or a stream of records of many.
  const auto* fixed = dynamic_cast<const FixedCodec*>(table.codec);
  const auto* stream = dynamic_cast<const SlotCodec*>(table.codec);
  if (fixed ? !fixed->writesRecordsAlone() : !stream) return std::nullopt;
  const CodecSource source(table, folder, systemScript, producers);
  if (!source.context.producersError().isEmpty()) return std::nullopt;
  // The layout may be the first piece's vote: the pass weighs every piece.
  std::optional<RecordRun> run;
  std::optional<RecordStream> records;
  if (fixed) {
    run = fixed->recordsInPieces(fileSize, read, true);
    // A file that holds exactly the records its header counts.
    if (!run || run->count > 32767 || 12 + run->count * run->size != fileSize) return std::nullopt;
  } else {
    records = stream->streamInPieces(fileSize, read);
    // A file that ends where its last record does.
    if (!records || records->starts.back() != fileSize) return std::nullopt;
  }
  const qint64 count = run ? run->count : records->count();
  // The save's sort keys, gathered as the records go by: the columns it sorts by.
  const int keys = table.order == SaveOrder::GridOrder
                       ? 0
                       : std::min(table.fieldCount(), table.order == SaveOrder::NumericThenSecond ? 2 : 1);
  std::vector<std::optional<int64_t>> numbers(size_t(count * keys));
  // A text key is kept in its half's one string, after the keys before it,
  // rather than in a string of its own.
  struct TextKey {
    int half = 0;
    qsizetype at = 0, size = 0;
  };
  std::vector<TextKey> texts(size_t(count * keys));
  QString keyTexts[2];
  // Whether the records, written in the run's layout, are the file's own
  // bytes: the two halves of the pieces at once, each piece read as the
  // first of its records is made. When they are, the content weighs as the
  // file does and keeps its layout.
  const auto savedAsRead = [&](RunPieces& pieces) {
    std::atomic<bool> same{true};
    InTwoHalves(pieces.count(), 4, [&](qint64 from, qint64 to, int half) {
      QString& keyText = keyTexts[half];
      keyText.clear();
      if (from >= to) return;
      QByteArray piece;
      qint64 current = -1, pieceAt = 0;
      bool unread = false;
      TableRecord made;
      made.source = &source;
      const std::function<const TableRecord*(size_t)> make = [&](size_t k) {
        const qint64 p = current >= 0 && qint64(k) >= pieces.first(current) && qint64(k) < pieces.end(current)
                             ? current
                             : pieces.pieceOf(qint64(k));
        if (p != current) {
          made.kept = KeptBytes();  // lets go of the piece before it, which is read over
          current = p;
          pieceAt = pieces.at(pieces.first(p));
          unread = unread || !pieces.read(p, &piece);
        }
        pieces.moveTo(piece, pieces.first(p), qint64(k), &made.kept);
        for (int c = 1; c <= keys; ++c) {
          const size_t at = size_t(qint64(k) * keys + c - 1);
          numbers[at] = source.number(made.kept, c);
          if (!numbers[at]) {
            const QString text = source.cell(made.kept, c);
            texts[at] = {half, keyText.size(), text.size()};
            keyText += text;
          }
        }
        return &made;
      };
      const size_t first = size_t(pieces.first(from)), end = size_t(pieces.end(to - 1));
      PieceComparingSink compared(pieces.at(qint64(first)), pieces.at(qint64(end)), read, piece, pieceAt);
      const RowList rows(size_t(count), make);
      if ((fixed ? fixed->encodeRecords(pieces.run().variant, rows, first, end, source.context.ctx, compared)
                 : stream->encodeRecords(rows, first, end, pieces.at(qint64(first)), source.context.ctx, compared)) ||
          unread || !compared.same())
        same = false;
    });
    return same.load();
  };
  RunPieces pieces = run ? RunPieces(*fixed, *run, read) : RunPieces(*stream, std::move(*records), read);
  bool same = savedAsRead(pieces);
  if (run && run->provisional) {
    // Every piece weighed: the layout the whole file votes for. Another
    // than the first piece's is made again in that one.
    const std::optional<int> voted = pieces.voted();
    if (!voted) return std::nullopt;
    if (*voted != run->variant) {
      run->variant = *voted;
      run->provisional = false;
      RunPieces again(*fixed, *run, read);
      same = savedAsRead(again);
    }
  }
  // The header as a save writes it.
  ByteWriter header(12);
  PutFrameHeader(header, int(count),
                 fixed ? fixed->variant(run->variant).headerRecordSize : stream->layout().headerRecordSize);
  QByteArray fileHeader;
  if (!same || !read(0, 12, &fileHeader, 0) || header.bytes() != fileHeader) return std::nullopt;
  // The records must already be in the order the save puts them in.
  // A number cell's text is its number's (a text sort compares those).
  const auto at = [keys](int row, int column) { return size_t(qint64(row - 1) * keys + column - 1); };
  const std::vector<int> order = SaveRowOrder(
      table, int(count),
      [&](int row, int column) {
        const std::optional<int64_t>& n = numbers[at(row, column)];
        if (n) return QString::number(*n);
        const TextKey& t = texts[at(row, column)];
        return QString::fromRawData(keyTexts[t.half].constData() + t.at, t.size);
      },
      [&](int row, int column) { return numbers[at(row, column)]; });
  for (size_t i = 0; i < order.size(); ++i)
    if (order[i] != int(i + 1)) return std::nullopt;
  return int(count);
}

}  // namespace v3
