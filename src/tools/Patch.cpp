#include "tools/Patch.h"

#include <QCoreApplication>
#include <QHash>

#include <algorithm>

#include "text/StrictCodec.h"
#include "tools/CsvTable.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Patch)
};

const QString kMagic = QStringLiteral("Vantaro3 patch");
const QChar kTab = u'\t';

// "record 5", "record 5 (occurrence 2)", "record 5 “飛輪海”": the key as the
// patch writes it, and the record's name where the table has one.
QString recordName(const QString& key, int occurrence, const QString& name) {
  const QString k = PatchEscape(key);
  if (name.isEmpty())
    return occurrence > 1 ? Texts::tr("record %1 (occurrence %2)").arg(k).arg(occurrence)
                          : Texts::tr("record %1").arg(k);
  return occurrence > 1 ? Texts::tr("record %1 (occurrence %2) “%3”").arg(k).arg(occurrence).arg(name)
                        : Texts::tr("record %1 “%2”").arg(k, name);
}

QString escapedRecord(const QStringList& cells) {
  QStringList out;
  for (const QString& c : cells) out << PatchEscape(c);
  return out.join(QStringLiteral(", "));
}

bool sameRecord(const QStringList& a, const QStringList& b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i)
    if (PatchEscape(a[i]) != PatchEscape(b[i])) return false;
  return true;
}

// A positive number of at most nine digits.
bool positive(const QString& text, int* value) {
  bool ok = false;
  *value = text.size() <= 9 ? text.toInt(&ok) : 0;
  return ok && *value >= 1 && !text.startsWith(u'+');
}

// Where each record of `names` goes: the rows named by `order` in its
// order, then the others as they are (order[i] is the row that becomes i + 1).
std::vector<int> orderOfRows(const QStringList& names, const QStringList& order) {
  QHash<QString, int> rowOf;
  for (qsizetype i = 0; i < names.size(); ++i) rowOf.insert(names[i], int(i) + 1);
  std::vector<int> out;
  std::vector<bool> placed(size_t(names.size()) + 1, false);
  for (const QString& n : order) {
    const int r = rowOf.value(n, 0);
    if (r > 0 && !placed[size_t(r)]) {
      out.push_back(r);
      placed[size_t(r)] = true;
    }
  }
  for (int r = 1; r <= int(names.size()); ++r)
    if (!placed[size_t(r)]) out.push_back(r);
  return out;
}

}  // namespace

QString OrderName(const QString& key, int occurrence) {
  QString k = PatchEscape(key);
  k.replace(u' ', QStringLiteral("\\x20")).replace(u'#', QStringLiteral("\\x23"));
  return k + u'#' + QString::number(occurrence);
}

QStringList OrderNames(const ToolTable& table, const std::vector<QStringList>& rows) {
  QStringList out;
  QHash<QString, int> seen;
  for (size_t i = 0; i < rows.size(); ++i) {
    const QString key = RecordKey(table, rows[i], int(i) + 1);
    out << OrderName(key, ++seen[key]);
  }
  return out;
}

QString PatchError::message(const QString& patchName) const {
  return line > 0 ? Texts::tr("%1: line %2: %3").arg(patchName).arg(line).arg(reason)
                  : QStringLiteral("%1: %2").arg(patchName, reason);
}

QString PatchEscape(const QString& cell) {
  const QString csv = CsvEscapeCell(cell);
  QString out;
  out.reserve(csv.size());
  for (const QChar c : csv) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7F)
      out += QStringLiteral("\\x") + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
    else
      out += c;
  }
  return out;
}

QString PatchUnescape(const QString& text) { return CsvUnescapeCell(text); }

