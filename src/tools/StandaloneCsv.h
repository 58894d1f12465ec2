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

// "constellation.tab" -> its entry; nullptr when the name is none of the four.
const StandaloneInfo* FindStandaloneFile(const QString& fileName);

}  // namespace v3
