// Writes a workbook (XLSX): the few parts of the package written here as
// their XML, the sheet's rows straight from the records (or from the bytes
// of a table's file), deflated into a ZIP archive by ISA-L's igzip, which
// packs a large sheet several times faster than zlib, in stretches packed
// side by side on the processor's cores.
#include <QCoreApplication>

#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <condition_variable>
#include <deque>
#include <limits>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "model/TableIo.h"
#include "storage/FileStore.h"
#include "tables/ChoiceLists.h"
#include "tables/Table.h"
#include "text/DiskFile.h"
#include "tools/CsvCells.h"
#include "tools/DecimalTexts.h"
#include "tools/Workbook.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Tools)
};

// The most characters a cell holds.
constexpr qsizetype kMaxCellText = 32767;

// A plain integer as a number cell writes it back: no leading zero, no
// sign on zero, at most 15 digits (all of them exact in a double).
bool plainInteger(QStringView cell, int64_t* value) {
  qsizetype i = cell.startsWith(u'-') ? 1 : 0;
  const qsizetype digits = cell.size() - i;
  if (digits < 1 || digits > 15 || (cell[i] == u'0' && (digits > 1 || i == 1))) return false;
  for (qsizetype k = i; k < cell.size(); ++k)
    if (cell[k] < u'0' || cell[k] > u'9') return false;
  *value = cell.toLongLong();
  return true;
}

// A text cell's text: the escapes of a CSV cell (a cell that reads as a
// spreadsheet's protection is protected once more, as an import takes it
// off), and the characters XML cannot carry, or would read as another line
// end (a CR), as \xHH.
QString sheetText(const QString& cell) {
  QString t = CsvProtectCell(CsvEscapeCell(cell), false);
  for (qsizetype i = 0; i < t.size(); ++i) {
    const char16_t c = t[i].unicode();
    if ((c < 0x20 && c != u'\t' && c != u'\n') || c == 0xFFFE || c == 0xFFFF) {
      const QString hex = QStringLiteral("\\x") + QString::number(uint(c & 0xFF), 16).toUpper().rightJustified(2, u'0');
      t.replace(i, 1, hex);
      i += hex.size() - 1;
    }
  }
  // A text that reads as OOXML's own escape of a character (_x0041_) has
  // its underscore escaped, as the format asks.
  for (qsizetype at = t.indexOf(QLatin1String("_x")); at >= 0; at = t.indexOf(QLatin1String("_x"), at + 1)) {
    bool hex = at + 6 < t.size() && t[at + 6] == u'_';
    for (qsizetype i = at + 2; hex && i < at + 6; ++i) hex = t[i].unicode() < 128 && isxdigit(t[i].unicode());
    if (hex) {
      t.replace(at, 1, QStringLiteral("_x005F_"));
      at += 6;
    }
  }
  return t;
}

// How many character widths a text takes on the screen: the characters of
// East Asian scripts two, the others one.
int shownWidth(QStringView text) {
  int w = 0;
  for (const QChar c : text) {
    if (c.isLowSurrogate()) continue;
    w += c.unicode() >= 0x1100 && (c.unicode() <= 0x115F || c.unicode() >= 0x2E80) ? 2 : 1;
  }
  return w;
}

// The letters of a column (0-based) in a cell reference.
QByteArray columnLetters(int column) {
  QByteArray letters;
  for (int c = column + 1; c > 0; c = (c - 1) / 26) letters.prepend(char('A' + (c - 1) % 26));
  return letters;
}

// The text as XML character data (or an attribute's value), in UTF-8.
void appendXml(QByteArray& out, QStringView text) {
  const QByteArray utf8 = text.toUtf8();
  for (const char c : utf8) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
}

// Whether sheetText() leaves the text as it is: no character to escape, no
// protection or OOXML escape to protect, no more than a cell holds (and no
// surrogate, which xmlText() leaves to appendXml()).
bool shownAsItIs(QStringView text) {
  if (text.size() > kMaxCellText || text.startsWith(u"=\"")) return false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c < 0x20 ? c != u'\t' && c != u'\n'
                 : c == u'\\' || (c == u'_' && i + 1 < text.size() && text[i + 1] == u'x') ||
                       (c >= 0xD800 && c <= 0xDFFF) || c >= 0xFFFE)
      return false;
  }
  return true;
}

// Writes the text (without surrogates) at d as appendXml() appends it, in
// up to 6 bytes a character; returns the end.
char* xmlText(char* d, QStringView text) {
  for (const QChar qc : text) {
    const char16_t c = qc.unicode();
    if (c < 0x80) {
      switch (c) {
        case u'&': std::memcpy(d, "&amp;", 5), d += 5; break;
        case u'<': std::memcpy(d, "&lt;", 4), d += 4; break;
        case u'>': std::memcpy(d, "&gt;", 4), d += 4; break;
        case u'"': std::memcpy(d, "&quot;", 6), d += 6; break;
        default: *d++ = char(c);
      }
    } else if (c < 0x800) {
      *d++ = char(0xC0 | (c >> 6));
      *d++ = char(0x80 | (c & 0x3F));
    } else {
      *d++ = char(0xE0 | (c >> 12));
      *d++ = char(0x80 | ((c >> 6) & 0x3F));
      *d++ = char(0x80 | (c & 0x3F));
    }
  }
  return d;
}

