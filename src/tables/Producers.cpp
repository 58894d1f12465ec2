#include "tables/Producers.h"

#include "tables/Slots.h"
#include "text/Big5.h"
#include "text/Convert.h"
#include "text/DiskFile.h"

namespace v3 {

namespace {

// FNV-1a over the name's UTF-16 units.
uint64_t nameHash(QStringView name) {
  uint64_t h = 14695981039346656037u;
  for (const QChar c : name) h = (h ^ c.unicode()) * 1099511628211u;
  return h;
}

}  // namespace

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
  d.firstById_.reserve(d.entries_.size());
  for (qsizetype i = 0; i < d.entries_.size(); ++i) {
    const Entry& e = d.entries_[i];
    if (!d.firstById_.contains(e.id)) d.firstById_.insert(e.id, i);
    d.firstByNameHash_.try_emplace(nameHash(e.name), i);
  }
  return d;
}

QString ProducerDirectory::nameById(int64_t id) const {
  if (id == 0) return QString();
  if (const auto found = firstById_.constFind(id); found != firstById_.constEnd()) return entries_[*found].name;
  return QString::number(id);
}

bool ProducerDirectory::idByName(const QString& name, int64_t* id) const {
  if (name.isEmpty()) {
    *id = 0;
    return true;
  }
  // The first producer whose name has the name's hash has the name, unless
  // two names share the hash: then the producers are looked through.
  if (const auto found = firstByNameHash_.find(nameHash(name)); found != firstByNameHash_.end()) {
    if (entries_[found->second].name == name) {
      *id = entries_[found->second].id;
      return true;
    }
    for (const Entry& e : entries_)
      if (e.name == name) {
        *id = e.id;
        return true;
      }
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
