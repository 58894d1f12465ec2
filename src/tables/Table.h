#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include <functional>
#include <optional>
#include <vector>

#include "tables/Producers.h"
#include "text/Script.h"

namespace v3 {

// What a table's routines need besides the file's bytes.
struct CodecContext {
  explicit CodecContext(Script script, QString folder = QString())
      : dataFolder(std::move(folder)), systemScript(script) {}
  QString dataFolder;
  const ProducerDirectory* producers = nullptr;  // set when the table's codec needsProducers()
  // The script of the system the game runs on, which decides how the
  // platform's own text fields are read and written: a Simplified system
  // keeps them in GBK (936) and has typed Simplified text mapped to
  // Traditional before it is written in Big5; every other system keeps them
  // in Big5 (950). Whoever makes the context says which (see SystemTextScript).
  Script systemScript;

  int systemCodePage() const { return CodePageOf(systemScript); }
};

// The bytes a record was read from: a stretch of the file's content as it
// was loaded, shared by all the records of that load (copying one costs
// nothing). Bytes past the end of the file read as zero. `variant` tells a
// codec with several record layouts which one the bytes are in.
class KeptBytes {
 public:
  KeptBytes() = default;
  KeptBytes(QByteArray file, qint64 offset, qint64 size, int variant = 0)
      : file_(std::move(file)), offset_(offset), size_(size), variant_(variant) {}

  bool isEmpty() const { return size_ <= 0; }
  qint64 size() const { return size_; }
  int variant() const { return variant_; }
  // The whole content of the file as loaded, and where the record starts in it.
  const QByteArray& file() const { return file_; }
  qint64 offset() const { return offset_; }
  // `count` bytes from `at` (relative to the record), zero-filled past the end of the file.
  QByteArray bytes(qint64 at, qint64 count) const;
  // The same bytes copied to `dest`, which has room for `count`.
  void copyTo(char* dest, qint64 at, qint64 count) const {
    if (at >= 0 && count > 0 && at + count <= size_ && offset_ + at + count <= file_.size())
      std::memcpy(dest, file_.constData() + offset_ + at, size_t(count));  // the file holds them all
    else
      copyPartTo(dest, at, count);
  }
  // Whether the file really holds the bytes [at, at + count) of the record.
  bool holds(qint64 at, qint64 count) const;
  // The record of the same size and file at another offset.
  void moveTo(qint64 offset) { offset_ = offset; }
  // Another record of the same file: no copy of the file is made or let go.
  void moveTo(qint64 offset, qint64 size, int variant) {
    offset_ = offset;
    size_ = size;
    variant_ = variant;
  }

 private:
  void copyPartTo(char* dest, qint64 at, qint64 count) const;

  QByteArray file_;
  qint64 offset_ = 0;
  qint64 size_ = 0;
  int variant_ = 0;
};

// Gives a record's cells from the bytes it was read from, for records whose
// cells are decoded only when asked for.
class RecordSource {
 public:
  virtual ~RecordSource() = default;
  virtual QStringList cells(const KeptBytes& record) const = 0;
  virtual QString cell(const KeptBytes& record, int column) const = 0;  // column 1..K
  // The number a number cell holds, read without making its text; nothing
  // for any other cell.
  virtual std::optional<int64_t> number(const KeptBytes&, int /*column*/) const { return std::nullopt; }
};

// One record as the codecs see it: its cells and, for a record read from
// the file, the bytes it was read from and the texts the load gave them. A
// cell whose text still equals the text it was read as is unchanged and is
// written back from its bytes; any other cell is encoded from its text. A
// record made anew (add, import) has no kept bytes.
struct TableRecord {
  TableRecord() = default;
  explicit TableRecord(QStringList fields) : cells(std::move(fields)) {}

  QStringList cells;     // fields 1..K at indexes 0..K-1
  QStringList original;  // the texts as read; shares its data with `cells` until one is edited
  KeptBytes kept;
  // Set while the cells are not decoded (`cells` and `original` empty): every
  // cell is as read, and cell() asks the source for it.
  const RecordSource* source = nullptr;

