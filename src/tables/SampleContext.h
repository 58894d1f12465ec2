#pragma once
#include <QString>
#include <QStringList>

#include <random>
#include <vector>

namespace v3 {

// What the sample generator knows while it writes a data folder: every table
// gets `records` records, StarRole.dat and Team.dat as many, so members and
// artists can point at real star positions; Producer.tab numbers its
// producers 1..records.
class SampleContext {
 public:
  SampleContext(unsigned seed, int records);

  int records() const { return records_; }
  unsigned seed() const { return seed_; }
  std::mt19937& rng() { return rng_; }
  int between(int lo, int hi);  // inclusive
  bool chance(int percent);

  // A Traditional Chinese text from the pool for `kind` whose Big5 form fits maxBytes.
  QString text(const char* kind, int maxBytes);
  // The same, filled with further characters to exactly `bytes` Big5 bytes
  // (for fields whose load keeps trailing blanks); `bytes` is even.
  QString filledText(const char* kind, int bytes);
  // Job identifiers "A001"... of at most `width` single-byte characters.
  QString code(const QString& prefix, int number, int width);
  // The five-byte job code of the case file's job `number` (1..32767), the
  // same for every number, distinct for distinct numbers: most fill the
  // field ("CD007"), every third below 1000 is shorter so that the field
  // keeps zero bytes after it ("CD99"); from 1000 on a letter and two digits
  // or capitals follow the prefix ("CDA00").
  static QString jobCode(const QString& prefix, int number);
  QString producerName(int number) const;  // the name Producer.tab gives number 1..records
  QString starName(int position) const;    // name of StarRole.dat record position + 1

  // Year words in the grid's form.
  QString yearText();

 private:
  std::mt19937 rng_;
  unsigned seed_;
  int records_;
};

}  // namespace v3
