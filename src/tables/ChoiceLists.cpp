#include "tables/ChoiceLists.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <vector>

#include "tables/Slots.h"
#include "tables/Tables.h"
#include "text/Big5.h"
#include "text/DiskFile.h"
#include "text/Ini.h"
#include "text/Places.h"

namespace v3 {
namespace {

constexpr qint64 kHeaderSize = 12;
constexpr qint64 kProducerRecordSize = 36;
constexpr qint64 kStarRecordSize = 360;
constexpr qint64 kTeamRecordSize = 60;
constexpr qint64 kListedNameBytes = 8;  // the star and team lists show the first 8 bytes of a name

// The start of a Big5 text of at most maxBytes that ends on a character
// boundary (a lead byte 0x81..0xFE takes the byte after it).
QByteArray cutBig5(const QByteArray& bytes, qsizetype maxBytes) {
  qsizetype i = 0;
  while (i < bytes.size() && bytes[i] != '\0') {
    const uchar c = uchar(bytes[i]);
    const qsizetype len = (c >= 0x81 && c <= 0xFE) ? 2 : 1;
    if (i + len > maxBytes) break;
    i += len;
  }
  return bytes.left(i);
}

// How many of the header's records start inside the file.
int listedRecords(const ByteReader& in, qint64 recordSize) {
  const qint64 inFile = in.size() <= kHeaderSize ? 0 : (in.size() - kHeaderSize + recordSize - 1) / recordSize;
  return int(std::min<qint64>(in.recordCount(), inFile));
}

QStringList namesAt(const QByteArray& file, qint64 recordSize, qint64 nameOffset) {
  const ByteReader in(file);
  const int count = listedRecords(in, recordSize);
  QStringList names;
  names.reserve(count);
  for (int k = 0; k < count; ++k) {
    const qint64 at = kHeaderSize + k * recordSize + nameOffset;
    names << TrimRight(DecodeBig5Text(cutBig5(in.bytes(at, kListedNameBytes), kListedNameBytes)));
  }
  return names;
}

// The data file's bytes; empty when it does not exist or cannot be read
// whole (a list is never filled from part of a file). Opened for reading
// only, so a missing file stays missing.
QByteArray readDataFile(const QString& programFolder, const QString& fileName) {
  QByteArray bytes;
  bool exists = false;
  if (!disk::Read(DataFilePath(ChoiceListDataFolder(programFolder), fileName), &bytes, &exists, nullptr)) return {};
  return bytes;
}

}  // namespace

QStringList ProducerListFromFile(const QByteArray& producerTab) {
  // Entry p is producer p, whatever order the file lists its producers in;
  // numbers are 16-bit, so the list never has more than 32768 entries.
  const ByteReader in(producerTab);
  const int count = listedRecords(in, kProducerRecordSize);
  std::vector<int> numbers;
  QStringList names;
  int highest = -1;
  for (int k = 0; k < count; ++k) {
    const qint64 at = kHeaderSize + k * kProducerRecordSize;
    numbers.push_back(in.s16(at));
    names << TrimRight(DecodeBig5Text(in.bytes(at + 4, 12)));
    highest = std::max(highest, numbers.back());
  }
  QStringList list(highest + 1);
  std::vector<bool> taken(size_t(highest + 1), false);
  for (int k = 0; k < count; ++k) {
    const int number = numbers[size_t(k)];
    if (number < 0 || taken[size_t(number)]) continue;  // the first producer with a number keeps its place
    taken[size_t(number)] = true;
    list[number] = names[k];
  }
  return list;
}

QStringList StarListFromFile(const QByteArray& starRole) {
  return namesAt(starRole, kStarRecordSize, StarRoleUsesLayoutA(starRole) ? 20 : 4);
}

QStringList TeamListFromFile(const QByteArray& team) { return namesAt(team, kTeamRecordSize, 4); }

QString ChoiceListDataFolder(const QString& programFolder) {
  const QString config = QDir(ConfigFolder(programFolder)).filePath(QStringLiteral("Config.ini"));
  if (!QFileInfo(config).isFile()) return programFolder;
  return ReadIniValue(QStringLiteral("Config"), QStringLiteral("Path"), programFolder, config);
}

QStringList ProducerList(const QString& programFolder) {
  return ProducerListFromFile(readDataFile(programFolder, QStringLiteral("Producer.tab")));
}

QStringList StarList(const QString& programFolder) {
  return StarListFromFile(readDataFile(programFolder, QStringLiteral("StarRole.dat")));
}

QStringList TeamList(const QString& programFolder) {
  return TeamListFromFile(readDataFile(programFolder, QStringLiteral("Team.dat")));
}

}  // namespace v3
