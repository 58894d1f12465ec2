// StarRole.dat: the stars, 360-byte records in one of two layouts that the
// evidence of its records decides.
#include <algorithm>

#include <QCoreApplication>
#include <bit>
#include <cstring>
#include <atomic>
#include <mutex>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "tables/FixedLayout.h"
#include "tables/RunPieces.h"
#include "tables/SampleContext.h"
#include "tables/Slots.h"
#include "tables/Tables.h"
#include "text/Big5.h"
#include "text/Big5Decode.h"
#include "text/TwoHalves.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Tables)
};

using W = IntWidth;

// Every number is a 4-byte slot of which only the first two bytes are used.
FieldDef Num(int offset, int column) { return Int(offset, column, W::S16, W::S16); }
FieldDef Name(int offset) { return Text(offset, 20, 2); }
FieldDef Sex(int offset) { return Kind(FieldKind::SexWord, offset, 4, 3, W::S16, W::S16); }

// Layout A: the sex at offset 4, age and birthday after it, the name at 20,
// 28 bytes that no field covers, then columns 7..79 in column order from 68.
FixedLayout layoutA() {
  FixedLayout l{360, 360, 79, {Num(0, 1), Sex(4), Num(8, 4), Num(12, 5), Num(16, 6), Name(20)}};
  for (int c = 7; c <= 79; ++c) l.fields.push_back(Num(68 + 4 * (c - 7), c));
  return l;
}

// Layout B: the name at offset 4, the sex at 24; the numbers in the order
// 1, 4..6, (20 bytes), 7..20, (8 bytes), 21..28, 43, 44, 29..42, 49..79, 45..48.
FixedLayout layoutB() {
  FixedLayout l{360, 360, 79, {Num(0, 1), Name(4), Sex(24), Num(28, 4), Num(32, 5), Num(36, 6)}};
  int at = 60;
  auto run = [&](int first, int last) {
    for (int c = first; c <= last; ++c, at += 4) l.fields.push_back(Num(at, c));
  };
  run(7, 20);
  at += 8;
  run(21, 28);
  run(43, 44);
  run(29, 42);
  run(49, 79);
  run(45, 48);
  return l;
}

// Whether `count` bytes of the file from `at` can be a name field: Big5
// text without control characters, and nothing but zero bytes after it.
bool canBeName(const ByteReader& in, qint64 at, int count) {
  const QByteArray field = in.bytes(at, count);
  qsizetype end = field.indexOf('\0');
  if (end < 0) end = field.size();
  for (qsizetype i = end; i < field.size(); ++i)
    if (field[i] != '\0') return false;
  const QString text = DecodeBig5Text(field.left(end));
  if (ContainsByteCharacters(text)) return false;
  for (QChar c : text)
    if (c.unicode() < 0x20) return false;
  return true;
}

// `count` bytes of the file from `at`: a view of the file where it holds
// them, otherwise a zero-filled copy in *room.
QByteArrayView fieldBytes(const QByteArray& file, qint64 at, int count, QByteArray* room) {
  if (at >= 0 && at + count <= file.size()) return QByteArrayView(file.constData() + at, count);
  room->resize(count);
  const ByteReader in(file);
  for (int i = 0; i < count; ++i) (*room)[i] = char(in.u8(at + i));
  return *room;
}

// How badly a record fits a layout. In the layout the game wrote, the upper
// two bytes of every numeric slot are zero, the sex slot holds 0 or 1 and the
// name field holds text followed by zeros; read in the other layout, the
// name's bytes land in numeric slots and numbers land in the name. The bytes
// are looked at where they lie.
class Misfit {
 public:
  explicit Misfit(const FixedLayout& layout) : layout_(layout) {
    // Numbers that fill whole 4-byte slots: their upper halves are counted
    // with one mask for every record.
    for (const FieldDef& f : layout.fields) {
      if (f.kind == FieldKind::Text || f.kind == FieldKind::SexWord) special_.push_back(&f);
      if (f.kind == FieldKind::Text) continue;
      const int slot = f.offset / 4;
      if (f.offset % 4 != 0 || f.offset + 4 > layout.recordSize || slot >= 128 ||
          (slots_[slot / 64] >> (slot % 64)) & 1)
        masked_ = false;
      else
        slots_[slot / 64] |= uint64_t(1) << (slot % 64);
    }
  }

