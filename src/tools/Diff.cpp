#include "tools/Diff.h"

#include <QCoreApplication>
#include <QHash>

#include <functional>

#include "storage/FileStore.h"
#include "tables/Producers.h"
#include "text/DiskFile.h"
#include "tools/Csv.h"
#include "tools/CsvTable.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Diff)
};

struct Keyed {
  QString key;
  int occurrence;
  int row;  // 1..N
};

std::vector<Keyed> keyed(const ToolTable& t, const std::vector<QStringList>& rows) {
  std::vector<Keyed> out;
  QHash<QString, int> seen;
  for (size_t i = 0; i < rows.size(); ++i) {
    const QString key = RecordKey(t, rows[i], int(i) + 1);
    out.push_back({key, ++seen[key], int(i) + 1});
  }
  return out;
}

// Whether the bytes of record rowA of A and rowB of B differ (rows 1..N).
using BytesDiffer = std::function<bool(int rowA, int rowB)>;

std::vector<RecordDifference> diffRecords(const ToolTable& table, const std::vector<QStringList>& a,
                                          const std::vector<QStringList>& b, const BytesDiffer& bytesDiffer,
                                          bool* reordered) {
  const std::vector<Keyed> ka = keyed(table, a), kb = keyed(table, b);
  QHash<QString, int> inB;  // key + occurrence -> index into kb
  for (size_t i = 0; i < kb.size(); ++i)
    inB.insert(kb[i].key + QChar(0x1F) + QString::number(kb[i].occurrence), int(i));
  std::vector<bool> matched(kb.size(), false);
  std::vector<RecordDifference> out;
  const int nameColumn = table.nameColumn();
  auto nameOf = [nameColumn](const QStringList& row) {
    return nameColumn ? row.value(nameColumn - 1).trimmed() : QString();
  };
  int lastRowB = 0;
  for (const Keyed& x : ka) {
    const auto it = inB.constFind(x.key + QChar(0x1F) + QString::number(x.occurrence));
    RecordDifference d;
    d.key = x.key;
    d.occurrence = x.occurrence;
    d.rowA = x.row;
    if (it == inB.constEnd()) {
      d.kind = RecordDifference::Removed;
      d.cells = a[size_t(x.row - 1)];
      d.name = nameOf(d.cells);
      out.push_back(d);
      continue;
    }
    matched[size_t(*it)] = true;
    d.rowB = kb[size_t(*it)].row;
    if (reordered && d.rowB < lastRowB) *reordered = true;
    lastRowB = d.rowB;
    const QStringList& ra = a[size_t(d.rowA - 1)];
    const QStringList& rb = b[size_t(d.rowB - 1)];
    for (qsizetype c = 0; c < std::max(ra.size(), rb.size()); ++c)
      if (ra.value(c) != rb.value(c)) d.changes.push_back({int(c) + 1, ra.value(c), rb.value(c)});
    d.outsideFields = d.changes.empty() && bytesDiffer && bytesDiffer(d.rowA, d.rowB);
    d.name = nameOf(rb).isEmpty() ? nameOf(ra) : nameOf(rb);
    if (!d.changes.empty() || d.outsideFields) out.push_back(d);
  }
  for (size_t i = 0; i < kb.size(); ++i) {
    if (matched[i]) continue;
    RecordDifference d;
    d.kind = RecordDifference::Added;
    d.key = kb[i].key;
    d.occurrence = kb[i].occurrence;
    d.rowB = kb[i].row;
    d.cells = b[i];
    d.name = nameOf(d.cells);
    out.push_back(d);
  }
  return out;
}

QByteArray recordBytes(const TableRecord& r) {
  return r.kept.isEmpty() ? QByteArray() : r.kept.bytes(0, r.kept.size());
}

// One folder's file of a grid table, decoded with the producers of `producerFolder`.
struct Side {
  bool exists = false;
  QString error;
  QByteArray bytes;
  std::vector<TableRecord> records;
  std::vector<QStringList> cells;
};

ProducerDirectory producersOf(const TableDef& table, const QString& folder, QString* error) {
  if (!table.codec->needsProducers()) return {};
  ProducerDirectory p = ProducerDirectory::load(folder);
  if (error && error->isEmpty()) *error = p.readError();
  return p;
}

