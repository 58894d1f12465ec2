#pragma once
#include <QHash>
#include <QString>
#include <QVector>
#include <cstdint>
#include <memory>
#include <mutex>

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
  // otherwise nothing, and the cell shows the number.
  const QString* shownName(int64_t id) const;
  // Empty text gives 0. An exact name first, then a plain decimal number as
  // that number, then the first producer (file order) whose name begins with the text.
  bool idByName(const QString& name, int64_t* id) const;

  int size() const { return int(index().entries.size()); }
  const QString& readError() const { return readError_; }

 private:
  struct Entry {
    int64_t id;
    QString name;
    bool firstOfName = false;  // no earlier producer has the name
  };
  // The producers and, for the lookups a table of many records makes, the
  // first producer of each number and each name.
  struct Index {
    QVector<Entry> entries;
    QHash<int64_t, qsizetype> firstById;
    QHash<quint64, qsizetype> firstByNameHash;  // by a hash of the name
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
