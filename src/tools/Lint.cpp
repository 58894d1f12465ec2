#include "tools/Lint.h"

#include "tools/Csv.h"
#include "tools/CsvTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>

#include "model/RecordStore.h"
#include "model/TableIo.h"
#include "storage/FileStore.h"
#include "storage/SafeSave.h"
#include "tables/Producers.h"
#include "tables/Tables.h"
#include "text/Convert.h"
#include "tools/ReferenceLint.h"
#include "tools/StandaloneCsv.h"
#include "tools/ToolTable.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Lint)
};

// Tables whose records are fixed: the game reads exactly this many.
struct FixedCount {
  const char* table;
  int records, recordSize;
};
constexpr FixedCount kFixedCounts[] = {{"Active.tab", 9, 36}, {"Pression.tab", 99, 44}};

// A save stops at the first cell it cannot store; a bad cell is blanked and
// the check run again, up to this many findings per table.
constexpr int kMostRefusals = 200;

class Linter {
 public:
  Linter(const QString& folder, Script systemScript, const LanguageFile& texts)
      : folder_(folder), systemScript_(systemScript), texts_(texts) {}

  std::vector<LintFinding> run() {
    for (const ToolTable& t : AllToolTables(texts_)) {
      for (const QString& stray : SaveLeftovers(DataFilePath(folder_, t.fileName())))
        add(t, 0, {}, 0,
            Texts::tr("temporary file left by an interrupted save: %1 (the next save of %2 removes it)")
                .arg(QDir::toNativeSeparators(stray), t.fileName()));
      std::vector<QStringList> rows;
      bool exists = false;
      QString error;
      if (!t.read(folder_, systemScript_, &rows, &exists, &error)) {
        add(t, 0, {}, 0, Texts::tr("cannot be read: %1").arg(error));
        continue;
      }
      if (!exists) continue;
      if (t.standalone) {
        standalone(t);
        continue;
      }
      // Records that a short fixed table lacks read as zeros: nothing more to say about them.
      if (!fixedCount(t, rows)) continue;
      references(t, rows);
      duplicates(t, rows);
      refusals(t, rows);
    }
    return std::move(findings_);
  }

 private:
  void add(const ToolTable& t, int row, const QStringList& cells, int column, const QString& reason) {
    LintFinding f;
    f.table = t.fileName();
    f.row = row;
    // Keys and names escaped as export escapes them (a code's trailing zero
    // bytes left out, a byte that is no character as \xHH).
    if (row > 0) f.record = CsvEscapeCell(RecordKey(t, cells, row));
    f.column = column;
    if (column > 0) f.columnName = t.columnName(column);
    f.reason = reason;
    findings_.push_back(std::move(f));
  }

  // The rows of a table that others refer to, read once.
  const std::vector<QStringList>* rowsOf(const QString& fileName) {
    const TableDef* def = FindTable(fileName);
    if (!def) return nullptr;
    auto it = targets_.find(def->fileName);
    if (it == targets_.end()) it = targets_.insert(def->fileName, ReadTableRows(*def, folder_, systemScript_));
    return &*it;
  }

  void references(const ToolTable& t, const std::vector<QStringList>& rows) {
    if (!t.grid) return;
    // The referring record's name: column 2, where that is not itself a reference.
    const bool named = t.fieldCount() >= 2 && !t.grid->referenceAt(2);
    for (const ReferenceProblem& p :
         CheckReferences(*t.grid, rows, [this](const QString& file) { return rowsOf(file); })) {
      const QStringList& cells = rows[size_t(p.row - 1)];
      add(t, p.row, cells, p.column, p.reason);
      if (named) findings_.back().recordName = CsvEscapeCell(cells.value(1).trimmed());
    }
  }

  void duplicates(const ToolTable& t, const std::vector<QStringList>& rows) {
    QHash<QString, int> first;  // key -> first row
    for (size_t r = 0; r < rows.size(); ++r) {
      const QString key = RecordKey(t, rows[r], int(r) + 1);
      if (key.isEmpty() || key == QLatin1String("/")) continue;
      const auto it = first.constFind(key);
      if (it == first.constEnd()) {
        first.insert(key, int(r) + 1);
        continue;
      }
      add(t, int(r) + 1, rows[r], 1,
          Texts::tr("record number %1 occurs again (first in row %2)").arg(CsvEscapeCell(key)).arg(*it));
    }
  }

