#include "tables/Producers.h"

#include <algorithm>

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
  d.lazy_ = std::make_shared<Lazy>();
  d.lazy_->bytes = bytes;
  return d;
}

const ProducerDirectory::Index& ProducerDirectory::index() const {
  static const Index none;
  if (!lazy_) return none;
  std::call_once(lazy_->once, [lazy = lazy_.get()] {
    Index& d = lazy->index;
    const QByteArray& bytes = lazy->bytes;
    const ByteReader in(bytes);
    // Nothing past the end of the file can be a producer.
    const int count = int(std::min<qint64>(in.recordCount(), (bytes.size() - 12 + 35) / 36));
    d.entries.reserve(std::max(count, 0));
    for (int k = 0; k < count; ++k) {
      const qint64 at = 12 + qint64(k) * 36;
      const QByteArray room = at + 16 <= bytes.size() ? QByteArray() : in.bytes(at + 4, 12);
      const QByteArrayView name = room.isNull() ? QByteArrayView(bytes.constData() + at + 4, 12) : room;
      d.entries.append({in.s32(at), TrimRight(DecodeBig5Text(name))});
    }
    d.firstById.reserve(d.entries.size());
    d.firstByNameHash.reserve(d.entries.size());
    for (qsizetype i = 0; i < d.entries.size(); ++i) {
      Entry& e = d.entries[i];
      if (!d.firstById.contains(e.id)) d.firstById.insert(e.id, i);
      const quint64 hash = nameHash(e.name);
      const auto first = d.firstByNameHash.constFind(hash);
      const bool inserted = first == d.firstByNameHash.constEnd();
      if (inserted) d.firstByNameHash.insert(hash, i);
      // Two names of one hash: the producers before are looked through.
      e.firstOfName = inserted || (d.entries[*first].name != e.name &&
                                   std::none_of(d.entries.cbegin(), d.entries.cbegin() + i,
                                                [&](const Entry& x) { return x.name == e.name; }));
    }
    lazy->bytes = QByteArray();  // what is left of the file is the index
  });
  return lazy_->index;
}

QString ProducerDirectory::nameById(int64_t id) const {
  if (id == 0) return QString();
  const Index& d = index();
  if (const auto found = d.firstById.constFind(id); found != d.firstById.constEnd()) return d.entries[*found].name;
  return QString::number(id);
}

const QString* ProducerDirectory::shownName(int64_t id) const {
  static const QString none;
  if (id == 0) return &none;
  const Index& d = index();
  const auto found = d.firstById.constFind(id);
  if (found == d.firstById.constEnd()) return nullptr;
  const Entry& e = d.entries[*found];
  return e.firstOfName && !e.name.isEmpty() ? &e.name : nullptr;
}

bool ProducerDirectory::idByName(const QString& name, int64_t* id) const {
  if (name.isEmpty()) {
    *id = 0;
    return true;
  }
  // The first producer whose name has the name's hash has the name, unless
  // two names share the hash: then the producers are looked through.
  const Index& d = index();
  if (const auto found = d.firstByNameHash.constFind(nameHash(name)); found != d.firstByNameHash.constEnd()) {
    if (d.entries[*found].name == name) {
      *id = d.entries[*found].id;
      return true;
    }
    for (const Entry& e : d.entries)
      if (e.name == name) {
        *id = e.id;
        return true;
      }
  }
  if (IsPlainInteger(name, id)) return true;
  for (const Entry& e : d.entries)
    if (e.name.startsWith(name)) {
      *id = e.id;
      return true;
    }
  return false;
}

}  // namespace v3