QByteArray WritePatch(const std::vector<TableDifference>& diffs, const std::vector<PatchOrder>& orders) {
  QStringList tables, lines;
  for (const TableDifference& d : diffs) {
    const QString f = d.table.fileName();
    const int before = int(lines.size());
    for (const RecordDifference& r : d.records) {
      const QString head = f + kTab +
                           (r.kind == RecordDifference::Changed ? QStringLiteral("changed")
                            : r.kind == RecordDifference::Added ? QStringLiteral("added")
                                                                : QStringLiteral("removed")) +
                           kTab + PatchEscape(r.key) + kTab + QString::number(r.occurrence) + kTab;
      if (r.kind == RecordDifference::Changed) {
        for (const CellChange& c : r.changes) {
          const QString oldText = PatchEscape(c.oldText), newText = PatchEscape(c.newText);
          if (oldText == newText) continue;  // a code's trailing zeros: the same bytes once saved
          lines << head + QString::number(c.column) + kTab + PatchEscape(d.table.columnName(c.column)) + kTab +
                       oldText + kTab + newText;
        }
      } else {
        QStringList cells;
        for (const QString& c : r.cells) cells << PatchEscape(c);
        while (cells.size() < d.table.fieldCount()) cells << QString();
        lines << head + QString::number(r.kind == RecordDifference::Added ? r.rowB : r.rowA) + kTab + cells.join(kTab);
      }
    }
    for (const PatchOrder& o : orders)
      if (o.table.fileName() == f && o.before != o.after)
        lines << f + kTab + QStringLiteral("order") + kTab + o.before.join(u' ') + kTab + o.after.join(u' ');
    if (int(lines.size()) > before) tables << f;
  }
  QString text = kMagic + kTab + QString::number(kPatchVersion) + u'\n';
  text += QStringLiteral("tables") + kTab + tables.join(kTab) + u'\n';
  text += QStringLiteral(
      "# TABLE changed KEY OCCURRENCE COLUMN NAME OLD NEW | TABLE added/removed KEY OCCURRENCE ROW CELLS...\n");
  for (const QString& l : lines) text += l + u'\n';
  return text.toUtf8();
}

bool ReadPatch(const QByteArray& bytes, Patch* patch, PatchError* error, const LanguageFile& texts) {
  *patch = Patch{};
  auto fail = [&](int line, const QString& reason) {
    *error = {line, reason};
    *patch = Patch{};
    return false;
  };
  QString text;
  qsizetype bad = 0;
  if (!DecodeStrict(bytes, TextEncoding::Utf8, &text, &bad))
    return fail(int(bytes.left(bad).count('\n')) + 1, Texts::tr("not UTF-8 text (byte %1)").arg(bad));
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  const QStringList lines = text.split(u'\n');
  bool sawHeader = false, sawTables = false;
  QHash<QString, ToolTable> named;  // lower-case file name -> table
  for (qsizetype n = 0; n < lines.size(); ++n) {
    const int lineNo = int(n) + 1;
    QString line = lines[n];
    if (line.endsWith(u'\r')) line.chop(1);
    if (!sawHeader) {
      const QStringList f = line.split(kTab);
      if (f.size() != 2 || f[0] != kMagic)
        return fail(lineNo, Texts::tr("not a patch: it starts with \"%1\" and the format's version").arg(kMagic));
      int version = 0;
      if (!positive(f[1], &version)) return fail(lineNo, Texts::tr("%1 is no format version").arg(f[1]));
      if (version != kPatchVersion)
        return fail(lineNo, Texts::tr("format version %1 is not known (this program reads version %2)")
                                .arg(version)
                                .arg(kPatchVersion));
      sawHeader = true;
      continue;
    }
    if (line.trimmed().isEmpty() || line.startsWith(u'#')) continue;
    const QStringList f = line.split(kTab);
    if (!sawTables) {
      if (f[0] != QLatin1String("tables"))
        return fail(lineNo, Texts::tr("the tables line (\"tables\" and the tables) must come second"));
      for (qsizetype i = 1; i < f.size(); ++i) {
        ToolTable t;
        if (!FindToolTable(f[i], &t, texts)) return fail(lineNo, Texts::tr("unknown table %1").arg(f[i]));
        if (named.contains(t.fileName().toLower())) return fail(lineNo, Texts::tr("%1 is named twice").arg(f[i]));
        named.insert(t.fileName().toLower(), t);
        patch->tables.push_back(t);
      }
      sawTables = true;
      continue;
    }
    PatchChange c;
    c.line = lineNo;
    const auto it = named.constFind(f[0].toLower());
    if (it == named.constEnd())
      return fail(lineNo, Texts::tr("%1 is not one of the tables of the patch's second line").arg(f[0]));
    c.table = *it;
    const int k = c.table.fieldCount();
    if (f.size() < 2)
      return fail(lineNo, Texts::tr("no change: \"changed\", \"added\" or \"removed\" follows the table"));
    if (f[1] == QLatin1String("order")) {
      if (f.size() != 4) return fail(lineNo, Texts::tr("%1 fields where an order line has 4").arg(f.size()));
      if (!c.table.grid || c.table.grid->order != SaveOrder::GridOrder)
        return fail(lineNo, Texts::tr("a save sorts %1: its order is not the patch's to give").arg(c.table.fileName()));
      PatchOrder o{c.table, f[2].split(u' ', Qt::SkipEmptyParts), f[3].split(u' ', Qt::SkipEmptyParts)};
      for (const QStringList* list : {&o.before, &o.after})
        for (const QString& n : *list) {
          const qsizetype hash = n.lastIndexOf(u'#');
          int occurrence = 0;
          if (hash < 0 || !positive(n.mid(hash + 1), &occurrence))
            return fail(lineNo, Texts::tr("%1 is no record (KEY#OCCURRENCE)").arg(n));
        }
      patch->orders.push_back(std::move(o));
      continue;
    }
    if (f[1] == QLatin1String("changed"))
      c.kind = PatchChange::Changed;
    else if (f[1] == QLatin1String("added"))
      c.kind = PatchChange::Added;
    else if (f[1] == QLatin1String("removed"))
      c.kind = PatchChange::Removed;
    else
      return fail(lineNo, Texts::tr("%1 is no change: \"changed\", \"added\", \"removed\" or \"order\"").arg(f[1]));
    const qsizetype want = c.kind == PatchChange::Changed ? 8 : 5 + k;
    if (f.size() != want)
      return fail(
          lineNo,
          Texts::tr("%1 fields where a %2 change of %3 has %4").arg(f.size()).arg(f[1], c.table.fileName()).arg(want));
    c.key = PatchUnescape(f[2]);
    if (!positive(f[3], &c.occurrence)) return fail(lineNo, Texts::tr("%1 is no occurrence (1, 2, ...)").arg(f[3]));
    if (c.kind == PatchChange::Changed) {
      if (!positive(f[4], &c.column) || c.column > k)
        return fail(lineNo, Texts::tr("%1 is no column of %2 (1 to %3)").arg(f[4], c.table.fileName()).arg(k));
      c.oldText = PatchUnescape(f[6]);
      c.newText = PatchUnescape(f[7]);
    } else {
      if (c.table.standalone)
        return fail(lineNo,
                    Texts::tr("%1 has a fixed set of records: none is added or removed").arg(c.table.fileName()));
      if (!positive(f[4], &c.row)) return fail(lineNo, Texts::tr("%1 is no row (1, 2, ...)").arg(f[4]));
      for (qsizetype i = 5; i < f.size(); ++i) c.cells << PatchUnescape(f[i]);
    }
    patch->changes.push_back(std::move(c));
  }
  if (!sawHeader) return fail(0, Texts::tr("empty: not a patch"));
  if (!sawTables) return fail(0, Texts::tr("no tables line"));
  return true;
}

