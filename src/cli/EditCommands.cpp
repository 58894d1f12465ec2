// The commands that change tables by a program or a patch: batch, apply.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <cstdio>

#include <unistd.h>

#include "tables/StandaloneTables.h"
#include "tools/Batch.h"
#include "tools/Diff.h"
#include "tools/Patch.h"
#include "tools/PatchApply.h"
#include "tools/StandaloneCsv.h"
#include "tools/StoredCells.h"
#include "tools/ToolTable.h"
#include "model/LinkedSave.h"
#include "model/TableDocument.h"
#include "text/Translation.h"
#include "model/TableIo.h"
#include "text/DiskFile.h"
#include "text/StrictCodec.h"
#include "CommandLine.h"
#include "Commands.h"
#include "storage/SafeSave.h"

using namespace v3;

namespace v3cli {

int writableTable(const Invocation& in, const ToolTable& t, const QString& folder) {
  if (int s = dataFolder(folder)) return s;
  if (!QFileInfo::exists(DataFilePath(folder, t.fileName()))) return noSuchTable(t.fileName(), folder);
  if (t.grid && t.grid->readOnly) return Trouble(Texts::tr("%1 is read-only: nothing written").arg(t.fileName()));
  (void)in;
  return kSuccess;
}

// Encodes the grid as its save would and checks that every changed cell is
// stored as the grid holds it: kSuccess, or kTrouble naming the first that
// is refused or would not be kept.
int encodeChecked(const TableDocument& document) {
  QString error;
  if (EncodeChecked(document, nullptr, nullptr, &error, headerTexts())) return kSuccess;
  return Trouble(error);
}

// What a batch tells when it is done (or would be, with --dry-run).
QString batchSummary(const QString& fileName, const BatchResult& result) {
  return Texts::tr("%1: %2 records matched, %3 cells changed%4")
      .arg(fileName)
      .arg(result.matched.size())
      .arg(result.edits.size())
      .arg(result.clamped ? Texts::tr(" (%1 brought into range)").arg(result.clamped) : QString());
}

// A dry run prints the batch's changes as diff does, and a batch that changes
// nothing writes nothing: the exit status then; -1 when the batch goes on to
// its save.
int batchEndsUnsaved(const Invocation& in, const TableDifference& difference, const QString& summary,
                     const BatchResult& result) {
  if (in.isSet(QStringLiteral("dry-run"))) {
    Out(DiffReport({difference}).toUtf8());
    if (int s = FinishOutput(QStringLiteral("the changes"))) return s;
    Err(summary + Texts::tr(" (dry run: nothing written)"));
    return kSuccess;
  }
  if (result.edits.empty()) {
    Err(summary + Texts::tr(": nothing written"));
    return kSuccess;
  }
  return -1;
}

// A batch of a standalone table: its values checked as its save checks
// them, and written by that save (in place, with the backup history).
int batchStandalone(const Invocation& in, const ToolTable& t, const QString& folder, const BatchProgram& program) {
  const StandaloneInfo& info = *t.standalone;
  const QString path = DataFilePath(folder, info.fileName);
  const FileStamp before = FileStamp::before(path);
  bool exists = false;
  QString error;
  const QByteArray content = FileStore::disk().read(path, &exists, &error);
  if (!error.isEmpty()) return Trouble(Texts::tr("cannot read %1: %2").arg(info.fileName, error));
  const FileStamp loaded = before.withContent(content);
  StandaloneTable table(info.kind, systemScript());
  table.loadBytes(content);
  const std::vector<QStringList> rows = StandaloneRows(table);
  const BatchResult result = RunStandaloneBatch(program, table, content);
  if (!result.ok()) {
    for (const QString& line : result.refusalLines(t)) Err(line);
    return Trouble(Texts::tr("%1 refused: nothing written").arg(info.fileName));
  }
  const QString summary = batchSummary(info.fileName, result);
  std::vector<QStringList> after = rows;
  for (const RecordStore::CellEdit& e : result.edits) after[size_t(e.row - 1)][e.column - 1] = e.text;
  if (!SetStandaloneRows(table, after, &error)) return Trouble(QStringLiteral("%1: %2").arg(info.fileName, error));
  // The whole file checked as the save checks it, before anything is written.
  QByteArray patched;
  if (const StandaloneSave o = table.patch(content, &patched); !o.ok())
    return Trouble(o.message(info.fileName) + Texts::tr("; nothing written"));
  if (int s = batchEndsUnsaved(in, BatchDifference(t, rows, result), summary, result); s >= 0) return s;
  // Only over the file as it was read.
  const StandaloneSave outcome = table.save(folder, FileStore::disk(), saveOptions(&loaded));
  if (!outcome.ok()) return Trouble(outcome.message(info.fileName));
  Err(summary);
  warn(outcome.notices);
  return kSuccess;
}

int cmdBatch(const Invocation& in) {
  const QString folder = in.arg(0), file = in.arg(2), fileName = InputName(file);
  int status = kSuccess;
  ToolTable t;
  if (!findTable(in, in.arg(1), &t, &status)) return status;
  if (int s = writableTable(in, t, folder)) return s;
  QByteArray bytes;
  QString error;
  if (!ReadInputFile(file, &bytes, &error)) return Trouble(error);
  QString text;
  qsizetype bad = 0;
  if (!DecodeStrict(bytes, TextEncoding::Utf8, &text, &bad))
    return Trouble(Texts::tr("%1: line %2: not UTF-8 text").arg(fileName).arg(bytes.left(bad).count('\n') + 1));
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  BatchProgram program;
  BatchError batchError;
  if (!ParseBatch(text, BatchColumnNames(t), t.fieldCount(), &program, &batchError))
    return Trouble(Texts::tr("%1: %2").arg(fileName, batchError.message()));
  if (t.standalone) return batchStandalone(in, t, folder, program);
  const TableDef& table = *t.grid;
  DataFolder data = openFolder(folder);
  TableDocument& document = data.open(table, &error);
  if (!error.isEmpty()) return Trouble(Texts::tr("cannot read %1: %2").arg(table.fileName, error));
  RecordStore& grid = document.records();
  const BatchResult result = RunBatch(program, table, folder, systemScript(), grid, &document.content());
  if (!result.ok()) {
    for (const QString& line : result.refusalLines(t)) Err(line);
    return Trouble(Texts::tr("%1 refused: nothing written").arg(table.fileName));
  }
  const QString summary = batchSummary(table.fileName, result);
  const TableDifference difference = BatchDifference(t, grid, result);
  if (!result.edits.empty()) grid.setCells(result.edits);
  // What the save would refuse is told before anything is written (and by a dry run).
  if (int s = encodeChecked(document)) return s;
  if (int s = batchEndsUnsaved(in, difference, summary, result); s >= 0) return s;
  // A changed number may move records that other tables refer to by position:
  // those follow in the same save.
  TableSaveRequest request;
  request.proceed = [](const ReferencePlan& plan) {
    if (!plan.tables.empty()) Err(plan.summary(CurrentUiLanguage() == UiLanguage::Traditional));
    return true;
  };
  const SaveOutcome outcome = data.save(document, request);
  if (!outcome.ok()) return Trouble(outcome.message(table.fileName));
  Err(summary);
  warn(outcome.notices);
  return kSuccess;
}

int cmdApply(const Invocation& in) {
  const QString folder = in.arg(0), file = in.arg(1), fileName = InputName(file);
  const bool force = in.isSet(QStringLiteral("force")), dryRun = in.isSet(QStringLiteral("dry-run"));
  if (int s = dataFolder(folder)) return s;
  QByteArray bytes;
  QString error;
  if (!ReadInputFile(file, &bytes, &error)) return Trouble(error);
  Patch patch;
  PatchError patchError;
  if (!ReadPatch(bytes, &patch, &patchError, headerTexts())) return Trouble(patchError.message(fileName));
  if (in.isSet(QStringLiteral("reverse"))) patch = ReversedPatch(patch);

  // Every table is read and every change weighed before anything is written.
  FolderPatch plan;
  if (!PlanFolderPatch(patch, folder, systemScript(), force, &plan, &error)) return Trouble(error);
  for (const PatchTarget& t : plan.targets)
    for (const PatchConflict& c : t.plan.conflicts) Err(Texts::tr("conflict: ") + c.text());
  const QString summary = plan.summary();
  if (plan.unsettled > 0 && !dryRun) {
    Err(summary);
    Err(force ? Texts::tr("nothing written: %1 changes find no record to change").arg(plan.unsettled)
              : Texts::tr("nothing written (--force takes the patch's values)"));
    return kFound;
  }
  // Every table's new content is made in memory first: a cell that cannot
  // be stored refuses the whole patch. Then every file of the patch is
  // written in one save of several files, all of them or none.
  QString report;
  if (!MakePatchedContents(plan, &report, &error)) return Trouble(error);
  if (dryRun) {
    Out(report.toUtf8());
    if (int s = FinishOutput(QStringLiteral("the changes"))) return s;
    Err(summary + Texts::tr(" (dry run: nothing written)"));
    return plan.conflicts ? kFound : kSuccess;
  }
  const std::vector<SaveFileEntry> entries = PatchSaveEntries(plan);
  if (!entries.empty()) {
    const SaveFileResult r = SaveDataFiles(entries, saveOptions().historyDepth);
    if (!r.ok()) return Trouble(Texts::tr("patch not applied: %1").arg(r.error));
    warn(r.notices);
  }
  for (const PatchTarget& t : plan.targets)
    if (t.writes()) Err(Texts::tr("%1: saved").arg(t.table.fileName()));
  Err(summary);
  return plan.conflicts ? kFound : kSuccess;
}

}  // namespace v3cli
