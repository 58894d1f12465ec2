// The CSV reader on any bytes: the first byte chooses the encoding and the
// field count. Records read from the CSV, written as CSV and read again are
// the same records.
#include "FuzzSupport.h"
#include "model/TableIo.h"
#include "tables/Tables.h"
#include "tools/CsvTable.h"

using namespace v3;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  v3fuzz::WriteSeedsIfAsked([](const QString& sample, const QString& out) {
    for (const TableDef* t : AllTables()) {
      const std::vector<QStringList> rows = ReadTableRows(*t, sample, Script::Traditional);
      if (rows.empty()) continue;
      const int k = t->fieldCount();
      v3fuzz::WriteSeed(out, t->fileName, QByteArray(1, char((k - 1) * 3)) + RecordsToCsv(rows));
    }
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  CsvOptions options;
  const TextEncoding encodings[] = {TextEncoding::Utf8, TextEncoding::Gbk, TextEncoding::Big5};
  options.encoding = encodings[data[0] % 3];
  options.allowEmpty = true;
  const int fields = 1 + data[0] / 3 % 80;
  const QByteArray csv = v3fuzz::Bytes(data + 1, size - 1);
  std::vector<QStringList> records;
  CsvRefusal refusal;
  if (!CsvToRecords(csv, fields, "fuzz", options, &records, &refusal)) return 0;
  QByteArray written;
  if (!RecordsToCsv(records, options, &written, &refusal)) return 0;  // a character the encoding cannot hold
  std::vector<QStringList> again;
  if (!CsvToRecords(written, fields, "fuzz", options, &again, &refusal)) v3fuzz::Broken("written CSV does not read");
  // CSV never carries NUL characters: what the writer does with one is its
  // own rule (a code's trailing zeros are dropped), not a round trip.
  for (const QStringList& r : records)
    for (const QString& c : r)
      if (c.contains(QChar(u'\0'))) return 0;
  v3fuzz::SameRecords(records, again, "written CSV reads as other records");
  return 0;
}