Patch ReversedPatch(const Patch& patch) {
  Patch out = patch;
  for (PatchChange& c : out.changes) {
    if (c.kind == PatchChange::Changed)
      std::swap(c.oldText, c.newText);
    else
      c.kind = c.kind == PatchChange::Added ? PatchChange::Removed : PatchChange::Added;
  }
  for (PatchOrder& o : out.orders) std::swap(o.before, o.after);
  return out;
}

QString PatchConflict::text() const {
  QString where = table + QStringLiteral(": ") + record;
  if (column > 0) where += QStringLiteral(": ") + columnName;
  return Texts::tr("%1: expected %2, found %3, wanted %4%5")
      .arg(where, expected, found, wanted, forced ? Texts::tr(" (the patch's value taken)") : QString());
}

int TablePatchPlan::unsettled() const {
  return int(std::count_if(conflicts.begin(), conflicts.end(), [](const PatchConflict& c) { return !c.forced; }));
}

TablePatchPlan PlanTablePatch(const ToolTable& table, const std::vector<QStringList>& rows,
                              const std::vector<const PatchChange*>& changes, bool force, const QStringList& order) {
  TablePatchPlan plan;
  plan.table = table;
  QHash<QString, int> index;  // key + occurrence -> row 1..N
  {
    QHash<QString, int> seen;
    for (size_t i = 0; i < rows.size(); ++i) {
      // Keys as the patch text has them (a code without its trailing zero bytes).
      const QString key = PatchEscape(RecordKey(table, rows[i], int(i) + 1));
      index.insert(key + QChar(0x1F) + QString::number(++seen[key]), int(i) + 1);
    }
  }
  const QString none = Texts::tr("(no such record)");
  std::vector<bool> removing(rows.size() + 1, false);
  for (const PatchChange* c : changes) {
    const int row = index.value(PatchEscape(c->key) + QChar(0x1F) + QString::number(c->occurrence), 0);
    PatchConflict conflict;
    conflict.table = table.fileName();
    // Named as it is now, or as the patch has it when it is not there.
    const int nameColumn = table.nameColumn();
    const QString name =
        nameColumn < 1 ? QString()
                       : PatchEscape((row > 0 ? rows[size_t(row - 1)] : c->cells).value(nameColumn - 1).trimmed());
    conflict.record = recordName(c->key, c->occurrence, name);
    switch (c->kind) {
      case PatchChange::Changed: {
        conflict.column = c->column;
        conflict.columnName = table.columnName(c->column);
        conflict.expected = PatchEscape(c->oldText);
        conflict.wanted = PatchEscape(c->newText);
        if (row == 0) {
          conflict.found = none;
          plan.conflicts.push_back(conflict);
          break;
        }
        const QString now = PatchEscape(rows[size_t(row - 1)].value(c->column - 1));
        if (now == conflict.wanted) {
          ++plan.already;
          break;
        }
        if (now != conflict.expected) {
          conflict.found = now;
          conflict.forced = force;
          plan.conflicts.push_back(conflict);
          if (!force) break;
        } else {
          ++plan.applied;
        }
        plan.edits.push_back({row, c->column, c->newText});
        break;
      }
      case PatchChange::Added: {
        conflict.expected = none;
        conflict.wanted = escapedRecord(c->cells);
        if (row == 0) {
          ++plan.applied;
          plan.added.push_back({c->row, c->cells});
          break;
        }
        const QStringList& now = rows[size_t(row - 1)];
        if (sameRecord(now, c->cells)) {
          ++plan.already;
          break;
        }
        conflict.found = escapedRecord(now);
        conflict.forced = force;
        plan.conflicts.push_back(conflict);
        if (force)
          for (qsizetype col = 0; col < c->cells.size(); ++col)
            if (PatchEscape(now.value(col)) != PatchEscape(c->cells[col]))
              plan.edits.push_back({row, int(col) + 1, c->cells[col]});
        break;
      }
      case PatchChange::Removed: {
        conflict.expected = escapedRecord(c->cells);
        conflict.wanted = none;
        if (row == 0) {
          ++plan.already;
          break;
        }
        const QStringList& now = rows[size_t(row - 1)];
        if (!sameRecord(now, c->cells)) {
          conflict.found = escapedRecord(now);
          conflict.forced = force;
          plan.conflicts.push_back(conflict);
          if (!force) break;
        } else {
          ++plan.applied;
        }
        if (!removing[size_t(row)]) plan.removed.push_back(row);
        removing[size_t(row)] = true;
        break;
      }
    }
  }
  std::sort(plan.removed.begin(), plan.removed.end());
  std::stable_sort(plan.added.begin(), plan.added.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  // A record that goes needs no cells set.
  std::erase_if(plan.edits, [&](const RecordStore::CellEdit& e) { return removing[size_t(e.row)]; });
  if (!order.isEmpty()) {
    std::vector<QStringList> after = rows;
    ApplyTablePatch(plan, after);
    const std::vector<int> o = orderOfRows(OrderNames(table, after), order);
    for (size_t i = 0; i < o.size() && !plan.reorders; ++i) plan.reorders = o[i] != int(i) + 1;
    if (plan.reorders) plan.order = order;
  }
  return plan;
}

void ApplyTablePatch(const TablePatchPlan& plan, RecordStore& grid) {
  if (!plan.edits.empty()) grid.setCells(plan.edits);
  if (!plan.removed.empty()) grid.removeRecords(plan.removed);
  if (!plan.added.empty()) {
    std::vector<RecordStore::PlacedRecord> records;
    for (const auto& [row, cells] : plan.added) records.push_back({row, RecordStore::Row(cells), 0});
    grid.insertRecords(std::move(records));
  }
  if (plan.reorders) grid.applyOrder(orderOfRows(OrderNames(plan.table, grid.records()), plan.order));
}

void ApplyTablePatch(const TablePatchPlan& plan, std::vector<QStringList>& rows) {
  for (const RecordStore::CellEdit& e : plan.edits) {
    QStringList& r = rows[size_t(e.row - 1)];
    while (r.size() < e.column) r << QString();
    r[e.column - 1] = e.text;
  }
  for (auto it = plan.removed.rbegin(); it != plan.removed.rend(); ++it) rows.erase(rows.begin() + (*it - 1));
  for (const auto& [row, cells] : plan.added)
    rows.insert(rows.begin() + std::min<qsizetype>(row - 1, qsizetype(rows.size())), cells);
  if (!plan.reorders) return;
  std::vector<QStringList> ordered;
  for (int r : orderOfRows(OrderNames(plan.table, rows), plan.order)) ordered.push_back(rows[size_t(r - 1)]);
  rows = std::move(ordered);
}

}  // namespace v3