  bool fixedCount(const ToolTable& t, const std::vector<QStringList>& rows) {
    for (const FixedCount& f : kFixedCounts) {
      if (t.fileName() != QLatin1String(f.table)) continue;
      if (int(rows.size()) != f.records) {
        add(t, 0, {}, 0, Texts::tr("holds %1 records; the game reads exactly %2").arg(rows.size()).arg(f.records));
        return false;
      }
      bool exists = false;
      QString error;
      const QByteArray bytes = FileStore::disk().read(DataFilePath(folder_, t.fileName()), &exists, &error);
      const qint64 needed = 12 + qint64(f.records) * f.recordSize;
      if (bytes.size() < needed) {
        add(t, 0, {}, 0,
            Texts::tr("is %1 bytes long; its %2 records need %3 (it ends inside record %4)")
                .arg(bytes.size())
                .arg(f.records)
                .arg(needed)
                .arg((bytes.size() - 12) / f.recordSize + 1));
        return false;
      }
    }
    return true;
  }

  void refusals(const ToolTable& t, const std::vector<QStringList>& rows) {
    if (t.grid->readOnly || !t.grid->codec) return;
    // Loaded as the editor loads it, so that an unchanged cell is written
    // from its stored bytes, exactly as a save that changes nothing writes it.
    QString error;
    QByteArray existing;
    RecordStore grid;
    if (!LoadTable(*t.grid, folder_, systemScript_, grid, &error, FileStore::disk(), &existing) ||
        grid.recordCount() != int(rows.size()))
      return;
    const std::vector<int> order = SaveRowOrder(*t.grid, grid);
    for (int found = 0; found < kMostRefusals; ++found) {
      // Only whether a save refuses counts: its content is compared as it is made, never held.
      ComparingSink content(existing);
      const SaveOutcome o = EncodeTableTo(*t.grid, folder_, systemScript_, grid, order, existing, content);
      if (o.ok()) return;
      const int row = o.row >= 1 && o.row <= grid.recordCount() ? o.row : 0;
      add(t, row, row ? rows[size_t(row - 1)] : QStringList(), row ? o.column : 0,
          Texts::tr("a save would refuse it: %1").arg(o.reason));
      // Blank the cell and look for the next; a row or a cell that stays refused ends the search.
      if (!row || o.column < 1 || grid.cell(row, o.column).isEmpty()) return;
      grid.setCell(row, o.column, QString());
    }
  }

  void standalone(const ToolTable& t) {
    bool exists = false;
    QString error;
    const QByteArray bytes = FileStore::disk().read(DataFilePath(folder_, t.fileName()), &exists, &error);
    StandaloneTable table(t.standalone->kind, systemScript_);
    table.loadBytes(bytes);
    QByteArray out;
    const StandaloneSave o = table.patch(bytes, &out);
    if (!o.ok()) add(t, 0, {}, 0, Texts::tr("a save would refuse it: %1").arg(o.message(t.fileName())));
  }

  QString folder_;
  Script systemScript_;
  LanguageFile texts_;
  std::vector<LintFinding> findings_;
  QHash<QString, std::vector<QStringList>> targets_;
};

}  // namespace

QString LintFinding::text() const {
  QString where = table;
  if (row > 0 && !record.isEmpty() && !recordName.isEmpty())
    where = Texts::tr("%1: row %2 (record %3, %4)").arg(table).arg(row).arg(record, recordName);
  else if (row > 0 && !record.isEmpty())
    where = Texts::tr("%1: row %2 (record %3)").arg(table).arg(row).arg(record);
  else if (row > 0)
    where = Texts::tr("%1: row %2").arg(table).arg(row);
  if (column > 0) where = Texts::tr("%1, column %2 (%3)").arg(where).arg(column).arg(columnName);
  return Texts::tr("%1: %2").arg(where, reason);
}

std::vector<LintFinding> LintFolder(const QString& folder, Script systemScript, const LanguageFile& texts) {
  return Linter(folder, systemScript, texts).run();
}

QByteArray LintCsv(const std::vector<LintFinding>& findings) {
  QByteArray csv =
      CsvLine({QStringLiteral("table"), QStringLiteral("row"), QStringLiteral("record"), QStringLiteral("record name"),
               QStringLiteral("column"), QStringLiteral("column name"), QStringLiteral("reason")});
  auto number = [](int n) { return n ? QString::number(n) : QString(); };
  for (const LintFinding& f : findings)
    csv += CsvLine({f.table, number(f.row), f.record, f.recordName, number(f.column), f.columnName, f.reason});
  return csv;
}

}  // namespace v3
