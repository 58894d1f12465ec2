#pragma once
#include <vector>

#include "tables/Table.h"
#include "text/Convert.h"

namespace v3 {

// Slot streams: framed files whose records have no fixed size. Every value,
// down to each single byte of a text, takes one 4-byte slot; a text is a slot
// with its byte count followed by one slot per Big5 byte. Record k starts
// where record k - 1 ends.
enum class SlotKind : uint8_t {
  Integer,  // a number at the slot's start
  Text,     // a length slot (read with `read`, written as 16 bits), then one slot per byte
  Skip,     // one slot that is not read and is zero after a save
};

struct SlotElement {
  SlotKind kind = SlotKind::Integer;
  int column = 0;                  // grid column 1..K, 0 for a skipped slot
  IntWidth read = IntWidth::S16;   // numbers: bytes read; texts: how the length is read
  IntWidth write = IntWidth::S16;  // numbers: bytes written (a text's length is always 16 bits)
};

constexpr SlotElement SlotInt(int column, IntWidth read = IntWidth::S16, IntWidth write = IntWidth::S16) {
  return SlotElement{SlotKind::Integer, column, read, write};
}
constexpr SlotElement SlotText(int column, IntWidth lengthRead = IntWidth::S16) {
  return SlotElement{SlotKind::Text, column, lengthRead, IntWidth::S16};
}
constexpr SlotElement SlotSkip() { return SlotElement{SlotKind::Skip, 0, IntWidth::S16, IntWidth::S16}; }

// The element order of one file's records.
struct SlotLayout {
  int headerRecordSize = 0;  // value written into the header's size slot; never read
  int fieldCount = 0;        // K
  std::vector<SlotElement> elements;
};

// What a value must lie in to come back as it was written: the narrower of
// the width the load reads and the width the save writes. A text's length
// read as a byte allows 255 bytes, read as 16 bits 32767.
IntWidth RoundTripWidth(IntWidth read, IntWidth write);

// Walks a slot stream by its lengths. The load never reads past the end of
// the file: elements beyond it load as 0 or as empty text, and a length slot
// that promises more bytes than the file holds gives the bytes that are
// there. A text is all of its bytes, zero bytes included. The save writes an
// unchanged element from the slots it was read from, refuses any changed
// cell that would not come back as written, and ends the file right after
// the last slot.
class SlotCodec : public TableCodec {
 public:
  explicit SlotCodec(SlotLayout layout);
  int fieldCount() const override { return layout_.fieldCount; }
  std::vector<KeptBytes> locate(const QByteArray& file) const override;
  std::optional<RecordStream> streamInPieces(qint64 fileSize, const ReadPiece& read) const override;
  void decodeInto(const KeptBytes& record, const CodecContext& ctx, CellSink& sink) const override;
  // Walks the record only as far as the column and decodes that element alone.
  QString decodeCell(const KeptBytes& record, const CodecContext& ctx, int column) const override;
  std::optional<int64_t> decodeNumber(const KeptBytes& record, int column) const override;
  std::optional<CellProblem> encodeTo(const RowList& rows, const QByteArray& existing, const CodecContext& ctx,
                                      ByteSink& sink) const override;
  std::optional<QString> cellProblem(int column, const QString& text, QStringView asRead,
                                     const CodecContext& ctx) const override;
  ColumnShape columnShape(int column) const override;
  // Rows [first, end) of that content alone, their records from offset `at`
  // on (where record `first` starts), handed to the sink a record at a time.
  std::optional<CellProblem> encodeRecords(const RowList& rows, size_t first, size_t end, qint64 at,
                                           const CodecContext& ctx, ByteSink& sink) const;
  const SlotLayout& layout() const { return layout_; }

 private:
  // The elements of columns `only` (0: all of them) to the sink.
  void decodeColumns(const KeptBytes& record, CellSink& sink, int only) const;
  // The size of a record read from `kept`; -1 when its bytes are not all
  // in the file.
  qint64 keptLength(const KeptBytes& kept) const;

  SlotLayout layout_;
  // For each element: how many number elements of consecutive columns
  // start with it (0 for another element).
  std::vector<int> numbers_;
};

}  // namespace v3