// Writes the number's decimal text at d; returns the end.
char* decimal(char* d, int64_t value) {
  uint64_t u = value < 0 ? 0 - uint64_t(value) : uint64_t(value);
  if (value < 0) *d++ = '-';
  char digits[20];
  char* p = digits + sizeof digits;
  do {
    *--p = char('0' + u % 10);
    u /= 10;
  } while (u > 0);
  const size_t n = size_t(digits + sizeof digits - p);
  std::memcpy(d, p, n);
  return d + n;
}

// One stretch of a part: its deflated bytes, and the CRC-32 and size of the
// bytes they unpack to. A stretch starts without the bytes before it and
// ends byte-aligned (or as the part's last), so stretches can be packed in
// any order, on any thread, and put one after the other.
struct Stretch {
  QByteArray packed;
  uint32_t crc = 0;
  qint64 size = 0;
};

// Packs stretches with igzip, one at a time (each thread has its own).
class Deflater {
 public:
  // igzip's level 1: a sheet of numbers packs to about an eighth at over
  // 1.2 GB/s a core, within a tenth of the speed of level 0, which leaves
  // a sixth.
  static constexpr int kLevel = 1;

  Deflater() : z_(std::make_unique<isal_zstream>()) {
    if (kLevel > 0) levelBuffer_.resize(ISAL_DEF_LVL1_DEFAULT);
  }

  // The bytes as a stretch, ended as the part's last or not.
  bool pack(QByteArrayView bytes, bool last, Stretch* out) {
    out->crc = crc32_gzip_refl(0, reinterpret_cast<const unsigned char*>(bytes.data()), uint64_t(bytes.size()));
    out->size = bytes.size();
    out->packed.clear();
    isal_zstream& z = *z_;
    isal_deflate_init(&z);
    z.level = kLevel;
    if (kLevel > 0) {
      z.level_buf = levelBuffer_.data();
      z.level_buf_size = uint32_t(levelBuffer_.size());
    }
    z.gzip_flag = IGZIP_DEFLATE;
    z.flush = NO_FLUSH;
    z.next_in = reinterpret_cast<uint8_t*>(const_cast<char*>(bytes.data()));
    z.avail_in = uint32_t(bytes.size());
    if (!run(out->packed, false)) return false;
    z.flush = last ? NO_FLUSH : SYNC_FLUSH;
    z.end_of_stream = last;
    if (!run(out->packed, true)) return false;
    out->packed.squeeze();  // the room left over
    return true;
  }

 private:
  bool run(QByteArray& packed, bool ending) {
    isal_zstream& z = *z_;
    for (;;) {
      const qsizetype at = packed.size();
      const qsizetype room = std::max<qsizetype>(65536, qsizetype(z.avail_in) / 2);
      packed.resize(at + room);
      z.next_out = reinterpret_cast<uint8_t*>(packed.data() + at);
      z.avail_out = uint32_t(room);
      const int r = isal_deflate(&z);
      const uint32_t left = z.avail_out;
      packed.truncate(packed.size() - qsizetype(left));
      if (r != COMP_OK) return false;
      const bool done = z.avail_in == 0 && left > 0 &&
                        (!ending || (z.end_of_stream ? z.internal_state.state == ZSTATE_END
                                                     : z.internal_state.state == ZSTATE_NEW_HDR));
      if (done) return true;
    }
  }

  std::unique_ptr<isal_zstream> z_;  // large (igzip's window and hash): on the heap
  std::vector<uint8_t> levelBuffer_;
};

// A ZIP archive made in memory: each part's deflated stretches after its
// local header, the central directory at the end. Times are left at
// 1980-01-01, so the same content gives the same bytes.
class ZipArchive {
 public:
  // A part from its stretches, the last ended as the last. False when it
  // cannot be written (a part or an archive past 4 GiB needs ZIP64).
  bool add(const char* name, const std::vector<const Stretch*>& stretches) {
    Entry e{QByteArray(name), 0, 0, 0, uint32_t(size_)};
    qint64 size = 0, packed = 0;
    for (const Stretch* s : stretches) {
      e.crc = uint32_t(crc32_combine(e.crc, s->crc, z_off_t(s->size)));
      size += s->size;
      packed += s->packed.size();
    }
    if (size_ + packed > kLimit || size > kLimit) return false;
    e.size = uint32_t(size);
    e.packed = uint32_t(packed);
    QByteArray header;
    put32(header, 0x04034b50);
    put16(header, 20);  // version needed: 2.0
    put16(header, 0);
    put16(header, 8);     // deflated
    put16(header, 0);     // time
    put16(header, 0x21);  // date: 1980-01-01
    put32(header, e.crc), put32(header, e.packed), put32(header, e.size);
    put16(header, uint16_t(e.name.size()));
    put16(header, 0);
    header += e.name;
    append(std::move(header));
    for (const Stretch* s : stretches) append(s->packed);
    entries_.push_back(e);
    return true;
  }
  // The deflater of the thread that makes the archive.
  Deflater& deflater() { return deflater_; }
  // A small part, packed at once.
  bool add(const char* name, QByteArrayView bytes) {
    Stretch s;
    return deflater_.pack(bytes, true, &s) && add(name, {&s});
  }

