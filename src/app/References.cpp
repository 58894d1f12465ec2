#include "app/References.h"

#include "model/TableIo.h"
#include "tables/Tables.h"

namespace v3 {

void ReferenceNames::clear() {
  targets_.clear();
  columns_.clear();
}

void ReferenceNames::load(const QString& fileName, const QString& dataFolder, FileStore& store) {
  clear();
  const TableDef* table = FindTable(fileName);
  if (!table) return;
  QHash<QString, std::vector<QStringList>> read;  // target file -> its rows, read once
  for (const ReferenceDef& r : table->references) {
    // A column that shows its target's name needs no name beside it.
    if (r.cellShowsName) continue;
    const TableDef* target = FindTable(r.target);
    if (!target) continue;
    auto it = read.find(target->fileName);
    if (it == read.end()) it = read.insert(target->fileName, ReadTableRows(*target, dataFolder, nullptr, store));
    columns_.insert(r.column, int(targets_.size()));
    targets_.emplace_back(r, *it);
  }
}

QString ReferenceNames::note(int column, const QString& cell) const {
  const auto it = columns_.constFind(column);
  if (it == columns_.constEnd()) return QString();
  const ReferenceTargets& t = targets_[size_t(*it)];
  return t.name(t.find(cell));
}

}  // namespace v3
