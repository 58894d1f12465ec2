#include "tables/SlotStream.h"

#include <limits>

#include "tables/Slots.h"
#include "text/Big5.h"

namespace v3 {

IntWidth RoundTripWidth(IntWidth read, IntWidth write) {
  // The ranges nest: 0..255 lies inside -32768..32767, which lies inside 32 bits.
  return uint8_t(read) < uint8_t(write) ? read : write;
}

std::vector<QStringList> SlotCodec::decode(const QByteArray& file, const CodecContext&) const {
  const ByteReader in(file);
  const qint64 size = in.size();
  const int n = in.recordCount();
  std::vector<QStringList> rows;
  rows.reserve(size_t(n));
  qint64 pos = 12;
  for (int k = 0; k < n; ++k) {
    QStringList row;
    row.resize(layout_.fieldCount);
    if (pos >= size) {
      // Everything from here on lies past the end: numbers 0, empty texts.
      for (const SlotElement& e : layout_.elements)
        if (e.kind == SlotKind::Integer) row[e.column - 1] = IntegerText(0);
      rows.resize(size_t(n), row);
      break;
    }
    for (const SlotElement& e : layout_.elements) {
      switch (e.kind) {
        case SlotKind::Integer:
          row[e.column - 1] = IntegerText(in.read(pos, e.read));
          pos += 4;
          break;
        case SlotKind::Skip: pos += 4; break;
        case SlotKind::Text: {
          const int64_t length = in.read(pos, e.read);
          pos += 4;
          if (length <= 0) break;  // empty (a negative length too: no byte slots follow)
          // Only the slots the file really holds are read, whatever the length promises.
          const qint64 present = pos < size ? std::min<qint64>(length, (size - pos + 3) / 4) : 0;
          QByteArray bytes(present, '\0');
          for (qint64 i = 0; i < present; ++i) bytes[i] = char(in.u8(pos + 4 * i));
          row[e.column - 1] = DecodeBig5Text(bytes);
          pos += 4 * length;
          break;
        }
      }
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

namespace {
QString tooLong(qsizetype bytes, int64_t max) {
  return QStringLiteral("文字过长：%1 字节，此栏最多 %2 字节").arg(bytes).arg(max);
}
}  // namespace

std::optional<CellProblem> SlotCodec::encode(const std::vector<const QStringList*>& rows, const QByteArray&,
                                             const CodecContext&, QByteArray* out) const {
  if (rows.size() > 32767) return CellProblem{32767, 0, QStringLiteral("记录过多：最多 32767 条")};
  ByteWriter w;
  PutFrameHeader(w, int(rows.size()), layout_.headerRecordSize);
  qint64 pos = 12;
  for (size_t k = 0; k < rows.size(); ++k) {
    const QStringList& row = *rows[k];
    for (const SlotElement& e : layout_.elements) {
      const QString cell = e.column > 0 && e.column <= row.size() ? row[e.column - 1] : QString();
      switch (e.kind) {
        case SlotKind::Integer: {
          int64_t v = 0;
          QString reason;
          if (!CellToInteger(cell, RoundTripWidth(e.read, e.write), &v, &reason))
            return CellProblem{int(k), e.column, reason};
          w.put(pos, v, e.write);
          pos += 4;
          break;
        }
        case SlotKind::Skip: pos += 4; break;
        case SlotKind::Text: {
          const QByteArray bytes = EncodeBig5Text(cell);
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
    if (pos > std::numeric_limits<int32_t>::max())
      return CellProblem{int(k), 0, QStringLiteral("文件过大：超过 2 GB")};
  }
  // The file ends right after the last slot (its last byte is zero).
  w.resize(pos);
  *out = w.take();
  return std::nullopt;
}

}  // namespace v3
