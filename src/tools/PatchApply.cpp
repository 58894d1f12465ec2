#include "tools/PatchApply.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>

#include "tables/Producers.h"
#include "tables/Tables.h"
#include "text/DiskFile.h"
#include "tools/Diff.h"
#include "tools/StandaloneCsv.h"
#include "tools/StoredCells.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Patch)
};

bool fail(QString* error, const QString& message) {
  if (error) *error = message;
  return false;
}

}  // namespace

bool FolderPatch::changesAnything() const {
  for (const PatchTarget& t : targets)
    if (t.plan.changesAnything()) return true;
  return false;
}

QString FolderPatch::summary() const {
  return Texts::tr("%1 changes to apply, %2 already applied, %3 conflicts").arg(applied).arg(already).arg(conflicts);
}

bool PlanFolderPatch(const Patch& patch, const QString& folder, Script systemScript, bool force, FolderPatch* out,
                     QString* error, const Progress& progress) {
  *out = FolderPatch{};
  out->folder = folder;
  // Every table is read and every change weighed before anything is written.
  const qint64 total = qint64(patch.tables.size());
  qint64 done = 0;
  for (const ToolTable& t : patch.tables) {
    if (!Report(progress, done++, total)) return fail(error, QString());
    std::vector<const PatchChange*> changes;
    for (const PatchChange& c : patch.changes)
      if (c.table.fileName() == t.fileName()) changes.push_back(&c);
    QStringList order;
    for (const PatchOrder& o : patch.orders)
      if (o.table.fileName() == t.fileName()) order = o.after;
    if (changes.empty() && order.isEmpty()) continue;
    PatchTarget target;
    target.table = t;
    target.path = DataFilePath(folder, t.fileName());
    if (!QFileInfo::exists(target.path))
      return fail(error, Texts::tr("%1: no such file in %2").arg(t.fileName(), QDir::toNativeSeparators(folder)));
    if (t.grid && t.grid->readOnly) return fail(error, Texts::tr("%1 is read-only: nothing written").arg(t.fileName()));
    const FileStamp before = FileStamp::before(target.path);
    QString readError;
    if (t.grid) {
      target.document = std::make_unique<TableDocument>(*t.grid, folder, systemScript);
      if (!target.document->load(&readError))
        return fail(error, Texts::tr("cannot read %1: %2").arg(t.fileName(), readError));
      target.loaded = target.document->stamp();
      target.rows = target.document->records().records();
    } else {
      target.standalone = std::make_unique<StandaloneTable>(t.standalone->kind, systemScript);
      bool exists = false;
      const QByteArray content = FileStore::disk().read(target.path, &exists, &readError);
      if (!readError.isEmpty()) return fail(error, Texts::tr("cannot read %1: %2").arg(t.fileName(), readError));
      target.loaded = before.withContent(content);
      target.standalone->loadBytes(content);
      target.rows = StandaloneRows(*target.standalone);
    }
    target.plan = PlanTablePatch(t, target.rows, changes, force, order);
    out->applied += target.plan.applied;
    out->already += target.plan.already;
    out->conflicts += int(target.plan.conflicts.size());
    out->unsettled += target.plan.unsettled();
    out->targets.push_back(std::move(target));
  }
  // The case tables name their producers as Producer.tab does: they are
  // checked and encoded against its new content, so it comes first.
  std::stable_sort(out->targets.begin(), out->targets.end(), [](const PatchTarget& a, const PatchTarget& b) {
    return a.table.grid == &ProducerTable() && b.table.grid != &ProducerTable();
  });
  return true;
}

bool MakePatchedContents(FolderPatch& patch, QString* report, QString* error, const Progress& progress) {
  patch.made = false;
  std::optional<ProducerDirectory> newProducers;
  QString changes;
  const qint64 total = qint64(patch.targets.size());
  qint64 done = 0;
  for (PatchTarget& t : patch.targets) {
    if (!Report(progress, done++, total)) return fail(error, QString());
    std::vector<QStringList> after = t.rows;
    ApplyTablePatch(t.plan, after);
    changes += DiffReport({TableDifference{t.table, true, true, {}, {}, DiffRecords(t.table, t.rows, after)}});
    if (!t.plan.changesAnything()) {
      t.bytes = t.loaded.content;
      continue;
    }
    if (t.document) {
      ApplyTablePatch(t.plan, t.document->records());
      const bool names = t.table.grid->codec && t.table.grid->codec->needsProducers();
      if (!EncodeChecked(*t.document, names && newProducers ? &*newProducers : nullptr, &t.bytes, error, t.table.texts))
        return false;
      if (t.table.grid == &ProducerTable()) newProducers = ProducerDirectory::fromBytes(t.bytes);
    } else {
      QString reason;
      if (!SetStandaloneRows(*t.standalone, after, &reason))
        return fail(error, QStringLiteral("%1: %2").arg(t.table.fileName(), reason));
      const StandaloneSave o = t.standalone->patch(t.loaded.content, &t.bytes);
      if (!o.ok()) return fail(error, o.message(t.table.fileName()) + Texts::tr("; nothing written"));
      StandaloneTable reread(t.table.standalone->kind, t.standalone->systemScript());
      reread.loadBytes(t.bytes);
      if (StandaloneRows(reread) != after)
        return fail(
            error, Texts::tr("%1: a save would not store the patch's values; nothing written").arg(t.table.fileName()));
    }
  }
  if (report) *report = changes;
  patch.made = true;
  return true;
}

std::vector<SaveFileEntry> PatchSaveEntries(const FolderPatch& patch) {
  std::vector<SaveFileEntry> entries;
  if (!patch.made) return entries;
  for (const PatchTarget& t : patch.targets)
    if (t.writes()) entries.push_back({t.path, t.bytes, &t.loaded});
  return entries;
}

}  // namespace v3
