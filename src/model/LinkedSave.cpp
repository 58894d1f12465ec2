#include "model/LinkedSave.h"

#include <QCoreApplication>
#include <QHash>

#include <map>
#include <memory>

#include "tables/ReferenceIndex.h"
#include "tables/Tables.h"
#include "text/DiskFile.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(References)
};

}  // namespace
namespace {

QString keyOf(const TableDef& table, const QStringList& cells) {
  QString key = ReferenceKeyText(cells.value(0));
  if (table.order == SaveOrder::NumericThenSecond) key += u'/' + ReferenceKeyText(cells.value(1));
  return key;
}

// The files one save reads: the target as the caller read it, the
// referring tables as they are, and Producer.tab once for all of them.
struct Folder {
  struct Table {
    const TableDef* def = nullptr;
    QByteArray content;
    std::vector<TableRecord> records;
    std::vector<QStringList> rows;
    bool decoded = false;
  };
  QString path;
  Script systemScript;
  FileStore* store = nullptr;
  std::map<QString, Table> tables;  // by file name

  Folder(QString folder, Script script, FileStore& s) : path(std::move(folder)), systemScript(script), store(&s) {}

  // Read on the first table that needs it; null with *error when unreadable.
  const ProducerDirectory* producers(QString* error) {
    if (!producersRead_) {
      producers_ = ProducerDirectory::load(path);
      producersRead_ = true;
    }
    if (!producers_.readError().isEmpty()) {
      if (error && error->isEmpty()) *error = producers_.readError();
      return nullptr;
    }
    return &producers_;
  }
  const ProducerDirectory* producersFor(const TableDef& def, QString* error) {
    return def.codec && def.codec->needsProducers() ? producers(error) : nullptr;
  }

  // `known`: the file's content as the caller has it (not read again).
  // Its records are decoded unless only the content is asked for.
  const Table* read(const TableDef& def, QString* error, const QByteArray* known = nullptr, bool decode = true) {
    auto it = tables.find(def.fileName);
    if (it == tables.end()) {
      Table t;
      t.def = &def;
      QString e;
      bool exists = false;
      if (known)
        t.content = *known;
      else
        t.content = store->read(DataFilePath(path, def.fileName), &exists, &e);
      if (!e.isEmpty()) {
        if (error && error->isEmpty()) *error = e;
        return nullptr;
      }
      it = tables.emplace(def.fileName, std::move(t)).first;
    }
    Table& t = it->second;
    if (decode && !t.decoded) {
      QString e;
      const bool needs = def.codec && def.codec->needsProducers();
      const ProducerDirectory* p = needs ? producers(&e) : nullptr;
      if (!e.isEmpty()) {
        if (error && error->isEmpty()) *error = e;
        return nullptr;
      }
      if (def.codec) t.records = DecodeTableRecords(def, path, systemScript, t.content, p);
      for (const TableRecord& r : t.records) t.rows.push_back(r.cells);
      t.decoded = true;
    }
    return &t;
  }