  bool isKept() const { return !kept.isEmpty(); }
  // Whether grid column `column` (1..K) still holds the text it was read as.
  bool unchanged(int column) const {
    if (source) return isKept() && column >= 1;
    if (!isKept() || column < 1 || column > cells.size() || column > original.size()) return false;
    // Cells that still share their data with the texts as read are all unchanged.
    return cells.isSharedWith(original) || cells[column - 1] == original[column - 1];
  }
  // Whether every cell still holds the text it was read as, known without
  // comparing them (not decoded yet, or no cell edited since).
  bool allUnchanged() const {
    if (!isKept()) return false;
    return source || (cells.size() == original.size() && cells.isSharedWith(original));
  }
  // Marks the cells as what the record was read as.
  void keep(KeptBytes bytes) {
    kept = std::move(bytes);
    original = cells;
  }
  // The number of a number cell not decoded yet, as cell() would give its text.
  std::optional<int64_t> number(int column) const {
    return source && column >= 1 ? source->number(kept, column) : std::nullopt;
  }
  // Cell text, empty past the last cell.
  QString cell(int column) const {
    if (source) return column >= 1 ? source->cell(kept, column) : QString();
    return column >= 1 && column <= cells.size() ? cells[column - 1] : QString();
  }
};

// A cell that cannot be stored. `record` is the index (from 0) into the rows
// handed to encode(); `column` the grid column (1..K), 0 for the row as a whole.
struct CellProblem {
  int record = 0;
  int column = 0;
  QString reason;
};

// Receives one record's cells as a codec decodes them, in column order
// (1..K; a column the codec gives nothing for is empty). Whatever the sink
// makes of a cell, every sink is handed the same cells: the grid's and the
// CSV's cells come from one decoding.
class CellSink {
 public:
  virtual ~CellSink() = default;
  // The number's decimal text.
  virtual void number(int column, int64_t value) = 0;
  // The numbers of `count` columns from `first` on.
  virtual void numbers(int first, const int64_t* values, int count) {
    for (int i = 0; i < count; ++i) number(first + i, values[i]);
  }
  // A text that lives only as long as the call.
  virtual void text(int column, QStringView text) = 0;
  // A text that lasts (a fixed word, a name): a sink may keep it without copying.
  virtual void word(int column, const QString& text) = 0;
  // A text as its Big5 bytes (text/Big5.h), which live only as long as the
  // call. A sink that writes the text in another form may do so without
  // decoding it; by default it is decoded into text().
  enum class Big5Kind : uint8_t {
    Field,   // the first zero byte ends the text; its trailing blanks are not part of it
    Padded,  // as Field, then padded with blanks to `padTo` characters
    Bytes,   // every byte is part of the text, a zero byte U+0000
  };
  virtual void big5(int column, QByteArrayView bytes, Big5Kind kind, int padTo = 0);

  // Room that a codec may reuse from record to record while it decodes.
  QString scratchText;
  QByteArray scratchBytes;
};

// Keeps one cell of the record a codec decodes and passes over the others.
class OneCellSink final : public CellSink {
 public:
  explicit OneCellSink(int column) : column_(column) {}
  void number(int column, int64_t value) override;
  void numbers(int first, const int64_t* values, int count) override;
  void text(int column, QStringView text) override;
  void word(int column, const QString& text) override;
  QString cell;

 private:
  int column_;
};

// The rows a codec encodes, in the order to write: records held by the
// caller, or records made one at a time as the codec comes to each (a
// check of a whole file, which holds no grid). A made record lasts until
// the next one is asked for, so a codec looks at one row at a time.
class RowList {
 public:
  // Implicit: the rows a caller holds are a row list as they are.
  RowList(const std::vector<const TableRecord*>& rows) : rows_(&rows), size_(rows.size()) {}
  RowList(size_t size, const std::function<const TableRecord*(size_t)>& make) : make_(&make), size_(size) {}

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const TableRecord* operator[](size_t k) const { return rows_ ? (*rows_)[k] : (*make_)(k); }

