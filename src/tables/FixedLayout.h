#pragma once
#include <QString>

#include <vector>

#include "tables/Table.h"
#include "text/Convert.h"

namespace v3 {

// How a field's bytes become a cell's text and back.
enum class FieldKind : uint8_t {
  Integer,     // the value read, as decimal text
  Text,        // Big5 text, trailing blanks removed
  TextPadded,  // Big5 text, trailing blanks kept, padded with blanks to width/2 characters
  Code,        // single bytes, one character each, no conversion, trailing zero bytes kept
  Year,        // year code shown as its word
  Producer,    // producer number shown as the producer's name
  Flag,        // "√" when the value is not 0, empty when 0; written 1 for exactly "√", else 0
  SexWord,     // "女" for 0, "男" otherwise; written 0 for exactly "女", else 1
  TypeTag,     // written only: the Big5 bytes of `tag` in every record; no column
  SizeCode,    // 1/2/3 shown as "大型"/"中型"/"小型", other values as decimal text
  LocalText,   // text in the system's own code page, without the Big5 conversion, trailing blanks removed
};

// One field of a fixed record, as the format tables give it.
struct FieldDef {
  int offset = 0;
  int width = 4;  // bytes the field occupies
  FieldKind kind = FieldKind::Integer;
  IntWidth read = IntWidth::S32;   // numbers: how many bytes the load reads
  IntWidth write = IntWidth::S32;  // numbers: how many bytes the save writes
  int column = 0;                  // grid column 1..K; 0 for none
  int readBytes = 0;               // texts: bytes read of the field, 0 = the whole width
  const char* tag = nullptr;       // TypeTag: the text written
};

// Shorthands that keep the layout tables close to the format tables.
constexpr FieldDef Int(int offset, int column, IntWidth read = IntWidth::S32, IntWidth write = IntWidth::S32) {
  return FieldDef{offset, 4, FieldKind::Integer, read, write, column, 0, nullptr};
}
constexpr FieldDef Text(int offset, int width, int column, int readBytes = 0) {
  return FieldDef{offset, width, FieldKind::Text, IntWidth::S32, IntWidth::S32, column, readBytes, nullptr};
}
constexpr FieldDef Kind(FieldKind kind, int offset, int width, int column, IntWidth read = IntWidth::S32,
                        IntWidth write = IntWidth::S32) {
  return FieldDef{offset, width, kind, read, write, column, 0, nullptr};
}

// A fixed-size record layout.
struct FixedLayout {
  int recordSize = 0;            // distance between records
  int headerRecordSize = 0;      // value written into the header's size slot
  int fieldCount = 0;            // K
  std::vector<FieldDef> fields;  // in offset (= write) order
};

// Loads and saves a framed file of fixed records by walking a layout:
// every field is read at its offset, every cell is written at its field's
// offset into a new file of exactly 12 + N x recordSize bytes. A cell that
// is unchanged since the load is written from the bytes its field held
// (the whole field, also what follows a text's terminator and what the load
// does not read); the header is written anew and bytes that no field covers
// are zero.
class FixedCodec : public TableCodec {
 public:
  explicit FixedCodec(FixedLayout layout);
  int fieldCount() const override { return layout_.fieldCount; }
  std::vector<KeptBytes> locate(const QByteArray& file) const override;
  void forEachRecord(const QByteArray& file, const std::function<void(const KeptBytes&)>& visit) const override;
  std::optional<RecordRun> recordsInPieces(qint64 fileSize, const ReadPiece& read,
                                           bool provisional = false) const override;
  void decodeInto(const KeptBytes& record, const CodecContext& ctx, CellSink& sink) const override;
  QString decodeCell(const KeptBytes& record, const CodecContext& ctx, int column) const override;
  std::optional<int64_t> decodeNumber(const KeptBytes& record, int column) const override;
  std::optional<CellProblem> encodeTo(const RowList& rows, const QByteArray& existing, const CodecContext& ctx,
                                      ByteSink& sink) const override;
  bool needsProducers() const override;
  std::optional<QString> cellProblem(int column, const QString& text, QStringView asRead,
                                     const CodecContext& ctx) const override;
  ColumnShape columnShape(int column) const override;

  // Tables whose file decides between layouts override these: the layout
  // (variant) a file is in, and each variant's layout.
  virtual int variantFor(const QByteArray& file) const;
  // The same told from pieces of the file (see recordsInPieces()), of which
  // `count` records are counted; nothing when a read fails.
  virtual std::optional<int> variantInPieces(qint64 fileSize, qint64 count, const ReadPiece& read) const;
  virtual const FixedLayout& variant(int v) const;
  const FixedLayout& layoutFor(const QByteArray& file) const { return variant(variantFor(file)); }
  // Whether a save writes each record from its own kept bytes and cells
  // alone, the header anew, and keeps no other byte of the file it
  // replaces (not so for a table patched in place).
  virtual bool writesRecordsAlone() const { return true; }
  // The file's new content for the rows, written in the given variant's layout.
  std::optional<CellProblem> encodeIn(int variant, const RowList& rows, const CodecContext& ctx, ByteSink& sink) const;
  // Rows [first, end) of it alone, as their records of that content (for a
  // layout whose fields lie inside their records): the bytes from record
  // `first`'s start to record `end`'s, handed to the sink a record at a time.
  std::optional<CellProblem> encodeRecords(int variant, const RowList& rows, size_t first, size_t end,
                                           const CodecContext& ctx, ByteSink& sink) const;

  // One field of one record: cell -> bytes at `base`.
  static std::optional<QString> encodeField(const FieldDef& f, const QString& cell, class ByteWriter& out, qint64 base,
                                            const CodecContext& ctx);
  // Writes field `f` of the record: from its kept bytes when the cell is
  // unchanged and the bytes are there, otherwise from the cell's text.
  // `variant` is the layout being written.
  std::optional<QString> writeField(const FieldDef& f, int variant, const TableRecord& record, class ByteWriter& out,
                                    qint64 base, const CodecContext& ctx) const;

 protected:
  // Which field fills each column of the variants 0..count-1; a subclass
  // with more variants calls it once its layouts are there.
  void prepareVariants(int count);

  FixedLayout layout_;

 private:
  // For each column 1..K: the index of the field that fills it (-1 for
  // none) and, for a number, how many number columns follow from it on.
  struct ColumnStep {
    int field = -1;
    int numbers = 0;
    int offset = 0;  // a number's field: where it is read, and how
    IntWidth read = IntWidth::S32;
    // How many number columns from this one on are read alike, each
    // `stride` bytes after the one before.
    int alike = 0, stride = 0;
  };
  static std::vector<ColumnStep> ColumnSteps(const FixedLayout& layout);
  std::vector<std::vector<ColumnStep>> steps_;
  std::vector<int> reach_;      // per variant: the bytes from a record's start that its numbers read
  std::vector<bool> inRecord_;  // per variant: whether every field lies inside its record
};

}  // namespace v3
