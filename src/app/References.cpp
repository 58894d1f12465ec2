#include "app/References.h"

#include "model/LinkedSave.h"
#include "model/TableIo.h"
#include "tables/Tables.h"
#include "text/DiskFile.h"

namespace v3 {

void ReferenceNames::clear() {
  targets_.clear();
  targetOf_.clear();
  defs_.clear();
  columns_.clear();
  noted_.clear();
}

void ReferenceNames::load(const QString& fileName, const QString& dataFolder, Script systemScript, FileStore& store) {
  clear();
  const TableDef* table = FindTable(fileName);
  if (!table) return;
  // Of each target, only the columns the references read: its names and keys.
  QHash<QString, QList<int>> needed;
  for (const ReferenceDef& r : table->references) {
    QList<int>& columns = needed[r.target.toLower()];
    for (int c : ReferenceTargets::columnsRead(r))
      if (!columns.contains(c)) columns << c;
  }
  QHash<QString, std::vector<QStringList>> read;  // target file -> its rows, read once
  for (const ReferenceDef& r : table->references) {
    const TableDef* target = FindTable(r.target);
    if (!target) continue;
    auto it = read.find(target->fileName);
    if (it == read.end())
      it = read.insert(target->fileName, ReadTableColumns(*target, dataFolder, systemScript,
                                                          needed.value(r.target.toLower()), nullptr, store));
    // The columns of a run share one index of their target's records.
    size_t shared = 0;
    while (shared < defs_.size() && !ReferenceTargets::alike(defs_[shared], r)) ++shared;
    const int index = int(defs_.size());
    columns_.insert(r.column, index);
    // A column that shows its target's name needs no name beside it.
    if (!r.cellShowsName) noted_.insert(r.column, index);
    if (shared == defs_.size()) {
      targetOf_.push_back(int(targets_.size()));
      targets_.emplace_back(r, *it);
    } else {
      targetOf_.push_back(targetOf_[shared]);
    }
    defs_.push_back(r);
  }
}

QString ReferenceNames::note(int column, const QString& cell) const {
  const auto it = noted_.constFind(column);
  if (it == noted_.constEnd()) return QString();
  const ReferenceTargets& t = targetsOf(*it);
  return t.name(t.find(cell));
}

const ReferenceDef* ReferenceNames::reference(int column) const {
  const auto it = columns_.constFind(column);
  return it == columns_.constEnd() ? nullptr : &defs_[size_t(*it)];
}

int ReferenceNames::target(int column, const QString& cell) const {
  const auto it = columns_.constFind(column);
  return it == columns_.constEnd() ? ReferenceTargets::kMissing : targetsOf(*it).find(cell);
}

QString ReferenceNames::targetName(int column, int position) const {
  const auto it = columns_.constFind(column);
  return it == columns_.constEnd() ? QString() : targetsOf(*it).name(position);
}

FileRecords OpenTableRecords(const TableDef& table, const QString& folder, Script systemScript, const RecordStore& grid,
                             FileStore& store, bool decode) {
  FileRecords f;
  f.position.assign(size_t(grid.recordCount()), -1);
  if (!table.codec) return f;
  bool exists = false;
  const QByteArray content = store.read(DataFilePath(folder, table.fileName), &exists, &f.error);
  if (!f.error.isEmpty()) return f;
  f.count = int(table.codec->locate(content).size());
  // Rows read from this very file are known by their bytes; any other (an
  // imported row, say) by its key, which needs the file's records decoded.
  bool allRead = true;
  QHash<const char*, bool> sameFile;
  for (int r = 1; r <= grid.recordCount() && allRead; ++r) {
    const RecordStore::Row& row = grid.rowAsRead(r);
    if (!row.isKept()) {
      allRead = false;
      break;
    }
    const char* data = row.kept.file().constData();
    auto it = sameFile.find(data);
    if (it == sameFile.end()) it = sameFile.insert(data, row.kept.file() == content);
    allRead = *it;
  }
  if (decode || !allRead) {
    for (TableRecord& r : DecodeTableRecords(table, folder, systemScript, content, nullptr))
      f.rows.push_back(std::move(r.cells));
    f.count = int(f.rows.size());
  } else {
    f.rows.assign(size_t(f.count), QStringList());
  }
  std::vector<int> order(size_t(grid.recordCount()));
  for (size_t i = 0; i < order.size(); ++i) order[i] = int(i + 1);
  f.position = RecordOrigins(table, content, f.rows, grid, order);
  return f;
}

namespace {

QString RecordKey(const TableDef& table, const QStringList& cells) {
  QString key = ReferenceKeyText(cells.value(0));
  if (table.order == SaveOrder::NumericThenSecond) key += u' ' + ReferenceKeyText(cells.value(1));
  return key;
}

}  // namespace

bool HasKeyedReferences(const QString& targetFile) {
  for (const ReferringColumn& c : ReferencesTo(targetFile))
    if (c.reference->by != RefersBy::Position) return true;
  return false;
}

std::vector<Referrer> FindReferrers(const TableDef& target, const std::vector<QStringList>& targetRows, int fileCount,
                                    const std::set<int>& positions,
                                    const std::function<const std::vector<QStringList>*(const TableDef&)>& rowsOf) {
  std::vector<Referrer> found;
  if (positions.empty()) return found;
  // Each referring table is read once, in the order the declarations come.
  QHash<const TableDef*, const std::vector<QStringList>*> read;
  for (const ReferringColumn& c : ReferencesTo(target.fileName)) {
    auto it = read.find(c.table);
    if (it == read.end()) it = read.insert(c.table, rowsOf(*c.table));
    const std::vector<QStringList>* rows = *it;
    if (!rows) continue;
    const ReferenceDef& ref = *c.reference;
    const ReferenceTargets targets(ref, ref.by == RefersBy::Position ? std::vector<QStringList>() : targetRows);
    for (size_t r = 0; r < rows->size(); ++r) {
      const QString cell = (*rows)[r].value(ref.column - 1);
      int at = ReferenceTargets::kMissing;
      if (ref.by == RefersBy::Position) {
        // Only the count matters: no record's cells are needed.
        const QString key = ReferenceKeyText(cell);
        bool ok = false;
        const qlonglong v = key.toLongLong(&ok);
        if (ok && key != ReferenceKeyText(ref.empty) && v >= 0 && v < fileCount) at = int(v);
      } else {
        at = targets.find(cell);
      }
      if (at < 0 || !positions.count(at)) continue;
      Referrer f;
      f.table = c.table;
      f.row = int(r + 1);
      f.column = ref.column;
      f.target = at;
      f.key = RecordKey(*c.table, (*rows)[r]);
      if (c.table->nameColumn > 0) f.name = ReferenceKeyText((*rows)[r].value(c.table->nameColumn - 1));
      found.push_back(f);
    }
  }
  return found;
}

}  // namespace v3