  // The archive, its central directory written: into *archive, or piece
  // by piece to `write` (and *archive left empty).
  bool finish(QByteArray* archive, const XlsxWriter& write) {
    const qint64 directory = size_;
    QByteArray d;
    for (const Entry& e : entries_) {
      put32(d, 0x02014b50);
      put16(d, 0x031E);  // made by: 3.0 on Unix
      put16(d, 20);
      put16(d, 0);
      put16(d, 8);
      put16(d, 0);
      put16(d, 0x21);
      put32(d, e.crc), put32(d, e.packed), put32(d, e.size);
      put16(d, uint16_t(e.name.size()));
      put16(d, 0), put16(d, 0), put16(d, 0), put16(d, 0);  // extra, comment, disk, internal attributes
      put32(d, 0100644u << 16);                            // a regular file, rw-r--r--
      put32(d, e.offset);
      d += e.name;
    }
    const qint64 end = directory + d.size();
    if (end > kLimit) return false;
    put32(d, 0x06054b50);
    put16(d, 0), put16(d, 0);
    put16(d, uint16_t(entries_.size())), put16(d, uint16_t(entries_.size()));
    put32(d, uint32_t(end - directory)), put32(d, uint32_t(directory));
    put16(d, 0);
    append(std::move(d));
    archive->clear();
    if (write) {
      for (const QByteArray& piece : pieces_) write(piece);
    } else {
      // The pieces copied once, into an archive of their size.
      archive->reserve(qsizetype(size_));
      for (const QByteArray& piece : pieces_) archive->append(piece);
    }
    pieces_.clear();
    return true;
  }

 private:
  static constexpr qint64 kLimit = 0xFFFFFFFFll;
  struct Entry {
    QByteArray name;
    uint32_t crc, packed, size, offset;
  };

  // Pieces share their bytes (QByteArray's implicit sharing) until finish().
  void append(QByteArray piece) {
    size_ += piece.size();
    pieces_.push_back(std::move(piece));
  }
  static void put16(QByteArray& out, uint16_t v) {
    const char b[2] = {char(v & 0xFF), char(v >> 8)};
    out.append(b, 2);
  }
  static void put32(QByteArray& out, uint32_t v) {
    const char b[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
    out.append(b, 4);
  }

  std::vector<QByteArray> pieces_;
  qint64 size_ = 0;
  Deflater deflater_;
  std::vector<Entry> entries_;
};

// Packs a large part's stretches as they are made, on worker threads and
// on the thread that makes them: each stretch is packed on its own, so the
// packed bytes do not depend on which thread packed which stretch. A few
// buffers go round between the maker and the packers; when none is free,
// the maker packs the oldest waiting stretch itself rather than wait.
class StretchPacker {
 public:
  // `deflater` is the maker's own.
  explicit StretchPacker(Deflater& deflater) : deflater_(deflater) {
    const unsigned cores = std::thread::hardware_concurrency();
    workers_ = int(std::clamp(cores, 2u, kMaxWorkers + 1) - 1);
  }
  StretchPacker(const StretchPacker&) = delete;
  StretchPacker& operator=(const StretchPacker&) = delete;
  ~StretchPacker() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    for (std::thread& t : threads_) t.join();
  }

  // Takes the first `used` bytes of the buffer as the next stretch (the
  // last one when `last`, which returns once all are packed). Every
  // stretch ends byte-aligned: the part's tail follows. Gives back a buffer
  // to fill next: one of those handed over before, or an empty one (for a
  // new buffer, or after the last).
  QByteArray submit(QByteArray buffer, qsizetype used, bool last) {
    std::unique_lock<std::mutex> lock(mutex_);
    pieces_.push_back(std::make_unique<Piece>());
    Piece& p = *pieces_.back();
    p.input = std::move(buffer);
    p.used = used;
    p.last = last;
    waiting_.push_back(&p);
    if (last) {
      // The stretches that wait are packed here too, while the workers
      // finish theirs.
      while (!waiting_.empty()) packOldest(lock, deflater_);
      changed_.wait(lock, [this] { return packing_ == 0; });
      return {};
    }
    if (threads_.empty())
      for (int i = 0; i < workers_; ++i) threads_.emplace_back([this] { work(); });
    changed_.notify_one();
    ++handedOver_;
    for (;;) {
      if (!free_.empty()) {
        QByteArray b = std::move(free_.back());
        free_.pop_back();
        --handedOver_;
        return b;
      }
      if (handedOver_ < workers_ + 2) return {};
      if (!waiting_.empty())
        packOldest(lock, deflater_);
      else
        changed_.wait(lock);
    }
  }
  // The stretches in order, once the last was submitted; false when one
  // could not be packed.
  bool stretches(std::vector<const Stretch*>* out) const {
    for (const auto& p : pieces_) out->push_back(&p->stretch);
    return ok_;
  }

 private:
  static constexpr unsigned kMaxWorkers = 7;

