#pragma once
#include <QByteArray>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <cstring>

#include "text/Convert.h"

namespace v3 {

class KeptBytes;

// Reads little-endian values at byte offsets of a file's content. Bytes past
// the end of the file read as zero, so a short file never fails a load.
class ByteReader {
 public:
  explicit ByteReader(const QByteArray& bytes) : data_(bytes) {}

  uint8_t u8(qint64 at) const { return at >= 0 && at < data_.size() ? uint8_t(data_[at]) : 0; }
  int16_t s16(qint64 at) const { return int16_t(uint16_t(u8(at) | (u8(at + 1) << 8))); }
  int32_t s32(qint64 at) const {
    return int32_t(uint32_t(u8(at)) | (uint32_t(u8(at + 1)) << 8) | (uint32_t(u8(at + 2)) << 16) |
                   (uint32_t(u8(at + 3)) << 24));
  }
  int64_t read(qint64 at, IntWidth w) const {
    switch (w) {
      case IntWidth::U8: return u8(at);
      case IntWidth::S16: return s16(at);
      case IntWidth::S32: return s32(at);
    }
    return 0;
  }
  // `count` bytes from `at`, zero-filled past the end.
  QByteArray bytes(qint64 at, qint64 count) const;

  // The header's record count: the first two bytes of the count slot, signed;
  // a negative count means no records.
  int recordCount() const { return std::max<int>(0, s16(4)); }
  qint64 size() const { return data_.size(); }

 private:
  const QByteArray& data_;
};

// Builds a file's new content in memory, at offsets into the whole file.
// flush() hands the bytes before an offset on to a sink and forgets them,
// so a codec that writes the file front to back holds only what it has not
// finished yet (one record); a writer never flushed holds the whole content.
class ByteWriter {
 public:
  explicit ByteWriter(qint64 reserve = 0);
  explicit ByteWriter(QByteArray start) : data_(std::move(start)), size_(data_.size()) {}

  // Starts an empty writer's content at `at`, as if what lies before had been flushed.
  void startAt(qint64 at) {
    Q_ASSERT(size_ == 0);
    origin_ = at;
  }

  // Writes the value's low bytes (1, 2 or 4) at the offset, growing the content with zeros.
  void put(qint64 at, int64_t value, IntWidth w);
  void putBytes(qint64 at, QByteArrayView bytes);
  // `count` of a record's kept bytes from `from`, zero past the end of its file.
  void putKept(qint64 at, const KeptBytes& kept, qint64 from, qint64 count);
  void resize(qint64 size);  // extends with zeros or cuts
  qint64 size() const { return origin_ + size_; }
  // Hands the content's bytes up to `end` (zeros past what was written) to
  // the sink; nothing may be written before `end` after that.
  void flush(class ByteSink& sink, qint64 end);
  // The whole content, when nothing was flushed.
  QByteArray take() {
    data_.truncate(size_);
    size_ = 0;
    return std::move(data_);
  }
  QByteArrayView bytes() const { return QByteArrayView(data_.constData(), size_); }

 private:
  // Room for the content up to `end`, the new bytes zero unless `zeroed` is
  // false (a caller that writes every one of them); the index of `end` in data_.
  qint64 ensure(qint64 end, bool zeroed = true) {
    end = index(end);
    if (end > size_) {
      if (end > data_.size()) makeRoom(end);
      if (zeroed) std::memset(data_.data() + size_, 0, size_t(end - size_));
      size_ = end;
    }
    return end;
  }
  void makeRoom(qint64 end);
  qint64 index(qint64 at) const {
    Q_ASSERT(at >= origin_);
    return at - origin_;
  }
  // The content is data_'s first size_ bytes: data_ is only ever made
  // longer, so that writing a record does not resize it again and again.
  QByteArray data_;
  qint64 size_ = 0;
  qint64 origin_ = 0;  // the offset of data_[0] in the content
};

// The little-endian number of the width at p.
inline int64_t ReadLittleEndian(const uchar* p, IntWidth w) {
  switch (w) {
    case IntWidth::U8: return p[0];
    case IntWidth::S16: return int16_t(uint16_t(p[0] | (p[1] << 8)));
    case IntWidth::S32: break;
  }
  return int32_t(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24));
}

// Writes the 12-byte header of a framed file: tag 1010, count, record size,
// each a signed 16-bit value in its 4-byte slot.
void PutFrameHeader(ByteWriter& out, int count, int recordSize);

// Removes trailing blanks (the game pads with spaces only).
QString TrimRight(const QString& text);
// The same as a view of the text.
inline QStringView TrimmedRight(QStringView text) {
  qsizetype n = text.size();
  while (n > 0 && text[n - 1] == u' ') --n;
  return text.first(n);
}

}  // namespace v3
