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
  if (at < 0 || count <= 0) return out;
  const qint64 from = offset_ + at;
  const qint64 available = std::min<qint64>(count, std::min(size_ - at, file_.size() - from));
  if (available > 0) std::memcpy(out.data(), file_.constData() + from, size_t(available));
  return out;
}

bool KeptBytes::holds(qint64 at, qint64 count) const {
  return at >= 0 && count >= 0 && at + count <= size_ && offset_ + at + count <= file_.size();
}

void ByteWriter::ensure(qint64 end) {
  if (end > data_.size()) data_.append(QByteArray(end - data_.size(), '\0'));
}

void ByteWriter::put(qint64 at, int64_t value, IntWidth w) {
  const int n = w == IntWidth::U8 ? 1 : w == IntWidth::S16 ? 2 : 4;
  ensure(at + n);
  const uint64_t u = uint64_t(value);
  for (int i = 0; i < n; ++i) data_[at + i] = char((u >> (8 * i)) & 0xFF);
}

void ByteWriter::putBytes(qint64 at, QByteArrayView bytes) {
  ensure(at + bytes.size());
  if (!bytes.isEmpty()) std::memcpy(data_.data() + at, bytes.data(), size_t(bytes.size()));
}

void ByteWriter::resize(qint64 size) {
  if (size > data_.size())
    ensure(size);
  else
    data_.truncate(size);
}

void PutFrameHeader(ByteWriter& out, int count, int recordSize) {
  // Each value is written as 16 bits; the slots' high halves stay zero.
  out.resize(std::max<qint64>(out.size(), 12));
  out.put(0, 1010, IntWidth::S16);
  out.put(4, count, IntWidth::S16);
  out.put(8, recordSize, IntWidth::S16);
}

QString TrimRight(const QString& text) {
  qsizetype n = text.size();
  while (n > 0 && text[n - 1] == u' ') --n;
  return text.left(n);
}

}  // namespace v3