  struct Piece {
    QByteArray input;
    qsizetype used = 0;
    bool last = false;
    Stretch stretch;
  };

  // Packs the oldest waiting stretch, the lock let go meanwhile; its buffer
  // is then free for the maker.
  void packOldest(std::unique_lock<std::mutex>& lock, Deflater& deflater) {
    Piece* p = waiting_.front();
    waiting_.pop_front();
    ++packing_;
    lock.unlock();
    const bool packed = deflater.pack(QByteArrayView(p->input.constData(), p->used), false, &p->stretch);
    lock.lock();
    ok_ = ok_ && packed;
    --packing_;
    if (!p->last) free_.push_back(std::move(p->input));
    p->input = QByteArray();
    changed_.notify_all();
  }
  void work() {
    Deflater deflater;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return !waiting_.empty() || stop_; });
      if (waiting_.empty()) return;
      packOldest(lock, deflater);
    }
  }

  int workers_ = 1;
  Deflater& deflater_;  // the maker's
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::unique_ptr<Piece>> pieces_;
  std::deque<Piece*> waiting_;
  std::vector<QByteArray> free_;
  int handedOver_ = 0;  // the maker's buffers the packers hold (waiting, being packed or free)
  int packing_ = 0;
  bool ok_ = true, stop_ = false;
  std::vector<std::thread> threads_;
};

// How wide each column is shown: fitted to its header and cells, within
// bounds (in character widths, the margin left out).
class ColumnWidths {
 public:
  explicit ColumnWidths(const std::vector<SheetColumn>& columns) : widths_(columns.size(), 4) {
    for (size_t c = 0; c < columns.size(); ++c) text(int(c), columns[c].header);
  }
  void text(int column, QStringView text) {
    if (column < 0 || size_t(column) >= widths_.size()) return;
    if (int& w = widths_[size_t(column)]; w < 60 && text.size() * 2 > w) w = std::max(w, shownWidth(text));
  }
  void number(int column, int length) {
    if (column < 0 || size_t(column) >= widths_.size()) return;
    if (int& w = widths_[size_t(column)]; w < 60) w = std::max(w, length);
  }
  int operator[](size_t column) const { return std::min(widths_[column], 60); }
  size_t size() const { return widths_.size(); }

 private:
  std::vector<int> widths_;
};

// The cells of the numbers 0..9999: one copy writes one.
constexpr auto kSmallNumberCells = DecimalTexts<23>("<c><v>", "</v></c>");

// The <sheetData> rows of a sheet, handed to the archive in parts as they
// grow. A cell that follows an empty one names its place, the others
// follow in order.
class SheetRows {
 public:
  // How a text cell is shown: as it is (the sheet of lists), formatted as
  // text, or as a header.
  enum class Style { Plain, Text, Header };

  SheetRows(const std::vector<SheetColumn>& columns, StretchPacker& out, ColumnWidths& widths)
      : columns_(columns), out_(out), widths_(widths), longest_(columns.size(), 0) {
    for (const SheetColumn& c : columns) numberColumn_.push_back(c.number);
    buffer_.resize(kChunk + 4096);
    base_ = buffer_.data();
  }

  int rowCount() const { return row_; }
  // The first problem: the cell's row and column, and the reason.
  const QString& problem() const { return problem_; }

  void put(QByteArrayView bytes) {
    std::memcpy(room(bytes.size()), bytes.data(), size_t(bytes.size()));
    used_ += bytes.size();
  }
  void beginRow() {
    ++row_;
    rowStart_ = used_;
    next_ = 0;
    char* d = room(32);
    std::memcpy(d, "<row r=\"", 8);
    d = decimal(d + 8, row_);
    std::memcpy(d, "\">", 2);
    used_ = d + 2 - base_;
  }
  void endRow() {
    put("</row>");
    if (used_ >= kChunk) flush();
  }

  // Takes the row back (the record's cells come again another way).
  void dropRow() {
    used_ = rowStart_;
    --row_;
  }
  // The rows so far to the packer, as a stretch of the sheet; the last
  // waits for all to be packed.
  void flush(bool last = false) {
    buffer_ = out_.submit(std::move(buffer_), used_, last);
    used_ = 0;
    if (!last && buffer_.size() < kChunk + 4096) buffer_.resize(kChunk + 4096);
    base_ = buffer_.data();
  }
  // Whether a cell for this column is the next in order (or after a gap).
  bool inOrder(int column) const { return column >= next_ && column < int(columns_.size()); }