void decode(const TableDef& table, const QString& folder, Script systemScript, const QByteArray& bytes,
            const ProducerDirectory& producers, std::vector<TableRecord>* records, std::vector<QStringList>* cells) {
  CodecContext ctx(systemScript, folder);
  ctx.producers = &producers;
  std::vector<TableRecord> decoded = table.codec->decode(bytes, ctx);
  cells->clear();
  for (const TableRecord& r : decoded) cells->push_back(r.cells);
  if (records) *records = std::move(decoded);
}

Side readSide(const TableDef& table, const QString& folder) {
  Side s;
  s.bytes = FileStore::disk().read(DataFilePath(folder, table.fileName), &s.exists, &s.error);
  return s;
}

void decodeSide(const TableDef& table, const QString& folder, Script systemScript, const ProducerDirectory& producers,
                Side* s) {
  if (s->error.isEmpty() && s->exists) decode(table, folder, systemScript, s->bytes, producers, &s->records, &s->cells);
}

// Whether the table's records read the same from the same bytes in both
// folders: its file is all they depend on, or the producers they name are
// read from the same bytes too.
bool readAlike(const TableDef& table, const QString& folderA, const QString& folderB) {
  if (!table.codec->needsProducers()) return true;
  bool existsA = false, existsB = false;
  QString errorA, errorB;
  const QString name = QStringLiteral("Producer.tab");
  const QByteArray a = FileStore::disk().read(DataFilePath(folderA, name), &existsA, &errorA);
  const QByteArray b = FileStore::disk().read(DataFilePath(folderB, name), &existsB, &errorB);
  return errorA.isEmpty() && errorB.isEmpty() && existsA == existsB && a == b;
}

// A grid table of two folders: cells, then the bytes behind them.
TableDifference diffGrid(const ToolTable& t, const QString& folderA, const QString& folderB, Script systemScript) {
  const TableDef& table = *t.grid;
  TableDifference d;
  d.table = t;
  QString producersA, producersB;
  const ProducerDirectory pa = producersOf(table, folderA, &producersA), pb = producersOf(table, folderB, &producersB);
  Side a = readSide(table, folderA), b = readSide(table, folderB);
  d.inA = a.exists;
  d.inB = b.exists;
  d.errorA = a.error.isEmpty() && a.exists ? producersA : a.error;
  d.errorB = b.error.isEmpty() && b.exists ? producersB : b.error;
  if (!d.inA && !d.inB) return d;
  if (!d.errorA.isEmpty() || !d.errorB.isEmpty()) return d;
  // A file the same in both folders, read alike, has no differences: most
  // of a mod's folder is the game's own files.
  if (d.inA && d.inB && a.bytes == b.bytes && readAlike(table, folderA, folderB)) return d;
  decodeSide(table, folderA, systemScript, pa, &a);
  decodeSide(table, folderB, systemScript, pb, &b);
  d.records = diffRecords(
      t, a.cells, b.cells,
      [&](int rowA, int rowB) {
        return recordBytes(a.records[size_t(rowA - 1)]) != recordBytes(b.records[size_t(rowB - 1)]);
      },
      &d.reordered);
  // A cell that B's bytes give as A's when read with A's producers changed only in display.
  if (table.codec->needsProducers() && d.inA && d.inB) {
    std::vector<QStringList> bWithA;
    decode(table, folderA, systemScript, b.bytes, pa, nullptr, &bWithA);
    for (RecordDifference& r : d.records)
      if (r.kind == RecordDifference::Changed)
        for (CellChange& c : r.changes)
          c.displayOnly = bWithA[size_t(r.rowB - 1)].value(c.column - 1) == c.oldText &&
                          recordBytes(a.records[size_t(r.rowA - 1)]) == recordBytes(b.records[size_t(r.rowB - 1)]);
  }
  bool told = d.reordered;
  for (const RecordDifference& r : d.records) told = told || !r.displayOnly();
  d.outsideRecords = d.inA && d.inB && !told && a.bytes != b.bytes;
  return d;
}

