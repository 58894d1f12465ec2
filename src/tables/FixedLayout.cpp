#include "tables/FixedLayout.h"

#include "tables/RunPieces.h"

#include <QCoreApplication>
#include <QtEndian>

#include "tables/Slots.h"
#include "text/Big5.h"
#include "text/Locale.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Tables)
};

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
  if (cell == QStringLiteral("大型"))
    *code = 1;
  else if (cell == QStringLiteral("中型"))
    *code = 2;
  else if (cell == QStringLiteral("小型"))
    *code = 3;
  else
    return CellToInteger(cell, width, code, reason);
  return true;
}

// The width whose range both widths hold.
IntWidth Narrower(IntWidth a, IntWidth b) { return uint8_t(a) < uint8_t(b) ? a : b; }

}  // namespace

FixedCodec::FixedCodec(FixedLayout layout) : layout_(std::move(layout)) { prepareVariants(1); }

int FixedCodec::variantFor(const QByteArray&) const { return 0; }
const FixedLayout& FixedCodec::variant(int) const { return layout_; }

bool FixedCodec::needsProducers() const {
  for (const FieldDef& f : layout_.fields)
    if (f.kind == FieldKind::Producer) return true;
  return false;
}

namespace {

// One record's bytes as the fields read them: little-endian values at
// offsets from the record's start, zero past the end of the file.
class RecordBytes {
 public:
  explicit RecordBytes(const KeptBytes& record)
      : data_(reinterpret_cast<const uchar*>(record.file().constData())),
        size_(record.file().size()),
        base_(record.offset()) {}

  int64_t read(qint64 at, IntWidth w) const {
    const qint64 from = base_ + at;
    if (from >= 0 && from + 4 <= size_) {
      // The common case: four bytes there, whatever the width.
      const uchar* p = data_ + from;
      switch (w) {
        case IntWidth::U8: return p[0];
        case IntWidth::S16: return int16_t(uint16_t(p[0] | (p[1] << 8)));
        case IntWidth::S32:
          return int32_t(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24));
      }
    }
    const int n = w == IntWidth::U8 ? 1 : w == IntWidth::S16 ? 2 : 4;
    uint32_t u = 0;
    if (from >= 0 && from + n <= size_) {
      for (int i = 0; i < n; ++i) u |= uint32_t(data_[from + i]) << (8 * i);
    } else {
      for (int i = 0; i < n; ++i) u |= uint32_t(byte(from + i)) << (8 * i);
    }
    switch (w) {
      case IntWidth::U8: return u;
      case IntWidth::S16: return int16_t(uint16_t(u));
      case IntWidth::S32: return int32_t(u);
    }
    return 0;
  }
  // The record's first byte when the file holds all `size` bytes of it
  // (and every field lies within them), else null.
  const uchar* whole(qint64 size) const { return base_ >= 0 && base_ + size <= size_ ? data_ + base_ : nullptr; }
  // `count` bytes from `at`: a view of the file where it holds them all,
  // otherwise a zero-filled copy in *room.
  QByteArrayView bytes(qint64 at, qint64 count, QByteArray* room) const {
    const qint64 from = base_ + at;
    if (from >= 0 && from + count <= size_) return QByteArrayView(data_ + from, count);
    room->resize(count);
    for (qint64 i = 0; i < count; ++i) (*room)[i] = char(byte(from + i));
    return *room;
  }

 private:
  uchar byte(qint64 at) const { return at >= 0 && at < size_ ? data_[at] : 0; }
  const uchar* data_;
  qint64 size_;
  qint64 base_;
};