  // The upper halves of a whole record's slots that are not zero, one bit per slot.
  static void upperHalves(const uchar* record, int recordSize, uint64_t bits[2]) {
    const int count = std::min(128, recordSize / 4);
    uint64_t word[2] = {0, 0};  // kept in registers, not written back per slot
    int slot = 0;
#if defined(__SSE2__)
    // Each slot's upper half compared with zero as one 32-bit lane; the
    // answers of sixteen slots packed into the bytes of one register.
    const __m128i upper = _mm_set1_epi32(int(0xFFFF0000u)), zero = _mm_setzero_si128();
    const auto zeros = [&](int at) {
      const __m128i w = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(record + 4 * at)), upper);
      return _mm_cmpeq_epi32(w, zero);
    };
    for (; slot + 16 <= count; slot += 16) {
      const __m128i low = _mm_packs_epi32(zeros(slot), zeros(slot + 4));
      const __m128i high = _mm_packs_epi32(zeros(slot + 8), zeros(slot + 12));
      const uint64_t set = uint64_t(~_mm_movemask_epi8(_mm_packs_epi16(low, high)) & 0xFFFF);
      word[slot / 64] |= set << (slot % 64);
    }
    for (; slot + 4 <= count; slot += 4)
      word[slot / 64] |= uint64_t(~_mm_movemask_ps(_mm_castsi128_ps(zeros(slot))) & 0xF) << (slot % 64);
#endif
    for (; slot < count; ++slot)
      if (record[4 * slot + 2] | record[4 * slot + 3]) word[slot / 64] |= uint64_t(1) << (slot % 64);
    bits[0] = word[0];
    bits[1] = word[1];
  }

  // The record at `base`; `upper` from upperHalves() when the file holds the whole record, else null.
  int score(const QByteArray& file, qint64 base, const uint64_t* upper, QString* text, QByteArray* room) const {
    const ByteReader in(file);
    int score = 0;
    if (upper && masked_) {
      // Nearly always none: counted only then (without popcnt the count is a call into libgcc).
      const uint64_t set[2] = {upper[0] & slots_[0], upper[1] & slots_[1]};
      if (set[0] | set[1]) score += std::popcount(set[0]) + std::popcount(set[1]);
      for (const FieldDef* f : special_) score += fieldScore(*f, file, base, in, false, text, room);
      return score;
    }
    for (const FieldDef& f : layout_.fields) score += fieldScore(f, file, base, in, true, text, room);
    return score;
  }

 private:
  // Whether bytes [from, end) of the field are all zero, looked at eight at a time.
  static bool zeroFrom(QByteArrayView field, qsizetype from) {
    const char* p = field.data();
    const qsizetype size = field.size();
    uint64_t any = 0, w;
    qsizetype i = from;
    for (; i + 8 <= size; i += 8) {
      std::memcpy(&w, p + i, 8);
      any |= w;
    }
    if (i < size && size >= 8 && std::endian::native == std::endian::little) {
      // The last eight bytes, of which the field's last size - i are the high ones.
      std::memcpy(&w, p + size - 8, 8);
      any |= w >> (8 * (8 - (size - i)));
      i = size;
    }
    for (; i < size; ++i) any |= uchar(p[i]);
    return any == 0;
  }

  static int fieldScore(const FieldDef& f, const QByteArray& file, qint64 base, const ByteReader& in, bool upperHalf,
                        QString* text, QByteArray* room) {
    const qint64 at = base + f.offset;
    int score = 0;
    if (f.kind == FieldKind::Text) {
      const QByteArrayView field = fieldBytes(file, at, f.width, room);
      const void* zero = std::memchr(field.data(), 0, size_t(field.size()));
      const qsizetype end = zero ? static_cast<const char*>(zero) - field.data() : field.size();
      // A control character (a byte below 0x20 stands for itself), or a
      // byte that is no Big5 character; plain text of common characters
      // needs no closer look.
      const QByteArrayView name = field.first(end);
      bool control = false;
      if (!IsPlainCommonBig5(name)) {
        for (qsizetype i = 0; i < end && !control; ++i) control = uchar(name[i]) < 0x20;
        if (!control) {
          DecodeBig5TextInto(name, text);
          control = ContainsByteCharacters(*text);
          for (QChar c : *text) control = control || c.unicode() < 0x20;
        }
      }
      if (control) score += 2;
      if (!zeroFrom(field, end)) score += 1;  // a stray byte after the name's end
      return score;
    }
    // The sex is 0 or 1; the upper half of every numeric slot is zero.
    if (const int16_t v = in.s16(at); f.kind == FieldKind::SexWord && v != 0 && v != 1) score += 4;
    if (upperHalf && in.s16(at + 2) != 0) score += 1;
    return score;
  }

  const FixedLayout& layout_;
  uint64_t slots_[2] = {0, 0};
  bool masked_ = true;
  std::vector<const FieldDef*> special_;  // the name and the sex
};