QString escaped(const QString& text) { return CsvEscapeCell(text); }
QStringList escaped(const QStringList& cells) {
  QStringList out;
  for (const QString& c : cells) out << CsvEscapeCell(c);
  return out;
}
QString shown(const QString& cell) {
  const QString e = escaped(cell);
  return e.isEmpty() ? QStringLiteral("\"\"") : e;
}

QString recordName(const RecordDifference& d) {
  const QString key = escaped(d.key), name = escaped(d.name);
  QString s = Texts::tr("record %1").arg(key);
  if (d.occurrence > 1) s += Texts::tr(" (occurrence %1)").arg(d.occurrence);
  if (!name.isEmpty()) s += Texts::tr(" “%1”").arg(name);
  return s;
}

}  // namespace

bool RecordDifference::displayOnly() const {
  if (kind != Changed || outsideFields || changes.empty()) return false;
  for (const CellChange& c : changes)
    if (!c.displayOnly) return false;
  return true;
}

bool TableDifference::same() const {
  if (inA != inB || !errorA.isEmpty() || !errorB.isEmpty() || reordered || outsideRecords) return false;
  for (const RecordDifference& r : records)
    if (!r.displayOnly()) return false;
  return true;
}

std::vector<RecordDifference> DiffRecords(const ToolTable& table, const std::vector<QStringList>& a,
                                          const std::vector<QStringList>& b) {
  return diffRecords(table, a, b, nullptr, nullptr);
}

TableDifference DiffTableBytes(const TableDef& table, const QString& folder, Script systemScript, const QByteArray& a,
                               const QByteArray& b, const LanguageFile& texts) {
  TableDifference d;
  d.table.grid = &table;
  d.table.texts = texts;
  if (!table.codec) return d;
  QString error;
  const ProducerDirectory producers = producersOf(table, folder, &error);
  if (!error.isEmpty()) {
    d.errorA = d.errorB = error;
    return d;
  }
  if (a == b) return d;  // the same bytes hold the same records
  std::vector<TableRecord> ra, rb;
  std::vector<QStringList> ca, cb;
  decode(table, folder, systemScript, a, producers, &ra, &ca);
  decode(table, folder, systemScript, b, producers, &rb, &cb);
  d.records = diffRecords(
      d.table, ca, cb,
      [&](int rowA, int rowB) { return recordBytes(ra[size_t(rowA - 1)]) != recordBytes(rb[size_t(rowB - 1)]); },
      &d.reordered);
  d.outsideRecords = d.records.empty() && !d.reordered && a != b;
  return d;
}

std::vector<TableDifference> DiffFolders(const QString& folderA, const QString& folderB, Script systemScript,
                                         const std::vector<ToolTable>& tables, const LanguageFile& texts) {
  std::vector<TableDifference> out;
  for (const ToolTable& t : tables.empty() ? AllToolTables(texts) : tables) {
    if (t.grid && t.grid->codec) {
      TableDifference d = diffGrid(t, folderA, folderB, systemScript);
      if (d.inA || d.inB) out.push_back(std::move(d));
      continue;
    }
    TableDifference d;
    d.table = t;
    std::vector<QStringList> a, b;
    t.read(folderA, systemScript, &a, &d.inA, &d.errorA);
    t.read(folderB, systemScript, &b, &d.inB, &d.errorB);
    if (!d.inA && !d.inB) continue;
    if (d.errorA.isEmpty() && d.errorB.isEmpty()) {
      d.records = DiffRecords(t, a, b);
      // What no value shows: the bytes of the files themselves.
      if (d.records.empty() && d.inA && d.inB) {
        bool exists = false;
        QString error;
        const QByteArray fa = FileStore::disk().read(DataFilePath(folderA, t.fileName()), &exists, &error);
        const QByteArray fb = FileStore::disk().read(DataFilePath(folderB, t.fileName()), &exists, &error);
        d.outsideRecords = error.isEmpty() && fa != fb;
      }
    }
    out.push_back(std::move(d));
  }
  return out;
}

