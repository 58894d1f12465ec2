// The export writes each record straight from the file's bytes into the CSV;
// the text must be exactly the CSV of the cells the grid shows, for every
// grid table over crafted dirty files (invalid Big5, byte characters, zero
// bytes inside codes, commas, quotes and line breaks, producers, year codes,
// records past the end of the file) and every option, and for cells that no
// table's bytes give (a leading U+FEFF, a lone surrogate, cells out of order).
#include <QtTest>

#include <limits>
#include <random>

#include "TestSupport.h"
#include "model/TableIo.h"
#include "tables/FixedLayout.h"
#include "tables/SlotStream.h"
#include "tables/Slots.h"
#include "tables/Tables.h"
#include "text/Big5.h"
#include "text/Language.h"
#include "text/Locale.h"
#include "tools/CsvTable.h"
#include "tools/Sample.h"
#include "tools/ToolTable.h"
#include "tools/Workbook.h"

using namespace v3;
using namespace v3test;

namespace {

int widthBytes(IntWidth w) { return w == IntWidth::U8 ? 1 : w == IntWidth::S16 ? 2 : 4; }

// Field bytes that a CSV cell has trouble with.
QByteArray awkwardText(std::mt19937& rng, int width) {
  // clang-format off
  static const QByteArray pool[] = {
      QByteArray("a,b"),          QByteArray("say \"hi\""),       QByteArray("two\r\nlines"),
      QByteArray("cr\ronly"),     QByteArray("lf\nonly"),         QByteArray("back\\slash"),
      QByteArray("\\x41"),        QByteArray("\xA4\x40\xA4\x48"), QByteArray("\xFF\xFE"),  // 一乙
      QByteArray("\xA4\x7F"),     QByteArray("\xA4"),              QByteArray("x\0junk", 6),
      QByteArray("A\0B\0\0", 5),  QByteArray("pad   "),            QByteArray("\x80\x81\xFE"),
      QByteArray("\x01\x1F\x7F"), QByteArray("\"", 1),              QByteArray(",", 1),
      QByteArray("\xC8\x40"),     QByteArray("=\"x\""),            QByteArray(),
  };
  // clang-format on
  QByteArray bytes;
  while (bytes.size() < width && rng() % 3 != 0) bytes += pool[rng() % std::size(pool)];
  if (rng() % 4 == 0)
    for (int i = 0; i < width; ++i) bytes += char(rng() % 7 == 0 ? 0 : rng() & 0xFF);
  // A lead byte as the field's last byte now and then.
  bytes = bytes.left(width);
  if (rng() % 6 == 0 && width > 0) bytes = bytes.leftJustified(width - 1, ' ', true) + '\xA5';
  return bytes;
}

int64_t awkwardNumber(std::mt19937& rng) {
  static const int64_t pool[] = {0,
                                 1,
                                 -1,
                                 2,
                                 3,
                                 4,
                                 5,
                                 9,
                                 11,
                                 255,
                                 256,
                                 32767,
                                 -32768,
                                 65535,
                                 std::numeric_limits<int32_t>::max(),
                                 std::numeric_limits<int32_t>::min()};
  return rng() % 3 == 0 ? int64_t(int32_t(rng())) : pool[rng() % std::size(pool)];
}

// The sample file of the table made dirty field by field; with some seeds its
// last record is cut short, and with some of those its header counts records
// that are not there.
QByteArray Crafted(const TableDef& t, const QByteArray& sample, unsigned seed) {
  std::mt19937 rng(seed);
  QByteArray file = sample;
  const int n = ByteReader(file).recordCount();
  if (const auto* fixed = dynamic_cast<const FixedCodec*>(t.codec)) {
    const FixedLayout& layout = fixed->layoutFor(file);
    for (int k = 0; k < n; ++k) {
      const qint64 base = 12 + qint64(k) * layout.recordSize;
      for (const FieldDef& f : layout.fields) {
        if (rng() % 3 == 0) continue;  // as the generator wrote it
        QByteArray bytes;
        switch (f.kind) {
          case FieldKind::Text:
          case FieldKind::TextPadded:
          case FieldKind::Code:
          case FieldKind::LocalText: bytes = awkwardText(rng, f.width); break;
          default: {
            bytes = Le(awkwardNumber(rng), widthBytes(f.read));
            while (bytes.size() < f.width) bytes += char(rng() % 2 ? 0 : rng() & 0xFF);
          }
        }
        bytes = bytes.leftJustified(f.width, '\0', true);
        file.replace(base + f.offset, f.width, bytes);
      }
    }
  } else {
    // A slot stream written anew, element by element.
    const auto* stream = dynamic_cast<const SlotCodec*>(t.codec);
    file = file.left(12);
    static const char bytePool[] = {',', '"', '\n', '\r', '\\', '\0', 'x', '\xFF', '\xA4', '\x40', '\x80', ' '};
    for (int k = 0; k < n; ++k)
      for (const SlotElement& e : stream->layout().elements) {
        QByteArray slot = Le(awkwardNumber(rng), 4);
        if (e.kind == SlotKind::Integer && rng() % 2) slot = Le(k + 1, 2) + Le(rng(), 2);
        if (e.kind != SlotKind::Text) {
          file += slot;
          continue;
        }
        const int length = int(rng() % 9) - (e.read == IntWidth::S16 && rng() % 8 == 0 ? 3 : 0);
        file += Le(length, widthBytes(e.read)) + Le(rng(), 4 - widthBytes(e.read));
        for (int i = 0; i < length; ++i) file += char(bytePool[rng() % std::size(bytePool)]) + Le(rng(), 3);
      }
  }
  if (seed % 2 == 1 && file.size() > 12) {
    // A record cut in the middle: the last one, or one followed by records past the end of the file.
    if (seed % 4 == 1) file.replace(4, 2, Le(n + 3, 2));
    file.chop(std::min<qsizetype>(file.size() - 12, 1 + rng() % 40));
  }
  return file;
}

struct Written {
  bool ok = false;
  QByteArray csv;
  int line = 0;
  QString reason;
};

// The CSV of the cells the grid shows after a load.
Written GridCsv(const TableDef& t, const QString& folder, Script systemScript, const CsvOptions& options) {
  RecordStore grid;
  Written w;
  if (!LoadTable(t, folder, systemScript, grid)) return w;
  std::vector<QStringList> rows;
  for (int r = 1; r <= grid.recordCount(); ++r) {
    QStringList row;
    for (int c = 1; c <= grid.fieldCount(); ++c) row << grid.cell(r, c);
    rows.push_back(row);
  }
  CsvRefusal refusal;
  w.ok = RecordsToCsv(rows, options, &w.csv, &refusal);
  w.line = refusal.line;
  w.reason = refusal.reason;
  return w;
}

// A codec that hands out scripted cells: what no table's bytes give.
struct Cell {
  enum Kind { Number, Text, Word } kind;
  int column;
  int64_t number;
  QString text;
};
class ScriptedCodec : public TableCodec {
 public:
  ScriptedCodec(int fields, std::vector<std::vector<Cell>> records) : fields_(fields), records_(std::move(records)) {}
  int fieldCount() const override { return fields_; }
  std::vector<KeptBytes> locate(const QByteArray& file) const override {
    std::vector<KeptBytes> v;
    for (size_t i = 0; i < records_.size(); ++i) v.emplace_back(file, qint64(i), 1);
    return v;
  }
  void decodeInto(const KeptBytes& record, const CodecContext&, CellSink& sink) const override {
    for (const Cell& c : records_[size_t(record.offset())]) {
      if (c.kind == Cell::Number)
        sink.number(c.column, c.number);
      else if (c.kind == Cell::Text)
        sink.text(c.column, QString(c.text));  // a text that does not outlive the call
      else
        sink.word(c.column, c.text);
    }
  }
  std::optional<CellProblem> encodeTo(const RowList&, const QByteArray&, const CodecContext&,
                                      ByteSink&) const override {
    return CellProblem{0, 0, QStringLiteral("not for saving")};
  }

