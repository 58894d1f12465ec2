#include "tables/FixedLayout.h"

#include "tables/Slots.h"
#include "text/Big5.h"
#include "text/Locale.h"

namespace v3 {
namespace {

// Size codes of the activities.
QString SizeCodeToText(int64_t code) {
  switch (code) {
    case 1: return QStringLiteral("大型");
    case 2: return QStringLiteral("中型");
    case 3: return QStringLiteral("小型");
    default: return IntegerText(code);  // a code without a word stays visible as its number
  }
}

bool SizeTextToCode(const QString& cell, IntWidth width, int64_t* code, QString* reason) {
  if (cell == QStringLiteral("大型")) *code = 1;
  else if (cell == QStringLiteral("中型")) *code = 2;
  else if (cell == QStringLiteral("小型")) *code = 3;
  else return CellToInteger(cell, width, code, reason);
  return true;
}

// The platform's own code page: 936 on a Simplified system, Big5 otherwise.
int SystemCodePage() { return SystemLocaleNumber() == 2052 ? 936 : 950; }

// The width whose range both widths hold.
IntWidth Narrower(IntWidth a, IntWidth b) { return uint8_t(a) < uint8_t(b) ? a : b; }

QByteArray UpToZero(QByteArray bytes) {
  const qsizetype zero = bytes.indexOf('\0');
  if (zero >= 0) bytes.truncate(zero);
  return bytes;
}

}  // namespace

FixedCodec::FixedCodec(FixedLayout layout) : layout_(std::move(layout)) {}

int FixedCodec::variantFor(const QByteArray&) const { return 0; }
const FixedLayout& FixedCodec::variant(int) const { return layout_; }

bool FixedCodec::needsProducers() const {
  for (const FieldSpec& f : layout_.fields)
    if (f.kind == FieldKind::Producer) return true;
  return false;
}

QString FixedCodec::decodeField(const FieldSpec& f, const ByteReader& in, qint64 base, const CodecContext& ctx) {
  const qint64 at = base + f.offset;
  switch (f.kind) {
    case FieldKind::Integer: return IntegerText(in.read(at, f.read));
    case FieldKind::Text: return TrimRight(DecodeBig5Text(in.bytes(at, f.readBytes > 0 ? f.readBytes : f.width)));
    case FieldKind::TextPadded: {
      QString text = DecodeBig5Text(in.bytes(at, f.readBytes > 0 ? f.readBytes : f.width));
      const int chars = f.width / 2;
      if (text.size() < chars) text += QString(chars - text.size(), u' ');
      return text;
    }
    case FieldKind::Code: {
      const QByteArray raw = in.bytes(at, f.width);
      return QString::fromLatin1(raw.constData(), raw.size());
    }
    case FieldKind::Year: return YearCodeToText(in.read(at, f.read));
    case FieldKind::Producer: {
      const int64_t v = in.read(at, f.read);
      if (!ctx.producers) return v == 0 ? QString() : QString::number(v);
      // A name that the save would turn into another number (a producer
      // without a name, a name an earlier producer carries too) shows the number.
      const QString name = ctx.producers->nameById(v);
      int64_t back = 0;
      return ctx.producers->idByName(name, &back) && back == v ? name : QString::number(v);
    }
    case FieldKind::Flag: return in.read(at, f.read) != 0 ? QStringLiteral("√") : QString();
    case FieldKind::SexWord: return in.read(at, f.read) == 0 ? QStringLiteral("女") : QStringLiteral("男");
    case FieldKind::TypeTag: return QString();
    case FieldKind::SizeCode: return SizeCodeToText(in.read(at, f.read));
    case FieldKind::LocalText:
      return TrimRight(DecodeCodePage(UpToZero(in.bytes(at, f.readBytes > 0 ? f.readBytes : f.width)), SystemCodePage()));
  }
  return QString();
}

namespace {
QString tooLong(int bytes, int width) { return QStringLiteral("文字过长：%1 字节，此栏最多 %2 字节").arg(bytes).arg(width); }

// The Big5 bytes of a changed text, refused when Big5 cannot hold a
// character or when the load would not read all of them back.
std::optional<QString> textBytes(const FieldSpec& f, const QString& cell, QByteArray* bytes) {
  const Big5Encoded e = EncodeBig5Text(cell);
  if (!e.ok()) return e.problem();
  const int room = f.readBytes > 0 ? f.readBytes : f.width;
  if (e.bytes.size() > room) return tooLong(int(e.bytes.size()), room);
  *bytes = e.bytes;
  return std::nullopt;
}
}  // namespace

std::optional<QString> FixedCodec::encodeField(const FieldSpec& f, const QString& cell, ByteWriter& out, qint64 base,
                                               const CodecContext& ctx) {
  const qint64 at = base + f.offset;
  QString reason;
  int64_t v = 0;
  switch (f.kind) {
    case FieldKind::Integer:
      // A number is written only if the load reads it back as it was written.
      if (!CellToInteger(cell, Narrower(f.read, f.write), &v, &reason)) return reason;
      out.put(at, v, f.write);
      return std::nullopt;
    case FieldKind::Text:
    case FieldKind::TextPadded: {
      QByteArray bytes;
      if (auto problem = textBytes(f, cell, &bytes)) return problem;
      out.putBytes(at, bytes);
      return std::nullopt;
    }
    case FieldKind::Code: {
      // One byte per character; a byte character stands for its byte.
      QByteArray bytes;
      bytes.reserve(cell.size());
      for (qsizetype i = 0; i < cell.size(); ++i) {
        const QChar c = cell[i];
        if (c.isHighSurrogate() && i + 1 < cell.size() && IsByteCharacter(QChar::surrogateToUcs4(c, cell[i + 1]))) {
          bytes += char(uchar(QChar::surrogateToUcs4(c, cell[i + 1]) & 0xFF));
          ++i;
        } else if (c.unicode() <= 0xFF) {
          bytes += char(uchar(c.unicode()));
        } else {
          return QStringLiteral("编号只能由单字节字符组成：“%1”不是").arg(c);
        }
      }
      while (bytes.size() > f.width && bytes.endsWith('\0')) bytes.chop(1);
      if (bytes.size() > f.width) return tooLong(int(bytes.size()), f.width);
      out.putBytes(at, bytes);
      return std::nullopt;
    }
    case FieldKind::Year: {
      // A code without a word is shown, and typed, as its number.
      v = YearTextToCode(cell);
      if (v < 0) return QStringLiteral("“%1”不是年份：应为 第一年、第二年、第三年、特殊 或年份代码").arg(cell);
      if (const IntWidth fits = Narrower(f.read, f.write); v < MinOf(fits) || v > MaxOf(fits))
        return QStringLiteral("年份 %1 超出范围 %2").arg(v).arg(QLatin1String(WidthName(fits)));
      out.put(at, v, f.write);
      return std::nullopt;
    }
    case FieldKind::Producer: {
      const ProducerDirectory none;
      if (!(ctx.producers ? *ctx.producers : none).idByName(cell, &v))
        return QStringLiteral("Producer.tab 中没有制作人“%1”").arg(cell);
      if (const IntWidth fits = Narrower(f.read, f.write); v < MinOf(fits) || v > MaxOf(fits))
        return QStringLiteral("制作人编号 %1 超出范围 %2").arg(v).arg(QLatin1String(WidthName(fits)));
      out.put(at, v, f.write);
      return std::nullopt;
    }
    case FieldKind::Flag: out.put(at, cell == QStringLiteral("√") ? 1 : 0, f.write); return std::nullopt;
    case FieldKind::SexWord: out.put(at, cell == QStringLiteral("女") ? 0 : 1, f.write); return std::nullopt;
    case FieldKind::TypeTag: out.putBytes(at, EncodeCodePage(QString::fromUtf8(f.tag), 950)); return std::nullopt;
    case FieldKind::SizeCode:
      if (!SizeTextToCode(cell, f.write, &v, &reason)) return reason;
      out.put(at, v, f.write);
      return std::nullopt;
    case FieldKind::LocalText: {
      const QByteArray bytes = EncodeCodePage(cell, SystemCodePage());
      if (bytes.size() > f.width) return tooLong(int(bytes.size()), f.width);
      out.putBytes(at, bytes);
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::optional<QString> FixedCodec::writeField(const FieldSpec& f, int variantIndex, const TableRecord& record,
                                              ByteWriter& out, qint64 base, const CodecContext& ctx) const {
  if (f.column > 0 && record.unchanged(f.column)) {
    // The field's bytes as they were read, from the layout the record was read in.
    const FieldSpec* from = &f;
    if (record.kept.variant() != variantIndex) {
      from = nullptr;
      for (const FieldSpec& g : variant(record.kept.variant()).fields)
        if (g.column == f.column && g.width == f.width && g.kind == f.kind) from = &g;
    }
    if (from) {
      out.putKept(base + f.offset, record.kept, from->offset, f.width);
      return std::nullopt;
    }
  }
  return encodeField(f, record.cell(f.column), out, base, ctx);
}

std::vector<TableRecord> FixedCodec::decode(const QByteArray& file, const CodecContext& ctx) const {
  const int v = variantFor(file);
  const FixedLayout& layout = variant(v);
  const ByteReader in(file);
  const int n = in.recordCount();
  std::vector<TableRecord> rows;
  rows.reserve(size_t(n));
  for (int k = 0; k < n; ++k) {
    TableRecord row;
    row.cells.resize(layout.fieldCount);
    const qint64 base = 12 + qint64(k) * layout.recordSize;
    for (const FieldSpec& f : layout.fields)
      if (f.column > 0) row.cells[f.column - 1] = decodeField(f, in, base, ctx);
    row.keep(KeptBytes(file, base, layout.recordSize, v));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::optional<CellProblem> FixedCodec::encode(const std::vector<const TableRecord*>& rows, const QByteArray& existing,
                                              const CodecContext& ctx, QByteArray* out) const {
  return encodeIn(variantFor(existing), rows, ctx, out);
}

std::optional<CellProblem> FixedCodec::encodeIn(int variantIndex, const std::vector<const TableRecord*>& rows,
                                                const CodecContext& ctx, QByteArray* out) const {
  const FixedLayout& layout = variant(variantIndex);
  if (rows.size() > 32767) return CellProblem{32767, 0, QStringLiteral("记录过多：最多 32767 条")};
  const qint64 total = 12 + qint64(rows.size()) * layout.recordSize;
  ByteWriter w(total);
  PutFrameHeader(w, int(rows.size()), layout.headerRecordSize);
  for (size_t k = 0; k < rows.size(); ++k) {
    const qint64 base = 12 + qint64(k) * layout.recordSize;
    for (const FieldSpec& f : layout.fields)
      if (auto problem = writeField(f, variantIndex, *rows[k], w, base, ctx)) return CellProblem{int(k), f.column, *problem};
  }
  w.resize(total);
  *out = w.take();
  return std::nullopt;
}

}  // namespace v3
