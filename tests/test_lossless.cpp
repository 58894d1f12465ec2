// A save changes only the bytes of what the user changed: every grid table
// over generated folders made dirty (bytes after terminators, invalid Big5,
// the unread parts of slots), one edit at a time, every Big5 code, the CSV
// round trip through the command-line tool, and the refusal of characters
// that Big5 cannot hold.
#include <QtTest>

#include <numeric>
#include <random>

#include "SampleFolders.h"
#include "TestSupport.h"
#include "model/RecordGrid.h"
#include "model/TableIo.h"
#include "tables/FixedLayout.h"
#include "tables/SlotStream.h"
#include "tables/Slots.h"
#include "tables/StandaloneTables.h"
#include "tables/Tables.h"
#include "text/Big5.h"
#include "text/Locale.h"
#include "tools/Csv.h"
#include "tools/CsvTable.h"
#include "tools/Sample.h"

using namespace v3;
using namespace v3test;

namespace {

int readWidth(IntWidth w) { return w == IntWidth::U8 ? 1 : w == IntWidth::S16 ? 2 : 4; }

bool isPatched(const TableDef& t) { return t.sampleFile && &t != &StarTable() && !t.readOnly; }

// Dirty bytes wherever a file can hold them without changing what the load
// shows in column 1 (which decides the save's order) or the StarRole layout.
QByteArray Dirty(const TableDef& t, QByteArray file, unsigned seed) {
  std::mt19937 rng(seed);
  auto any = [&] { return char(rng() & 0xFF); };
  if (const auto* fixed = dynamic_cast<const FixedCodec*>(t.codec)) {
    const FixedLayout& layout = fixed->layoutFor(file);
    const int n = ByteReader(file).recordCount();
    const bool star = &t == &StarTable();
    for (int k = 0; k < n; ++k) {
      const qint64 base = 12 + qint64(k) * layout.recordSize;
      for (const FieldDef& f : layout.fields) {
        char* at = file.data() + base + f.offset;
        switch (f.kind) {
          case FieldKind::TypeTag:
          case FieldKind::LocalText: break;
          case FieldKind::Text:
          case FieldKind::TextPadded:
          case FieldKind::Code:
            if (f.column == 1 || star) break;
            // Anything at all: invalid Big5, lead bytes at the end, bytes after a zero.
            for (int i = 0; i < f.width; ++i) at[i] = rng() % 5 == 0 ? '\0' : any();
            break;
          default:
            if (star && f.offset < 68) break;  // the slots that tell the layouts apart
            for (int i = readWidth(f.read); i < f.width; ++i) at[i] = any();
            break;
        }
      }
    }
    return file;
  }
  const auto* stream = dynamic_cast<const SlotCodec*>(t.codec);
  const ByteReader in(file);
  const int n = in.recordCount();
  qint64 pos = 12;
  for (int k = 0; k < n && pos < file.size(); ++k)
    for (const SlotElement& e : stream->layout().elements) {
      if (e.kind == SlotKind::Skip) {
        pos += 4;
        continue;
      }
      const int64_t length = e.kind == SlotKind::Text ? ByteReader(file).read(pos, e.read) : 0;
      for (int i = readWidth(e.read); i < 4; ++i) file[pos + i] = any();
      pos += 4;
      for (int64_t b = 0; b < length; ++b, pos += 4)
        for (int i = 0; i < 4; ++i) file[pos + i] = i == 0 && rng() % 6 == 0 ? '\0' : any();
    }
  return file;
}

// What a save without an edit writes for the (dirty) file.
QByteArray Unchanged(const TableDef& t, const QByteArray& file) {
  if (!dynamic_cast<const FixedCodec*>(t.codec) || isPatched(t)) return file;
  const int n = ByteReader(file).recordCount();
  QByteArray out = file.left(12);
  for (int k = 0; k < n; ++k) out += KeptRecord(t.codec, file, k);
  return out;
}

std::vector<const TableDef*> Writable() {
  std::vector<const TableDef*> v;
  for (const TableDef* t : AllTables())
    if (!t->readOnly) v.push_back(t);
  return v;
}

}  // namespace

class LosslessTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  int folders_ = 0;

  // A generated folder whose `file` is made dirty; returns the folder.
  QString dirtyFolder(const TableDef& t, unsigned seed, QByteArray* dirty, int records = 12) {
    const QString folder = dir_.filePath(QStringLiteral("f%1").arg(++folders_));
    QString error;
    if (!CopySampleFolder(folder, seed, records, &error)) qFatal("%s", qPrintable(error));
    *dirty = Dirty(t, ReadFile(folder + "/" + t.fileName), seed);
    WriteFile(folder + "/" + t.fileName, *dirty);
    return folder;
  }

 private slots:

  void tables_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("locale");
    QTest::addColumn<unsigned>("seed");
    for (const TableDef* t : Writable())
      for (int locale : {2052, 1028, 1033})
        for (unsigned seed : {3u, 8u})
          QTest::addRow("%s, %d, seed %u", qPrintable(t->fileName), locale, seed) << t->fileName << locale << seed;
  }

  // Load and save without an edit: the file's bytes, apart from the bytes
  // the format zeroes. Then one edited cell: only that field's bytes change.
  void tables() {
    QFETCH(QString, file);
    QFETCH(int, locale);
    QFETCH(unsigned, seed);
    const Script script = SystemTextScript(locale);
    const TableDef& t = *FindTable(file);
    QByteArray dirty;
    const QString folder = dirtyFolder(t, seed, &dirty);
    RecordStore grid;
    QVERIFY(LoadTable(t, folder, script, grid));
    QVERIFY(grid.recordCount() > 2);
    QByteArray saved;
    SaveOutcome out = EncodeTable(t, folder, script, grid, SaveRowOrder(t, grid), dirty, &saved);
    QVERIFY2(out.ok(), qPrintable(out.message(file)));
    QCOMPARE(saved.toHex(), Unchanged(t, dirty).toHex());

    // One cell takes the text of the same column in another record (not a
    // text with a control character: a changed text cannot take one in).
    std::mt19937 rng(seed);
    const int r = 2;
    std::vector<int> columns;
    for (int c = 2; c <= t.fieldCount(); ++c) {
      if (isPatched(t) && c != 4 && c != 5) continue;
      if (t.order == SaveOrder::NumericThenSecond && c == 2) continue;
      if (FirstControlCharacter(grid.cell(1, c), LineBreaks::Refused) >= 0) continue;
      if (grid.cell(1, c) != grid.cell(r, c)) columns.push_back(c);
    }
    QVERIFY(!columns.empty());
    const int c = columns[rng() % columns.size()];
    grid.setCell(r, c, grid.cell(1, c));
    QVERIFY(!grid.isCellUnchanged(r, c));
    QByteArray edited;
    out = EncodeTable(t, folder, script, grid, SaveRowOrder(t, grid), dirty, &edited);
    QVERIFY2(out.ok(), qPrintable(out.message(file)));
    QVERIFY(edited != saved);

    // Records before and after the edited one keep their bytes; in a fixed
    // record only the field's own bytes differ.
    qint64 start = 12, size = 0;
    for (int k = 1; k <= r; ++k) {
      size = grid.rowAt(k).kept.size();
      if (k < r) start += size;
    }
    if (const auto* fixed = dynamic_cast<const FixedCodec*>(t.codec)) {
      for (const FieldDef& f : fixed->layoutFor(dirty).fields)
        if (f.column == c) {
          for (qint64 i = start + f.offset; i < start + f.offset + f.width; ++i) saved[i] = edited[i];
        }
      QCOMPARE(edited.toHex(), saved.toHex());
    } else {
      QCOMPARE(edited.left(start).toHex(), saved.left(start).toHex());
      const qint64 tail = saved.size() - start - size;
      QCOMPARE(edited.right(tail).toHex(), saved.right(tail).toHex());
    }
    QVERIFY(WriteFile(folder + "/" + file, edited));
    RecordStore back;
    QVERIFY(LoadTable(t, folder, script, back));
    QCOMPARE(back.records(), grid.records());
  }

  // Every Big5 code in a team name loads and saves as it was, and so does a
  // CSV export and import of it, on every locale.
  // Check compares a save's content with the file as the codec makes it,
  // without a grid: it tells what the whole content tells (outcome, size,
  // first difference), over dirty files changed in ways that make a save
  // give back other bytes, or none; and so does a grid with an edited cell.
  // Where a pass finds each record (in any order, one KeptBytes moved
  // along): where locate() puts it, also among records of many sizes.
  void placesAreWhereLocateFindsThem_data() {
    QTest::addColumn<QString>("file");
    for (const TableDef* t : Writable()) QTest::addRow("%s", qPrintable(t->fileName)) << t->fileName;
  }
  void placesAreWhereLocateFindsThem() {
    QFETCH(QString, file);
    const TableDef& t = *FindTable(file);
    QByteArray dirty;
    dirtyFolder(t, 4, &dirty, 300);
    const std::vector<KeptBytes> located = t.codec->locate(dirty);
    const RecordPlaces places(*t.codec, dirty);
    QCOMPARE(qsizetype(places.size()), qsizetype(located.size()));
    std::vector<int> order(located.size());
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(4));
    KeptBytes kept;
    for (int k : order) {
      places.put(k, &kept);
      const KeptBytes& want = located[size_t(k)];
      QVERIFY2(kept.isEmpty() == want.isEmpty(), qPrintable(QString::number(k)));
      if (want.isEmpty()) continue;
      QCOMPARE(kept.offset(), want.offset());
      QCOMPARE(kept.size(), want.size());
      QCOMPARE(kept.variant(), want.variant());
    }
  }

  void comparedAsMade_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("change");
    for (const TableDef* t : Writable())
      for (const char* change : {"none", "header", "middle", "cut", "longer", "saved", "swapped", "large saved",
                                 "large swapped last", "large late byte"}) {
        // Large: 1500 records, in pieces enough for two halves.
        const auto* fixed = dynamic_cast<const FixedCodec*>(t->codec);
        // A stream's records are not swapped: its "swapped last" is its "saved".
        const bool stream = dynamic_cast<const SlotCodec*>(t->codec) != nullptr;
        if (QByteArray(change).startsWith("large") &&
            (stream ? QByteArray(change).contains("swapped")
                    : !fixed || 1500 * fixed->variant(0).recordSize < 4 * kFilePieceBytes))
          continue;
        QTest::addRow("%s, %s", qPrintable(t->fileName), change) << t->fileName << QString::fromLatin1(change);
      }
  }
  void comparedAsMade() {
    QFETCH(QString, file);
    QFETCH(QString, change);
    const TableDef& t = *FindTable(file);
    QByteArray dirty;
    // A large file is compared in two halves at once, each piece weighed for StarRole.dat's layout.
    const bool large = change.startsWith(u"large ");
    if (large) change = change.mid(6);
    const QString folder = dirtyFolder(t, 7, &dirty, large ? 1500 : 12);
    if (change == u"header") dirty[2] = char(dirty[2] ^ 0x5A);  // a byte the save writes anew
    if (change == u"middle") dirty[dirty.size() / 2] = char(dirty[dirty.size() / 2] ^ 0x21);
    if (change == u"cut") dirty.truncate(12 + (dirty.size() - 12) * 2 / 3 + 1);
    if (change == u"longer") dirty += QByteArray("\x01\x02\x03", 3);
    if (change != u"none" && change != u"header" && change != u"middle" && change != u"cut" && change != u"longer") {
      // What a save writes: a file a save leaves as it is; then its first two records swapped.
      RecordStore grid;
      QVERIFY(LoadTable(t, folder, Script::Traditional, grid));
      QVERIFY(EncodeTable(t, folder, Script::Traditional, grid, SaveRowOrder(t, grid), dirty, &dirty).ok());
      const auto* fixed = dynamic_cast<const FixedCodec*>(t.codec);
      if (change == u"swapped" && fixed && grid.recordCount() >= 2) {
        const qsizetype size = fixed->layoutFor(dirty).recordSize;
        const QByteArray first = dirty.mid(12, size);
        dirty.replace(12, size, dirty.mid(12 + size, size)).replace(12 + size, size, first);
      }
      const qsizetype size = fixed ? fixed->layoutFor(dirty).recordSize : 0;
      if (change == u"swapped last" && fixed && grid.recordCount() >= 2) {
        const QByteArray last = dirty.right(size);
        dirty.replace(dirty.size() - size, size, dirty.mid(dirty.size() - 2 * size, size))
            .replace(dirty.size() - 2 * size, size, last);
      }
      if (change == u"late byte") dirty[dirty.size() - 1 - size / 2] = char(dirty[dirty.size() - 1 - size / 2] ^ 0x10);
    }
    QVERIFY(WriteFile(folder + "/" + file, dirty));
    // Told from pieces of the file: the records when a save writes the file's own bytes.
    const auto* fixed = dynamic_cast<const FixedCodec*>(t.codec);
    const bool inPieces = fixed ? fixed->writesRecordsAlone() : dynamic_cast<const SlotCodec*>(t.codec) != nullptr;
    const ReadPiece read = [&](qint64 from, qint64 count, QByteArray* into, qsizetype at) {
      into->resize(at);
      into->append(dirty.mid(from, count));
      return true;
    };
    const auto firstDifference = [](const QByteArray& x, const QByteArray& y) {
      qsizetype at = 0;
      while (at < x.size() && at < y.size() && x[at] == y[at]) ++at;
      return qint64(at);
    };
    const auto agree = [&](const SaveOutcome& whole, const QByteArray& content, const SaveOutcome& made,
                           const ComparingSink& compared) {
      QCOMPARE(made.status, whole.status);
      QCOMPARE(made.message(file), whole.message(file));
      if (!whole.ok()) return;
      QCOMPARE(compared.size(), qint64(content.size()));
      QCOMPARE(compared.same(), content == dirty);
      if (!compared.same()) QCOMPARE(compared.firstDifference(), firstDifference(content, dirty));
    };
    for (Script script : {Script::Traditional, Script::Simplified}) {
      RecordStore grid;
      QVERIFY(LoadTable(t, folder, script, grid));
      QByteArray content;
      const SaveOutcome whole = EncodeTable(t, folder, script, grid, SaveRowOrder(t, grid), dirty, &content);
      ComparingSink compared(dirty);
      int records = -1;
      const SaveOutcome made = EncodeAsRead(t, folder, script, dirty, compared, &records);
      agree(whole, content, made, compared);
      if (QTest::currentTestFailed()) return;
      QCOMPARE(records, grid.recordCount());
      const std::optional<int> pieces = SavedAsReadInPieces(t, folder, script, dirty.size(), read);
      QCOMPARE(pieces.has_value(), inPieces && whole.ok() && content == dirty);
      if (pieces) QCOMPARE(*pieces, records);
      if (change == u"saved" && script == Script::Traditional) QCOMPARE(pieces.has_value(), inPieces);
      if (large) continue;
      if (grid.recordCount() < 2) continue;
      // Record 2 takes record 1's first cell (a table of fixed records refuses it).
      grid.setCell(2, 1, grid.cell(1, 1));
      const SaveOutcome editedWhole = EncodeTable(t, folder, script, grid, SaveRowOrder(t, grid), dirty, &content);
      ComparingSink edited(dirty);
      agree(editedWhole, content, EncodeTableTo(t, folder, script, grid, SaveRowOrder(t, grid), dirty, edited), edited);
      if (QTest::currentTestFailed()) return;
    }
  }

  // The order a save writes told from the cells alone, as a check that holds
  // no grid tells it: by column 1, then again (stable) by column 2.
  void saveOrderFromCells_data() {
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QList<int>>("order");
    QTest::newRow("in order") << QStringList{"1", "2", "3"} << QStringList{"1", "1", "2"} << QList<int>{1, 2, 3};
    QTest::newRow("a tie out of order") << QStringList{"2", "1", "3"} << QStringList{"1", "1", "2"}
                                        << QList<int>{2, 1, 3};
    QTest::newRow("second column out of order")
        << QStringList{"1", "2", "3"} << QStringList{"2", "1", "1"} << QList<int>{2, 3, 1};
    QTest::newRow("equal keys keep their places")
        << QStringList{"5", "5", "5"} << QStringList{"7", "7", "7"} << QList<int>{1, 2, 3};
    QTest::newRow("a text and negatives")
        << QStringList{"-1", "x", "0"} << QStringList{"3", "3", "-2"} << QList<int>{3, 1, 2};
  }
  void saveOrderFromCells() {
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(QList<int>, order);
    const TableDef& t = *FindTable(QStringLiteral("RichBa.tab"));
    QCOMPARE(t.order, SaveOrder::NumericThenSecond);
    const auto cell = [&](int row, int column) {
      return column == 1 ? first[row - 1] : column == 2 ? second[row - 1] : QString();
    };
    const auto number = [&](int row, int column) -> std::optional<int64_t> {
      bool ok = false;
      const qlonglong n = cell(row, column).toLongLong(&ok);
      return ok ? std::optional<int64_t>(n) : std::nullopt;
    };
    const std::vector<int> expected(order.begin(), order.end());
    QCOMPARE(SaveRowOrder(t, int(first.size()), cell), expected);
    QCOMPARE(SaveRowOrder(t, int(first.size()), cell, number), expected);
  }

  // A grid whose records are decoded on first use shows and saves what a
  // read of every record at once gives, also of a file cut short.
  void openedGridIsTheRead_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("cut");
    for (const TableDef* t : AllTables())
      for (bool cut : {false, true})
        QTest::addRow("%s%s", qPrintable(t->fileName), cut ? ", cut short" : "") << t->fileName << cut;
  }
  void openedGridIsTheRead() {
    QFETCH(QString, file);
    QFETCH(bool, cut);
    const TableDef& t = *FindTable(file);
    QByteArray dirty;
    const QString folder = dirtyFolder(t, 5, &dirty);
    if (cut) {
      dirty.truncate(12 + (dirty.size() - 12) * 2 / 3 + 1);
      WriteFile(folder + "/" + t.fileName, dirty);
    }
    const std::vector<TableRecord> read = ReadTableRecords(t, folder, Script::Traditional);
    RecordStore eager;
    eager.resetRecords(t.fieldCount(), read);
    RecordStore lazy;
    QVERIFY(LoadTable(t, folder, Script::Traditional, lazy));
    QCOMPARE(lazy.recordCount(), int(read.size()));
    // Saved before any cell was looked at: the same bytes.
    // (A table patched in place refuses a file too short for its records.)
    QByteArray fromLazy, fromEager;
    const SaveOutcome a = EncodeTable(t, folder, Script::Traditional, lazy, SaveRowOrder(t, lazy), dirty, &fromLazy);
    const SaveOutcome b = EncodeTable(t, folder, Script::Traditional, eager, SaveRowOrder(t, eager), dirty, &fromEager);
    QCOMPARE(a.status, b.status);
    QCOMPARE(a.message(file), b.message(file));
    QCOMPARE(fromLazy.toHex(), fromEager.toHex());
    // A cell decoded alone (a sort key), and a number cell read as a number,
    // are the cell of the whole record.
    CodecContext ctx(Script::Traditional, folder);
    ProducerDirectory producers = ProducerDirectory::load(folder);
    ctx.producers = &producers;
    const std::vector<KeptBytes> located = t.codec->locate(dirty);
    int numbers = 0;
    for (size_t k = 0; k < located.size(); ++k) {
      const QStringList whole = t.codec->decodeRecord(located[k], ctx);
      for (int c = 1; c <= t.fieldCount(); ++c) {
        const std::optional<int64_t> number = t.codec->decodeNumber(located[k], c);
        numbers += number ? 1 : 0;
        for (const QString& alone :
             {t.codec->decodeCell(located[k], ctx, c), number ? QString::number(*number) : whole[c - 1]})
          if (alone != whole[c - 1])
            QFAIL(qPrintable(QStringLiteral("record %1 column %2: %3 alone, %4 in the record")
                                 .arg(k + 1)
                                 .arg(c)
                                 .arg(alone, whole[c - 1])));
      }
    }
    // Layouts with number fields read them as numbers.
    if (const auto* fixed = dynamic_cast<const FixedCodec*>(t.codec); fixed && !located.empty()) {
      const std::vector<FieldDef>& fields = fixed->variant(located[0].variant()).fields;
      QCOMPARE(numbers > 0, std::any_of(fields.begin(), fields.end(), [](const FieldDef& f) {
                 return f.column > 0 && f.kind == FieldKind::Integer;
               }));
    }
    if (const auto* slotCodec = dynamic_cast<const SlotCodec*>(t.codec); slotCodec && !located.empty()) {
      const std::vector<SlotElement>& elements = slotCodec->layout().elements;
      QCOMPARE(numbers > 0, std::any_of(elements.begin(), elements.end(), [](const SlotElement& e) {
                 return e.column > 0 && e.kind == SlotKind::Integer;
               }));
    }
    for (int r = 1; r <= lazy.recordCount(); ++r) {
      const TableRecord& want = read[size_t(r - 1)];
      const RecordStore::Row& got = lazy.rowAt(r);
      QCOMPARE(got.cells, eager.record(r));
      QCOMPARE(got.isKept(), want.isKept());
      if (want.isKept()) QCOMPARE(got.original, eager.rowAt(r).original);
      for (int c = 1; c <= t.fieldCount(); ++c) QCOMPARE(lazy.isCellUnchanged(r, c), eager.isCellUnchanged(r, c));
    }
  }

  void everyBig5Code_data() {
    QTest::addColumn<int>("locale");
    for (int locale : {2052, 1028, 1033}) QTest::addRow("%d", locale) << locale;
  }
  void everyBig5Code() {
    QFETCH(int, locale);
    const Script script = SystemTextScript(locale);
    // Every pair of a lead byte and a trail byte, the 13,752 Big5 codes among
    // them, the user-defined areas and the pairs that are no character at all.
    QByteArray codes;
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        QByteArray code;
        code += char(lead);
        code += char(trail);
        codes += code;
        characters += !ContainsByteCharacters(DecodeBig5Text(code));
      }
    QVERIFY(characters >= 13752);
    const int perName = 10;
    const int records = int((codes.size() / 2 + perName - 1) / perName);
    QByteArray file = Header(records, 60);
    for (int k = 0; k < records; ++k) {
      QByteArray rec(60, '\0');
      Put(rec, 0, Le(k + 1, 4));
      Put(rec, 4, codes.mid(qsizetype(k) * 2 * perName, 2 * perName));
      file += rec;
    }
    const QString folder = dir_.filePath(QStringLiteral("codes%1").arg(locale));
    QDir().mkpath(folder);
    QVERIFY(WriteFile(folder + "/Team.dat", file));
    RecordStore grid;
    QVERIFY(LoadTable(TeamTable(), folder, script, grid));
    QVERIFY(SaveTable(TeamTable(), folder, script, grid).ok());
    QCOMPARE(ReadFile(folder + "/Team.dat"), file);

    const QString loc = QString::number(locale);
    const CliRun exported = RunCli({"--locale", loc, "export", folder, "Team.dat"});
    QCOMPARE(exported.code, 0);
    QVERIFY(WriteFile(folder + "/team.csv", exported.out));
    const CliRun imported = RunCli({"--locale", loc, "import", folder, "Team.dat", folder + "/team.csv"});
    QVERIFY2(imported.code == 0, imported.err.constData());
    QCOMPARE(ReadFile(folder + "/Team.dat"), file);
  }

  // export then import of the unchanged CSV, also re-sorted, gives back the
  // bytes for every table at both Chinese locales.
  void csvRoundTrip_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("locale");
    for (const TableDef* t : Writable())
      for (int locale : {2052, 1028}) QTest::addRow("%s, %d", qPrintable(t->fileName), locale) << t->fileName << locale;
    for (const StandaloneInfo& i : StandaloneTables())
      for (int locale : {2052, 1028}) QTest::addRow("%s, %d", qPrintable(i.fileName), locale) << i.fileName << locale;
  }
  void csvRoundTrip() {
    QFETCH(QString, file);
    QFETCH(int, locale);
    const TableDef* t = FindTable(file);
    QByteArray dirty;
    QString folder;
    if (t) {
      folder = dirtyFolder(*t, 5, &dirty);
    } else {
      folder = dir_.filePath(QStringLiteral("s%1").arg(++folders_));
      QString error;
      QVERIFY(WriteSampleFolder(folder, 5, 12, &error));
      dirty = ReadFile(folder + "/" + file);
    }
    const QByteArray expected = t ? Unchanged(*t, dirty) : dirty;
    const QString loc = QString::number(locale);
    const CliRun exported = RunCli({"--locale", loc, "export", folder, file});
    QVERIFY2(exported.code == 0, exported.err.constData());
    const QString csv = folder + "/t.csv";
    QVERIFY(WriteFile(csv, exported.out));
    CliRun imported = RunCli({"--locale", loc, "import", folder, file, csv});
    QVERIFY2(imported.code == 0, imported.err.constData());
    const QByteArray got = ReadFile(folder + "/" + file);
    qsizetype at = 0;
    while (at < got.size() && at < expected.size() && got[at] == expected[at]) ++at;
    QVERIFY2(got == expected, qPrintable(QStringLiteral("differs at %1").arg(at)));
    if (!t || t->order == SaveOrder::GridOrder) return;
    // Re-sorted: every row still finds the record it came from.
    std::vector<QStringList> rows;
    int badLine = 0;
    QString reason;
    QVERIFY(ParseCsv(exported.out, &rows, &badLine, &reason));
    QByteArray reversed;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) reversed += CsvLine(*it);
    QVERIFY(WriteFile(csv, reversed));
    imported = RunCli({"--locale", loc, "import", folder, file, csv});
    QVERIFY2(imported.code == 0, imported.err.constData());
    QCOMPARE(ReadFile(folder + "/" + file).toHex(), expected.toHex());
  }

  // Bytes a CSV cell cannot carry are escaped visibly and come back.
  void csvEscapes_data() {
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("csv");
    const char32_t a4 = ByteCharacter(0xA4);
    QTest::newRow("plain") << QStringLiteral("林心怡") << QStringLiteral("林心怡");
    QTest::newRow("backslash") << QStringLiteral("a\\b") << QStringLiteral("a\\\\b");
    QTest::newRow("zero inside a code") << QString::fromLatin1("A\0B\0\0", 5) << QStringLiteral("A\\x00B");
    QTest::newRow("invalid byte") << (QStringLiteral("林") + QString::fromUcs4(&a4, 1)) << QStringLiteral("林\\xA4");
  }
  void csvEscapes() {
    QFETCH(QString, cell);
    QFETCH(QString, csv);
    QCOMPARE(CsvEscapeCell(cell), csv);
    QString back = cell;
    while (back.endsWith(QChar(u'\0'))) back.chop(1);
    QCOMPARE(CsvUnescapeCell(csv), back);
  }

  // A changed cell that Big5 cannot hold refuses the save, naming the row,
  // the column and the character; neither the file nor its .bak changes.
  void unencodableRefused_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("character");
    for (const TableDef* t : Writable()) {
      if (isPatched(*t)) continue;
      QTest::addRow("%s, 1028 团", qPrintable(t->fileName))
          << t->fileName << 1028 << QStringLiteral("新团") << QStringLiteral("团");
      QTest::addRow("%s, 2052 emoji", qPrintable(t->fileName))
          << t->fileName << 2052 << QStringLiteral("新团😀") << QStringLiteral("😀");
    }
  }
  void unencodableRefused() {
    QFETCH(QString, file);
    QFETCH(int, locale);
    QFETCH(QString, text);
    QFETCH(QString, character);
    const Script script = SystemTextScript(locale);
    const TableDef& t = *FindTable(file);
    QByteArray dirty;
    const QString folder = dirtyFolder(t, 11, &dirty);
    QVERIFY(WriteFile(folder + "/" + file + ".bak", "older backup"));
    RecordStore grid;
    QVERIFY(LoadTable(t, folder, script, grid));
    // The first text column.
    int column = 0;
    if (const auto* fixed = dynamic_cast<const FixedCodec*>(t.codec)) {
      for (const FieldDef& f : fixed->layoutFor(dirty).fields)
        if (!column && f.column > 1 && f.kind == FieldKind::Text) column = f.column;
    } else {
      for (const SlotElement& e : dynamic_cast<const SlotCodec*>(t.codec)->layout().elements)
        if (!column && e.kind == SlotKind::Text) column = e.column;
    }
    QVERIFY(column > 0);
    grid.setCell(3, column, text);
    const SaveOutcome out = SaveTable(t, folder, script, grid);
    QCOMPARE(out.status, SaveOutcome::Refused);
    QCOMPARE(out.column, column);
    QCOMPARE(grid.cell(out.row, column), text);
    QVERIFY2(out.reason.contains(QStringLiteral("“%1” 无法以 Big5 保存").arg(character)), qPrintable(out.reason));
    QCOMPARE(ReadFile(folder + "/" + file), dirty);
    QCOMPARE(ReadFile(folder + "/" + file + ".bak"), QByteArray("older backup"));
  }

  // The grid shows an undecodable byte as U+FFFD and keeps it while the cell
  // is unchanged; a changed cell that still holds it writes the byte back.
  void placeholderCells() {
    const QString folder = dir_.filePath("placeholder");
    QDir().mkpath(folder);
    QByteArray rec(60, '\0');
    Put(rec, 0, Le(1, 4));
    Put(rec, 4, big5Bytes("林") + Hex("a47f") + QByteArray(1, '\0') + "junk");
    QVERIFY(WriteFile(folder + "/Team.dat", Header(1, 60) + rec));
    RecordGrid grid;
    QVERIFY(LoadTable(TeamTable(), folder, Script::Traditional, grid));
    QCOMPARE(grid.data(grid.index(0, 2)).toString(), QStringLiteral("林\uFFFD\u007F"));
    QVERIFY(SaveTable(TeamTable(), folder, Script::Traditional, grid).ok());
    QCOMPARE(ReadFile(folder + "/Team.dat"), Header(1, 60) + rec);
    grid.setCell(1, 2, QStringLiteral("陳") + grid.cell(1, 2).mid(1));
    QVERIFY(SaveTable(TeamTable(), folder, Script::Traditional, grid).ok());
    QByteArray changed(60, '\0');
    Put(changed, 0, Le(1, 4));
    Put(changed, 4, big5Bytes("陳") + Hex("a47f"));
    QCOMPARE(ReadFile(folder + "/Team.dat").toHex(), (Header(1, 60) + changed).toHex());
  }

 private:
  static QByteArray big5Bytes(const char* utf8) { return EncodeBig5Text(QString::fromUtf8(utf8)).bytes; }
};

QTEST_GUILESS_MAIN(LosslessTest)
#include "test_lossless.moc"
