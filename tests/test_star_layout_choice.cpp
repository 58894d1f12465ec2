// StarRole.dat's layout is chosen from every record the file holds; the
// choice, which looks at the bytes in place, must be the one that decoding
// each record's name and reading each slot on its own gives, for files of
// every kind: clean records of either layout, noise, cut records, headers
// that count more or fewer records than there are.
#include <QtTest>

#include <random>

#include "TestSupport.h"
#include "model/TableIo.h"
#include "tables/RunPieces.h"
#include "tables/Tables.h"
#include "text/Big5.h"

using namespace v3;
using namespace v3test;

namespace {

struct Layout {
  int name;
  int sex;
  std::vector<int> numbers;  // offsets of the other number slots
};

Layout layoutA() {
  Layout l{20, 4, {0, 8, 12, 16}};
  for (int c = 7; c <= 79; ++c) l.numbers.push_back(68 + 4 * (c - 7));
  return l;
}
Layout layoutB() {
  Layout l{4, 24, {0, 28, 32, 36}};
  for (int at = 60; at < 116; at += 4) l.numbers.push_back(at);
  for (int at = 124; at < 360; at += 4) l.numbers.push_back(at);
  return l;
}

int s16(const QByteArray& f, qint64 at) {
  auto u8 = [&](qint64 i) { return i < f.size() ? uint8_t(f[i]) : 0; };
  return int16_t(uint16_t(u8(at) | (u8(at + 1) << 8)));
}
QByteArray bytesAt(const QByteArray& f, qint64 at, int n) { return f.mid(at, n).leftJustified(n, '\0', true); }

bool controlText(const QByteArray& bytes) {
  const QString text = DecodeBig5Text(bytes);
  if (ContainsByteCharacters(text)) return true;
  for (QChar c : text)
    if (c.unicode() < 0x20) return true;
  return false;
}

qint64 misfit(const QByteArray& f, qint64 base, const Layout& l) {
  qint64 score = 0;
  const QByteArray name = bytesAt(f, base + l.name, 20);
  qsizetype end = name.indexOf('\0');
  if (end < 0) end = name.size();
  if (controlText(name.left(end))) score += 2;
  if (name.mid(end).count('\0') != name.size() - end) score += 1;
  const int sex = s16(f, base + l.sex);
  if (sex != 0 && sex != 1) score += 4;
  if (s16(f, base + l.sex + 2) != 0) score += 1;
  for (int at : l.numbers)
    if (s16(f, base + at + 2) != 0) score += 1;
  return score;
}

bool canBeName(const QByteArray& f, qint64 at) {
  const QByteArray field = bytesAt(f, at, 20);
  qsizetype end = field.indexOf('\0');
  if (end < 0) end = field.size();
  return field.mid(end).count('\0') == field.size() - end && !controlText(field.left(end));
}

// The misfits against layouts A and B, record by record and slot by slot.
std::pair<qint64, qint64> ReferenceMisfits(const QByteArray& f) {
  const qint64 n = std::max(0, s16(f, 4));
  const qint64 inFile = f.size() <= 12 ? 0 : (f.size() - 12 + 359) / 360;
  qint64 a = 0, b = 0;
  for (qint64 k = 0; k < std::min(n, inFile); ++k) {
    a += misfit(f, 12 + 360 * k, layoutA());
    b += misfit(f, 12 + 360 * k, layoutB());
  }
  return {a, b};
}

// The choice they make.
bool ReferenceLayoutA(const QByteArray& f) {
  const auto [a, b] = ReferenceMisfits(f);
  if (a != b) return a < b;
  if (s16(f, 16) == 1) return true;
  if (s16(f, 36) == 1) return false;
  return !canBeName(f, 16) && canBeName(f, 32);
}

QByteArray cleanRecord(std::mt19937& rng, const Layout& l) {
  static const char* names[] = {"林心怡", "陳", "王小明abc", "", "周杰倫", "a,b"};
  QByteArray r(360, '\0');
  Put(r, 0, Le(rng() % 32767, 2));
  Put(r, l.sex, Le(rng() % 2, 2));
  Put(r, l.name, EncodeBig5Text(QString::fromUtf8(names[rng() % 6])).bytes.left(20));
  for (int at : l.numbers)
    if (at) Put(r, at, Le(int16_t(rng() % 200) - 20, 2));
  return r;
}

}  // namespace

