#pragma once
#include <QHash>
#include <QString>

#include <vector>

#include "model/ReferenceRemap.h"
#include "tables/ReferenceIndex.h"

namespace v3 {

class FileStore;

// Whom the cells of the open table mean where they refer to another table
// (the table's reference declarations say which columns and how): Team
// members and firm artists are stars by their position in StarRole.dat, a
// request's job is the job of that code in the case file of its kind.
// Read from the data folder when a table is opened; nothing here changes a cell.
class ReferenceNames {
 public:
  // What the table `fileName` refers to, read from the data folder.
  void load(const QString& fileName, const QString& dataFolder, FileStore& store);
  void clear();

  bool refers(int column) const { return columns_.contains(column); }
  // The name the cell means; empty when it means no one the tables hold.
  QString note(int column, const QString& cell) const;

  // The references the saves of this session cleared in the folder's
  // tables (see ReferenceJournal); another folder starts afresh.
  ReferenceJournal& journal(const QString& dataFolder) {
    if (dataFolder != journalFolder_) {
      journal_ = ReferenceJournal();
      journalFolder_ = dataFolder;
    }
    return journal_;
  }

 private:
  ReferenceJournal journal_;
  QString journalFolder_;
  std::vector<ReferenceTargets> targets_;
  QHash<int, int> columns_;  // grid column -> index into targets_
};

}  // namespace v3
