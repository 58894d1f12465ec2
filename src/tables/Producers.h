#pragma once
#include <QHash>
#include <QString>
#include <QStringView>
#include <QVector>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace v3 {

// The producers of Producer.tab, read once per load or save of a table that
// shows producers by name (number at record offset 0, 12-byte Big5 name at
// offset 4, records 36 bytes apart from offset 12, as many as the header counts).
class ProducerDirectory {
 public:
  // A Producer.tab that exists but cannot be read gives no producers and
  // readError() tells why; a missing one gives no producers and no error.
  static ProducerDirectory load(const QString& dataFolder);
  static ProducerDirectory fromBytes(const QByteArray& producerTab);

  // Empty text for 0; the producer's name; a number that no producer has as its decimal text.
  QString nameById(int64_t id) const;
  // What a cell of the number shows: the producer's name when that name is
  // read back as the same number (the name of the first producer of the
  // number, not empty, and no earlier producer's), empty text for 0;
  // otherwise nothing, and the cell shows the number. The name lasts as
  // long as this directory or a copy of it.
  std::optional<QStringView> shownName(int64_t id) const;
  // Empty text gives 0. An exact name first, then a plain decimal number as
  // that number, then the first producer (file order) whose name begins with the text.
  bool idByName(const QString& name, int64_t* id) const;

  int size() const { return int(index().entries.size()); }
  const QString& readError() const { return readError_; }

 private:
  struct Entry {
    int64_t id;
    qsizetype at;              // the name's place in Index::names
    qsizetype size;            // and its length
    bool firstOfName = false;  // no earlier producer has the name
  };
  // The producers and, for the lookups a table of many records makes, the
  // first producer of each number and each name.
  struct Index {
    QVector<Entry> entries;
    QString names;  // every producer's name, one after another
    // The first producer of each number: by the number's place after the
    // lowest when the numbers lie close together (as a game's producers,
    // numbered from 1 on, do), otherwise by the number.
    int64_t lowestId = 0;
    std::vector<qsizetype> firstByPlace;  // -1: no producer has the number
    QHash<int64_t, qsizetype> firstById;
    // The first producer of each hash of a name, in an open-addressed table
    // of (hash, producer + 1), a power of two long; 0 marks a free place.
    std::vector<std::pair<quint64, qsizetype>> firstByNameHash;

    QStringView name(const Entry& e) const { return QStringView(names).sliced(e.at, e.size); }
    qsizetype first(int64_t id) const;  // -1 for none
    // The place of the hash in firstByNameHash: its entry, or the free place it would take.
    size_t place(quint64 hash) const;
  };
  // The file's bytes, turned into the index when a name or number is first
  // looked up (a load or save whose producer cells are never read pays nothing
  // more); copies share both.
  struct Lazy {
    QByteArray bytes;
    std::once_flag once;
    Index index;
  };
  const Index& index() const;
  std::shared_ptr<Lazy> lazy_;
  QString readError_;
};

}  // namespace v3
