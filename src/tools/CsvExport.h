#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "tables/Table.h"
#include "tools/CsvCells.h"

namespace v3 {

// One CSV line per record, fields 1..K in order. Returns false, naming the
// line and column, when a cell holds a character the encoding cannot hold.
bool RecordsToCsv(const std::vector<QStringList>& records, const CsvOptions& options, QByteArray* csv,
                  CsvRefusal* refusal);
QByteArray RecordsToCsv(const std::vector<QStringList>& records);  // UTF-8, no header

// Takes the CSV made so far, in the order it is made, so that a large table
// is written out while it is exported instead of kept whole.
using CsvFlush = std::function<void(QByteArrayView)>;

// A grid table's file as CSV: exactly RecordsToCsv of the rows a load shows,
// each record decoded straight into the CSV text (one record at a time, no
// row kept; a large table's records in pieces on two threads). Returns
// false with *refusal as RecordsToCsv does. With a `flush`, a UTF-8 CSV with
// commas (the plain one) is handed to it in pieces of a bounded size as it
// grows, and *csv holds the rest at the end; a refusal then comes after the
// pieces before the refused record's were handed over. Other CSVs are made
// whole in *csv.
bool TableBytesToCsv(const TableCodec& codec, const QByteArray& file, const CodecContext& ctx,
                     const CsvOptions& options, QByteArray* csv, CsvRefusal* refusal, const CsvFlush& flush = {});
// The same for the table's file in the data folder (a missing file has no
// records). A file of records of one size is read a piece at a time as its
// CSV is made, and never held whole (see TableCodec::recordsInPieces).
// Returns false with *readError when the file, or the producer names it
// shows, cannot be read: nothing is handed to `flush` then, unless the file
// was read in pieces and fails (or changes its size) part way, when the
// pieces before are.
bool TableToCsv(const TableDef& table, const QString& folder, Script systemScript, const CsvOptions& options,
                QByteArray* csv, QString* readError, CsvRefusal* refusal, const CsvFlush& flush = {});

}  // namespace v3
