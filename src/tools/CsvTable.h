#pragma once

// A table's records as CSV text and back: the one conversion that the
// command-line tool and the editor's File menu share.
#include "tools/CsvCells.h"   // options, refusals, a cell's escapes
#include "tools/CsvExport.h"  // records and table files to CSV
#include "tools/CsvImport.h"  // CSV bytes, or another reader's rows, to records
#include "tools/CsvMatch.h"   // imported rows to the records they came from
