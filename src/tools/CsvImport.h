#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "text/Language.h"
#include "tools/CsvCells.h"

namespace v3 {

// A row of cells as a reader of the user's file gives it (a CSV line, a
// spreadsheet row), with the 1-based line or row of that file it starts on,
// which every refusal names.
struct ImportRow {
  QStringList cells;
  int line = 0;
};

// What an import takes from the user's file.
struct ImportedRows {
  std::vector<QStringList> records;  // the cells unescaped
  std::vector<int> lines;            // the line (or row) of the file each record starts on
  int blankRows = 0;                 // rows of empty fields only (blank lines too): skipped
};

// Takes rows read from the user's file, one at a time, as records of
// `fieldCount` fields: a first row equal to one of options.knownHeaders is
// skipped, and so is a row whose every field is empty (a blank line, the
// rows of empty cells that spreadsheet programs write), counted in
// out->blankRows; a spreadsheet's protection of a cell (CsvUnprotectCell) is
// taken off first; a row of another field count, or one record more than
// kMaxCsvRecords, is refused naming its line; each cell is unescaped
// (CsvUnescapeCell). finish() refuses a file without records unless
// options.allowEmpty. Any reader of a file to import feeds its rows here,
// so every format is checked alike.
class ImportRowChecker {
 public:
  ImportRowChecker(int fieldCount, QString tableName, const CsvOptions& options, ImportedRows* out,
                   CsvRefusal* refusal);
  // False with *refusal when the row is refused; the caller stops then.
  bool take(QStringList& cells, int line);
  bool finish();

 private:
  int fieldCount_;
  QString tableName_;
  const CsvOptions& options_;
  ImportedRows* out_;
  CsvRefusal* refusal_;
  bool first_ = true;
};

// The rows of a file read by another reader (a spreadsheet's) as records,
// checked as ImportRowChecker checks them. False with *refusal, and no
// records, at the first refusal.
bool RowsToRecords(std::vector<ImportRow> rows, int fieldCount, const QString& tableName, const CsvOptions& options,
                   ImportedRows* out, CsvRefusal* refusal);

// Parses CSV bytes into records of `fieldCount` fields each, split at
// options.delimiter (unset: the one the first line uses, DetectCsvDelimiter). `tableName` only
// names the table in a refusal. Returns false, filling *refusal, when the
// bytes are not valid in the encoding, the text is malformed, or a row is
// refused as ImportRowChecker refuses it. The bytes are decoded and read a
// piece at a time, each record checked as its line ends: the first refusal
// ends the reading, and nothing after it is decoded or kept.
bool CsvToRecords(const QByteArray& csv, int fieldCount, const QString& tableName, const CsvOptions& options,
                  ImportedRows* out, CsvRefusal* refusal);
bool CsvToRecords(const QByteArray& csv, int fieldCount, const QString& tableName, const CsvOptions& options,
                  std::vector<QStringList>* records, CsvRefusal* refusal);
bool CsvToRecords(const QByteArray& csv, int fieldCount, const QString& tableName, std::vector<QStringList>* records,
                  CsvRefusal* refusal);

// A header line as `header` gives it from each of the language files CHS.txt
// and CHT.txt in the folder of `texts`, and in the Traditional script, for
// CsvOptions::knownHeaders (without a language file: as it gives it from
// none). Lines without any text are left out.
std::vector<QStringList> HeaderLinesOfBothScripts(const LanguageFile& texts,
                                                  const std::function<QStringList(const LanguageFile&)>& header);
// The same for the header row of a grid table.
std::vector<QStringList> HeaderLinesOfBothScripts(const LanguageFile& texts, const QString& caption, int columnCount);

}  // namespace v3
