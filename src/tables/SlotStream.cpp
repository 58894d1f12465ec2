#include "tables/SlotStream.h"

#include <QCoreApplication>

#include <algorithm>
#include <limits>

#include "tables/Slots.h"
#include "text/Big5.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Tables)
};
}  // namespace

IntWidth RoundTripWidth(IntWidth read, IntWidth write) {
  // The ranges nest: 0..255 lies inside -32768..32767, which lies inside 32 bits.
  return uint8_t(read) < uint8_t(write) ? read : write;
}

SlotCodec::SlotCodec(SlotLayout layout) : layout_(std::move(layout)), numbers_(layout_.elements.size(), 0) {
  for (size_t i = layout_.elements.size(); i-- > 0;) {
    const SlotElement& e = layout_.elements[i];
    if (e.kind != SlotKind::Integer) continue;
    const bool next = i + 1 < layout_.elements.size() && layout_.elements[i + 1].kind == SlotKind::Integer &&
                      layout_.elements[i + 1].column == e.column + 1;
    numbers_[i] = 1 + (next ? numbers_[i + 1] : 0);
  }
}

namespace {

// Where the record that starts at `pos` ends, by its texts' lengths as
// value(at, width) reads them.
template <class Value>
qint64 recordEnd(const std::vector<SlotElement>& elements, qint64 pos, Value&& value) {
  for (const SlotElement& e : elements) {
    if (e.kind == SlotKind::Text) {
      const int64_t length = value(pos, e.read);
      if (length > 0) pos += 4 * length;  // a negative length: no byte slots follow
    }
    pos += 4;
  }
  return pos;
}

}  // namespace

std::vector<KeptBytes> SlotCodec::locate(const QByteArray& file) const {
  const ByteReader in(file);
  const qint64 size = in.size();
  const int n = in.recordCount();
  std::vector<KeptBytes> records;
  records.reserve(size_t(n));
  qint64 pos = 12;
  for (int k = 0; k < n; ++k) {
    // Everything from the end of the file on has no bytes to keep.
    if (pos >= size) {
      records.resize(size_t(n));
      break;
    }
    const qint64 start = pos;
    pos = recordEnd(layout_.elements, pos, [&in](qint64 at, IntWidth w) { return in.read(at, w); });
    records.emplace_back(file, start, pos - start);
  }
  return records;
}

std::optional<RecordStream> SlotCodec::streamInPieces(qint64 fileSize, const ReadPiece& read) const {
  // The lengths are read through a window that moves along the file.
  constexpr qint64 kWindow = 256 * 1024;
  QByteArray window;
  qint64 windowAt = 0;
  bool failed = false;
  const auto value = [&](qint64 at, IntWidth w) -> int64_t {
    if (at >= windowAt && at + 4 <= windowAt + window.size())
      return ReadLittleEndian(reinterpret_cast<const uchar*>(window.constData()) + (at - windowAt), w);
    if (at >= fileSize || failed) return 0;
    windowAt = at;
    if (!read(at, kWindow, &window, 0)) {
      failed = true;
      window.clear();
      return 0;
    }
    uchar slot[4] = {0, 0, 0, 0};  // zero past the end of the file
    std::memcpy(slot, window.constData() + (at - windowAt), size_t(std::min<qint64>(4, windowAt + window.size() - at)));
    return ReadLittleEndian(slot, w);
  };
  const int64_t n = std::max<int64_t>(0, value(4, IntWidth::S16));
  RecordStream stream;
  stream.starts.reserve(size_t(n) + 1);
  qint64 pos = 12;
  for (int64_t k = 0; k < n && !failed; ++k) {
    if (pos >= fileSize) return std::nullopt;
    stream.starts.push_back(pos);
    pos = recordEnd(layout_.elements, pos, value);
  }
  if (failed) return std::nullopt;
  stream.starts.push_back(pos);
  return stream;
}

void SlotCodec::decodeInto(const KeptBytes& record, const CodecContext&, CellSink& sink) const {
  decodeColumns(record, sink, 0);
}

QString SlotCodec::decodeCell(const KeptBytes& record, const CodecContext&, int column) const {
  OneCellSink sink(column);
  if (column >= 1 && column <= fieldCount()) decodeColumns(record, sink, column);
  return sink.cell;
}

std::optional<int64_t> SlotCodec::decodeNumber(const KeptBytes& record, int column) const {
  // The walk of decodeColumns() as far as the column's element.
  const ByteReader in(record.file());
  qint64 pos = record.offset();
  for (const SlotElement& e : layout_.elements) {
    if (e.column == column) {
      if (e.kind != SlotKind::Integer) return std::nullopt;
      return in.read(pos, e.read);
    }
    if (e.kind == SlotKind::Text) {
      const int64_t length = in.read(pos, e.read);
      if (length > 0) pos += 4 * length;
    }
    pos += 4;
  }
  return std::nullopt;
}

