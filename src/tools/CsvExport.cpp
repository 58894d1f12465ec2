#include "tools/CsvExport.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>
#include <vector>

#include "storage/FileStore.h"
#include "tables/RunPieces.h"
#include "text/DiskFile.h"
#include "text/Big5.h"
#include "text/Big5Pairs.h"
#include "text/TwoHalves.h"
#include "tools/Csv.h"
#include "tools/DecimalTexts.h"

namespace v3 {

namespace {

QString shownCharacter(const QString& text, qsizetype at) {
  const char32_t c = text[at].isHighSurrogate() && at + 1 < text.size() ? QChar::surrogateToUcs4(text[at], text[at + 1])
                                                                        : char32_t(text[at].unicode());
  return QStringLiteral("\"%1\" (U+%2)")
      .arg(QString::fromUcs4(&c, 1), QString::number(uint(c), 16).toUpper().rightJustified(4, u'0'));
}

// The line's cells with one that the encoding cannot hold, for a refusal.
bool encodeLine(const QStringList& cells, TextEncoding encoding, int line, QByteArray* out, CsvRefusal* refusal,
                QChar delimiter = u',') {
  const QString text = CsvLineText(cells, delimiter);
  QByteArray bytes;
  qsizetype bad = 0;
  if (EncodeStrict(text, encoding, &bytes, &bad)) {
    // A file of another encoding whose first cell's characters are the bytes
    // of a UTF-8 byte order mark would be taken for UTF-8 when read: that
    // cell is quoted (it needs no other quoting, or it would be already).
    QByteArray quoted;
    if (line == 1 && bytes.startsWith(kUtf8Bom) && !cells.isEmpty() &&
        EncodeStrict(u'"' + cells[0] + u'"' + text.sliced(cells[0].size()), encoding, &quoted, &bad))
      bytes = std::move(quoted);
    *out += bytes;
    return true;
  }
  // Which cell holds the character: encode each on its own.
  for (qsizetype c = 0; c < cells.size(); ++c) {
    QByteArray ignored;
    qsizetype at = 0;
    if (!EncodeStrict(cells[c], encoding, &ignored, &at)) {
      *refusal = {line, QStringLiteral("column %1: %2 cannot be written in %3")
                            .arg(c + 1)
                            .arg(shownCharacter(cells[c], at), TextEncodingName(encoding))};
      return false;
    }
  }
  *refusal = {line,
              QStringLiteral("%1 cannot be written in %2").arg(shownCharacter(text, bad), TextEncodingName(encoding))};
  return false;
}

// A record's CSV line in UTF-8, written straight into *out: the cells
// without their NUL characters, quoted where they hold a comma, a quote or a
// line break. Returns false, leaving *out as it was, when a cell holds a
// surrogate without its partner, which UTF-8 cannot carry.
bool appendUtf8Line(const QStringList& cells, QByteArray* out) {
  const qsizetype start = out->size();
  qsizetype most = 2;  // CRLF
  // Every UTF-16 unit takes at most 3 bytes (a doubled quote 2, a surrogate pair 4 for two).
  for (const QString& c : cells) most += 3 * c.size() + 3;
  out->resize(start + most);
  char* d = out->data() + start;
  bool first = true;
  for (const QString& cell : cells) {
    if (!first) *d++ = ',';
    first = false;
    const char16_t* s = reinterpret_cast<const char16_t*>(cell.constData());
    const char16_t* const end = s + cell.size();
    bool quote = false;
    for (const char16_t* p = s; p < end && !quote; ++p) quote = *p == u',' || *p == u'"' || *p == u'\n' || *p == u'\r';
    // A cell that starts with U+FEFF (after the dropped NULs) is quoted, as
    // CsvLineText does: at the start of the file it would read as a byte order mark.
    const char16_t* firstShown = s;
    while (firstShown < end && *firstShown == 0) ++firstShown;
    quote = quote || (firstShown < end && *firstShown == 0xFEFF);
    if (quote) *d++ = '"';
    for (; s < end; ++s) {
      const char16_t c = *s;
      if (c < 0x80) {
        if (c == 0) continue;
        if (c == u'"') *d++ = '"';
        *d++ = char(c);
      } else if (c < 0x800) {
        *d++ = char(0xC0 | (c >> 6));
        *d++ = char(0x80 | (c & 0x3F));
      } else if (c >= 0xD800 && c <= 0xDFFF) {
        if (c >= 0xDC00 || s + 1 == end || s[1] < 0xDC00 || s[1] > 0xDFFF) {
          out->truncate(start);
          return false;
        }
        const char32_t u = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(s[1]) - 0xDC00);
        ++s;
        *d++ = char(0xF0 | (u >> 18));
        *d++ = char(0x80 | ((u >> 12) & 0x3F));
        *d++ = char(0x80 | ((u >> 6) & 0x3F));
        *d++ = char(0x80 | (u & 0x3F));
      } else {
        *d++ = char(0xE0 | (c >> 12));
        *d++ = char(0x80 | ((c >> 6) & 0x3F));
        *d++ = char(0x80 | (c & 0x3F));
      }
    }
    if (quote) *d++ = '"';
  }
  *d++ = '\r';
  *d++ = '\n';
  out->truncate(d - out->constData());
  return true;
}

QChar delimiterOf(const CsvOptions& options) { return options.delimiter.isNull() ? QChar(u',') : options.delimiter; }

// Whether the lines are written as the plain UTF-8 CSV that the fast writers write.
bool plainUtf8(const CsvOptions& options) {
  return options.encoding == TextEncoding::Utf8 && delimiterOf(options) == u',' && !options.spreadsheetSafe;
}

// A record's line (its cells escaped) in the encoding, appended to *csv.
bool appendRecord(const QStringList& record, const CsvOptions& options, int line, QByteArray* csv,
                  CsvRefusal* refusal) {
  // A cell that needs no escape is shared, not copied.
  QStringList cells = record;
  for (QString& c : cells) c = CsvProtectCell(CsvEscapeCell(c), options.spreadsheetSafe);
  if (plainUtf8(options) && appendUtf8Line(cells, csv)) return true;
  return encodeLine(cells, options.encoding, line, csv, refusal, delimiterOf(options));
}

// The UTF-8 of each double-byte Big5 code that decodes to one character,
// in its low bytes, and its length in the high byte: 0 for a code that is
// no such pair, or whose character the CSV writes otherwise (an ASCII
// character, a surrogate, U+FEFF). Null when Big5 does not give ASCII bytes as themselves.
const uint32_t* Big5PairsAsUtf8() {
  static_assert(std::endian::native == std::endian::little, "the bytes are copied from the low end");
  static const std::vector<uint32_t> table = [] {
    std::vector<uint32_t> t;
    if (!kBig5AsciiIsIdentity) return t;
    t.resize(std::size(kBig5Pairs));
    for (size_t i = 0; i < t.size(); ++i) {
      const char16_t c = kBig5Pairs[i];
      if (c < 0x80 || (c >= 0xD800 && c <= 0xDFFF) || c == 0xFEFF) continue;
      t[i] = c < 0x800 ? 2u << 24 | uint32_t(0xC0 | (c >> 6)) | uint32_t(0x80 | (c & 0x3F)) << 8
                       : 3u << 24 | uint32_t(0xE0 | (c >> 12)) | uint32_t(0x80 | ((c >> 6) & 0x3F)) << 8 |
                             uint32_t(0x80 | (c & 0x3F)) << 16;
    }
    return t;
  }();
  return table.empty() ? nullptr : table.data();
}

// The numbers 0..9999 as a comma and their decimal digits: one copy of
// eight bytes writes a cell.
constexpr auto kSmall = DecimalTexts<7>(",", "");

// Appends a record's CSV line in UTF-8 as the codec hands over its cells:
// each cell escaped and quoted as CsvEscapeCell and appendRecord have it,
// written straight into the output without a QString per cell. A record
// that it cannot write so (a surrogate without its partner, cells out of
// column order) is left out, and finish() says so.
class Utf8CsvLine final : public CellSink {
 public:
  Utf8CsvLine(QByteArray* out, int fieldCount) : out_(out), fieldCount_(fieldCount) { claim(); }
  ~Utf8CsvLine() override { out_->truncate(used_); }

