#include "tables/Slots.h"

#include "text/DiskFile.h"

#include "tables/Table.h"

#include <cstring>

namespace v3 {

QByteArray ByteReader::bytes(qint64 at, qint64 count) const {
  QByteArray out(count, '\0');
  if (at < 0 || count <= 0) return out;
  const qint64 available = std::min<qint64>(count, data_.size() - at);
  if (available > 0) std::memcpy(out.data(), data_.constData() + at, size_t(available));
  return out;
}

QByteArray KeptBytes::bytes(qint64 at, qint64 count) const {
  QByteArray out(std::max<qint64>(count, 0), '\0');
  copyTo(out.data(), at, count);
  return out;
}

void KeptBytes::copyTo(char* dest, qint64 at, qint64 count) const {
  if (count <= 0) return;
  qint64 available = 0;
  if (at >= 0) {
    const qint64 from = offset_ + at;
    available = std::max<qint64>(0, std::min<qint64>(count, std::min(size_ - at, file_.size() - from)));
    if (available > 0) std::memcpy(dest, file_.constData() + from, size_t(available));
  }
  if (available < count) std::memset(dest + available, 0, size_t(count - available));
}

bool KeptBytes::holds(qint64 at, qint64 count) const {
  return at >= 0 && count >= 0 && at + count <= size_ && offset_ + at + count <= file_.size();
}

void ByteWriter::ensure(qint64 end) {
  const qint64 old = data_.size();
  end = index(end);
  if (end <= old) return;
  data_.resize(end);  // grows the capacity geometrically
  std::memset(data_.data() + old, 0, size_t(end - old));
}

void ByteWriter::put(qint64 at, int64_t value, IntWidth w) {
  const int n = w == IntWidth::U8 ? 1 : w == IntWidth::S16 ? 2 : 4;
  ensure(at + n);
  const uint64_t u = uint64_t(value);
  char* d = data_.data() + index(at);
  for (int i = 0; i < n; ++i) d[i] = char((u >> (8 * i)) & 0xFF);
}

void ByteWriter::putBytes(qint64 at, QByteArrayView bytes) {
  ensure(at + bytes.size());
  if (!bytes.isEmpty()) std::memcpy(data_.data() + index(at), bytes.data(), size_t(bytes.size()));
}

void ByteWriter::putKept(qint64 at, const KeptBytes& kept, qint64 from, qint64 count) {
  if (count <= 0) return;
  ensure(at + count);
  kept.copyTo(data_.data() + index(at), from, count);
}

ByteWriter::ByteWriter(qint64 reserve) {
  data_.reserve(reserve);
  // A whole file's content: large pages, if the system lends them.
  disk::AdviseLargePages(data_.data(), data_.capacity());
}

void ByteWriter::resize(qint64 size) {
  if (size > this->size())
    ensure(size);
  else
    data_.truncate(index(size));
}

void ByteWriter::flush(ByteSink& sink, qint64 end) {
  const qint64 n = index(end);
  if (n <= 0) return;
  ensure(end);
  sink.append(data_.constData(), n);
  // What lies past `end` (a field reaching into the next record) moves to the front.
  const qint64 rest = data_.size() - n;
  if (rest > 0) std::memmove(data_.data(), data_.constData() + n, size_t(rest));
  data_.truncate(rest);
  origin_ = end;
}

void PutFrameHeader(ByteWriter& out, int count, int recordSize) {
  // Each value is written as 16 bits; the slots' high halves stay zero.
  out.resize(std::max<qint64>(out.size(), 12));
  out.put(0, 1010, IntWidth::S16);
  out.put(4, count, IntWidth::S16);
  out.put(8, recordSize, IntWidth::S16);
}

QString TrimRight(const QString& text) { return text.left(TrimmedRight(text).size()); }

}  // namespace v3