// Whether the two hold the one buffer (implicitly shared, so alike until one is changed).
bool SameBytes(const QByteArray& x, const QByteArray& y) {
  return x.constData() == y.constData() && x.size() == y.size();
}

// What the records of a file weigh against each layout (the sum of their misfits).
struct Misfits {
  qint64 a = 0, b = 0;
};

const Misfit& misfitA() {
  static const FixedLayout a = layoutA();
  static const Misfit score(a);
  return score;
}
const Misfit& misfitB() {
  static const FixedLayout b = layoutB();
  static const Misfit score(b);
  return score;
}

// The records whose evidence counts: those the header counts that the file holds.
qint64 recordsWeighed(const QByteArray& file) {
  const qint64 inFile = file.size() <= 12 ? 0 : (file.size() - 12 + 359) / 360;
  return std::min<qint64>(ByteReader(file).recordCount(), inFile);
}

// The misfits of record k alone.
Misfits recordMisfits(const QByteArray& file, qint64 k, QString* text, QByteArray* room) {
  const qint64 base = 12 + k * 360;
  const bool whole = base + 360 <= file.size();
  uint64_t upper[2];
  if (whole) Misfit::upperHalves(reinterpret_cast<const uchar*>(file.constData()) + base, 360, upper);
  return {misfitA().score(file, base, whole ? upper : nullptr, text, room),
          misfitB().score(file, base, whole ? upper : nullptr, text, room)};
}

// Every record weighed, the two halves of a large file at once.
Misfits misfitsOf(const QByteArray& file) {
  Misfits halves[2];
  InTwoHalves(recordsWeighed(file), 8192, [&](qint64 from, qint64 to, int h) {
    QString text;
    QByteArray room;
    Misfits m;  // summed apart from the other half's, in a line of memory of its own
    for (qint64 k = from; k < to; ++k) {
      const Misfits r = recordMisfits(file, k, &text, &room);
      m.a += r.a;
      m.b += r.b;
    }
    halves[h] = m;
  });
  return {halves[0].a + halves[1].a, halves[0].b + halves[1].b};
}

// The misfits of `count` records read behind a blank header into `piece`,
// so that its first record is record 0 of it: those of which it holds bytes.
Misfits pieceMisfits(const QByteArray& piece, qint64 count, QString* text, QByteArray* room) {
  Misfits m;
  for (qint64 k = 0; k < count && 12 + k * 360 < piece.size(); ++k) {
    const Misfits r = recordMisfits(piece, k, text, room);
    m.a += r.a;
    m.b += r.b;
  }
  return m;
}

