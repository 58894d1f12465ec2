#include "tools/Lint.h"

#include <QDir>
#include <QHash>

#include "model/RecordGrid.h"
#include "model/TableIo.h"
#include "storage/FileStore.h"
#include "storage/SafeSave.h"
#include "tables/Producers.h"
#include "tables/Tables.h"
#include "text/Convert.h"
#include "tools/StandaloneCsv.h"
#include "tools/ToolTable.h"

namespace v3 {
namespace {

// Columns that hold a star as its 0-based position in StarRole.dat.
struct StarColumns {
  const char* table;
  int first, last;
};
constexpr StarColumns kStarColumns[] = {{"Team.dat", 3, 6}, {"Firm.dat", 4, 9}};

// Columns that show a producer of Producer.tab.
struct ProducerColumn {
  const char* table;
  int column;
};
constexpr ProducerColumn kProducerColumns[] = {
    {"CDCase.dat", 7}, {"MVCase.dat", 5}, {"TVCase.dat", 6}, {"SHCase.dat", 7}};

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
  explicit Linter(const QString& folder) : folder_(folder) {}

  std::vector<LintFinding> run() {
    for (const ToolTable& t : AllToolTables()) {
      for (const QString& stray : SaveLeftovers(DataFilePath(folder_, t.fileName())))
        add(t, 0, {}, 0,
            QStringLiteral("temporary file left by an interrupted save: %1 (the next save of %2 removes it)")
                .arg(QDir::toNativeSeparators(stray), t.fileName()));
      std::vector<QStringList> rows;
      bool exists = false;
      QString error;
      if (!t.read(folder_, &rows, &exists, &error)) {
        add(t, 0, {}, 0, QStringLiteral("cannot be read: %1").arg(error));
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
    if (row > 0) f.record = RecordKey(t, cells, row);
    f.column = column;
    if (column > 0) f.columnName = t.columnName(column);
    f.reason = reason;
    findings_.push_back(std::move(f));
  }

  int starCount() {
    if (starCount_ < 0) starCount_ = int(ReadTableRows(StarTable(), folder_).size());
    return starCount_;
  }

  void references(const ToolTable& t, const std::vector<QStringList>& rows) {
    for (const StarColumns& s : kStarColumns) {
      if (t.fileName() != QLatin1String(s.table)) continue;
      const int stars = starCount();
      for (size_t r = 0; r < rows.size(); ++r)
        for (int c = s.first; c <= s.last; ++c) {
          int64_t v = 0;
          if (!IsPlainInteger(rows[r].value(c - 1).trimmed(), &v) || v == -1) continue;
          if (v < -1)
            add(t, int(r) + 1, rows[r], c, QStringLiteral("%1 is no star (positions in StarRole.dat start at 0, -1 is none)").arg(v));
          else if (v >= stars)
            add(t, int(r) + 1, rows[r], c,
                QStringLiteral("star %1 is past the end of StarRole.dat (%2 records, positions 0..%3)")
                    .arg(v).arg(stars).arg(stars - 1));
        }
    }
    for (const ProducerColumn& p : kProducerColumns) {
      if (t.fileName() != QLatin1String(p.table)) continue;
      if (!producersLoaded_) {
        producers_ = ProducerDirectory::load(folder_);
        producersLoaded_ = true;
      }
      for (size_t r = 0; r < rows.size(); ++r) {
        // A producer shows by name; a number that no record has shows as the number.
        const QString cell = rows[r].value(p.column - 1).trimmed();
        int64_t v = 0;
        if (!IsPlainInteger(cell, &v) || v == 0) continue;
        if (producers_.nameById(v) == QString::number(v))
          add(t, int(r) + 1, rows[r], p.column, QStringLiteral("producer %1 has no Producer.tab record").arg(v));
      }
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
      add(t, int(r) + 1, rows[r], 1, QStringLiteral("record number %1 occurs again (first in row %2)").arg(key).arg(*it));
    }
  }

  bool fixedCount(const ToolTable& t, const std::vector<QStringList>& rows) {
    for (const FixedCount& f : kFixedCounts) {
      if (t.fileName() != QLatin1String(f.table)) continue;
      if (int(rows.size()) != f.records) {
        add(t, 0, {}, 0, QStringLiteral("holds %1 records; the game reads exactly %2").arg(rows.size()).arg(f.records));
        return false;
      }
      bool exists = false;
      QString error;
      const QByteArray bytes = FileStore::disk().read(DataFilePath(folder_, t.fileName()), &exists, &error);
      const qint64 needed = 12 + qint64(f.records) * f.recordSize;
      if (bytes.size() < needed) {
        add(t, 0, {}, 0,
            QStringLiteral("is %1 bytes long; its %2 records need %3 (it ends inside record %4)")
                .arg(bytes.size()).arg(f.records).arg(needed).arg((bytes.size() - 12) / f.recordSize + 1));
        return false;
      }
    }
    return true;
  }

  void refusals(const ToolTable& t, const std::vector<QStringList>& rows) {
    if (t.grid->readOnly || !t.grid->codec) return;
    bool exists = false;
    QString error;
    const QByteArray existing = FileStore::disk().read(DataFilePath(folder_, t.fileName()), &exists, &error);
    RecordGrid grid;
    grid.reset(t.fieldCount(), std::vector<QStringList>(rows.begin(), rows.end()));
    const std::vector<int> order = SaveRowOrder(*t.grid, grid);
    for (int found = 0; found < kMostRefusals; ++found) {
      QByteArray out;
      const SaveOutcome o = EncodeTable(*t.grid, folder_, grid, order, existing, &out);
      if (o.ok()) return;
      const int row = o.row >= 1 && o.row <= grid.recordCount() ? o.row : 0;
      add(t, row, row ? rows[size_t(row - 1)] : QStringList(), row ? o.column : 0,
          QStringLiteral("a save would refuse it: %1").arg(o.reason));
      // Blank the cell and look for the next; a row or a cell that stays refused ends the search.
      if (!row || o.column < 1 || grid.cell(row, o.column).isEmpty()) return;
      grid.setCell(row, o.column, QString());
    }
  }

  void standalone(const ToolTable& t) {
    bool exists = false;
    QString error;
    const QByteArray bytes = FileStore::disk().read(DataFilePath(folder_, t.fileName()), &exists, &error);
    StandaloneTable table(t.standalone->kind);
    table.loadBytes(bytes);
    QByteArray out;
    const StandaloneSave o = table.patch(bytes, &out);
    if (!o.ok()) add(t, 0, {}, 0, QStringLiteral("a save would refuse it: %1").arg(o.message(t.fileName())));
  }

  QString folder_;
  std::vector<LintFinding> findings_;
  int starCount_ = -1;
  bool producersLoaded_ = false;
  ProducerDirectory producers_;
};

}  // namespace

QString LintFinding::text() const {
  QString where = table;
  if (row > 0) {
    where += QStringLiteral(": row %1").arg(row);
    if (!record.isEmpty()) where += QStringLiteral(" (record %1)").arg(record);
  }
  if (column > 0) where += QStringLiteral(", column %1 (%2)").arg(column).arg(columnName);
  return where + QStringLiteral(": ") + reason;
}

std::vector<LintFinding> LintFolder(const QString& folder) { return Linter(folder).run(); }

}  // namespace v3
