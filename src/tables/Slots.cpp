#include "tables/Slots.h"

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

void KeptBytes::copyPartTo(char* dest, qint64 at, qint64 count) const {
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

void ByteWriter::makeRoom(qint64 end) {
  // Within the room already there the length is only set; past it, Qt
  // grows the room geometrically.
  data_.resize(std::max<qint64>(end, data_.capacity()));
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
  // Written at the end, every new byte is the copy's: none needs zeroing first.
  ensure(at + count, index(at) != size_);
  kept.copyTo(data_.data() + index(at), from, count);
}

ByteWriter::ByteWriter(qint64 reserve) { data_.reserve(reserve); }

void ByteWriter::resize(qint64 size) {
  if (size > this->size())
    ensure(size);
  else
    size_ = index(size);
}

void ByteWriter::flush(ByteSink& sink, qint64 end) {
  const qint64 n = index(end);
  if (n <= 0) return;
  ensure(end);
  sink.append(data_.constData(), n);
  // What lies past `end` (a field reaching into the next record) moves to the front.
  const qint64 rest = size_ - n;
  if (rest > 0) std::memmove(data_.data(), data_.constData() + n, size_t(rest));
  size_ = rest;
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
