#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

#include "model/TableDocument.h"
#include "storage/FileStamp.h"
#include "storage/SafeSave.h"
#include "tables/StandaloneTables.h"
#include "text/Progress.h"
#include "tools/Patch.h"

namespace v3 {

// A patch applied to a data folder, in the steps that the command-line
// tool's apply and the editor's 应用补丁… share:
//   PlanFolderPatch      every table the patch changes is read and its share
//                        weighed (applied, already there, conflicts);
//   MakePatchedContents  every table's new content is made in memory as its
//                        save makes it, and checked to give the patch's
//                        values back; nothing is written;
//   PatchSaveEntries     the files whose content changes, each expected to be
//                        as read, for one save of several files (SaveDataFiles).

// One table of the patch: its file as read, its records and its plan.
struct PatchTarget {
  ToolTable table;
  QString path;                                 // its file in the folder
  std::unique_ptr<TableDocument> document;      // a grid table
  std::unique_ptr<StandaloneTable> standalone;  // a standalone table
  FileStamp loaded;                             // the file as read, with its content
  std::vector<QStringList> rows;                // its records as read
  TablePatchPlan plan;
  QByteArray bytes;  // the new content, once made
  const QByteArray& content() const { return loaded.content; }
  // Whether applying writes the file (its content is another once made).
  bool writes() const { return plan.changesAnything() && bytes != loaded.content; }
};

struct FolderPatch {
  QString folder;
  std::vector<PatchTarget> targets;  // Producer.tab first, the others in the patch's order
  int applied = 0, already = 0, conflicts = 0;
  int unsettled = 0;  // conflicts the patch's values cannot settle (the record is not there)
  bool made = false;  // MakePatchedContents went through
  bool changesAnything() const;
  // "3 changes to apply, 1 already applied, 0 conflicts"
  QString summary() const;
};

// Reads every table that the patch changes in `folder` and plans its share
// against its records (with `force`, a conflict takes the patch's value
// where the record is there). False with *error for a table whose file is
// missing, read-only or unreadable. `progress` is told of each table before
// it is read (done, total: tables); when it says stop, false with *error empty.
bool PlanFolderPatch(const Patch& patch, const QString& folder, Script systemScript, bool force, FolderPatch* out,
                     QString* error, const Progress& progress = {});

// Makes the new content of every table of the plan in memory: a cell that
// its save cannot store, or would not read back as the patch gives it,
// refuses the whole patch (false, *error naming the table, record and
// column). The case tables are checked against Producer.tab's new content
// when the patch changes it. *report (when given) gets the changes as diff
// prints them. `progress` as for PlanFolderPatch, of each table before its
// content is made; stopped, nothing is made (PatchSaveEntries gives none).
bool MakePatchedContents(FolderPatch& patch, QString* report, QString* error, const Progress& progress = {});

// The files to write once the contents are made: every target whose content
// changes, expected to be as read. The stamps are the targets' own: `patch`
// must outlive the save.
std::vector<SaveFileEntry> PatchSaveEntries(const FolderPatch& patch);

}  // namespace v3