  void begin() {
    lineStart_ = used_;
    next_ = 1;
    ok_ = true;
  }
  // Ends the line; false, with nothing of the record written, when it must
  // be written another way.
  bool finish() {
    if (ok_) {
      separate(fieldCount_ + 1);
      char* d = room(2);
      d[0] = '\r';
      d[1] = '\n';
      used_ += 2;
      return true;
    }
    used_ = lineStart_;
    return false;
  }
  // The output as a QByteArray for a line written another way, and back.
  QByteArray* release() {
    out_->truncate(used_);
    return out_;
  }
  void resume() { claim(); }

  void number(int column, int64_t value) override {
    if (!advance(column)) return;
    used_ = decimal(room(21), value) - base_;
  }

  void numbers(int first, const int64_t* values, int count) override {
    if (!ok_ || first != next_ || first + count - 1 > fieldCount_ || count <= 0) {
      CellSink::numbers(first, values, count);
      return;
    }
    char* d = room(22 * qsizetype(count));
    int i = 0;
    if (first == 1) d = decimal(d, values[i++]);
    for (; i < count; ++i) {
      // The common values from a table of their texts, comma first.
      const int64_t v = values[i];
      if (v >= 0 && v < kDecimalTexts) {
        const auto& e = kSmall[size_t(v)];
        std::memcpy(d, &e, sizeof e);
        d += e.length;
        continue;
      }
      *d++ = ',';
      d = decimal(d, v);
    }
    used_ = d - base_;
    next_ += count;
  }