  class Iterator {
   public:
    Iterator(const RowList& list, size_t k) : list_(&list), k_(k) {}
    const TableRecord* operator*() const { return (*list_)[k_]; }
    Iterator& operator++() {
      ++k_;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return k_ != other.k_; }

   private:
    const RowList* list_;
    size_t k_;
  };
  Iterator begin() const { return Iterator(*this, 0); }
  Iterator end() const { return Iterator(*this, size_); }

 private:
  const std::vector<const TableRecord*>* rows_ = nullptr;
  const std::function<const TableRecord*(size_t)>* make_ = nullptr;
  size_t size_ = 0;
};

// Receives a file's new content as a codec makes it, in order, a piece at a
// time: the save keeps it all (ArraySink), a check only compares it with the
// file as it comes (ComparingSink), so no second copy of the file is held.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void append(const char* data, qint64 size) = 0;
  // The content's whole bytes in one piece (a table patched in place): a
  // sink may share them instead of copying.
  virtual void appendArray(const QByteArray& bytes) { append(bytes.constData(), bytes.size()); }
  // How many bytes the content will have, when the codec knows it ahead.
  virtual void expect(qint64 size) { (void)size; }
};

// Keeps the whole content in one array.
class ArraySink final : public ByteSink {
 public:
  void append(const char* data, qint64 size) override;
  void appendArray(const QByteArray& bytes) override;
  void expect(qint64 size) override;
  QByteArray take() { return std::move(bytes_); }

 private:
  QByteArray bytes_;
};

// Compares the content with the file it would replace as it comes, keeping
// only how much came and where the two first differ.
class ComparingSink final : public ByteSink {
 public:
  explicit ComparingSink(const QByteArray& file) : file_(file) {}
  void append(const char* data, qint64 size) override;
  qint64 size() const { return size_; }  // the content's bytes so far
  bool same() const { return difference_ < 0 && size_ == file_.size(); }
  // The first offset at which the two differ; where the shorter ends when it
  // is the start of the other. Only asked when !same().
  qint64 firstDifference() const { return difference_ >= 0 ? difference_ : std::min(size_, qint64(file_.size())); }

 private:
  const QByteArray& file_;
  qint64 size_ = 0;
  qint64 difference_ = -1;
};

// What a column holds, for an editor that shows the field's limits while
// the user types.
struct ColumnShape {
  enum class Kind { Unknown, Number, Text } kind = Kind::Unknown;
  int64_t min = 0, max = 0;  // Number: the values a save can write
  int bytes = 0;             // Text: the most bytes the field holds
  // The words a cell of the column shows for the field's codes (a flag's
  // "√", a year, a size), for a list to choose from; other values may still
  // be stored where the field takes them. Empty for a column without words.
  QStringList choices;
  bool producerChoices = false;  // the names of Producer.tab are the list
};

// About how many bytes of a file a pass that reads it in pieces reads at a
// time: few enough to stay in the processor's cache while it works on them.
constexpr qint64 kFilePieceBytes = 128 * 1024;
// How the records of a file of records of one size lie: the first at
// offset 12, each `size` bytes after the one before.
struct RecordRun {
  qint64 count = 0;  // the records the header counts
  qint64 size = 0;
  int variant = 0;
  // Told by the vote of the first piece's records alone, for a file whose
  // records vote on its layout (see TableCodec::pieceVote): a pass that
  // reads every piece (RunPieces) tells whether the whole file agrees.
  bool provisional = false;
  // The records a piece of about kFilePieceBytes holds.
  qint64 perPiece() const { return std::max<qint64>(1, kFilePieceBytes / std::max<qint64>(size, 1)); }
  qint64 pieces() const { return (count + perPiece() - 1) / perPiece(); }
};
// How the records of a file whose records differ in size lie, one after
// the other from offset 12: record k is the bytes [starts[k], starts[k + 1]).
// Every record starts inside the file; the last may end past it (a file cut
// short in its last record).
struct RecordStream {
  std::vector<qint64> starts;  // one more than the records
  qint64 count() const { return qint64(starts.size()) - 1; }
};
// Reads bytes [from, from + count) of a file (fewer at its end) into *into
// from index `at` on; false when they cannot be read.
using ReadPiece = std::function<bool(qint64 from, qint64 count, QByteArray* into, qsizetype at)>;
// How badly a file's records fit each of its two layouts (variants 0 and
// 1), for a table whose records vote on the layout: the sum of their misfits.
struct LayoutVote {
  qint64 against[2] = {0, 0};
  LayoutVote& operator+=(const LayoutVote& other) {
    against[0] += other.against[0];
    against[1] += other.against[1];
    return *this;
  }
};

