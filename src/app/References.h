#pragma once
#include <QHash>
#include <QString>
#include <QStringList>

namespace v3 {

class FileStore;

// Whom the cells of the open table mean when they refer to another table
// by number or code: Team members and firm artists are stars by their
// position in StarRole.dat, a request's job is the job of that code in the
// case file of its kind. Read from the data folder when a table is opened;
// nothing here changes a cell.
class ReferenceNames {
 public:
  // What the table `fileName` refers to, read from the data folder.
  void load(const QString& fileName, const QString& dataFolder, FileStore& store);
  void clear();

  bool refers(int column) const { return columns_.contains(column); }
  // The name the cell means; empty when it means no one the tables hold.
  QString note(int column, const QString& cell) const;

  // From rows already read (for tests and callers holding them).
  void setStars(const QStringList& namesByPosition) { stars_ = namesByPosition; }
  void setJobs(const QHash<QString, QString>& namesByCode) { jobs_ = namesByCode; }
  void setColumns(const QHash<int, bool>& columnsToJobs) { columns_ = columnsToJobs; }

 private:
  QStringList stars_;             // position (from 0) -> name
  QHash<QString, QString> jobs_;  // job code -> job name
  QHash<int, bool> columns_;      // grid column -> true: a job code, false: a star position
};

}  // namespace v3