  void word(int column, const QString& text) override { this->text(column, text); }

  // Big5 bytes of the common kind (ASCII and the pairs that map to one
  // character) are written as UTF-8 without being decoded into a QString
  // first; anything else is decoded, and written, by text().
  void big5(int column, QByteArrayView bytes, Big5Kind kind, int padTo) override {
    if (!big5AsUtf8(column, bytes, kind, padTo)) CellSink::big5(column, bytes, kind, padTo);
  }

  void text(int column, QStringView cell) override {
    if (!advance(column)) return;
    const char16_t* s = cell.utf16();
    // A code's trailing zero bytes are dropped (the save pads with zeros again).
    qsizetype end = cell.size();
    while (end > 0 && s[end - 1] == 0) --end;
    if (end == 0) return;
    // A cell that reads as a spreadsheet's protected text goes the other way,
    // which wraps it once more (CsvProtectCell).
    if (end >= 3 && s[0] == u'=' && s[1] == u'"') {
      ok_ = false;
      return;
    }
    // Quoted where it holds a comma, a quote or a line break, or starts with
    // U+FEFF (at the start of the file it would read as a byte order mark).
    bool quote = s[0] == 0xFEFF;
    for (qsizetype i = 0; i < end && !quote; ++i)
      quote = s[i] == u',' || s[i] == u'"' || s[i] == u'\n' || s[i] == u'\r';
    static const char hex[] = "0123456789ABCDEF";
    char* d = room(4 * end + 2);  // \x00 is the longest a unit becomes
    char* const start = d;
    if (quote) *d++ = '"';
    for (qsizetype i = 0; i < end; ++i) {
      const char16_t c = s[i];
      if (c < 0x80) {
        if (c == 0) {
          *d++ = '\\';
          *d++ = 'x';
          *d++ = '0';
          *d++ = '0';
        } else if (c == u'\\') {
          *d++ = '\\';
          *d++ = '\\';
        } else {
          if (c == u'"') *d++ = '"';
          *d++ = char(c);
        }
      } else if (c < 0x800) {
        *d++ = char(0xC0 | (c >> 6));
        *d++ = char(0x80 | (c & 0x3F));
      } else if (c >= 0xD800 && c <= 0xDFFF) {
        if (c >= 0xDC00 || i + 1 >= end || s[i + 1] < 0xDC00 || s[i + 1] > 0xDFFF) {
          ok_ = false;  // UTF-8 cannot carry it: the record goes the other way, which names it
          return;
        }
        const char32_t u = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(s[i + 1]) - 0xDC00);
        ++i;
        if (IsByteCharacter(u)) {
          // A byte that is no Big5 character: \xHH.
          *d++ = '\\';
          *d++ = 'x';
          *d++ = hex[(u >> 4) & 0xF];
          *d++ = hex[u & 0xF];
        } else {
          *d++ = char(0xF0 | (u >> 18));
          *d++ = char(0x80 | ((u >> 12) & 0x3F));
          *d++ = char(0x80 | ((u >> 6) & 0x3F));
          *d++ = char(0x80 | (u & 0x3F));
        }
      } else {
        *d++ = char(0xE0 | (c >> 12));
        *d++ = char(0x80 | ((c >> 6) & 0x3F));
        *d++ = char(0x80 | (c & 0x3F));
      }
    }
    if (quote) *d++ = '"';
    used_ += d - start;
  }

