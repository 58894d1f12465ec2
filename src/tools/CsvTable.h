#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

#include "model/RecordGrid.h"
#include "tables/Table.h"
#include "text/Language.h"
#include "text/StrictCodec.h"

namespace v3 {


// A table's records as CSV text and back: the one conversion that the
// command-line tool and the editor's File menu share.

// Where and why a CSV was refused (or could not be written).
struct CsvRefusal {
  int line = 0;  // 1-based line of the CSV text, 0 when the text as a whole
  QString reason;
  // "FILE: line N: reason" (or "FILE: reason").
  QString message(const QString& csvName) const;
};

struct CsvOptions {
  TextEncoding encoding = TextEncoding::Utf8;
  // Export: a UTF-8 byte order mark first (spreadsheet programs look for it).
  bool bom = false;
  // Export: the column headers, written as the first line (in Big5 in the
  // Traditional script); empty: no header line.
  QStringList header;
  // Import: a first line equal to one of these (cells compared without
  // surrounding blanks) is a header line and skipped.
  std::vector<QStringList> knownHeaders;
  // Import: a CSV without records empties the table instead of being refused.
  bool allowEmpty = false;
};

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
bool TableToCsv(const TableDef& table, const QString& folder, const CsvOptions& options, QByteArray* csv,
                QString* readError, CsvRefusal* refusal);

// The most records a table file holds (its record count is 16-bit).
constexpr int kMaxCsvRecords = 32767;

// Parses CSV bytes into records of `fieldCount` fields each. `tableName` only
// names the table in a refusal. Returns false, filling *refusal, when the
// bytes are not valid in the encoding, the text is malformed, a line has
// another field count, a record would be one more than kMaxCsvRecords, or
// there is no record (unless allowEmpty). The bytes are decoded and read a
// piece at a time, each record checked as its line ends: the first refusal
// ends the reading, and nothing after it is decoded or kept.
bool CsvToRecords(const QByteArray& csv, int fieldCount, const QString& tableName, const CsvOptions& options,
                  std::vector<QStringList>* records, CsvRefusal* refusal);
bool CsvToRecords(const QByteArray& csv, int fieldCount, const QString& tableName,
                  std::vector<QStringList>* records, CsvRefusal* refusal);

// Puts the records into the grid in place of its own, through the grid's
// mutators, the grid's rows ending in the records' order. Each record finds
// the grid row it was exported from as an import does (column 1 and its
// occurrence, so a re-sorted CSV still finds its rows), else the row at its
// own position when no other record took it (a renumbered record); only
// the cells whose text differs are set, so the rest stay as they were read.
// Grid rows no record came from are removed, records without a row added.
// `progress`, when given, is told how many records are done.
void ReplaceRecords(RecordGrid& grid, const std::vector<QStringList>& records,
                    const std::function<void(int done)>& progress = nullptr);

// A cell as CSV carries it, and back. Bytes that a CSV cell cannot carry get
// a visible escape: a byte that is no Big5 character (shown as U+FFFD in the
// grid) and a zero byte inside a code are written \xHH, a backslash as \\.
// A code's trailing zero bytes are left out (the save pads with zeros).
// Unescaping turns \xHH back into that byte and \\ into one backslash; any
// other backslash stands for itself. CsvToRecords unescapes every cell.
QString CsvEscapeCell(const QString& cell);
QString CsvUnescapeCell(const QString& text);

// Which existing record each CSV row came from (an index into `keys`, -1
// for none): the one whose column 1 (`keys`, as a CSV gives it back) is the
// row's, counted by occurrence among equal ones, so a re-sorted CSV still
// finds its records; a row whose number matches none takes the record at
// its own position when no other row took it (a renumbered record). A
// record without a key is never matched.
std::vector<int> MatchCsvRows(const std::vector<QStringList>& rows, const std::vector<std::optional<QString>>& keys);

// The records an import gives the table: each CSV row is matched to the
// existing record it came from (MatchCsvRows; only records read from the
// file count). A matched row keeps that record's bytes, and every cell it
// gives back as exported (as the record holds it now) stays as it is; a row
// without a match is a new record.
std::vector<TableRecord> MatchCsvRecords(std::vector<QStringList> rows, const std::vector<TableRecord>& existing);

// A header line as `header` gives it from each of the language files CHS.txt
// and CHT.txt in the folder of `texts`, and in the Traditional script, for
// CsvOptions::knownHeaders (without a language file: as it gives it from
// none). Lines without any text are left out.
std::vector<QStringList> HeaderLinesOfBothScripts(const LanguageFile& texts,
                                                  const std::function<QStringList(const LanguageFile&)>& header);
// The same for the header row of a grid table.
std::vector<QStringList> HeaderLinesOfBothScripts(const LanguageFile& texts, const QString& caption, int columnCount);

}  // namespace v3