// Turns a table file's bytes into grid rows and grid rows into the file's new bytes.
class TableCodec {
 public:
  virtual ~TableCodec() = default;
  virtual int fieldCount() const = 0;  // K
  // Where the file's records lie, without decoding a cell: one KeptBytes per
  // record the header counts. Never fails: bytes past the end of the file
  // read as zero; a record of which the file holds no byte at all may have
  // an empty KeptBytes.
  virtual std::vector<KeptBytes> locate(const QByteArray& file) const = 0;
  // The same records handed over one at a time, for a pass that keeps none of them.
  virtual void forEachRecord(const QByteArray& file, const std::function<void(const KeptBytes&)>& visit) const;
  // For a file of `fileSize` bytes that `read` reads: where its records lie,
  // told from pieces of it, when they lie as a RecordRun and every field is
  // inside its record, so that they can be decoded a piece at a time (each
  // as KeptBytes of its piece). They are the records forEachRecord() hands
  // over. Nothing for other codecs, or when a read fails.
  // With `provisional`, a file whose records vote on its layout may be told
  // from its first piece alone (see RecordRun::provisional).
  virtual std::optional<RecordRun> recordsInPieces(qint64 fileSize, const ReadPiece& read,
                                                   bool provisional = false) const;
  // The same for a codec whose records differ in size: where they lie,
  // told by a walk over pieces of the file, when every record the header
  // counts starts inside it. Nothing for other codecs, or when a read fails.
  virtual std::optional<RecordStream> streamInPieces(qint64 fileSize, const ReadPiece& read) const;
  // For a codec whose records vote on the file's layout: the vote of the
  // `count` records of a piece, read behind 12 blank bytes so that its first
  // record is record 0 of it (the bytes the file holds of them). Nothing for
  // other codecs.
  virtual std::optional<LayoutVote> pieceVote(const QByteArray& piece, qint64 count) const;
  // The variant the votes of every piece choose; `first` is the first piece
  // as pieceVote() had it.
  virtual int votedVariant(const LayoutVote& total, const QByteArray& first) const;
  // One record's cells (fields 1..K) from the bytes locate() gave it, handed
  // to the sink in column order.
  virtual void decodeInto(const KeptBytes& record, const CodecContext& ctx, CellSink& sink) const = 0;
  // The same as grid cells.
  QStringList decodeRecord(const KeptBytes& record, const CodecContext& ctx) const;
  // One of them (column 1..K); a codec that can find the field alone decodes only it.
  virtual QString decodeCell(const KeptBytes& record, const CodecContext& ctx, int column) const;
  // The value of a number column's field (the number decodeCell() writes as
  // its text), read alone; nothing for other columns or codecs.
  virtual std::optional<int64_t> decodeNumber(const KeptBytes&, int /*column*/) const { return std::nullopt; }
  // Every record: its cells, and the bytes it was read from for those that have bytes.
  std::vector<TableRecord> decode(const QByteArray& file, const CodecContext& ctx) const;
  // The complete new content of the file for the rows (in the order to write),
  // or the first cell that cannot be stored. `existing` is the file as it is
  // now (tables patched in place, or whose layout the file decides).
  // Unchanged cells are written from their kept bytes, the others from their text.
  // *out is left alone when a cell cannot be stored.
  virtual std::optional<CellProblem> encode(const std::vector<const TableRecord*>& rows, const QByteArray& existing,
                                            const CodecContext& ctx, QByteArray* out) const;
  // The same content handed to the sink in pieces as it is made. When a
  // cell cannot be stored, what the sink was given is no content at all.
  virtual std::optional<CellProblem> encodeTo(const RowList& rows, const QByteArray& existing, const CodecContext& ctx,
                                              ByteSink& sink) const = 0;
  virtual bool needsProducers() const { return false; }
  // Why the text cannot be stored in the column, with the words the save
  // uses; nothing when it can (or the codec cannot tell one cell alone).
  // `asRead` is what the cell held when it was read.
  virtual std::optional<QString> cellProblem(int column, const QString& text, QStringView asRead,
                                             const CodecContext& ctx) const;
  virtual ColumnShape columnShape(int column) const;
};