 private:
  ProducerDirectory producers_;
  bool producersRead_ = false;
};

struct Planned {
  ReferencePlan plan;
  std::vector<int> order;
  bool ok = false;
};

// The target's content as the save takes it: the file the caller read, when
// the save is to replace only that one; otherwise the file as it is now.
const QByteArray* KnownContent(const SaveFileOptions& options) {
  const FileStamp* e = options.expected;
  return e && e->taken && e->exists && e->readable ? &e->content : nullptr;
}

// Whether every record the save writes stands where the file has it (the
// grid holds the records of this very file, none moved, added or deleted,
// and the save's order moves none) and every reference to the table is by
// position: then no reference can shift, and the file's records need not be
// decoded to see so.
bool KeepsEveryPosition(const TableDef& table, const QByteArray& file, const RecordStore& grid,
                        const std::vector<int>& order) {
  for (const ReferringColumn& c : ReferencesTo(table.fileName))
    if (c.reference->by != RefersBy::Position) return false;
  for (size_t i = 0; i < order.size(); ++i)
    if (order[i] != int(i + 1)) return false;
  return grid.holdsFileOrder(file);
}

Planned plan(const TableDef& table, Folder& folder, const RecordStore& grid, QString* error,
             const ReferenceJournal* journal, const QByteArray* known, bool followReferences = true) {
  Planned p;
  const Folder::Table* target = folder.read(table, error, known, false);
  p.order = SaveRowOrder(table, grid);
  if (!target) return p;
  if (!followReferences || ReferencesTo(table.fileName).empty() ||
      KeepsEveryPosition(table, target->content, grid, p.order)) {
    p.ok = true;
    return p;
  }
  if (!(target = folder.read(table, error, known))) return p;
  TargetChange change;
  change.table = &table;
  change.before = target->rows;
  for (int r : p.order) change.after.push_back(grid.record(r));
  change.origin = RecordOrigins(table, target->content, target->rows, grid, p.order);
  bool readable = true;
  p.plan = PlanReferenceUpdates(
      change,
      [&](const TableDef& referring) -> const std::vector<QStringList>* {
        const Folder::Table* t = folder.read(referring, error);
        if (!t) readable = false;
        return t ? &t->rows : nullptr;
      },
      journal);
  p.ok = readable;
  return p;
}

}  // namespace

std::vector<int> RecordOrigins(const TableDef& table, const QByteArray& file,
                               const std::vector<QStringList>& fileRecords, const RecordStore& grid,
                               const std::vector<int>& order) {
  std::vector<int> origin(order.size(), -1);
  std::vector<bool> claimed(fileRecords.size(), false);
  QHash<qint64, int> byOffset;
  if (table.codec) {
    const std::vector<KeptBytes> located = table.codec->locate(file);
    for (size_t i = 0; i < located.size() && i < fileRecords.size(); ++i)
      if (!located[i].isEmpty()) byOffset.insert(located[i].offset(), int(i));
  }
  // Whether a load's bytes are the file's (compared once per load).
  QHash<const char*, bool> sameFile;
  auto fromFile = [&](const KeptBytes& kept) {
    const char* data = kept.file().constData();
    auto it = sameFile.find(data);
    if (it == sameFile.end()) it = sameFile.insert(data, kept.file() == file);
    return *it;
  };
  std::vector<size_t> unknown;
  for (size_t i = 0; i < order.size(); ++i) {
    const RecordStore::Row& row = grid.rowAsRead(order[i]);
    if (row.isKept() && fromFile(row.kept)) {
      const auto it = byOffset.constFind(row.kept.offset());
      if (it != byOffset.constEnd() && !claimed[size_t(*it)]) {
        origin[i] = *it;
        claimed[size_t(*it)] = true;
        continue;
      }
    }
    unknown.push_back(i);
  }
  if (unknown.empty()) return origin;
  QMultiHash<QString, int> byKey;
  for (size_t k = fileRecords.size(); k-- > 0;)
    if (!claimed[k]) byKey.insert(keyOf(table, fileRecords[k]), int(k));
  for (size_t i : unknown) {
    const QString key = keyOf(table, grid.record(order[i]));
    // values() lists the last inserted first: the earliest record of the file.
    for (int k : byKey.values(key))
      if (!claimed[size_t(k)]) {
        origin[i] = k;
        claimed[size_t(k)] = true;
        break;
      }
  }
  return origin;
}

ReferencePlan PlanTableSave(const TableDef& table, const QString& folder, Script systemScript, const RecordStore& grid,
                            FileStore& store, QString* error, const ReferenceJournal* journal) {
  Folder files(folder, systemScript, store);
  return plan(table, files, grid, error, journal, nullptr).plan;
}