QString DiffReport(const std::vector<TableDifference>& diffs) {
  QString text;
  for (const TableDifference& d : diffs) {
    const QString f = d.table.fileName();
    if (!d.errorA.isEmpty()) text += Texts::tr("%1: cannot be read in the first folder: %2\n").arg(f, d.errorA);
    if (!d.errorB.isEmpty()) text += Texts::tr("%1: cannot be read in the second folder: %2\n").arg(f, d.errorB);
    if (!d.inA) text += Texts::tr("%1: only in the second folder\n").arg(f);
    if (!d.inB) text += Texts::tr("%1: only in the first folder\n").arg(f);
    for (const RecordDifference& r : d.records) {
      switch (r.kind) {
        case RecordDifference::Added:
          text += Texts::tr("%1: %2 added: %3\n").arg(f, recordName(r), escaped(r.cells).join(QStringLiteral(", ")));
          break;
        case RecordDifference::Removed:
          text += Texts::tr("%1: %2 removed: %3\n").arg(f, recordName(r), escaped(r.cells).join(QStringLiteral(", ")));
          break;
        case RecordDifference::Changed:
          if (r.outsideFields) text += Texts::tr("%1: bytes outside the fields of %2 changed\n").arg(f, recordName(r));
          for (const CellChange& c : r.changes)
            text += (c.displayOnly ? Texts::tr("%1: %2: %3: %4 → %5 (display only: the record's bytes are the same)\n")
                                   : Texts::tr("%1: %2: %3: %4 → %5\n"))
                        .arg(f, recordName(r), d.table.columnName(c.column), shown(c.oldText), shown(c.newText));
          break;
      }
    }
    if (d.reordered) text += Texts::tr("%1: the records are in another order\n").arg(f);
    if (d.outsideRecords) text += Texts::tr("%1: bytes outside every record changed\n").arg(f);
  }
  return text;
}

QByteArray DiffCsv(const std::vector<TableDifference>& diffs) {
  QByteArray csv = CsvLine({QStringLiteral("table"), QStringLiteral("record"), QStringLiteral("occurrence"),
                            QStringLiteral("change"), QStringLiteral("column"), QStringLiteral("column name"),
                            QStringLiteral("old"), QStringLiteral("new"), QStringLiteral("record name")});
  auto line = [&csv](const QString& table, const RecordDifference* r, const QString& change, int column,
                     const QString& name, const QString& oldText, const QString& newText) {
    csv += CsvLine({table, r ? escaped(r->key) : QString(), r ? QString::number(r->occurrence) : QString(), change,
                    column ? QString::number(column) : QString(), name, oldText, newText,
                    r ? escaped(r->name) : QString()});
  };
  for (const TableDifference& d : diffs) {
    const QString f = d.table.fileName();
    if (!d.errorA.isEmpty() || !d.errorB.isEmpty())
      line(f, nullptr, QStringLiteral("unreadable"), 0, QString(), d.errorA, d.errorB);
    if (!d.inA) line(f, nullptr, QStringLiteral("file added"), 0, QString(), QString(), QString());
    if (!d.inB) line(f, nullptr, QStringLiteral("file removed"), 0, QString(), QString(), QString());
    for (const RecordDifference& r : d.records) {
      switch (r.kind) {
        case RecordDifference::Added:
          line(f, &r, QStringLiteral("added"), 0, QString(), QString(), CsvLineText(escaped(r.cells)).chopped(2));
          break;
        case RecordDifference::Removed:
          line(f, &r, QStringLiteral("removed"), 0, QString(), CsvLineText(escaped(r.cells)).chopped(2), QString());
          break;
        case RecordDifference::Changed:
          if (r.outsideFields)
            line(f, &r, QStringLiteral("bytes outside the fields"), 0, QString(), QString(), QString());
          for (const CellChange& c : r.changes)
            line(f, &r, c.displayOnly ? QStringLiteral("display only") : QStringLiteral("changed"), c.column,
                 d.table.columnName(c.column), escaped(c.oldText), escaped(c.newText));
          break;
      }
    }
    if (d.reordered) line(f, nullptr, QStringLiteral("reordered"), 0, QString(), QString(), QString());
    if (d.outsideRecords)
      line(f, nullptr, QStringLiteral("bytes outside the records"), 0, QString(), QString(), QString());
  }
  return csv;
}

}  // namespace v3