  // A cell as a row of records has it: a plain integer in a number column
  // as a number, anything else as text; an empty one is left out.
  void cell(int column, QStringView text) {
    int64_t value = 0;
    if (columns_[size_t(column)].number && plainInteger(text, &value))
      number(column, value);
    else
      this->text(column, text, Style::Text);
  }
  void text(int column, QStringView text, Style style) {
    if (text.isEmpty()) return;
    widths_.text(column, text);
    if (shownAsItIs(text)) {
      shownText(column, text, style, true);
      return;
    }
    const QString shown = sheetText(text.toString());
    // A code of zero bytes only is an empty cell, as in a CSV (a save pads it again).
    if (shown.isEmpty()) return;
    if (shown.size() > kMaxCellText && shown.toUcs4().size() > kMaxCellText) {
      if (problem_.isEmpty())
        problem_ = Texts::tr("row %1, column %2: ").arg(row_).arg(column + 1) +
                   Texts::tr("the text is longer than the %1 characters a cell holds").arg(kMaxCellText);
      return;
    }
    shownText(column, shown, style, false);
  }
  // A number the codec read: a number cell in a number column (of at most
  // 15 digits), text in any other.
  void number(int column, int64_t value) {
    constexpr int64_t kExact = 999999999999999;
    if (!columns_[size_t(column)].number || value > kExact || value < -kExact) {
      text(column, QString::number(value), Style::Text);
      return;
    }
    char* d = room(64);
    if (column != next_)
      d = reference(d, column);
    else
      *d++ = '<', *d++ = 'c';
    std::memcpy(d, "><v>", 4);
    char* const digits = d + 4;
    d = decimal(digits, value);
    longest_[size_t(column)] = std::max(longest_[size_t(column)], int(d - digits));
    std::memcpy(d, "</v></c>", 8);
    used_ = d + 8 - base_;
    next_ = column + 1;
  }
  // The numbers of `count` columns from `column` on (all in order), each as
  // number() writes it; those of 0..9999 in a number column from a table.
  void numbers(int column, const int64_t* values, int count) {
    if (count > 0 && column != next_) {
      number(column++, *values++);
      --count;
    }
    char* d = room(qsizetype(sizeof(kSmallNumberCells[0])) * count + 64);
    for (int i = 0; i < count; ++i, ++column) {
      const int64_t v = values[i];
      if (numberColumn_[size_t(column)] && v >= 0 && v < kDecimalTexts) {
        const auto& e = kSmallNumberCells[size_t(v)];
        std::memcpy(d, e.text, sizeof e.text);
        d += e.length;
        // The cell's text without <c><v> and </v></c>.
        longest_[size_t(column)] = std::max(longest_[size_t(column)], int(e.length) - 14);
        continue;
      }
      used_ = d - base_;
      next_ = column;
      number(column, v);
      d = room(qsizetype(sizeof(kSmallNumberCells[0])) * (count - i) + 64);
    }
    used_ = d - base_;
    next_ = column;
  }
  // The widths of the numbers written go to the columns' widths.
  ~SheetRows() {
    for (size_t c = 0; c < longest_.size(); ++c)
      if (longest_[c] > 0) widths_.number(int(c), longest_[c]);
  }

 private:
  // A stretch of about this size goes to the packers at a time: it stays
  // in the processor's cache while it is made and packed, and a sheet of
  // such stretches packs to within half a percent of one packed whole.
  static constexpr qsizetype kChunk = 1024 * 1024;

  // A text cell of the text as it is shown (`plain`: as shownAsItIs()
  // finds it).
  void shownText(int column, QStringView shown, Style style, bool plain) {
    open(column);
    put(style == Style::Plain  ? QByteArrayView(" t=\"inlineStr\"><is><t")
        : style == Style::Text ? QByteArrayView(" s=\"1\" t=\"inlineStr\"><is><t")
                               : QByteArrayView(" s=\"2\" t=\"inlineStr\"><is><t"));
    const bool spaced = shown.front().isSpace() || shown.back().isSpace();
    put(spaced ? QByteArrayView(" xml:space=\"preserve\">") : QByteArrayView(">"));
    if (plain) {
      used_ = xmlText(room(shown.size() * 6), shown) - base_;
    } else {
      QByteArray xml;
      appendXml(xml, shown);
      put(xml);
    }
    put("</t></is></c>");
  }
  // "<c" and, after a gap, the cell's place.
  void open(int column) {
    char* d = room(32);
    if (column != next_)
      d = reference(d, column);
    else
      *d++ = '<', *d++ = 'c';
    used_ = d - base_;
    next_ = column + 1;
  }
  char* reference(char* d, int column) {
    const QByteArray letters = columnLetters(column);
    std::memcpy(d, "<c r=\"", 6);
    d += 6;
    std::memcpy(d, letters.constData(), size_t(letters.size()));
    d = decimal(d + letters.size(), row_);
    *d++ = '"';
    return d;
  }
  // Room for `n` more bytes after the used ones.
  char* room(qsizetype n) {
    if (used_ + n > buffer_.size()) {
      buffer_.resize(std::max<qsizetype>(2 * buffer_.size(), used_ + n));
      base_ = buffer_.data();
    }
    return base_ + used_;
  }

  const std::vector<SheetColumn>& columns_;
  StretchPacker& out_;
  ColumnWidths& widths_;
  std::vector<int> longest_;  // per column: the longest number written
  std::vector<char> numberColumn_;
  QByteArray buffer_;
  char* base_ = nullptr;
  qsizetype used_ = 0, rowStart_ = 0;
  int row_ = 0, next_ = 0;
  QString problem_;
};

