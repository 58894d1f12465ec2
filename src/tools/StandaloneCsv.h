#pragma once
#include <QString>
#include <QStringList>

#include <vector>

#include "tables/StandaloneTables.h"
#include "text/Language.h"

namespace v3 {

// The four standalone tables as rows of values, for CSV: one row per record
// of the file, the values its window shows for that record, in the window's
// order (Constellation.tab: name, start month, start day; Difficulty.tab: one
// row per difficulty with the four requirements' start and end; Level.tab: one
// row per ability threshold; Length.tab: one row per job role with its
// notice time, work per week and days needed).
int StandaloneColumnCount(StandaloneKind kind);
std::vector<QStringList> StandaloneRows(const StandaloneTable& table);

// The column headers in the script of the language file (its captions of
// the table's window, else the design texts in that script).
QStringList StandaloneHeader(StandaloneKind kind, const LanguageFile& texts);

// Puts the rows' texts into the table's boxes (a save then checks and writes
// them like the window's save). False, with the reason, when the row count
// is not the table's.
bool SetStandaloneRows(StandaloneTable& table, const std::vector<QStringList>& rows, QString* reason);

// The rows of a standalone table go to its records by position, so a
// re-sorted file would give every value to another record. A row is out of
// place when it is not the record at its position but another record whose
// own position holds something else (a record is known by its name in
// Constellation.tab, by all its values in the other tables). With two such
// rows or more the file was re-sorted: returns the first (an index into
// `rows`) and *record, the record (0-based) it is; -1 when the rows are in
// place. A single one is taken as an edit.
int MovedStandaloneRow(StandaloneKind kind, const std::vector<QStringList>& now, const std::vector<QStringList>& rows,
                       int* record);

// "constellation.tab" -> its entry; nullptr when the name is none of the four.
const StandaloneInfo* FindStandaloneFile(const QString& fileName);

}  // namespace v3