// The same for a file read a piece at a time, the two halves of its pieces at once.
std::optional<Misfits> misfitsInPieces(const TableCodec& codec, qint64 fileSize, qint64 count, const ReadPiece& read) {
  const qint64 inFile = fileSize <= 12 ? 0 : (fileSize - 12 + 359) / 360;
  RunPieces pieces(codec, RecordRun{std::min(count, inFile), 360, 0, false}, read);
  Misfits halves[2];
  std::atomic<bool> failed{false};
  InTwoHalves(pieces.count(), 8192 / pieces.run().perPiece(), [&](qint64 from, qint64 to, int h) {
    QByteArray piece;
    QString text;
    QByteArray room;
    Misfits m;  // summed apart from the other half's, in a line of memory of its own
    for (qint64 p = from; p < to && !failed.load(std::memory_order_relaxed); ++p) {
      if (!pieces.read(p, &piece)) {
        failed = true;
        break;
      }
      const Misfits r = pieceMisfits(piece, pieces.end(p) - pieces.first(p), &text, &room);
      m.a += r.a;
      m.b += r.b;
    }
    halves[h] = m;
  });
  if (failed) return std::nullopt;
  return Misfits{halves[0].a + halves[1].a, halves[0].b + halves[1].b};
}

// The layout the misfits choose; on a tie, the first record's bytes decide.
bool layoutAFrom(const QByteArray& file, const Misfits& m) {
  if (m.a != m.b) return m.a < m.b;
  const ByteReader in(file);
  // No evidence either way: record 1 at offset 4 holds a male star's sex (1)
  // in layout A, the first bytes of the name in layout B.
  if (in.s16(12 + 4) == 1) return true;
  // A male star in layout B (sex 1 at record offset 24) keeps the file in B.
  if (in.s16(12 + 24) == 1) return false;
  // A female first star in layout A: record offsets 4..23 (sex, age,
  // birthday, the name's first bytes) cannot be a name, offsets 20..39 can.
  return !canBeName(in, 12 + 4, 20) && canBeName(in, 12 + 20, 20);
}

// The misfits of the file weighed last (a load, a save), kept with a
// reference to its bytes: while it is held no other content can stand at
// that address, so the same buffer is the same file.
class LastWeighed {
 public:
  std::optional<Misfits> of(const QByteArray& file) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (held_ && SameBytes(file_, file)) return misfits_;
    return std::nullopt;
  }
  void keep(const QByteArray& file, const Misfits& m) {
    if (file.isEmpty() || file.capacity() < file.size()) return;  // bytes not owned by the array (fromRawData)
    const std::lock_guard<std::mutex> lock(mutex_);
    file_ = file;
    misfits_ = m;
    held_ = true;
  }

 private:
  std::mutex mutex_;
  QByteArray file_;
  Misfits misfits_;
  bool held_ = false;
};

LastWeighed& lastWeighed() {
  static LastWeighed last;
  return last;
}

Misfits weigh(const QByteArray& file) {
  if (const std::optional<Misfits> known = lastWeighed().of(file)) return *known;
  const Misfits m = misfitsOf(file);
  lastWeighed().keep(file, m);
  return m;
}

// Weighs a new content's records as they pass on to the next sink. Against
// a file whose misfits are known, of the same size and records, only the
// records whose bytes differ from the file's are weighed again, their
// misfits in the file taken off; otherwise every record is.
class WeighingSink final : public ByteSink {
 public:
  // `size`: the bytes the content will have; `count`: the records its header counts.
  WeighingSink(ByteSink& next, qint64 size, qint64 count, const QByteArray* before)
      : next_(next), weighed_(std::min<qint64>(count, size <= 12 ? 0 : (size - 12 + 359) / 360)) {
    if (before && before->size() == size)
      if (const std::optional<Misfits> known = lastWeighed().of(*before))
        if (recordsWeighed(*before) == weighed_) {
          before_ = before;
          misfits_ = *known;
        }
    record_.reserve(12 + 360);
  }
  void append(const char* data, qint64 size) override {
    next_.append(data, size);
    if (size_ < 12 + 360) head_.append(data, std::min(size, 12 + 360 - size_));
    for (qint64 i = 0; i < size;) {
      if (size_ < 12) {
        const qint64 n = std::min(size - i, 12 - size_);
        i += n;
        size_ += n;
        continue;
      }
      // Record bytes go after a blank header, so that the record is record 0 of `record_`.
      if (record_.isEmpty()) record_.resize(12, '\0');
      const qint64 n = std::min<qint64>(size - i, 12 + 360 - record_.size());
      record_.append(data + i, n);
      i += n;
      size_ += n;
      if (record_.size() == 12 + 360) weighRecord();
    }
  }
  void expect(qint64 size) override { next_.expect(size); }

