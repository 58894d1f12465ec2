#include "app/TablesOverview.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QRegularExpression>

#include "app/Messages.h"
#include "app/SelectMenu.h"
#include "storage/FileStore.h"
#include "app/Catalogue.h"
#include "text/DiskFile.h"

namespace v3 {
namespace {

constexpr int kEntryRole = Qt::UserRole + 1;  // the entry's file name

// "通告(&J)" as a heading: without its accelerator.
QString Heading(QString title) {
  title.remove(QRegularExpression(QStringLiteral("\\(&.\\)$")));
  return title.remove(u'&');
}

}  // namespace

int CountRecords(const CatalogueEntry& entry, const QByteArray& file) {
  const TableDef* table = entry.table();
  if (!table || !table->codec) return -1;
  int count = 0;
  table->codec->forEachRecord(file, [&count](const KeptBytes&) { ++count; });
  return count;
}

TablesOverview::TablesOverview(std::function<void(const CatalogueEntry&)> open, QWidget* parent)
    : QTreeWidget(parent), open_(std::move(open)) {
  setObjectName(QStringLiteral("TablesOverview"));
  setColumnCount(3);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  header()->setStretchLastSection(false);
  header()->setSectionResizeMode(1, QHeaderView::Stretch);
  connect(this, &QTreeWidget::itemActivated, this, &TablesOverview::openItem);  // Enter, double click
  connect(this, &QTreeWidget::itemClicked, this, &TablesOverview::openItem);
}

void TablesOverview::fill(const QMenu& select, const QString& dataFolder, Script script, FileStore& store) {
  const QString current = currentItem() ? currentItem()->data(0, kEntryRole).toString() : QString();
  clear();
  setHeaderLabels({msg::Localised(script, QStringLiteral("表格")), msg::Localised(script, QStringLiteral("说明")),
                   msg::Localised(script, QStringLiteral("记录数"))});
  headerItem()->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
  for (QAction* groupAction : select.actions()) {
    const QMenu* sub = groupAction->menu();
    if (!sub) continue;
    auto* group = new QTreeWidgetItem(this, {Heading(sub->title())});
    group->setFlags(Qt::ItemIsEnabled);  // a heading: never current, never opened
    QFont bold = group->font(0);
    bold.setBold(true);
    group->setFont(0, bold);
    group->setFirstColumnSpanned(true);
    for (const QAction* a : sub->actions()) {
      const CatalogueEntry* entry = nullptr;
      for (const CatalogueEntry& e : Catalogue())
        if (e.menuEntry == a->objectName()) entry = &e;
      if (!entry) continue;
      auto* item = new QTreeWidgetItem(group, {CatalogueEntryText(a->text()), a->statusTip(), QString()});
      item->setData(0, kEntryRole, entry->fileName);
      item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
      if (!a->isEnabled()) item->setFlags(Qt::NoItemFlags);
      if (!entry->isStandalone() && DataFileExists(dataFolder, entry->fileName)) {
        bool exists = false;
        QString error;
        const QByteArray bytes = store.read(DataFilePath(dataFolder, entry->fileName), &exists, &error);
        const int count = exists && error.isEmpty() ? CountRecords(*entry, bytes) : -1;
        if (count >= 0) item->setText(2, QString::number(count));
      }
    }
  }
  expandAll();
  for (int c = 0; c < columnCount(); ++c) resizeColumnToContents(c);
  QTreeWidgetItem* keep = itemOf(current);
  if (!keep && topLevelItemCount() > 0 && topLevelItem(0)->childCount() > 0) keep = topLevelItem(0)->child(0);
  if (keep) setCurrentItem(keep);
}

const CatalogueEntry* TablesOverview::entryAt(const QTreeWidgetItem* item) const {
  if (!item) return nullptr;
  const QString fileName = item->data(0, kEntryRole).toString();
  if (fileName.isEmpty()) return nullptr;
  for (const CatalogueEntry& e : Catalogue())
    if (e.fileName == fileName) return &e;
  return nullptr;
}

QTreeWidgetItem* TablesOverview::itemOf(const QString& fileName) const {
  if (fileName.isEmpty()) return nullptr;
  for (int g = 0; g < topLevelItemCount(); ++g)
    for (int i = 0; i < topLevelItem(g)->childCount(); ++i)
      if (topLevelItem(g)->child(i)->data(0, kEntryRole).toString() == fileName) return topLevelItem(g)->child(i);
  return nullptr;
}

void TablesOverview::openItem(QTreeWidgetItem* item) {
  // A click that activates as well comes twice; the first one has hidden the overview.
  if (!isVisible() || !(item->flags() & Qt::ItemIsEnabled)) return;
  if (const CatalogueEntry* entry = entryAt(item)) open_(*entry);
}

}  // namespace v3
