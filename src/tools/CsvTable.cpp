#include "tools/CsvTable.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <optional>
#include <cstring>

#include "storage/FileStore.h"
#include "text/Big5.h"
#include "text/Language.h"
#include "tools/Csv.h"

namespace v3 {

QString CsvRefusal::message(const QString& csvName) const {
  if (line <= 0) return QStringLiteral("%1: %2").arg(csvName, reason);
  return QStringLiteral("%1: line %2: %3").arg(csvName).arg(line).arg(reason);
}

namespace {

const char kUtf8Bom[] = "\xEF\xBB\xBF";

QString hexByte(uint b) { return QStringLiteral("\\x") + QString::number(b, 16).toUpper().rightJustified(2, u'0'); }

int hexDigit(QChar c) {
  if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
  if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
  return -1;
}

QString shownCharacter(const QString& text, qsizetype at) {
  const char32_t c = text[at].isHighSurrogate() && at + 1 < text.size()
                         ? QChar::surrogateToUcs4(text[at], text[at + 1])
                         : char32_t(text[at].unicode());
  return QStringLiteral("\"%1\" (U+%2)")
      .arg(QString::fromUcs4(&c, 1), QString::number(uint(c), 16).toUpper().rightJustified(4, u'0'));
}

// The line's cells with one that the encoding cannot hold, for a refusal.
bool encodeLine(const QStringList& cells, TextEncoding encoding, int line, QByteArray* out, CsvRefusal* refusal) {
  const QString text = CsvLineText(cells);
  QByteArray bytes;
  qsizetype bad = 0;
  if (EncodeStrict(text, encoding, &bytes, &bad)) {
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
  *refusal = {line, QStringLiteral("%1 cannot be written in %2").arg(shownCharacter(text, bad), TextEncodingName(encoding))};
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
    for (const char16_t* p = s; p < end && !quote; ++p)
      quote = *p == u',' || *p == u'"' || *p == u'\n' || *p == u'\r';
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

// A record's line (its cells escaped) in the encoding, appended to *csv.
bool appendRecord(const QStringList& record, TextEncoding encoding, int line, QByteArray* csv, CsvRefusal* refusal) {
  // A cell that needs no escape is shared, not copied.
  QStringList cells = record;
  for (QString& c : cells) c = CsvEscapeCell(c);
  if (encoding == TextEncoding::Utf8 && appendUtf8Line(cells, csv)) return true;
  return encodeLine(cells, encoding, line, csv, refusal);
}

// Appends a record's CSV line in UTF-8 as the codec hands over its cells:
// each cell escaped and quoted as CsvEscapeCell and appendRecord have it,
// written straight into the output without a QString per cell. A record
// that it cannot write so (a surrogate without its partner, cells out of
// column order) is left out, and finish() says so.
class Utf8CsvLine final : public CellSink {
 public:
  Utf8CsvLine(QByteArray* out, int fieldCount) : out_(out), fieldCount_(fieldCount) {
    claim();
  }
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
    for (int i = 0; i < count; ++i) {
      if (first + i > 1) *d++ = ',';
      d = decimal(d, values[i]);
    }
    used_ = d - base_;
    next_ += count;
  }

  void word(int column, const QString& text) override { this->text(column, text); }

  void text(int column, QStringView cell) override {
    if (!advance(column)) return;
    const char16_t* s = cell.utf16();
    // A code's trailing zero bytes are dropped (the save pads with zeros again).
    qsizetype end = cell.size();
    while (end > 0 && s[end - 1] == 0) --end;
    if (end == 0) return;
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

QStringList trimmed(const QStringList& cells) {
  QStringList t;
  t.reserve(cells.size());
  for (const QString& c : cells) t << c.trimmed();
  return t;
}

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
    if (!encodeLine(header, options.encoding, line++, csv, refusal)) return false;
  }
  for (const QStringList& r : records)
    if (!appendRecord(r, options.encoding, line++, csv, refusal)) return false;
  return true;
}

bool TableBytesToCsv(const TableCodec& codec, const QByteArray& file, const CodecContext& ctx,
                     const CsvOptions& options, QByteArray* csv, CsvRefusal* refusal) {
  if (options.encoding != TextEncoding::Utf8) {
    std::vector<QStringList> rows;
    for (TableRecord& r : codec.decode(file, ctx)) rows.push_back(std::move(r.cells));
    return RecordsToCsv(rows, options, csv, refusal);
  }
  // The byte order mark and the header line, then one record at a time.
  if (!RecordsToCsv({}, options, csv, refusal)) return false;
  int line = options.header.isEmpty() ? 1 : 2;
  // About as many bytes as the file has: grown once or twice at most.
  csv->reserve(csv->size() + file.size() + 4096);
  Utf8CsvLine sink(csv, codec.fieldCount());
  bool written = true;
  codec.forEachRecord(file, [&](const KeptBytes& record) {
    if (!written) return;
    sink.begin();
    codec.decodeInto(record, ctx, sink);
    if (!sink.finish()) {
      written = appendRecord(codec.decodeRecord(record, ctx), options.encoding, line, sink.release(), refusal);
      sink.resume();
    }
    ++line;
  });
  return written;
}

bool TableToCsv(const TableDef& table, const QString& folder, const CsvOptions& options, QByteArray* csv,
                QString* readError, CsvRefusal* refusal) {
  csv->clear();
  readError->clear();
  bool exists = false;
  const QByteArray file = FileStore::disk().read(DataFilePath(folder, table.fileName), &exists, readError);
  // Nothing of a file that cannot be read whole is written.
  if (!readError->isEmpty()) return false;
  if (!table.codec) return RecordsToCsv({}, options, csv, refusal);
  CodecContext ctx;
  ctx.dataFolder = folder;
  ProducerDirectory producers;
  if (table.codec->needsProducers()) {
    producers = ProducerDirectory::load(folder);
    if (!producers.readError().isEmpty()) {
      *readError = producers.readError();
      return false;
    }
    ctx.producers = &producers;
  }
  return TableBytesToCsv(*table.codec, file, ctx, options, csv, refusal);
}

QByteArray RecordsToCsv(const std::vector<QStringList>& records) {
  QByteArray csv;
  CsvRefusal ignored;
  RecordsToCsv(records, CsvOptions{}, &csv, &ignored);  // UTF-8 holds every character
  return csv;
}

namespace {

// The CSV is decoded and read a piece of about this many bytes at a time.
constexpr qsizetype kCsvPiece = 256 * 1024;

// Where the piece from `from` on ends: just after a line end, or where no
// line end comes soon, before a byte below 0x40 (no such byte is part of a
// character of several bytes in UTF-8, GBK or Big5); at the end of the
// bytes at the latest.
qsizetype pieceEnd(QByteArrayView bytes, qsizetype from) {
  if (bytes.size() - from <= kCsvPiece) return bytes.size();
  const QByteArrayView window = bytes.sliced(from, kCsvPiece);
  if (const qsizetype lf = window.lastIndexOf('\n'); lf >= 0) return from + lf + 1;
  for (qsizetype i = kCsvPiece - 1; i > 0; --i)
    if (uchar(window[i]) < 0x40) return from + i;
  // A piece of letters only: on to the next such byte.
  for (qsizetype i = from + kCsvPiece; i < bytes.size(); ++i)
    if (uchar(bytes[i]) < 0x40) return i;
  return bytes.size();
}

}  // namespace

bool CsvToRecords(const QByteArray& csv, int fieldCount, const QString& tableName, const CsvOptions& options,
                  std::vector<QStringList>* records, CsvRefusal* refusal) {
  records->clear();
  QByteArrayView bytes(csv);
  if (bytes.startsWith(kUtf8Bom)) {
    if (options.encoding != TextEncoding::Utf8) {
      *refusal = {1, QStringLiteral("the file starts with a UTF-8 byte order mark, but %1 was asked for")
                         .arg(TextEncodingName(options.encoding))};
      return false;
    }
    bytes = bytes.sliced(3);
  }

  // Each record is checked as its line ends, and the reading stops at the
  // first refusal: nothing after it is decoded or read.
  bool first = true;
  CsvReader reader([&](QStringList& record, int line) {
    if (first) {
      first = false;
      if (!options.knownHeaders.empty()) {
        const QStringList cells = trimmed(record);
        for (const QStringList& h : options.knownHeaders)
          if (trimmed(h) == cells) return true;  // a header line: skipped
      }
    }
    if (record.size() != fieldCount) {
      *refusal = {line, QStringLiteral("%1 fields, %2 has %3 columns").arg(record.size()).arg(tableName).arg(fieldCount)};
      return false;
    }
    if (records->size() >= size_t(kMaxCsvRecords)) {
      *refusal = {line, QStringLiteral("记录过多：最多 %1 条").arg(kMaxCsvRecords)};
      return false;
    }
    for (QString& c : record) c = CsvUnescapeCell(c);
    records->push_back(std::move(record));
    return true;
  });
  auto refused = [&] {
    if (!reader.stopped()) *refusal = {reader.badLine(), reader.reason()};
    records->clear();
    return false;
  };

  QString text;
  int lineEnds = 0;         // '\n' bytes before the piece
  qsizetype lineStart = 0;  // where the line the piece starts in starts
  for (qsizetype from = 0; from < bytes.size();) {
    const qsizetype end = pieceEnd(bytes, from);
    const QByteArrayView piece = bytes.sliced(from, end - from);
    qsizetype badOffset = 0;
    int badLength = 0;
    if (!DecodeStrict(piece, options.encoding, &text, &badOffset, &badLength)) {
      // The records before the bad bytes first: a refusal among them comes first.
      const QByteArrayView before = piece.first(badOffset);
      if (DecodeStrict(before, options.encoding, &text) && !reader.feed(text)) return refused();
      // Line ends are single 0x0A bytes in every encoding here (no trail byte is one).
      const int line = lineEnds + int(before.count('\n')) + 1;
      const qsizetype lf = before.lastIndexOf('\n');
      const qsizetype start = lf >= 0 ? from + lf + 1 : lineStart;
      const qsizetype at = from + badOffset;
      QStringList hex;
      for (int i = 0; i < badLength && at + i < bytes.size(); ++i)
        hex << QStringLiteral("0x") + QString::number(uint(uchar(bytes[at + i])), 16).toUpper().rightJustified(2, u'0');
      const qsizetype fileOffset = at + (csv.size() - bytes.size());
      *refusal = {line, QStringLiteral("byte %1 (offset %2 in the file): %3 is not valid %4")
                            .arg(at - start + 1)
                            .arg(fileOffset)
                            .arg(hex.join(u' '), TextEncodingName(options.encoding))};
      records->clear();
      return false;
    }
    if (!reader.feed(text)) return refused();
    lineEnds += int(piece.count('\n'));
    if (const qsizetype lf = piece.lastIndexOf('\n'); lf >= 0) lineStart = from + lf + 1;
    from = end;
  }
  if (!reader.finish()) return refused();
  if (records->empty() && !options.allowEmpty) {
    *refusal = {0, QStringLiteral("no records: importing it would empty %1")
                       .arg(tableName)};
    return false;
  }
  return true;
}

bool CsvToRecords(const QByteArray& csv, int fieldCount, const QString& tableName,
                  std::vector<QStringList>* records, CsvRefusal* refusal) {
  return CsvToRecords(csv, fieldCount, tableName, CsvOptions{}, records, refusal);
}

void ReplaceRecords(RecordGrid& grid, const std::vector<QStringList>& records,
                    const std::function<void(int done)>& progress) {
  constexpr int kChunk = 2000;
  const int k = grid.fieldCount();
  const int n = grid.recordCount();
  std::vector<std::optional<QString>> keys;
  keys.reserve(size_t(n));
  for (int r = 1; r <= n; ++r) keys.push_back(grid.cell(r, 1));
  const std::vector<int> matched = MatchCsvRows(records, keys);
  std::vector<int> from(records.size(), 0);  // grid rows, 0 for none
  std::vector<bool> used(size_t(n) + 1, false);
  for (size_t j = 0; j < records.size(); ++j)
    if (matched[j] >= 0) used[size_t(from[j] = matched[j] + 1)] = true;
  std::vector<quint64> ids(records.size(), 0);
  for (size_t j = 0; j < records.size(); ++j)
    if (from[j] > 0) ids[j] = grid.recordId(from[j]);

  // The records no CSV row came from go; the others take the CSV's order;
  // the new ones go in at their places.
  std::vector<int> surplus;
  for (int r = 1; r <= n; ++r)
    if (!used[size_t(r)]) surplus.push_back(r);
  if (!surplus.empty()) grid.removeRecords(std::move(surplus));
  std::vector<int> order;
  for (quint64 id : ids)
    if (id != 0) order.push_back(grid.rowOfId(id));
  grid.applyOrder(order);
  std::vector<RecordGrid::PlacedRecord> extra;
  for (size_t j = 0; j < records.size(); ++j)
    if (from[j] == 0) extra.push_back({int(j) + 1, RecordGrid::Row(records[j]), 0});
  if (!extra.empty()) grid.insertRecords(std::move(extra));

  // Then only the cells whose text differs are set.
  const int total = int(records.size());
  for (int first = 0; first < total; first += kChunk) {
    std::vector<RecordGrid::CellEdit> edits;
    for (int r = first; r < std::min(total, first + kChunk); ++r) {
      if (from[size_t(r)] == 0) continue;  // went in as it is
      for (int c = 1; c <= k; ++c) {
        const QString text = records[size_t(r)].value(c - 1);
        // A cell the CSV gives back as it was exported (a code without its
        // trailing zero bytes) is left as it is.
        const QString now = grid.cell(r + 1, c);
        if (now != text && CsvUnescapeCell(CsvEscapeCell(now)) != text) edits.push_back({r + 1, c, text});
      }
    }
    if (!edits.empty()) grid.setCells(edits);
    if (progress) progress(std::min(total, first + kChunk));
  }
  if (progress) progress(total);
}

QString CsvEscapeCell(const QString& cell) {
  // A code's trailing zero bytes are dropped (the save pads with zeros again).
  qsizetype end = cell.size();
  while (end > 0 && cell[end - 1] == QChar(u'\0')) --end;
  bool plain = true;
  for (qsizetype i = 0; i < end && plain; ++i)
    plain = cell[i] != u'\\' && cell[i] != QChar(u'\0') && !cell[i].isHighSurrogate();
  if (plain) return end == cell.size() ? cell : cell.left(end);
  QString out;
  out.reserve(end + 8);
  for (qsizetype i = 0; i < end; ++i) {
    const QChar c = cell[i];
    if (c == u'\\') {
      out += QStringLiteral("\\\\");
    } else if (c == QChar(u'\0')) {
      out += hexByte(0);
    } else if (c.isHighSurrogate() && i + 1 < end && IsByteCharacter(QChar::surrogateToUcs4(c, cell[i + 1]))) {
      out += hexByte(QChar::surrogateToUcs4(c, cell[i + 1]) & 0xFF);
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

QString CsvUnescapeCell(const QString& text) {
  if (!text.contains(u'\\')) return text;
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == u'\\' && i + 1 < text.size() && text[i + 1] == u'\\') {
      out += c;
      ++i;
    } else if (c == u'\\' && i + 3 < text.size() && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
               hexDigit(text[i + 2]) >= 0 && hexDigit(text[i + 3]) >= 0) {
      const uint b = uint(hexDigit(text[i + 2]) * 16 + hexDigit(text[i + 3]));
      if (b < 0x80) {
        out += QChar(char16_t(b));  // a zero byte, or a byte that is a character of its own
      } else {
        const char32_t bc = ByteCharacter(uchar(b));
        out += QString::fromUcs4(&bc, 1);
      }
      i += 3;
    } else {
      out += c;  // any other backslash stands for itself
    }
  }
  return out;
}

std::vector<int> MatchCsvRows(const std::vector<QStringList>& rows, const std::vector<std::optional<QString>>& keys) {
  QHash<QString, std::vector<int>> byKey;
  for (size_t i = 0; i < keys.size(); ++i)
    if (keys[i]) byKey[CsvUnescapeCell(CsvEscapeCell(*keys[i]))].push_back(int(i));
  QHash<QString, size_t> seen;
  std::vector<int> from(rows.size(), -1);
  std::vector<bool> used(keys.size(), false);
  for (size_t j = 0; j < rows.size(); ++j) {
    const QString key = rows[j].value(0);
    const size_t occurrence = seen[key]++;
    const auto it = byKey.constFind(key);
    if (it != byKey.constEnd() && occurrence < it->size()) used[size_t(from[j] = (*it)[occurrence])] = true;
  }
  for (size_t j = 0; j < rows.size() && j < keys.size(); ++j)
    if (from[j] < 0 && keys[j] && !used[j]) {
      from[j] = int(j);
      used[j] = true;
    }
  return from;
}

std::vector<TableRecord> MatchCsvRecords(std::vector<QStringList> rows, const std::vector<TableRecord>& existing) {
  // Only a record read from the file has bytes worth finding.
  std::vector<std::optional<QString>> keys;
  keys.reserve(existing.size());
  for (const TableRecord& r : existing) keys.push_back(r.isKept() ? std::optional<QString>(r.cell(1)) : std::nullopt);
  const std::vector<int> from = MatchCsvRows(rows, keys);
  std::vector<TableRecord> out;
  out.reserve(rows.size());
  for (size_t j = 0; j < rows.size(); ++j) {
    QStringList& cells = rows[j];
    if (from[j] < 0) {
      out.emplace_back(std::move(cells));
      continue;
    }
    TableRecord record = existing[size_t(from[j])];
    for (qsizetype c = 0; c < cells.size() && c < record.cells.size(); ++c) {
      // A cell the CSV gives back as it was exported stays as it is (as
      // read, for a record not edited since), as ReplaceRecords leaves it.
      const QString& now = record.cells[c];
      if (cells[c] == now || cells[c] == CsvUnescapeCell(CsvEscapeCell(now))) continue;
      record.cells[c] = cells[c];
    }
    out.push_back(std::move(record));
  }
  return out;
}

std::vector<QStringList> HeaderLinesOfBothScripts(const LanguageFile& texts,
                                                  const std::function<QStringList(const LanguageFile&)>& header) {
  std::vector<QStringList> lines;
  auto take = [&lines](const QStringList& h) {
    bool any = false;
    for (const QString& t : h) any = any || !t.trimmed().isEmpty();
    if (any && std::find(lines.begin(), lines.end(), h) == lines.end()) lines.push_back(h);
  };
  auto both = [&](const QStringList& h) {
    take(h);
    QStringList traditional;
    for (const QString& t : h) traditional << ToTraditional(t);
    take(traditional);
  };
  if (texts.isNone()) {
    both(header(texts));
    return lines;
  }
  for (const Script script : {Script::Simplified, Script::Traditional}) both(header(texts.withScript(script)));
  return lines;
}

std::vector<QStringList> HeaderLinesOfBothScripts(const LanguageFile& texts, const QString& caption, int columnCount) {
  return HeaderLinesOfBothScripts(texts, [&](const LanguageFile& file) { return file.headers(caption, columnCount); });
}

}  // namespace v3
