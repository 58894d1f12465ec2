#include "tools/Diff.h"

#include <QHash>

#include "tools/Csv.h"

namespace v3 {
namespace {

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

QString recordName(const RecordDifference& d) {
  QString s = QStringLiteral("record %1").arg(d.key);
  if (d.occurrence > 1) s += QStringLiteral(" (occurrence %1)").arg(d.occurrence);
  return s;
}

// A code's trailing zero bytes are no text for a reader.
QString printable(QString cell) { return cell.remove(QChar(u'\0')); }
QStringList printable(const QStringList& cells) {
  QStringList out;
  for (const QString& c : cells) out << printable(c);
  return out;
}
QString shown(const QString& cell) { return cell.isEmpty() ? QStringLiteral("\"\"") : printable(cell); }

}  // namespace

std::vector<RecordDifference> DiffRecords(const ToolTable& table, const std::vector<QStringList>& a,
                                          const std::vector<QStringList>& b) {
  const std::vector<Keyed> ka = keyed(table, a), kb = keyed(table, b);
  QHash<QString, int> inB;  // key + occurrence -> index into kb
  for (size_t i = 0; i < kb.size(); ++i) inB.insert(kb[i].key + QChar(0x1F) + QString::number(kb[i].occurrence), int(i));
  std::vector<bool> matched(kb.size(), false);
  std::vector<RecordDifference> out;
  for (const Keyed& x : ka) {
    const auto it = inB.constFind(x.key + QChar(0x1F) + QString::number(x.occurrence));
    RecordDifference d;
    d.key = x.key;
    d.occurrence = x.occurrence;
    d.rowA = x.row;
    if (it == inB.constEnd()) {
      d.kind = RecordDifference::Removed;
      d.cells = a[size_t(x.row - 1)];
      out.push_back(d);
      continue;
    }
    matched[size_t(*it)] = true;
    d.rowB = kb[size_t(*it)].row;
    const QStringList& ra = a[size_t(d.rowA - 1)];
    const QStringList& rb = b[size_t(d.rowB - 1)];
    for (qsizetype c = 0; c < std::max(ra.size(), rb.size()); ++c)
      if (ra.value(c) != rb.value(c)) d.changes.push_back({int(c) + 1, ra.value(c), rb.value(c)});
    if (!d.changes.empty()) out.push_back(d);
  }
  for (size_t i = 0; i < kb.size(); ++i) {
    if (matched[i]) continue;
    RecordDifference d;
    d.kind = RecordDifference::Added;
    d.key = kb[i].key;
    d.occurrence = kb[i].occurrence;
    d.rowB = kb[i].row;
    d.cells = b[i];
    out.push_back(d);
  }
  return out;
}

TableDifference DiffTableBytes(const TableDef& table, const QString& folder, const QByteArray& a,
                               const QByteArray& b, const LanguageFile& texts) {
  TableDifference d;
  d.table.grid = &table;
  d.table.texts = texts;
  if (!table.codec) return d;
  CodecContext ctx;
  ctx.dataFolder = folder;
  ProducerDirectory producers;
  if (table.codec->needsProducers()) {
    producers = ProducerDirectory::load(folder);
    ctx.producers = &producers;
    if (!producers.readError().isEmpty()) {
      d.errorA = d.errorB = producers.readError();
      return d;
    }
  }
  auto rows = [&](const QByteArray& bytes) {
    std::vector<QStringList> out;
    for (TableRecord& r : table.codec->decode(bytes, ctx)) out.push_back(std::move(r.cells));
    return out;
  };
  d.records = DiffRecords(d.table, rows(a), rows(b));
  return d;
}

std::vector<TableDifference> DiffFolders(const QString& folderA, const QString& folderB,
                                         const std::vector<ToolTable>& tables, const LanguageFile& texts) {
  std::vector<TableDifference> out;
  for (const ToolTable& t : tables.empty() ? AllToolTables(texts) : tables) {
    TableDifference d;
    d.table = t;
    std::vector<QStringList> a, b;
    t.read(folderA, &a, &d.inA, &d.errorA);
    t.read(folderB, &b, &d.inB, &d.errorB);
    if (!d.inA && !d.inB) continue;
    if (d.errorA.isEmpty() && d.errorB.isEmpty()) d.records = DiffRecords(t, a, b);
    out.push_back(std::move(d));
  }
  return out;
}

QString DiffReport(const std::vector<TableDifference>& diffs) {
  QString text;
  for (const TableDifference& d : diffs) {
    const QString f = d.table.fileName();
    if (!d.errorA.isEmpty()) text += QStringLiteral("%1: cannot be read in the first folder: %2\n").arg(f, d.errorA);
    if (!d.errorB.isEmpty()) text += QStringLiteral("%1: cannot be read in the second folder: %2\n").arg(f, d.errorB);
    if (!d.inA) text += QStringLiteral("%1: only in the second folder\n").arg(f);
    if (!d.inB) text += QStringLiteral("%1: only in the first folder\n").arg(f);
    for (const RecordDifference& r : d.records) {
      switch (r.kind) {
        case RecordDifference::Added:
          text += QStringLiteral("%1: %2 added: %3\n").arg(f, recordName(r), printable(r.cells).join(QStringLiteral(", ")));
          break;
        case RecordDifference::Removed:
          text += QStringLiteral("%1: %2 removed: %3\n").arg(f, recordName(r), printable(r.cells).join(QStringLiteral(", ")));
          break;
        case RecordDifference::Changed:
          for (const CellChange& c : r.changes)
            text += QStringLiteral("%1: %2: %3: %4 → %5\n")
                        .arg(f, recordName(r), d.table.columnName(c.column), shown(c.oldText), shown(c.newText));
          break;
      }
    }
  }
  return text;
}

QByteArray DiffCsv(const std::vector<TableDifference>& diffs) {
  QByteArray csv = CsvLine({QStringLiteral("table"), QStringLiteral("record"), QStringLiteral("occurrence"),
                            QStringLiteral("change"), QStringLiteral("column"), QStringLiteral("column name"),
                            QStringLiteral("old"), QStringLiteral("new")});
  auto line = [&csv](const QString& table, const QString& key, int occurrence, const QString& change, int column,
                     const QString& name, const QString& oldText, const QString& newText) {
    csv += CsvLine({table, key, occurrence ? QString::number(occurrence) : QString(), change,
                    column ? QString::number(column) : QString(), name, oldText, newText});
  };
  for (const TableDifference& d : diffs) {
    const QString f = d.table.fileName();
    if (!d.errorA.isEmpty() || !d.errorB.isEmpty())
      line(f, QString(), 0, QStringLiteral("unreadable"), 0, QString(), d.errorA, d.errorB);
    if (!d.inA) line(f, QString(), 0, QStringLiteral("file added"), 0, QString(), QString(), QString());
    if (!d.inB) line(f, QString(), 0, QStringLiteral("file removed"), 0, QString(), QString(), QString());
    for (const RecordDifference& r : d.records) {
      switch (r.kind) {
        case RecordDifference::Added:
          line(f, r.key, r.occurrence, QStringLiteral("added"), 0, QString(), QString(), CsvLineText(printable(r.cells)).chopped(2));
          break;
        case RecordDifference::Removed:
          line(f, r.key, r.occurrence, QStringLiteral("removed"), 0, QString(), CsvLineText(printable(r.cells)).chopped(2), QString());
          break;
        case RecordDifference::Changed:
          for (const CellChange& c : r.changes)
            line(f, r.key, r.occurrence, QStringLiteral("changed"), c.column, d.table.columnName(c.column), printable(c.oldText),
                 printable(c.newText));
          break;
      }
    }
  }
  return csv;
}

}  // namespace v3