 private:
  int fields_;
  std::vector<std::vector<Cell>> records_;
};

QString ucs4(char32_t c) { return QString::fromUcs4(&c, 1); }

std::vector<CsvOptions> AllOptions(int fieldCount) {
  QStringList header;
  for (int c = 1; c <= fieldCount; ++c)
    header << (c == 2 ? QStringLiteral("名称,\"简\"") : QStringLiteral("栏%1").arg(c));
  std::vector<CsvOptions> all;
  for (TextEncoding e : {TextEncoding::Utf8, TextEncoding::Gbk, TextEncoding::Big5})
    for (bool bom : {false, true})
      for (bool withHeader : {false, true}) {
        if (bom && e != TextEncoding::Utf8) continue;
        CsvOptions o;
        o.encoding = e;
        o.bom = bom;
        if (withHeader) o.header = header;
        all.push_back(o);
      }
  return all;
}

QString describe(const CsvOptions& o) {
  return QStringLiteral("%1%2%3").arg(TextEncodingName(o.encoding), o.bom ? " bom" : "",
                                      o.header.isEmpty() ? "" : " header");
}

}  // namespace

class CsvExportTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  int folders_ = 0;
  QString large_;

  // A sample folder of 4000 records a table, written once (it takes a while).
  QString largeFolder() {
    QString error;
    if (large_.isEmpty() && WriteSampleFolder(dir_.filePath(QStringLiteral("large")), 3, 4000, &error))
      large_ = dir_.filePath(QStringLiteral("large"));
    return large_;
  }

 private slots:

  void sameAsTheGrid_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("locale");
    QTest::addColumn<unsigned>("seed");
    for (const TableDef* t : AllTables())
      for (int locale : {2052, 1028})
        for (unsigned seed : {1u, 2u, 7u})
          QTest::addRow("%s, %d, seed %u", qPrintable(t->fileName), locale, seed) << t->fileName << locale << seed;
  }
  // Every option over a crafted folder: the export is the grid's CSV, byte
  // for byte, or the same refusal; so is the command-line tool's output.
  void sameAsTheGrid() {
    QFETCH(QString, file);
    QFETCH(int, locale);
    QFETCH(unsigned, seed);
    const Script script = SystemTextScript(locale);
    const TableDef& t = *FindTable(file);
    const QString folder = dir_.filePath(QStringLiteral("f%1").arg(++folders_));
    QString error;
    QVERIFY(WriteSampleFolder(folder, seed, 9, &error));
    // Producer names made awkward as well (the tables that show them by name read them).
    const QString producers = folder + "/Producer.tab";
    QVERIFY(WriteFile(producers, Crafted(ProducerTable(), ReadFile(producers), seed + 100)));
    QVERIFY(WriteFile(folder + "/" + file, Crafted(t, ReadFile(folder + "/" + file), seed)));

    for (const CsvOptions& options : AllOptions(t.fieldCount())) {
      const Written grid = GridCsv(t, folder, script, options);
      Written fast;
      CsvRefusal refusal;
      QString readError;
      fast.ok = TableToCsv(t, folder, script, options, &fast.csv, &readError, &refusal);
      QVERIFY2(readError.isEmpty(), qPrintable(readError));
      QVERIFY2(fast.ok == grid.ok, qPrintable(describe(options)));
      if (!grid.ok) {
        QCOMPARE(refusal.line, grid.line);
        QCOMPARE(refusal.reason, grid.reason);
        continue;
      }
      if (fast.csv != grid.csv) {
        qsizetype at = 0;
        while (at < fast.csv.size() && at < grid.csv.size() && fast.csv[at] == grid.csv[at]) ++at;
        QFAIL(qPrintable(QStringLiteral("%1: differs at byte %2: \"%3\" against \"%4\"")
                             .arg(describe(options))
                             .arg(at)
                             .arg(QString::fromUtf8(fast.csv.mid(std::max<qsizetype>(at - 20, 0), 60)),
                                  QString::fromUtf8(grid.csv.mid(std::max<qsizetype>(at - 20, 0), 60)))));
      }
    }

    // The workbook made straight from the file's bytes is the one of the rows a load shows, byte for byte.
    ToolTable tool;
    QVERIFY(FindToolTable(file, &tool));
    std::vector<QStringList> rows;
    bool exists = false;
    QString readError, workbookError, rowsError;
    QByteArray fromBytes, fromRows;
    QVERIFY(tool.read(folder, script, &rows, &exists, &readError));
    const bool rowsMade = RecordsToXlsx(rows, SheetColumns(tool, folder), file, &fromRows, &rowsError);
    QCOMPARE(TableToXlsx(tool, folder, script, &fromBytes, &readError, &workbookError), rowsMade);
    QCOMPARE(workbookError, rowsError);
    QVERIFY(fromBytes == fromRows);

    if (qgetenv("V3_CLI").isEmpty()) return;
    // The tool itself, with its own header line.
    const LanguageFile texts(InterfaceScript(locale),
                             LanguageFolder(QFileInfo(QString::fromLocal8Bit(qgetenv("V3_CLI"))).absolutePath()));
    CsvOptions options;
    options.bom = true;
    options.header = texts.headers(t.fileName, t.fieldCount());
    const Written grid = GridCsv(t, folder, script, options);
    const CliRun run = RunCli({"--locale", QString::number(locale), "export", folder, file, "--bom", "--header"});
    QCOMPARE(run.code, grid.ok ? 0 : 3);
    if (grid.ok) QCOMPARE(run.out, grid.csv);
  }

  // A large table's CSV handed over in parts as it grows: together they are
  // the CSV made whole, which is the grid's, each part of a bounded size; the
  // options that make a CSV another way give it whole.
  void flushedInParts() {
    const QString folder = largeFolder();
    QVERIFY(!folder.isEmpty());
    for (const char* file : {"StarRole.dat", "CDCase.dat", "OfficeEmo.dat"}) {
      const TableDef& t = *FindTable(QString::fromLatin1(file));
      for (const CsvOptions& options : AllOptions(t.fieldCount())) {
        QByteArray whole, rest, parts;
        CsvRefusal refusal;
        QString readError;
        QVERIFY(TableToCsv(t, folder, Script::Traditional, options, &whole, &readError, &refusal));
        int count = 0;
        qsizetype largest = 0;
        QVERIFY(
            TableToCsv(t, folder, Script::Traditional, options, &rest, &readError, &refusal, [&](QByteArrayView part) {
              parts += part;
              largest = std::max(largest, part.size());
              ++count;
            }));
        QCOMPARE(parts + rest, whole);
        QVERIFY(whole == GridCsv(t, folder, Script::Traditional, options).csv);
        const bool plain = options.encoding == TextEncoding::Utf8;
        QVERIFY2(
            plain ? count >= 1 && largest < 300 * 1024 : count == 0,
            qPrintable(
                QStringLiteral("%1: %2 parts, the largest %3 bytes").arg(describe(options)).arg(count).arg(largest)));
      }
    }
  }

  // A large table is read a piece at a time as its CSV is handed over: a
  // file cut short or grown meanwhile is an error that names it, after the
  // pieces read before.
  void changedWhileExported_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("change");  // bytes the file gains (or loses) once the first piece is handed over
    for (const char* file : {"StarRole.dat", "CDCase.dat", "OfficeEmo.dat"}) {
      QTest::addRow("%s unchanged", file) << file << 0;
      QTest::addRow("%s cut short", file) << file << -500000;
      QTest::addRow("%s grown", file) << file << 1;
    }
  }
  void changedWhileExported() {
    QFETCH(QString, file);
    QFETCH(int, change);
    const QString folder = largeFolder();
    QVERIFY(!folder.isEmpty());
    const TableDef& t = *FindTable(file);
    const QString path = folder + "/" + file;
    const QByteArray before = ReadFile(path);
    auto restore = qScopeGuard([&] { WriteFile(path, before); });
    QByteArray parts, rest;
    QString readError;
    CsvRefusal refusal;
    const bool ok =
        TableToCsv(t, folder, Script::Traditional, CsvOptions{}, &rest, &readError, &refusal, [&](QByteArrayView part) {
          if (parts.isEmpty() && change != 0) {
            QFile f(path);
            QVERIFY(change > 0 ? f.open(QIODevice::Append) && f.write("x") == 1 : f.resize(before.size() + change));
          }
          parts += part;
        });
    QCOMPARE(ok, change == 0);
    QVERIFY2(change == 0 ? readError.isEmpty() : readError.contains(file), qPrintable(readError));
    // What was handed over is the start of the file's CSV.
    QByteArray whole;
    QVERIFY(WriteFile(path, before));
    QVERIFY(TableToCsv(t, folder, Script::Traditional, CsvOptions{}, &whole, &readError, &refusal));
    QVERIFY(!parts.isEmpty());
    QVERIFY(whole.startsWith(parts));
    if (change == 0) QCOMPARE(parts + rest, whole);
  }

  void scriptedCells_data() {
    QTest::addColumn<int>("fields");
    QTest::addColumn<QList<QList<QVariant>>>("script");  // per record: column, kind (n/t/w), value, ...
    auto n = [](int c, qint64 v) { return QList<QVariant>{c, QStringLiteral("n"), v}; };
    auto t = [](int c, const QString& s) { return QList<QVariant>{c, QStringLiteral("t"), s}; };
    auto w = [](int c, const QString& s) { return QList<QVariant>{c, QStringLiteral("w"), s}; };
    auto rec = [](std::initializer_list<QList<QVariant>> cells) {
      QList<QVariant> r;
      for (const auto& c : cells) r += c;
      return r;
    };
    const QString nul(QChar(u'\0'));
    QTest::newRow("numbers at the ends of their range")
        << 3
        << QList<QList<QVariant>>{
               rec({n(1, std::numeric_limits<qint64>::min()), n(2, -1), n(3, std::numeric_limits<qint64>::max())}),
               rec({n(1, 0), n(2, -32768), n(3, 32767)})};
    QTest::newRow("characters that are quoted")
        << 4
        << QList<QList<QVariant>>{rec({t(1, "a,b"), t(2, "say \"x\""), t(3, "a\r\nb"), w(4, "\"")}),
                                  rec({t(1, "\r"), t(2, "\n"), t(3, ","), t(4, "\"\"")})};
    QTest::newRow("a leading U+FEFF") << 3
                                      << QList<QList<QVariant>>{
                                             rec({t(1, QStringLiteral("\uFEFF1")), t(2, QStringLiteral("a\uFEFF")),
                                                  t(3, nul + QStringLiteral("\uFEFF"))}),
                                             rec({w(1, QStringLiteral("\uFEFF")), t(2, nul + nul),
                                                  t(3, QStringLiteral("\\\uFEFF"))})};
    QTest::newRow("zeros and backslashes")
        << 3
        << QList<QList<QVariant>>{rec({t(1, "A" + nul + "B" + nul + nul), t(2, "\\\\x41\\"), t(3, nul)}),
                                  rec({t(1, nul + "x"), t(2, QString("\\x00")), w(3, nul + nul + "z" + nul)})};
    QTest::newRow("byte characters and pairs")
        << 3
        << QList<QList<QVariant>>{rec({t(1, QStringLiteral("林") + ucs4(ByteCharacter(0xA4))),
                                       t(2, ucs4(ByteCharacter(0x00)) + ucs4(ByteCharacter(0xFF))),
                                       t(3, QStringLiteral("😀") + ucs4(0x10FDFF) + ucs4(0x10FF00))})};
    QTest::newRow("a lone surrogate stops the export at its line and column")
        << 3
        << QList<QList<QVariant>>{rec({n(1, 1), t(2, "ok"), t(3, "fine")}),
                                  rec({n(1, 2), t(2, QString(QChar(0xD800))), t(3, "x")}),
                                  rec({n(1, 3), t(2, "never"), t(3, "written")})};
    QTest::newRow("a lone low surrogate, and one before a zero")
        << 2 << QList<QList<QVariant>>{rec({t(1, QString(QChar(0xDC00)) + "a"), n(2, 1)})};
    QTest::newRow("a high surrogate before trailing zeros")
        << 2 << QList<QList<QVariant>>{rec({t(1, "a" + QString(QChar(0xD83D)) + nul), n(2, 1)})};
    QTest::newRow("columns left out are empty")
        << 5 << QList<QList<QVariant>>{rec({n(2, 7), t(4, "x")}), rec({}), rec({n(5, 1)}), rec({n(1, 1)})};
    QTest::newRow("columns out of order, and one given twice")
        << 3
        << QList<QList<QVariant>>{rec({n(3, 3), n(1, 1), t(2, "b")}), rec({n(1, 1), n(2, 2), n(2, 5), n(3, 3)}),
                                  rec({n(1, 9), n(2, 8), n(3, 7)})};
  }
  // Cells no table file gives: the CSV writer still writes what the grid's
  // cells make, or refuses the same line and column.
  void scriptedCells() {
    QFETCH(int, fields);
    QFETCH(QList<QList<QVariant>>, script);
    std::vector<std::vector<Cell>> records;
    for (const QList<QVariant>& r : script) {
      std::vector<Cell> cells;
      for (qsizetype i = 0; i + 2 < r.size(); i += 3) {
        const QString kind = r[i + 1].toString();
        cells.push_back({kind == "n"   ? Cell::Number
                         : kind == "t" ? Cell::Text
                                       : Cell::Word,
                         r[i].toInt(), r[i + 2].toLongLong(), r[i + 2].toString()});
      }
      records.push_back(cells);
    }
    const ScriptedCodec codec(fields, records);
    for (const CsvOptions& options : AllOptions(fields)) {
      std::vector<QStringList> rows;
      for (TableRecord& r : codec.decode(QByteArray("x"), CodecContext(Script::Traditional))) rows.push_back(r.cells);
      QByteArray expected, got;
      CsvRefusal expectedRefusal, refusal;
      const bool ok = RecordsToCsv(rows, options, &expected, &expectedRefusal);
      QCOMPARE(TableBytesToCsv(codec, QByteArray("x"), CodecContext(Script::Traditional), options, &got, &refusal), ok);
      if (ok) {
        QCOMPARE(got, expected);
      } else {
        QCOMPARE(refusal.line, expectedRefusal.line);
        QCOMPARE(refusal.reason, expectedRefusal.reason);
      }
    }
  }
};

QTEST_GUILESS_MAIN(CsvExportTest)
#include "test_csv_export.moc"
