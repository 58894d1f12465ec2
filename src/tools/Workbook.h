#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

#include "tools/CsvImport.h"
#include "tools/ToolTable.h"

namespace v3 {

// A table's records as a spreadsheet workbook (XLSX) and back. A workbook
// is written part by part into a ZIP archive deflated by ISA-L's igzip (a
// large sheet in stretches packed side by side on the processor's cores),
// and read with minizip and QXmlStreamReader; its rows go through the same
// checks as a CSV's (ImportRowChecker), and its cells carry the same
// escapes (CsvEscapeCell).

// One column of the sheet.
struct SheetColumn {
  QString header;
  bool number = false;       // a number cell for a plain integer; text cells otherwise
  int64_t min = 0, max = 0;  // number: the values the field holds
  QStringList choices;       // a list to choose from (data validation), empty for none
};

// The columns of a table: number fields as numbers, text fields as text,
// the fields shown as words (flags, years, sizes, producers) with their list.
// `folder` gives the producer names.
std::vector<SheetColumn> SheetColumns(const ToolTable& table, const QString& folder);

// The records as an XLSX workbook: one sheet named `sheetName` with a frozen
// header row (left out when every header is empty), text columns formatted
// as text, the lists on a hidden sheet, widths fitted to the contents.
// False with *error when the workbook cannot be made.
bool RecordsToXlsx(const std::vector<QStringList>& records, const std::vector<SheetColumn>& columns,
                   const QString& sheetName, QByteArray* xlsx, QString* error);

// Takes a made workbook's bytes a piece at a time, in order.
using XlsxWriter = std::function<void(QByteArrayView)>;

// The table's file in the data folder as RecordsToXlsx writes the rows a
// load in the system's script shows, each record decoded straight into the sheet. False with
// *readError when the file, or the producer names it shows, cannot be
// read; with *error when the workbook cannot be made. With `write`, the
// workbook goes to it instead of into *xlsx (nothing of one that fails).
bool TableToXlsx(const ToolTable& table, const QString& folder, Script systemScript, QByteArray* xlsx,
                 QString* readError, QString* error, const XlsxWriter& write = {});

// Whether the bytes are a ZIP archive (a workbook), by their first bytes.
bool IsZipArchive(QByteArrayView bytes);

// The most bytes a part of a workbook may unpack to, and the largest sheet.
constexpr qint64 kMaxWorkbookPart = 256 * 1024 * 1024;
constexpr int kMaxSheetRows = 1048576, kMaxSheetColumns = 16384;

// Reads the first visible sheet of an XLSX workbook (or the first table of
// an OpenDocument spreadsheet) row by row: each row that holds a cell is
// handed over as at least `columns` cells (empty where the row has none),
// with its 1-based row number. A number cell gives its digits as written,
// or the shortest decimal text of its value (never an exponent); a boolean
// "1" or "0"; a formula its computed value. Returns false with *refusal
// when the archive or its XML is malformed, a part unpacks to more than
// kMaxWorkbookPart, the sheet is larger than kMaxSheetRows x
// kMaxSheetColumns, or the sink stops (its refusal is left as it set it).
// `progress` is told how far the reading is through the sheet; when it says
// stop, false with the refusal "the reading was stopped".
bool ReadWorkbookRows(const QByteArray& bytes, int columns, const std::function<bool(QStringList&, int row)>& sink,
                      CsvRefusal* refusal, const Progress& progress = {});

// The records of a workbook's sheet, checked as CsvToRecords checks a CSV's.
bool WorkbookToRecords(const QByteArray& bytes, int fieldCount, const QString& tableName, const CsvOptions& options,
                       ImportedRows* out, CsvRefusal* refusal);

// A file to import, known by its content: a workbook (WorkbookToRecords)
// or CSV (CsvToRecords).
bool SheetFileToRecords(const QByteArray& bytes, int fieldCount, const QString& tableName, const CsvOptions& options,
                        ImportedRows* out, CsvRefusal* refusal);

}  // namespace v3
