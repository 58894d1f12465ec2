// The workbook reader on any bytes after the first, which chooses the field
// count: a ZIP archive of XLSX or ODS parts, or anything else. Records read
// from a workbook, written as a workbook (every column text) and read again
// are the same records.
#include "FuzzSupport.h"
#include "model/TableIo.h"
#include "tables/Tables.h"
#include "tools/Workbook.h"

using namespace v3;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  v3fuzz::WriteSeedsIfAsked([](const QString& sample, const QString& out) {
    for (const TableDef* t : AllTables()) {
      const std::vector<QStringList> rows = ReadTableRows(*t, sample, Script::Traditional);
      if (rows.empty()) continue;
      ToolTable tool;
      tool.grid = t;
      QByteArray xlsx;
      QString error;
      if (!RecordsToXlsx(rows, SheetColumns(tool, sample), t->fileName, &xlsx, &error)) continue;
      v3fuzz::WriteSeed(out, t->fileName, QByteArray(1, char(t->fieldCount() - 1)) + xlsx);
    }
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int fields = 1 + data[0] % 80;
  const QByteArray bytes = v3fuzz::Bytes(data + 1, size - 1);
  CsvOptions options;
  options.allowEmpty = true;
  ImportedRows rows;
  CsvRefusal refusal;
  if (!WorkbookToRecords(bytes, fields, "fuzz", options, &rows, &refusal)) return 0;
  // A workbook's text never carries NUL characters, lone surrogates or the
  // non-characters U+FFFE and U+FFFF (an _xHHHH_ escape may name them): what
  // the writer does with them is its own rule, not a round trip.
  for (const QStringList& r : rows.records)
    for (const QString& c : r)
      for (const QChar ch : c)
        if (ch == QChar(u'\0') || ch.isSurrogate() || ch.unicode() >= 0xFFFE) return 0;
  const std::vector<SheetColumn> columns(static_cast<size_t>(fields));
  QByteArray written;
  QString error;
  if (!RecordsToXlsx(rows.records, columns, "fuzz", &written, &error)) return 0;  // a text longer than a cell holds
  ImportedRows again;
  if (!WorkbookToRecords(written, fields, "fuzz", options, &again, &refusal))
    v3fuzz::Broken("written workbook does not read");
  v3fuzz::SameRecords(rows.records, again.records, "written workbook reads as other records");
  return 0;
}