  // The misfits of the whole content, once it has all passed.
  Misfits misfits() {
    if (!record_.isEmpty()) weighRecord();  // a record the content holds in part
    return misfits_;
  }
  // The content's first bytes: all that the choice on a tie reads.
  const QByteArray& head() const { return head_; }

 private:
  void weighRecord() {
    const qint64 k = (size_ - 1 - 12) / 360;
    if (k < weighed_) {
      if (!before_) {
        add(recordMisfits(record_, 0, &text_, &room_), 1);
      } else if (std::memcmp(before_->constData() + 12 + k * 360, record_.constData() + 12,
                             size_t(record_.size() - 12)) != 0) {
        add(recordMisfits(*before_, k, &text_, &room_), -1);
        add(recordMisfits(record_, 0, &text_, &room_), 1);
      }
    }
    record_.resize(0);  // keeps its room for the next record
  }
  void add(const Misfits& m, int sign) {
    misfits_.a += sign * m.a;
    misfits_.b += sign * m.b;
  }

  ByteSink& next_;
  const qint64 weighed_;                // the records whose evidence counts
  const QByteArray* before_ = nullptr;  // the file whose misfits misfits_ starts from
  Misfits misfits_;
  qint64 size_ = 0;
  QByteArray head_, record_;
  QString text_;
  QByteArray room_;
};

class StarRoleCodec : public FixedCodec {
 public:
  StarRoleCodec() : FixedCodec(layoutB()), a_(layoutA()) { prepareVariants(2); }

  // Variant 1 is layout A, variant 0 layout B.
  int variantFor(const QByteArray& file) const override { return StarRoleUsesLayoutA(file) ? 1 : 0; }
  std::optional<int> variantInPieces(qint64 fileSize, qint64 count, const ReadPiece& read) const override {
    const std::optional<Misfits> m = misfitsInPieces(*this, fileSize, count, read);
    QByteArray head;  // all that the choice on a tie reads
    if (!m || !read(0, 12 + 360, &head, 0)) return std::nullopt;
    return layoutAFrom(head, *m) ? 1 : 0;
  }
  // Misfits against layout A count against variant 1, against B against variant 0.
  std::optional<LayoutVote> pieceVote(const QByteArray& piece, qint64 count) const override {
    QString text;
    QByteArray room;
    const Misfits m = pieceMisfits(piece, count, &text, &room);
    LayoutVote vote;
    vote.against[1] = m.a;
    vote.against[0] = m.b;
    return vote;
  }
  int votedVariant(const LayoutVote& total, const QByteArray& first) const override {
    return layoutAFrom(first, Misfits{total.against[1], total.against[0]}) ? 1 : 0;
  }
  const FixedLayout& variant(int v) const override { return v == 1 ? a_ : layout_; }
  const FixedLayout& layout(bool a) const { return a ? a_ : layout_; }

  // Writes the rows in the layout of the existing file. The new file must
  // be recognised in that layout again.
  std::optional<CellProblem> encodeTo(const RowList& rows, const QByteArray& existing, const CodecContext& ctx,
                                      ByteSink& sink) const override {
    return encodeLayout(layoutOf(rows, existing), rows, ctx, sink, &existing);
  }
  // The same in one array; its misfits are kept for the next load of it.
  std::optional<CellProblem> encode(const std::vector<const TableRecord*>& rows, const QByteArray& existing,
                                    const CodecContext& ctx, QByteArray* out) const override {
    return encodeWhole(layoutOf(rows, existing), rows, ctx, out, &existing);
  }