// A table's records as the codec hands over their cells, into the rows.
class SheetRowSink final : public CellSink {
 public:
  explicit SheetRowSink(SheetRows& rows) : rows_(rows) {}
  void begin() {
    ok_ = true;
    rows_.beginRow();
  }
  // Ends the row; false, with nothing of it written, when the record's
  // cells came out of order (it is written from its cells then).
  bool finish() {
    if (!ok_) {
      rows_.dropRow();
      return false;
    }
    rows_.endRow();
    return true;
  }
  void number(int column, int64_t value) override {
    if (ok_ && (ok_ = rows_.inOrder(column - 1))) rows_.number(column - 1, value);
  }
  void numbers(int first, const int64_t* values, int count) override {
    if (ok_ && (ok_ = count > 0 && rows_.inOrder(first - 1) && rows_.inOrder(first + count - 2)))
      rows_.numbers(first - 1, values, count);
  }
  void text(int column, QStringView text) override {
    if (ok_ && (ok_ = rows_.inOrder(column - 1))) rows_.cell(column - 1, text);
  }
  void word(int column, const QString& text) override {
    if (ok_ && (ok_ = rows_.inOrder(column - 1))) rows_.cell(column - 1, text);
  }

 private:
  SheetRows& rows_;
  bool ok_ = true;
};

// The width a column is given for `characters` digits, as spreadsheet
// programs store it: the digits of the default font (7 pixels each) and
// 5 pixels of margin, in 1/256 of a digit.
double fileWidth(int characters) {
  const double width = characters + 2.0;
  return double(int((width * 7 + 5) / 7 * 256)) / 256;
}

