#pragma once
#include <QDialog>
#include <QString>

#include "tools/CsvTable.h"

#include "text/Script.h"

class QCheckBox;
class QComboBox;
class QMenu;

namespace v3 {

class UiFront;
class Vantaro3;

// The options of a CSV export or import, asked before the file: the encoding
// (UTF-8, GBK, Big5), the delimiter (an import finds it unless told) and,
// for an export, the header line, the byte order mark and the protection of
// text cells from a spreadsheet program's conversions.
class CsvOptionsDialog : public QDialog {
  Q_OBJECT
 public:
  CsvOptionsDialog(bool exporting, Script script, QWidget* owner = nullptr);
  CsvOptions options() const;

  QComboBox* encodingBox() const { return encoding_; }
  QComboBox* delimiterBox() const { return delimiter_; }
  QCheckBox* headerBox() const { return header_; }
  QCheckBox* bomBox() const { return bom_; }
  QCheckBox* spreadsheetBox() const { return spreadsheet_; }

 private:
  QComboBox* encoding_ = nullptr;
  QComboBox* delimiter_ = nullptr;
  QCheckBox* spreadsheet_ = nullptr;
  QCheckBox* header_ = nullptr;
  QCheckBox* bom_ = nullptr;
};

// The File menu's 导出表格文件… and 导入表格文件… (mnu_csvExport,
// mnu_csvImport) for the table open in the window: the file picker (XLSX or
// CSV), the CSV options dialog when the file is CSV, then the export or
// import below. An export writes a workbook when the name ends in .xlsx; an
// import knows a workbook by its content.
void AddCsvCommands(Vantaro3& window, QMenu* fileMenu, UiFront& front);

// Writes the open table's records, in the grid's order, to the file (replaced
// whole, never left half written). False, after telling the user why, when no
// table is open, a cell holds a character the encoding cannot hold, or the
// file cannot be written.
bool ExportOpenTableCsv(Vantaro3& window, const QString& path, const CsvOptions& options, UiFront& front);

// Writes the open table's records, in the grid's order, as an XLSX workbook
// (RecordsToXlsx: typed cells, the grid's headers, the list columns' lists).
// False, after telling the user why, when no table is open or the file
// cannot be written.
bool ExportOpenTableXlsx(Vantaro3& window, const QString& path, UiFront& front);

// Puts the file's records (a workbook, known by its content, or CSV) in place of the open table's, as one undoable step
// (the user saves as after any edit). Refused, with the reason shown like a
// save's and the table unchanged, when the file is not valid in its
// encoding, a line has the wrong field count, a cell could not be saved, or the
// table is read-only; also a changed cell in a column the save does not
// write, and a row of a repeated record number whose record cannot be told.
// A CSV without records empties the table, and one that removes records
// removes them, only when the user says so. A first line that is the
// table's header is skipped, and so are blank rows. The status bar tells
// how many records were changed, added, removed and left unchanged.
bool ImportOpenTableCsv(Vantaro3& window, const QString& path, CsvOptions options, UiFront& front);

}  // namespace v3