// One field of one record into the sink.
void decodeField(const FieldDef& f, const RecordBytes& in, const CodecContext& ctx, CellSink& sink) {
  const int c = f.column;
  switch (f.kind) {
    case FieldKind::Integer: sink.number(c, in.read(f.offset, f.read)); return;
    case FieldKind::Text:
      sink.big5(c, in.bytes(f.offset, f.readBytes > 0 ? f.readBytes : f.width, &sink.scratchBytes),
                CellSink::Big5Kind::Field);
      return;
    case FieldKind::TextPadded:
      sink.big5(c, in.bytes(f.offset, f.readBytes > 0 ? f.readBytes : f.width, &sink.scratchBytes),
                CellSink::Big5Kind::Padded, f.width / 2);
      return;
    case FieldKind::Code: {
      // One character per byte, no conversion.
      const QByteArrayView raw = in.bytes(f.offset, f.width, &sink.scratchBytes);
      QString& text = sink.scratchText;
      text.resize(raw.size());
      char16_t* d = reinterpret_cast<char16_t*>(text.data());
      for (qsizetype i = 0; i < raw.size(); ++i) d[i] = uchar(raw[i]);
      sink.text(c, text);
      return;
    }
    case FieldKind::Year: sink.word(c, YearCodeToText(in.read(f.offset, f.read))); return;
    case FieldKind::Producer: {
      const int64_t v = in.read(f.offset, f.read);
      if (!ctx.producers) {
        if (v == 0)
          sink.word(c, QString());
        else
          sink.number(c, v);
        return;
      }
      // A name that the save would turn into another number (a producer
      // without a name, a name an earlier producer carries too) shows the number.
      if (v == 0)
        sink.word(c, QString());
      else if (const std::optional<QStringView> name = ctx.producers->shownName(v))
        sink.text(c, *name);
      else
        sink.number(c, v);
      return;
    }
    case FieldKind::Flag: {
      static const QString yes = QStringLiteral("√");
      sink.word(c, in.read(f.offset, f.read) != 0 ? yes : QString());
      return;
    }
    case FieldKind::SexWord: {
      static const QString woman = QStringLiteral("女"), man = QStringLiteral("男");
      sink.word(c, in.read(f.offset, f.read) == 0 ? woman : man);
      return;
    }
    case FieldKind::TypeTag: sink.word(c, QString()); return;
    case FieldKind::SizeCode: sink.word(c, SizeCodeToText(in.read(f.offset, f.read))); return;
    case FieldKind::LocalText: {
      const QByteArrayView raw = in.bytes(f.offset, f.readBytes > 0 ? f.readBytes : f.width, &sink.scratchBytes);
      const qsizetype zero = raw.indexOf('\0');
      sink.text(c, TrimmedRight(DecodeCodePage(zero >= 0 ? raw.first(zero) : raw, ctx.systemCodePage())));
      return;
    }
  }
}

}  // namespace

namespace {
QString tooLong(int bytes, int width) { return Texts::tr("文字过长：%1 字节，此栏最多 %2 字节").arg(bytes).arg(width); }

// Text fields of this width and more are the descriptions (简介) of the jobs,
// requests, places and effects, the texts the record dialogs edit as
// several lines; every name, type and company field is at most 40 bytes.
constexpr int kDescriptionWidth = 100;

LineBreaks lineBreaksOf(const FieldDef& f) {
  return f.width >= kDescriptionWidth ? LineBreaks::Allowed : LineBreaks::Refused;
}

// The Big5 bytes of a changed text, refused when Big5 cannot hold a
// character or when the load would not read all of them back.
std::optional<QString> textBytes(const FieldDef& f, const QString& cell, Script systemScript, QByteArray* bytes) {
  const Big5Encoded e = EncodeBig5Text(cell, systemScript);
  if (!e.ok()) return e.problem();
  const int room = f.readBytes > 0 ? f.readBytes : f.width;
  if (e.bytes.size() > room) return tooLong(int(e.bytes.size()), room);
  *bytes = e.bytes;
  return std::nullopt;
}

// A control character that a changed text takes in from elsewhere (one
// the text as read holds as well came from the file, and stays).
std::optional<QString> controlProblem(const FieldDef& f, const QString& cell, QStringView asRead) {
  if (f.kind != FieldKind::Text && f.kind != FieldKind::TextPadded && f.kind != FieldKind::LocalText)
    return std::nullopt;
  if (const qsizetype bad = FirstControlCharacter(cell, lineBreaksOf(f), asRead); bad >= 0)
    return ControlCharacterProblem(cell, bad);
  return std::nullopt;
}

// A cell's text into its field's bytes, with no regard to control characters.
std::optional<QString> encodeValue(const FieldDef& f, const QString& cell, ByteWriter& out, qint64 base,
                                   const CodecContext& ctx);

}  // namespace