 private:
  // big5() as text() would write the decoded text; false, with nothing
  // written, for bytes it leaves to text().
  bool big5AsUtf8(int column, QByteArrayView bytes, Big5Kind kind, int padTo) {
    const uint32_t* utf8 = Big5PairsAsUtf8();
    if (!utf8) return false;
    const auto* s = reinterpret_cast<const uchar*>(bytes.data());
    qsizetype n = bytes.size();
    if (kind != Big5Kind::Bytes)
      if (const void* zero = std::memchr(s, 0, size_t(n))) n = static_cast<const uchar*>(zero) - s;
    // A cell that reads as a spreadsheet's protected text goes text()'s way.
    if (n >= 2 && s[0] == '=' && s[1] == '"') return false;
    const qsizetype mark = used_;
    const int nextMark = next_;
    if (!advance(column)) return true;
    const qsizetype blanks = kind == Big5Kind::Padded ? padTo : 0;
    // A byte becomes at most 4 (\x00), a pair at most 3 (and 4 are copied).
    char* const start = room(4 * n + blanks + 4);
    char* d = start;
    // Where the last character that is shown ends: a field's trailing
    // blanks are not shown, nor are the trailing zeros of a text of
    // explicit length (the save writes them again).
    char* shownEnd = d;
    const uchar hidden = kind == Big5Kind::Bytes ? 0 : kind == Big5Kind::Field ? ' ' : 0xFF;
    bool quote = false;
    qsizetype chars = 0;
    for (qsizetype i = 0; i < n; ++chars) {
      const uchar b = s[i];
      if (b < 0x80) {
        if (b == 0) {
          std::memcpy(d, "\\x00", 4);
          d += 4;
        } else {
          quote = quote || b == ',' || b == '"' || b == '\n' || b == '\r';
          if (b == '\\' || b == '"') *d++ = char(b);
          *d++ = char(b);
        }
        ++i;
        if (b != hidden) shownEnd = d;
        continue;
      }
      const uint32_t u = i + 1 < n ? utf8[size_t((b - 0x80) * 256 + s[i + 1])] : 0;
      if (u == 0) {
        used_ = mark;  // nothing of the cell, nor its separator
        next_ = nextMark;
        return false;
      }
      std::memcpy(d, &u, 4);
      d += u >> 24;
      i += 2;
      shownEnd = d;
    }
    if (kind == Big5Kind::Padded) {
      const qsizetype pad = std::max<qsizetype>(padTo - chars, 0);
      std::memset(d, ' ', size_t(pad));
      shownEnd = d + pad;
    }
    if (quote) {
      std::memmove(start + 1, start, size_t(shownEnd - start));
      *start = '"';
      shownEnd += 1;
      *shownEnd++ = '"';
    }
    used_ += shownEnd - start;
    return true;
  }

  // Writes the number's decimal text at d; returns the end.
  static char* decimal(char* d, int64_t value) {
    static const char pairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    uint64_t u = value < 0 ? 0 - uint64_t(value) : uint64_t(value);
    if (value < 0) *d++ = '-';
    if (u < 10) {
      *d++ = char('0' + u);
      return d;
    }
    if (u < 100) {
      std::memcpy(d, pairs + 2 * u, 2);
      return d + 2;
    }
    if (u < 1000) {
      *d++ = char('0' + u / 100);
      std::memcpy(d, pairs + 2 * (u % 100), 2);
      return d + 2;
    }
    if (u < 100000) {  // every 16-bit number
      if (u >= 10000) {
        *d++ = char('0' + u / 10000);
        u %= 10000;
      }
      std::memcpy(d, pairs + 2 * (u / 100), 2);
      std::memcpy(d + 2, pairs + 2 * (u % 100), 2);
      return d + 4;
    }
    char digits[20];
    char* p = digits + sizeof digits;
    while (u >= 100) {
      p -= 2;
      std::memcpy(p, pairs + 2 * (u % 100), 2);
      u /= 100;
    }
    if (u >= 10) {
      p -= 2;
      std::memcpy(p, pairs + 2 * u, 2);
    } else {
      *--p = char('0' + u);
    }
    while (p < digits + sizeof digits) *d++ = *p++;
    return d;
  }

  // Writes on after the output's bytes, into the room reserved beforehand.
  void claim() {
    used_ = out_->size();
    capacity_ = std::max(used_, out_->capacity());
    out_->resize(capacity_);
    base_ = out_->data();
  }