void SlotCodec::decodeColumns(const KeptBytes& record, CellSink& sink, int only) const {
  // A record without bytes lies past the end: numbers 0, empty texts.
  const ByteReader in(record.file());
  const qint64 size = in.size();
  qint64 pos = record.offset();
  const auto* data = reinterpret_cast<const uchar*>(record.file().constData());
  for (size_t i = 0; i < layout_.elements.size(); ++i) {
    const SlotElement& e = layout_.elements[i];
    const bool wanted = only == 0 || e.column == only;
    // A run of number columns that the file holds whole, in one call.
    if (only == 0 && numbers_[i] > 1 && pos + 4 * qint64(numbers_[i]) <= size) {
      constexpr int kBatch = 64;
      int64_t values[kBatch];
      const int n = std::min(numbers_[i], kBatch);
      for (int j = 0; j < n; ++j)
        values[j] = ReadLittleEndian(data + pos + 4 * j, layout_.elements[i + size_t(j)].read);
      sink.numbers(e.column, values, n);
      pos += 4 * qint64(n);
      i += size_t(n) - 1;
      continue;
    }
    switch (e.kind) {
      case SlotKind::Integer:
        if (wanted) sink.number(e.column, in.read(pos, e.read));
        pos += 4;
        break;
      case SlotKind::Skip: pos += 4; break;
      case SlotKind::Text: {
        const int64_t length = in.read(pos, e.read);
        pos += 4;
        if (length <= 0) {
          if (wanted) sink.word(e.column, QString());  // empty (a negative length too: no byte slots follow)
          break;
        }
        if (!wanted) {
          pos += 4 * length;
          break;
        }
        // Only the slots the file really holds are read, whatever the length promises.
        const qint64 present = pos < size ? std::min<qint64>(length, (size - pos + 3) / 4) : 0;
        QByteArray& bytes = sink.scratchBytes;
        bytes.resize(present);
        if (present > 0) {
          // Every slot counted as present starts inside the file.
          char* to = bytes.data();
          const char* from = record.file().constData() + pos;
          for (qint64 i = 0; i < present; ++i) to[i] = from[4 * i];
        }
        sink.big5(e.column, bytes, CellSink::Big5Kind::Bytes);
        pos += 4 * length;
        break;
      }
    }
    if (only != 0 && e.column == only) return;
  }
}

qint64 SlotCodec::keptLength(const KeptBytes& kept) const {
  // locate() gave the record its size by this very walk; a record cut short
  // by the end of its file is not whole.
  return kept.holds(0, kept.size()) ? kept.size() : -1;
}

namespace {
QString tooLong(qsizetype bytes, int64_t max) {
  return Texts::tr("文字过长：%1 字节，此栏最多 %2 字节").arg(bytes).arg(max);
}
}  // namespace

std::optional<QString> SlotCodec::cellProblem(int column, const QString& text, QStringView asRead,
                                              const CodecContext&) const {
  for (const SlotElement& e : layout_.elements) {
    if (e.column != column) continue;
    if (e.kind == SlotKind::Integer) {
      int64_t v = 0;
      QString reason;
      if (!CellToInteger(text, RoundTripWidth(e.read, e.write), &v, &reason)) return reason;
    } else if (e.kind == SlotKind::Text) {
      if (const qsizetype bad = FirstControlCharacter(text, LineBreaks::Allowed, asRead); bad >= 0)
        return ControlCharacterProblem(text, bad);
      const Big5Encoded encoded = EncodeBig5Text(text);
      if (!encoded.ok()) return encoded.problem();
      const int64_t max = MaxOf(RoundTripWidth(e.read, e.write));
      if (encoded.bytes.size() > max) return tooLong(encoded.bytes.size(), max);
    }
  }
  return std::nullopt;
}

ColumnShape SlotCodec::columnShape(int column) const {
  ColumnShape shape;
  for (const SlotElement& e : layout_.elements) {
    if (e.column != column) continue;
    const IntWidth fits = RoundTripWidth(e.read, e.write);
    if (e.kind == SlotKind::Integer) {
      shape.kind = ColumnShape::Kind::Number;
      shape.min = MinOf(fits);
      shape.max = MaxOf(fits);
    } else if (e.kind == SlotKind::Text) {
      shape.kind = ColumnShape::Kind::Text;
      shape.bytes = int(MaxOf(fits));
    }
    return shape;
  }
  return shape;
}

std::optional<CellProblem> SlotCodec::encodeTo(const RowList& rows, const QByteArray&, const CodecContext& ctx,
                                               ByteSink& sink) const {
  if (rows.size() > 32767) return CellProblem{32767, 0, Texts::tr("记录过多：最多 32767 条")};
  // Room for the records' bytes as read and a little more, taken once.
  qint64 room = 12;
  for (const TableRecord* row : rows) room += row->kept.size();
  sink.expect(room + room / 64 + 4096);
  ByteWriter header(12);
  PutFrameHeader(header, int(rows.size()), layout_.headerRecordSize);
  header.flush(sink, 12);
  // The file ends right after the last slot.
  return encodeRecords(rows, 0, rows.size(), 12, ctx, sink);
}

