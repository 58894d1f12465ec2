#pragma once
#include <QTreeWidget>

#include <functional>

#include "text/Script.h"

class QMenu;

namespace v3 {

class FileStore;
struct CatalogueEntry;

// What the grid's place shows while no table is open: the data folder's
// tables in the Select menu's groups, each with its description and, for
// the files the folder has, its record count. A click or Enter on a table
// opens it.
class TablesOverview : public QTreeWidget {
  Q_OBJECT
 public:
  TablesOverview(std::function<void(const CatalogueEntry&)> open, QWidget* parent);

  // The groups and entries of the Select menu as it reads now, the counts
  // from the folder's files as they are now.
  void fill(const QMenu& select, const QString& dataFolder, Script script, FileStore& store);
  // The table a row stands for; nullptr for a group.
  const CatalogueEntry* entryAt(const QTreeWidgetItem* item) const;
  QTreeWidgetItem* itemOf(const QString& fileName) const;

 private:
  void openItem(QTreeWidgetItem* item);
  std::function<void(const CatalogueEntry&)> open_;
};

// The count of records in the table file's bytes, from its framing alone
// (no cell decoded); -1 when the table has no codec.
int CountRecords(const CatalogueEntry& entry, const QByteArray& file);

}  // namespace v3