  // Room for `n` more bytes after the used ones.
  char* room(qsizetype n) {
    if (used_ + n > capacity_) {
      capacity_ = std::max<qsizetype>(2 * capacity_, used_ + n + 4096);
      out_->resize(capacity_);
      base_ = out_->data();
    }
    return base_ + used_;
  }
  // The separators before `column`, empty cells for the columns skipped.
  void separate(int column) {
    const int written = std::max(next_ - 2, 0);  // separators so far
    const int needed = std::min(column, fieldCount_) - 1 - written;
    if (needed > 0) {
      char* d = room(needed);
      std::memset(d, ',', size_t(needed));
      used_ += needed;
    }
    next_ = std::max(next_, column + 1);
  }
  bool advance(int column) {
    if (!ok_) return false;
    if (column == next_ && column <= fieldCount_) {
      // The common case: the next column.
      if (column > 1) *room(1) = ',';
      used_ += column > 1;
      ++next_;
      return true;
    }
    if (column < next_ || column > fieldCount_) {
      ok_ = false;
      return false;
    }
    separate(column);
    return true;
  }

  QByteArray* out_;
  int fieldCount_;
  char* base_ = nullptr;
  qsizetype used_ = 0, capacity_ = 0, lineStart_ = 0;
  int next_ = 1;
  bool ok_ = true;
};

}  // namespace

bool RecordsToCsv(const std::vector<QStringList>& records, const CsvOptions& options, QByteArray* csv,
                  CsvRefusal* refusal) {
  csv->clear();
  if (options.bom && options.encoding == TextEncoding::Utf8) *csv += kUtf8Bom;
  int line = 1;
  if (!options.header.isEmpty()) {
    // Big5 has no Simplified characters: its header line is in the Traditional script.
    QStringList header = options.header;
    if (options.encoding == TextEncoding::Big5)
      for (QString& h : header) h = ToTraditional(h);
    if (!encodeLine(header, options.encoding, line++, csv, refusal, delimiterOf(options))) return false;
  }
  for (const QStringList& r : records)
    if (!appendRecord(r, options, line++, csv, refusal)) return false;
  return true;
}

namespace {

// The records of a file held whole, where RecordPlaces finds them, `perPiece` a piece.
struct WholeFile {
  const RecordPlaces& places;
  qint64 perPiece;
  qint64 count() const { return (places.size() + perPiece - 1) / perPiece; }
  qint64 first(qint64 piece) const { return piece * perPiece; }
  qint64 end(qint64 piece) const { return std::min<qint64>(places.size(), first(piece) + perPiece); }
  bool read(qint64, QByteArray*) const { return true; }
  void put(qint64 k, qint64, const QByteArray&, KeptBytes* kept) const { places.put(k, kept); }
};

// The records of a file read a piece at a time: each piece's records read
// into the piece's buffer, and found there.
struct FilePieces {
  RunPieces& pieces;
  qint64 count() const { return pieces.count(); }
  qint64 first(qint64 piece) const { return pieces.first(piece); }
  qint64 end(qint64 piece) const { return pieces.end(piece); }
  bool read(qint64 piece, QByteArray* bytes) const { return pieces.read(piece, bytes); }
  void put(qint64 k, qint64 first, const QByteArray& bytes, KeptBytes* kept) const {
    pieces.moveTo(bytes, first, k, kept);
  }
};

// The byte order mark and the header line, then the records a piece at a
// time, on two threads for a large table, each record where `records` finds
// it (see TableBytesToCsv). False with *readFailed when a piece's bytes
// could not be read; the pieces before it are handed over.
template <typename Records>
bool RecordsToCsvInPieces(const TableCodec& codec, const Records& records, qint64 roughSize, const CodecContext& ctx,
                          const CsvOptions& options, QByteArray* csv, CsvRefusal* refusal, const CsvFlush& flush,
                          bool* readFailed) {
  if (!RecordsToCsv({}, options, csv, refusal)) return false;
  const int firstLine = options.header.isEmpty() ? 1 : 2;
  struct Piece {
    QByteArray csv;
    QByteArray bytes;                   // the piece's records, when they are read a piece at a time
    std::optional<CsvRefusal> refusal;  // why the record after its lines cannot be written
    bool unread = false;
  };
  const auto make = [&](qint64 piece, Piece& out) {
    out.csv.clear();
    out.refusal.reset();
    const qint64 first = records.first(piece), end = records.end(piece);
    if (!records.read(piece, &out.bytes)) {
      out.unread = true;
      return false;
    }
    Utf8CsvLine sink(&out.csv, codec.fieldCount());
    KeptBytes record;
    for (qint64 k = first; k < end; ++k) {
      records.put(k, first, out.bytes, &record);
      sink.begin();
      codec.decodeInto(record, ctx, sink);
      if (!sink.finish()) {
        CsvRefusal why;
        const bool written =
            appendRecord(codec.decodeRecord(record, ctx), options, firstLine + int(k), sink.release(), &why);
        sink.resume();
        if (!written) {
          out.refusal = why;
          return false;
        }
      }
    }
    return true;
  };
  // Made whole: about as many bytes as the file has, grown once or twice at most.
  if (!flush) csv->reserve(csv->size() + roughSize + 4096);
  // What comes before a piece is handed over first; a refused piece's lines stay in *csv.
  const auto take = [&](qint64, const Piece& in) {
    if (in.unread) {
      *readFailed = true;
      return;
    }
    if (in.refusal) *refusal = *in.refusal;
    if (!flush || in.refusal) {
      *csv += in.csv;
      return;
    }
    if (!csv->isEmpty()) flush(*csv);
    csv->clear();
    flush(in.csv);
  };
  return InOrderedPieces<Piece>(records.count(), make, take);
}

// Records of about kFilePieceBytes of a file of `size` bytes that holds
// `count`: the CSV's pieces are made on two threads, each in a buffer that
// stays in the processor's cache, and handed to a flush one at a time.
qint64 recordsPerPiece(qint64 count, qint64 size) {
  return std::max<qint64>(1, kFilePieceBytes * count / std::max<qint64>(size, 1));
}

}  // namespace