// Where each record of a file lies, as the codec's forEachRecord() hands
// them over, in runs of records of one size and layout that follow each
// other: the records can be visited again by position, in any order or in
// parts on two threads, without a KeptBytes (and a reference to the file)
// held for each.
class RecordPlaces {
 public:
  RecordPlaces(const TableCodec& codec, const QByteArray& file);
  int size() const { return count_; }
  // Puts record k (0-based) into *kept: records of one size and layout move
  // along the file in the KeptBytes that holds one of them already.
  void put(qsizetype k, KeptBytes* kept) const;

 private:
  struct Run {
    qint64 first = 0;   // the position of its first record
    qint64 offset = 0;  // where that record starts in the file
    qint64 size = 0;
    int variant = 0;
    bool none = false;  // no bytes of this file (empty KeptBytes)
  };
  QByteArray file_;
  std::vector<Run> runs_;
  std::vector<int> runOf_;  // each record's run, when there are many runs
  int count_ = 0;
};

// The order in which a save writes the rows.
enum class SaveOrder {
  Text,               // column 1 by character codes
  Numeric,            // column 1 as a number
  NumericThenSecond,  // column 1, then again (stable) by column 2, both numeric
  GridOrder,          // as the grid holds them
};

// How a cell names a record of another table.
enum class RefersBy {
  Position,  // the record's 0-based position in the target file, as the file holds them
  Number,    // the target record whose column `targetKey` holds this number
  Code,      // the target record whose column `targetKey` holds this text
};

// One column of a table that points at a record of another table. Every
// reference the game's files hold is declared beside its table's layout,
// and everything that follows references (the names shown beside the
// cells, keeping them pointed at the same record when the target's records
// move, finding where a record is used, checks) reads these declarations.
struct ReferenceDef {
  int column = 0;  // grid column (1..K) of the referring table
  QString target;  // file name of the table referred to
  RefersBy by = RefersBy::Position;
  QString empty;       // the cell text that refers to nothing ("-1", "" ...)
  int targetKey = 1;   // Number, Code: the target column that holds the key
  int targetName = 2;  // the target column that names the record
  // Whether the grid shows the target's name instead of the stored key
  // (producers): the cell then holds a name, or the bare number when no
  // target record has it.
  bool cellShowsName = false;
};

// The same reference in each of the columns first..last.
std::vector<ReferenceDef> ReferenceRun(int first, int last, const ReferenceDef& like);

// One data table of the game, as load, save, export and check see it.
struct TableDef {
  QString fileName;  // "Team.dat": the catalogue caption and the file in the data folder
  QString code;      // "Team": names Load<code>/Save<code>, the editor, the menu entry
  const TableCodec* codec = nullptr;
  SaveOrder order = SaveOrder::Numeric;
  QList<int> hiddenColumns;  // grid columns kept out of view
  int leadingColumns = 0;    // count of leading identifying columns, 0 when the table sets none
  int nameColumn = 0;        // the column that names a record (1-based), 0 when none does
  bool readOnly = false;     // shown, never written (its save does nothing)
  // Rows for the sample data folder, already in the order a save writes them.
  std::vector<QStringList> (*sample)(class SampleContext&) = nullptr;
  // For tables whose save does not write the whole file (patched in place,
  // read-only): the sample file's bytes themselves.
  QByteArray (*sampleFile)(class SampleContext&) = nullptr;
  // The columns that point at records of other tables.
  std::vector<ReferenceDef> references = {};
  const ReferenceDef* referenceAt(int column) const;
  int fieldCount() const { return codec ? codec->fieldCount() : 0; }
};

}  // namespace v3