class StarLayoutChoiceTest : public QObject {
  Q_OBJECT
 private slots:
  void sameChoiceAsRecordByRecord_data() {
    QTest::addColumn<unsigned>("seed");
    for (unsigned seed = 1; seed <= 12; ++seed) QTest::addRow("seed %u", seed) << seed;
  }
  void sameChoiceAsRecordByRecord() {
    QFETCH(unsigned, seed);
    std::mt19937 rng(seed);
    int chosenA = 0;
    int& guessedOtherwise = guessedOtherwise_;
    for (int file = 0; file < 400; ++file) {
      // A few files of many records, which are weighed in pieces and halves.
      const int records = file < 2 ? 8000 + int(rng() % 2000) : int(rng() % 6);
      QByteArray f = Header(records + int(rng() % 3) - 1, 360);
      for (int k = 0; k < records; ++k) {
        QByteArray r;
        // The second large file's first piece is of one layout.
        switch (file == 1 && k < 400 ? seed % 2 : rng() % 5) {
          case 0: r = cleanRecord(rng, layoutA()); break;
          case 1: r = cleanRecord(rng, layoutB()); break;
          case 2:
            r = QByteArray(360, '\0');
            for (char& c : r) c = rng() % 3 ? '\0' : char(rng());
            break;
          default: {
            // Clean, with a few bytes spoiled.
            r = cleanRecord(rng, rng() % 2 ? layoutA() : layoutB());
            for (int i = 0; i < 1 + int(rng() % 4); ++i) r[rng() % 360] = char(rng());
          }
        }
        f += r;
      }
      if (rng() % 3 == 0) f.chop(std::min<qsizetype>(f.size(), rng() % 400));
      const bool expected = ReferenceLayoutA(f);
      chosenA += expected;
      // Not the choice alone: each layout's sum, every slot of every record counted.
      const auto [againstA, againstB] = ReferenceMisfits(f);
      const std::optional<LayoutVote> vote = StarTable().codec->pieceVote(f, std::max(0, s16(f, 4)));
      QVERIFY(vote);
      QCOMPARE(vote->against[1], againstA);
      QCOMPARE(vote->against[0], againstB);
      QVERIFY2(StarRoleUsesLayoutA(f) == expected, f.toHex().left(2000).constData());
      // Told from pieces of the file, the same.
      const TableCodec& codec = *StarTable().codec;
      const std::optional<RecordRun> run = codec.recordsInPieces(f.size(), readOf(f));
      QVERIFY(run);
      QCOMPARE(run->variant == 1, expected);
      QCOMPARE(run->count, qint64(std::max(0, s16(f, 4))));
      // Taken from the first piece's vote and weighed piece by piece in one pass: the same.
      const std::optional<RecordRun> first = codec.recordsInPieces(f.size(), readOf(f), true);
      QVERIFY(first);
      QCOMPARE(first->provisional, first->pieces() > 1);
      if (!first->provisional) continue;
      RunPieces pieces(codec, *first, readOf(f));
      QByteArray piece;
      for (qint64 p = pieces.count(); p-- > 0;) QVERIFY(pieces.read(p, &piece));
      QCOMPARE(pieces.voted() == 1, expected);
      guessedOtherwise += first->variant != run->variant;
    }
    // Both layouts come up; the first piece's vote is not always the file's.
    QVERIFY(chosenA > 20 && chosenA < 380);
    if (seed == 12) QVERIFY(guessedOtherwise_ > 0);
  }

  // check reads a large file once: its layout from the first piece's vote,
  // confirmed by every piece's as the records are compared, in two halves at
  // once. It says identical exactly when a save of the whole file would
  // leave it as it is, also when the first piece votes for the other layout.
  void checkedInOnePass_data() {
    QTest::addColumn<QString>("first");  // the first 400 records: blank (a number alone), A or B
    QTest::addColumn<QString>("rest");
    QTest::addColumn<bool>("swapLate");  // two records of the second half out of order
    QTest::addColumn<bool>("guessedOtherwise");
    QTest::addColumn<bool>("identical");
    struct Row {
      const char *name, *first, *rest;
      bool swapLate, guessedOtherwise, identical;
    };
    for (const Row& r : std::initializer_list<Row>{
             {"A", "A", "A", false, false, true},
             {"B", "B", "B", false, false, true},
             {"A, out of order late", "A", "A", true, false, false},
             {"blank first piece, then A", "blank", "A", false, true, true},
             {"blank first piece, then A out of order", "blank", "A", true, true, false},
             {"B first piece, then A", "B", "A", false, true, false},
             {"A first piece, then B", "A", "B", false, true, false},
         })
      QTest::addRow("%s", r.name) << QString::fromLatin1(r.first) << QString::fromLatin1(r.rest) << r.swapLate
                                  << r.guessedOtherwise << r.identical;
  }
  void checkedInOnePass() {
    QFETCH(QString, first);
    QFETCH(QString, rest);
    QFETCH(bool, swapLate);
    QFETCH(bool, guessedOtherwise);
    QFETCH(bool, identical);
    std::mt19937 rng(5);
    const int records = 1500;  // five pieces
    QByteArray f = Header(records, 360);
    for (int k = 0; k < records; ++k) {
      const QString& kind = k < 400 ? first : rest;
      QByteArray r = kind == u"blank" ? QByteArray(360, '\0') : cleanRecord(rng, kind == u"A" ? layoutA() : layoutB());
      Put(r, 0, Le(k, 2));  // the save's order: by number
      f += r;
    }
    if (swapLate) {
      const QByteArray last = f.right(360);
      f.replace(f.size() - 360, 360, f.mid(f.size() - 720, 360)).replace(f.size() - 720, 360, last);
    }
    QTemporaryDir dir;
    QVERIFY(WriteFile(dir.filePath(QStringLiteral("StarRole.dat")), f));
    const TableDef& t = StarTable();
    const std::optional<RecordRun> guess = t.codec->recordsInPieces(f.size(), readOf(f), true);
    QVERIFY(guess && guess->provisional);
    QCOMPARE(guess->variant != t.codec->recordsInPieces(f.size(), readOf(f))->variant, guessedOtherwise);
    // What the whole file tells.
    ComparingSink compared(f);
    QVERIFY(EncodeAsRead(t, dir.path(), Script::Traditional, f, compared).ok());
    QCOMPARE(compared.same(), identical);
    const std::optional<int> inPieces = SavedAsReadInPieces(t, dir.path(), Script::Traditional, f.size(), readOf(f));
    QCOMPARE(inPieces.has_value(), identical);
    if (inPieces) QCOMPARE(*inPieces, records);
  }

 private:
  static ReadPiece readOf(const QByteArray& f) {
    return [&f](qint64 from, qint64 count, QByteArray* into, qsizetype at) {
      into->resize(at);
      into->append(f.mid(from, count));
      return true;
    };
  }
  int guessedOtherwise_ = 0;
};

QTEST_GUILESS_MAIN(StarLayoutChoiceTest)
#include "test_star_layout_choice.moc"
