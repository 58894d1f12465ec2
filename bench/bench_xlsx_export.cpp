// XLSX export of StarRole.dat (32767 records, 79 columns) against its CSV
// export, in one process on a sample folder: both from the table's file in
// the data folder to the bytes of the file to write (the CLI's --format
// xlsx and its default CSV). The goal is a workbook within 5x of the CSV.
//   CsvExportStarRole: TableToCsv.
//   XlsxExportStarRole: TableToXlsx (each record decoded straight into the
//     sheet's XML, deflated by igzip in stretches on every core).
//   XlsxImportStarRole: the workbook read back into records (minizip and
//     QXmlStreamReader, the rows checked as an import checks them).
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QTemporaryDir>

#include "tools/CsvTable.h"
#include "SampleFolder.h"
#include "tools/Sample.h"
#include "tools/ToolTable.h"
#include "tools/Workbook.h"

using namespace v3;

namespace {

const QString& folder() { return v3bench::SampleFolder(); }

ToolTable starRole() {
  ToolTable t;
  if (!FindToolTable(QStringLiteral("StarRole.dat"), &t)) qFatal("no StarRole.dat");
  return t;
}

QByteArray workbook() {
  const ToolTable t = starRole();
  QString error;
  QByteArray xlsx;
  QString readError;
  if (!TableToXlsx(t, folder(), Script::Traditional, &xlsx, &readError, &error))
    qFatal("%s", qPrintable(readError + error));
  return xlsx;
}

void BM_CsvExportStarRole(benchmark::State& state) {
  const ToolTable t = starRole();
  folder();  // the sample is written before the timing
  QByteArray csv;
  QString error;
  CsvRefusal refusal;
  for (auto _ : state) {
    csv.clear();
    if (!TableToCsv(*t.grid, folder(), Script::Traditional, CsvOptions{}, &csv, &error, &refusal))
      state.SkipWithError("refused");
    benchmark::DoNotOptimize(csv.size());
  }
  state.counters["MB"] = double(csv.size()) / 1048576;
}

void BM_XlsxExportStarRole(benchmark::State& state) {
  folder();
  QByteArray xlsx;
  for (auto _ : state) {
    xlsx = workbook();
    benchmark::DoNotOptimize(xlsx.size());
  }
  state.counters["MB"] = double(xlsx.size()) / 1048576;
}

void BM_XlsxImportStarRole(benchmark::State& state) {
  const ToolTable t = starRole();
  const QByteArray xlsx = workbook();
  for (auto _ : state) {
    ImportedRows rows;
    CsvRefusal refusal;
    if (!WorkbookToRecords(xlsx, t.fieldCount(), t.fileName(), CsvOptions{}, &rows, &refusal))
      state.SkipWithError("refused");
    benchmark::DoNotOptimize(rows.records.size());
  }
}

}  // namespace

BENCHMARK(BM_CsvExportStarRole)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_XlsxExportStarRole)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_XlsxImportStarRole)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
