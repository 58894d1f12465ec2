#pragma once
// The star positions of Team.dat and Firm.dat as the tests read them from
// the files' bytes, with the layouts written out here, not through the codecs.
#include <QByteArray>

namespace v3test {

// Where each position reference lies in its file: record size, slot offset,
// bytes read (little-endian, signed).
struct Slot {
  const char* table;
  int column;
  int recordSize, offset, width;
};
inline constexpr Slot kPositionSlots[] = {
    {"Team.dat", 3, 60, 24, 2},  {"Team.dat", 4, 60, 28, 2},  {"Team.dat", 5, 60, 32, 2},  {"Team.dat", 6, 60, 36, 2},
    {"Firm.dat", 4, 112, 44, 4}, {"Firm.dat", 5, 112, 48, 4}, {"Firm.dat", 6, 112, 52, 4}, {"Firm.dat", 7, 112, 56, 4},
    {"Firm.dat", 8, 112, 60, 4}, {"Firm.dat", 9, 112, 64, 4},
};

inline qint64 ReadInt(const QByteArray& file, qint64 at, int width) {
  qint64 v = 0;
  for (int i = width - 1; i >= 0; --i) v = (v << 8) | quint8(file.at(at + i));
  const qint64 sign = qint64(1) << (8 * width - 1);
  return (v ^ sign) - sign;
}
// The record count of the file's header.
inline int Count(const QByteArray& file) { return int(ReadInt(file, 4, 2)); }
// The slot's value in record `record` (0-based).
inline qint64 SlotValue(const QByteArray& file, const Slot& s, int record) {
  return ReadInt(file, 12 + qint64(record) * s.recordSize + s.offset, s.width);
}
// A star's number (record offset 0, 16 bits): the star's identity here.
inline qint64 StarNumber(const QByteArray& stars, qint64 position) { return ReadInt(stars, 12 + 360 * position, 2); }

}  // namespace v3test