std::optional<QString> FixedCodec::encodeField(const FieldDef& f, const QString& cell, ByteWriter& out, qint64 base,
                                               const CodecContext& ctx) {
  if (auto problem = controlProblem(f, cell, {})) return problem;
  return encodeValue(f, cell, out, base, ctx);
}

namespace {
std::optional<QString> encodeValue(const FieldDef& f, const QString& cell, ByteWriter& out, qint64 base,
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
      if (auto problem = textBytes(f, cell, ctx.systemScript, &bytes)) return problem;
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
          return Texts::tr("编号只能由单字节字符组成：“%1”不是").arg(c);
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
      if (v < 0) return Texts::tr("“%1”不是年份：应为 第一年、第二年、第三年、特殊 或年份代码").arg(cell);
      if (const IntWidth fits = Narrower(f.read, f.write); v < MinOf(fits) || v > MaxOf(fits))
        return Texts::tr("年份 %1 超出范围 %2").arg(v).arg(QLatin1String(WidthName(fits)));
      out.put(at, v, f.write);
      return std::nullopt;
    }
    case FieldKind::Producer: {
      const ProducerDirectory none;
      if (!(ctx.producers ? *ctx.producers : none).idByName(cell, &v))
        return Texts::tr("Producer.tab 中没有制作人“%1”").arg(cell);
      if (const IntWidth fits = Narrower(f.read, f.write); v < MinOf(fits) || v > MaxOf(fits))
        return Texts::tr("制作人编号 %1 超出范围 %2").arg(v).arg(QLatin1String(WidthName(fits)));
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
      const QByteArray bytes = EncodeCodePage(cell, ctx.systemCodePage());
      if (bytes.size() > f.width) return tooLong(int(bytes.size()), f.width);
      out.putBytes(at, bytes);
      return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<QString> FixedCodec::writeField(const FieldDef& f, int variantIndex, const TableRecord& record,
                                              ByteWriter& out, qint64 base, const CodecContext& ctx) const {
  if (f.column > 0 && record.unchanged(f.column)) {
    // The field's bytes as they were read, from the layout the record was read in.
    const FieldDef* from = &f;
    if (record.kept.variant() != variantIndex) {
      from = nullptr;
      for (const FieldDef& g : variant(record.kept.variant()).fields)
        if (g.column == f.column && g.width == f.width && g.kind == f.kind) from = &g;
    }
    if (from) {
      out.putKept(base + f.offset, record.kept, from->offset, f.width);
      return std::nullopt;
    }
    // The text as read, written anew in this layout: every character it has comes back.
    return encodeValue(f, record.cell(f.column), out, base, ctx);
  }
  const QString cell = record.cell(f.column);
  if (auto problem = controlProblem(f, cell, record.original.value(f.column - 1))) return problem;
  return encodeValue(f, cell, out, base, ctx);
}

std::optional<QString> FixedCodec::cellProblem(int column, const QString& text, QStringView asRead,
                                               const CodecContext& ctx) const {
  for (const FieldDef& f : layout_.fields) {
    if (f.column != column) continue;
    if (auto problem = controlProblem(f, text, asRead)) return problem;
    ByteWriter scratch(f.offset + f.width);
    if (auto problem = encodeValue(f, text, scratch, 0, ctx)) return problem;
  }
  return std::nullopt;
}

ColumnShape FixedCodec::columnShape(int column) const {
  ColumnShape shape;
  for (const FieldDef& f : layout_.fields) {
    if (f.column != column) continue;
    if (f.kind == FieldKind::Integer) {
      const IntWidth fits = Narrower(f.read, f.write);
      shape.kind = ColumnShape::Kind::Number;
      shape.min = MinOf(fits);
      shape.max = MaxOf(fits);
    } else if (f.kind == FieldKind::Text || f.kind == FieldKind::TextPadded || f.kind == FieldKind::Code ||
               f.kind == FieldKind::LocalText) {
      shape.kind = ColumnShape::Kind::Text;
      const bool big5 = f.kind == FieldKind::Text || f.kind == FieldKind::TextPadded;
      shape.bytes = big5 && f.readBytes > 0 ? f.readBytes : f.width;
    } else if (f.kind == FieldKind::Flag) {
      shape.choices = {QStringLiteral("√")};
    } else if (f.kind == FieldKind::SexWord) {
      shape.choices = {QStringLiteral("女"), QStringLiteral("男")};
    } else if (f.kind == FieldKind::SizeCode) {
      shape.choices = {SizeCodeToText(1), SizeCodeToText(2), SizeCodeToText(3)};
    } else if (f.kind == FieldKind::Year) {
      shape.choices = {YearCodeToText(1), YearCodeToText(2), YearCodeToText(3), YearCodeToText(0)};
    } else if (f.kind == FieldKind::Producer) {
      shape.producerChoices = true;
    }
    return shape;
  }
  return shape;
}

std::vector<KeptBytes> FixedCodec::locate(const QByteArray& file) const {
  const int v = variantFor(file);
  const FixedLayout& layout = variant(v);
  const int n = ByteReader(file).recordCount();
  std::vector<KeptBytes> records;
  records.reserve(size_t(n));
  for (int k = 0; k < n; ++k) records.emplace_back(file, 12 + qint64(k) * layout.recordSize, layout.recordSize, v);
  return records;
}

void FixedCodec::forEachRecord(const QByteArray& file, const std::function<void(const KeptBytes&)>& visit) const {
  const int v = variantFor(file);
  const qint64 size = variant(v).recordSize;
  const int n = ByteReader(file).recordCount();
  KeptBytes record(file, 12, size, v);
  for (int k = 0; k < n; ++k) {
    record.moveTo(12 + qint64(k) * size);
    visit(record);
  }
}

std::optional<RecordRun> FixedCodec::recordsInPieces(qint64 fileSize, const ReadPiece& read, bool provisional) const {
  QByteArray head;
  if (!read(0, 12, &head, 0)) return std::nullopt;
  const qint64 count = ByteReader(head).recordCount();
  const auto usable = [&](int v) { return v >= 0 && size_t(v) < inRecord_.size() && inRecord_[size_t(v)]; };
  // A file of more than one piece whose records vote on its layout: the
  // first piece's vote, for a pass over every piece to confirm.
  const RecordRun first{count, variant(0).recordSize, 0, true};
  if (provisional && first.pieces() > 1 && pieceVote(QByteArray(), 0)) {
    RunPieces pieces(*this, RecordRun{count, first.size, 0, false}, read);
    QByteArray piece;
    if (!pieces.read(0, &piece)) return std::nullopt;
    const int v = votedVariant(*pieceVote(piece, pieces.end(0)), piece);
    if (usable(v) && variant(v).recordSize == first.size) return RecordRun{count, first.size, v, true};
  }
  const std::optional<int> v = variantInPieces(fileSize, count, read);
  if (!v || !usable(*v)) return std::nullopt;
  return RecordRun{count, variant(*v).recordSize, *v};
}

std::optional<int> FixedCodec::variantInPieces(qint64, qint64, const ReadPiece&) const { return 0; }

void FixedCodec::decodeInto(const KeptBytes& record, const CodecContext& ctx, CellSink& sink) const {
  const FixedLayout& layout = variant(record.variant());
  const RecordBytes in(record);
  const size_t v = size_t(std::max(record.variant(), 0));
  std::vector<ColumnStep> unprepared;
  if (v >= steps_.size()) unprepared = ColumnSteps(layout);
  const std::vector<ColumnStep>& steps = v < steps_.size() ? steps_[v] : unprepared;
  constexpr int kBatch = 64;
  int64_t values[kBatch];
  // A record that the file holds whole is read without a check per field.
  const uchar* whole = v < reach_.size() ? in.whole(reach_[v]) : nullptr;
  for (size_t c = 0; c < steps.size();) {
    const ColumnStep& step = steps[c];
    if (step.numbers > 1) {
      // A run of number columns in one call.
      const int n = std::min(step.numbers, kBatch);
      const ColumnStep* run = &steps[c];
      if (whole) {
        // A stretch of columns read alike, a stride apart, at a time (a
        // table of 16-bit numbers in 4-byte slots is read in one or two).
        for (int i = 0; i < n;) {
          const ColumnStep& s = run[i];
          const int m = std::min(s.alike, n - i);
          const uchar* p = whole + s.offset;
          int64_t* out = values + i;
          switch (s.read) {
            case IntWidth::U8:
              for (int k = 0; k < m; ++k) out[k] = p[qsizetype(k) * s.stride];
              break;
            case IntWidth::S16:
              for (int k = 0; k < m; ++k) out[k] = qFromLittleEndian<qint16>(p + qsizetype(k) * s.stride);
              break;
            case IntWidth::S32:
              for (int k = 0; k < m; ++k) out[k] = qFromLittleEndian<qint32>(p + qsizetype(k) * s.stride);
              break;
          }
          i += m;
        }
      } else {
        for (int i = 0; i < n; ++i) values[i] = in.read(run[i].offset, run[i].read);
      }
      sink.numbers(int(c) + 1, values, n);
      c += size_t(n);
      continue;
    }
    if (step.field >= 0)
      decodeField(layout.fields[size_t(step.field)], in, ctx, sink);
    else
      sink.word(int(c) + 1, QString());
    ++c;
  }
}

// The one field that fills the column, as decodeInto() would give it.
QString FixedCodec::decodeCell(const KeptBytes& record, const CodecContext& ctx, int column) const {
  const size_t v = size_t(std::max(record.variant(), 0));
  if (v >= steps_.size()) return TableCodec::decodeCell(record, ctx, column);
  const std::vector<ColumnStep>& steps = steps_[v];
  if (column < 1 || size_t(column) > steps.size() || steps[size_t(column - 1)].field < 0) return QString();
  OneCellSink sink(column);
  // The room a text is decoded in, kept by each thread from call to call.
  thread_local QString text;
  thread_local QByteArray bytes;
  sink.scratchText.swap(text);
  sink.scratchBytes.swap(bytes);
  decodeField(variant(record.variant()).fields[size_t(steps[size_t(column - 1)].field)], RecordBytes(record), ctx,
              sink);
  text.swap(sink.scratchText);
  bytes.swap(sink.scratchBytes);
  return sink.cell;
}

std::optional<int64_t> FixedCodec::decodeNumber(const KeptBytes& record, int column) const {
  const size_t v = size_t(std::max(record.variant(), 0));
  if (v >= steps_.size() || column < 1 || size_t(column) > steps_[v].size()) return std::nullopt;
  const ColumnStep& step = steps_[v][size_t(column - 1)];
  if (step.numbers <= 0) return std::nullopt;
  return RecordBytes(record).read(step.offset, step.read);
}

std::vector<FixedCodec::ColumnStep> FixedCodec::ColumnSteps(const FixedLayout& layout) {
  std::vector<ColumnStep> steps(size_t(std::max(layout.fieldCount, 0)));
  // A later field of the same column wins, as it would overwrite the cell.
  for (size_t i = 0; i < layout.fields.size(); ++i) {
    const int c = layout.fields[i].column;
    if (c >= 1 && c <= layout.fieldCount) steps[size_t(c - 1)].field = int(i);
  }
  // How many number columns follow from each number column on.
  for (size_t c = steps.size(); c-- > 0;) {
    const int f = steps[c].field;
    if (f < 0 || layout.fields[size_t(f)].kind != FieldKind::Integer) continue;
    ColumnStep& s = steps[c];
    s.numbers = 1 + (c + 1 < steps.size() ? steps[c + 1].numbers : 0);
    s.offset = layout.fields[size_t(f)].offset;
    s.read = layout.fields[size_t(f)].read;
    s.alike = 1;
    if (s.numbers > 1) {
      const ColumnStep& next = steps[c + 1];
      s.stride = next.offset - s.offset;
      if (next.read == s.read && (next.alike == 1 || next.stride == s.stride)) s.alike = next.alike + 1;
    }
  }
  return steps;
}

void FixedCodec::prepareVariants(int count) {
  steps_.clear();
  reach_.clear();
  inRecord_.clear();
  for (int v = 0; v < count; ++v) {
    steps_.push_back(ColumnSteps(variant(v)));
    int reach = 0;
    for (const ColumnStep& s : steps_.back())
      if (s.numbers > 0)
        reach = std::max(reach, s.offset + (s.read == IntWidth::U8 ? 1 : s.read == IntWidth::S16 ? 2 : 4));
    reach_.push_back(reach);
    bool inside = true;
    for (const FieldDef& f : variant(v).fields) {
      const int read = f.read == IntWidth::U8 ? 1 : f.read == IntWidth::S16 ? 2 : 4;
      inside = inside && f.offset >= 0 && f.offset + std::max({f.width, f.readBytes, read}) <= variant(v).recordSize;
    }
    inRecord_.push_back(inside);
  }
}

std::optional<CellProblem> FixedCodec::encodeTo(const RowList& rows, const QByteArray& existing,
                                                const CodecContext& ctx, ByteSink& sink) const {
  return encodeIn(variantFor(existing), rows, ctx, sink);
}

std::optional<CellProblem> FixedCodec::encodeIn(int variantIndex, const RowList& rows, const CodecContext& ctx,
                                                ByteSink& sink) const {
  const FixedLayout& layout = variant(variantIndex);
  if (rows.size() > 32767) return CellProblem{32767, 0, Texts::tr("记录过多：最多 32767 条")};
  sink.expect(12 + qint64(rows.size()) * layout.recordSize);
  // The header, then the records.
  ByteWriter header(12);
  PutFrameHeader(header, int(rows.size()), layout.headerRecordSize);
  header.flush(sink, 12);
  return encodeRecords(variantIndex, rows, 0, rows.size(), ctx, sink);
}

std::optional<CellProblem> FixedCodec::encodeRecords(int variantIndex, const RowList& rows, size_t first, size_t end,
                                                     const CodecContext& ctx, ByteSink& sink) const {
  const FixedLayout& layout = variant(variantIndex);
  // The stretches of a record that its cells' fields cover, adjacent fields
  // merged: a record none of whose cells changed is copied a stretch at a
  // time instead of a field at a time, with the same bytes as a result.
  std::vector<std::pair<int, int>> stretches;  // offset, end
  std::vector<const FieldDef*> alwaysWritten;  // fields of no cell, and type tags
  for (const FieldDef& f : layout.fields) {
    if (f.column <= 0 || f.kind == FieldKind::TypeTag) {
      alwaysWritten.push_back(&f);
      continue;
    }
    if (!stretches.empty() && f.offset >= stretches.back().first && f.offset <= stretches.back().second)
      stretches.back().second = std::max(stretches.back().second, f.offset + f.width);
    else
      stretches.push_back({f.offset, f.offset + f.width});
  }
  // One record at a time: a record's bytes are final once it is written,
  // as no later record writes before its own start.
  ByteWriter w(2 * qint64(layout.recordSize));
  w.startAt(12 + qint64(first) * layout.recordSize);
  for (size_t k = first; k < end; ++k) {
    const qint64 base = 12 + qint64(k) * layout.recordSize;
    const TableRecord& r = *rows[k];
    const bool untouched = r.isKept() && r.kept.variant() == variantIndex &&
                           (r.source || (r.cells.isSharedWith(r.original) && r.cells.size() >= layout.fieldCount));
    if (untouched) {
      for (auto [from, to] : stretches) w.putKept(base + from, r.kept, from, to - from);
      for (const FieldDef* f : alwaysWritten)
        if (auto problem = writeField(*f, variantIndex, r, w, base, ctx))
          return CellProblem{int(k), f->column, *problem};
    } else {
      for (const FieldDef& f : layout.fields)
        if (auto problem = writeField(f, variantIndex, r, w, base, ctx)) return CellProblem{int(k), f.column, *problem};
    }
    w.flush(sink, base + layout.recordSize);
  }
  const qint64 to = 12 + qint64(end) * layout.recordSize;
  w.resize(to);
  w.flush(sink, to);
  return std::nullopt;
}

}  // namespace v3
