// The table layer in one process on a sample folder of 32767 records per
// table: CSV export and check (load, encode with nothing changed) of one
// table per file family, and StarRole.dat's choice of layout alone.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QTemporaryDir>

#include "model/TableIo.h"
#include "storage/FileStore.h"
#include "tables/Tables.h"
#include "text/DiskFile.h"
#include "tools/CsvTable.h"
#include "SampleFolder.h"
#include "tools/Sample.h"

using namespace v3;

namespace {

const QString& folder() { return v3bench::SampleFolder(); }

QByteArray fileOf(const TableDef& t) {
  bool exists = false;
  return FileStore::disk().read(DataFilePath(folder(), t.fileName), &exists, nullptr);
}

void BM_Export(benchmark::State& state, const char* file) {
  const TableDef& t = *FindTable(QString::fromLatin1(file));
  const QByteArray bytes = fileOf(t);
  CodecContext ctx(Script::Traditional, folder());
  ProducerDirectory producers = ProducerDirectory::load(folder());
  if (t.codec->needsProducers()) ctx.producers = &producers;
  QByteArray csv;
  CsvRefusal refusal;
  for (auto _ : state) {
    csv.clear();
    if (!TableBytesToCsv(*t.codec, bytes, ctx, CsvOptions{}, &csv, &refusal)) state.SkipWithError("refused");
    benchmark::DoNotOptimize(csv.size());
  }
  state.SetBytesProcessed(state.iterations() * bytes.size());
}

// What check does: the content a save would write compared with the file as it is made, no grid held.
void BM_Check(benchmark::State& state, const char* file) {
  const TableDef& t = *FindTable(QString::fromLatin1(file));
  const QByteArray bytes = fileOf(t);
  for (auto _ : state) {
    ComparingSink saved(bytes);
    const SaveOutcome o = EncodeAsRead(t, folder(), Script::Traditional, bytes, saved);
    if (!o.ok() || !saved.same()) state.SkipWithError("not identical");
    benchmark::DoNotOptimize(saved.size());
  }
  state.SetBytesProcessed(state.iterations() * bytes.size());
}

// A load into a grid and its whole new content in one array, as a save makes it.
void BM_LoadEncode(benchmark::State& state, const char* file) {
  const TableDef& t = *FindTable(QString::fromLatin1(file));
  const QByteArray bytes = fileOf(t);
  for (auto _ : state) {
    RecordStore grid;
    LoadTable(t, folder(), Script::Traditional, grid);
    QByteArray saved;
    const SaveOutcome o = EncodeTable(t, folder(), Script::Traditional, grid, SaveRowOrder(t, grid), bytes, &saved);
    if (!o.ok() || saved.size() != bytes.size()) state.SkipWithError("not identical");
    benchmark::DoNotOptimize(saved.size());
  }
  state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_StarLayoutChoice(benchmark::State& state) {
  const QByteArray bytes = fileOf(StarTable());
  for (auto _ : state) benchmark::DoNotOptimize(StarRoleUsesLayoutA(bytes));
  state.SetBytesProcessed(state.iterations() * bytes.size());
}

}  // namespace

BENCHMARK_CAPTURE(BM_Export, StarRole, "StarRole.dat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, Team, "Team.dat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, CDCase, "CDCase.dat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, OfficeEmo, "OfficeEmo.dat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Check, StarRole, "StarRole.dat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Check, Team, "Team.dat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Check, OfficeEmo, "OfficeEmo.dat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadEncode, StarRole, "StarRole.dat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadEncode, OfficeEmo, "OfficeEmo.dat")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StarLayoutChoice)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