  // `before`: the file the new content replaces. When its records' misfits
  // are known, only the records that changed are weighed again.
  std::optional<CellProblem> encodeLayout(bool a, const RowList& rows, const CodecContext& ctx, ByteSink& sink,
                                          const QByteArray* before = nullptr, Misfits* weighed = nullptr) const {
    WeighingSink weigh(sink, 12 + qint64(rows.size()) * layout(a).recordSize, qint64(rows.size()), before);
    if (auto problem = encodeIn(a ? 1 : 0, rows, ctx, weigh)) return problem;
    const Misfits now = weigh.misfits();
    if (weighed) *weighed = now;
    if (!rows.empty() && layoutAFrom(weigh.head(), now) != a)
      return CellProblem{0, a ? 3 : 2,
                         Texts::tr("保存后的文件会被误认作另一种记录格式：请检查此行的名称、性别、年龄和生日")};
    return std::nullopt;
  }
  std::optional<CellProblem> encodeWhole(bool a, const RowList& rows, const CodecContext& ctx, QByteArray* out,
                                         const QByteArray* before = nullptr) const {
    ArraySink sink;
    Misfits now;
    if (auto problem = encodeLayout(a, rows, ctx, sink, before, &now)) return problem;
    *out = sink.take();
    lastWeighed().keep(*out, now);
    return std::nullopt;
  }

 private:
  // The layout to write: records read from these very bytes (shared, so
  // unchanged) were read in the layout the file was found in.
  static bool layoutOf(const RowList& rows, const QByteArray& existing) {
    for (const TableRecord* r : rows)
      if (!r->kept.isEmpty() && SameBytes(r->kept.file(), existing)) return r->kept.variant() == 1;
    return StarRoleUsesLayoutA(existing);
  }

  FixedLayout a_;
};

const StarRoleCodec kStarCodec;

std::vector<QStringList> starSample(SampleContext& s) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= s.records(); ++i) {
    QStringList r{QString::number(i),
                  s.starName(i - 1),
                  s.chance(50) ? QStringLiteral("女") : QStringLiteral("男"),
                  QString::number(s.between(15, 40)),
                  QString::number(s.between(1, 12)),
                  QString::number(s.between(1, 28))};
    for (int c = 7; c <= 20; ++c) r << QString::number(s.between(0, 100));   // abilities, character values
    r << QString::number(s.between(0, 500));                                 // lp7C
    for (int c = 22; c <= 28; ++c) r << QString::number(s.between(0, 1));    // flags
    for (int c = 29; c <= 34; ++c) r << QString::number(s.between(0, 20));   // announcements
    for (int c = 35; c <= 42; ++c) r << QString::number(s.between(-5, 50));  // hidden
    for (int c = 43; c <= 44; ++c) r << QString::number(s.between(0, 100));
    r << QString::number(s.between(150, 190)) << QString::number(s.between(40, 80));  // height, weight
    for (int c = 47; c <= 60; ++c) r << QString::number(s.between(-100, 1000));
    for (int c = 61; c <= 69; ++c) r << QString::number(s.between(1, 10));     // growth rates
    for (int c = 70; c <= 78; ++c) r << QString::number(s.between(100, 999));  // ceilings
    r << QString::number(s.between(0, 100));                                   // success rate
    rows.push_back(r);
  }
  return rows;
}

// The save writes a missing file in layout B; the sample folder holds odd
// seeds' stars in layout A.
QByteArray starSampleFile(SampleContext& s) {
  std::vector<TableRecord> rows;
  for (QStringList& r : starSample(s)) rows.emplace_back(std::move(r));
  std::vector<const TableRecord*> refs;
  for (const TableRecord& r : rows) refs.push_back(&r);
  QByteArray bytes;
  kStarCodec.encodeWhole(s.seed() % 2 == 1, refs, CodecContext(Script::Traditional), &bytes);
  return bytes;
}

}  // namespace

bool StarRoleUsesLayoutA(const QByteArray& file) {
  // The evidence of every record the file holds: the layout that fits better wins.
  return layoutAFrom(file, weigh(file));
}

int StarRoleNameOffset(const QByteArray& file) { return StarRoleUsesLayoutA(file) ? 20 : 4; }

const TableDef& StarTable() {
  static const TableDef def{QStringLiteral("StarRole.dat"),
                            QStringLiteral("Star"),
                            &kStarCodec,
                            SaveOrder::Numeric,
                            {35, 36, 37, 38, 39, 40, 41, 42},
                            2,
                            2,
                            false,
                            starSample,
                            starSampleFile};
  return def;
}

}  // namespace v3
