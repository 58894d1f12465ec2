#pragma once
#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

#include "model/RecordStore.h"
#include "model/ReferenceRemap.h"
#include "model/TableIo.h"

namespace v3 {

// Which record of `file` (the table's file as it is now, its records
// `fileRecords` in file order) each of the grid's rows in `order` is: its
// index there, or -1 for a record made anew. A row read from that file is
// known by the bytes it was read from; any other (an imported row, say) by
// its key (column 1; columns 1 and 2 for tables ordered by both), each
// record of the file claimed once.
std::vector<int> RecordOrigins(const TableDef& table, const QByteArray& file,
                               const std::vector<QStringList>& fileRecords, const RecordStore& grid,
                               const std::vector<int>& order);

// What a save of the grid would do to the tables of the folder that refer
// to it (read from the folder), without writing anything. *error is set
// when a file cannot be read.
ReferencePlan PlanTableSave(const TableDef& table, const QString& folder, Script systemScript, const RecordStore& grid,
                            FileStore& store = FileStore::disk(), QString* error = nullptr,
                            const ReferenceJournal* journal = nullptr);

// What a save is asked for beside the table's records.
struct TableSaveRequest {
  SaveFileOptions options;
  // Whether the tables that refer to this one follow its records in the same save.
  bool followReferences = true;
  // Sees the plan before anything is written and may stop the save.
  std::function<bool(const ReferencePlan&)> proceed;
  ReferencePlan* plan = nullptr;        // gets the plan
  ReferenceJournal* journal = nullptr;  // see SaveTableWithReferences
  QByteArray* written = nullptr;        // gets the table's new content
};

// The one save of a table's records, for the editor and the command-line
// tool alike: the table's file is taken as the caller read it
// (options.expected, whose content is then not read again; the save is
// refused when the file on disk is another one by then), its records and
// those of the tables that refer to it are validated and encoded in memory
// with one read of Producer.tab, and the files are written with their
// backup history and replaced (SaveDataFile, or SaveDataFiles when other
// tables change too). Then the grid shows its rows in the order written.
SaveOutcome SaveRecords(const TableDef& table, const QString& folder, Script systemScript, RecordStore& grid,
                        FileStore& store, const TableSaveRequest& request);

// The save command for a table that other tables may refer to: as SaveTable,
// and in the same all-or-nothing save (SaveDataFiles) every referring table
// whose references the save would shift, updated so that each reference
// names the same record as before (see PlanReferenceUpdates). The referring
// tables keep their record order and every other byte. `proceed` (when
// given) sees the plan first and may stop the save (Refused, nothing
// written); *plan (when given) gets the plan. A failure names the file.
// A journal (when given) lends the references of records added back and
// records those the save clears.
SaveOutcome SaveTableWithReferences(const TableDef& table, const QString& folder, Script systemScript,
                                    RecordStore& grid, FileStore& store = FileStore::disk(),
                                    QByteArray* written = nullptr, const SaveFileOptions& options = {},
                                    const std::function<bool(const ReferencePlan&)>& proceed = {},
                                    ReferencePlan* plan = nullptr, ReferenceJournal* journal = nullptr);

}  // namespace v3