std::optional<CellProblem> SlotCodec::encodeRecords(const RowList& rows, size_t first, size_t end, qint64 at,
                                                    const CodecContext& ctx, ByteSink& sink) const {
  // Written front to back: each record goes to the sink once it is made.
  ByteWriter w(4096);
  w.startAt(at);
  // The elements up to the last skipped slot: what a whole record's copy walks.
  size_t skipsEnd = 0;
  for (size_t i = 0; i < layout_.elements.size(); ++i)
    if (layout_.elements[i].kind == SlotKind::Skip) skipsEnd = i + 1;
  qint64 pos = at;
  for (size_t k = first; k < end; ++k) {
    const TableRecord& row = *rows[k];
    // A record none of whose cells changed is its bytes as read, in one
    // piece, with its skipped slots zeroed.
    if (row.allUnchanged()) {
      const qint64 length = keptLength(row.kept);
      if (length > 0) {
        w.putKept(pos, row.kept, 0, length);
        if (skipsEnd > 0) {
          const ByteReader in(row.kept.file());
          qint64 at = 0;  // from the record's start
          for (size_t i = 0; i < skipsEnd; ++i) {
            const SlotElement& e = layout_.elements[i];
            if (e.kind == SlotKind::Skip) w.put(pos + at, 0, IntWidth::S32);
            if (e.kind == SlotKind::Text) {
              const int64_t n = in.read(row.kept.offset() + at, e.read);
              if (n > 0) at += 4 * n;
            }
            at += 4;
          }
        }
        pos += length;
        if (pos > std::numeric_limits<int32_t>::max()) return CellProblem{int(k), 0, Texts::tr("文件过大：超过 2 GB")};
        w.flush(sink, pos);
        continue;
      }
    }
    // Where each element lies in the bytes the record was read from.
    qint64 from = 0;
    for (const SlotElement& e : layout_.elements) {
      qint64 count = 1;
      if (e.kind == SlotKind::Text && row.isKept()) {
        char slot[4];
        row.kept.copyTo(slot, from, 4);
        const QByteArray lengthSlot = QByteArray::fromRawData(slot, 4);  // no copy
        const int64_t length = ByteReader(lengthSlot).read(0, e.read);
        if (length > 0) count += length;
      }
      const qint64 keptAt = from;
      from += 4 * count;
      if (e.kind == SlotKind::Skip) {
        w.put(pos, 0, IntWidth::S32);  // not read; zero after a save
        pos += 4;
        continue;
      }
      if (row.unchanged(e.column) && row.kept.holds(keptAt, 4 * count)) {
        w.putKept(pos, row.kept, keptAt, 4 * count);
        pos += 4 * count;
        continue;
      }
      const QString cell = row.cell(e.column);
      switch (e.kind) {
        case SlotKind::Integer: {
          int64_t v = 0;
          QString reason;
          if (!CellToInteger(cell, RoundTripWidth(e.read, e.write), &v, &reason))
            return CellProblem{int(k), e.column, reason};
          w.put(pos, 0, IntWidth::S32);
          w.put(pos, v, e.write);
          pos += 4;
          break;
        }
        case SlotKind::Skip: break;
        case SlotKind::Text: {
          // Every slot text is counted out byte by byte: line breaks stay as
          // they are; a control character the text as read did not hold is refused.
          if (!row.unchanged(e.column))
            if (const qsizetype bad =
                    FirstControlCharacter(cell, LineBreaks::Allowed, row.original.value(e.column - 1));
                bad >= 0)
              return CellProblem{int(k), e.column, ControlCharacterProblem(cell, bad)};
          const Big5Encoded text = EncodeBig5Text(cell, ctx.systemScript);
          if (!text.ok()) return CellProblem{int(k), e.column, text.problem()};
          const QByteArray& bytes = text.bytes;
          const int64_t max = MaxOf(RoundTripWidth(e.read, e.write));
          if (bytes.size() > max) return CellProblem{int(k), e.column, tooLong(bytes.size(), max)};
          w.resize(pos + 4 * (1 + bytes.size()));
          w.put(pos, bytes.size(), IntWidth::S16);
          pos += 4;
          for (char b : bytes) {
            w.put(pos, uint8_t(b), IntWidth::U8);
            pos += 4;
          }
          break;
        }
      }
    }
    // Positions in the file are 32-bit.
    if (pos > std::numeric_limits<int32_t>::max()) return CellProblem{int(k), 0, Texts::tr("文件过大：超过 2 GB")};
    w.flush(sink, pos);
  }
  return std::nullopt;
}

}  // namespace v3