SaveOutcome SaveRecords(const TableDef& table, const QString& folder, Script systemScript, RecordStore& grid,
                        FileStore& store, const TableSaveRequest& request) {
  SaveOutcome outcome;
  if (table.readOnly) {
    outcome.status = SaveOutcome::Unchanged;
    return outcome;
  }
  const SaveFileOptions& options = request.options;
  QString error;
  Folder files(folder, systemScript, store);
  Planned p = plan(table, files, grid, &error, request.journal, KnownContent(options), request.followReferences);
  if (request.plan) *request.plan = p.plan;
  if (!p.ok) {
    outcome.status = SaveOutcome::Failed;
    outcome.reason = error + Texts::tr("，文件未改动");
    return outcome;
  }
  const Folder::Table& target = files.tables.at(table.fileName);
  QByteArray bytes;
  outcome = EncodeTable(table, folder, systemScript, grid, p.order, target.content, &bytes,
                        files.producersFor(table, nullptr));
  if (!outcome.ok()) return outcome;
  if (request.proceed && !request.proceed(p.plan)) {
    outcome.status = SaveOutcome::Refused;
    outcome.reason = Texts::tr("保存已取消，文件未改动");
    return outcome;
  }

  const QString path = DataFilePath(folder, table.fileName);
  std::vector<SaveFileEntry> entries{{path, bytes, options.expected}};
  std::vector<FileStamp> stamps;
  stamps.reserve(p.plan.tables.size());
  for (const ReferenceTableUpdate& u : p.plan.tables) {
    if (!u.changesCells()) continue;
    const Folder::Table& t = files.tables.at(u.table->fileName);
    RecordStore g;
    std::vector<TableRecord> records = t.records;
    g.resetRecords(u.table->fieldCount(), std::move(records));
    for (const ReferenceCellUpdate& c : u.cells)
      if (c.kind != ReferenceCellUpdate::Dangling) g.setCell(c.row, c.column, c.after);
    // The referring table keeps its order: only the cells change.
    std::vector<int> same(size_t(g.recordCount()));
    for (size_t i = 0; i < same.size(); ++i) same[i] = int(i + 1);
    QByteArray out;
    const SaveOutcome o =
        EncodeTable(*u.table, folder, systemScript, g, same, t.content, &out, files.producersFor(*u.table, nullptr));
    if (!o.ok()) {
      // A referring cell that cannot take the new reference (a position
      // past what the column holds): nothing is written.
      outcome.status = SaveOutcome::Failed;
      outcome.reason = Texts::tr("引用 %1 的记录无法随之更新（%2），所有文件均未改动")
                           .arg(table.fileName, o.message(u.table->fileName));
      return outcome;
    }
    FileStamp stamp;
    stamp.taken = true;
    stamp.exists = true;
    stamp.readable = true;
    stamp.content = t.content;
    stamps.push_back(stamp);
    entries.push_back({DataFilePath(folder, u.table->fileName), out, &stamps.back()});
  }
  const SaveFileResult saved = entries.size() == 1 ? SaveDataFile(path, bytes, options, store)
                                                   : SaveDataFiles(entries, options.historyDepth, store);
  if (!saved.ok()) {
    outcome.status = SaveOutcome::Failed;
    outcome.reason = saved.error;
    return outcome;
  }
  outcome.notices = saved.notices;
  if (request.journal) request.journal->record(p.plan);
  grid.applyOrder(p.order);
  grid.markSaved();
  grid.setFileOrder(bytes);
  if (request.written) *request.written = std::move(bytes);
  return outcome;
}

SaveOutcome SaveTableWithReferences(const TableDef& table, const QString& folder, Script systemScript,
                                    RecordStore& grid, FileStore& store, QByteArray* written,
                                    const SaveFileOptions& options,
                                    const std::function<bool(const ReferencePlan&)>& proceed, ReferencePlan* planOut,
                                    ReferenceJournal* journal) {
  TableSaveRequest request;
  request.options = options;
  request.proceed = proceed;
  request.plan = planOut;
  request.journal = journal;
  request.written = written;
  return SaveRecords(table, folder, systemScript, grid, store, request);
}

SaveOutcome SaveTable(const TableDef& table, const QString& folder, Script systemScript, RecordStore& grid,
                      FileStore& store, QByteArray* written, const SaveFileOptions& options) {
  TableSaveRequest request;
  request.options = options;
  request.followReferences = false;
  request.written = written;
  return SaveRecords(table, folder, systemScript, grid, store, request);
}

}  // namespace v3
