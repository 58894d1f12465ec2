#include "model/TableDocument.h"

#include "tables/Tables.h"
#include "text/DiskFile.h"

namespace v3 {

TableDocument::TableDocument(const TableDef& table, QString folder, Script systemScript, FileStore& store)
    : table_(&table), folder_(std::move(folder)), systemScript_(systemScript), store_(&store) {}

TableDocument::TableDocument(FileStore& store) : table_(nullptr), store_(&store) {}

bool TableDocument::open(const TableDef& table, QString folder, Script systemScript, QString* error) {
  table_ = &table;
  folder_ = std::move(folder);
  systemScript_ = systemScript;
  return load(error);
}

QString TableDocument::path() const { return table_ ? DataFilePath(folder_, table_->fileName) : QString(); }

bool TableDocument::load(QString* error) {
  if (!table_) return false;
  // The stamp is of the bytes the records were read from, not of a second read.
  const FileStamp before = FileStamp::before(path());
  QByteArray content;
  QString readError;
  const bool ok = LoadTable(*table_, folder_, systemScript_, records_, &readError, *store_, &content);
  stamp_ = ok ? before.withContent(content) : before;
  declined_ = FileStamp();
  if (error) *error = readError;
  return ok;
}

bool TableDocument::changedOnDisk(FileStamp* now) const { return table_ && stamp_.changedOnDisk(path(), *store_, now); }

SaveOutcome TableDocument::encode(QByteArray* out, std::vector<int>* order, const ProducerDirectory* producers) const {
  std::vector<int> rows = SaveRowOrder(*table_, records_);
  const SaveOutcome outcome = EncodeTable(*table_, folder_, systemScript_, records_, rows, content(), out, producers);
  if (order) *order = std::move(rows);
  return outcome;
}

SaveOutcome TableDocument::save(TableSaveRequest request) {
  if (!request.options.expected) request.options.expected = &stamp_;
  QByteArray written;
  QByteArray* callerWritten = request.written;
  request.written = &written;
  const SaveOutcome outcome = SaveRecords(*table_, folder_, systemScript_, records_, *store_, request);
  if (outcome.status == SaveOutcome::Saved) {
    stamp_ = FileStamp::before(path()).withContent(written);
    declined_ = FileStamp();
    if (callerWritten) *callerWritten = std::move(written);
  }
  return outcome;
}

DataFolder::DataFolder(QString path, Script systemScript, FileStore& store)
    : path_(std::move(path)), systemScript_(systemScript), store_(&store) {}

std::vector<const TableDef*> DataFolder::tables() const {
  std::vector<const TableDef*> present;
  for (const TableDef* t : AllTables())
    if (DataFileExists(path_, t->fileName)) present.push_back(t);
  return present;
}

TableDocument& DataFolder::open(const TableDef& table, QString* error) {
  auto it = documents_.find(table.fileName);
  if (it != documents_.end()) {
    if (error) error->clear();
    return *it->second;
  }
  auto document = std::make_unique<TableDocument>(table, path_, systemScript_, *store_);
  document->load(error);
  return *documents_.emplace(table.fileName, std::move(document)).first->second;
}

TableDocument* DataFolder::document(const TableDef& table) const {
  const auto it = documents_.find(table.fileName);
  return it == documents_.end() ? nullptr : it->second.get();
}

void DataFolder::close(const TableDef& table) { documents_.erase(table.fileName); }

bool DataFolder::reload(const TableDef& table, QString* error) {
  QString e;
  if (TableDocument* d = document(table))
    d->load(&e);
  else
    open(table, &e);
  if (error) *error = e;
  return e.isEmpty();
}

std::vector<TableDocument*> DataFolder::changedOnDisk() const {
  std::vector<TableDocument*> changed;
  for (const auto& [name, document] : documents_)
    if (document->changedOnDisk()) changed.push_back(document.get());
  return changed;
}

SaveOutcome DataFolder::save(TableDocument& document, TableSaveRequest request) const {
  request.options.historyDepth = historyDepth_;
  return document.save(std::move(request));
}

}  // namespace v3