bool TableBytesToCsv(const TableCodec& codec, const QByteArray& file, const CodecContext& ctx,
                     const CsvOptions& options, QByteArray* csv, CsvRefusal* refusal, const CsvFlush& flush) {
  if (!plainUtf8(options)) {
    std::vector<QStringList> rows;
    for (TableRecord& r : codec.decode(file, ctx)) rows.push_back(std::move(r.cells));
    return RecordsToCsv(rows, options, csv, refusal);
  }
  const RecordPlaces places(codec, file);
  bool unread = false;
  return RecordsToCsvInPieces(codec, WholeFile{places, recordsPerPiece(places.size(), file.size())}, file.size(), ctx,
                              options, csv, refusal, flush, &unread);
}

bool TableToCsv(const TableDef& table, const QString& folder, Script systemScript, const CsvOptions& options,
                QByteArray* csv, QString* readError, CsvRefusal* refusal, const CsvFlush& flush) {
  csv->clear();
  readError->clear();
  const QString path = DataFilePath(folder, table.fileName);
  CodecContext ctx(systemScript, folder);
  ProducerDirectory producers;
  const auto readProducers = [&] {
    if (!table.codec->needsProducers()) return true;
    producers = ProducerDirectory::load(folder);
    *readError = producers.readError();
    ctx.producers = &producers;
    return readError->isEmpty();
  };
  // A file of records of one size is read a piece at a time, each piece
  // made into CSV while its bytes are in the cache: it is never held whole.
  if (table.codec && plainUtf8(options)) {
    disk::PieceReader reader;
    bool exists = false;
    if (!reader.open(path, &exists, readError)) return false;
    const ReadPiece read = [&reader](qint64 from, qint64 count, QByteArray* into, qsizetype at) {
      return reader.read(from, count, into, at);
    };
    if (std::optional<RunPieces> pieces = exists ? PiecesOfFile(*table.codec, reader.size(), read) : std::nullopt) {
      bool unread = false;
      const bool written = readProducers() && RecordsToCsvInPieces(*table.codec, FilePieces{*pieces}, reader.size(),
                                                                   ctx, options, csv, refusal, flush, &unread);
      // A file that could not be read whole, or changed its size meanwhile, has no CSV.
      QString unreadable;
      if (!reader.finish(&unreadable)) *readError = unreadable;
      return written && readError->isEmpty();
    }
    // Told while the layout was looked for.
    if (!reader.finish(readError)) return false;
  }
  bool exists = false;
  const QByteArray file = FileStore::disk().read(path, &exists, readError);
  // Nothing of a file that cannot be read whole is written.
  if (!readError->isEmpty()) return false;
  if (!table.codec) return RecordsToCsv({}, options, csv, refusal);
  if (!readProducers()) return false;
  return TableBytesToCsv(*table.codec, file, ctx, options, csv, refusal, flush);
}

QByteArray RecordsToCsv(const std::vector<QStringList>& records) {
  QByteArray csv;
  CsvRefusal ignored;
  RecordsToCsv(records, CsvOptions{}, &csv, &ignored);  // UTF-8 holds every character
  return csv;
}
}  // namespace v3
