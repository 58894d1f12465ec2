#include "tables/Producers.h"

#include <algorithm>
#include <bit>

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
    const int count = std::max(int(std::min<qint64>(in.recordCount(), (bytes.size() - 12 + 35) / 36)), 0);
    d.entries.reserve(count);
    d.names.reserve(qsizetype(count) * 6);
    QString name;
    for (int k = 0; k < count; ++k) {
      const qint64 at = 12 + qint64(k) * 36;
      const QByteArray room = at + 16 <= bytes.size() ? QByteArray() : in.bytes(at + 4, 12);
      DecodeBig5TextInto(room.isNull() ? QByteArrayView(bytes.constData() + at + 4, 12) : room, &name);
      const QStringView trimmed = TrimmedRight(name);
      d.entries.append({in.s32(at), d.names.size(), trimmed.size()});
      d.names.append(trimmed);
    }
    if (count > 0) {
      const auto [lowest, highest] = std::minmax_element(d.entries.cbegin(), d.entries.cend(),
                                                         [](const Entry& a, const Entry& b) { return a.id < b.id; });
      if (uint64_t(highest->id) - uint64_t(lowest->id) < 4 * uint64_t(count) + 64) {
        d.lowestId = lowest->id;
        d.firstByPlace.assign(size_t(highest->id - lowest->id) + 1, -1);
      } else {
        d.firstById.reserve(count);
      }
    }
    d.firstByNameHash.resize(std::bit_ceil(2 * size_t(count) + 2));
    for (qsizetype i = 0; i < d.entries.size(); ++i) {
      Entry& e = d.entries[i];
      if (!d.firstByPlace.empty()) {
        qsizetype& first = d.firstByPlace[size_t(e.id - d.lowestId)];
        if (first < 0) first = i;
      } else if (!d.firstById.contains(e.id)) {
        d.firstById.insert(e.id, i);
      }
      const quint64 hash = nameHash(d.name(e));
      auto& [h, first] = d.firstByNameHash[d.place(hash)];
      const bool inserted = first == 0;
      if (inserted) h = hash, first = i + 1;
      // Two names of one hash: the producers before are looked through.
      e.firstOfName = inserted || (d.name(d.entries[first - 1]) != d.name(e) &&
                                   std::none_of(d.entries.cbegin(), d.entries.cbegin() + i,
                                                [&](const Entry& x) { return d.name(x) == d.name(e); }));
    }
    lazy->bytes = QByteArray();  // what is left of the file is the index
  });
  return lazy_->index;
}

qsizetype ProducerDirectory::Index::first(int64_t id) const {
  if (!firstByPlace.empty()) {
    const uint64_t place = uint64_t(id) - uint64_t(lowestId);
    return place < firstByPlace.size() ? firstByPlace[size_t(place)] : -1;
  }
  const auto found = firstById.constFind(id);
  return found == firstById.constEnd() ? -1 : *found;
}

size_t ProducerDirectory::Index::place(quint64 hash) const {
  const size_t mask = firstByNameHash.size() - 1;
  // The hash's high bits, which FNV mixes best, pick the first place to look.
  for (size_t p = size_t((hash * 0x9E3779B97F4A7C15u) >> 32) & mask;; p = (p + 1) & mask)
    if (firstByNameHash[p].second == 0 || firstByNameHash[p].first == hash) return p;
}

QString ProducerDirectory::nameById(int64_t id) const {
  if (id == 0) return QString();
  const Index& d = index();
  if (const qsizetype found = d.first(id); found >= 0) return d.name(d.entries[found]).toString();
  return QString::number(id);
}

std::optional<QStringView> ProducerDirectory::shownName(int64_t id) const {
  if (id == 0) return QStringView();
  const Index& d = index();
  const qsizetype found = d.first(id);
  if (found < 0) return std::nullopt;
  const Entry& e = d.entries[found];
  if (!e.firstOfName || e.size == 0) return std::nullopt;
  return d.name(e);
}

bool ProducerDirectory::idByName(const QString& name, int64_t* id) const {
  if (name.isEmpty()) {
    *id = 0;
    return true;
  }
  // The first producer whose name has the name's hash has the name, unless
  // two names share the hash: then the producers are looked through.
  const Index& d = index();
  if (d.firstByNameHash.empty()) return IsPlainInteger(name, id);
  const quint64 hash = nameHash(name);
  if (const auto& [h, first] = d.firstByNameHash[d.place(hash)]; first > 0) {
    if (d.name(d.entries[first - 1]) == name) {
      *id = d.entries[first - 1].id;
      return true;
    }
    for (const Entry& e : d.entries)
      if (d.name(e) == name) {
        *id = e.id;
        return true;
      }
  }
  if (IsPlainInteger(name, id)) return true;
  for (const Entry& e : d.entries)
    if (d.name(e).startsWith(name)) {
      *id = e.id;
      return true;
    }
  return false;
}

}  // namespace v3
