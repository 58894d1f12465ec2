#pragma once
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

#include "text/Progress.h"
#include "text/StrictCodec.h"

namespace v3 {

// What every CSV routine shares: its options, its refusals, and how a cell's
// text is carried in a CSV field and back.

// Where and why a CSV was refused (or could not be written).
struct CsvRefusal {
  int line = 0;  // 1-based line of the CSV text, 0 when the text as a whole
  QString reason;
  // Refused for holding no records (which --allow-empty, or the user's
  // answer, lets empty the table), not for anything wrong in it.
  bool noRecords = false;
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
  // The field delimiter: a comma, a semicolon or a tab. Unset: an export
  // writes commas, an import finds it in the first line (DetectCsvDelimiter).
  QChar delimiter;
  // Export: every cell a spreadsheet program would read as something else
  // (CsvProtectCell) written as the formula ="…", which they keep as text.
  bool spreadsheetSafe = false;
  // Import: told how much of the file is read (in bytes) as the reading
  // goes; false stops it, as a refusal that keeps nothing.
  Progress progress;
};

// The delimiters a CSV may use, and their names for the command line
// (",", ";", "tab").
bool CsvDelimiterFromName(const QString& name, QChar* delimiter);
// The delimiter of a CSV: the one of comma, semicolon and tab that splits
// the first line (outside quotes) into `fieldCount` fields, else the one it
// holds most of; a comma when it holds none.
QChar DetectCsvDelimiter(QByteArrayView csv, int fieldCount);

// A cell as a spreadsheet-safe export writes it: one that a spreadsheet
// program would turn into a number, a date or a formula (anything but an
// empty cell or a plain integer of at most 15 digits) as ="…", quotes
// doubled inside. A cell that already has that form is wrapped once more in
// every export, so that an import, which always takes the protection off
// again (CsvUnprotectCell), gives it back as it was.
QString CsvProtectCell(const QString& cell, bool spreadsheetSafe);
QString CsvUnprotectCell(const QString& text);

// The most records a table file holds (its record count is 16-bit).
constexpr int kMaxCsvRecords = 32767;

// A cell as CSV carries it, and back. Bytes that a CSV cell cannot carry get
// a visible escape: a byte that is no Big5 character (shown as U+FFFD in the
// grid) and a zero byte inside a code are written \xHH, a backslash as \\.
// A code's trailing zero bytes are left out (the save pads with zeros).
// Unescaping turns \xHH back into that byte and \\ into one backslash; any
// other backslash stands for itself. CsvToRecords unescapes every cell.
QString CsvEscapeCell(const QString& cell);
QString CsvUnescapeCell(const QString& text);

}  // namespace v3
