#pragma once
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

#include "model/RecordStore.h"
#include "tables/Table.h"

namespace v3 {

// Which existing record each imported row came from, so that the cells a
// row gives back as they were keep their bytes.

// Puts the records into the grid in place of its own, through the grid's
// mutators, the grid's rows ending in the records' order. Each record finds
// the grid row it was exported from as an import does (column 1 and its
// occurrence, so a re-sorted CSV still finds its rows), else the row at its
// own position when no other record took it (a renumbered record); only
// the cells whose text differs are set, so the rest stay as they were read.
// Grid rows no record came from are removed, records without a row added.
// `progress`, when given, is told how many records are done.
void ReplaceRecords(RecordStore& grid, const std::vector<QStringList>& records,
                    const std::function<void(int done)>& progress = nullptr);

// What an import does to a table's records, for its summary.
struct ImportCounts {
  int changed = 0, added = 0, removed = 0, unchanged = 0;
  int blank = 0;  // blank rows of the file, skipped
};

// What ReplaceRecords would do with the records, found as it finds them.
// *ambiguous (when given) is the index of the first record whose grid row
// cannot be told (MatchCsvRows), -1 for none.
ImportCounts CountReplace(const RecordStore& grid, const std::vector<QStringList>& records, int* ambiguous = nullptr);

// Which existing record each CSV row came from (an index into `keys`, -1
// for none): the one whose column 1 (`keys`, as a CSV gives it back) is the
// row's, counted by occurrence among equal ones, so a re-sorted CSV still
// finds its records; a row whose number matches none takes the record at
// its own position when no other row took it (a renumbered record). A
// record without a key is never matched.
//
// Among records that share a number, a row first takes one whose every cell
// it gives back as exported (`sameContent(row, record)`, when given), so
// that moved rows of one number keep their own bytes; the rows left take
// the records left by occurrence. Where rows are left and more than one
// record of their number is left too, which record a row came from cannot be
// told: *ambiguous (when given) is then the first such row, else -1.
std::vector<int> MatchCsvRows(const std::vector<QStringList>& rows, const std::vector<std::optional<QString>>& keys,
                              const std::function<bool(size_t row, size_t record)>& sameContent = nullptr,
                              int* ambiguous = nullptr);

// The records an import gives the table: each CSV row is matched to the
// existing record it came from (MatchCsvRows; only records read from the
// file count). A matched row keeps that record's bytes, and every cell it
// gives back as exported (as the record holds it now) stays as it is; a row
// without a match is a new record.
// *counts and *ambiguous (when given) tell what the import does and the
// first row whose record cannot be told, as for MatchCsvRows.
std::vector<TableRecord> MatchCsvRecords(std::vector<QStringList> rows, const std::vector<TableRecord>& existing,
                                         ImportCounts* counts = nullptr, int* ambiguous = nullptr);

}  // namespace v3
