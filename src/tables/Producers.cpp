#include "tables/Producers.h"

#include "tables/Slots.h"
#include "text/Big5.h"
#include "text/Convert.h"
#include "text/DiskFile.h"

namespace v3 {

ProducerDirectory ProducerDirectory::load(const QString& dataFolder) {
  bool exists = false;
  QByteArray bytes;
  QString error;
  if (!disk::Read(DataFilePath(dataFolder, QStringLiteral("Producer.tab")), &bytes, &exists, &error)) {
    ProducerDirectory d;
    d.readError_ = error;
    return d;
  }
  return fromBytes(bytes);
}

ProducerDirectory ProducerDirectory::fromBytes(const QByteArray& bytes) {
  ProducerDirectory d;
  const ByteReader in(bytes);
  const int count = in.recordCount();
  for (int k = 0; k < count; ++k) {
    const qint64 at = 12 + qint64(k) * 36;
    if (at >= bytes.size()) break;  // nothing past the end of the file can be a producer
    d.entries_.append({in.s32(at), TrimRight(DecodeBig5Text(in.bytes(at + 4, 12)))});
  }
  return d;
}

QString ProducerDirectory::nameById(int64_t id) const {
  if (id == 0) return QString();
  for (const Entry& e : entries_)
    if (e.id == id) return e.name;
  return QString::number(id);
}

bool ProducerDirectory::idByName(const QString& name, int64_t* id) const {
  if (name.isEmpty()) {
    *id = 0;
    return true;
  }
  for (const Entry& e : entries_)
    if (e.name == name) {
      *id = e.id;
      return true;
    }
  if (IsPlainInteger(name, id)) return true;
  for (const Entry& e : entries_)
    if (e.name.startsWith(name)) {
      *id = e.id;
      return true;
    }
  return false;
}

}  // namespace v3
