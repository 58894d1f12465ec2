#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

#include "tables/Table.h"
#include "tools/CsvCells.h"

namespace v3 {

// One CSV line per record, fields 1..K in order. Returns false, naming the
// line and column, when a cell holds a character the encoding cannot hold.
bool RecordsToCsv(const std::vector<QStringList>& records, const CsvOptions& options, QByteArray* csv,
                  CsvRefusal* refusal);
QByteArray RecordsToCsv(const std::vector<QStringList>& records);  // UTF-8, no header

// A grid table's file as CSV: exactly RecordsToCsv of the rows a load shows,
// each record decoded straight into the CSV text (one record at a time, no
// row kept). Returns false with *refusal as RecordsToCsv does.
bool TableBytesToCsv(const TableCodec& codec, const QByteArray& file, const CodecContext& ctx,
                     const CsvOptions& options, QByteArray* csv, CsvRefusal* refusal);
// The same for the table's file in the data folder (a missing file has no
// records). Returns false with *readError when the file, or the producer
// names it shows, cannot be read.
bool TableToCsv(const TableDef& table, const QString& folder, Script systemScript, const CsvOptions& options, QByteArray* csv,
                QString* readError, CsvRefusal* refusal);

}  // namespace v3