const char kXmlHead[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const char kMainNs[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char kRelNs[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// The sheet's part before its rows: the frozen header row, the columns'
// widths (a text column formatted as text).
QByteArray sheetHead(bool frozen, const ColumnWidths& widths, const std::vector<SheetColumn>* columns) {
  QByteArray x = kXmlHead;
  x += QByteArray("<worksheet xmlns=\"") + kMainNs + "\" xmlns:r=\"" + kRelNs + "\">";
  if (columns) {
    x += frozen
             ? "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"><pane ySplit=\"1\" topLeftCell=\"A2\" "
               "activePane=\"bottomLeft\" state=\"frozen\"/><selection pane=\"bottomLeft\"/></sheetView></sheetViews>"
             : "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>";
  }
  x += "<sheetFormatPr defaultRowHeight=\"15\"/>";
  if (columns && widths.size() > 0) {
    x += "<cols>";
    for (size_t c = 0; c < widths.size(); ++c) {
      const QByteArray n = QByteArray::number(qulonglong(c + 1));
      x += "<col min=\"" + n + "\" max=\"" + n + "\" width=\"" + QByteArray::number(fileWidth(widths[c]), 'g', 17) +
           "\"" + ((*columns)[c].number ? "" : " style=\"1\"") + " customWidth=\"1\"/>";
    }
    x += "</cols>";
  }
  return x + "<sheetData>";
}

// The sheet's part after its rows: each column's list (on the sheet of
// lists) or the range of its numbers, for the rows from `first` on.
QByteArray sheetTail(const std::vector<SheetColumn>* columns, int first) {
  QByteArray x = "</sheetData>";
  QByteArray rules;
  int count = 0, listColumn = 0;
  for (size_t c = 0; columns && c < columns->size(); ++c) {
    const SheetColumn& col = (*columns)[c];
    const QByteArray letters = columnLetters(int(c));
    const QByteArray range =
        letters + QByteArray::number(first + 1) + ':' + letters + QByteArray::number(kMaxSheetRows);
    if (!col.choices.isEmpty()) {
      const QByteArray list = columnLetters(listColumn++);
      // A value without a word only warns: it is stored as its number.
      rules +=
          "<dataValidation type=\"list\" errorStyle=\"warning\" allowBlank=\"1\" showInputMessage=\"1\" "
          "showErrorMessage=\"1\" sqref=\"" +
          range + "\"><formula1>Lists!$" + list + "$1:$" + list + '$' + QByteArray::number(col.choices.size()) +
          "</formula1></dataValidation>";
    } else if (col.number) {
      rules +=
          "<dataValidation type=\"whole\" allowBlank=\"1\" showInputMessage=\"1\" showErrorMessage=\"1\" sqref=\"" +
          range + "\"><formula1>" + QByteArray::number(qlonglong(col.min)) + "</formula1><formula2>" +
          QByteArray::number(qlonglong(col.max)) + "</formula2></dataValidation>";
    } else {
      continue;
    }
    ++count;
  }
  if (count > 0) x += "<dataValidations count=\"" + QByteArray::number(count) + "\">" + rules + "</dataValidations>";
  return x +
         "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" "
         "footer=\"0.3\"/></worksheet>";
}

// A sheet's name as the workbook can hold it: at most 31 characters,
// none of []:*?/\.
QString sheetName(const QString& name) {
  QString n = name.left(31);
  for (QChar& c : n)
    if (QStringLiteral("[]:*?/\\").contains(c)) c = u'_';
  return n.isEmpty() ? QStringLiteral("Sheet1") : n;
}

// The small parts around the sheet: the package's types and relations, the
// workbook with its sheets (the one of lists hidden), the styles (1: text,
// 2: a bold header that is text).
bool writePackage(ZipArchive& zip, const QString& name, bool hasLists) {
  QByteArray types = kXmlHead;
  types +=
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Override PartName=\"/xl/workbook.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
      "<Override PartName=\"/xl/styles.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>";
  for (int s = 1; s <= (hasLists ? 2 : 1); ++s)
    types += "<Override PartName=\"/xl/worksheets/sheet" + QByteArray::number(s) +
             ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
  types += "</Types>";

  const QByteArray rels = QByteArray(kXmlHead) +
                          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                          "<Relationship Id=\"rId1\" Type=\"" +
                          kRelNs +
                          "/officeDocument\" Target=\"xl/workbook.xml\"/>"
                          "</Relationships>";

  QByteArray book = QByteArray(kXmlHead) + "<workbook xmlns=\"" + kMainNs + "\" xmlns:r=\"" + kRelNs +
                    "\"><bookViews><workbookView activeTab=\"0\"/></bookViews><sheets><sheet name=\"";
  appendXml(book, sheetName(name));
  book += "\" sheetId=\"1\" r:id=\"rId1\"/>";
  if (hasLists) book += "<sheet name=\"Lists\" sheetId=\"2\" state=\"hidden\" r:id=\"rId2\"/>";
  book += "</sheets></workbook>";

  QByteArray bookRels =
      QByteArray(kXmlHead) + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  for (int s = 1; s <= (hasLists ? 2 : 1); ++s)
    bookRels += "<Relationship Id=\"rId" + QByteArray::number(s) + "\" Type=\"" + kRelNs +
                "/worksheet\" Target=\"worksheets/sheet" + QByteArray::number(s) + ".xml\"/>";
  bookRels +=
      QByteArray("<Relationship Id=\"rId3\" Type=\"") + kRelNs + "/styles\" Target=\"styles.xml\"/></Relationships>";

  const QByteArray styles =
      QByteArray(kXmlHead) + "<styleSheet xmlns=\"" + kMainNs +
      "\"><fonts count=\"2\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font>"
      "<font><b/><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font></fonts>"
      "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/>"
      "</fill></fills><borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
      "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
      "<cellXfs count=\"3\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
      "<xf numFmtId=\"49\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/>"
      "<xf numFmtId=\"49\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\" "
      "applyFont=\"1\"/>"
      "</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
      "</styleSheet>";

  return zip.add("[Content_Types].xml", types) && zip.add("_rels/.rels", rels) && zip.add("xl/workbook.xml", book) &&
         zip.add("xl/_rels/workbook.xml.rels", bookRels) && zip.add("xl/styles.xml", styles);
}

// A sheet: its head (which needs the widths its rows found), its rows as
// `write` makes them, its tail.
bool writeSheet(ZipArchive& zip, const char* name, const std::vector<SheetColumn>& columns,
                const std::function<QByteArray(const ColumnWidths&)>& head, const QByteArray& tail,
                const std::function<void(SheetRows&)>& write, QString* problem) {
  ColumnWidths widths(columns);
  StretchPacker rows(zip.deflater());
  bool ok = true;
  {
    SheetRows sheet(columns, rows, widths);
    write(sheet);
    sheet.flush(true);
    ok = sheet.rowCount() <= kMaxSheetRows;
    if (problem) *problem = sheet.problem();
  }
  Stretch first, last;
  std::vector<const Stretch*> stretches{&first};
  ok = rows.stretches(&stretches) && ok;
  stretches.push_back(&last);
  return ok && zip.deflater().pack(head(widths), false, &first) && zip.deflater().pack(tail, true, &last) &&
         zip.add(name, stretches);
}

// The hidden sheet of lists: one column per column with choices.
bool writeLists(ZipArchive& zip, const std::vector<SheetColumn>& columns) {
  std::vector<SheetColumn> listColumns;
  qsizetype longest = 0;
  for (const SheetColumn& col : columns)
    if (!col.choices.isEmpty()) {
      listColumns.push_back(SheetColumn{});
      longest = std::max(longest, col.choices.size());
    }
  return writeSheet(
      zip, "xl/worksheets/sheet2.xml", listColumns,
      [](const ColumnWidths& widths) { return sheetHead(false, widths, nullptr); }, sheetTail(nullptr, 0),
      [&](SheetRows& sheet) {
        for (qsizetype i = 0; i < longest; ++i) {
          sheet.beginRow();
          size_t l = 0;
          for (const SheetColumn& col : columns)
            if (!col.choices.isEmpty()) {
              if (i < col.choices.size()) sheet.text(int(l), col.choices[i], SheetRows::Style::Plain);
              ++l;
            }
          sheet.endRow();
        }
      },
      nullptr);
}

// The workbook of the rows `write` makes after the header row.
bool makeWorkbook(const std::vector<SheetColumn>& columns, const QString& name,
                  const std::function<void(SheetRows&)>& write, QByteArray* xlsx, const XlsxWriter& out,
                  QString* error) {
  bool named = false, hasLists = false;
  for (const SheetColumn& c : columns) {
    named = named || !c.header.trimmed().isEmpty();
    hasLists = hasLists || !c.choices.isEmpty();
  }
  ZipArchive zip;
  QString problem;
  const bool ok = writePackage(zip, name, hasLists) &&
                  writeSheet(
                      zip, "xl/worksheets/sheet1.xml", columns,
                      [&](const ColumnWidths& widths) { return sheetHead(named, widths, &columns); },
                      sheetTail(&columns, named ? 1 : 0),
                      [&](SheetRows& sheet) {
                        if (named) {
                          sheet.beginRow();
                          for (size_t c = 0; c < columns.size(); ++c)
                            sheet.text(int(c), columns[c].header, SheetRows::Style::Header);
                          sheet.endRow();
                        }
                        write(sheet);
                      },
                      &problem) &&
                  (!hasLists || writeLists(zip, columns));
  // Nothing is handed out of a workbook that cannot be written whole.
  const bool finished = ok && problem.isEmpty() && zip.finish(xlsx, out);
  if (!problem.isEmpty()) {
    *error = Texts::tr("the workbook cannot be written: %1%2").arg(problem, QString());
    return false;
  }
  if (!finished) *error = Texts::tr("the workbook cannot be made");
  return finished;
}

}  // namespace

std::vector<SheetColumn> SheetColumns(const ToolTable& table, const QString& folder) {
  const QStringList header = table.header();
  std::vector<SheetColumn> columns(size_t(table.fieldCount()));
  QStringList producers;
  bool producersRead = false;
  for (int c = 1; c <= table.fieldCount(); ++c) {
    SheetColumn& col = columns[size_t(c - 1)];
    col.header = header.value(c - 1);
    if (table.standalone) {
      // Every value of a standalone table is a number but a sign's name.
      col.number = !(table.standalone->kind == StandaloneKind::Cons && c == 1);
      col.min = -2147483647 - 1;
      col.max = 2147483647;
      continue;
    }
    const ColumnShape shape = table.grid->codec->columnShape(c);
    col.number = shape.kind == ColumnShape::Kind::Number;
    col.min = shape.min;
    col.max = shape.max;
    col.choices = shape.choices;
    if (shape.producerChoices) {
      if (!producersRead) {
        bool exists = false;
        QString error;
        const QByteArray tab =
            FileStore::disk().read(DataFilePath(folder, QStringLiteral("Producer.tab")), &exists, &error);
        for (const QString& name : ProducerListFromFile(tab))
          if (!name.isEmpty() && !producers.contains(name)) producers << name;
        producersRead = true;
      }
      col.choices = producers;
    }
  }
  return columns;
}

bool RecordsToXlsx(const std::vector<QStringList>& records, const std::vector<SheetColumn>& columns,
                   const QString& sheetName, QByteArray* xlsx, QString* error) {
  const int k = int(columns.size());
  return makeWorkbook(
      columns, sheetName,
      [&](SheetRows& sheet) {
        for (const QStringList& record : records) {
          sheet.beginRow();
          for (int c = 0; c < k && c < record.size(); ++c) sheet.cell(c, record[c]);
          sheet.endRow();
        }
      },
      xlsx, {}, error);
}

bool TableToXlsx(const ToolTable& table, const QString& folder, Script systemScript, QByteArray* xlsx,
                 QString* readError, QString* error, const XlsxWriter& write) {
  readError->clear();
  if (!table.grid || !table.grid->codec) {
    std::vector<QStringList> rows;
    bool exists = false;
    if (!table.read(folder, systemScript, &rows, &exists, readError) ||
        !RecordsToXlsx(rows, SheetColumns(table, folder), table.fileName(), xlsx, error))
      return false;
    if (write) {
      write(*xlsx);
      xlsx->clear();
    }
    return true;
  }
  const TableCodec& codec = *table.grid->codec;
  CodecContext ctx(systemScript, folder);
  ProducerDirectory producers;
  if (codec.needsProducers()) {
    producers = ProducerDirectory::load(folder);
    if (!producers.readError().isEmpty()) {
      *readError = producers.readError();
      return false;
    }
    ctx.producers = &producers;
  }
  const std::vector<SheetColumn> columns = SheetColumns(table, folder);
  const int k = int(columns.size());
  // The records as the file is read, a piece at a time where it can be.
  bool read = true;
  const XlsxWriter whole = [&](QByteArrayView piece) {
    if (read) write(piece);
  };
  const bool made = makeWorkbook(
      columns, table.fileName(),
      [&](SheetRows& sheet) {
        SheetRowSink sink(sheet);
        read = ForEachRecordInFile(
            codec, DataFilePath(folder, table.fileName()),
            [&](const KeptBytes& record) {
              sink.begin();
              codec.decodeInto(record, ctx, sink);
              if (sink.finish()) return;
              // Cells out of column order: the record's row as a load shows it.
              const QStringList cells = codec.decodeRecord(record, ctx);
              sheet.beginRow();
              for (int c = 0; c < k && c < cells.size(); ++c) sheet.cell(c, cells[c]);
              sheet.endRow();
            },
            readError);
      },
      xlsx, write ? whole : XlsxWriter(), error);
  // Nothing of a file that cannot be read whole is written.
  if (!read) xlsx->clear();
  return made && read;
}

}  // namespace v3
